#include "imaging/fill.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace cardora;

// The gradient bitmap has the object's size and its end bands at the edges
// (on areas of 128 pixels or more, where the end bands are not empty).
TEST(Fill, GradientBitmapPutsEndColoursAtTheRightEdges)
{
    struct Case {
        FillDirection direction;
        QPoint first; // a pixel in band 0
        QPoint last;  // a pixel in band 255
    };
    const QSize size(200, 130);
    const Case cases[] = {
        { FillDirection::Up, QPoint(50, 0), QPoint(50, 129) },
        { FillDirection::Down, QPoint(0, 0), QPoint(199, 129) },
        { FillDirection::Left, QPoint(0, 30), QPoint(199, 30) },
        { FillDirection::Right, QPoint(0, 0), QPoint(199, 129) },
    };
    for (const Case& c : cases) {
        const QImage g = BuildGradient(c.direction, clRed, clBlue, size);
        ASSERT_EQ(g.size(), size);
        const bool toFirst = c.direction == FillDirection::Up || c.direction == FillDirection::Left;
        EXPECT_EQ(QColor(g.pixel(c.first)), toFirst ? QColor(Qt::blue) : QColor(Qt::red)) << int(c.direction);
        EXPECT_EQ(QColor(g.pixel(c.last)), toFirst ? QColor(Qt::red) : QColor(Qt::blue)) << int(c.direction);
    }
    // FillDirection::Up: the colour changes down the bitmap, not across it.
    const QImage up = BuildGradient(FillDirection::Up, clRed, clBlue, size);
    EXPECT_EQ(up.pixel(0, 30), up.pixel(199, 30));
    EXPECT_NE(up.pixel(0, 10), up.pixel(0, 50));
    // On a small area the first band is empty: the top row is band 1's colour.
    EXPECT_EQ(QColor(BuildGradient(FillDirection::Down, clRed, clBlue, QSize(10, 100)).pixel(0, 0)), QColor(254, 0, 1));
    EXPECT_TRUE(BuildGradient(FillDirection::Up, clRed, clBlue, QSize(0, 10)).isNull());
    EXPECT_EQ(QColor(BuildSolidBitmap(clBtnFace, QSize(3, 3)).pixel(1, 1)), QColor(0xD4, 0xD0, 0xC8));
}

// Tiles start at the corner, step by the tile size and stop at the area's edge.
TEST(Fill, TileFillStepsByTheTileSizeFromTheCorner)
{
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::white);
    tile.setPixel(0, 0, qRgb(255, 0, 0)); // marks each tile's corner
    struct Case {
        QSize area;
        QSize tileSize;
        int corners; // tiles drawn, found by their red corners
    };
    const Case cases[] = {
        { QSize(10, 10), QSize(4, 4), 9 }, // 0, 4, 8 each way
        { QSize(12, 12), QSize(6, 6), 4 }, // stretched to 6: 0, 6
        { QSize(8, 4), QSize(4, 4), 2 },   // a strip one tile high
        { QSize(10, 10), QSize(0, 0), 0 }, // a tile too small to draw
    };
    for (const Case& c : cases) {
        const QSize ts = c.tileSize;
        QImage canvas(20, 20, QImage::Format_RGB32);
        canvas.fill(Qt::black);
        {
            QPainter p(&canvas);
            TileFill(p, tile, ts, c.area);
        }
        // Red at every tile origin drawn; black beyond the last step.
        int corners = 0;
        if (!ts.isEmpty())
            for (int y = 0; y < 20; y += ts.height())
                for (int x = 0; x < 20; x += ts.width())
                    corners += canvas.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        EXPECT_EQ(corners, c.corners) << c.area.width();
        if (c.corners > 0) {
            const int right = ((c.area.width() + ts.width() - 1) / ts.width()) * ts.width();
            if (right < 20)
                EXPECT_EQ(canvas.pixel(right, 0), qRgb(0, 0, 0)) << c.area.width();
        } else {
            EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0)) << c.area.width();
        }
    }
    QImage canvas(5, 5, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter p(&canvas);
    TileFill(p, QImage(), QSize(4, 4), QSize(5, 5));
    p.end();
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0));
}

// A one-pixel texture on a huge object: only the tiles inside the clip are
// drawn (without that this would take hours), and they cover the clip.
TEST(Fill, TileFillDrawsOnlyWhatTheClipShows)
{
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter p(&canvas);
    p.setClipRect(QRect(5, 6, 10, 4));
    TileFill(p, dot, dot.size(), QSize(1000000, 1000000));
    p.end();
    int red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            red += canvas.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    EXPECT_EQ(red, 40);
    EXPECT_EQ(canvas.pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(4, 6), qRgb(0, 0, 0));
}
