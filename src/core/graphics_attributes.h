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

enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 }; // set bits

const QStringList& PenModeNames();
const QStringList& PenStyleNames();
const QStringList& BrushStyleNames();

Qt::PenStyle ToQtPenStyle(int style);
// Sets the painter's mix mode for a pen mode, and for pmBlack and pmWhite the
// colour the pen must take; false when nothing is to be drawn (pmNop).
// Devices without raster operations draw the pen as it is.
bool ApplyPenMode(QPainter& painter, int mode, QColor* forced);
Qt::BrushStyle ToQtBrushStyle(int style);

class TPen : public Persistent {
public:
    std::function<void()> OnChange;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Mode() const { return mode_; }
    void SetMode(int m);
    int Style() const { return style_; }
    void SetStyle(int s);
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
    int mode_ = pmCopy;
    int style_ = psSolid;
    int width_ = 1;
};

class TBrush : public Persistent {
public:
    std::function<void()> OnChange;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Style() const { return style_; }
    void SetStyle(int s);
    void Assign(const TBrush& other);
    bool operator==(const TBrush& o) const;

    QBrush ToQBrush() const;
    const PropertyTable& Properties() const override;

private:
    void changed() { if (OnChange) OnChange(); }
    TColor color_ = clWhite;
    int style_ = bsSolid;
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
    int Pitch() const { return pitch_; }
    void SetPitch(int p);
    int Size() const;               // points at the screen's resolution
    void SetSize(int points);
    int Style() const { return style_; } // fs* bits
    void SetStyle(int s);
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
    int pitch_ = fpDefault;
    int style_ = 0;
};

} // namespace cardora
