#include "core/graphics_attributes.h"
#include "report/recording_report.h"
#include "report_pixels.h"
#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <vector>

using namespace cardora;
using namespace cardora::test;

namespace {

TPageMetrics SmallSheet(int dpi, double unprintable)
{
    TPageMetrics m;
    m.paperInches = QSizeF(4.0, 3.0);
    m.xDpi = m.yDpi = dpi;
    m.unprintableInches = QMarginsF(unprintable, unprintable, unprintable, unprintable);
    return m;
}

// Records one page drawn by `draw` and renders it at device size.
QImage RecordOne(TRecordingReport& report, const std::function<void(TReport&)>& draw)
{
    report.OnPrint = draw;
    EXPECT_TRUE(report.Execute());
    EXPECT_EQ(report.PageCount(), 1);
    return report.RenderPage(0, 1.0);
}

} // namespace

TEST(RecordingReport, InchesMapToDevicePixelsFromThePrintableCorner)
{
    TRecordingReport report(SmallSheet(600, 0.25));
    const QImage page = RecordOne(report, [](TReport& r) {
        r.SetPen(clBlack, PenStyle::Solid, 1, PenMode::Copy); // one device pixel
        r.SetBrush(clWhite, BrushStyle::Solid);
        r.Rectangle(0.75, 1.0, 1.75, 2.0);
    });
    ASSERT_EQ(report.PageSize(0), QSize(2400, 1800));
    const QPointF origin = report.PageDeviceOrigin(0);
    EXPECT_EQ(origin, QPointF(150, 150));

    const QRect ink = InkBounds(page);
    // Device pixel 300 from the printable corner, i.e. 0.75 inch from the sheet's edge.
    EXPECT_EQ(ink.left() - origin.x(), 300);
    EXPECT_EQ(ink.left(), 450);
    EXPECT_EQ(ink.top() - origin.y(), 450);
    // The right edge is x2's left neighbour, as on the printer.
    EXPECT_EQ(ink.right() + 1 - origin.x(), 600 + 300);
    EXPECT_EQ(ink.bottom() + 1 - origin.y(), 1050);
    // White inside: the outline is one pixel wide.
    EXPECT_FALSE(IsDark(page.pixel(ink.left() + 1, ink.center().y())));
    EXPECT_TRUE(IsDark(page.pixel(ink.left(), ink.center().y())));

    EXPECT_EQ(report.InchRectToDevice(0.75, 1.0, 1.75, 2.0), QRect(300, 450, 600, 600));

    // Without unprintable margins the same rectangle starts at the sheet's pixel 450 too.
    TRecordingReport flush(SmallSheet(600, 0.0));
    const QImage flushPage = RecordOne(flush, [](TReport& r) {
        r.SetPen(clBlack, PenStyle::Solid, 1, PenMode::Copy);
        r.Rectangle(0.75, 1.0, 1.75, 2.0);
    });
    EXPECT_EQ(InkBounds(flushPage).topLeft(), QPoint(450, 600));
}

TEST(RecordingReport, NegativePenWidthIsHundredthsOfAnInchAtLeastOnePixel)
{
    auto lineWidth = [](int dpi, int penWidth) {
        TRecordingReport report(SmallSheet(dpi, 0.0));
        const QImage page = RecordOne(report, [&](TReport& r) {
            r.SetPen(clBlack, PenStyle::Solid, penWidth, PenMode::Copy);
            r.MoveTo(2.0, 0.5);
            r.LineTo(2.0, 2.5);
        });
        const int row = report.DeviceY(1.5);
        return CountMatching(page, IsDark, QRect(0, row, page.width(), 1));
    };
    EXPECT_EQ(lineWidth(300, -1), 3);
    EXPECT_EQ(lineWidth(72, -1), 1);
    EXPECT_EQ(lineWidth(600, -1), 6);
    EXPECT_EQ(lineWidth(300, -10), 30);
    EXPECT_EQ(lineWidth(300, 5), 5); // positive widths are device pixels
    EXPECT_EQ(lineWidth(300, 0), 1);
}

TEST(RecordingReport, ExecuteCallsBothEventsOnceInOrderAndCountsPages)
{
    TRecordingReport report(SmallSheet(100, 0.0));
    std::vector<std::string> calls;
    std::vector<int> pagesSeen;
    report.OnBeforePrint = [&](TReport& r) {
        calls.push_back("before");
        pagesSeen.push_back(r.CurrentPage());
        EXPECT_EQ(&r, &report);
    };
    report.OnPrint = [&](TReport& r) {
        calls.push_back("print");
        r.SetBrush(clBlack, BrushStyle::Solid);
        r.Rectangle(0.5, 0.5, 1.0, 1.0);
        r.NewPage();
        pagesSeen.push_back(r.CurrentPage());
        r.NewPage();
        pagesSeen.push_back(r.CurrentPage());
        r.Rectangle(2.0, 2.0, 2.5, 2.5);
    };
    // Nothing is drawn before the run starts.
    report.Rectangle(0, 0, 4, 3);
    ASSERT_TRUE(report.Execute());
    EXPECT_EQ(calls, (std::vector<std::string> { "before", "print" }));
    EXPECT_EQ(pagesSeen, (std::vector<int> { 1, 2, 3 }));
    ASSERT_EQ(report.PageCount(), 3);
    EXPECT_FALSE(report.Executing());
    EXPECT_FALSE(report.Aborted());

    EXPECT_EQ(InkBounds(report.RenderPage(0)), QRect(50, 50, 50, 50));
    EXPECT_TRUE(InkBounds(report.RenderPage(1)).isNull());
    EXPECT_EQ(InkBounds(report.RenderPage(2)), QRect(200, 200, 50, 50));
    EXPECT_TRUE(report.RenderPage(3).isNull());
    EXPECT_TRUE(report.Page(7).isNull());

    // A second run starts again from page 1 with fresh pages.
    calls.clear();
    report.OnPrint = [&](TReport&) { calls.push_back("print"); };
    ASSERT_TRUE(report.Execute());
    EXPECT_EQ(report.PageCount(), 1);
    EXPECT_EQ(report.CurrentPage(), 1);
    EXPECT_EQ(calls, (std::vector<std::string> { "before", "print" }));
}

TEST(RecordingReport, AbortStopsOutputButPagesStillCount)
{
    TRecordingReport report(SmallSheet(100, 0.0));
    int drawnAfterAbort = 0;
    report.OnPrint = [&](TReport& r) {
        r.SetBrush(clBlack, BrushStyle::Solid);
        r.Rectangle(0.5, 0.5, 1.0, 1.0);
        r.NewPage();
        r.Abort();
        EXPECT_EQ(r.Painter(), nullptr);
        r.Rectangle(0.5, 0.5, 1.0, 1.0); // ignored
        r.PrintText("ignored");
        // A walk that waits for its last page still gets there.
        while (r.CurrentPage() < 4) {
            r.NewPage();
            ++drawnAfterAbort;
        }
    };
    report.Execute();
    EXPECT_TRUE(report.Aborted());
    EXPECT_EQ(report.CurrentPage(), 4);
    EXPECT_EQ(drawnAfterAbort, 2);
    EXPECT_EQ(report.PageCount(), 0); // an aborted recording shows nothing

    report.OnPrint = [](TReport& r) { r.Rectangle(0.5, 0.5, 1.0, 1.0); };
    report.Execute();
    EXPECT_FALSE(report.Aborted());
    EXPECT_EQ(report.PageCount(), 1);
}

TEST(RecordingReport, TextSitsOnTheBaselineAtThePrintersSize)
{
    for (int dpi : { 300, 600 }) {
        SCOPED_TRACE(dpi);
        TRecordingReport report(SmallSheet(dpi, 0.25));
        double widthBefore = 0, cursorAfter = 0;
        const QImage page = RecordOne(report, [&](TReport& r) {
            r.SetFont("Arial", 36);
            r.SetBold(true);
            r.SetFont("Arial", 36); // resets bold, italic, underline and colour
            EXPECT_FALSE(r.CurrentFont().bold());
            EXPECT_DOUBLE_EQ(r.FontHeight(), 0.5);
            r.SetTransparentTextBackground(true);
            r.SetTextCursor(1.0, 1.5);
            r.SetLineTop(1.0);
            widthBefore = r.TextWidth("H");
            r.PrintText("H");
            cursorAfter = r.TextCursorX();
        });
        const QRect ink = InkBounds(page);
        const double origin = report.PageDeviceOrigin(0).y();
        const int baseline = report.DeviceY(1.5) + origin;
        ASSERT_FALSE(ink.isNull());
        EXPECT_GE(ink.bottom(), baseline - 2);
        EXPECT_LE(ink.bottom(), baseline);
        // Capital height of Arial is 0.716 em: 0.358 inch at 36 points.
        const double capHeight = 0.716 * 0.5 * dpi;
        EXPECT_NEAR(ink.height(), capHeight, capHeight * 0.05);
        EXPECT_NEAR(ink.left(), report.DeviceX(1.0) + report.PageDeviceOrigin(0).x(), 0.05 * dpi);
        // The cursor moves on by the text's width (0.722 em for "H").
        EXPECT_NEAR(cursorAfter - 1.0, 0.361, 0.02);
        EXPECT_NEAR(widthBefore, cursorAfter - 1.0, 1e-9);
    }
}

TEST(RecordingReport, OpaqueTextFillsItsCellTransparentDoesNot)
{
    auto cellPixels = [](bool transparent, BrushStyle brushStyle = BrushStyle::Solid) {
        TRecordingReport report(SmallSheet(100, 0.0));
        const QImage page = RecordOne(report, [&](TReport& r) {
            r.SetBrush(clRed, brushStyle);
            r.SetFont("Arial", 36);
            r.SetFontColor(clBlack);
            r.SetTransparentTextBackground(transparent);
            r.SetTextCursor(1.0, 1.5);
            r.PrintText("x");
        });
        return CountMatching(page, IsRed);
    };
    EXPECT_EQ(cellPixels(true), 0);
    EXPECT_GT(cellPixels(false), 200);
    EXPECT_EQ(cellPixels(false, BrushStyle::Clear), 0); // only a solid brush makes text cells opaque
}

TEST(RecordingReport, PathOfTextClipsFillsToTheLetters)
{
    TRecordingReport plainReport(SmallSheet(300, 0.0));
    const QImage plain = RecordOne(plainReport, [](TReport& r) {
        r.SetFont("Arial", 36);
        r.SetTextCursor(1.0, 1.5);
        r.PrintText("H");
    });
    const QRect letter = InkBounds(plain);

    TRecordingReport report(SmallSheet(300, 0.0));
    const QImage page = RecordOne(report, [](TReport& r) {
        r.SetFont("Arial", 36);
        r.SetTransparentTextBackground(true);
        r.BeginPath();
        r.SetTextCursor(1.0, 1.5);
        r.PrintText("H");
        r.EndPath();
        r.ClipToPath();
        r.SetBrush(clRed, BrushStyle::Solid);
        r.FillDeviceRect(0, 0, 1200, 900);
        r.RemoveClip();
        r.FillDeviceRect(900, 600, 1000, 700); // unclipped again
    });
    EXPECT_EQ(CountMatching(page, IsDark), 0); // the path itself is not drawn
    const QRect filled = InkBounds(page, IsRed, QRect(0, 0, 800, 900));
    // Same size and place as the printed letter: the path's font is sized for the page.
    EXPECT_NEAR(filled.top(), letter.top(), 2);
    EXPECT_NEAR(filled.bottom(), letter.bottom(), 2);
    EXPECT_NEAR(filled.left(), letter.left(), 2);
    EXPECT_NEAR(filled.right(), letter.right(), 2);
    // Between the legs of the H nothing is filled.
    EXPECT_FALSE(IsRed(page.pixel(letter.center().x(), letter.top() + 5)));
    EXPECT_EQ(CountMatching(page, IsRed, QRect(900, 600, 100, 100)), 100 * 100);
}

TEST(RecordingReport, StrokePathOutlinesWithTheCurrentPen)
{
    TRecordingReport report(SmallSheet(100, 0.0));
    const QImage page = RecordOne(report, [](TReport& r) {
        r.SetBrush(clBlack, BrushStyle::Solid);
        r.BeginPath();
        r.Rectangle(1.0, 1.0, 2.0, 2.0); // part of the path, not drawn
        r.EndPath();
        r.SetPen(clBlack, PenStyle::Solid, 1, PenMode::Copy);
        r.StrokePath();
        r.StrokePath(); // the path is used up
    });
    EXPECT_EQ(InkBounds(page), QRect(100, 100, 100, 100));
    EXPECT_FALSE(IsDark(page.pixel(150, 150)));
}

TEST(RecordingReport, ClipRegionsOfFiguresSuppressDrawingOutside)
{
    TRecordingReport report(SmallSheet(100, 0.25));
    const QImage page = RecordOne(report, [](TReport& r) {
        r.SetBrush(clRed, BrushStyle::Solid);
        r.SelectClipRegion(r.EllipseRegion(1.0, 1.0, 2.0, 2.0));
        r.FillDeviceRect(QRect(0, 0, 400, 300));
        r.SelectClipRegion(r.PolygonRegion(QPolygon({ QPoint(250, 25), QPoint(350, 25), QPoint(250, 125) })));
        r.FillDeviceRect(QRect(0, 0, 400, 300));
        r.RemoveClip();
        r.SelectClipRegion(r.RoundRectRegion(0.5, 2.0, 1.5, 2.75, 0.5, 0.5));
        r.FillDeviceRect(QRect(0, 0, 400, 300));
        r.RemoveClip();
    });
    // Ellipse in device pixels 75..175, on the sheet 100..200.
    EXPECT_EQ(InkBounds(page, IsRed, QRect(0, 0, 250, 200)), QRect(100, 100, 100, 100));
    EXPECT_TRUE(IsRed(page.pixel(150, 150)));
    EXPECT_FALSE(IsRed(page.pixel(103, 103))); // corner of the box, outside the ellipse
    // Triangle: its lower right half is empty.
    EXPECT_TRUE(IsRed(page.pixel(280, 60)));
    EXPECT_FALSE(IsRed(page.pixel(360, 140)));
    // Rounded rectangle: corners cut.
    EXPECT_TRUE(IsRed(page.pixel(100, 237)));
    EXPECT_FALSE(IsRed(page.pixel(51, 201)));
    EXPECT_EQ(CountMatching(page, IsRed, QRect(0, 280, 400, 20)), 0);
}

TEST(RecordingReport, FiguresUsePenAndBrushPolygonsFillByWinding)
{
    TRecordingReport report(SmallSheet(100, 0.0));
    const QImage page = RecordOne(report, [](TReport& r) {
        r.SetPen(clBlack, PenStyle::Solid, 1, PenMode::Copy);
        r.SetBrush(clRed, BrushStyle::Solid);
        r.Ellipse(0.5, 0.5, 1.5, 1.5);
        r.SetBrush(clRed, BrushStyle::Clear);
        r.RoundRect(2.0, 0.5, 3.0, 1.5, 0.4, 0.4);
        r.SetBrush(clRed, BrushStyle::Solid);
        // A five-pointed star drawn in one stroke: its centre is inside only by winding.
        r.Polygon(QPolygon({ QPoint(250, 160), QPoint(310, 290), QPoint(190, 210), QPoint(310, 210), QPoint(190, 290) }));
        r.SetPen(clBlack, PenStyle::Solid, 1, PenMode::Nop);
        r.Rectangle(0.2, 2.0, 1.5, 2.8); // draws nothing
    });
    EXPECT_EQ(InkBounds(page, IsDark, QRect(0, 0, 190, 160)), QRect(50, 50, 100, 100));
    EXPECT_TRUE(IsRed(page.pixel(100, 100)));
    EXPECT_FALSE(IsRed(page.pixel(250, 100))); // clear brush
    EXPECT_TRUE(IsDark(page.pixel(250, 50)));
    EXPECT_FALSE(IsDark(page.pixel(201, 51))); // rounded corner
    EXPECT_TRUE(IsRed(page.pixel(250, 230)));  // the star's centre
    EXPECT_EQ(CountMatching(page, IsDark, QRect(10, 190, 150, 100)), 0);
}

TEST(RecordingReport, BitmapsAndPicturesFillTheirRectangles)
{
    QImage twoColours(2, 1, QImage::Format_RGB32);
    twoColours.setPixel(0, 0, qRgb(255, 0, 0));
    twoColours.setPixel(1, 0, qRgb(0, 0, 255));
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 50, 50), Qt::red);
        p.fillRect(QRect(50, 0, 50, 50), Qt::black);
    }
    auto isBlue = [](QRgb c) { return qBlue(c) > 180 && qRed(c) < 90; };

    TRecordingReport report(SmallSheet(100, 0.5));
    const QImage page = RecordOne(report, [&](TReport& r) {
        r.StretchDrawBitmap(1.0, 1.0, 2.0, 1.5, twoColours);
        r.StretchDrawBitmap(3.0, 1.0, 2.0, 1.5, twoColours); // mirrored
        r.StretchDrawGraphic(r.InchRectToDevice(1.0, 2.0, 3.0, 2.5), picture, QRectF(0, 0, 100, 50));
    });
    EXPECT_EQ(InkBounds(page, IsRed, QRect(0, 0, 200, 190)), QRect(100, 100, 50, 50));
    EXPECT_EQ(InkBounds(page, isBlue, QRect(0, 0, 200, 190)), QRect(150, 100, 50, 50));
    EXPECT_EQ(InkBounds(page, isBlue, QRect(200, 0, 200, 190)), QRect(200, 100, 50, 50));
    EXPECT_EQ(InkBounds(page, IsRed, QRect(0, 190, 400, 110)), QRect(100, 200, 100, 50));
    EXPECT_EQ(InkBounds(page, IsDark, QRect(0, 190, 400, 110)), QRect(200, 200, 100, 50));
}

TEST(RecordingReport, PaperCodesAndOrientationShapeThePage)
{
    TRecordingReport report(SmallSheet(100, 0.0));
    EXPECT_TRUE(report.SelectPaper(1));
    EXPECT_EQ(report.Metrics().PaperPixels(), QSize(850, 1100));
    EXPECT_TRUE(report.SelectPaper(9));
    EXPECT_EQ(report.Metrics().PaperPixels(), QSize(826, 1169)); // 595 x 842 points
    EXPECT_FALSE(report.SelectPaper(-5));
    EXPECT_FALSE(report.SelectPaper(100000));
    EXPECT_EQ(report.Metrics().PaperPixels(), QSize(826, 1169));
    report.SetOrientation(PageOrientation::Landscape);
    EXPECT_EQ(report.Metrics().PaperPixels(), QSize(1169, 826));
    report.SetOrientation(PageOrientation::Portrait);
    report.OnPrint = [](TReport&) {};
    report.Execute();
    EXPECT_EQ(report.RenderPage(0, 0.5).size(), QSize(413, 584)); // halves to even
}

TEST(RecordingReport, AbsurdValuesDoNotBreakTheRun)
{
    TPageMetrics broken;
    broken.paperInches = QSizeF(std::nan(""), -3);
    broken.xDpi = 0;
    broken.yDpi = -600;
    TRecordingReport report(broken);
    EXPECT_GE(report.XDpi(), 1);
    EXPECT_TRUE(report.Metrics().paperInches.width() >= 0);
    report.SetPageMetrics(SmallSheet(100, 0.0));
    report.OnPrint = [](TReport& r) {
        r.SetPen(clBlack, PenStyle::Solid, INT_MIN, PenMode::Copy);
        r.SetFont("Arial", std::nan(""));
        r.Rectangle(-1e300, 1e300, std::nan(""), 2);
        r.RoundRect(0, 0, 1, 1, 1e300, -1e300);
        r.SetTextCursor(1e200, -1e200);
        r.PrintText("x");
        r.StretchDrawBitmap(0, 0, 1e300, 1, QImage(2, 2, QImage::Format_RGB32));
        r.FillDeviceRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        r.SelectClipRegion(r.EllipseRegion(-1e300, -1e300, 1e300, 1e300));
    };
    EXPECT_TRUE(report.Execute());
    EXPECT_EQ(report.PageCount(), 1);
    EXPECT_GE(report.PenWidthPixels(INT_MIN), 1);
    EXPECT_TRUE(report.RenderPage(0, 1e9).isNull());
    EXPECT_TRUE(report.RenderPage(0, -1).isNull());
    EXPECT_FALSE(report.SelectPaper(0, 1000000, 1000000));
}
