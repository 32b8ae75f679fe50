// The pre-flight check finds each fault planted on a card, wherever it sits
// (each edge, corners, turned text, different card sizes and bleeds), and
// nothing on a clean card.
#include "shop_card.h"
#include "objects/pictures/image_object.h"
#include "objects/qrcode/qr_code.h"
#include "printing/preflight.h"
#include <QBuffer>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCursor>
#include <QTextCharFormat>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace cardora;
using namespace cardora::test;

namespace {

constexpr double kMm = 25.4;
const QSizeF kUs(3.5, 2.0);
const QSizeF kEu(85 / kMm, 55 / kMm);

QByteArray pictureBytes(QSize size, const char* format)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(qRgb(30, 90, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(img);
    return bytes;
}

TPicture picture(QSize size, const char* format = "bmp")
{
    TPicture p;
    p.LoadFromBytes(pictureBytes(size, format), QString("picture.") + format);
    return p;
}

const QByteArray kSvg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="1in" height="0.5in" viewBox="0 0 96 48">)"
                        R"(<rect x="2" y="4" width="40" height="40" fill="#c02020"/></svg>)";

struct Obj {
    QString kind;
    QRect box;
    QString text;
    std::function<void(TQGraphicControl&)> configure = [](TQGraphicControl&) {};
};

auto pointSize(int points) { return [points](TQGraphicControl& o) { SetProperty(o, "Font.Size", points); }; }
auto withPicture(QSize pixels, const char* format = "bmp")
{
    return [pixels, format](TQGraphicControl& o) {
        static_cast<TQImage&>(o).SetPicture(picture(pixels, format));
        SetProperty(o, "Stretch", 1);
    };
}
const char* const kLongAddress =
    "https://example.com/a/very/long/address/that/makes/many/modules/in/the/code/and/more/text/until/each/dot/"
    "is/smaller/than/a/quarter/of/a/millimetre/once/printed/at/this/size/on/the/card/0123456789012345678901234567"
    "https://example.com/a/very/long/address/that/makes/many/modules/in/the/code/and/more/text/until/each/dot/"
    "is/smaller/than/a/quarter/of/a/millimetre/once/printed/at/this/size/on/the/card/0123456789012345678901234567"
    "https://example.com/a/very/long/address/that/makes/many/modules/in/the/code/and/more/text/until/each/dot/"
    "is/smaller/than/a/quarter/of/a/millimetre/once/printed/at/this/size/on/the/card/0123456789012345678901234567";

auto encoding(const char* text)
{
    return [text](TQGraphicControl& o) { static_cast<TQRCode&>(o).SetData(text); };
}
auto filled() { return [](TQGraphicControl& o) { SetProperty(o, "Brush.Color", 0x2040C0); }; }
auto turned(int angle)
{
    return [angle](TQGraphicControl& o) {
        SetProperty(o, "Angle", angle);
        SetProperty(o, "Font.Size", 9);
    };
}

struct Case {
    const char* name;
    QSizeF card;
    double bleed;
    std::vector<Obj> objects;
    // code and index of the object ("art" for the background art)
    std::set<std::pair<QString, QString>> expected;
    QSize art = QSize(); // background art of this many pixels
};

std::vector<Case> cases()
{
    const double b3 = 3 / kMm;
    std::vector<Obj> clean = {
        { "TQBusinessCardLabel", QRect(24, 24, 150, 24), "Jane Example", pointSize(12) },
        { "TQMultiLineLabel", QRect(24, 60, 150, 50), "12 Harbour Road", pointSize(9) },
        { "TQPRichBaseLabel", QRect(24, 115, 150, 30), "www.example.com" },
        { "TQPCircleText", QRect(200, 20, 90, 90), "QUALITY", pointSize(8) },
        { "TQSuperText", QRect(180, 110, 120, 30), "Acme", pointSize(16) },
        { "TQImage", QRect(120, 20, 60, 40), QString(), withPicture(QSize(600, 400)) },
        { "TQImage", QRect(120, 64, 96, 48), QString(), withPicture(QSize(1, 1), "svg") },
        // A band over the bottom edge into the bleed, past both sides.
        { "TBCShapes", QRect(-12, 160, 360, 64), QString(), filled() },
        { "TBCShapes", QRect(60, 150, 30, 20), QString(), filled() },
    };
    return {
        { "clean US card, 3 mm bleed", kUs, b3, clean, {} },
        { "clean EU card, 1/8 in bleed", kEu, 0.125, clean, {} },
        { "clean US card, no bleed", kUs, 0.0, clean, {} },
        { "text just outside the safe area at each edge and corner", kUs, b3,
            {
                { "TQBusinessCardLabel", QRect(8, 60, 120, 24), "Left", pointSize(10) },
                { "TQBusinessCardLabel", QRect(140, 6, 120, 24), "Top", pointSize(10) },
                { "TQBusinessCardLabel", QRect(200, 80, 130, 24), "Right", pointSize(10) },
                { "TQMultiLineLabel", QRect(24, 160, 100, 30), "Bottom", pointSize(9) },
                { "TQSuperText", QRect(296, 168, 50, 30), "Corner", pointSize(12) },
                { "TQBusinessCardLabel", QRect(316, 40, 20, 100), "Turned", turned(90) },
                { "TQPRichBaseLabel", QRect(30, 0, 100, 30), "Rich" },
                { "TQPCircleText", QRect(0, 110, 70, 70), "ROUND", pointSize(8) },
            },
            { { "text-outside-safe-area", "0" }, { "text-outside-safe-area", "1" }, { "text-outside-safe-area", "2" },
                { "text-outside-safe-area", "3" }, { "text-outside-safe-area", "4" }, { "text-outside-safe-area", "5" },
                { "text-outside-safe-area", "6" }, { "text-outside-safe-area", "7" } } },
        { "text on the safe line is inside", kEu, b3,
            { { "TQBusinessCardLabel", QRect(12, 12, 297, 24), "Edge to edge", pointSize(10) },
                { "TQBusinessCardLabel", QRect(12, 172, 80, 24), "Bottom", turned(0) } },
            {} },
        { "text on an EU card near the right edge", kEu, 0.125,
            { { "TQBusinessCardLabel", QRect(250, 90, 66, 24), "Right", pointSize(10) },
                { "TQBusinessCardLabel", QRect(20, 90, 100, 24), "Fine", pointSize(10) } },
            { { "text-outside-safe-area", "0" } } },
        { "art touching each edge short of a 3 mm bleed", kUs, b3,
            {
                { "TBCShapes", QRect(0, 50, 60, 30), QString(), filled() },
                { "TBCShapes", QRect(300, 0, 36, 30), QString(), filled() },
                { "TQLineShape", QRect(20, 186, 200, 6), QString() },
                { "TQImage", QRect(0, 100, 60, 40), QString(), withPicture(QSize(600, 400)) },
                { "TBCShapes", QRect(1, 140, 30, 20), QString(), filled() },  // a hair in from the edge
                { "TBCShapes", QRect(-5, 20, 30, 20), QString(), filled() },  // part way into the bleed
                { "TSuperShape", QRect(330, 60, 10, 30), QString() },         // over the right edge, short of 3 mm
                { "TBCShapes", QRect(4, 150, 30, 20), QString(), filled() },  // not touching
                { "TBCShapes", QRect(-12, 120, 30, 20), QString(), filled() }, // reaches the bleed
                { "TBCShapes", QRect(-11, 30, 10, 20), QString(), filled() },  // all in the bleed
                { "TBCShapes", QRect(400, 30, 10, 20), QString(), filled() },  // beyond it
            },
            { { "art-short-of-bleed", "0" }, { "art-short-of-bleed", "1" }, { "art-short-of-bleed", "2" },
                { "art-short-of-bleed", "3" }, { "art-short-of-bleed", "4" }, { "art-short-of-bleed", "5" },
                { "art-short-of-bleed", "6" } } },
        { "art at the edge without a bleed is fine", kUs, 0.0,
            { { "TBCShapes", QRect(0, 50, 60, 30), QString(), filled() },
                { "TBCShapes", QRect(300, 0, 36, 30), QString(), filled() } },
            {} },
        { "art to the bleed of 1/8 in on an EU card", kEu, 0.125,
            { { "TBCShapes", QRect(-12, -12, 345, 40), QString(), filled() },
                { "TBCShapes", QRect(-12, 180, 345, 40), QString(), filled() },
                { "TBCShapes", QRect(310, 50, 11, 30), QString(), filled() } },
            { { "art-short-of-bleed", "2" } } },
        { "pictures under 300 pixels per inch where placed", kUs, b3,
            { { "TQImage", QRect(40, 40, 96, 64), QString(), withPicture(QSize(48, 32)) },
                { "TQImage", QRect(150, 40, 96, 64), QString(), withPicture(QSize(300, 200)) },
                { "TQImage", QRect(40, 110, 96, 64), QString(), withPicture(QSize(299, 600), "png") },
                { "TQImage", QRect(150, 110, 96, 64), QString(), withPicture(QSize(1200, 800), "jpeg") } },
            { { "low-resolution-picture", "0" }, { "low-resolution-picture", "2" } } },
        { "tiny text in every text kind", kEu, b3,
            { { "TQBusinessCardLabel", QRect(24, 24, 100, 20), "Five", pointSize(5) },
                { "TQBusinessCardLabel", QRect(24, 50, 100, 20), "Six", pointSize(6) },
                { "TQMultiLineLabel", QRect(24, 80, 100, 30), "Four", pointSize(4) },
                { "TQSuperText", QRect(150, 24, 100, 20), "Five", pointSize(5) },
                { "TQPCircleText", QRect(150, 60, 80, 80), "FIVE", pointSize(5) },
                { "TQPRichBaseLabel", QRect(24, 130, 150, 30), "Rich", [](TQGraphicControl& o) {
                     static_cast<TQPRichBaseLabel&>(o); // the text below has a 5 pt part
                 } } },
            { { "tiny-text", "0" }, { "tiny-text", "2" }, { "tiny-text", "3" }, { "tiny-text", "4" },
                { "tiny-text", "5" } } },
        { "QR codes too small to scan, and ones that scan", kEu, b3,
            {
                { "TQRCode", QRect(20, 20, 40, 40), QString(), encoding("https://example.com") },   // 10.6 mm
                { "TQRCode", QRect(80, 20, 96, 96), QString(), encoding("https://example.com") },   // 25.4 mm
                // A long text makes many dots: each under 0.25 mm though the code is 20 mm wide.
                { "TQRCode", QRect(190, 20, 76, 76), QString(), encoding(kLongAddress) },
                // A one-character code of 29 modules with its quiet zone: 15.3 mm without it.
                { "TQRCode", QRect(230, 110, 80, 80), QString(), encoding("1") },
            },
            { { "qr-too-small", "0" }, { "qr-too-small", "2" } } },
        { "hidden objects do not print and are not checked", kUs, b3,
            { { "TQBusinessCardLabel", QRect(0, 0, 100, 20), "Hidden", [](TQGraphicControl& o) {
                   SetProperty(o, "Font.Size", 4);
                   o.SetVisible(false);
               } } },
            {} },
        { "background art: low resolution and short of the bleed", kUs, b3, {},
            { { "art-short-of-bleed", "art" }, { "low-resolution-picture", "art" } }, QSize(350, 200) },
        { "background art at 300 ppi without a bleed", kUs, 0.0, {}, {}, QSize(1050, 600) },
    };
}

TEST(Preflight, FindsEachPlantedFaultAndNothingOnACleanCard)
{
    for (const Case& c : cases()) {
        ShopCard card(c.card);
        int i = 0;
        for (const Obj& o : c.objects) {
            TQGraphicControl* made = AddKind(card.owner, card.panel, o.kind, o.box, o.text, o.configure);
            ASSERT_NE(made, nullptr) << c.name << ": " << o.kind.toStdString();
            made->SetName(QString::number(i++));
        }
        // A rich label's text with a 5 pt part, where the case asks for it.
        for (TQGraphicControl* o : card.panel.Objects())
            if (auto* rich = dynamic_cast<TQPRichBaseLabel*>(o); rich && QByteArray(c.name).startsWith("tiny")) {
                QTextDocument doc;
                QTextCursor cursor(&doc);
                QTextCharFormat big, small;
                big.setFontPointSize(10);
                small.setFontPointSize(5);
                cursor.insertText("Rich ", big);
                cursor.insertText("small print", small);
                rich->SetRTFText(doc);
            }
        TPicture art;
        if (c.art.isValid())
            art = picture(c.art);
        TPreflightOptions options;
        options.CardInches = c.card;
        options.BleedInches = c.bleed;
        options.Art = c.art.isValid() ? &art : nullptr;
        std::set<std::pair<QString, QString>> found;
        for (const TPreflightWarning& w : PreflightCard(card.panel.Objects(), options)) {
            found.insert({ w.Code, w.Object == "background art" ? QString("art") : w.Object });
            EXPECT_FALSE(w.Message.isEmpty()) << c.name;
        }
        auto show = [](const std::set<std::pair<QString, QString>>& s) {
            QStringList out;
            for (const auto& [code, object] : s)
                out << code + "@" + object;
            return out.join(' ').toStdString();
        };
        EXPECT_TRUE(found == c.expected) << c.name << "\n  found:    " << show(found) << "\n  expected: " << show(c.expected);
    }
}

TEST(Preflight, ReportIsOneJsonLineWithItsKeysInOrder)
{
    const std::vector<TPreflightWarning> none;
    EXPECT_EQ(PreflightJson(none), QByteArray(R"({"ok": true, "warnings": []})"));
    const std::vector<TPreflightWarning> two = { { "tiny-text", "Label \"1\"", "Text in 5 pt\nis small" },
        { "art-short-of-bleed", "Shape1", "Short" } };
    const QByteArray json = PreflightJson(two);
    EXPECT_FALSE(json.contains('\n'));
    const QJsonObject doc = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(doc["ok"], QJsonValue(false));
    const QJsonArray warnings = doc["warnings"].toArray();
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0].toObject()["object"].toString(), "Label \"1\"");
    EXPECT_EQ(warnings[0].toObject()["message"].toString(), "Text in 5 pt\nis small");
    EXPECT_LT(json.indexOf("\"code\""), json.indexOf("\"object\""));
    EXPECT_LT(json.indexOf("\"object\""), json.indexOf("\"message\""));
}

} // namespace
