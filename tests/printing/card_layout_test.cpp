#include "printing/card_layout.h"
#include "printing/card_stocks.h"
#include <gtest/gtest.h>

using namespace cardora;

TEST(CardLayout, FreshInstallationEqualsTheFirstStock)
{
    const TCardLayout d;
    EXPECT_EQ(d.Width, 3.5);
    EXPECT_EQ(d.Height, 2.0);
    EXPECT_EQ(d.Across, 2);
    EXPECT_EQ(d.Down, 5);
    EXPECT_EQ(d.TopMargin, 0.5);
    EXPECT_EQ(d.LeftMargin, 0.75);
    EXPECT_EQ(d.HPitch, 3.5);
    EXPECT_EQ(d.VPitch, 2.0);
    EXPECT_EQ(d.Papersize, 1);
    EXPECT_FALSE(d.UseMM);
    EXPECT_EQ(d.PredefLayout, 0);

    // Entries 0 to 8 are one layout, the defaults; each keeps the index and UseMM.
    for (int i = 0; i <= 8; ++i) {
        TCardLayout start;
        start.Across = 3;
        start.Down = 7;
        start.Width = 1.0;
        start.UseMM = true;
        start.PredefLayout = 4;
        const TCardLayout l = ApplyPredefinedLayout(start, i);
        EXPECT_EQ(l.Width, 3.5) << i;
        EXPECT_EQ(l.Height, 2.0) << i;
        EXPECT_EQ(l.TopMargin, 0.5) << i;
        EXPECT_EQ(l.LeftMargin, 0.75) << i;
        EXPECT_EQ(l.HPitch, 3.5) << i;
        EXPECT_EQ(l.VPitch, 2.0) << i;
        EXPECT_EQ(l.Across, 2) << i;
        EXPECT_EQ(l.Down, 5) << i;
        EXPECT_EQ(l.Papersize, 1) << i;
        EXPECT_TRUE(l.UseMM);
        EXPECT_EQ(l.PredefLayout, 4);
    }
}

TEST(CardLayout, PredefinedStocksStartWithTheFourteenOfTheList)
{
    const auto& t = ShippedCardStocks();
    ASSERT_GE(t.size(), 14u);
    EXPECT_EQ(t[0].Name, "Avery Business Card 5371 (Letter Size Paper)");
    EXPECT_EQ(t[7].Name, "Avery Business Card 8376 Ink Jet - Ivory (Letter Size Paper)");
    EXPECT_EQ(t[12].Name, "Avery Business Card L7417 (A4 Size Paper)");
    EXPECT_EQ(t[13].Name, "Avery Business Card L7419 (A4)");

    // The A4 stocks print on A4 and keep the two-by-five sheet.
    for (int i = 9; i < 14; ++i) {
        TCardLayout l;
        l.Across = 1;
        l = ApplyPredefinedLayout(l, i);
        EXPECT_EQ(l.Papersize, 9) << i;
        EXPECT_EQ(l.Across, 2) << i;
        EXPECT_EQ(ValidCardMessage(l), "") << i;
        EXPECT_LE(l.TopMargin + 4 * l.VPitch + l.Height, 11.69) << i; // the sheet holds all five rows
    }
    // A bad index changes nothing.
    TCardLayout odd;
    odd.Width = 1.25;
    EXPECT_EQ(ApplyPredefinedLayout(odd, static_cast<int>(t.size())).Width, 1.25);
    EXPECT_EQ(ApplyPredefinedLayout(odd, -1).Width, 1.25);
}

TEST(CardLayout, MillimetreConversionsAndThreeDecimalText)
{
    EXPECT_DOUBLE_EQ(InchesToMillimetres(3.5), 88.9);
    EXPECT_DOUBLE_EQ(MillimetresToInches(25.4), 1.0);
    // 89 mm is 3.50393... inch and is kept as 3.504.
    EXPECT_EQ(RoundToThousandths(MillimetresToInches(89.0)), 3.504);
    EXPECT_EQ(RoundToThousandths(MillimetresToInches(88.90)), 3.5);
    EXPECT_EQ(RoundToThousandths(MillimetresToInches(89.99)), 3.543);
    // Entry 12 shown in millimetres.
    EXPECT_EQ(QString::number(InchesToMillimetres(2.126), 'f', 2), "54.00");
    EXPECT_EQ(QString::number(InchesToMillimetres(3.543), 'f', 2), "89.99");
    EXPECT_EQ(QString::number(InchesToMillimetres(0.531), 'f', 2), "13.49");
    EXPECT_EQ(QString::number(InchesToMillimetres(0.591), 'f', 2), "15.01");

    EXPECT_EQ(FormatFixed3(0.6), "0.600");
    EXPECT_EQ(FormatFixed3(0.6 - 0.5), "0.100");
    EXPECT_EQ(FormatFixed3(0.66), "0.660");
    EXPECT_EQ(FormatFixed3(-0.0001), "0.000");
    EXPECT_EQ(FormatFixed3(12.3456789), "12.346");
}

TEST(CardLayout, ValidCardChecksInOrderAndSkipsPitchOfASingleColumnOrRow)
{
    TCardLayout l;
    EXPECT_EQ(ValidCardMessage(l), "");

    l.Height = 0.3; // exactly the least allowed
    l.VPitch = 0.3;
    EXPECT_EQ(ValidCardMessage(l), "");
    l.Height = 0.299;
    l.Width = 0.1;  // also wrong, but height is checked first
    EXPECT_EQ(ValidCardMessage(l), "Card Height must be at least .3 inches (or 7mm)");
    l.Height = 2.0;
    l.VPitch = 2.0;
    EXPECT_EQ(ValidCardMessage(l), "Card Width must be at least .5 inch (or 13mm)");
    l.Width = 3.6;
    EXPECT_EQ(ValidCardMessage(l), "Horizontal Pitch must be at least = Card Width");
    l.HPitch = 3.6;
    l.VPitch = 1.9;
    EXPECT_EQ(ValidCardMessage(l), "Vertical Pitch must be at least = Card Height");

    // One column of 4-inch cards with a pitch of 0; one row likewise.
    TCardLayout column;
    column.Across = 1;
    column.Width = 4.0;
    column.HPitch = 0.0;
    EXPECT_EQ(ValidCardMessage(column), "");
    TCardLayout row;
    row.Down = 1;
    row.VPitch = 0.0;
    EXPECT_EQ(ValidCardMessage(row), "");
}

TEST(CardLayout, ValidCardRefusesCardsOffThePaper)
{
    struct Case {
        const char* what;
        double left, top, width, hpitch;
        int across, down, paper;
        QString message;
    };
    const Case cases[] = {
        { "default sheet", 0.75, 0.5, 3.5, 3.5, 2, 5, kPaperLetter, "" },
        { "exactly to the right edge", 1.5, 0.5, 3.5, 3.5, 2, 5, kPaperLetter, "" },
        { "left margin 5 in, two 3.5 in cards", 5.0, 0.5, 3.5, 3.5, 2, 5, kPaperLetter,
            "The cards run off the right edge of the paper: the last card ends at 12.000 inches, "
            "but the paper is 8.500 inches wide" },
        { "A4 is narrower than Letter", 1.3, 0.5, 3.5, 3.5, 2, 5, kPaperA4,
            "The cards run off the right edge of the paper: the last card ends at 8.300 inches, "
            "but the paper is 8.268 inches wide" },
        { "six rows of two inches", 0.75, 0.5, 3.5, 3.5, 2, 6, kPaperLetter,
            "The cards run off the bottom edge of the paper: the last row ends at 12.500 inches, "
            "but the paper is 11.000 inches high" },
        { "one wide column ignores the pitch", 0.5, 0.5, 7.5, 0.0, 1, 5, kPaperLetter, "" },
        { "negative left margin", -0.25, 0.5, 3.5, 3.5, 2, 5, kPaperLetter, "Left Margin must not be negative" },
        { "negative top margin", 0.75, -0.1, 3.5, 3.5, 2, 5, kPaperLetter, "Top Margin must not be negative" },
    };
    for (const Case& c : cases) {
        TCardLayout l;
        l.LeftMargin = c.left;
        l.TopMargin = c.top;
        l.Width = c.width;
        l.HPitch = c.hpitch;
        l.Across = c.across;
        l.Down = c.down;
        l.Papersize = c.paper;
        EXPECT_EQ(ValidCardMessage(l), c.message) << c.what;
    }
    // Every predefined stock fits its own paper.
    for (int i = 0; i < static_cast<int>(ShippedCardStocks().size()); ++i)
        EXPECT_EQ(ValidCardMessage(ApplyPredefinedLayout(TCardLayout(), i)), "") << i;
}

TEST(CardLayout, SheetGeometryAppliesNudgesInThirtySecondsAndTamesBadCounts)
{
    TCardLayout l;
    const TSheetGeometry plain = TSheetGeometry::From(l, TPrinterNudges());
    EXPECT_EQ(plain.CardRect(0, 0), QRectF(0.75, 0.5, 3.5, 2.0));
    EXPECT_EQ(plain.CardRect(0, 1).left(), 4.25);
    EXPECT_EQ(plain.CardRect(4, 1).top(), 8.5);

    TPrinterNudges n;
    n.TopMarginNudge = 2;
    n.LeftMarginNudge = -1;
    n.VerticalSpacing = -1;
    n.HorizontalSpacing = 3;
    const TSheetGeometry g = TSheetGeometry::From(l, n);
    EXPECT_DOUBLE_EQ(g.TopMargin, 0.5625);
    EXPECT_DOUBLE_EQ(g.LeftMargin, 0.71875);
    EXPECT_DOUBLE_EQ(g.CardRect(4, 0).top(), 0.5625 + 4 * (2.0 - 0.03125));
    EXPECT_DOUBLE_EQ(g.CardRect(0, 1).left(), 0.71875 + 3.5 + 0.09375);
    EXPECT_EQ(g.CardWidth, 3.5); // the card's size is not nudged

    // A hand-edited file: counts and lengths are brought into range.
    TCardLayout bad;
    bad.Across = 0;
    bad.Down = 1000;
    bad.TopMargin = 1e300;
    TPrinterNudges huge;
    huge.LeftMarginNudge = 2147483647;
    const TSheetGeometry b = TSheetGeometry::From(bad, huge);
    EXPECT_EQ(b.Across, 1);
    EXPECT_EQ(b.Down, 30);
    EXPECT_LE(b.TopMargin, 100.0);
    EXPECT_LE(b.LeftMargin, 100.0);
}

TEST(CardLayout, PositionSelectionGrowsAndRemembersTheLastFill)
{
    TPositionSelection s;
    EXPECT_EQ(s.size(), 10u);
    EXPECT_FALSE(s[0]);
    s.fill(true);
    EXPECT_TRUE(s[9]);
    EXPECT_TRUE(s[299]); // positions a 10 x 30 layout adds are selected too
    EXPECT_FALSE(s[300]);
    s.Set(250, false);
    EXPECT_EQ(s.size(), 251u);
    EXPECT_FALSE(s[250]);
    EXPECT_TRUE(s[249]);
    s.Set(300, true); // beyond 10 x 30: ignored
    s.Set(-1, true);
    EXPECT_EQ(s.size(), 251u);
    EXPECT_TRUE(s.AllOf(8, 2));
    s.Toggle(9);
    EXPECT_FALSE(s.AllOf(8, 2));
    s.fill(false);
    EXPECT_FALSE(s.AnyOf(300));
    s.Set(17, true);
    EXPECT_TRUE(s.AnyOf(18));
    EXPECT_FALSE(s.AnyOf(17));
}
