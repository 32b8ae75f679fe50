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

// ---- predefined card stocks

const std::array<TPredefinedLayout, 14>& PredefinedLayoutTable()
{
    static const std::array<TPredefinedLayout, 14> table = { {
        { "Avery Business Card 5371 (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 5372 (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 5376 - Ivory (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 5377 - Gray (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 5911 (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 8371 Ink Jet (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 8372 Ink Jet (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0, kPaperLetter },
        { "Avery Business Card 8376 Ink Jet - Ivory (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0,
            kPaperLetter },
        { "Avery Business Card 8377 Ink Jet - Gray (Letter Size Paper)", 2.0, 3.5, 0.5, 0.75, 3.5, 2.0,
            kPaperLetter },
        { "Avery Business Card L7413 (A4 Size Paper)", 2.0, 3.543, 0.846, 0.591, 3.543, 2.0, kPaperA4 },
        { "Avery Business Card L7414 (A4 Size Paper)", 2.047, 3.543, 0.728, 0.591, 3.543, 2.047, kPaperA4 },
        { "Avery Business Card L7415 (A4 Size Paper)", 2.047, 3.543, 0.728, 0.591, 3.543, 2.047, kPaperA4 },
        { "Avery Business Card L7417 (A4 Size Paper)", 2.126, 3.543, 0.531, 0.591, 3.543, 2.126, kPaperA4 },
        { "Avery Business Card L7419 (A4)", 2.126, 3.543, 0.531, 0.591, 3.543, 2.126, kPaperA4 },
    } };
    return table;
}

TCardLayout ApplyPredefinedLayout(TCardLayout layout, int index)
{
    if (index < 0 || index >= static_cast<int>(PredefinedLayoutTable().size()))
        return layout;
    const TPredefinedLayout& e = PredefinedLayoutTable()[static_cast<std::size_t>(index)];
    layout.Height = e.Height;
    layout.Width = e.Width;
    layout.TopMargin = e.TopMargin;
    layout.LeftMargin = e.LeftMargin;
    layout.HPitch = e.HPitch;
    layout.VPitch = e.VPitch;
    layout.Across = 2;
    layout.Down = 5;
    layout.Papersize = e.Papersize;
    return layout;
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
