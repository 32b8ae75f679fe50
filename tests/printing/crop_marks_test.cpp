#include "printing/crop_marks.h"
#include <gtest/gtest.h>

using namespace cardora;

namespace {
TSheetGeometry sheet(double w, double h, int across, int down, double hpitch, double vpitch)
{
    TSheetGeometry g;
    g.CardWidth = w;
    g.CardHeight = h;
    g.Across = across;
    g.Down = down;
    g.HPitch = hpitch;
    g.VPitch = vpitch;
    g.LeftMargin = 0.75;
    g.TopMargin = 0.5;
    return g;
}

// True when some point of the mark lies on a card or within the clearance around it.
bool touchesACard(const TSheetGeometry& g, const QLineF& mark)
{
    const double c = TCropMarks::kClearance - 1e-9;
    for (int row = 0; row < g.Down; ++row)
        for (int col = 0; col < g.Across; ++col) {
            const QRectF card = g.CardRect(row, col).adjusted(-c, -c, c, c);
            for (int i = 0; i <= 20; ++i)
                if (card.contains(mark.pointAt(i / 20.0)))
                    return true;
        }
    return false;
}
} // namespace

TEST(CropMarks, MarksStayOffEveryCardAndShrinkWhereCardsAreClose)
{
    const struct {
        const char* layout;
        TSheetGeometry g;
        int row, col;
        int marks; // of that card
    } cases[] = {
        // One card alone: two marks at each of its four corners.
        { "single card", sheet(3.5, 2.0, 1, 1, 3.5, 2.0), 0, 0, 8 },
        // Half an inch between cards: every mark fits.
        { "wide gaps, inner card", sheet(3.0, 1.5, 2, 3, 3.5, 2.0), 1, 1, 8 },
        // Cards touching: the marks between them go, those in the margins stay.
        { "touching, top left", sheet(3.5, 2.0, 2, 5, 3.5, 2.0), 0, 0, 4 },
        { "touching, middle right", sheet(3.5, 2.0, 2, 5, 3.5, 2.0), 2, 1, 2 },
        // A tenth of an inch apart: too little room for a mark between them.
        { "narrow gaps, middle", sheet(3.4, 1.9, 2, 5, 3.5, 2.0), 2, 0, 2 },
    };
    for (const auto& c : cases) {
        const std::vector<QLineF> marks = TCropMarks::ForCard(c.g, c.row, c.col);
        EXPECT_EQ(int(marks.size()), c.marks) << c.layout;
        const QRectF card = c.g.CardRect(c.row, c.col);
        for (const QLineF& m : marks) {
            EXPECT_FALSE(touchesACard(c.g, m)) << c.layout;
            EXPECT_TRUE(m.dx() == 0 || m.dy() == 0) << c.layout; // along the card's edges
            EXPECT_GE(m.length(), TCropMarks::kShortest) << c.layout;
            EXPECT_LE(m.length(), TCropMarks::kLength + 1e-9) << c.layout;
            // Each mark continues one of the card's edge lines.
            const bool onEdgeLine = (m.dx() == 0 && (m.x1() == card.left() || m.x1() == card.right()))
                || (m.dy() == 0 && (m.y1() == card.top() || m.y1() == card.bottom()));
            EXPECT_TRUE(onEdgeLine) << c.layout;
        }
    }
}
