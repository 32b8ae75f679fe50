#include "report/recording_report.h"
#include "report/report_fill.h"
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;

// A page's work is counted and bounded: past the budget the job stops with
// one error instead of exhausting memory inside the device; drawing the
// same bitmap again costs a step, a new one its size; each page starts
// afresh; tiling a giant box costs what the sheet shows.
TEST(PageBudget, WorkPastTheBudgetStopsTheJobWithAReason)
{
    QImage tile(64, 64, QImage::Format_RGB32); // 16 KB: 64 steps the first time
    tile.fill(Qt::red);
    auto rectangles = [](int n) {
        return [n](TReport& r) {
            for (int i = 0; i < n; ++i)
                r.Rectangle(0.1, 0.1, 0.2, 0.2);
        };
    };
    const struct {
        const char* name;
        qint64 budget;
        std::function<void(TReport&)> draw;
        bool within;
    } cases[] = {
        { "figures up to the budget", 100, rectangles(100), true },
        { "one figure past it", 100, rectangles(101), false },
        { "one bitmap drawn again and again", 120,
            [&](TReport& r) {
                for (int i = 0; i < 50; ++i)
                    r.StretchDrawBitmap(0.1, 0.1, 0.5, 0.5, tile);
            },
            true },
        { "new bitmaps each time", 120,
            [&](TReport& r) {
                for (int i = 0; i < 3; ++i)
                    r.StretchDrawBitmap(0.1, 0.1, 0.5, 0.5, tile.copy());
            },
            false },
        { "two pages each within it", 100,
            [&](TReport& r) {
                rectangles(80)(r);
                r.NewPage();
                rectangles(80)(r);
            },
            true },
        { "text by its length", 100, [](TReport& r) { r.PrintText(QString(101, 'x')); }, false },
        { "a giant textured box, tiled where the sheet is", 2000,
            [&](TReport& r) {
                const QImage dot(1, 1, QImage::Format_RGB32);
                PrintTiles(r, dot, QSize(10, 10), QRect(-500000, -500000, 1000000, 1000000), QPointF(), false);
            },
            true },
        { "the same box preassembled for a preview", 2000,
            [&](TReport& r) {
                const QImage dot(1, 1, QImage::Format_RGB32);
                PrintTiles(r, dot, QSize(10, 10), QRect(-500000, -500000, 1000000, 1000000), QPointF(), true);
            },
            true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPageMetrics sheet;
        sheet.paperInches = QSizeF(3.0, 3.0);
        sheet.xDpi = sheet.yDpi = 100;
        TRecordingReport report(sheet);
        report.SetPageWorkBudget(c.budget);
        int printed = 0;
        report.OnPrint = [&](TReport& r) {
            c.draw(r);
            ++printed;
        };
        EXPECT_EQ(report.Execute(), c.within);
        EXPECT_EQ(printed, 1);
        EXPECT_EQ(report.WithinBudget(), c.within);
        if (c.within) {
            EXPECT_EQ(report.ErrorString(), QString());
            EXPECT_GE(report.PageCount(), 1);
        } else {
            EXPECT_TRUE(report.ErrorString().startsWith("Page 1 is too complex to print at 100 dots per inch"))
                << report.ErrorString().toStdString();
            EXPECT_EQ(report.PageCount(), 0); // nothing half-drawn is kept
        }
    }
}
