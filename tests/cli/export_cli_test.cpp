#include "objects/shapes.h"
#include "objects/text_label.h"
#include "surface/card_panel.h"
#include "cli_run.h"
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace cardora;

namespace {
using Outcome = cardora::test::CliRun;
auto& run = cardora::test::RunProgram;
auto& cli = cardora::test::RunCli;

// A yellow rectangle from (10, 10) to (130, 70) and the label "Ann Example".
QString makeCard(const QString& folder, const QString& name = "card.CDW")
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    auto* rect = new TBCShapes(&owner);
    rect->Loaded();
    panel.PlaceNewObject(rect, QRect(10, 10, 120, 60));
    rect->Brush()->SetColor(0x00FFFF);
    auto* label = new TQBusinessCardLabel(&owner);
    label->Loaded();
    panel.PlaceNewObject(label, QRect(20, 100, 150, 20));
    label->SetCaption("Ann Example");
    const QString path = folder + "/" + name;
    panel.SaveCardFile(path);
    return path;
}

auto& readAll = cardora::test::ReadFileBytes;
} // namespace

TEST(CliExport, PicturesAtAResolutionAreDrawnThere)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    const struct {
        const char* dpi;
        QSize size;
    } cases[] = { { "300", QSize(1050, 600) }, { "600", QSize(2100, 1200) }, { "72", QSize(252, 144) } };
    for (const auto& c : cases) {
        const QString png = dir.filePath(QString("card%1.png").arg(c.dpi));
        const Outcome r = cli({ "render", card, png, "--dpi", c.dpi });
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const QImage img(png);
        ASSERT_EQ(img.size(), c.size) << c.dpi;
        const double s = QByteArray(c.dpi).toDouble() / 96.0;
        EXPECT_EQ(img.pixel(int(70 * s), int(40 * s)) & 0xFFFFFF, 0xFFFF00u) << c.dpi; // inside the rectangle
        EXPECT_EQ(img.pixel(int(300 * s), int(60 * s)) & 0xFFFFFF, 0xFFFFFFu) << c.dpi;
        EXPECT_EQ(img.dotsPerMeterX(), qRound(QByteArray(c.dpi).toDouble() / 0.0254)) << c.dpi;
    }
    // At 300 dpi the text is drawn with three times the detail, not enlarged:
    // its dark pixels come in many more distinct rows than at 96.
    auto darkRows = [](const QImage& img, QRect area) {
        int rows = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            bool dark = false;
            for (int x = area.left(); x <= area.right() && !dark; ++x)
                dark = qGray(img.pixel(x, y)) < 100;
            rows += dark;
        }
        return rows;
    };
    ASSERT_EQ(cli({ "render", card, dir.filePath("card96.png") }).exitCode, 0);
    const int rows96 = darkRows(QImage(dir.filePath("card96.png")), QRect(20, 100, 150, 20));
    const int rows300 = darkRows(QImage(dir.filePath("card300.png")), QRect(62, 312, 469, 63));
    EXPECT_GT(rows96, 4);
    EXPECT_GT(rows300, rows96 * 2);
}

TEST(CliExport, NinetySixDpiIsTodaysPicture)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    for (const char* name : { "a.png", "a.bmp", "a.jpg" }) {
        const QString plain = dir.filePath(QString("plain-") + name);
        const QString at96 = dir.filePath(QString("at96-") + name);
        ASSERT_EQ(cli({ "render", card, plain, "--border" }).exitCode, 0);
        ASSERT_EQ(cli({ "render", card, at96, "--border", "--dpi", "96" }).exitCode, 0);
        EXPECT_EQ(readAll(plain), readAll(at96)) << name;
        EXPECT_EQ(QImage(plain).size(), QSize(336, 192));
    }
}

TEST(CliExport, PdfAndSvgAreOneCardAtTrueSizeWithTextAsText)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    const QString pdf = dir.filePath("card.pdf");
    Outcome r = cli({ "render", card, pdf, "--border" });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF-"));
    if (!QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
        const Outcome info = run("pdfinfo", { pdf });
        EXPECT_TRUE(info.out.contains("Pages:           1")) << info.out.constData();
        EXPECT_TRUE(info.out.contains("Page size:       252 x 144 pts")) << info.out.constData();
        const Outcome text = run("pdftotext", { pdf, "-" });
        EXPECT_TRUE(text.out.contains("Ann Example")) << text.out.constData();
    }

    const QString svg = dir.filePath("card.SVG");
    r = cli({ "render", card, svg });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QXmlStreamReader xml(readAll(svg));
    QString width, height, text;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("svg")) {
            width = xml.attributes().value("width").toString();
            height = xml.attributes().value("height").toString();
        } else if (xml.name() == QLatin1String("text")) {
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_NEAR(QString(width).remove("mm").toDouble(), 88.9, 0.2) << width.toStdString();
    EXPECT_NEAR(QString(height).remove("mm").toDouble(), 50.8, 0.2) << height.toStdString();
    EXPECT_TRUE(text.contains("Ann Example")) << text.toStdString();
}

TEST(CliExport, BadResolutionsAndOutputsAreRefusedAndLeaveNothing)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    const QByteArray before = readAll(card);
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        { { "--dpi", "71" }, "--dpi needs a number from 72 to 2400" },
        { { "--dpi", "2401" }, "--dpi needs a number from 72 to 2400" },
        { { "--dpi", "lots" }, "--dpi needs a number from 72 to 2400" },
        { { "--dpi" }, "--dpi needs a number from 72 to 2400" },
    };
    for (const auto& c : cases) {
        const Outcome r = cli(QStringList { "render", card, dir.filePath("x.png") } + c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.trimmed(), c.error) << c.args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
    }
    // Never over the card itself, never a half-written file, whatever the extension.
    for (const QString& out : { card, dir.filePath("card.cdw") }) {
        const Outcome r = cli({ "render", card, out });
        EXPECT_EQ(r.exitCode, 1) << out.toStdString();
        EXPECT_EQ(readAll(card), before);
    }
    const Outcome r = cli({ "render", card, dir.filePath("no/such/folder/x.pdf") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Cannot create file")) << r.err.constData();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "only the card is left";
}

// Crop marks lie outside every card: on a sheet of empty cards everything
// dark is a mark, and none of it falls on a card.
TEST(CliExport, CropMarksLieOutsideTheCards)
{
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    QObject owner;
    CardPanel empty(nullptr, &owner);
    empty.SetPanelSize(336, 192);
    const QString card = dir.filePath("empty.CDW");
    empty.SaveCardFile(card);
    // The default layout: 3.5 x 2 inch cards, two across and five down, touching,
    // from 0.75 inch left and 0.5 inch top; and one with gaps between the cards.
    QFile ini(dir.filePath("gaps.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Layout]\nWidth=3000\nHeight=1750\nHPitch=3500\nVPitch=2000\nLeftMargin=750\nTopMargin=500\n");
    ini.close();
    const struct {
        QStringList prefs;
        QRectF firstCard; // inches
        double hpitch, vpitch;
        int across, down;
        std::vector<QPointF> marked; // inches
    } cases[] = {
        { {}, QRectF(0.75, 0.5, 3.5, 2.0), 3.5, 2.0, 2, 5,
            { QPointF(0.55, 0.5), QPointF(0.75, 0.3), QPointF(4.25, 0.3), QPointF(7.95, 2.5) } },
        { { "--prefs", dir.filePath("gaps.ini") }, QRectF(0.75, 0.5, 3.0, 1.75), 3.5, 2.0, 2, 5,
            { QPointF(3.95, 0.5), QPointF(4.25, 0.3), QPointF(4.25, 2.4), QPointF(3.75, 2.35) } },
    };
    for (const auto& c : cases) {
        const QString pdf = dir.filePath("sheet.pdf");
        Outcome r = cli(QStringList { "print", card, pdf, "--crop-marks" } + c.prefs);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        r = run("pdftoppm", { "-r", "100", "-gray", "-singlefile", "-png", pdf, dir.filePath("sheet") });
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        const QImage page(dir.filePath("sheet.png"));
        ASSERT_EQ(page.size(), QSize(850, 1100));
        auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 160; };
        auto darkNear = [&](QPointF p) {
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (dark(qRound(p.x() * 100) + dx, qRound(p.y() * 100) + dy))
                        return true;
            return false;
        };
        for (const QPointF& p : c.marked)
            EXPECT_TRUE(darkNear(p)) << "no mark at " << p.x() << ", " << p.y();
        int onCards = 0;
        for (int row = 0; row < c.down; ++row)
            for (int col = 0; col < c.across; ++col) {
                const QRectF inches = c.firstCard.translated(col * c.hpitch, row * c.vpitch);
                const QRect px(qRound(inches.left() * 100) + 2, qRound(inches.top() * 100) + 2,
                    qRound(inches.width() * 100) - 4, qRound(inches.height() * 100) - 4);
                for (int y = px.top(); y <= px.bottom(); ++y)
                    for (int x = px.left(); x <= px.right(); ++x)
                        onCards += dark(x, y);
            }
        EXPECT_EQ(onCards, 0);
    }
}
