#include "report/clip_emulation.h"
#include <QPaintEngine>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <cmath>

namespace cardora {

// Keeps the painter state a forwarding engine needs: transform, pen,
// brush, font and the clip in device coordinates.
class StateKeepingEngine : public QPaintEngine {
public:
    StateKeepingEngine() : QPaintEngine(AllFeatures) {}
    Type type() const override { return User; }

protected:
    void resetState()
    {
        clip_ = QPainterPath();
        hasClip_ = clipEnabled_ = false;
        transform_ = QTransform();
        pen_ = QPen();
        brush_ = QBrush();
        brushOrigin_ = QPointF();
        hints_ = {};
        opacity_ = 1.0;
    }

    void keepState(const QPaintEngineState& s)
    {
        const DirtyFlags f = s.state();
        if (f & DirtyTransform)
            transform_ = s.transform();
        if (f & DirtyPen)
            pen_ = s.pen();
        if (f & DirtyBrush)
            brush_ = s.brush();
        if (f & DirtyBrushOrigin)
            brushOrigin_ = s.brushOrigin();
        if (f & DirtyFont)
            font_ = s.font();
        if (f & DirtyHints)
            hints_ = s.renderHints();
        if (f & DirtyOpacity)
            opacity_ = s.opacity();
        if (f & DirtyBackground)
            background_ = s.backgroundBrush();
        if (f & DirtyBackgroundMode)
            backgroundMode_ = s.backgroundMode();
        if (f & DirtyClipPath)
            applyClip(s.clipOperation(), transform_.map(s.clipPath()));
        if (f & DirtyClipRegion) {
            QPainterPath region;
            region.addRegion(s.clipRegion());
            applyClip(s.clipOperation(), transform_.map(region));
        }
        if (f & DirtyClipEnabled)
            clipEnabled_ = s.isClipEnabled();
    }

    bool clipping() const { return clipEnabled_ && hasClip_; }

    void applyClip(Qt::ClipOperation op, const QPainterPath& deviceClip)
    {
        switch (op) {
        case Qt::NoClip:
            hasClip_ = false;
            clip_ = QPainterPath();
            break;
        case Qt::ReplaceClip:
            clip_ = deviceClip;
            hasClip_ = true;
            break;
        case Qt::IntersectClip:
            clip_ = hasClip_ ? clip_.intersected(deviceClip) : deviceClip;
            hasClip_ = true;
            break;
        }
    }

    QTransform transform_;
    QPen pen_;
    QBrush brush_;
    QPointF brushOrigin_;
    QFont font_;
    QPainter::RenderHints hints_;
    double opacity_ = 1.0;
    QBrush background_;
    Qt::BGMode backgroundMode_ = Qt::TransparentMode;
    QPainterPath clip_;
    bool hasClip_ = false;
    bool clipEnabled_ = false;
};

class ClipEmulatingEngine : public StateKeepingEngine {
public:
    explicit ClipEmulatingEngine(QPaintDevice& target) : target_(target) {}

    bool begin(QPaintDevice*) override
    {
        resetState();
        return inner_.begin(&target_);
    }
    bool end() override { return inner_.end(); }

    void updateState(const QPaintEngineState& s) override
    {
        keepState(s);
        if (s.state() & DirtyHints)
            inner_.setRenderHints(hints_);
        if (s.state() & DirtyOpacity)
            inner_.setOpacity(opacity_);
    }

    void drawPath(const QPainterPath& path) override
    {
        if (!clipping() || within(transform_.mapRect(path.controlPointRect()).adjusted(-pad(), -pad(), pad(), pad()))) {
            inner_.setTransform(transform_);
            inner_.setPen(pen_);
            inner_.setBrush(brush_);
            inner_.setBrushOrigin(brushOrigin_);
            inner_.drawPath(path);
            return;
        }
        if (brush_.style() != Qt::NoBrush)
            fillClipped(transform_.map(path), brush_);
        if (pen_.style() != Qt::NoPen)
            fillClipped(strokeOf(path), pen_.brush());
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count < 2)
            return;
        QPainterPath path;
        path.moveTo(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode == PolylineMode) {
            if (!clipping()) {
                inner_.setTransform(transform_);
                inner_.setPen(pen_);
                inner_.drawPolyline(points, count);
            } else if (pen_.style() != Qt::NoPen) {
                fillClipped(strokeOf(path), pen_.brush());
            }
            return;
        }
        path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        drawPath(path);
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        // Text laid out for another resolution (replayed pictures) carries a
        // font sized for this device; the SVG writer would scale it twice.
        // The font that matches the laid-out width is the one written.
        QFont font(item.font(), &target_);
        const QFontMetricsF metrics(font);
        const double measured = metrics.horizontalAdvance(item.text());
        double ratio = 1.0;
        if (item.width() > 0 && measured > 0)
            ratio = item.width() / measured;
        else if (item.ascent() > 0 && metrics.ascent() > 0)
            ratio = item.ascent() / metrics.ascent();
        const bool resized = std::abs(ratio - 1.0) > 0.05;
        if (resized) {
            if (font.pointSizeF() > 0)
                font.setPointSizeF(font.pointSizeF() * ratio);
            else
                font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * ratio))));
        }
        const QRectF box = QFontMetricsF(font).boundingRect(item.text()).translated(p);
        // Text the clip does not cut stays text.
        if (!clipping() || within(transform_.mapRect(box))) {
            inner_.setTransform(transform_);
            inner_.setPen(pen_);
            if (resized) {
                inner_.setFont(font);
                inner_.drawText(p, item.text());
            } else {
                inner_.drawTextItem(p, item);
            }
            return;
        }
        // Cut text becomes its outline, still vector.
        QPainterPath text;
        text.addText(p, font, item.text());
        fillClipped(transform_.map(text), pen_.brush());
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags flags) override
    {
        if (!clipping() || within(transform_.mapRect(r))) {
            inner_.setTransform(transform_);
            inner_.drawImage(r, image, sr, flags);
            return;
        }
        drawMasked(r, image.copy(sr.toAlignedRect()));
    }

    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& sr) override
    {
        if (!clipping() || within(transform_.mapRect(r))) {
            inner_.setTransform(transform_);
            inner_.drawPixmap(r, pixmap, sr);
            return;
        }
        drawMasked(r, pixmap.copy(sr.toAlignedRect()).toImage());
    }

private:
    // True when the clip leaves the device rectangle whole (to a device
    // pixel: boxes that touch the clip's edge count as inside).
    bool within(const QRectF& device) const
    {
        const QRectF inner = device.adjusted(1, 1, -1, -1);
        return clip_.contains(inner.isValid() && !inner.isEmpty() ? inner : device);
    }
    // How far a pen reaches past a path's points, on the device.
    double pad() const
    {
        if (pen_.style() == Qt::NoPen)
            return 0.0;
        const double w = pen_.isCosmetic() ? std::max(1.0, pen_.widthF()) : pen_.widthF() * std::max(std::abs(transform_.m11()), std::abs(transform_.m22()));
        return w + 1.0;
    }

    // The pen's outline of a logical path, in device coordinates.
    QPainterPath strokeOf(const QPainterPath& path) const
    {
        QPainterPathStroker stroker(pen_);
        if (pen_.isCosmetic() || pen_.widthF() <= 0) {
            // A cosmetic pen is as wide on the device whatever the transform.
            stroker.setWidth(std::max(1.0, pen_.widthF()));
            return stroker.createStroke(transform_.map(path));
        }
        return transform_.map(stroker.createStroke(path));
    }

    void fillClipped(const QPainterPath& devicePath, QBrush brush)
    {
        const QPainterPath cut = devicePath.intersected(clip_);
        if (cut.isEmpty())
            return;
        if (brush.style() != Qt::SolidPattern && brush.style() != Qt::NoBrush)
            brush.setTransform(brush.transform() * QTransform::fromTranslate(brushOrigin_.x(), brushOrigin_.y())
                * transform_);
        inner_.resetTransform();
        inner_.fillPath(cut, brush);
    }

    // The picture with everything outside the clip made transparent, at a
    // resolution fine enough for the clip's edge where it lands.
    void drawMasked(const QRectF& r, const QImage& source)
    {
        if (source.isNull() || r.isEmpty())
            return;
        const QRectF device = transform_.mapRect(r);
        constexpr double kLargestSide = 2400.0;
        // Masks need no more than 300 dots an inch, whatever the device.
        const double fine = std::min(1.0, 300.0 / std::max(1, target_.logicalDpiX()));
        const double wanted = fine * std::max(device.width() / source.width(), device.height() / source.height());
        const double limit = kLargestSide / std::max(source.width(), source.height());
        const double scale = std::clamp(wanted, 1.0, std::max(1.0, limit));
        const QSize size(std::max(1, int(std::ceil(source.width() * scale))),
            std::max(1, int(std::ceil(source.height() * scale))));
        QImage masked(size, QImage::Format_ARGB32_Premultiplied);
        masked.fill(Qt::transparent);
        // Picture pixels to device: the picture fills r, then the transform.
        const QTransform toDevice = QTransform::fromScale(r.width() / size.width(), r.height() / size.height())
            * QTransform::fromTranslate(r.x(), r.y()) * transform_;
        {
            QPainter p(&masked);
            p.setClipPath(toDevice.inverted().map(clip_));
            p.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), source);
        }
        inner_.setTransform(transform_);
        inner_.drawImage(r, masked);
    }

    QPaintDevice& target_;
    QPainter inner_;
};

// Forwards to a painter that is already drawing, keeping its clip: a clip
// the replayed drawing sets (even "replace" or "none") only narrows it.
class ClipConfiningEngine : public StateKeepingEngine {
public:
    explicit ClipConfiningEngine(QPainter& outer) : outer_(outer) {}

    bool begin(QPaintDevice*) override
    {
        resetState();
        base_ = outer_.worldTransform();
        return outer_.isActive();
    }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& s) override { keepState(s); }

    void drawPath(const QPainterPath& path) override
    {
        confined([&](QPainter& p) {
            p.setPen(pen_);
            p.setBrush(brush_);
            p.setBrushOrigin(brushOrigin_);
            p.drawPath(path);
        });
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        confined([&](QPainter& p) {
            p.setPen(pen_);
            if (mode == PolylineMode) {
                p.drawPolyline(points, count);
                return;
            }
            p.setBrush(brush_);
            p.setBrushOrigin(brushOrigin_);
            p.drawPolygon(points, count, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        });
    }
    void drawTextItem(const QPointF& pt, const QTextItem& item) override
    {
        confined([&](QPainter& p) {
            p.setPen(pen_);
            p.drawTextItem(pt, item);
        });
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags flags) override
    {
        confined([&](QPainter& p) { p.drawImage(r, image, sr, flags); });
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& sr) override
    {
        confined([&](QPainter& p) { p.drawPixmap(r, pixmap, sr); });
    }

private:
    template <class Draw>
    void confined(Draw&& draw)
    {
        outer_.save();
        outer_.setWorldTransform(base_);
        if (clipping())
            outer_.setClipPath(clip_, Qt::IntersectClip);
        outer_.setWorldTransform(transform_ * base_);
        outer_.setRenderHints(hints_);
        outer_.setOpacity(outer_.opacity() * opacity_);
        outer_.setBackgroundMode(backgroundMode_);
        outer_.setBackground(background_);
        draw(outer_);
        outer_.restore();
    }

    QPainter& outer_;
    QTransform base_;
};

TForwardingDevice::TForwardingDevice(QPaintDevice& target, std::unique_ptr<QPaintEngine> engine)
    : target_(target), engine_(std::move(engine))
{
}

TForwardingDevice::~TForwardingDevice() = default;

TClipEmulatingDevice::TClipEmulatingDevice(QPaintDevice& target)
    : TForwardingDevice(target, std::make_unique<ClipEmulatingEngine>(target))
{
}

TClipConfiningDevice::TClipConfiningDevice(QPainter& outer)
    : TForwardingDevice(*outer.device(), std::make_unique<ClipConfiningEngine>(outer))
{
}

// What the target says of itself, through its public questions.
int TForwardingDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth: return target_.width();
    case PdmHeight: return target_.height();
    case PdmWidthMM: return target_.widthMM();
    case PdmHeightMM: return target_.heightMM();
    case PdmNumColors: return target_.colorCount();
    case PdmDepth: return target_.depth();
    case PdmDpiX: return target_.logicalDpiX();
    case PdmDpiY: return target_.logicalDpiY();
    case PdmPhysicalDpiX: return target_.physicalDpiX();
    case PdmPhysicalDpiY: return target_.physicalDpiY();
    case PdmDevicePixelRatio: return int(target_.devicePixelRatio());
    case PdmDevicePixelRatioScaled: return int(target_.devicePixelRatioF() * devicePixelRatioFScale());
    }
    return 0;
}

} // namespace cardora
