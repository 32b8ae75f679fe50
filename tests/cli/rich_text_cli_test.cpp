#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "surface/card_panel.h"
#include "cli_run.h"
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A card holding one rich-text label whose document LibreOffice wrote.
QString makeRichCard(const QString& folder, QByteArray* rtf)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    TRichTextControl master(&owner, QString::fromLatin1(kMasterRichTextName));
    panel.SetPanelSize(336, 192);
    auto* label = TQPRichBaseLabel::CreateForTool(&owner);
    panel.PlaceNewObject(label, QRect(20, 20, 290, 150));
    *rtf = readFile(QStringLiteral(CARDORA_TEST_DATA "/rtf/libreoffice.rtf")) + QByteArray(4, '\0');
    for (const PropertyDecl& d : label->Properties())
        if (d.kind == PropKind::Binary)
            d.setBinary(*label, *rtf);
    const QString path = folder + "/rich.CDW";
    panel.SaveCardFile(path);
    return path;
}

auto& cli = cardora::test::RunCli;

} // namespace

// The batch tool's commands on a card with rich text: the document travels
// byte for byte, paints and prints as text.
TEST(CliRichText, EveryCommandHandlesRichText)
{
    QTemporaryDir dir;
    QByteArray rtf;
    const QString card = makeRichCard(dir.path(), &rtf);
    ASSERT_GT(rtf.size(), 100);

    const auto dump = cli({ "dump", card });
    ASSERT_EQ(dump.exitCode, 0) << dump.err.constData();
    const QJsonArray objects = QJsonDocument::fromJson(dump.out).object()["objects"].toArray();
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects[0].toObject()["class"].toString(), "TQPRichBaseLabel");
    const QJsonArray first = objects[0].toObject()["properties"].toArray();
    QStringList paths;
    for (const QJsonValue& v : first)
        paths << v.toArray()[0].toString();
    EXPECT_EQ(paths.mid(paths.indexOf("RTFText.Data")), QStringList({ "RTFText.Data", "BorderStyle", "Transparent", "BGColor" }));
    for (const QJsonValue& v : first)
        if (v.toArray()[0].toString() == "RTFText.Data")
            EXPECT_EQ(v.toArray()[1].toObject()["binary"].toInt(), rtf.size());

    const QString resaved = dir.filePath("resaved.CDW");
    const auto resave = cli({ "resave", card, resaved });
    ASSERT_EQ(resave.exitCode, 0) << resave.err.constData();
    // Objects read are renamed; from the document on, the bytes are the same.
    const QByteArray before = readFile(card), after = readFile(resaved);
    ASSERT_GE(before.indexOf("RTFText.Data"), 0);
    EXPECT_EQ(after.mid(after.indexOf("RTFText.Data")), before.mid(before.indexOf("RTFText.Data")));

    const QString png = dir.filePath("rich.png");
    const auto render = cli({ "render", card, png });
    ASSERT_EQ(render.exitCode, 0) << render.err.constData();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    int dark = 0, red = 0;
    for (int y = 21; y < 169; ++y)
        for (int x = 21; x < 309; ++x) {
            const QRgb c = image.pixel(x, y);
            dark += qGray(c) < 100;
            red += qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
        }
    EXPECT_GT(dark, 300) << "the words";
    EXPECT_GT(red, 20) << "the red words";
    EXPECT_EQ(qGray(image.pixel(20, 20)), 0) << "the frame";

    const QString pdf = dir.filePath("sheet.pdf");
    const auto print = cli({ "print", card, pdf, "--positions", "1" });
    ASSERT_EQ(print.exitCode, 0) << print.err.constData();
    const QString text = QString::fromUtf8(cardora::test::RunProgram("pdftotext", { pdf, "-" }).out);
    EXPECT_TRUE(text.contains("Centred line")) << text.toStdString();
    EXPECT_TRUE(text.contains("Red text")) << text.toStdString();
}
