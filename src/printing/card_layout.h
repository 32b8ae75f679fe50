#pragma once
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <cstddef>
#include <vector>

namespace cardora {

// The card and sheet layout in inches from the sheet's physical top-left corner.
struct TCardLayout {
    double Height = 2.0;
    double Width = 3.5;
    int Across = 2;
    int Down = 5;
    double TopMargin = 0.5;
    double LeftMargin = 0.75;
    double HPitch = 3.5;
    double VPitch = 2.0;
    int PredefLayout = 0;
    int Papersize = 1; // 1 Letter, 9 A4
    bool UseMM = false;
};

// Printer fine tuning in 1/32 inch steps.
struct TPrinterNudges {
    int TopMarginNudge = 0;
    int LeftMarginNudge = 0;
    int VerticalSpacing = 0;
    int HorizontalSpacing = 0;
};

inline constexpr int kMaxAcross = 10;
inline constexpr int kMaxDown = 30;
inline constexpr int kMaxPositions = kMaxAcross * kMaxDown;
inline constexpr int kPaperLetter = 1;
inline constexpr int kPaperA4 = 9;
inline constexpr double kNudgeStep = 1.0 / 32.0;

// Which positions of a sheet to fill, by index row * across + column. It
// grows with the layout up to 10 x 30; positions never set take the value of
// the last fill, so "all selected" also covers positions a larger layout adds.
class TPositionSelection {
public:
    explicit TPositionSelection(std::size_t count = 10, bool value = false) : flags_(count, value), rest_(value) {}

    std::size_t size() const { return flags_.size(); }
    // False outside 0 .. kMaxPositions - 1.
    bool operator[](std::size_t index) const;
    bool At(int index) const { return index >= 0 && (*this)[static_cast<std::size_t>(index)]; }
    // Indexes outside 0 .. kMaxPositions - 1 are ignored.
    void Set(int index, bool value);
    void Toggle(int index) { Set(index, !At(index)); }
    // Every position, present and future.
    void fill(bool value);
    // Makes room for `count` positions (at most kMaxPositions).
    void Resize(std::size_t count);
    // True when one of the first `count` positions is selected.
    bool AnyOf(int count) const;
    // True when every one of the positions first .. first + count - 1 is selected.
    bool AllOf(int first, int count) const;

private:
    std::vector<bool> flags_;
    bool rest_ = false;
};

// The layout with the shipped card stock `index` loaded (sizes, counts, paper
// code; printing/card_stocks.h); unchanged for a bad index.
TCardLayout ApplyPredefinedLayout(TCardLayout layout, int index);

// 1 inch = 25.4 mm exactly.
inline double InchesToMillimetres(double inches) { return inches * 25.4; }
inline double MillimetresToInches(double mm) { return mm * 0.039370078740157480314; }
// Fixed-point text with 7 significant digits and 3 decimals ("0.600").
QString FormatFixed3(double value);
// A value rounded to three decimals through that text.
double RoundToThousandths(double value);

// The sheet in inches as the selection picture assumes it: 8.5 x 11 for
// Letter, otherwise 8.268 x 11.69.
QSizeF SheetSizeInches(int papersize);

// The paper in inches exactly (A4 is 210 x 297 mm), as a duplex printer turns it.
QSizeF PaperSizeInches(int papersize);

// How the sheet is turned between its two sides: over its long edge (the
// columns come back mirrored) or over its short edge (the rows do).
enum class TDuplexEdge { Long, Short };

// The layout of the backs: the back of the card at (row, col) lands at
// MirroredPosition(row, col) of this layout, exactly behind its front.
TCardLayout MirroredLayout(const TCardLayout& layout, TDuplexEdge edge);
// Row-major index, from 0, of the back of the card at (row, col).
int MirroredPosition(const TCardLayout& layout, TDuplexEdge edge, int row, int col);

// Empty when the layout is acceptable, else the first failing check's message.
QString ValidCardMessage(const TCardLayout& layout);

// The layout as a print job uses it: nudges applied, counts brought into
// 1 .. 10 across and 1 .. 30 down (a hand-edited preferences file is not trusted).
struct TSheetGeometry {
    double CardHeight = 2.0;
    double CardWidth = 3.5;
    int Across = 2;
    int Down = 5;
    double TopMargin = 0.5;
    double LeftMargin = 0.75;
    double HPitch = 3.5;
    double VPitch = 2.0;

    static TSheetGeometry From(const TCardLayout& layout, const TPrinterNudges& nudges);
    int Positions() const { return Across * Down; }
    // The card at (row, col), from 0, in inches on the sheet.
    QRectF CardRect(int row, int col) const;
};

} // namespace cardora
