#include "core/graphics_attributes.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cardora {

const QStringList& PenModeNames()
{
    static const QStringList n = { "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
        "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor",
        "pmNotXor" };
    return n;
}

const QStringList& PenStyleNames()
{
    static const QStringList n = { "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
        "psInsideFrame" };
    return n;
}

const QStringList& BrushStyleNames()
{
    static const QStringList n = { "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
        "bsBDiagonal", "bsCross", "bsDiagCross" };
    return n;
}

Qt::PenStyle ToQtPenStyle(int style)
{
    switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

Qt::BrushStyle ToQtBrushStyle(int style)
{
    switch (style) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::BDiagPattern; // "\" in the card's y-down frame
    case bsBDiagonal: return Qt::FDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

bool ApplyPenMode(QPainter& painter, int mode, QColor* forced)
{
    QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case pmNop: return false;
    case pmBlack: *forced = Qt::black; break;
    case pmWhite: *forced = Qt::white; break;
    case pmNot: cm = QPainter::RasterOp_NotDestination; break;
    case pmNotCopy: cm = QPainter::RasterOp_NotSource; break;
    case pmMergePenNot: cm = QPainter::RasterOp_SourceOrNotDestination; break;
    case pmMaskPenNot: cm = QPainter::RasterOp_SourceAndNotDestination; break;
    case pmMergeNotPen: cm = QPainter::RasterOp_NotSourceOrDestination; break;
    case pmMaskNotPen: cm = QPainter::RasterOp_NotSourceAndDestination; break;
    case pmMerge: cm = QPainter::RasterOp_SourceOrDestination; break;
    case pmNotMerge: cm = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case pmMask: cm = QPainter::RasterOp_SourceAndDestination; break;
    case pmNotMask: cm = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case pmXor: cm = QPainter::RasterOp_SourceXorDestination; break;
    case pmNotXor: cm = QPainter::RasterOp_NotSourceXorDestination; break;
    default: break;
    }
    // Devices without raster operations (pictures, PDF) draw the pen as it is.
    if (cm != QPainter::CompositionMode_SourceOver && painter.paintEngine()
        && !painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        cm = QPainter::CompositionMode_SourceOver;
    painter.setCompositionMode(cm);
    return true;
}

// ---- TPen
void TPen::SetColor(TColor c) { if (c != color_) { color_ = c; changed(); } }
void TPen::SetMode(int m) { if (m != mode_) { mode_ = m; changed(); } }
void TPen::SetStyle(int s) { if (s != style_) { style_ = s; changed(); } }
void TPen::SetWidth(int w)
{
    w = BoundedCoordinate(w);
    if (w != width_) {
        width_ = w;
        changed();
    }
}

void TPen::Assign(const TPen& o)
{
    if (*this == o)
        return;
    color_ = o.color_;
    mode_ = o.mode_;
    style_ = o.style_;
    width_ = o.width_;
    changed();
}

bool TPen::operator==(const TPen& o) const
{
    return color_ == o.color_ && mode_ == o.mode_ && style_ == o.style_ && width_ == o.width_;
}

QPen TPen::ToQPen(float zoom) const
{
    if (style_ == psClear)
        return QPen(Qt::NoPen);
    const int w = std::max(1, Round(width_ * zoom));
    QPen p(ToQColor(color_), w, ToQtPenStyle(style_));
    p.setJoinStyle(Qt::MiterJoin);
    p.setCapStyle(Qt::SquareCap);
    return p;
}

const PropertyTable& TPen::Properties() const
{
    static const PropertyTable t = {
        OrdinalProp<TPen, TColor>(PropKind::Color, "Color", clBlack, &TPen::Color, &TPen::SetColor),
        OrdinalProp<TPen, int>(PropKind::Enum, "Mode", pmCopy, &TPen::Mode, &TPen::SetMode, PenModeNames()),
        OrdinalProp<TPen, int>(PropKind::Enum, "Style", psSolid, &TPen::Style, &TPen::SetStyle, PenStyleNames()),
        IntegerProp<TPen, int>("Width", 1, &TPen::Width, &TPen::SetWidth),
    };
    return t;
}

// ---- TBrush
void TBrush::SetColor(TColor c) { if (c != color_) { color_ = c; changed(); } }
void TBrush::SetStyle(int s) { if (s != style_) { style_ = s; changed(); } }

void TBrush::Assign(const TBrush& o)
{
    if (*this == o)
        return;
    color_ = o.color_;
    style_ = o.style_;
    changed();
}

bool TBrush::operator==(const TBrush& o) const { return color_ == o.color_ && style_ == o.style_; }

QBrush TBrush::ToQBrush() const { return QBrush(ToQColor(color_), ToQtBrushStyle(style_)); }

const PropertyTable& TBrush::Properties() const
{
    static const PropertyTable t = {
        OrdinalProp<TBrush, TColor>(PropKind::Color, "Color", clWhite, &TBrush::Color, &TBrush::SetColor),
        OrdinalProp<TBrush, int>(PropKind::Enum, "Style", bsSolid, &TBrush::Style, &TBrush::SetStyle,
            BrushStyleNames()),
    };
    return t;
}

// ---- TFont
int TFont::PixelsPerInch()
{
    static const int ppi = ScreenPixelsPerInch();
    return ppi;
}

void TFont::SetColor(TColor c) { if (c != color_) { color_ = c; changed(); } }
void TFont::SetHeight(int h)
{
    // A damaged file's height would overflow the size arithmetic.
    h = std::clamp(h, -kMaxFontHeight, kMaxFontHeight);
    if (h != height_) {
        height_ = h;
        changed();
    }
}
void TFont::SetName(const QString& n) { if (n != name_) { name_ = n; changed(); } }
void TFont::SetPitch(int p) { if (p != pitch_) { pitch_ = p; changed(); } }
void TFont::SetStyle(int s) { if (s != style_) { style_ = s; changed(); } }
int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch(), 72)); }

void TFont::Assign(const TFont& o)
{
    if (*this == o)
        return;
    color_ = o.color_;
    height_ = o.height_;
    name_ = o.name_;
    pitch_ = o.pitch_;
    style_ = o.style_;
    changed();
}

bool TFont::operator==(const TFont& o) const
{
    return color_ == o.color_ && height_ == o.height_ && name_ == o.name_ && pitch_ == o.pitch_
        && style_ == o.style_;
}

static void applyStyle(QFont& f, int style)
{
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
}

QString FamilyOrDefault(const QString& name)
{
    return name.trimmed().isEmpty() ? QStringLiteral("Arial") : name;
}

QFont TFont::ToQFont(float zoom) const
{
    QFont f(FamilyOrDefault(name_));
    applyStyle(f, style_);
    if (pitch_ == fpFixed)
        f.setFixedPitch(true);
    double px = std::abs(height_) * zoom;
    if (height_ > 0) {
        // A positive height is the whole cell; find the em size that fills it.
        QFont probe(f);
        probe.setPixelSize(100);
        const QFontMetricsF m(probe);
        if (m.height() > 0)
            px = px * 100.0 / m.height();
    }
    f.setPixelSize(std::max(1, Round(px)));
    return f;
}

QFont TFont::ToPointFont() const
{
    QFont f(FamilyOrDefault(name_));
    applyStyle(f, style_);
    f.setPointSizeF(std::abs(height_) * 72.0 / PixelsPerInch());
    return f;
}

void TFont::AssignQFont(const QFont& f)
{
    TFont t(*this);
    t.OnChange = nullptr;
    t.name_ = f.family();
    if (f.pointSize() > 0)
        t.height_ = -MulDiv(f.pointSize(), PixelsPerInch(), 72);
    else if (f.pixelSize() > 0)
        t.height_ = -f.pixelSize();
    int s = 0;
    if (f.bold()) s |= fsBold;
    if (f.italic()) s |= fsItalic;
    if (f.underline()) s |= fsUnderline;
    if (f.strikeOut()) s |= fsStrikeOut;
    t.style_ = s;
    Assign(t);
}

const PropertyTable& TFont::Properties() const
{
    static const PropertyTable t = [] {
        PropertyTable p = {
            OrdinalProp<TFont, TColor>(PropKind::Color, "Color", std::nullopt, &TFont::Color, &TFont::SetColor),
            IntegerProp<TFont, int>("Height", std::nullopt, &TFont::Height, &TFont::SetHeight),
            TextProp<TFont>("Name", &TFont::Name, &TFont::SetName),
            OrdinalProp<TFont, int>(PropKind::Enum, "Pitch", fpDefault, &TFont::Pitch, &TFont::SetPitch,
                { "fpDefault", "fpVariable", "fpFixed" }),
            OrdinalProp<TFont, int>(PropKind::Set, "Style", std::nullopt, &TFont::Style, &TFont::SetStyle,
                { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" }),
        };
        // Files from elsewhere may give the size in points; it is read, and
        // written back as Height.
        PropertyDecl size = IntegerProp<TFont, int>("Size", std::nullopt, &TFont::Size, &TFont::SetSize);
        size.storedWhen = [](const Persistent&) { return false; };
        p.push_back(size);
        return p;
    }();
    return t;
}

} // namespace cardora
