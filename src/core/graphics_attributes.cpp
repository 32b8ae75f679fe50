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

const QStringList& FontPitchNames()
{
    static const QStringList n = { "fpDefault", "fpVariable", "fpFixed" };
    return n;
}

const QStringList& FontStyleNames()
{
    static const QStringList n = { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" };
    return n;
}

Qt::PenStyle ToQtPenStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Clear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

Qt::BrushStyle ToQtBrushStyle(BrushStyle style)
{
    switch (style) {
    case BrushStyle::Clear: return Qt::NoBrush;
    case BrushStyle::Horizontal: return Qt::HorPattern;
    case BrushStyle::Vertical: return Qt::VerPattern;
    case BrushStyle::FDiagonal: return Qt::BDiagPattern; // "\" in the card's y-down frame
    case BrushStyle::BDiagonal: return Qt::FDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
    case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

bool ApplyPenMode(QPainter& painter, PenMode mode, QColor* forced)
{
    QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case PenMode::Nop: return false;
    case PenMode::Black: *forced = Qt::black; break;
    case PenMode::White: *forced = Qt::white; break;
    case PenMode::Not: cm = QPainter::RasterOp_NotDestination; break;
    case PenMode::NotCopy: cm = QPainter::RasterOp_NotSource; break;
    case PenMode::MergePenNot: cm = QPainter::RasterOp_SourceOrNotDestination; break;
    case PenMode::MaskPenNot: cm = QPainter::RasterOp_SourceAndNotDestination; break;
    case PenMode::MergeNotPen: cm = QPainter::RasterOp_NotSourceOrDestination; break;
    case PenMode::MaskNotPen: cm = QPainter::RasterOp_NotSourceAndDestination; break;
    case PenMode::Merge: cm = QPainter::RasterOp_SourceOrDestination; break;
    case PenMode::NotMerge: cm = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case PenMode::Mask: cm = QPainter::RasterOp_SourceAndDestination; break;
    case PenMode::NotMask: cm = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case PenMode::Xor: cm = QPainter::RasterOp_SourceXorDestination; break;
    case PenMode::NotXor: cm = QPainter::RasterOp_NotSourceXorDestination; break;
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
void TPen::SetMode(PenMode m) { if (m != mode_) { mode_ = m; changed(); } }
void TPen::SetStyle(PenStyle s) { if (s != style_) { style_ = s; changed(); } }
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
    if (style_ == PenStyle::Clear)
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
        OrdinalProp<TPen, PenMode>(PropKind::Enum, "Mode", int(PenMode::Copy), &TPen::Mode, &TPen::SetMode,
            PenModeNames()),
        OrdinalProp<TPen, PenStyle>(PropKind::Enum, "Style", int(PenStyle::Solid), &TPen::Style, &TPen::SetStyle,
            PenStyleNames()),
        IntegerProp<TPen, int>("Width", 1, &TPen::Width, &TPen::SetWidth),
    };
    return t;
}

// ---- TBrush
void TBrush::SetColor(TColor c) { if (c != color_) { color_ = c; changed(); } }
void TBrush::SetStyle(BrushStyle s) { if (s != style_) { style_ = s; changed(); } }

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
        OrdinalProp<TBrush, BrushStyle>(PropKind::Enum, "Style", int(BrushStyle::Solid), &TBrush::Style,
            &TBrush::SetStyle,
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
void TFont::SetPitch(FontPitch p) { if (p != pitch_) { pitch_ = p; changed(); } }
void TFont::SetStyle(FontStyles s) { if (s != style_) { style_ = s; changed(); } }
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

static void applyStyle(QFont& f, FontStyles style)
{
    f.setBold(style.testFlag(FontStyle::Bold));
    f.setItalic(style.testFlag(FontStyle::Italic));
    f.setUnderline(style.testFlag(FontStyle::Underline));
    f.setStrikeOut(style.testFlag(FontStyle::StrikeOut));
}

QString FamilyOrDefault(const QString& name)
{
    return name.trimmed().isEmpty() ? QStringLiteral("Arial") : name;
}

QFont TFont::ToQFont(float zoom) const
{
    QFont f(FamilyOrDefault(name_));
    applyStyle(f, style_);
    if (pitch_ == FontPitch::Fixed)
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
    FontStyles s;
    if (f.bold()) s |= FontStyle::Bold;
    if (f.italic()) s |= FontStyle::Italic;
    if (f.underline()) s |= FontStyle::Underline;
    if (f.strikeOut()) s |= FontStyle::StrikeOut;
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
            OrdinalProp<TFont, FontPitch>(PropKind::Enum, "Pitch", int(FontPitch::Default), &TFont::Pitch,
                &TFont::SetPitch, FontPitchNames()),
            OrdinalProp<TFont, FontStyles>(PropKind::Set, "Style", std::nullopt, &TFont::Style, &TFont::SetStyle,
                FontStyleNames()),
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
