#include "core/gradient.h"
#include <gtest/gtest.h>

using namespace cardora;

namespace {

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

} // namespace

// Which colour each end of the gradient takes, and the colours in between.
TEST(Gradient, BandColoursRunFromStartToEndByDirection)
{
    struct Case {
        FillDirection direction;
        TColor from;
        TColor to;
        QColor first;
        QColor last;
        int band;
        QColor atBand;
    };
    const Case cases[] = {
        // From is red, To blue: up and left start with To.
        { FillDirection::Up, clRed, clBlue, rgb(0, 0, 255), rgb(255, 0, 0), 128, rgb(128, 0, 127) },
        { FillDirection::Left, clRed, clBlue, rgb(0, 0, 255), rgb(255, 0, 0), 1, rgb(1, 0, 254) },
        { FillDirection::Down, clRed, clBlue, rgb(255, 0, 0), rgb(0, 0, 255), 128, rgb(127, 0, 128) },
        { FillDirection::Right, clRed, clBlue, rgb(255, 0, 0), rgb(0, 0, 255), 254, rgb(1, 0, 254) },
        // A system colour enters the arithmetic as its RGB value.
        { FillDirection::Right, clBtnFace, clBlack, rgb(0xD4, 0xD0, 0xC8), rgb(0, 0, 0), 2, rgb(210, 206, 198) },
        // 100 * 10 / 255 = 3.92 rounds to 4.
        { FillDirection::Down, clBlack, 0x0A0A0A, rgb(0, 0, 0), rgb(10, 10, 10), 100, rgb(4, 4, 4) },
    };
    for (const Case& c : cases) {
        const auto bands = GradientBands(c.direction, c.from, c.to, QSize(300, 300));
        ASSERT_EQ(bands.size(), 256u);
        EXPECT_EQ(bands.front().color, c.first) << int(c.direction);
        EXPECT_EQ(bands.back().color, c.last) << int(c.direction);
        EXPECT_EQ(bands[c.band].color, c.atBand) << int(c.direction) << " band " << c.band;
    }
}

// Band edges are MulDiv(i, extent, 256): halves go away from zero, the bands
// tile the area without gaps, and the strips run across the direction.
TEST(Gradient, BandRectanglesCoverTheAreaWithMulDivEdges)
{
    struct Case {
        FillDirection direction;
        QSize size;
        int band;
        QRect rect;
    };
    const Case cases[] = {
        { FillDirection::Up, QSize(40, 512), 3, QRect(0, 6, 40, 2) },
        { FillDirection::Down, QSize(40, 10), 63, QRect(0, 2, 40, 1) },  // 630/256 = 2.46 .. 640/256 = 2.5 -> 3
        { FillDirection::Down, QSize(40, 10), 64, QRect(0, 3, 40, 0) },  // 2.5 -> 3, 650/256 = 2.54 -> 3
        { FillDirection::Right, QSize(256, 7), 255, QRect(255, 0, 1, 7) },
        { FillDirection::Left, QSize(100, 7), 0, QRect(0, 0, 0, 7) },    // 100/256 = 0.39 -> 0: empty first band
    };
    for (const Case& c : cases) {
        const auto bands = GradientBands(c.direction, clRed, clBlue, c.size);
        EXPECT_EQ(bands[c.band].rect, c.rect) << int(c.direction) << " band " << c.band;
        const bool vertical = c.direction == FillDirection::Left || c.direction == FillDirection::Right;
        int covered = 0;
        for (const TGradientBand& b : bands) {
            EXPECT_EQ(vertical ? b.rect.left() : b.rect.top(), covered);
            covered += vertical ? b.rect.width() : b.rect.height();
        }
        EXPECT_EQ(covered, vertical ? c.size.width() : c.size.height());
    }
}
