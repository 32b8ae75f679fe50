#include "core/graphics_attributes.h"
#include "report/recording_report.h"
#include "report/report_fill.h"
#include "report_pixels.h"
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

TPageMetrics Sheet(int xDpi, int yDpi, double unprintable)
{
    TPageMetrics m;
    m.paperInches = QSizeF(3.0, 3.0);
    m.xDpi = xDpi;
    m.yDpi = yDpi;
    m.unprintableInches = QMarginsF(unprintable, unprintable, unprintable, unprintable);
    return m;
}

QImage Record(TRecordingReport& report, const std::function<void(TReport&)>& draw)
{
    report.OnPrint = draw;
    EXPECT_TRUE(report.Execute());
    return report.RenderPage(0, 1.0);
}

bool IsBlue(QRgb c) { return qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90; }

} // namespace

// A 32 x 32 texture from a 96 ppi screen: tiles of round(32 * dpi / 96)
// printer pixels, one step past the box, each 0.01 inch larger than its step.
TEST(ReportFill, TextureTilesScaleByResolutionAndOverlap)
{
    QImage tile(32, 32, QImage::Format_RGB32);
    tile.fill(Qt::red);
    struct Case {
        int xDpi, yDpi;
        QSize tileSize;
        QRect box;     // printer pixels on the sheet
        QSize inked;   // extent of red on the page
    };
    const Case cases[] = {
        // 600 dpi: 200 x 200 tiles; 3 across (0, 200, 400 < 400 + 200), 2 down; +6 pixels of overlap.
        { 600, 600, QSize(200, 200), QRect(300, 300, 400, 150), QSize(606, 406) },
        // Unequal resolutions keep the proportions: 200 x 100 tiles, overlap 6 and 3 pixels.
        { 600, 300, QSize(200, 100), QRect(300, 150, 400, 150), QSize(606, 303) },
        { 300, 300, QSize(100, 100), QRect(150, 150, 100, 100), QSize(203, 203) },
    };
    for (const Case& c : cases) {
        const double sx = c.xDpi / 96.0, sy = c.yDpi / 96.0;
        const QSize ts = PrintedTileSize(tile.size(), sx, sy);
        EXPECT_EQ(ts, c.tileSize) << c.xDpi << "x" << c.yDpi;
        TRecordingReport report(Sheet(c.xDpi, c.yDpi, 0.25));
        const QImage page = Record(report, [&](TReport& r) { PrintTiles(r, tile, ts, c.box, QPointF(), false); });
        const QRect ink = InkBounds(page, IsRed);
        EXPECT_EQ(ink.topLeft(), c.box.topLeft()) << c.xDpi << "x" << c.yDpi;
        EXPECT_EQ(ink.size(), c.inked) << c.xDpi << "x" << c.yDpi;
    }
    // Round to nearest, halves to even: 3 * 600 / 96 = 18.75 -> 19; 5 * 0.5 = 2.5 -> 2, 3 * 0.5 = 1.5 -> 2.
    EXPECT_EQ(PrintedTileSize(QSize(3, 3), 600 / 96.0, 600 / 96.0), QSize(19, 19));
    EXPECT_EQ(PrintedTileSize(QSize(5, 3), 0.5, 0.5), QSize(2, 2));
}

// Assembled for a palette preview, the tiles become one bitmap of the box.
TEST(ReportFill, PreassembledTilesFillExactlyTheBox)
{
    QImage tile(32, 32, QImage::Format_RGB32);
    tile.fill(Qt::red);
    tile.setPixel(0, 0, qRgb(0, 0, 255));
    TRecordingReport report(Sheet(300, 300, 0.0));
    const QRect box(30, 60, 250, 120);
    const QImage page = Record(report, [&](TReport& r) {
        PrintTiles(r, tile, PrintedTileSize(tile.size(), 300 / 96.0, 300 / 96.0), box, QPointF(), true);
    });
    EXPECT_EQ(InkBounds(page, [](QRgb c) { return IsRed(c) || IsBlue(c); }), box);
    // Tile corners every 100 pixels from the box's corner.
    EXPECT_TRUE(IsBlue(page.pixel(31, 61)));
    EXPECT_TRUE(IsBlue(page.pixel(131, 161)));
    EXPECT_FALSE(IsBlue(page.pixel(81, 61)));
    // Nothing for an empty texture.
    TRecordingReport empty(Sheet(300, 300, 0.0));
    const QImage blank = Record(empty, [&](TReport& r) { PrintTiles(r, QImage(), QSize(10, 10), box, QPointF(), false); });
    EXPECT_TRUE(InkBounds(blank, IsRed).isNull());
}

// The printed gradient: bands in device pixels moved by the offset, the end
// colours at the area's edges.
TEST(ReportFill, GradientBandsLandAtTheOffsetInDevicePixels)
{
    struct Case {
        FillDirection direction;
        QPoint firstPixel; // relative to the area
        QPoint lastPixel;
    };
    const Case cases[] = {
        { FillDirection::Down, QPoint(50, 0), QPoint(50, 129) },
        { FillDirection::Right, QPoint(0, 25), QPoint(199, 25) },
    };
    for (const Case& c : cases) {
        TRecordingReport report(Sheet(100, 100, 0.25)); // device origin at sheet pixel 25
        const QPoint offset(10, 20);
        const QImage page = Record(report, [&](TReport& r) {
            PrintGradient(r, c.direction, clRed, clBlue, QSize(200, 130), offset);
        });
        const QPoint corner = offset + QPoint(25, 25);
        EXPECT_EQ(QColor(page.pixel(corner + c.firstPixel)), QColor(Qt::red)) << int(c.direction);
        EXPECT_EQ(QColor(page.pixel(corner + c.lastPixel)), QColor(Qt::blue)) << int(c.direction);
        const QRect ink = InkBounds(page, [](QRgb px) { return px != qRgb(255, 255, 255); });
        EXPECT_EQ(ink, QRect(corner, QSize(200, 130))) << int(c.direction);
    }
}

// Under a clip, a huge box prints only the tiles the clip lets through.
TEST(ReportFill, TilesOutsideTheClipAreSkipped)
{
    QImage tile(1, 1, QImage::Format_RGB32);
    tile.fill(Qt::red);
    TRecordingReport report(Sheet(300, 300, 0.25));
    const QImage page = Record(report, [&](TReport& r) {
        r.SelectClipRegion(r.RectRegion(1.0, 1.0, 1.5, 1.25));
        PrintTiles(r, tile, PrintedTileSize(tile.size(), 300 / 96.0, 300 / 96.0), QRect(0, 0, 3000000, 3000000),
            QPointF(), false);
        r.RemoveClip();
    });
    EXPECT_EQ(InkBounds(page, IsRed), QRect(300, 300, 150, 75));
}
