#include "objects/multiline_label.h"
#include "report/printer_report.h"
#include "report/recording_report.h"
#include "pdf_text.h"
#include "support/pixel_bounds.h"
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

bool IsDark(QRgb c) { return qGray(c) < 128; }

// Bounds of the dark pixels (null when there are none).
QRect Ink(const QImage& image, QRect area = QRect()) { return cardora::test::MatchBounds(image, IsDark, area); }

// One page of 4 by 3 inches at 300 dpi without unprintable margins: inch x lies at pixel 300 x.
QImage PrintPage(TQGraphicControl& label, double x, double y)
{
    TPageMetrics m;
    m.paperInches = QSizeF(4.0, 3.0);
    m.xDpi = m.yDpi = 300;
    TRecordingReport report(m);
    report.OnPrint = [&](TReport& r) { label.PrintAt(r, x, y); };
    EXPECT_TRUE(report.Execute());
    EXPECT_EQ(report.PageCount(), 1);
    return report.RenderPage(0);
}

QImage Screen(TQGraphicControl& label)
{
    QImage image(label.Width(), label.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    label.PaintTo(p, 0, 0);
    return image;
}

} // namespace

TEST(MultiLinePrint, LinesLandInTheCardRectangleAtPrinterScale)
{
    TQMultiLineLabel l;
    // 96 x 48 pixels at (48, 24): (1.0, 0.5) to (2.0, 1.0) inch on a card at (0.5, 0.25).
    l.SetBounds(48, 24, 96, 48);
    l.SetItems({ "Top line", "Second", "A third line far too long for the box" });
    const double scale = 300.0 / 96.0;
    const QImage screen = Screen(l);
    const QImage page = PrintPage(l, 0.5, 0.25);

    // Nothing outside the card rectangle: the third line is clipped at the box.
    const QRect box(300, 150, 300, 150);
    const QRect ink = Ink(page);
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(box.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();

    // Each line where the screen shows it, scaled from 96 to 300 pixels per inch.
    const int lh = l.LineHeight();
    for (int line = 0; line < 3; ++line) {
        const QRect s = Ink(screen, QRect(0, line * lh, 96, lh));
        const QRect p = Ink(page, QRect(300, 150 + int(line * lh * scale), 300, int(lh * scale)));
        ASSERT_FALSE(s.isNull()) << line;
        ASSERT_FALSE(p.isNull()) << line;
        EXPECT_NEAR(p.left(), 300 + s.left() * scale, 4) << line;
        EXPECT_NEAR(p.top(), 150 + s.top() * scale, 4) << line;
        EXPECT_NEAR(p.height(), s.height() * scale, 5) << line;
    }
    // The third line runs to the box's edge.
    EXPECT_GE(ink.right(), 595);

    // Wrapped lines print as wrapped; an empty label prints its "<blank>".
    l.SetWordWrap(true);
    const QImage wrapped = PrintPage(l, 0.5, 0.25);
    EXPECT_NE(wrapped, page);
    EXPECT_LT(Ink(wrapped).right(), 595);
    l.SetItems({});
    EXPECT_FALSE(Ink(PrintPage(l, 0.5, 0.25)).isNull());
}

TEST(MultiLinePrint, PictureHoldsTextNotPixels)
{
    TQMultiLineLabel l;
    l.SetBounds(0, 0, 200, 40);
    l.SetItems({ "Cardora Printing", "Second Row" });
    const std::unique_ptr<QPicture> picture = l.MakeMetafile();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->boundingRect(), QRect(0, 0, 200, 40));

    const QString text = cardora::test::PrintedPdfText([&](TReport& r) { l.PrintAt(r, 1.0, 1.0); });
    EXPECT_TRUE(text.contains("Cardora Printing")) << text.toStdString();
    EXPECT_TRUE(text.contains("Second Row")) << text.toStdString();
}
