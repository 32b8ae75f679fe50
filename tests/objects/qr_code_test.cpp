#include "core/contact_card.h"
#include "core/data_file.h"
#include "core/fields.h"
#include "fake_parent.h"
#include "objects/card_dump.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/object_preview.h"
#include "objects/qrcode/qr_code.h"
#include "objects/qrcode/qr_code_dialog.h"
#include "support/qr_decode.h"
#include "support/scripted_modal.h"
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

struct QrFixture : ::testing::Test {
    FakeParent parent;
    std::shared_ptr<ScriptedModal> modal;

    void SetUp() override
    {
        modal = ScriptedModal::Install();
        RegisterCardClass<TQRCode>();
    }
    void TearDown() override { SetModalHandler(nullptr); }

    TQRCode* make(const QRect& box, const QString& data)
    {
        auto* c = TQRCode::CreateForTool(&parent.Owner);
        parent.Adopt(c);
        c->SetBounds(box.x(), box.y(), box.width(), box.height());
        c->SetData(data);
        return c;
    }
    // The object drawn on white at `scale` times its size.
    static QImage picture(const TQRCode& code, double scale = 3.0)
    {
        QImage image(int(code.Width() * scale) + 20, int(code.Height() * scale) + 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.translate(10, 10);
        p.scale(scale, scale);
        code.DrawTo(p);
        return image;
    }
};

QStringList propertyNames(TQGraphicControl* o)
{
    const QJsonObject object = QJsonDocument::fromJson(DumpCardJson({ o })).object()["objects"].toArray()[0].toObject();
    QStringList names;
    for (const QJsonValue& p : object["properties"].toArray())
        names << p.toArray()[0].toString();
    return names;
}

} // namespace

// Every property is written, in the documented order, whatever its value,
// and reads back as it was.
TEST_F(QrFixture, StoredPropertiesInOrderAndReadBack)
{
    TQRCode* code = make(QRect(20, 30, 120, 110), "https://example.com/${Name}");
    code->SetErrorLevel(ErrorCorrection::High);
    code->SetMeCard(true);
    code->SetForeColor(clNavy);
    code->SetBackColor(clYellow);
    code->SetTransparent(true);
    code->SetLocked(true);
    EXPECT_EQ(propertyNames(code), QStringList({ "Left", "Top", "Width", "Height", "Locked", "Unselectable", "Data",
                                       "ErrorLevel", "MeCard", "ForeColor", "BackColor", "Transparent" }));
    const QString dump = QString::fromUtf8(DumpCardJson({ code }));
    EXPECT_TRUE(dump.contains(R"(["ErrorLevel", "ecH"])")) << dump.toStdString();
    EXPECT_TRUE(dump.contains(R"(["ForeColor", "clNavy"])")) << dump.toStdString();

    TQLabelObjectFiler filer;
    FakeParent other;
    const auto read = filer.ReadObjects(TQLabelObjectFiler::WriteObjects({ code }), &other.Owner, &other,
        other.AdoptFunction());
    ASSERT_EQ(read.size(), 1u);
    auto* copy = qobject_cast<TQRCode*>(read[0]);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Data(), code->Data());
    EXPECT_EQ(copy->ErrorLevel(), ErrorCorrection::High);
    EXPECT_TRUE(copy->MeCard());
    EXPECT_EQ(copy->ForeColor(), clNavy);
    EXPECT_EQ(copy->BackColor(), clYellow);
    EXPECT_TRUE(copy->Transparent());
    EXPECT_EQ(copy->BoundsRect(), QRect(20, 30, 120, 110));

    // A new code's defaults are written too.
    TQRCode* plain = make(QRect(0, 0, 96, 96), TQRCode::DefaultData());
    const QString plainDump = QString::fromUtf8(DumpCardJson({ plain }));
    for (const char* entry : { R"(["Data", "${vCard}"])", R"(["ErrorLevel", "ecM"])", R"(["MeCard", false])",
             R"(["ForeColor", "clBlack"])", R"(["BackColor", "clWhite"])", R"(["Transparent", false])" })
        EXPECT_TRUE(plainDump.contains(entry)) << entry;
}

// What the code holds: the record's contact, the personal information when
// the panel shows fields as typed, and texts with fields filled in.
TEST_F(QrFixture, ContentComesFromTheCardsOwnFields)
{
    parent.Info = { "Jane Example", "Acme", "Director", "1 Road", "", "", "555 0100", "", "jane@example.com", "" };
    TFieldRecord merged;
    merged.Set("Name", "Bob Sample");
    merged.Set("Email", "bob@example.com");
    merged.Set("URL", "https://example.com/bob");
    struct Case {
        QString data;
        bool meCard;
        const TFieldRecord* record;
        QString expected;
    };
    const TFieldRecord personal = PersonalRecord(parent.Info);
    const Case cases[] = {
        { "${vCard}", false, nullptr, VCardText(personal) },
        { "${VCARD}", true, nullptr, MeCardText(personal) },
        { "${vCard}", false, &merged, VCardText(merged) },
        { "${URL}", false, &merged, "https://example.com/bob" },
        { "Call ${Phone1} or mail ${Email}", false, nullptr, "Call 555 0100 or mail jane@example.com" },
        { "${Unknown} stays", false, nullptr, "${Unknown} stays" },
        { "Text only", true, &merged, "Text only" },
    };
    TQRCode* code = make(QRect(0, 0, 150, 150), "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data.toStdString());
        parent.Record = c.record;
        code->SetData(c.data);
        code->SetMeCard(c.meCard);
        EXPECT_EQ(code->Content().toStdString(), c.expected.toStdString());
    }
    // A value that looks like a field is not filled in again.
    TFieldRecord tricky;
    tricky.Set("Name", "${Email}");
    tricky.Set("Email", "x@y.z");
    parent.Record = &tricky;
    code->SetData("${Name}|${vCard}");
    code->SetMeCard(false);
    EXPECT_TRUE(code->Content().startsWith("${Email}|BEGIN:VCARD"));
    EXPECT_TRUE(code->Content().contains("FN:${Email}"));
    // A data file needs the fields typed, not one called vCard.
    code->SetData("${vCard} ${Title} ${VCARD}");
    EXPECT_EQ(FieldNamesIn(code->TypedTexts().join(' ')), QStringList { "Title" });
}

// The printed size checks a pre-flight and the dialog share.
TEST(QrSize, ModuleAndCodeLimits)
{
    struct Case {
        double width, height;
        int modules;
        bool fits, moduleSmall, codeSmall;
    };
    const Case cases[] = {
        { 1.0, 1.0, 25, true, false, false },    // 25.4 mm / 33 = 0.77 mm, code 19.2 mm
        { 0.6, 2.0, 25, true, false, true },     // the short side counts: code 11.5 mm
        { 0.8, 0.8, 97, true, true, false },     // 20.3 mm / 105 = 0.19 mm
        { 0.4, 0.4, 57, true, true, true },
        { 0.75, 0.75, 21, true, false, true },   // 19.05 mm / 29 * 21 = 13.8 mm
        { 1.0, 1.0, 0, false, false, false },    // did not fit: no size warnings
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " in, " << c.modules);
        const QrSizeCheck check = CheckQrSize(c.width, c.height, c.modules);
        EXPECT_EQ(check.fits, c.fits);
        EXPECT_EQ(check.ModuleTooSmall(), c.moduleSmall);
        EXPECT_EQ(check.CodeTooSmall(), c.codeSmall);
        EXPECT_EQ(check.Warnings().size(), int(!c.fits) + int(check.ModuleTooSmall()) + int(check.CodeTooSmall()));
    }
    EXPECT_NEAR(CheckQrSize(1.0, 1.0, 25).moduleMm, 25.4 / 33, 1e-9);
    EXPECT_NEAR(CheckQrSize(1.0, 1.0, 25).codeMm, 25.4 / 33 * 25, 1e-9);
}

// Drawn codes decode to what they hold, at every level, in plain text and
// as a contact with names outside ASCII.
TEST_F(QrFixture, DrawnCodesDecodeAtEveryLevel)
{
    TFieldRecord person;
    person.Set("Name", QString::fromUtf8("Zoë Øster-Müller"));
    person.Set("Company", QString::fromUtf8("Bäckerei Groß; Söhne, GmbH"));
    person.Set("Phone1", "+49 221 555 0100");
    person.Set("Email", "zoe@example.de");
    parent.Record = &person;
    const QStringList contents = { "https://example.com/card?id=42", "${vCard}", "${vCard}" };
    for (int i = 0; i < contents.size(); ++i) {
        for (int level = 0; level < 4; ++level) {
            SCOPED_TRACE(testing::Message() << contents[i].toStdString() << " level " << level);
            TQRCode* code = make(QRect(0, 0, 160, 140), contents[i]);
            code->SetErrorLevel(static_cast<ErrorCorrection>(level));
            code->SetMeCard(i == 2);
            EXPECT_EQ(DecodeQrCode(picture(*code)).toStdString(), code->Content().toStdString());
        }
    }
}

// Square, centred, with four light modules all round, in the foreground
// colour on the background; transparent leaves what lies below.
TEST_F(QrFixture, SquareCentredWithQuietZone)
{
    struct Case {
        QRect box;
        bool transparent;
    };
    for (const Case& c : { Case { QRect(0, 0, 300, 150), false }, Case { QRect(0, 0, 120, 260), true } }) {
        TQRCode* code = make(c.box, "QUIET ZONE");
        code->SetForeColor(clRed);
        code->SetBackColor(clAqua);
        code->SetTransparent(c.transparent);
        QImage image(c.box.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        code->DrawTo(p);
        p.end();
        const QrMatrix& m = code->Matrix();
        const double side = std::min(c.box.width(), c.box.height());
        const double unit = side / (m.size + 8);
        const QRectF symbol((c.box.width() - side) / 2 + 4 * unit, (c.box.height() - side) / 2 + 4 * unit,
            m.size * unit, m.size * unit);
        int left = image.width(), right = -1, top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) == Qt::red) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        // The finder patterns fill three corners of the symbol.
        EXPECT_NEAR(left, symbol.left(), 1.0);
        EXPECT_NEAR(top, symbol.top(), 1.0);
        EXPECT_NEAR(right + 1, symbol.right(), 1.0);
        EXPECT_NEAR(bottom + 1, symbol.bottom(), 1.0);
        const QColor corner(image.pixel(1, 1));
        EXPECT_EQ(corner, c.transparent ? QColor(Qt::white) : QColor(Qt::cyan));
    }
}

// Too much for a code shows as a crossed box, and the dialog says so.
TEST_F(QrFixture, ContentTooLongIsCrossedOutAndWarned)
{
    TQRCode* code = make(QRect(0, 0, 100, 100), QString(2900, QChar('x')));
    code->SetErrorLevel(ErrorCorrection::High);
    EXPECT_TRUE(code->Matrix().IsEmpty());
    EXPECT_FALSE(code->SizeCheck().fits);
    code->SetErrorLevel(ErrorCorrection::Low);
    EXPECT_FALSE(code->Matrix().IsEmpty()); // 2900 bytes fit at L
    code->SetErrorLevel(ErrorCorrection::High);
    const QImage image = picture(*code, 1.0);
    EXPECT_EQ(QColor(image.pixel(10 + 50, 10 + 50)), QColor(Qt::black)); // where the cross's lines meet

    QString warnings;
    modal->dialogs.push_back([&](QDialog& d) {
        warnings = d.findChild<QLabel*>("Warnings")->text();
        return int(mrCancel);
    });
    EXPECT_FALSE(code->ShowProperties());
    EXPECT_TRUE(warnings.contains("does not fit")) << warnings.toStdString();
}

// The dialog tries each choice on its preview and warns of small prints;
// Ok gives the choices to the code, Cancel leaves it.
TEST_F(QrFixture, PropertiesDialogPreviewsWarnsAndApplies)
{
    parent.Info = { "Jane Example", "Acme" };
    // 40 pixels at 96 an inch: 10.6 mm, a contact's modules under 0.25 mm.
    TQRCode* code = make(QRect(0, 0, 40, 40), TQRCode::DefaultData());
    QStringList seen;
    modal->dialogs.push_back([&](QDialog& d) {
        auto* dialog = static_cast<TQRCodeProperties*>(&d);
        seen << dialog->WarningsLabel()->text();
        EXPECT_EQ(dialog->DataText()->toPlainText(), "${vCard}");
        EXPECT_EQ(dialog->ErrorLevelCombo()->currentIndex(), int(ErrorCorrection::Medium));
        // The preview shows the card's own contact.
        EXPECT_EQ(DecodeQrCode(picture(*dialog->Preview(), 2.0)), VCardText(PersonalRecord(parent.Info)));
        dialog->DataText()->setPlainText("HI");
        dialog->ErrorLevelCombo()->setCurrentIndex(int(ErrorCorrection::Quartile));
        dialog->MeCardCheck()->setChecked(true);
        EXPECT_EQ(dialog->Preview()->Content(), "HI");
        EXPECT_EQ(DecodeQrCode(picture(*dialog->Preview(), 2.0)), "HI");
        seen << dialog->WarningsLabel()->text();
        d.findChild<QPushButton*>("OkButton")->click();
        return d.result();
    });
    const int changes = parent.ChangedCount;
    EXPECT_TRUE(code->ShowProperties());
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[0].contains("under 0.25 mm")) << seen[0].toStdString();
    EXPECT_TRUE(seen[0].contains("under 15 mm"));
    EXPECT_FALSE(seen[1].contains("0.25 mm")) << seen[1].toStdString(); // 21 modules: 0.37 mm
    EXPECT_TRUE(seen[1].contains("under 15 mm"));
    EXPECT_EQ(code->Data(), "HI");
    EXPECT_EQ(code->ErrorLevel(), ErrorCorrection::Quartile);
    EXPECT_TRUE(code->MeCard());
    EXPECT_GT(parent.ChangedCount, changes);

    // An empty content is refused; Cancel then leaves the code as it was.
    modal->dialogs.push_back([&](QDialog& d) {
        auto* dialog = static_cast<TQRCodeProperties*>(&d);
        dialog->DataText()->setPlainText("  ");
        d.findChild<QPushButton*>("OkButton")->click();
        EXPECT_FALSE(d.isVisible() && d.result() == QDialog::Accepted);
        return int(mrCancel);
    });
    EXPECT_FALSE(code->ShowProperties());
    EXPECT_EQ(modal->messages.back().text, "Please enter what the code should hold.");
    EXPECT_EQ(code->Data(), "HI");
}

// The object menu's own items change the code (each one step of undo on a panel).
TEST_F(QrFixture, MenuItemsChangeColoursAndTransparency)
{
    TQRCode* code = make(QRect(0, 0, 100, 100), "MENU");
    QMenu* menu = code->ObjectMenu();
    auto item = [&](const QString& text) -> QAction* {
        for (QAction* a : menu->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    };
    for (const char* text : { "Foreground Color", "Background Color", "Transparent", "Properties" })
        ASSERT_NE(item(text), nullptr) << text;
    item("Transparent")->trigger();
    EXPECT_TRUE(code->Transparent());
    modal->colors = { QColor(0, 0, 128) };
    item("Foreground Color")->trigger();
    EXPECT_EQ(code->ForeColor(), clNavy);
    modal->colors = { QColor(255, 255, 0) };
    item("Background Color")->trigger();
    EXPECT_EQ(code->BackColor(), clYellow);
    EXPECT_FALSE(code->Transparent()); // a background colour is shown
}

// A contact with every field, special characters in each, comes back field
// for field from the scanned code.
TEST_F(QrFixture, VCardWithEveryFieldRoundTrips)
{
    TFieldRecord person;
    const QStringList values = { QString::fromUtf8("Siân O'Brien-Ñúñez"), "Smith, Jones; Partners",
        "Chief \\ Engineer", "Unit 4, Mill Lane", "Leeds; West Yorkshire", "LS1 4AB\nUK", "+44 113 555 0100",
        "+44 7700 900123", "sian@example.co.uk", "+44 113 555 0101" };
    for (int i = 0; i < values.size(); ++i)
        person.Set(PersonalFieldNames()[i], values[i]);
    person.Set("URL", "https://example.co.uk/~sian?a=1;b=2");
    parent.Record = &person;
    TQRCode* code = make(QRect(0, 0, 200, 200), "${vCard}");
    const QString scanned = DecodeQrCode(picture(*code, 3.0));
    ASSERT_EQ(scanned.toStdString(), VCardText(person).toStdString());
    // Read back by the program's own vCard reader, field for field.
    const TDataFile read = ReadVCard(scanned.toUtf8(), "scanned.vcf");
    ASSERT_TRUE(read.Ok()) << read.error.toStdString();
    ASSERT_EQ(read.records.size(), 1);
    for (const QString& name : VCardFieldNames())
        EXPECT_EQ(read.records[0].ValueOr(name).toStdString(), person.ValueOr(name).toStdString()) << name.toStdString();
}
