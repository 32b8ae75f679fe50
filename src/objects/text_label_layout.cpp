// Measuring, laying out, painting and printing of the text label family.
#include "core/rounding.h"
#include "core/window_placement.h"
#include "objects/text_label.h"
#include "report/report.h"
#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cstdint>

namespace cardora {
namespace {

// Depths and sizes come from card files: keep the arithmetic far from overflow.
constexpr int kMaxDepth = 1000;
constexpr std::int64_t kMaxBox = 100000;
constexpr int kMaxFontPixels = 2000;

int SaneDepth(int depth) { return std::clamp(depth, -kMaxDepth, kMaxDepth); }

int BoxSize(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, 1, kMaxBox)); }

QFontMetrics MetricsOn(const QFont& font, const QPaintDevice* device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

// An offset in text coordinates turned into box coordinates.
QPoint Turned(const QPoint& o, int angle)
{
    switch (angle) {
    case 90: return { o.y(), -o.x() };
    case 180: return { -o.x(), -o.y() };
    case 270: return { -o.y(), o.x() };
    default: return o;
    }
}

// The reference point of a copy: one corner of its rectangle.
QPoint OriginOf(const LabelRect& r, int angle)
{
    switch (angle) {
    case 90: return { r.left, r.bottom };
    case 180: return { r.right, r.bottom };
    case 270: return { r.right, r.top };
    default: return { r.left, r.top };
    }
}

} // namespace

QPoint ShadowOffsetFor(ShadowDirection direction, int depth)
{
    const int d = SaneDepth(depth);
    switch (direction) {
    case ShadowDirection::Right: return { d, 0 };
    case ShadowDirection::Left: return { -d, 0 };
    case ShadowDirection::DownRight: return { d, d };
    case ShadowDirection::DownLeft: return { -d, d };
    case ShadowDirection::Down: return { 0, d };
    default: return { 0, 0 };
    }
}

QPoint HighlightOffsetFor(HighlightDirection direction, int depth)
{
    const int d = SaneDepth(depth);
    switch (direction) {
    case HighlightDirection::Right: return { d, 0 };
    case HighlightDirection::Left: return { -d, 0 };
    case HighlightDirection::UpRight: return { d, -d };
    case HighlightDirection::UpLeft: return { -d, -d };
    case HighlightDirection::Up: return { 0, -d };
    default: return { 0, 0 };
    }
}

// ---- CaptionText

CaptionText::CaptionText(const QString& family, const QFont& font, const QString& text)
    : runs_(SymbolRuns(family, text, font)), base_(font)
{
    // A symbol caption without characters still has the height of a space.
    if (runs_.isEmpty())
        base_ = GlyphForCode(family, ' ', font).font;
}

QList<QFont> CaptionText::metricFonts() const
{
    QList<QFont> fonts;
    for (const SymbolGlyph& run : runs_)
        fonts.append(run.font);
    if (fonts.isEmpty())
        fonts.append(base_);
    return fonts;
}

int CaptionText::Width(const QPaintDevice* device) const
{
    int w = 0;
    for (const SymbolGlyph& run : runs_)
        w += MetricsOn(run.font, device).horizontalAdvance(run.text);
    return w;
}

int CaptionText::CellHeight(const QPaintDevice* device) const
{
    int h = 0;
    for (const QFont& f : metricFonts())
        h = std::max(h, MetricsOn(f, device).height());
    return h;
}

int CaptionText::Ascent(const QPaintDevice* device) const
{
    int a = 0;
    for (const QFont& f : metricFonts())
        a = std::max(a, MetricsOn(f, device).ascent());
    return a;
}

int CaptionText::InternalLeading(const QPaintDevice* device) const
{
    int leading = 0;
    for (const QFont& f : metricFonts()) {
        const QFontMetrics m = MetricsOn(f, device);
        // The em size in the device's pixels; fonts here are sized in pixels.
        int em = f.pixelSize();
        if (em <= 0)
            em = Round(f.pointSizeF() * (device ? device->logicalDpiY() : ScreenPixelsPerInch()) / 72.0);
        leading = std::max(leading, m.height() - em);
    }
    return std::max(0, leading);
}

int CaptionText::ExternalLeading(const QPaintDevice* device) const
{
    int leading = 0;
    for (const QFont& f : metricFonts())
        leading = std::max(leading, MetricsOn(f, device).leading());
    return std::max(0, leading);
}

void CaptionText::Draw(QPainter& painter) const
{
    const QPaintDevice* device = painter.device();
    const int baseline = Ascent(device);
    int x = 0;
    for (const SymbolGlyph& run : runs_) {
        if (run.text.isEmpty())
            continue;
        painter.setFont(run.font);
        painter.drawText(QPoint(x, baseline), run.text);
        x += MetricsOn(run.font, device).horizontalAdvance(run.text);
    }
}

QPainterPath CaptionText::Path(QPointF topLeft) const
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const double baseline = topLeft.y() + Ascent();
    double x = topLeft.x();
    for (const SymbolGlyph& run : runs_) {
        if (run.text.isEmpty())
            continue;
        path.addText(QPointF(x, baseline), run.font, run.text);
        x += MetricsOn(run.font, nullptr).horizontalAdvance(run.text);
    }
    return path;
}

// ---- TQBaseLabel: measuring

QFont TQBaseLabel::ShownFont() const
{
    QFont font = Font().ToQFont();
    // A height from a damaged file must not make glyphs the size of a house.
    if (font.pixelSize() > kMaxFontPixels)
        font.setPixelSize(kMaxFontPixels);
    return font;
}

CaptionText TQBaseLabel::MeasuredText(const QString& text) const
{
    return CaptionText(Font().Name(), ShownFont(), text);
}

void TQBaseLabel::CalcLayout()
{
    if (!layoutDirty_)
        return;
    ++layoutRuns_;
    const LabelLayout previous = layout_;
    const QString space = QStringLiteral(" ");
    // The box fits the text as typed, so showing another record's values
    // never changes the card; the text shown is placed in that box.
    const QString shown = WithFields(caption_);
    const bool typedShown = shown == caption_;
    const CaptionText text = MeasuredText(shown);
    const CaptionText spaced = MeasuredText(shown + space);
    LabelLayout& L = layout_;
    L.b = text.CellHeight() + text.InternalLeading() + text.ExternalLeading();
    L.tw = spaced.Width();

    const int sx = L.shadowOffset.x(), sy = L.shadowOffset.y();
    const int hx = L.highlightOffset.x(), hy = L.highlightOffset.y();
    int mx = sx < 0 ? -sx : 0;
    if (hx < 0)
        mx = std::max(-hx, mx);
    int my = sy < 0 ? -sy : 0;
    if (hy < 0)
        my = std::max(-hy, my);
    L.textMargin = QPoint(mx, my);
    L.l = L.b + sy - hy;
    const int b = L.b, shownTw = L.tw;

    // Fit the box; each step sees the one before. A box whose text holds
    // fields keeps the length the user gave it, room for the longest value.
    const int turn = angle_;
    const bool fields = HasFields(caption_);
    FitBox([&](QSize box) {
        const CaptionText t = typedShown ? text : MeasuredText(caption_);
        const int l = t.CellHeight() + t.InternalLeading() + t.ExternalLeading() + sy - hy;
        const int tw = typedShown ? shownTw : MeasuredText(caption_ + space).Width();
        int w = box.width(), h = box.height();
        if (turn == 0 || turn == 180) {
            if (turn == 180 && 2 * tw < w && !fields)
                w = BoxSize(2 * std::int64_t(tw));
            if (w <= 5)
                w = BoxSize(tw);
            if (1.2 * l < h)
                h = BoxSize(Trunc(1.2 * l));
            if (h < l)
                h = BoxSize(l);
        } else {
            if (1.2 * tw < h && !fields)
                h = BoxSize(Trunc(1.2 * tw));
            if (h < 5)
                h = BoxSize(tw);
            if (1.2 * l < w)
                w = BoxSize(Trunc(1.2 * l));
            if (w < l)
                w = BoxSize(l);
        }
        return QSize(w, h);
    });
    const int W = Width(), H = Height();

    LabelRect main = (angle_ == 0 || angle_ == 180) ? LabelRect { mx, my, W, my + b }
                                                     : LabelRect { my, mx, my + b, H - my };
    const int rh = main.bottom - main.top + 1;
    const int rw = main.right - main.left + 1;
    if (angle_ == 90)
        main = main.Moved(0, H - rh + hx);
    else if (angle_ == 180)
        main = main.Moved(W - rw - sy, 0);
    const QPoint s = Turned(L.shadowOffset, angle_);
    const QPoint h = Turned(L.highlightOffset, angle_);
    L.mainRect = main;
    L.shadowRect = main.Moved(s.x(), s.y());
    L.highlightRect = main.Moved(h.x(), h.y());
    L.mainOrigin = OriginOf(L.mainRect, angle_);
    L.shadowOrigin = OriginOf(L.shadowRect, angle_);
    L.highlightOrigin = OriginOf(L.highlightRect, angle_);

    if (angle_ == 0) {
        int x0 = main.left;
        if (alignment_ == TextAlignment::RightJustify)
            x0 = main.right - shownTw;
        else if (alignment_ == TextAlignment::Center)
            x0 = (main.right - main.left) / 2 - shownTw / 2;
        L.mainOrigin.setX(x0);
        L.highlightOrigin.setX(x0 + hx);
        L.shadowOrigin.setX(x0 + sx);
    }
    layoutDirty_ = false;
    LayoutChanged(previous);
}

// ---- painting

void TQBaseLabel::drawCopy(QPainter& canvas, const CaptionText& text, const QPoint& origin, const LabelRect& clip,
    TColor color) const
{
    canvas.save();
    canvas.setClipRect(clip.ToQRect(), Qt::IntersectClip);
    canvas.translate(origin);
    if (angle_ != 0)
        canvas.rotate(-angle_); // counter-clockwise on a y-down canvas
    canvas.setPen(ToQColor(color));
    canvas.setBrush(Qt::NoBrush);
    text.Draw(canvas);
    canvas.restore();
}

void TQBaseLabel::DrawLabel(QPainter& canvas)
{
    CalcLayout();
    const int W = Width(), H = Height();
    canvas.save();
    if (!transparent_)
        canvas.fillRect(QRect(0, 0, W, H), ToQColor(backColor_));
    const CaptionText text = MeasuredText(WithFields(caption_));
    // Background, shadow, highlight, text, border: each lies over the one before.
    if (depthShadow_ > 0 && directionShadow_ != ShadowDirection::NoShadow)
        drawCopy(canvas, text, layout_.shadowOrigin, layout_.shadowRect, colorShadow_);
    if (depthHighlight_ > 0 && directionHighlight_ != HighlightDirection::NoHighlight)
        drawCopy(canvas, text, layout_.highlightOrigin, layout_.highlightRect, colorHighlight_);
    drawCopy(canvas, text, layout_.mainOrigin, layout_.mainRect, Font()->Color());
    if (borderStyle_ == LabelBorder::Single) {
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRect(0, 0, W - 1, H - 1));
    }
    canvas.restore();
}

void TQBaseLabel::PrepareToDraw()
{
    if (Width() < 5 || Height() < 5)
        layoutDirty_ = true;
    CalcLayout();
}

void TQBaseLabel::Paint()
{
    if (Width() < 5 || Height() < 5)
        layoutDirty_ = true;
    if (QPainter* p = CurrentCanvas())
        DrawLabel(*p);
    DrawSelectionMarkers();
}

void TQBaseLabel::FitToText()
{
    if (angle_ != 0)
        return;
    const LabelLayout& L = layout_;
    const int px = std::max({ L.mainRect.left, L.shadowRect.left, L.highlightRect.left });
    const int py = std::max({ L.mainRect.top, L.shadowRect.top, L.highlightRect.top });
    FitBox([&](QSize box) {
        const QString shown = WithFields(caption_);
        const std::int64_t w = std::int64_t(px) + MeasuredText(shown + QStringLiteral("     ")).Width();
        const std::int64_t h = std::int64_t(py) + MeasuredText(shown).CellHeight();
        return QSize(w > box.width() ? BoxSize(w) : box.width(), h > box.height() ? BoxSize(h) : box.height());
    });
    layoutDirty_ = true;
    repaint();
}

// ---- printing

std::unique_ptr<QPicture> TQBaseLabel::MakeMetafile()
{
    CalcLayout(); // may refit the box first
    auto picture = std::make_unique<QPicture>();
    {
        QPainter p(picture.get());
        DrawLabel(p);
    }
    picture->setBoundingRect(QRect(0, 0, Width(), Height()));
    return picture;
}

void TQBaseLabel::PrintAt(TReport& report, double x, double y)
{
    PrintAtResolution(report, x, y, ScreenPixelsPerInch());
}

void TQBaseLabel::PrintAtResolution(TReport& report, double x, double y, int ppi)
{
    if (ppi <= 0)
        return;
    PrintBoxPicture(report, x, y, ppi, WithFields(caption_), [this] { return MakeMetafile(); });
}

} // namespace cardora
