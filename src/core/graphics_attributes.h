#pragma once
#include "core/color.h"
#include "core/persistent.h"
#include <QFont>
#include <QPen>
#include <QBrush>
#include <functional>

class QPainter;

namespace cardora {

// Pen, brush and font as card objects hold them. Each tells its owner of a
// change through OnChange so the owner can repaint and notify.

enum class PenMode { Black, White, Nop, Not, Copy, NotCopy, MergePenNot, MaskPenNot, MergeNotPen, MaskNotPen,
    Merge, NotMerge, Mask, NotMask, Xor, NotXor };
enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
enum class FontPitch { Default, Variable, Fixed };
// Files store the style as a set of members named by bit position.
enum class FontStyle { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
Q_DECLARE_FLAGS(FontStyles, FontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(FontStyles)

const QStringList& PenModeNames();
const QStringList& PenStyleNames();
const QStringList& BrushStyleNames();
const QStringList& FontPitchNames();
const QStringList& FontStyleNames(); // by bit: "fsBold" is bit 0

Qt::PenStyle ToQtPenStyle(PenStyle style);
// Sets the painter's mix mode for a pen mode, and for Black and White the
// colour the pen must take; false when nothing is to be drawn (Nop).
// Devices without raster operations draw the pen as it is.
bool ApplyPenMode(QPainter& painter, PenMode mode, QColor* forced);
Qt::BrushStyle ToQtBrushStyle(BrushStyle style);

class TPen : public Persistent {
public:
    std::function<void()> OnChange;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    PenMode Mode() const { return mode_; }
    void SetMode(PenMode m);
    PenStyle Style() const { return style_; }
    void SetStyle(PenStyle s);
    int Width() const { return width_; }
    void SetWidth(int w);
    void Assign(const TPen& other);
    bool operator==(const TPen& o) const;

    // A pen for screen drawing at the given zoom (width scaled, at least 1).
    QPen ToQPen(float zoom = 1.0f) const;
    const PropertyTable& Properties() const override;

private:
    void changed() { if (OnChange) OnChange(); }
    TColor color_ = clBlack;
    PenMode mode_ = PenMode::Copy;
    PenStyle style_ = PenStyle::Solid;
    int width_ = 1;
};

class TBrush : public Persistent {
public:
    std::function<void()> OnChange;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    BrushStyle Style() const { return style_; }
    void SetStyle(BrushStyle s);
    void Assign(const TBrush& other);
    bool operator==(const TBrush& o) const;

    QBrush ToQBrush() const;
    const PropertyTable& Properties() const override;

private:
    void changed() { if (OnChange) OnChange(); }
    TColor color_ = clWhite;
    BrushStyle style_ = BrushStyle::Solid;
};

// The family a font name stands for: a card file may hold an empty name,
// which no font can be made from (Qt cannot even record such a font in a
// picture), so it becomes the program's default family.
QString FamilyOrDefault(const QString& name);

class TFont : public Persistent {
public:
    // Heights are kept within this many pixels either way.
    static constexpr int kMaxFontHeight = 16384;

    std::function<void()> OnChange;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int h);
    QString Name() const { return name_; }
    void SetName(const QString& n);
    FontPitch Pitch() const { return pitch_; }
    void SetPitch(FontPitch p);
    int Size() const;               // points at the screen's resolution
    void SetSize(int points);
    FontStyles Style() const { return style_; }
    void SetStyle(FontStyles s);
    void Assign(const TFont& other);
    bool operator==(const TFont& o) const;

    static int PixelsPerInch();

    // A QFont in pixels for screen drawing at the given zoom.
    QFont ToQFont(float zoom = 1.0f) const;
    // A QFont in points, for devices with their own resolution.
    QFont ToPointFont() const;
    void AssignQFont(const QFont& f);
    const PropertyTable& Properties() const override;

private:
    void changed() { if (OnChange) OnChange(); }
    TColor color_ = clBlack;
    int height_ = -13;
    QString name_ = "Arial";
    FontPitch pitch_ = FontPitch::Default;
    FontStyles style_;
};

} // namespace cardora
