#include "print_probe.h"
#include "printing/card_stocks.h"
#include "printing/sheet_printer.h"
#include "report/recording_report.h"
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::ProbeCard;

namespace {

// The shipped data as the file has it, read without the program's parser.
QJsonArray shippedData()
{
    ShippedCardStocks(); // registers the resource
    QFile f(":/stocks/card_stocks.json");
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(f.readAll()).object().value("stocks").toArray();
}

QByteArray fileWith(const QJsonArray& stocks, int format = 1)
{
    return QJsonDocument(QJsonObject { { "format", format }, { "stocks", stocks } }).toJson();
}

QJsonObject sampleStock()
{
    return QJsonObject { { "brand", "Acme" }, { "name", "Acme 100" }, { "codes", QJsonArray { "100" } },
        { "paper", "A4" }, { "unit", "mm" }, { "card", QJsonArray { 85, 55 } }, { "grid", QJsonArray { 2, 5 } },
        { "margins", QJsonArray { 15, 10 } }, { "pitch", QJsonArray { 95, 55 } } };
}

} // namespace

TEST(CardStocks, ShippedCatalogueIsSoundAndListsEveryProductByEachCode)
{
    QString problem;
    const auto& stocks = ShippedCardStocks(&problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(stocks.size(), static_cast<std::size_t>(shippedData().size()));

    struct Case {
        const char* code;
        const char* name;
        int across, down, paper;
    };
    const Case cases[] = {
        { "Avery 5371", "5371", 2, 5, kPaperLetter },
        { "28371", "5371", 2, 5, kPaperLetter },
        { "8877", "5371", 2, 5, kPaperLetter },
        { "8371", "8371", 2, 5, kPaperLetter },
        { "avery 28373", "8373", 2, 4, kPaperLetter },
        { "3612", "8373", 2, 4, kPaperLetter },
        { "BC 564", "BC554", 2, 5, kPaperLetter },
        { "C32011-10", "C32011", 2, 5, kPaperA4 },
        { "DECAdry OCC-3342", "C32011", 2, 5, kPaperA4 },
        { "geha p70", "C32011", 2, 5, kPaperA4 },
        { "Zweckform 32010", "32010", 2, 5, kPaperA4 },
        { "Zweckform C32015", "C32015", 2, 4, kPaperA4 },
        { "Hama 50415", "50400", 2, 5, kPaperA4 },
        { "LP801", "LP 800", 2, 5, kPaperA4 },
        { "L7414", "L7414", 2, 5, kPaperA4 },
        { "J8414", "J8414", 2, 5, kPaperA4 },
        { "Kores KPCV1", "KPCV1", 2, 5, kPaperA4 },
        { "Herma 5028", "5028", 2, 5, kPaperA4 },
    };
    for (const Case& c : cases) {
        const TCardStock* s = FindStockByCode(stocks, c.code);
        ASSERT_NE(s, nullptr) << c.code;
        EXPECT_TRUE(s->Name.contains(c.name)) << c.code << " found " << s->Name.toStdString();
        EXPECT_EQ(s->Across, c.across) << c.code;
        EXPECT_EQ(s->Down, c.down) << c.code;
        EXPECT_EQ(s->Papersize, c.paper) << c.code;
    }
    EXPECT_EQ(FindStockByCode(stocks, "99999"), nullptr);
    EXPECT_EQ(FindStockByCode(stocks, "Avery"), nullptr); // a brand is no code
    EXPECT_DOUBLE_EQ(FindStockByCode(stocks, "5028")->CornerRadius, 2.0);

    // The national sizes are there to start from.
    int custom = 0;
    for (const TCardStock& s : stocks)
        custom += s.Custom ? 1 : 0;
    EXPECT_EQ(custom, 5);
    // Every stock, shipped or checked, lies on its paper without overlaps.
    for (const TCardStock& s : stocks)
        EXPECT_EQ(ValidCardMessage(ApplyStock(TCardLayout(), s)), "") << s.Name.toStdString();
}

TEST(CardStocks, DamagedOrHostileFilesAreRefusedWithAClearMessage)
{
    auto with = [](const char* key, const QJsonValue& value) {
        QJsonObject o = sampleStock();
        if (value.isUndefined())
            o.remove(key);
        else
            o[key] = value;
        return fileWith(QJsonArray { o });
    };
    QJsonObject second = sampleStock();
    second["name"] = "Acme 200";
    second["codes"] = QJsonArray { "200" };
    QJsonObject clash = sampleStock();
    clash["name"] = "Other";
    clash["brand"] = "Other";
    clash["codes"] = QJsonArray { "2-0-0" }; // the same code, typed another way
    struct Case {
        const char* what;
        QByteArray data;
        const char* message; // part of the message
    };
    const Case cases[] = {
        { "not JSON", "hello", "not a card stock file" },
        { "cut short", fileWith(QJsonArray { sampleStock() }).left(80), "not a card stock file" },
        { "no list", "{\"format\": 1}", "no list of \"stocks\"" },
        { "later format", fileWith(QJsonArray { sampleStock() }, 2), "format 2" },
        { "entry not an object", fileWith(QJsonArray { 5 }), "stock 1 is not" },
        { "no name", with("name", QJsonValue::Undefined), "no sound name" },
        { "control character in name", with("name", "Acme\n100"), "no sound name" },
        { "endless name", with("name", QString(5000, 'x')), "no sound name" },
        { "unknown paper", with("paper", "Legal"), "\"paper\"" },
        { "unknown unit", with("unit", "cm"), "\"unit\"" },
        { "card as text", with("card", "85x55"), "\"card\"" },
        { "one margin", with("margins", QJsonArray { 15 }), "\"margins\"" },
        { "no grid", with("grid", QJsonValue::Undefined), "\"grid\"" },
        { "half a column", with("grid", QJsonArray { 2.5, 5 }), "\"grid\"" },
        { "no columns", with("grid", QJsonArray { 0, 5 }), "\"grid\"" },
        { "a million rows", with("grid", QJsonArray { 2, 1000000 }), "\"grid\"" },
        { "codes not a list", with("codes", "100"), "\"codes\"" },
        { "empty code", with("codes", QJsonArray { "" }), "\"codes\"" },
        { "tiny card", with("card", QJsonArray { 5, 5 }), "at least" },
        { "negative margin", with("margins", QJsonArray { -1, 10 }), "negative" },
        { "overlapping row", with("pitch", QJsonArray { 80, 55 }), "overlap" },
        { "overlapping column", with("pitch", QJsonArray { 95, 50 }), "overlap" },
        { "off the right edge", with("margins", QJsonArray { 40, 10 }), "right edge" },
        { "off the bottom edge", with("margins", QJsonArray { 15, 30 }), "bottom edge" },
        { "radius too large", with("radius", 40), "radius" },
        { "same name twice", fileWith(QJsonArray { sampleStock(), sampleStock() }), "same name" },
        { "a code sold twice", fileWith(QJsonArray { second, clash }), "already" },
        { "too large", QByteArray(2 << 20, ' '), "too large" },
    };
    for (const Case& c : cases) {
        QString error;
        const auto stocks = ParseCardStocks(c.data, &error);
        EXPECT_TRUE(stocks.empty()) << c.what;
        EXPECT_TRUE(error.contains(c.message)) << c.what << ": " << error.toStdString();
    }
    QString error;
    EXPECT_EQ(ParseCardStocks(fileWith(QJsonArray { sampleStock(), second }), &error).size(), 2u);
    EXPECT_EQ(error, "");
}

TEST(CardStocks, UserStocksRoundTripAndImportsNeverBreakTheCatalogue)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    QString error;
    EXPECT_TRUE(LoadUserStocks(&error).empty());
    EXPECT_EQ(error, "");

    TCardLayout l;
    l.Width = 3.0;
    l.HPitch = 3.25;
    l.Across = 2;
    l.Down = 4;
    TCardStock mine = StockFromLayout(l, "My shop's cards");
    mine.Codes = { "SHOP-1" };
    ASSERT_EQ(SaveUserStocks({ mine }), "");
    const auto back = LoadUserStocks(&error);
    ASSERT_EQ(back.size(), 1u) << error.toStdString();
    EXPECT_TRUE(back[0].User);
    EXPECT_EQ(ApplyStock(TCardLayout(), back[0]).HPitch, 3.25);
    const auto all = AllCardStocks(&error);
    EXPECT_EQ(all.size(), ShippedCardStocks().size() + 1);
    EXPECT_EQ(FindStockByCode(all, "shop1")->Name, "My shop's cards");

    // An import may not take a code or a name the program's list has.
    TCardStock thief = mine;
    thief.Name = "Cheap copy";
    thief.Codes = { "8371" };
    MergeUserStocks(back, { thief }, all, &error);
    EXPECT_TRUE(error.contains("8371")) << error.toStdString();
    thief.Codes.clear();
    thief.Name = ShippedCardStocks()[0].Name;
    MergeUserStocks(back, { thief }, all, &error);
    EXPECT_TRUE(error.contains("name of a stock the program lists")) << error.toStdString();
    // One of the same name replaces the user's own.
    TCardStock newer = mine;
    newer.Across = 1;
    const auto merged = MergeUserStocks(back, { newer }, all, &error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].Across, 1);

    // A damaged file of one's own is reported and left as it is.
    const QString path = UserStocksFileName();
    const QByteArray damaged = "{\"format\": 1, \"stocks\": [ {\"name\": ";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(damaged);
    }
    EXPECT_TRUE(LoadUserStocks(&error).empty());
    EXPECT_TRUE(error.contains(QFileInfo(path).fileName())) << error.toStdString();
    EXPECT_EQ(AllCardStocks().size(), ShippedCardStocks().size());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), damaged);
    qunsetenv("XDG_DATA_HOME");
}

// ---- where the cards land on printed sheets

namespace {

constexpr int kDpi = 200;

bool isBlue(QRgb c) { return qBlue(c) > 160 && qRed(c) < 100 && qGreen(c) < 100; }

// The first blue pixel along a line, from `from` towards `to` (inches);
// -1 when the line starts in blue or meets none.
double firstBlue(const QImage& page, QPointF from, QPointF to)
{
    const int steps = static_cast<int>(std::lround(std::hypot(to.x() - from.x(), to.y() - from.y()) * kDpi));
    for (int i = 0; i <= steps; ++i) {
        const QPointF p = from + (to - from) * (static_cast<double>(i) / steps);
        const int x = static_cast<int>(p.x() * kDpi), y = static_cast<int>(p.y() * kDpi);
        if (x < 0 || y < 0 || x >= page.width() || y >= page.height())
            continue;
        if (isBlue(page.pixel(x, y)))
            return i == 0 ? -1 : (from.x() == to.x() ? p.y() : p.x());
    }
    return -1;
}

// A sheet geometry as the data file states it, in inches, with no code of
// the program in between.
struct DataSheet {
    QString name;
    QSizeF paper;
    double w, h, left, top, hpitch, vpitch;
    int across, down;
    int papersize;
};

DataSheet fromData(const QJsonObject& o)
{
    const double k = o.value("unit").toString() == "mm" ? 1.0 / 25.4 : 1.0;
    auto at = [&](const char* key, int i) { return o.value(key).toArray()[i].toDouble() * k; };
    const bool a4 = o.value("paper").toString() == "A4";
    return { o.value("name").toString(), a4 ? QSizeF(210 / 25.4, 297 / 25.4) : QSizeF(8.5, 11.0), at("card", 0),
        at("card", 1), at("margins", 0), at("margins", 1), at("pitch", 0), at("pitch", 1),
        o.value("grid").toArray()[0].toInt(), o.value("grid").toArray()[1].toInt(), a4 ? kPaperA4 : kPaperLetter };
}

TCardLayout layoutOf(const DataSheet& d)
{
    TCardLayout l;
    l.Width = d.w;
    l.Height = d.h;
    l.LeftMargin = d.left;
    l.TopMargin = d.top;
    l.HPitch = d.hpitch;
    l.VPitch = d.vpitch;
    l.Across = d.across;
    l.Down = d.down;
    l.Papersize = d.papersize;
    return l;
}

std::vector<QImage> printPages(const TPrintJobRequest& request, ProbeCard& front, QSizeF paper)
{
    TPageMetrics m;
    m.paperInches = paper;
    m.xDpi = m.yDpi = kDpi;
    TRecordingReport report(m);
    TSheetPrinter job(front.panel, request);
    EXPECT_EQ(job.Run(report), "");
    std::vector<QImage> pages;
    for (int i = 0; i < report.PageCount(); ++i) {
        QImage image(report.PageSize(i), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        report.DrawPage(p, i, QRectF(QPointF(0, 0), QSizeF(image.size())));
        pages.push_back(image);
    }
    return pages;
}

// Checks that the probe's inch by half an inch lies at the card corner
// `corner` (within a hundredth of an inch) or, when `inked` is false, that
// nothing is there. The middle of each blue run is measured, so that how the
// edges of a filled box fall on pixels does not count.
void expectCorner(const QImage& page, QPointF corner, bool inked, const std::string& what)
{
    const double y = corner.y() + 0.25, x = corner.x() + 0.5;
    const double left = firstBlue(page, QPointF(corner.x() - 0.2, y), QPointF(corner.x() + 0.2, y));
    if (!inked) {
        EXPECT_LT(left, 0) << what << " should be empty";
        return;
    }
    const double right = firstBlue(page, QPointF(corner.x() + 1.2, y), QPointF(corner.x() + 0.8, y));
    const double top = firstBlue(page, QPointF(x, corner.y() - 0.2), QPointF(x, corner.y() + 0.2));
    const double bottom = firstBlue(page, QPointF(x, corner.y() + 0.7), QPointF(x, corner.y() + 0.3));
    EXPECT_NEAR((left + right) / 2, x, 0.01) << what;
    EXPECT_NEAR((top + bottom) / 2, y, 0.01) << what;
    EXPECT_NEAR(right - left, 1.0, 0.03) << what; // the whole box, not a neighbour's edge
}

} // namespace

TEST(CardStocks, EveryStockPrintsWhereItsDataSaysAndBacksLandBehindTheirFronts)
{
    std::vector<DataSheet> sheets;
    for (const QJsonValue& v : shippedData())
        sheets.push_back(fromData(v.toObject()));
    // Unequal margins on all four sides and gaps both ways, so that a mirror
    // that only reverses the order of the columns or rows misses.
    sheets.push_back({ "lopsided Letter", QSizeF(8.5, 11), 2.0, 1.5, 0.3, 0.9, 2.6, 2.0, 3, 4, kPaperLetter });
    sheets.push_back({ "lopsided A4", QSizeF(210 / 25.4, 297 / 25.4), 85 / 25.4, 54 / 25.4, 10 / 25.4, 30 / 25.4,
        100 / 25.4, 60 / 25.4, 2, 4, kPaperA4 });
    ASSERT_GE(sheets.size(), 31u);

    ProbeCard front(QRect(0, 0, 96, 48));
    ProbeCard back(QRect(0, 0, 96, 48));
    for (const DataSheet& d : sheets) {
        for (const TDuplexEdge edge : { TDuplexEdge::Long, TDuplexEdge::Short }) {
            const int positions = d.across * d.down;
            TPrintJobRequest r;
            r.Layout = layoutOf(d);
            // The first card, the last, and one that is in neither the first
            // column nor the first row: each must find its own back.
            r.Selection = TPositionSelection(static_cast<std::size_t>(positions), false);
            const std::vector<int> chosen { 0, d.across + 1 < positions ? d.across + 1 : 0, positions - 1 };
            for (int i : chosen)
                r.Selection.Set(i, true);
            r.Back.Panel = &back.panel;
            r.Back.Sides = TSides::FrontsAndBacks;
            r.Back.Edge = edge;
            const auto pages = printPages(r, front, d.paper);
            ASSERT_EQ(pages.size(), 2u) << d.name.toStdString();
            for (int row = 0; row < d.down; ++row) {
                for (int col = 0; col < d.across; ++col) {
                    const int index = row * d.across + col;
                    const bool inked = r.Selection.At(index);
                    const std::string what = d.name.toStdString() + " position " + std::to_string(index + 1)
                        + (edge == TDuplexEdge::Long ? " long edge" : " short edge");
                    const double x = d.left + col * d.hpitch, y = d.top + row * d.vpitch;
                    if (edge == TDuplexEdge::Long)
                        expectCorner(pages[0], QPointF(x, y), inked, what + " front");
                    // Turned over, the card's back corner is where the front's
                    // opposite corner was.
                    const QPointF behind = edge == TDuplexEdge::Long
                        ? QPointF(d.paper.width() - (x + d.w), y)
                        : QPointF(x, d.paper.height() - (y + d.h));
                    expectCorner(pages[1], behind, inked, what + " back");
                }
            }
        }
    }
}

TEST(CardStocks, BackNudgesStartPositionAndBacksLaterRun)
{
    ProbeCard front(QRect(0, 0, 96, 48));
    ProbeCard back(QRect(0, 0, 96, 48));
    TPrintJobRequest r;
    r.Layout.LeftMargin = 0.5; // right margin 1.0
    r.Back.Panel = &back.panel;
    r.Back.Sides = TSides::FrontsAndBacks;
    r.Back.Nudges.LeftMarginNudge = 4;   // an eighth of an inch right
    r.Back.Nudges.TopMarginNudge = -2;   // a sixteenth up
    r.Nudges.TopMarginNudge = 8;         // the front's own nudge leaves the back alone
    const auto pages = printPages(r, front, QSizeF(8.5, 11));
    ASSERT_EQ(pages.size(), 2u);
    expectCorner(pages[0], QPointF(0.5, 0.75), true, "front nudged");
    expectCorner(pages[1], QPointF(8.5 - 4.0 + 0.125, 0.5 - 0.0625), true, "back of position 1");
    expectCorner(pages[1], QPointF(1.0 + 0.125, 0.5 - 0.0625), true, "back of position 2");

    // A partly used sheet: cards 1 to 3 were used; the next sheet is whole.
    r = TPrintJobRequest();
    r.Sheets = 2;
    r.StartPosition = 4;
    front.probe->calls.clear();
    printPages(r, front, QSizeF(8.5, 11));
    const auto places = front.Places();
    ASSERT_EQ(places.size(), 17u);
    EXPECT_EQ(places[0], QPointF(4.25, 2.5)); // position 4
    EXPECT_EQ(places[7], QPointF(0.75, 0.5)); // the second sheet starts at position 1

    // The backs printed later, on sheets fed in again: backs only, mirrored.
    r = TPrintJobRequest();
    r.Back.Panel = &back.panel;
    r.Back.Sides = TSides::Backs;
    r.StartPosition = 10;
    front.probe->calls.clear();
    back.probe->calls.clear();
    const auto later = printPages(r, front, QSizeF(8.5, 11));
    ASSERT_EQ(later.size(), 1u);
    EXPECT_TRUE(front.Places().empty());
    ASSERT_EQ(back.Places().size(), 1u);
    EXPECT_EQ(back.Places()[0], QPointF(0.75, 8.5)); // position 10's back: bottom row, left column
}

TEST(CardStocks, MergedRecordsFillAPartlyUsedSheetAndTheirBacks)
{
    ProbeCard front(QRect(0, 0, 96, 48));
    ProbeCard back(QRect(0, 0, 96, 48));
    TFieldRecords records;
    for (int i = 0; i < 13; ++i) {
        TFieldRecord record;
        record.Set("Name", QString("Person %1").arg(i));
        records.append(record);
    }
    TPrintJobRequest r;
    r.Records = &records;
    r.StartPosition = 4; // 7 cards on the first sheet, 6 on the second
    r.Back.Panel = &back.panel;
    r.Back.Sides = TSides::FrontsAndBacks;
    TSheetPrinter job(front.panel, r);
    EXPECT_EQ(job.Sheets(), 2);
    const auto pages = printPages(r, front, QSizeF(8.5, 11));
    EXPECT_EQ(pages.size(), 4u);
    ASSERT_EQ(front.Places().size(), 13u);
    ASSERT_EQ(back.Places().size(), 13u);
    EXPECT_EQ(front.Places()[0], QPointF(4.25, 2.5)); // position 4
    EXPECT_EQ(back.Places()[0], QPointF(0.75, 2.5));  // its back, the other column
    EXPECT_EQ(front.Places()[12], QPointF(4.25, 4.5)); // the second sheet's sixth card
    EXPECT_EQ(back.Places()[12], QPointF(0.75, 4.5));
}
