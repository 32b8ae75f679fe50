// The print shop's PDF: page boxes as pdfinfo reads them, fonts embedded,
// pictures lossless, art crossing the card's edge printed into the bleed
// (and cut at the card on an office sheet), crop marks outside the bleed.
#include "shop_card.h"
#include "printing/batch_print.h"
#include "printing/print_shop.h"
#include "support/pdf_info.h"
#include "objects/pictures/image_object.h"
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

constexpr double kMm = 25.4;
// pdfinfo prints points to two places: 0.0035 mm, well inside 0.01 mm.
constexpr double kWithin = 0.01;

TEST(PrintShopLengths, TypedWithTheirUnits)
{
    struct Case {
        const char* text;
        std::optional<double> inches;
    };
    const Case cases[] = {
        { "3mm", 3 / kMm }, { "3 mm", 3 / kMm }, { "3.175MM", 0.125 }, { "0.125in", 0.125 }, { "1/8in", 0.125 },
        { "1/8 in", 0.125 }, { ".1in", 0.1 }, { "0mm", 0.0 }, { "6mm", 6 / kMm }, { "2\"", 2.0 },
        { "3", std::nullopt }, { "mm", std::nullopt }, { "-1mm", std::nullopt }, { "3cm", std::nullopt },
        { "1/0in", std::nullopt }, { "", std::nullopt }, { "3mm3", std::nullopt }, { "nan mm", std::nullopt },
    };
    for (const Case& c : cases) {
        const auto got = ParseLengthInches(c.text);
        ASSERT_EQ(got.has_value(), c.inches.has_value()) << c.text;
        if (got)
            EXPECT_NEAR(*got, *c.inches, 1e-9) << c.text;
    }
}

struct BoxCase {
    const char* name;
    QSizeF card; // inches
    double bleed; // inches
    bool marks;
};

class ShopPdfBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ShopPdfBoxes, TrimIsTheCardBleedIsTheCardAndItsBleed)
{
    const BoxCase c = GetParam();
    QTemporaryDir dir;
    ShopCard card(c.card);
    AddKind(card.owner, card.panel, "TQBusinessCardLabel", QRect(20, 20, 150, 24), "Jane Example");
    TShopPdfOptions o;
    o.CardInches = c.card;
    o.BleedInches = c.bleed;
    o.CropMarks = c.marks;
    const QString pdf = dir.filePath("card.pdf");
    ASSERT_EQ(WriteShopPdf(card.panel, o, pdf), QString());
    const auto boxes = PdfBoxesMm(pdf);
    ASSERT_TRUE(boxes.contains("TrimBox") && boxes.contains("BleedBox") && boxes.contains("MediaBox")) << c.name;
    const QRectF trim = boxes["TrimBox"], bleed = boxes["BleedBox"], media = boxes["MediaBox"];
    const double w = c.card.width() * kMm, h = c.card.height() * kMm, b = c.bleed * kMm;
    const double margin = TShopCropMarks::Margin(c.bleed, c.marks) * kMm;
    EXPECT_NEAR(trim.width(), w, kWithin) << c.name;
    EXPECT_NEAR(trim.height(), h, kWithin) << c.name;
    EXPECT_NEAR(bleed.left(), trim.left() - b, kWithin) << c.name;
    EXPECT_NEAR(bleed.top(), trim.top() - b, kWithin) << c.name; // the bottom in PDF terms
    EXPECT_NEAR(bleed.width(), w + 2 * b, kWithin) << c.name;
    EXPECT_NEAR(bleed.height(), h + 2 * b, kWithin) << c.name;
    EXPECT_NEAR(media.left(), 0.0, kWithin) << c.name << ": the page's corner is the origin";
    EXPECT_NEAR(media.top(), 0.0, kWithin) << c.name << ": the page's corner is the origin";
    EXPECT_NEAR(media.width(), w + 2 * margin, kWithin) << c.name;
    EXPECT_NEAR(media.height(), h + 2 * margin, kWithin) << c.name;
    EXPECT_NEAR(trim.left() - media.left(), margin, kWithin) << c.name;
    EXPECT_NEAR(trim.top() - media.top(), margin, kWithin) << c.name;
    // One card, one page.
    EXPECT_TRUE(RunTool("pdfinfo", { pdf }).contains(QRegularExpression("Pages:\\s+1\\n"))) << c.name;
}

INSTANTIATE_TEST_SUITE_P(UsAndEuCards, ShopPdfBoxes,
    ::testing::Values(BoxCase { "us-eighth", QSizeF(3.5, 2.0), 0.125, false },
        BoxCase { "us-3mm-marks", QSizeF(3.5, 2.0), 3 / kMm, true },
        BoxCase { "eu-3mm", QSizeF(85 / kMm, 55 / kMm), 3 / kMm, false },
        BoxCase { "eu-eighth-marks", QSizeF(85 / kMm, 55 / kMm), 0.125, true },
        BoxCase { "eu-none", QSizeF(85 / kMm, 55 / kMm), 0.0, false },
        BoxCase { "us-6mm", QSizeF(3.5, 2.0), 6 / kMm, false },
        BoxCase { "us-upright-marks-no-bleed", QSizeF(2.0, 3.5), 0.0, true }),
    [](const auto& info) {
        QString n = info.param.name;
        return n.replace('-', '_').toStdString();
    });

TEST(ShopPdf, EveryFontIsEmbedded)
{
    QTemporaryDir dir;
    ShopCard card;
    int y = 4;
    for (const char* font : { "Arial", "Times New Roman", "Courier New" })
        AddKind(card.owner, card.panel, "TQBusinessCardLabel", QRect(20, (y += 26), 200, 24), font,
            [&](TQGraphicControl& o) { SetProperty(o, "Font.Name", QString(font)); });
    AddKind(card.owner, card.panel, "TQSymbolLabel", QRect(250, 20, 30, 30), "(");
    AddKind(card.owner, card.panel, "TQPRichBaseLabel", QRect(20, 120, 200, 30), "www.example.com");
    AddKind(card.owner, card.panel, "TQPCircleText", QRect(230, 90, 90, 90), "QUALITY SINCE 1999");
    AddKind(card.owner, card.panel, "TQSuperText", QRect(20, 150, 200, 34), "Acme");
    TShopPdfOptions o;
    o.BleedInches = 0.125;
    const QString pdf = dir.filePath("fonts.pdf");
    ASSERT_EQ(WriteShopPdf(card.panel, o, pdf), QString());
    const auto fonts = PdfFontsEmbedded(pdf);
    ASSERT_GE(fonts.size(), 3) << "pdffonts found too few fonts";
    for (auto it = fonts.begin(); it != fonts.end(); ++it)
        EXPECT_TRUE(it.value()) << it.key().toStdString() << " is not embedded";
}

TEST(ShopPdf, PicturesAreLossless)
{
    QTemporaryDir dir;
    ShopCard card;
    int x = 10;
    for (const char* format : { "jpeg", "bmp", "png" }) {
        AddKind(card.owner, card.panel, "TQImage", QRect(x, 40, 96, 64), QString(), [&](TQGraphicControl& o) {
            QImage img(40, 30, QImage::Format_RGB32);
            for (int py = 0; py < 30; ++py)
                for (int px = 0; px < 40; ++px)
                    img.setPixel(px, py, (px / 5 + py / 5) % 2 ? qRgb(200, 30, 40) : qRgb(30, 90, 200));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter(&buffer, format).write(img);
            TPicture picture;
            picture.LoadFromBytes(bytes, QString("logo.") + (QByteArray(format) == "jpeg" ? "jpg" : format));
            static_cast<TQImage&>(o).SetPicture(picture);
            SetProperty(o, "Stretch", 1);
        });
        x += 106;
    }
    TShopPdfOptions o;
    o.BleedInches = 3 / kMm;
    const QString pdf = dir.filePath("pictures.pdf");
    ASSERT_EQ(WriteShopPdf(card.panel, o, pdf), QString());
    const QString list = RunTool("pdfimages", { "-list", pdf });
    const QStringList rows = list.split('\n').mid(2);
    int images = 0;
    for (const QString& row : rows) {
        const QStringList f = row.simplified().split(' ');
        if (f.size() < 10 || f[2] != "image")
            continue;
        ++images;
        EXPECT_EQ(f[8], "image") << "not losslessly compressed: " << row.toStdString();
    }
    EXPECT_GE(images, 3);
}

// A band from edge to edge, past the card by the bleed: the shop PDF shows
// it all the way into the bleed; an office sheet cuts it at each card.
TEST(ShopPdf, ArtCrossingTheEdgeFillsTheBleedAndIsCutOnTheOfficeSheet)
{
    QTemporaryDir dir;
    for (const double bleed : { 3 / kMm, 0.125, 6 / kMm }) {
        ShopCard card;
        const int b = int(std::ceil(bleed * 96));
        auto band = [](TQGraphicControl& o) {
            SetProperty(o, "Shape", "stRectangle");
            SetProperty(o, "Brush.Color", 0x0000E0);
            SetProperty(o, "Pen.Color", 0x0000E0);
        };
        // A gradient band over the top edge, under the others: its surface
        // covers the bleed too.
        AddKind(card.owner, card.panel, "TSuperShape", QRect(-b, -b, card.W() + 2 * b, 30 + b), QString(),
            [](TQGraphicControl& o) {
                SetProperty(o, "Shape", "qstRectangle");
                SetProperty(o, "SurfaceType", "stGradientFill");
                SetProperty(o, "BackColor", 0x804000);
                SetProperty(o, "GradientToColor", 0x804000);
                SetProperty(o, "ShadowOrient", "soNone");
            });
        // Across the card, and from top to bottom.
        AddKind(card.owner, card.panel, "TBCShapes", QRect(-b, 80, card.W() + 2 * b, 32), QString(), band);
        AddKind(card.owner, card.panel, "TBCShapes", QRect(150, -b, 24, card.H() + 2 * b), QString(), band);
        TShopPdfOptions o;
        o.BleedInches = bleed;
        const QString pdf = dir.filePath("band.pdf");
        ASSERT_EQ(WriteShopPdf(card.panel, o, pdf), QString());
        constexpr int dpi = 200;
        const QImage page = PdfPage(pdf, dpi);
        ASSERT_FALSE(page.isNull());
        const double m = bleed; // the card's corner on the page
        auto at = [&](double xIn, double yIn) {
            return page.pixel(int(std::lround((m + xIn) * dpi)), int(std::lround((m + yIn) * dpi)));
        };
        const double half = bleed / 2, bandY = 96 / 96.0, colX = 162 / 96.0;
        const QString what = LengthText(bleed);
        EXPECT_TRUE(Reddish(at(-half, bandY))) << what.toStdString() << ": left bleed";
        EXPECT_TRUE(Reddish(at(3.5 + half, bandY))) << what.toStdString() << ": right bleed";
        EXPECT_TRUE(Reddish(at(colX, -half))) << what.toStdString() << ": top bleed";
        EXPECT_TRUE(Reddish(at(colX, 2.0 + half))) << what.toStdString() << ": bottom bleed";
        EXPECT_TRUE(Whitish(at(-half, 0.4))) << what.toStdString() << ": bleed beside no art";
        const QRgb gradient = at(-half, -half);
        EXPECT_TRUE(qBlue(gradient) > 100 && qRed(gradient) < 40) << what.toStdString() << ": the gradient in the corner's bleed is "
                                                                  << QColor(gradient).name().toStdString();
        EXPECT_EQ(at(-half, 0.15), at(1.0, 0.15)) << what.toStdString() << ": the gradient's colour runs on into the bleed";
        EXPECT_TRUE(Reddish(at(1.0, bandY))) << what.toStdString() << ": on the card";

        // The office sheet: the default layout, cards at (0.75, 0.5) and (4.25, 0.5).
        TBatchPrintOptions sheet;
        sheet.Output = dir.filePath("sheet.pdf");
        sheet.Dpi = 300;
        ASSERT_EQ(RunBatchPrint(card.panel, QString(), TCardLayout(), TPrinterNudges(), sheet), QString());
        const QImage paper = PdfPage(sheet.Output, dpi);
        ASSERT_FALSE(paper.isNull());
        auto onSheet = [&](double x, double y) { return paper.pixel(int(std::lround(x * dpi)), int(std::lround(y * dpi))); };
        EXPECT_TRUE(Reddish(onSheet(0.75 + 0.03, 0.5 + bandY))) << what.toStdString() << ": sheet, inside the card";
        EXPECT_TRUE(Whitish(onSheet(0.75 - half, 0.5 + bandY))) << what.toStdString() << ": sheet, left of the card";
        EXPECT_TRUE(Whitish(onSheet(0.75 + colX, 0.5 - half))) << what.toStdString() << ": sheet, above the card";
        EXPECT_TRUE(Whitish(onSheet(7.75 + half, 0.5 + bandY))) << what.toStdString() << ": sheet, right of the card";
    }
}

TEST(ShopPdf, CropMarksLieOutsideTheBleedOnTheTrimLines)
{
    for (const double bleed : { 0.0, 3 / kMm, 0.125 }) {
        const QPointF corner(TShopCropMarks::Margin(bleed, true), TShopCropMarks::Margin(bleed, true));
        const QSizeF card(3.5, 2.0);
        const QRectF trim(corner, card);
        const QRectF bleedBox = trim.adjusted(-bleed, -bleed, bleed, bleed);
        const QRectF page(0, 0, card.width() + 2 * corner.x(), card.height() + 2 * corner.y());
        const auto marks = TShopCropMarks::ForCard(corner, card, bleed);
        ASSERT_EQ(marks.size(), 8u);
        for (const QLineF& m : marks) {
            for (const QPointF p : { m.p1(), m.p2() }) {
                EXPECT_FALSE(bleedBox.adjusted(0.01, 0.01, -0.01, -0.01).contains(p)) << bleed;
                EXPECT_TRUE(page.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(p)) << bleed;
            }
            const bool onTrimLine = (m.y1() == m.y2() && (m.y1() == trim.top() || m.y1() == trim.bottom()))
                || (m.x1() == m.x2() && (m.x1() == trim.left() || m.x1() == trim.right()));
            EXPECT_TRUE(onTrimLine) << bleed;
            EXPECT_GE(std::min(std::abs(m.x1() - trim.left()), std::abs(m.x1() - trim.right())) + 
                      std::min(std::abs(m.y1() - trim.top()), std::abs(m.y1() - trim.bottom())), bleed) << bleed;
        }
    }
    // And they are drawn: dark where a mark lies, nothing inside the bleed.
    QTemporaryDir dir;
    ShopCard card;
    TShopPdfOptions o;
    o.BleedInches = 0.125;
    o.CropMarks = true;
    const QString pdf = dir.filePath("marks.pdf");
    ASSERT_EQ(WriteShopPdf(card.panel, o, pdf), QString());
    const QImage page = PdfPage(pdf, 300);
    const double m = TShopCropMarks::Margin(0.125, true);
    const double markX = m - 0.125 - TShopCropMarks::kGap - TShopCropMarks::kLength / 2;
    EXPECT_LT(qGray(page.pixel(int(markX * 300), int(std::lround(m * 300)))), 128) << "the top-left mark";
    EXPECT_TRUE(Whitish(page.pixel(int((m - 0.06) * 300), int(std::lround(m * 300))))) << "inside the bleed";
}

TEST(ShopPdf, NeverReplacesAnInputNorLeavesAHalfFile)
{
    QTemporaryDir dir;
    ShopCard card;
    TShopPdfOptions o;
    o.BleedInches = 0.125;
    const QString input = dir.filePath("card.CDW");
    QFile f(input);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("card");
    f.close();
    EXPECT_NE(WriteShopPdf(card.panel, o, input, { input }), QString());
    EXPECT_EQ(QFile(input).size(), 4);
    const QString missing = dir.filePath("no-such-folder/card.pdf");
    EXPECT_NE(WriteShopPdf(card.panel, o, missing), QString());
    EXPECT_FALSE(QFileInfo::exists(missing));
    o.BleedInches = 7 / kMm;
    EXPECT_NE(WriteShopPdf(card.panel, o, dir.filePath("wide.pdf")), QString());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("wide.pdf")));
}

} // namespace
