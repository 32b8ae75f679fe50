#include "core/rounding.h"
#include "objects/line_shape.h"
#include "objects/shapes.h"
#include "report/recording_report.h"
#include "shapes_helpers.h"
#include <gtest/gtest.h>
#include <functional>

using namespace cardora;
using namespace cardora::test;

namespace {

// One page, 4 by 3 inches at 300 dpi without unprintable margins, so that
// device pixels are sheet pixels: inch x lies at pixel 300 x.
QImage PrintPage(const std::function<void(TReport&)>& draw)
{
    TPageMetrics m;
    m.paperInches = QSizeF(4.0, 3.0);
    m.xDpi = m.yDpi = 300;
    TRecordingReport report(m);
    report.OnPrint = draw;
    EXPECT_TRUE(report.Execute());
    EXPECT_EQ(report.PageCount(), 1);
    return report.RenderPage(0);
}

bool IsDark(QRgb c) { return qGray(c) < 128; }

// How many dark pixels the row (or column) holds between from and to.
int DarkInRow(const QImage& page, int y, int from, int to) { return CountIn(page, IsDark, QRect(from, y, to - from, 1)); }
int DarkInColumn(const QImage& page, int x, int from, int to)
{
    return CountIn(page, IsDark, QRect(x, from, 1, to - from));
}

// Steps along the diagonal from (x, y) towards the inside; the first dark pixel's step.
int FirstDarkOnDiagonal(const QImage& page, int x, int y)
{
    for (int k = 0; k < 200; ++k)
        if (IsDark(page.pixel(x + k, y + k)))
            return k;
    return -1;
}

} // namespace

TEST(ShapesPrint, RectanglesLandInsideTheirBoxWithPensAsWideAsOnScreen)
{
    // Box 96 x 48 at (48, 24) on a card whose corner is at (0.5, 0.25) inch:
    // (1.0, 0.5) to (2.0, 1.0) inch at 96 pixels per inch, 300 to 600 and
    // 150 to 300 device pixels.
    TQLabelShapes s;
    s.SetBounds(48, 24, 96, 48);
    s.Pen()->SetWidth(3);
    s.Brush()->SetColor(clYellow);
    QImage page = PrintPage([&](TReport& r) { s.PrintAtResolution(r, 0.5, 0.25, 96); });
    // A 3-pixel pen is 3/96 inch, 9 device pixels, inside the box as on screen.
    EXPECT_NEAR(DarkInRow(page, 225, 250, 350), 9, 1);
    EXPECT_NEAR(DarkInRow(page, 225, 550, 650), 9, 1);
    EXPECT_NEAR(DarkInColumn(page, 450, 100, 200), 9, 1);
    const QRect ink = MatchBounds(page, IsDark);
    EXPECT_NEAR(ink.left(), 300, 1);
    EXPECT_NEAR(ink.top(), 150, 1);
    EXPECT_NEAR(ink.right(), 599, 1);
    EXPECT_NEAR(ink.bottom(), 299, 1);
    EXPECT_EQ(page.pixel(450, 225), qRgb(255, 255, 0));

    // At 120 pixels per inch the box starts at 0.5 + 48/120 = 0.9 inch and the
    // pen is 3/120 inch: 7.5 device pixels.
    page = PrintPage([&](TReport& r) { s.PrintAtResolution(r, 0.5, 0.25, 120); });
    EXPECT_NEAR(DarkInRow(page, 200, 200, 320), 8, 1);
    EXPECT_NEAR(MatchBounds(page, IsDark).left(), 270, 1);

    // A wide pen stays inside the box too.
    s.Pen()->SetWidth(12);
    page = PrintPage([&](TReport& r) { s.PrintAtResolution(r, 0.5, 0.25, 96); });
    EXPECT_NEAR(DarkInRow(page, 225, 250, 350), 37, 2);
    EXPECT_NEAR(MatchBounds(page, IsDark).left(), 300, 1);
    EXPECT_NEAR(MatchBounds(page, IsDark).bottom(), 299, 1);
    s.Pen()->SetWidth(3);

    // The screen's resolution (96 here) is what PrintAt uses.
    const QImage viaScreen = PrintPage([&](TReport& r) { s.PrintAt(r, 0.5, 0.25); });
    EXPECT_EQ(viaScreen, PrintPage([&](TReport& r) { s.PrintAtResolution(r, 0.5, 0.25, 96); }));

    // A transparent shape prints its outline only; an ellipse leaves the corners empty.
    s.SetTransparent(true);
    s.SetShape(ShapeType::Ellipse);
    page = PrintPage([&](TReport& r) { s.PrintAtResolution(r, 0.5, 0.25, 96); });
    EXPECT_EQ(page.pixel(450, 225), qRgb(255, 255, 255));
    EXPECT_EQ(CountIn(page, IsDark, QRect(296, 146, 20, 20)), 0);
    EXPECT_NEAR(MatchBounds(page, IsDark).left(), 300, 1);
    EXPECT_NEAR(MatchBounds(page, IsDark).bottom(), 299, 1);
}

TEST(ShapesPrint, RoundedCornersArePercentOfTheLongerSide)
{
    // 200 x 100 at 25 %: corners 0.25 * 200/96 = 0.5208 inch, 156 device
    // pixels wide; a quarter circle of radius 78 sits 0.29 * 78 = 23 pixels
    // inside the corner along the diagonal.
    for (QSize box : { QSize(200, 100), QSize(100, 200) }) {
        TQLabelShapes s;
        s.SetShape(ShapeType::RoundRect);
        s.SetBounds(0, 0, box.width(), box.height());
        s.SetTransparent(true);
        const QImage page = PrintPage([&](TReport& r) { s.PrintAtResolution(r, 0.5, 0.5, 96); });
        // Pen 1 at 96 ppi: 1 hundredth, 3 pixels centred on the outline.
        const int k = FirstDarkOnDiagonal(page, 150, 150);
        EXPECT_NEAR(k, 23 - 1, 2) << box.width();
        // Straight edges start 78 pixels from the corner; the pen lies inside
        // the box, its middle half a screen pixel in.
        const int edge = box.width() > box.height() ? DarkInRow(page, 152, 140, 800) : DarkInColumn(page, 152, 140, 800);
        const int longSide = Round(std::max(box.width(), box.height()) / 96.0 * 300);
        EXPECT_NEAR(edge, longSide - 2 * 78, 30) << box.width();
    }
    // A plain rectangle is inked from its corner (to a device pixel).
    TQLabelShapes plain;
    plain.SetBounds(0, 0, 200, 100);
    const QImage page = PrintPage([&](TReport& r) { plain.PrintAtResolution(r, 0.5, 0.5, 96); });
    EXPECT_LE(FirstDarkOnDiagonal(page, 150, 150), 1);
}

TEST(ShapesPrint, LineEndpointsAndWidthsForEveryStyle)
{
    // Box 96 x 48 at (48, 24), card corner (0.5, 0.25): x1 = 1.0, x2 = 2.0 inch.
    TQLineShape l;
    l.SetBounds(48, 24, 96, 48);
    l.Pen()->SetWidth(3);
    auto print = [&](int ppi) { return PrintPage([&](TReport& r) { l.PrintAtResolution(r, 0.5, 0.25, ppi); }); };

    // Horizontal, pen 3: the line the panel draws, its middle 1.5 screen
    // pixels below the box top (pixel 155), 3/96 inch (9 pixels) wide, its
    // round ends reaching the box's sides.
    QImage page = print(96);
    QRect across = MatchBounds(page, IsDark, QRect(450, 0, 1, page.height()));
    EXPECT_NEAR(across.height(), 9, 1);
    EXPECT_NEAR(across.center().y(), 155, 1);
    QRect ink = MatchBounds(page, IsDark);
    EXPECT_NEAR(ink.left(), 300, 2);
    EXPECT_NEAR(ink.right(), 600, 3);
    // The pen is a size on the card: 3/120 inch at 120 pixels per inch.
    page = print(120);
    EXPECT_NEAR(MatchBounds(page, IsDark, QRect(450, 0, 1, page.height())).height(), 8, 1);

    // Vertical: as the panel draws it, 1.5 screen pixels in from the left, from the box top to its bottom.
    l.SetLineStyle(LineStyle::Vertical);
    page = print(96);
    ink = MatchBounds(page, IsDark);
    EXPECT_NEAR(ink.center().x(), 305, 1);
    EXPECT_NEAR(ink.width(), 9, 1);
    EXPECT_NEAR(ink.top(), 150, 2);
    EXPECT_NEAR(ink.bottom(), Round((0.25 + 72 / 96.0) * 300), 3);

    // Diagonals, pen 1 (3 pixels): between the box's corners.
    l.Pen()->SetWidth(1);
    l.SetLineStyle(LineStyle::AngleSlopingUp);
    page = print(96);
    EXPECT_GT(CountIn(page, IsDark, QRect(298, 297, 5, 5)), 0);  // (x1, y2)
    EXPECT_GT(CountIn(page, IsDark, QRect(598, 147, 5, 5)), 0);  // (x2, y1)
    EXPECT_EQ(CountIn(page, IsDark, QRect(290, 140, 20, 20)), 0); // (x1, y1) empty
    EXPECT_EQ(CountIn(page, IsDark, QRect(590, 290, 20, 20)), 0); // (x2, y2) empty
    l.SetLineStyle(LineStyle::AngleSlopingDown);
    page = print(96);
    EXPECT_GT(CountIn(page, IsDark, QRect(298, 147, 5, 5)), 0);
    EXPECT_GT(CountIn(page, IsDark, QRect(598, 297, 5, 5)), 0);
    EXPECT_EQ(CountIn(page, IsDark, QRect(290, 290, 20, 20)), 0);
    EXPECT_EQ(CountIn(page, IsDark, QRect(590, 140, 20, 20)), 0);

    // A width from a damaged file prints without trouble.
    l.Pen()->SetWidth(-40);
    page = print(96);
    EXPECT_GT(CountIn(page, IsDark, QRect(298, 147, 5, 5)), 0);
}
