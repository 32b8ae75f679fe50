#include "cli_run.h"
#include "objects/shapes.h"
#include "report/report_pixels.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::CliRun;

namespace {

auto& cli = cardora::test::RunCli;
constexpr int kDpi = 100;

// A card whose top-left inch by half an inch is filled with `color`.
QString cornerCard(const QString& path, TColor color)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    TBCShapes* s = TBCShapes::CreateForTool(&owner, ShapeType::Rectangle);
    panel.AddObject(s);
    s->SetBounds(0, 0, 96, 48);
    s->Brush()->SetColor(color);
    s->Pen()->SetColor(color);
    panel.SaveCardFile(path);
    return path;
}

bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
bool isBlue(QRgb c) { return qBlue(c) > 180 && qGreen(c) < 90 && qRed(c) < 90; }

// Whether the card corner at (x, y) inches is inked in that colour: the
// inch-by-half-inch box is, and just above and left of it nothing is.
bool cornerAt(const QImage& page, double x, double y, bool (*match)(QRgb))
{
    const int px = qRound(x * kDpi), py = qRound(y * kDpi);
    auto at = [&](int dx, int dy) {
        const int ax = px + dx, ay = py + dy;
        return ax >= 0 && ay >= 0 && ax < page.width() && ay < page.height() && match(page.pixel(ax, ay));
    };
    return at(3, 3) && at(90, 40) && !at(-2, 10) && !at(10, -2);
}

} // namespace

TEST(StocksCli, StocksPrintsTheCatalogueAsOneJsonLine)
{
    const CliRun r = cli({ "stocks" });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    ASSERT_TRUE(r.out.endsWith('\n'));
    EXPECT_EQ(r.out.count('\n'), 1);
    const QJsonArray stocks = QJsonDocument::fromJson(r.out).object().value("stocks").toArray();
    ASSERT_GE(stocks.size(), 29);
    EXPECT_EQ(stocks[0].toObject()["name"].toString(), "Avery Business Card 5371 (Letter Size Paper)");
    bool herma = false;
    for (const QJsonValue& v : stocks) {
        const QJsonObject o = v.toObject();
        if (!o["codes"].toArray().contains("5028"))
            continue;
        herma = true;
        EXPECT_EQ(o["brand"].toString(), "Herma");
        EXPECT_EQ(o["unit"].toString(), "mm");
        EXPECT_EQ(o["radius"].toDouble(), 2.0);
        EXPECT_EQ(o["margins"].toArray(), (QJsonArray { 18.6, 22 }));
        EXPECT_NEAR(o["inches"].toObject()["margins"].toArray()[0].toDouble(), 18.6 / 25.4, 1e-9);
    }
    EXPECT_TRUE(herma);
    EXPECT_EQ(cli({ "stocks", "extra" }).exitCode, 1);

    // The user's own stocks, saved by the window, are the batch tool's too.
    QTemporaryDir data;
    QDir().mkpath(data.filePath("Cardora"));
    ASSERT_TRUE(cardora::test::WriteFileBytes(data.filePath("Cardora/card_stocks.json"),
        R"({"format": 1, "stocks": [{"brand": "Shop", "name": "Shop cards", "codes": ["S-1"], "paper": "Letter",
            "unit": "in", "card": [3, 2], "grid": [2, 4], "margins": [1, 1], "pitch": [3.25, 2.25]}]})"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const CliRun mine = cli({ "stocks" });
    const QJsonArray all = QJsonDocument::fromJson(mine.out).object().value("stocks").toArray();
    ASSERT_EQ(all.size(), stocks.size() + 1);
    EXPECT_EQ(all.last().toObject()["name"].toString(), "Shop cards");
    EXPECT_TRUE(all.last().toObject()["user"].toBool());
    QTemporaryDir dir;
    const QString pdf = dir.filePath("shop.pdf");
    const CliRun printed = cli({ "print", cornerCard(dir.filePath("c.CDW"), clRed), pdf, "--stock", "shop s1" });
    EXPECT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const QImage page = cardora::test::RenderPdf(pdf, kDpi, 1);
    EXPECT_TRUE(cornerAt(page, 1.0 + 3.25, 1.0 + 3 * 2.25, isRed)); // the eighth card
    qunsetenv("XDG_DATA_HOME");
}

TEST(StocksCli, PrintOnAStockFromAStartPositionWithBacksMirrored)
{
    QTemporaryDir dir;
    const QString front = cornerCard(dir.filePath("front.CDW"), clRed);
    const QString back = cornerCard(dir.filePath("back.CDW"), clBlue);

    // Avery 8373: Letter, 2 x 4, left 0.5, top 0.75, pitch 4 x 2.5; cards 1
    // to 2 were used, so the sheet starts at card 3.
    const QString pdf = dir.filePath("stock.pdf");
    CliRun r = cli({ "print", front, pdf, "--stock", "avery 8373", "--start", "3", "--back", back });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(cardora::test::PdfInfo(pdf, "Pages"), "2");
    const QImage fronts = cardora::test::RenderPdf(pdf, kDpi, 1);
    const QImage backs = cardora::test::RenderPdf(pdf, kDpi, 2);
    for (int index = 0; index < 8; ++index) {
        const int row = index / 2, col = index % 2;
        const double x = 0.5 + col * 4.0, y = 0.75 + row * 2.5;
        const bool printed = index >= 2;
        EXPECT_EQ(cornerAt(fronts, x, y, isRed), printed) << "front " << index + 1;
        // Turned over the long edge, the back's left edge is where the front's right edge was.
        EXPECT_EQ(cornerAt(backs, 8.5 - (x + 3.5), y, isBlue), printed) << "back " << index + 1;
    }

    // An A4 stock with unequal top and bottom margins, turned over the short
    // edge: Hama 50400, 85 x 55 mm, margins 13.5 / 10.5, pitch 95 x 55.
    const QString a4 = dir.filePath("a4.pdf");
    r = cli({ "print", front, a4, "--stock", "Hama 50400", "--back", back, "--duplex", "short", "--positions", "1,4",
        "--sheets", "2" });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(cardora::test::PdfInfo(a4, "Pages"), "4"); // front, back, front, back
    EXPECT_TRUE(cardora::test::PdfInfo(a4, "Page size").startsWith("595"));
    const double mm = 1 / 25.4;
    for (int page = 1; page <= 4; ++page) {
        const QImage image = cardora::test::RenderPdf(a4, kDpi, page);
        for (int index : { 0, 3 }) {
            const int row = index / 2, col = index % 2;
            const double x = (13.5 + col * 95) * mm, y = (10.5 + row * 55) * mm;
            if (page % 2 == 1)
                EXPECT_TRUE(cornerAt(image, x, y, isRed)) << page << " " << index;
            else
                EXPECT_TRUE(cornerAt(image, x, 297 * mm - (y + 55 * mm), isBlue)) << page << " " << index;
        }
    }
}

TEST(StocksCli, MergedRecordsStartPartWayAndGetTheirBacks)
{
    QTemporaryDir dir;
    const QString front = cornerCard(dir.filePath("front.CDW"), clRed);
    const QString back = cornerCard(dir.filePath("back.CDW"), clBlue);
    QByteArray csv = "Name\n";
    for (int i = 1; i <= 13; ++i)
        csv += "Person " + QByteArray::number(i) + "\n";
    ASSERT_TRUE(cardora::test::WriteFileBytes(dir.filePath("people.csv"), csv));
    // Cards 1 to 3 are used: 7 records on the first sheet, 6 on the second.
    const QString pdf = dir.filePath("merged.pdf");
    const CliRun r = cli({ "print", front, pdf, "--data", dir.filePath("people.csv"), "--start", "4", "--back", back });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(cardora::test::PdfInfo(pdf, "Pages"), "4");
    const QImage secondBacks = cardora::test::RenderPdf(pdf, kDpi, 4);
    for (int index = 0; index < 10; ++index) {
        const int row = index / 2, col = index % 2;
        EXPECT_EQ(cornerAt(secondBacks, 0.75 + (1 - col) * 3.5, 0.5 + row * 2.0, isBlue), index < 6) << index + 1;
    }
}

TEST(StocksCli, StockStartAndBackMistakesFailWithOneLine)
{
    QTemporaryDir dir;
    const QString card = cornerCard(dir.filePath("card.CDW"), clRed);
    const QString out = dir.filePath("out.pdf");
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        { { "--stock", "NOPE-1" }, "Unknown card stock: NOPE-1" },
        { { "--stock" }, "--stock needs a product code" },
        { { "--start", "0" }, "--start needs a position" },
        { { "--start", "11" }, "Start position 11 is not on the sheet" },
        { { "--stock", "8373", "--start", "9" }, "Start position 9 is not on the sheet (positions 1 to 8)" },
        { { "--back", dir.filePath("missing.CDW") }, "missing.CDW" },
        { { "--duplex", "long" }, "--duplex needs --back" },
        { { "--back", card, "--duplex", "sideways" }, "--duplex needs long or short" },
        { { "--back", out }, "" }, // the output named as the back: refused before anything is written
    };
    for (const Case& c : cases) {
        const CliRun r = cli(QStringList { "print", card, out } + c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << c.args.join(' ').toStdString();
    }
}
