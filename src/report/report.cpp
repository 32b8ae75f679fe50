#include "report/report.h"
#include "report/clip_emulation.h"
#include "core/symbol_fonts.h"
#include "core/graphics_attributes.h"
#include "core/rounding.h"
#include "report/status_format.h"
#include <QFontMetricsF>
#include <QLabel>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cmath>

namespace cardora {

// Coordinates from damaged card files may be absurd; keep them within what a
// device pixel can hold instead of overflowing.
static int ToPixels(double v)
{
    constexpr double kLimit = 1 << 28;
    if (!std::isfinite(v))
        return 0;
    return Round(std::clamp(v, -kLimit, kLimit));
}

// ---- TPageMetrics

QSize TPageMetrics::PaperPixels() const
{
    return QSize(ToPixels(paperInches.width() * xDpi), ToPixels(paperInches.height() * yDpi));
}

QPointF TPageMetrics::DeviceOrigin() const
{
    return QPointF(unprintableInches.left() * xDpi, unprintableInches.top() * yDpi);
}

bool TPageMetrics::operator==(const TPageMetrics& o) const
{
    return paperInches == o.paperInches && xDpi == o.xDpi && yDpi == o.yDpi && unprintableInches == o.unprintableInches;
}

QPageSize PaperSizeForCode(int paperCode, int width, int height)
{
    if (width > 0 && height > 0) {
        constexpr int kLargest = 50000; // 5 metres, in tenths of a millimetre
        if (width > kLargest || height > kLargest)
            return QPageSize();
        return QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter);
    }
    const QPageSize::PageSizeId id = QPageSize::id(paperCode);
    if (id == QPageSize::Custom)
        return QPageSize();
    return QPageSize(id);
}

void PlayPicture(QPainter& painter, const QPicture& picture)
{
    const QPaintDevice* device = painter.device();
    const QPicture reference; // a picture's resolution is the screen's
    painter.save();
    if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter.scale(double(reference.logicalDpiX()) / device->logicalDpiX(),
            double(reference.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(QPointF(0, 0), picture);
    painter.restore();
}

// ---- TReport

TReport::TReport() = default;
TReport::~TReport() = default;

void TReport::SetOrientation(PageOrientation orientation) { orientation_ = orientation; }

void TReport::SetMetrics(const TPageMetrics& metrics)
{
    constexpr double kLargestSheet = 200.0; // inches
    auto inches = [&](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, kLargestSheet) : 0.0; };
    metrics_.paperInches = QSizeF(inches(metrics.paperInches.width()), inches(metrics.paperInches.height()));
    metrics_.xDpi = std::clamp(metrics.xDpi, 1, 100000);
    metrics_.yDpi = std::clamp(metrics.yDpi, 1, 100000);
    const QMarginsF& u = metrics.unprintableInches;
    metrics_.unprintableInches = QMarginsF(inches(u.left()), inches(u.top()), inches(u.right()), inches(u.bottom()));
}

// ---- status

void TReport::SetStatusLabel(QLabel* label)
{
    statusLabel_ = label;
    if (label)
        label->setTextFormat(Qt::PlainText); // the status names the output file
}
QLabel* TReport::StatusLabel() const { return statusLabel_.data(); }

QString TReport::StatusString() const { return ExpandStatusFormat(statusFormat_, page_, statusText_); }

void TReport::UpdateStatus()
{
    QString shown = StatusString();
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(u'\r', u'\n');
    if (statusLabel_)
        statusLabel_->setText(shown);
    if (statusSink_)
        statusSink_(shown);
}

// ---- the run

bool TReport::Execute()
{
    if (executing_)
        return false;
    aborted_ = false;
    overBudget_ = false;
    error_.clear();
    inPath_ = false;
    path_ = QPainterPath();
    page_ = 1;
    QPainter* first = BeginDocument();
    if (!first) {
        page_ = 0;
        return false;
    }
    executing_ = true;
    documentOpen_ = true;
    StartPage(first);
    try {
        if (OnBeforePrint)
            OnBeforePrint(*this);
        UpdateStatus();
        if (OnPrint)
            OnPrint(*this);
    } catch (...) {
        // The document is closed whatever the handlers do.
        CloseDocument();
        throw;
    }
    CloseDocument();
    return error_.isEmpty();
}

void TReport::CloseDocument()
{
    painter_ = nullptr;
    inPath_ = false;
    if (documentOpen_) {
        documentOpen_ = false;
        EndDocument();
    }
    executing_ = false;
}

void TReport::NewPage()
{
    if (!executing_)
        return;
    ++page_;
    if (documentOpen_ && !aborted_) {
        inPath_ = false;
        path_ = QPainterPath();
        painter_ = nullptr;
        if (QPainter* next = BeginNextPage())
            StartPage(next);
    }
    UpdateStatus();
}

void TReport::Abort()
{
    aborted_ = true;
    painter_ = nullptr;
    inPath_ = false;
    if (documentOpen_) {
        documentOpen_ = false;
        AbortDocument();
    }
}

bool TReport::charge(qint64 steps)
{
    if (!painter_)
        return false;
    pageWork_ += std::max<qint64>(1, steps);
    if (pageWork_ <= pageBudget_)
        return true;
    // Nothing more reaches the device: what was sent is abandoned, and the
    // job ends with the reason instead of exhausting memory.
    overBudget_ = true;
    SetError(QStringLiteral("Page %1 is too complex to print at %2 dots per inch (more than %L3 drawing steps): "
                            "print at a lower resolution or simplify the card")
                 .arg(page_)
                 .arg(XDpi())
                 .arg(pageBudget_));
    painter_ = nullptr;
    inPath_ = false;
    if (documentOpen_) {
        documentOpen_ = false;
        AbortDocument();
    }
    return false;
}

void TReport::StartPage(QPainter* painter)
{
    pageWork_ = 0;
    pageBitmaps_.clear();
    painter_ = painter;
    painter_->resetTransform();
    painter_->translate(metrics_.DeviceOrigin());
    painter_->setClipping(false);
    painter_->setBackgroundMode(Qt::TransparentMode);
    // Pictures go to PDF and print losslessly: JPEG would grey small pictures
    // and blur logos and texture tiles.
    painter_->setRenderHint(QPainter::LosslessImageRendering, true);
    painter_->setFont(font_);
}

const QPaintDevice* TReport::FontDevice() const
{
    if (painter_)
        return painter_->device();
    const int dpmX = Round(XDpi() / 0.0254), dpmY = Round(YDpi() / 0.0254);
    if (measureDevice_.isNull())
        measureDevice_ = QImage(1, 1, QImage::Format_RGB32);
    if (measureDevice_.dotsPerMeterX() != dpmX || measureDevice_.dotsPerMeterY() != dpmY) {
        measureDevice_.setDotsPerMeterX(dpmX);
        measureDevice_.setDotsPerMeterY(dpmY);
    }
    return &measureDevice_;
}

// ---- device mapping

int TReport::DeviceX(double x) const { return ToPixels((x - UnprintableLeft()) * XDpi()); }
int TReport::DeviceY(double y) const { return ToPixels((y - UnprintableTop()) * YDpi()); }

QRect TReport::InchRectToDevice(double x1, double y1, double x2, double y2) const
{
    const int l = DeviceX(x1), t = DeviceY(y1), r = DeviceX(x2), b = DeviceY(y2);
    return QRect(QPoint(l, t), QSize(r - l, b - t));
}

int TReport::PenWidthPixels(int width) const
{
    constexpr int kWidest = 1 << 16;
    if (width < 0)
        return std::clamp(ToPixels(-static_cast<double>(width) / 100.0 * XDpi()), 1, kWidest);
    return std::clamp(width, 1, kWidest);
}

// ---- pen and brush

void TReport::SetBrush(TColor color, BrushStyle style, const QImage* bitmap)
{
    brushColor_ = color;
    brushStyle_ = style;
    brushBitmap_ = bitmap ? *bitmap : QImage();
}

void TReport::SetPen(TColor color, PenStyle style, int width, PenMode mode)
{
    penColor_ = color;
    penStyle_ = style;
    penWidth_ = width;
    penMode_ = mode;
    penInches_ = 0.0;
}

void TReport::SetCardPen(TColor color, PenStyle style, int pixels, PenMode mode, double ppi)
{
    SetPen(color, style, std::max(pixels, 1), mode);
    if (ppi > 0 && std::isfinite(ppi))
        penInches_ = std::max(pixels, 1) / ppi;
}

int TReport::CurrentPenPixels() const
{
    if (penInches_ > 0.0)
        return std::clamp(ToPixels(penInches_ * XDpi()), 1, 1 << 16);
    return PenWidthPixels(penWidth_);
}

QPen TReport::CurrentPen() const
{
    if (penStyle_ == PenStyle::Clear || penColor_ == clNone)
        return QPen(Qt::NoPen);
    const int w = CurrentPenPixels();
    // Broken line styles exist only for one-pixel pens; wider ones are solid.
    // A card pen is as thin as the card says, whatever the device makes of it.
    const bool thin = penInches_ > 0.0 ? penWidth_ <= 1 : w <= 1;
    const Qt::PenStyle style = thin ? ToQtPenStyle(penStyle_) : Qt::SolidLine;
    QPen pen(ToQColor(penColor_), w, style, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

QBrush TReport::CurrentBrush() const
{
    if (!brushBitmap_.isNull())
        return QBrush(brushBitmap_);
    if (brushStyle_ == BrushStyle::Clear || brushColor_ == clNone)
        return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(brushColor_), ToQtBrushStyle(brushStyle_));
}

// Sets the painter's mix mode for the pen mode; false when nothing is to be
// drawn. Devices without raster operations draw the pen as it is.
bool TReport::BeginModeDrawing(QColor* forcedColor) { return ApplyPenMode(*painter_, penMode_, forcedColor); }

// ---- figures

// Through pixel centres, so that a one-pixel outline covers the first and
// last pixel of the figure, and the last pixel column is x2's left neighbour.
QRectF TReport::FigureRect(double x1, double y1, double x2, double y2) const
{
    const int ax = DeviceX(x1), bx = DeviceX(x2), ay = DeviceY(y1), by = DeviceY(y2);
    const int l = std::min(ax, bx), r = std::max(ax, bx), t = std::min(ay, by), b = std::max(ay, by);
    QRectF rect(l + 0.5, t + 0.5, std::max(0, r - l - 1), std::max(0, b - t - 1));
    if (penStyle_ == PenStyle::InsideFrame) {
        const double inset = (CurrentPenPixels() - 1) / 2.0;
        rect.adjust(inset, inset, -inset, -inset);
        if (rect.width() < 0 || rect.height() < 0)
            rect = QRectF(rect.center(), QSizeF(0, 0));
    }
    return rect;
}

void TReport::DrawFigure(const QPainterPath& figure)
{
    if (inPath_) {
        path_.addPath(figure);
        return;
    }
    if (!charge(1))
        return;
    painter_->save();
    QColor forced;
    if (BeginModeDrawing(&forced)) {
        QPen pen = CurrentPen();
        QBrush brush = CurrentBrush();
        if (forced.isValid()) {
            if (pen.style() != Qt::NoPen)
                pen.setColor(forced);
            if (brush.style() != Qt::NoBrush)
                brush = QBrush(forced, brush.style() == Qt::TexturePattern ? Qt::SolidPattern : brush.style());
        }
        painter_->setPen(pen);
        painter_->setBrush(brush);
        painter_->drawPath(figure);
    }
    painter_->restore();
}

void TReport::Rectangle(double x1, double y1, double x2, double y2)
{
    QPainterPath p;
    p.addRect(FigureRect(x1, y1, x2, y2));
    DrawFigure(p);
}

void TReport::RoundRect(double x1, double y1, double x2, double y2, double cornerWidth, double cornerHeight)
{
    QPainterPath p;
    const double rx = ToPixels(std::abs(cornerWidth) * XDpi()) / 2.0;
    const double ry = ToPixels(std::abs(cornerHeight) * YDpi()) / 2.0;
    p.addRoundedRect(FigureRect(x1, y1, x2, y2), rx, ry);
    DrawFigure(p);
}

void TReport::Ellipse(double x1, double y1, double x2, double y2)
{
    QPainterPath p;
    p.addEllipse(FigureRect(x1, y1, x2, y2));
    DrawFigure(p);
}

void TReport::MoveTo(double x, double y)
{
    penPos_ = DevicePoint(x, y);
    if (inPath_)
        path_.moveTo(penPos_ + QPointF(0.5, 0.5));
}

void TReport::LineTo(double x, double y)
{
    const QPoint to = DevicePoint(x, y);
    if (inPath_) {
        if (path_.elementCount() == 0)
            path_.moveTo(penPos_ + QPointF(0.5, 0.5));
        path_.lineTo(to + QPointF(0.5, 0.5));
    } else if (charge(1)) {
        painter_->save();
        QColor forced;
        if (BeginModeDrawing(&forced)) {
            QPen pen = CurrentPen();
            if (forced.isValid())
                pen.setColor(forced);
            painter_->setPen(pen);
            painter_->drawLine(penPos_ + QPointF(0.5, 0.5), to + QPointF(0.5, 0.5));
        }
        painter_->restore();
    }
    penPos_ = to;
}

void TReport::Polygon(const QPolygon& devicePoints)
{
    if (devicePoints.size() < 2)
        return;
    QPainterPath p;
    p.addPolygon(QPolygonF(devicePoints).translated(0.5, 0.5));
    p.closeSubpath();
    p.setFillRule(Qt::WindingFill);
    DrawFigure(p);
}

void TReport::FillDeviceRect(const QRect& deviceRect)
{
    if (!painter_ || deviceRect.isEmpty() || !charge(1))
        return;
    painter_->save();
    QColor forced;
    if (BeginModeDrawing(&forced)) {
        const QBrush brush = forced.isValid() ? QBrush(forced) : CurrentBrush();
        if (brush.style() != Qt::NoBrush)
            painter_->fillRect(deviceRect, brush);
    }
    painter_->restore();
}

void TReport::FillDeviceRect(const QRect& deviceRect, const QBrush& brush)
{
    if (!painter_ || deviceRect.isEmpty() || brush.style() == Qt::NoBrush)
        return;
    painter_->save();
    painter_->fillRect(deviceRect, brush);
    painter_->restore();
}

void TReport::FillDeviceRect(int left, int top, int right, int bottom)
{
    const int l = ToPixels(left), t = ToPixels(top), r = ToPixels(right), b = ToPixels(bottom);
    FillDeviceRect(QRect(QPoint(l, t), QSize(r - l, b - t)));
}

// ---- pictures

void TReport::StretchDrawBitmap(double x1, double y1, double x2, double y2, const QImage& bitmap)
{
    // A bitmap costs by its bytes the first time on a page (a device keeps
    // one copy of each), then one step for each time it is drawn again.
    if (!painter_ || bitmap.isNull())
        return;
    bool known = false;
    for (qint64 key : pageBitmaps_)
        known = known || key == bitmap.cacheKey();
    if (!known && pageBitmaps_.size() < 64)
        pageBitmaps_.push_back(bitmap.cacheKey());
    if (!charge(known ? 1 : 1 + bitmap.sizeInBytes() / 256))
        return;
    const int l = DeviceX(x1), t = DeviceY(y1), r = DeviceX(x2), b = DeviceY(y2);
    if (l == r || t == b)
        return;
    const QImage shown = (r < l || b < t) ? bitmap.mirrored(r < l, b < t) : bitmap;
    const QRectF target(std::min(l, r), std::min(t, b), std::abs(r - l), std::abs(b - t));
    painter_->drawImage(target, shown, QRectF(shown.rect()));
}

void TReport::StretchDrawGraphic(const QRect& deviceRect, const QPicture& picture, const QRectF& frame)
{
    if (!painter_ || deviceRect.isEmpty() || !charge(1 + picture.size() / 64))
        return;
    const QRectF from = frame.isEmpty() ? QRectF(picture.boundingRect()) : frame;
    if (from.isEmpty())
        return;
    painter_->save();
    painter_->translate(deviceRect.topLeft());
    painter_->scale(deviceRect.width() / from.width(), deviceRect.height() / from.height());
    painter_->translate(-from.topLeft());
    {
        // Clips recorded in the picture narrow the card's and the object's,
        // never replace them.
        TClipConfiningDevice confined(*painter_);
        QPainter replay(&confined);
        PlayPicture(replay, picture);
    }
    painter_->restore();
}

void TReport::StretchDrawGraphic(const QRect& deviceRect, const GraphicPainter& paint)
{
    if (!painter_ || deviceRect.isEmpty() || !paint || !charge(1))
        return;
    painter_->save();
    paint(*painter_, QRectF(deviceRect));
    painter_->restore();
}

// ---- clipping regions (pixel edges, not centres: a region covers whole pixels)

QPainterPath TReport::RectRegion(double x1, double y1, double x2, double y2) const
{
    QPainterPath p;
    p.addRect(QRectF(InchRectToDevice(x1, y1, x2, y2)).normalized());
    return p;
}

QPainterPath TReport::RoundRectRegion(double x1, double y1, double x2, double y2, double cornerWidth,
    double cornerHeight) const
{
    QPainterPath p;
    p.addRoundedRect(QRectF(InchRectToDevice(x1, y1, x2, y2)).normalized(),
        ToPixels(std::abs(cornerWidth) * XDpi()) / 2.0, ToPixels(std::abs(cornerHeight) * YDpi()) / 2.0);
    return p;
}

QPainterPath TReport::EllipseRegion(double x1, double y1, double x2, double y2) const
{
    QPainterPath p;
    p.addEllipse(QRectF(InchRectToDevice(x1, y1, x2, y2)).normalized());
    return p;
}

QPainterPath TReport::PolygonRegion(const QPolygon& devicePoints) const
{
    QPainterPath p;
    if (devicePoints.size() >= 3) {
        p.addPolygon(QPolygonF(devicePoints));
        p.closeSubpath();
    }
    p.setFillRule(Qt::WindingFill);
    return p;
}

void TReport::ApplyClip(const QPainterPath* region)
{
    if (!painter_)
        return;
    if (inCard_) {
        painter_->setClipPath(baseClip_, Qt::ReplaceClip);
        if (region)
            painter_->setClipPath(*region, Qt::IntersectClip);
    } else if (region) {
        painter_->setClipPath(*region, Qt::ReplaceClip);
    } else {
        painter_->setClipping(false);
    }
}

void TReport::SelectClipRegion(const QPainterPath& region) { ApplyClip(&region); }

void TReport::RemoveClip() { ApplyClip(nullptr); }

// ---- cards and objects

void TReport::BeginCard(double x1, double y1, double x2, double y2)
{
    cardClip_ = RectRegion(x1, y1, x2, y2);
    baseClip_ = cardClip_;
    inCard_ = true;
    ResetDrawingState();
    ApplyClip(nullptr);
}

void TReport::EndCard()
{
    inCard_ = false;
    cardClip_ = baseClip_ = QPainterPath();
    ResetDrawingState();
    ApplyClip(nullptr);
}

void TReport::ResetDrawingState()
{
    penColor_ = clBlack;
    penStyle_ = PenStyle::Solid;
    penWidth_ = 1;
    penMode_ = PenMode::Copy;
    penInches_ = 0.0;
    brushColor_ = clWhite;
    brushStyle_ = BrushStyle::Solid;
    brushBitmap_ = QImage();
    font_ = QFont("Arial", 10);
    fontColor_ = Qt::black;
    transparentText_ = false;
    penPos_ = QPoint();
    cursorX_ = cursorY_ = lineTop_ = 0.0;
    inPath_ = false;
    path_ = QPainterPath();
}

void TReport::BeginObject(const QRectF& box)
{
    ++objectDepth_;
    ResetDrawingState();
    if (inCard_ && !box.isNull())
        baseClip_ = cardClip_.intersected(RectRegion(box.left(), box.top(), box.right(), box.bottom()));
    if (painter_) {
        painter_->save();
        painter_->setFont(font_);
    }
    ApplyClip(nullptr);
}

void TReport::EndObject()
{
    if (objectDepth_ <= 0)
        return;
    --objectDepth_;
    if (painter_)
        painter_->restore();
    baseClip_ = cardClip_;
    ResetDrawingState();
    ApplyClip(nullptr);
}

// ---- text

void TReport::SetFont(const QString& name, double points)
{
    font_ = QFont(FamilyOrDefault(name));
    font_.setPointSizeF(std::isfinite(points) ? std::clamp(points, 1.0, 4000.0) : 12.0);
    font_.setBold(false);
    font_.setItalic(false);
    font_.setUnderline(false);
    fontColor_ = Qt::black;
    if (painter_)
        painter_->setFont(font_);
}

void TReport::SetBold(bool on)
{
    font_.setBold(on);
    if (painter_)
        painter_->setFont(font_);
}

void TReport::SetItalic(bool on)
{
    font_.setItalic(on);
    if (painter_)
        painter_->setFont(font_);
}

void TReport::SetUnderline(bool on)
{
    font_.setUnderline(on);
    if (painter_)
        painter_->setFont(font_);
}

void TReport::SetFontColor(TColor color) { fontColor_ = ToQColor(color); }

double TReport::FontHeight() const { return font_.pointSizeF() / 72.0; }

void TReport::SetTextCursor(double x, double baselineY)
{
    cursorX_ = x;
    cursorY_ = baselineY;
}

// Fonts are bound to the drawing device so that point sizes hold at its
// resolution (a text path built with a screen-bound font would come out at
// 96 dpi size on a 600 dpi page).
static QFont DeviceFont(const QFont& font, const QPaintDevice* device)
{
    return device ? QFont(font, const_cast<QPaintDevice*>(device)) : font;
}

namespace {
// Symbol fonts draw codes their clone lacks from a fallback font; text fonts
// give one run holding the whole text.
QList<SymbolGlyph> TextRuns(const QFont& font, const QString& text) { return SymbolRuns(font.family(), text, font); }
} // namespace

double TReport::TextWidth(const QString& text) const
{
    const QPaintDevice* device = FontDevice();
    double width = 0.0;
    for (const SymbolGlyph& run : TextRuns(DeviceFont(font_, device), text))
        width += QFontMetricsF(run.font).horizontalAdvance(run.text);
    const double dpi = device->logicalDpiX();
    return width / (dpi > 0 ? dpi : 96.0);
}

void TReport::PrintText(const QString& text)
{
    if (text.isEmpty())
        return;
    const double width = TextWidth(text);
    if (painter_ || inPath_) {
        const QFont font = DeviceFont(font_, FontDevice());
        const QPointF at(DeviceX(cursorX_), DeviceY(cursorY_));
        const QList<SymbolGlyph> runs = TextRuns(font, text);
        if (inPath_) {
            double x = at.x();
            for (const SymbolGlyph& run : runs) {
                path_.addText(QPointF(x, at.y()), run.font, run.text);
                x += QFontMetricsF(run.font).horizontalAdvance(run.text);
            }
        } else if (charge(text.size())) {
            const QFontMetricsF fm(font);
            painter_->save();
            // As the platform canvas does: only a solid brush gives text an opaque cell.
            if (!transparentText_ && brushStyle_ == BrushStyle::Solid && brushBitmap_.isNull() && brushColor_ != clNone)
                painter_->fillRect(QRectF(at.x(), at.y() - fm.ascent(), width * XDpi(), fm.height()),
                    ToQColor(brushColor_));
            painter_->setPen(fontColor_);
            double x = at.x();
            for (const SymbolGlyph& run : runs) {
                painter_->setFont(run.font);
                painter_->drawText(QPointF(x, at.y()), run.text);
                x += QFontMetricsF(run.font).horizontalAdvance(run.text);
            }
            painter_->restore();
        }
    }
    cursorX_ += width;
}

// ---- paths

void TReport::BeginPath()
{
    inPath_ = true;
    path_ = QPainterPath();
    path_.setFillRule(Qt::WindingFill);
}

void TReport::EndPath() { inPath_ = false; }

void TReport::ClipToPath()
{
    inPath_ = false;
    ApplyClip(&path_);
    path_ = QPainterPath();
}

void TReport::StrokePath()
{
    inPath_ = false;
    if (painter_ && !path_.isEmpty() && charge(1 + path_.elementCount() / 16)) {
        painter_->save();
        QColor forced;
        if (BeginModeDrawing(&forced)) {
            QPen pen = CurrentPen();
            if (forced.isValid())
                pen.setColor(forced);
            painter_->strokePath(path_, pen);
        }
        painter_->restore();
    }
    path_ = QPainterPath();
}

} // namespace cardora
