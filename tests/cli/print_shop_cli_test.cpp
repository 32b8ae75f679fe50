// cardora-cli for print shops: render --bleed [--crop-marks] and preflight.
#include "objects/shapes.h"
#include "objects/text_label.h"
#include "surface/card_panel.h"
#include "cli_run.h"
#include "support/pdf_info.h"
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

constexpr double kMm = 25.4;

// A band over the left edge (`bandLeft` pixels from it), a name label with
// room to spare, and optionally a label hugging the top edge in 5 pt.
QString makeCard(const QString& folder, const QString& name, int bandLeft, bool faults)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    auto* band = new TBCShapes(&owner);
    band->Loaded();
    panel.PlaceNewObject(band, QRect(bandLeft, 80, 200 - bandLeft, 30));
    band->Brush()->SetColor(0x0000E0);
    auto* label = new TQBusinessCardLabel(&owner);
    label->Loaded();
    panel.PlaceNewObject(label, QRect(40, 130, 150, 24));
    label->SetCaption("Ann Example");
    if (faults) {
        auto* tiny = new TQBusinessCardLabel(&owner);
        tiny->Loaded();
        tiny->Font()->SetSize(5);
        panel.PlaceNewObject(tiny, QRect(60, 2, 150, 14));
        tiny->SetCaption("small print");
    }
    const QString path = folder + "/" + name;
    panel.SaveCardFile(path);
    return path;
}

QJsonObject onlyLine(const CliRun& r)
{
    EXPECT_TRUE(r.out.endsWith('\n'));
    EXPECT_EQ(r.out.count('\n'), 1) << r.out.constData();
    return QJsonDocument::fromJson(r.out).object();
}

QStringList codes(const QJsonObject& report)
{
    QStringList out;
    for (const QJsonValue& w : report["warnings"].toArray())
        out << w.toObject()["code"].toString() + "@" + w.toObject()["object"].toString();
    return out;
}

TEST(CliPrintShop, RendersTheShopPdfWithItsBoxes)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path(), "card.CDW", -12, false);
    struct Case {
        QStringList options;
        double bleedMm;
        double marginMm;
    };
    const Case cases[] = {
        { { "--bleed", "3mm" }, 3.0, 3.0 },
        { { "--bleed", "1/8in" }, 3.175, 3.175 },
        { { "--bleed", "0.125in", "--crop-marks" }, 3.175, 3.175 + (1.0 / 16 + 0.25) * kMm },
        { { "--bleed", "0mm" }, 0.0, 0.0 },
    };
    for (const Case& c : cases) {
        const QString pdf = dir.filePath("shop.pdf");
        QFile::remove(pdf);
        const CliRun r = RunCli(QStringList { "render", card, pdf } + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty());
        const auto boxes = PdfBoxesMm(pdf);
        const QString what = c.options.join(' ');
        EXPECT_NEAR(boxes["TrimBox"].width(), 3.5 * kMm, 0.01) << what.toStdString();
        EXPECT_NEAR(boxes["TrimBox"].height(), 2.0 * kMm, 0.01) << what.toStdString();
        EXPECT_NEAR(boxes["BleedBox"].width(), 3.5 * kMm + 2 * c.bleedMm, 0.01) << what.toStdString();
        EXPECT_NEAR(boxes["BleedBox"].height(), 2.0 * kMm + 2 * c.bleedMm, 0.01) << what.toStdString();
        EXPECT_NEAR(boxes["MediaBox"].width(), 3.5 * kMm + 2 * c.marginMm, 0.01) << what.toStdString();
        const auto fonts = PdfFontsEmbedded(pdf);
        EXPECT_FALSE(fonts.isEmpty());
        for (auto it = fonts.begin(); it != fonts.end(); ++it)
            EXPECT_TRUE(it.value()) << it.key().toStdString();
    }
}

TEST(CliPrintShop, TheBleedAndCardSizeOfThePreferences)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path(), "card.CDW", -12, false);
    // An EU card (85 x 55 mm as the layout keeps it, in thousandths of an
    // inch) with a 3 mm bleed.
    const QString prefs = dir.filePath("CDW.INI");
    ASSERT_TRUE(WriteFileBytes(prefs, "[Layout]\nWidth=3346\nHeight=2165\nHPitch=3346\nVPitch=2165\n"
                                      "[Print Shop]\nBleed=3000\n"));
    const QString pdf = dir.filePath("eu.pdf");
    const CliRun r = RunCli({ "render", card, pdf, "--crop-marks", "--prefs", prefs });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const auto boxes = PdfBoxesMm(pdf);
    EXPECT_NEAR(boxes["TrimBox"].width(), 3.346 * kMm, 0.01);
    EXPECT_NEAR(boxes["TrimBox"].height(), 2.165 * kMm, 0.01);
    EXPECT_NEAR(boxes["BleedBox"].width(), 3.346 * kMm + 6, 0.01);
    // --bleed wins over the preferences.
    ASSERT_EQ(RunCli({ "render", card, pdf, "--bleed", "1mm", "--prefs", prefs }).exitCode, 0);
    EXPECT_NEAR(PdfBoxesMm(pdf)["BleedBox"].height(), 2.165 * kMm + 2, 0.01);

    // Objects in the preferences' bleed stay on resave; without it they go.
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    auto* inBleed = new TBCShapes(&owner);
    inBleed->Loaded();
    panel.PlaceNewObject(inBleed, QRect(-10, 20, 8, 30));
    const QString bleedCard = dir.filePath("bleed.CDW");
    panel.SaveCardFile(bleedCard);
    ASSERT_EQ(RunCli({ "resave", bleedCard, dir.filePath("kept.CDW"), "--prefs", prefs }).exitCode, 0);
    EXPECT_TRUE(RunCli({ "dump", dir.filePath("kept.CDW") }).out.contains("TBCShapes"));
    ASSERT_EQ(RunCli({ "resave", bleedCard, dir.filePath("gone.CDW") }).exitCode, 0);
    EXPECT_FALSE(RunCli({ "dump", dir.filePath("gone.CDW") }).out.contains("TBCShapes"));
}

// A merged run for the shop: one page per record, each with its boxes.
TEST(CliPrintShop, OnePagePerRecordWithData)
{
    QTemporaryDir dir;
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    auto* label = new TQBusinessCardLabel(&owner);
    label->Loaded();
    panel.PlaceNewObject(label, QRect(40, 60, 200, 24));
    label->SetCaption("${Name}");
    const QString card = dir.filePath("merge.CDW");
    panel.SaveCardFile(card);
    const QString csv = dir.filePath("people.csv");
    ASSERT_TRUE(WriteFileBytes(csv, "Name\nAnn Able\nBob Baker\nCid Cole\n"));
    const QString pdf = dir.filePath("merged.pdf");
    CliRun r = RunCli({ "render", card, pdf, "--bleed", "3mm", "--data", csv });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(RunTool("pdfinfo", { pdf }).contains(QRegularExpression("Pages:\\s+3\\n")));
    const QString boxes = RunTool("pdfinfo", { "-box", "-f", "1", "-l", "3", pdf });
    EXPECT_EQ(boxes.count("TrimBox"), 3) << boxes.toStdString();
    const QString text = RunTool("pdftotext", { pdf, "-" });
    EXPECT_TRUE(text.indexOf("Ann Able") < text.indexOf("Bob Baker") && text.indexOf("Bob Baker") < text.indexOf("Cid Cole"))
        << text.toStdString();
    r = RunCli({ "render", card, pdf, "--bleed", "3mm", "--data", csv, "--record", "2" });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(RunTool("pdftotext", { pdf, "-" }).trimmed(), "Bob Baker");
    r = RunCli({ "render", card, dir.filePath("bad.pdf"), "--bleed", "3mm", "--data", csv, "--record", "9" });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("bad.pdf")));
}

TEST(CliPrintShop, RefusesWhatItCannotDoInOneLine)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path(), "card.CDW", -12, false);
    const QString pdf = dir.filePath("out.pdf");
    const QStringList cases[] = {
        { "render", card, pdf, "--bleed", "7mm" },
        { "render", card, pdf, "--bleed", "0.25in" },
        { "render", card, pdf, "--bleed", "3" },
        { "render", card, pdf, "--bleed", "-1mm" },
        { "render", card, pdf, "--bleed" },
        { "render", card, dir.filePath("out.png"), "--bleed", "3mm" },
        { "render", card, pdf, "--bleed", "3mm", "--border" },
        { "render", card, card, "--bleed", "3mm" },
        { "dump", card, "--bleed", "3mm" },
        { "preflight", card, "--crop-marks" },
        { "preflight", dir.filePath("missing.CDW") },
        { "preflight", card, "--bleed", "9mm" },
    };
    const QByteArray before = ReadFileBytes(card);
    for (const QStringList& args : cases) {
        const CliRun r = RunCli(args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 1) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_EQ(r.err.count('\n'), 1) << what << ": " << r.err.constData();
        EXPECT_FALSE(QFileInfo::exists(pdf)) << what;
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.png"))) << what;
    }
    EXPECT_EQ(ReadFileBytes(card), before);
}

TEST(CliPrintShop, PreflightPrintsOneJsonLine)
{
    QTemporaryDir dir;
    const QString clean = makeCard(dir.path(), "clean.CDW", -12, false);
    const QString faulty = makeCard(dir.path(), "faulty.CDW", 0, true);
    struct Case {
        QString card;
        QStringList options;
        bool ok;
        QStringList expected;
    };
    const Case cases[] = {
        { clean, { "--bleed", "3mm" }, true, {} },
        { clean, {}, true, {} },
        // Objects are named as the card file names them.
        { faulty, {}, false, { "text-outside-safe-area@Component2", "tiny-text@Component2" } },
        { faulty, { "--bleed", "3mm" }, false,
            { "art-short-of-bleed@Component0", "text-outside-safe-area@Component2", "tiny-text@Component2" } },
    };
    for (const Case& c : cases) {
        const CliRun r = RunCli(QStringList { "preflight", c.card } + c.options);
        const std::string what = (QFileInfo(c.card).fileName() + " " + c.options.join(' ')).toStdString();
        ASSERT_EQ(r.exitCode, 0) << what << r.err.constData();
        const QJsonObject report = onlyLine(r);
        EXPECT_EQ(report["ok"].toBool(), c.ok) << what;
        QStringList found = codes(report);
        found.sort();
        EXPECT_EQ(found.join(' ').toStdString(), c.expected.join(' ').toStdString()) << what << ": " << r.out.constData();
    }
}

} // namespace
