#include "objects/circletext/circle_text.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/shapes.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"
#include "surface/card_panel.h"
#include "cli_run.h"
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

using namespace cardora;

namespace {
using cardora::test::CliRun;
auto& cli = cardora::test::RunCli;
auto& readAll = cardora::test::ReadFileBytes;
void writeAll(const QString& path, const QByteArray& data) { ASSERT_TRUE(cardora::test::WriteFileBytes(path, data)); }

// A card with one object of every kind the program has, saved as File › Save does.
QString makeCard(const QString& folder)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    auto* rect = new TBCShapes(&owner);
    rect->Loaded();
    panel.PlaceNewObject(rect, QRect(10, 10, 120, 60));
    rect->Pen()->SetWidth(3);
    rect->Brush()->SetColor(0x00FFFF);
    auto* line = new TQLineShape(&owner);
    line->Loaded();
    panel.PlaceNewObject(line, QRect(150, 20, 100, 10));
    auto* label = new TQBusinessCardLabel(&owner);
    label->Loaded();
    panel.PlaceNewObject(label, QRect(20, 100, 150, 20));
    label->SetCaption("Ann Example");
    auto* symbol = new TQSymbolLabel(&owner);
    symbol->Loaded();
    panel.PlaceNewObject(symbol, QRect(250, 100, 30, 30));
    auto* lines = new TQMultiLineLabel(&owner);
    lines->Loaded();
    panel.PlaceNewObject(lines, QRect(20, 130, 200, 50));
    lines->SetItems({ "12 Long Street", "Springfield" });
    const QString path = folder + "/card.CDW";
    panel.SaveCardFile(path);
    return path;
}
} // namespace

TEST(Cli, DumpListsObjectsAndPropertiesInWritingOrder)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    const CliRun r = cli({ "dump", card });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
    const QJsonArray objects = doc.object()["objects"].toArray();
    ASSERT_EQ(objects.size(), 5);
    EXPECT_EQ(objects[0].toObject()["class"].toString(), "TBCShapes");
    EXPECT_EQ(objects[0].toObject()["name"].toString(), "Component0");
    EXPECT_EQ(objects[1].toObject()["class"].toString(), "TQLineShape");
    EXPECT_EQ(objects[4].toObject()["name"].toString(), "Component4");
    const QJsonArray props = objects[0].toObject()["properties"].toArray();
    ASSERT_GE(props.size(), 5);
    EXPECT_EQ(props[0].toArray()[0].toString(), "Left");
    EXPECT_EQ(props[0].toArray()[1].toInt(), 10);
    EXPECT_EQ(props[1].toArray()[0].toString(), "Top");
    bool sawBrushColor = false, sawLocked = false;
    for (const QJsonValue& v : props) {
        const QJsonArray e = v.toArray();
        if (e[0].toString() == "Brush.Color") {
            sawBrushColor = true;
            EXPECT_EQ(e[1].toString(), "clYellow");
        }
        if (e[0].toString() == "Locked") {
            sawLocked = true;
            EXPECT_TRUE(e[1].isBool());
        }
    }
    EXPECT_TRUE(sawBrushColor);
    EXPECT_TRUE(sawLocked);
    bool sawItems = false;
    for (const QJsonValue& v : objects[4].toObject()["properties"].toArray())
        if (v.toArray()[0].toString() == "Items.Strings") {
            sawItems = true;
            EXPECT_EQ(v.toArray()[1].toArray().size(), 2);
        }
    EXPECT_TRUE(sawItems);
}

TEST(Cli, ResaveIsByteForByte)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    // Objects drawn in this run are named Special1...; reading names them
    // Component0... So a card written after being opened comes back unchanged.
    const QString opened = dir.filePath("opened.CDW");
    const QString out = dir.filePath("again.CDW");
    ASSERT_EQ(cli({ "resave", card, opened }).exitCode, 0);
    const CliRun r = cli({ "resave", opened, out });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(readAll(out), readAll(opened));
    EXPECT_EQ(cli({ "dump", card }).out, cli({ "dump", out }).out);
    writeAll(dir.filePath("empty.CDW"), QByteArray("\x01\x00", 2));
    ASSERT_EQ(cli({ "resave", dir.filePath("empty.CDW"), out }).exitCode, 0);
    EXPECT_EQ(readAll(out), QByteArray("\x01\x00", 2));
}

TEST(Cli, RenderDrawsTheCardAtNinetySixPixelsPerInch)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    const QString png = dir.filePath("card.png");
    const CliRun r = cli({ "render", card, png, "--border" });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QImage img(png);
    ASSERT_EQ(img.size(), QSize(336, 192));
    EXPECT_EQ(img.pixel(0, 100) & 0xFFFFFF, 0x000000u);  // the border
    EXPECT_EQ(img.pixel(335, 191) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(img.pixel(60, 40) & 0xFFFFFF, 0xFFFF00u);  // the yellow rectangle
    EXPECT_EQ(img.pixel(300, 60) & 0xFFFFFF, 0xFFFFFFu);

    // The layout comes only from --prefs: a 2 x 3.5 inch card is 192 x 336.
    writeAll(dir.filePath("CDW.INI"), "[Layout]\nWidth=2000\nHeight=3500\n");
    ASSERT_EQ(cli({ "render", card, png, "--prefs", dir.filePath("CDW.INI") }).exitCode, 0);
    EXPECT_EQ(QImage(png).size(), QSize(192, 336));
}

TEST(Cli, UnreadableCardsFailWithTheReadersMessageOnly)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("bad.CDW"), "\x02junk");
    CliRun r = cli({ "dump", dir.filePath("bad.CDW") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed(), "Invalid stream format");

    writeAll(dir.filePath("class.CDW"), QByteArray("\x01TPF0\x04TFoo\x01" "A\x00\x00\x00", 14));
    r = cli({ "dump", dir.filePath("class.CDW") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed(), "Class TFoo not found");

    r = cli({ "resave", dir.filePath("class.CDW"), dir.filePath("out.CDW") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.CDW")));

    r = cli({ "dump", dir.filePath("missing.CDW") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(cli({ "frobnicate" }).exitCode, 1);
    EXPECT_EQ(cli({ "--help" }).exitCode, 0);
}

TEST(Cli, MissingPreferencesFileIsAnError)
{
    QTemporaryDir dir;
    const QString card = makeCard(dir.path());
    const CliRun r = cli({ "render", card, dir.filePath("x.png"), "--prefs", dir.filePath("nowhere.ini") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Cannot open file")) << r.err.constData();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

TEST(Cli, HeadlineKindsDumpResaveRenderAndPrint)
{
    QTemporaryDir dir;
    QString card;
    {
        QObject owner;
        CardPanel panel(nullptr, &owner);
        panel.SetPanelSize(336, 192);
        auto* headline = TQSuperText::CreateForTool(&owner);
        panel.PlaceNewObject(headline, QRect(10, 10, 300, 70));
        headline->SetCaption("Headline");
        headline->SetShadowDepth(3);
        auto* circle = TQPCircleText::CreateForTool(&owner);
        panel.PlaceNewObject(circle, QRect(200, 90, 100, 100));
        circle->SetCaption("AROUND");
        card = dir.filePath("headline.CDW");
        panel.SaveCardFile(card);
    }
    // Each command, and what its output must show.
    struct Step {
        QStringList args;
        std::function<void(const CliRun&)> check;
    };
    const QString opened = dir.filePath("opened.CDW"), again = dir.filePath("again.CDW");
    const QString png = dir.filePath("headline.png"), pdf = dir.filePath("headline.pdf");
    const std::vector<Step> steps = {
        { { "dump", card },
            [](const CliRun& r) {
                const QJsonArray objects = QJsonDocument::fromJson(r.out).object()["objects"].toArray();
                ASSERT_EQ(objects.size(), 2);
                EXPECT_EQ(objects[0].toObject()["class"].toString(), "TQSuperText");
                EXPECT_EQ(objects[1].toObject()["class"].toString(), "TQPCircleText");
            } },
        { { "resave", card, opened }, [](const CliRun&) {} },
        { { "resave", opened, again }, [&](const CliRun&) { EXPECT_EQ(readAll(again), readAll(opened)); } },
        { { "render", card, png },
            [&](const CliRun&) {
                const QImage img(png);
                ASSERT_EQ(img.size(), QSize(336, 192));
                // Blue gradient letters at the left of the headline, yellower to the right.
                int blue = 0, ink = 0;
                for (int y = 10; y < 80; ++y)
                    for (int x = 10; x < 60; ++x)
                        blue += qBlue(img.pixel(x, y)) > 200 && qRed(img.pixel(x, y)) < 80;
                for (int y = 90; y < 190; ++y)
                    for (int x = 200; x < 300; ++x)
                        ink += qGray(img.pixel(x, y)) < 100;
                EXPECT_GT(blue, 50);
                EXPECT_GT(ink, 30); // the circle's letters
            } },
        { { "print", card, pdf },
            [&](const CliRun&) {
                const QString out = QString::fromUtf8(cardora::test::RunProgram("pdftotext", { pdf, "-" }).out);
                // Super text prints as the panel draws it, letters as outlines;
                // circle text stays text.
                EXPECT_FALSE(out.contains("Headline"));
                for (const QChar c : QStringLiteral("AROUND"))
                    EXPECT_TRUE(out.contains(c)) << out.toStdString();
            } },
    };
    for (const Step& s : steps) {
        const CliRun r = cli(s.args);
        ASSERT_EQ(r.exitCode, 0) << s.args.join(' ').toStdString() << ": " << r.err.constData();
        s.check(r);
    }
}
