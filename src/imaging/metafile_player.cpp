#include "imaging/metafile_player.h"
#include <QFontMetricsF>
#include <QPaintDevice>
#include <cmath>

namespace cardora {

namespace {

constexpr int kMaxSavedStates = 1024;
constexpr int TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24;

bool Finite(const QTransform& t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) && std::isfinite(t.m22())
        && std::isfinite(t.dx()) && std::isfinite(t.dy()) && std::isfinite(t.m13()) && std::isfinite(t.m33());
}

} // namespace

MetafilePlayer::MetafilePlayer(QPainter& painter, const QRectF& target)
    : painter_(painter)
    , target_(target)
{
    painter_.save();
    baseTransform_ = painter_.transform();
    baseHasClip_ = painter_.hasClipping();
    if (baseHasClip_)
        baseClip_ = painter_.clipPath();
    // The picture never draws outside its box.
    QPainterPath box;
    box.addRect(target);
    dc_.hasClip = true;
    dc_.clip = box;
    applyClip();
}

MetafilePlayer::~MetafilePlayer() { painter_.restore(); }

QPen MetafilePlayer::MakePen(int style, const QColor& colour)
{
    QPen pen(colour);
    switch (style & 0x0F) {
    case 1: pen.setStyle(Qt::DashLine); break;
    case 2: pen.setStyle(Qt::DotLine); break;
    case 3: pen.setStyle(Qt::DashDotLine); break;
    case 4: pen.setStyle(Qt::DashDotDotLine); break;
    case 5: pen.setStyle(Qt::NoPen); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    switch (style & 0x0F00) {
    case 0x0100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x0200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (style & 0xF000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush MetafilePlayer::MakeBrush(int style, const QColor& colour, int hatch)
{
    if (style == 1)
        return Qt::NoBrush;
    if (style == 2) {
        static const Qt::BrushStyle hatches[] = { Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern };
        return QBrush(colour, hatch >= 0 && hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    return QBrush(colour);
}

QImage MetafilePlayer::DecodeDib(const QByteArray& header, const QByteArray& bits)
{
    ByteReader in(header);
    const uint32_t headerSize = in.U32();
    if (in.Failed() || headerSize < 12 || headerSize > uint32_t(header.size()))
        return {};
    qint64 width, height;
    int bitCount;
    uint32_t compression = 0, colours = 0;
    int entrySize = 4;
    if (headerSize == 12) {
        width = in.U16();
        height = in.S16();
        in.U16();
        bitCount = in.U16();
        entrySize = 3;
    } else {
        width = in.S32();
        height = in.S32();
        in.U16();
        bitCount = in.U16();
        compression = in.U32();
        in.Skip(12);
        colours = in.U32();
    }
    if (in.Failed() || !PictureSizeAcceptable(width, std::abs(height)))
        return {};
    if (compression == 4 || compression == 5) // embedded JPEG or PNG
        return QImage::fromData(bits.isEmpty() ? header.mid(headerSize) : bits);
    qint64 table = 0;
    if (bitCount <= 8)
        table = qint64(colours ? std::min<uint32_t>(colours, 256) : (1u << bitCount)) * entrySize;
    else if (colours)
        table = qint64(std::min<uint32_t>(colours, 256)) * entrySize;
    if (compression == 3 && headerSize == 40)
        table += 12;
    QByteArray file("BM");
    const qint64 offset = 14 + headerSize + table;
    // A packed DIB carries its bits after the colour table.
    const QByteArray pixels = bits.isEmpty() ? header.mid(offset - 14) : bits;
    QByteArray tail = header;
    if (tail.size() < offset - 14)
        tail.append(QByteArray(offset - 14 - tail.size(), '\0'));
    tail.truncate(offset - 14);
    const qint64 total = offset + pixels.size();
    auto put32 = [&file](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.append(char((v >> (8 * i)) & 0xFF));
    };
    put32(uint32_t(total));
    put32(0);
    put32(uint32_t(offset));
    file.append(tail);
    file.append(pixels);
    return QImage::fromData(file, "BMP");
}

void MetafilePlayer::SelectObject(const GdiObject& o)
{
    switch (o.kind) {
    case GdiObject::Pen:
        dc_.pen = o.pen;
        dc_.penWidth = o.penWidth;
        break;
    case GdiObject::Brush: dc_.brush = o.brush; break;
    case GdiObject::Font: dc_.font = o.font; break;
    case GdiObject::Other: break;
    }
}

void MetafilePlayer::SaveDc()
{
    if (saved_.size() < kMaxSavedStates)
        saved_.append(dc_);
}

void MetafilePlayer::RestoreDc(int which)
{
    // Negative: that many states back; positive: the state of that depth.
    int keep = which < 0 ? int(saved_.size()) + which : which - 1;
    if (keep < 0 || keep >= saved_.size())
        return;
    dc_ = saved_[keep];
    saved_.resize(keep);
    applyClip();
}

void MetafilePlayer::applyClip()
{
    painter_.setTransform(baseTransform_);
    if (baseHasClip_) {
        painter_.setClipPath(baseClip_, Qt::ReplaceClip);
        if (dc_.hasClip)
            painter_.setClipPath(dc_.clip, Qt::IntersectClip);
    } else if (dc_.hasClip) {
        painter_.setClipPath(dc_.clip, Qt::ReplaceClip);
    } else {
        painter_.setClipping(false);
    }
}

void MetafilePlayer::IntersectClip(const QPainterPath& targetPath)
{
    dc_.clip = dc_.hasClip ? dc_.clip.intersected(targetPath) : targetPath;
    dc_.hasClip = true;
    applyClip();
}

void MetafilePlayer::ExcludeClip(const QPainterPath& targetPath)
{
    QPainterPath base = dc_.clip;
    if (!dc_.hasClip)
        base.addRect(target_);
    dc_.clip = base.subtracted(targetPath);
    dc_.hasClip = true;
    applyClip();
}

void MetafilePlayer::ResetClip()
{
    QPainterPath box;
    box.addRect(target_);
    dc_.clip = box;
    dc_.hasClip = true;
    applyClip();
}

void MetafilePlayer::SetClipPathTarget(const QPainterPath& targetPath, int mode)
{
    // Region modes: 1 and, 2 or, 3 xor, 4 diff, 5 copy.
    QPainterPath box;
    box.addRect(target_);
    const QPainterPath current = dc_.hasClip ? dc_.clip : box;
    switch (mode) {
    case 1: dc_.clip = current.intersected(targetPath); break;
    case 2: dc_.clip = current.united(targetPath); break;
    case 3: dc_.clip = current.united(targetPath).subtracted(current.intersected(targetPath)); break;
    case 4: dc_.clip = current.subtracted(targetPath); break;
    default: dc_.clip = targetPath.intersected(box); break;
    }
    dc_.hasClip = true;
    applyClip();
}

void MetafilePlayer::paintPath(const QPainterPath& path, bool fill, bool stroke)
{
    const QTransform t = LogicalToTarget();
    if (!Finite(t) || !t.isInvertible())
        return;
    painter_.setTransform(t * baseTransform_);
    const double scale = std::sqrt(std::abs(t.determinant()));
    if (fill && dc_.brush.style() != Qt::NoBrush) {
        if (dc_.opaqueBk && dc_.brush.style() != Qt::SolidPattern && dc_.brush.style() != Qt::TexturePattern)
            painter_.fillPath(path, dc_.bkColor);
        painter_.fillPath(path, dc_.brush);
    }
    if (stroke && dc_.pen.style() != Qt::NoPen) {
        QPen pen = dc_.pen;
        const double device = painter_.device() ? painter_.device()->logicalDpiX() / 96.0 : 1.0;
        double width = dc_.penWidth * scale;
        // Zero-width pens are one screen pixel wide at any resolution; a pen
        // wider than the whole picture is drawn as wide as the picture.
        const double limit = 2 * std::hypot(target_.width(), target_.height()) + 1;
        const double logical = std::min(width, limit) / scale;
        if (width < device || !std::isfinite(logical) || logical > 1e9) {
            pen.setCosmetic(true);
            pen.setWidthF(device);
        } else {
            pen.setWidthF(logical);
        }
        painter_.strokePath(path, pen);
    }
}

void MetafilePlayer::DrawPath(const QPainterPath& path, bool fill, bool stroke)
{
    if (inPath_) {
        // Figures that go on from the current point stay one figure.
        if (path.elementCount() > 0 && !path_.isEmpty() && QPointF(path.elementAt(0)) == path_.currentPosition())
            path_.connectPath(path);
        else
            path_.addPath(path);
        return;
    }
    paintPath(path, fill, stroke);
}

void MetafilePlayer::Polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    DrawPath(path, false);
}

void MetafilePlayer::Polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.setFillRule(dc_.fillRule);
    path.addPolygon(points);
    path.closeSubpath();
    DrawPath(path, true);
}

void MetafilePlayer::PolyPolygon(const QList<QPolygonF>& polygons)
{
    QPainterPath path;
    path.setFillRule(dc_.fillRule);
    for (const QPolygonF& p : polygons) {
        if (p.size() < 2)
            continue;
        path.addPolygon(p);
        path.closeSubpath();
    }
    DrawPath(path, true);
}

void MetafilePlayer::Rectangle(const QRectF& r)
{
    QPainterPath path;
    path.addRect(r.normalized());
    DrawPath(path, true);
}

void MetafilePlayer::RoundRect(const QRectF& r, double w, double h)
{
    QPainterPath path;
    path.addRoundedRect(r.normalized(), std::abs(w) / 2, std::abs(h) / 2);
    DrawPath(path, true);
}

void MetafilePlayer::Ellipse(const QRectF& r)
{
    QPainterPath path;
    path.addEllipse(r.normalized());
    DrawPath(path, true);
}

QPainterPath MetafilePlayer::ArcPath(const QRectF& rect, QPointF start, QPointF end, ArcKind kind, bool connect) const
{
    const QRectF box = rect.normalized();
    QPainterPath path;
    if (box.width() <= 0 || box.height() <= 0)
        return path;
    const QPointF c = box.center();
    const double a = box.width() / 2, b = box.height() / 2;
    auto angle = [&](QPointF p) { return std::atan2(-(p.y() - c.y()) / b, (p.x() - c.x()) / a) * 180 / M_PI; };
    const double s = angle(start);
    double sweep = angle(end) - s;
    // Arcs run counter-clockwise; equal ends make a whole ellipse.
    while (sweep <= 0)
        sweep += 360;
    if (kind == ArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(box, s, sweep);
        path.closeSubpath();
    } else {
        if (connect) {
            path.moveTo(dc_.current);
            path.arcTo(box, s, sweep);
        } else {
            path.arcMoveTo(box, s);
            path.arcTo(box, s, sweep);
        }
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    return path;
}

void MetafilePlayer::ArcShape(const QRectF& box, QPointF start, QPointF end, ArcKind kind)
{
    DrawPath(ArcPath(box, start, end, kind), kind != ArcKind::Arc);
}

void MetafilePlayer::LineTo(QPointF p)
{
    QPainterPath path;
    path.moveTo(dc_.current);
    path.lineTo(p);
    dc_.current = p;
    DrawPath(path, false);
}

void MetafilePlayer::FillRect(const QRectF& r, const QBrush& brush)
{
    if (inPath_)
        return;
    const QTransform t = LogicalToTarget();
    if (!Finite(t))
        return;
    painter_.setTransform(t * baseTransform_);
    painter_.fillRect(r.normalized(), brush);
}

void MetafilePlayer::TextOut(QPointF p, const QString& text, const QRectF* opaqueRect)
{
    if (inPath_)
        return;
    if (opaqueRect)
        FillRect(*opaqueRect, dc_.bkColor);
    if (text.isEmpty())
        return;
    if (dc_.textAlign & TA_UPDATECP)
        p = dc_.current;
    const QTransform t = LogicalToTarget();
    if (!Finite(t))
        return;
    const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
    if (sx <= 0 || sy <= 0)
        return;

    constexpr int kRef = 64; // text is laid out at this size and scaled
    QFont font(dc_.font.face);
    font.setPixelSize(kRef);
    font.setWeight(QFont::Weight(dc_.font.weight == 0 ? 400 : std::clamp(dc_.font.weight, 100, 900)));
    font.setItalic(dc_.font.italic);
    font.setUnderline(dc_.font.underline);
    font.setStrikeOut(dc_.font.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF fm(font);
    double logicalHeight = dc_.font.height == 0 ? 12 / sy : dc_.font.height;
    const double em = logicalHeight < 0 ? -logicalHeight : logicalHeight * kRef / fm.height();
    const double targetEm = em * sy;
    if (!std::isfinite(targetEm) || targetEm < 0.3 || targetEm > 20000)
        return;
    const double k = targetEm / kRef;

    const double width = fm.horizontalAdvance(text);
    double x = 0, y = 0;
    const int align = dc_.textAlign;
    if ((align & TA_CENTER) == TA_CENTER)
        x = -width / 2;
    else if (align & TA_RIGHT)
        x = -width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        y = 0;
    else if (align & TA_BOTTOM)
        y = -fm.descent();
    else
        y = fm.ascent();

    painter_.setTransform(baseTransform_);
    painter_.translate(t.map(p));
    painter_.rotate(-dc_.font.escapement / 10.0);
    painter_.scale(k * sx / sy, k);
    painter_.setFont(font);
    if (dc_.opaqueBk)
        painter_.fillRect(QRectF(x, y - fm.ascent(), width, fm.height()), dc_.bkColor);
    // Glyphs stretched far out of shape or very large are filled as outlines:
    // the glyph cache is not made for them.
    const double stretch = sx / sy;
    if (stretch > 8 || stretch < 1.0 / 8 || targetEm > 512) {
        QPainterPath outline;
        outline.addText(QPointF(x, y), font, text);
        painter_.fillPath(outline, dc_.textColor);
    } else {
        painter_.setPen(dc_.textColor);
        painter_.drawText(QPointF(x, y), text);
    }
    if (align & TA_UPDATECP)
        dc_.current.rx() += width * k / sy * (align & TA_RIGHT ? -1 : 1);
}

void MetafilePlayer::DrawImage(const QRectF& dest, const QImage& image, const QRectF& source, uint32_t rop)
{
    if (inPath_ || image.isNull())
        return;
    const QTransform t = LogicalToTarget();
    if (!Finite(t))
        return;
    QImage img = image;
    QRectF src = source.isValid() ? source : QRectF(img.rect());
    // Negative extents mirror the copy.
    const bool mirrorX = dest.width() < 0, mirrorY = dest.height() < 0;
    if (mirrorX || mirrorY) {
        img = img.mirrored(mirrorX, mirrorY);
        if (mirrorX)
            src.moveLeft(img.width() - src.right());
        if (mirrorY)
            src.moveTop(img.height() - src.bottom());
    }
    painter_.setTransform(t * baseTransform_);
    const auto mode = painter_.compositionMode();
    if (rop == 0x008800C6) // SRCAND
        painter_.setCompositionMode(QPainter::CompositionMode_Multiply);
    else if (rop == 0x00EE0086) // SRCPAINT
        painter_.setCompositionMode(QPainter::CompositionMode_Lighten);
    painter_.drawImage(dest.normalized(), img, src);
    painter_.setCompositionMode(mode);
}

void MetafilePlayer::PatBlt(const QRectF& r, uint32_t rop)
{
    switch (rop) {
    case 0x00F00021: FillRect(r, dc_.brush); break; // PATCOPY
    case 0x00000042: FillRect(r, Qt::black); break; // BLACKNESS
    case 0x00FF0062: FillRect(r, Qt::white); break; // WHITENESS
    default: break;
    }
}

MetafileHeader ReadMetafileHeader(const QByteArray& bytes)
{
    MetafileHeader h = ReadEmfHeader(bytes);
    if (h.format == MetafileFormat::None)
        h = ReadWmfHeader(bytes);
    return h;
}

void PlayMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target)
{
    if (!target.isValid() || !painter.isActive())
        return;
    const MetafileHeader h = ReadMetafileHeader(bytes);
    if (h.format == MetafileFormat::Emf)
        PlayEmf(bytes, h, painter, target);
    else if (h.format != MetafileFormat::None)
        PlayWmf(bytes, h, painter, target);
}

} // namespace cardora
