#include "printing/card_layout.h"
#include <algorithm>
#include <cmath>

namespace cardora {

// ---- position selection

bool TPositionSelection::operator[](std::size_t index) const
{
    if (index >= static_cast<std::size_t>(kMaxPositions))
        return false;
    return index < flags_.size() ? flags_[index] : rest_;
}

void TPositionSelection::Set(int index, bool value)
{
    if (index < 0 || index >= kMaxPositions)
        return;
    const auto i = static_cast<std::size_t>(index);
    if (i >= flags_.size())
        flags_.resize(i + 1, rest_);
    flags_[i] = value;
}

void TPositionSelection::fill(bool value)
{
    flags_.assign(flags_.size(), value);
    rest_ = value;
}

void TPositionSelection::Resize(std::size_t count)
{
    flags_.resize(std::min(count, static_cast<std::size_t>(kMaxPositions)), rest_);
}

bool TPositionSelection::AnyOf(int count) const
{
    for (int i = 0; i < count; ++i)
        if (At(i))
            return true;
    return false;
}

bool TPositionSelection::AllOf(int first, int count) const
{
    if (count <= 0)
        return false;
    for (int i = first; i < first + count; ++i)
        if (!At(i))
            return false;
    return true;
}

// ---- numbers

QString FormatFixed3(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0.000");
    // Seven significant digits first, then three decimals.
    const double seven = QString::number(value, 'g', 7).toDouble();
    QString text = QString::number(seven, 'f', 3);
    if (text == QLatin1String("-0.000"))
        text = QStringLiteral("0.000");
    return text;
}

double RoundToThousandths(double value) { return FormatFixed3(value).toDouble(); }

QSizeF SheetSizeInches(int papersize)
{
    return papersize == kPaperLetter ? QSizeF(8.5, 11.0) : QSizeF(8.268, 11.69);
}

QSizeF PaperSizeInches(int papersize)
{
    return papersize == kPaperA4 ? QSizeF(MillimetresToInches(210.0), MillimetresToInches(297.0)) : QSizeF(8.5, 11.0);
}

TCardLayout MirroredLayout(const TCardLayout& l, TDuplexEdge edge)
{
    const QSizeF paper = PaperSizeInches(l.Papersize);
    TCardLayout m = l;
    // The last column (or row) of the front is the first of the back, as far
    // from the opposite paper edge as it was from its own.
    if (edge == TDuplexEdge::Long)
        m.LeftMargin = paper.width() - (l.LeftMargin + std::max(0, l.Across - 1) * l.HPitch + l.Width);
    else
        m.TopMargin = paper.height() - (l.TopMargin + std::max(0, l.Down - 1) * l.VPitch + l.Height);
    return m;
}

int MirroredPosition(const TCardLayout& l, TDuplexEdge edge, int row, int col)
{
    if (edge == TDuplexEdge::Long)
        col = l.Across - 1 - col;
    else
        row = l.Down - 1 - row;
    return row * l.Across + col;
}

QString ValidCardMessage(const TCardLayout& l)
{
    if (l.Height < 0.3)
        return QStringLiteral("Card Height must be at least .3 inches (or 7mm)");
    if (l.Width < 0.5)
        return QStringLiteral("Card Width must be at least .5 inch (or 13mm)");
    if (l.Across >= 2 && l.HPitch < l.Width)
        return QStringLiteral("Horizontal Pitch must be at least = Card Width");
    if (l.Down >= 2 && l.VPitch < l.Height)
        return QStringLiteral("Vertical Pitch must be at least = Card Height");
    // Every card must lie on the paper, or the sheet prints cut-off cards.
    if (l.LeftMargin < 0)
        return QStringLiteral("Left Margin must not be negative");
    if (l.TopMargin < 0)
        return QStringLiteral("Top Margin must not be negative");
    const QSizeF sheet = SheetSizeInches(l.Papersize);
    const double slack = 0.0005; // three-decimal entries
    const double right = l.LeftMargin + std::max(0, l.Across - 1) * l.HPitch + l.Width;
    if (right > sheet.width() + slack)
        return QStringLiteral("The cards run off the right edge of the paper: the last card ends at %1 inches, "
                              "but the paper is %2 inches wide")
            .arg(FormatFixed3(right), FormatFixed3(sheet.width()));
    const double bottom = l.TopMargin + std::max(0, l.Down - 1) * l.VPitch + l.Height;
    if (bottom > sheet.height() + slack)
        return QStringLiteral("The cards run off the bottom edge of the paper: the last row ends at %1 inches, "
                              "but the paper is %2 inches high")
            .arg(FormatFixed3(bottom), FormatFixed3(sheet.height()));
    return QString();
}

// ---- sheet geometry

namespace {
// Absurd lengths from a damaged file are kept within a few sheets' size.
double saneLength(double v)
{
    if (!std::isfinite(v))
        return 0.0;
    return std::clamp(v, -100.0, 100.0);
}
} // namespace

TSheetGeometry TSheetGeometry::From(const TCardLayout& l, const TPrinterNudges& n)
{
    TSheetGeometry g;
    g.CardHeight = saneLength(l.Height);
    g.CardWidth = saneLength(l.Width);
    g.Across = std::clamp(l.Across, 1, kMaxAcross);
    g.Down = std::clamp(l.Down, 1, kMaxDown);
    g.TopMargin = saneLength(saneLength(l.TopMargin) + n.TopMarginNudge * kNudgeStep);
    g.LeftMargin = saneLength(saneLength(l.LeftMargin) + n.LeftMarginNudge * kNudgeStep);
    g.VPitch = saneLength(saneLength(l.VPitch) + n.VerticalSpacing * kNudgeStep);
    g.HPitch = saneLength(saneLength(l.HPitch) + n.HorizontalSpacing * kNudgeStep);
    return g;
}

QRectF TSheetGeometry::CardRect(int row, int col) const
{
    return QRectF(col * HPitch + LeftMargin, row * VPitch + TopMargin, CardWidth, CardHeight);
}

} // namespace cardora
