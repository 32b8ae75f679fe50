#include "core/app_folder.h"
#include "core/ini_file.h"
#include "main/help_window.h"
#include "main/main_window.h"
#include "main/personal_info_dialog.h"
#include "objects/multiline_label.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QAction>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include "main/window_fixture.h"

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {

const QStringList kFieldNames = { "pPersonalName", "pPersonalCompany", "pPersonalTitle", "pPersonalAddress1",
    "pPersonalAddress2", "pPersonalAddress3", "pPersonalPhone1", "pPersonalPhone2", "pPersonalEmail",
    "pPersonalFax" };

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList FieldTexts(QDialog& d)
{
    QStringList out;
    for (const QString& name : kFieldNames) {
        auto* edit = d.findChild<QLineEdit*>(name);
        out << (edit ? edit->text() : QStringLiteral("<missing>"));
    }
    return out;
}

void FillFields(QDialog& d, const QStringList& values)
{
    for (int i = 0; i < kFieldNames.size(); ++i)
        d.findChild<QLineEdit*>(kFieldNames[i])->setText(values[i]);
}

struct PersonalInfoFixture : cardora::test::MainWindowFixture {
    QString ini() const { return folder.filePath("CDW.INI"); }
    QStringList panelInfo() const { return window->cardPanel()->PersonalInfo(); }
};

const QStringList kNew = { "Bob Jones", "Jones & Sons", "Owner", "1 Main Street", "Springfield", "IL 62701",
    "555-0100", "555-0101", "bob@example.com", "555-0199" };

} // namespace

TEST_F(PersonalInfoFixture, DialogShowsValuesFreshFromTheFileAndOkWritesThemBack)
{
    WriteFile(ini(),
        "; kept as written\r\n[Personal]\r\nName=Ann Smith\r\nEmail=ann@example.com\r\n\r\n[Custom]\r\nX=1\r\n");
    start();
    EXPECT_EQ(panelInfo().value(0), "Ann Smith");
    EXPECT_EQ(panelInfo().value(8), "ann@example.com");

    // Edited by hand while the program runs: the dialog shows the file's values.
    QByteArray edited = FileBytes(ini());
    edited.replace("Name=Ann Smith", "Name=Ann Smith-Hall");
    const QByteArray eol = edited.contains("\r\n") ? "\r\n" : "\n";
    edited.replace("Email=ann@example.com" + eol, "Email=ann@example.com" + eol + "fax=555-0000" + eol);
    WriteFile(ini(), edited);

    QStringList shown;
    QString caption;
    QStringList labels;
    modal->dialogs.push_back([&](QDialog& d) {
        caption = d.windowTitle();
        shown = FieldTexts(d);
        auto* form = d.findChild<QFormLayout*>();
        for (int i = 0; form && i < form->rowCount(); ++i)
            if (auto* l = qobject_cast<QLabel*>(form->itemAt(i, QFormLayout::LabelRole)->widget()))
                labels << l->text();
        FillFields(d, kNew);
        return int(mrOk);
    });
    window->Action("PersonalInformation1")->trigger();

    EXPECT_EQ(caption, "Personal Information");
    EXPECT_EQ(labels, QStringList({ "Name", "Company", "Title", "Address 1", "Address 2", "Address 3", "Phone 1",
                          "Phone 2", "E-mail", "Fax" }));
    EXPECT_EQ(shown, QStringList({ "Ann Smith-Hall", "", "", "", "", "", "", "", "ann@example.com", "555-0000" }));
    // Memory, panel and file follow; the card is not marked changed.
    EXPECT_EQ(window->context().preferences().Personal, kNew);
    EXPECT_EQ(panelInfo(), kNew);
    EXPECT_FALSE(window->context().card().changesMade);
    {
        IniFile file(ini());
        const QStringList keys = { "Name", "Company", "Title", "Address1", "Address2", "Address3", "Phone1",
            "Phone2", "Email", "Fax" };
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(file.ReadString("Personal", keys[i], "?"), kNew[i]) << keys[i].toStdString();
        EXPECT_EQ(file.ReadString("Custom", "X", "?"), "1");
    }
    EXPECT_TRUE(FileBytes(ini()).startsWith("; kept as written"));

    // A restart reads them back.
    window.reset();
    start();
    EXPECT_EQ(panelInfo(), kNew);
}

TEST_F(PersonalInfoFixture, CancelWritesNothingAndChangesNothing)
{
    WriteFile(ini(), "[Personal]\r\nName=Ann Smith\r\nPhone1=555-1234\r\n");
    start();
    const QStringList before = window->context().preferences().Personal;
    const QByteArray file = FileBytes(ini());

    QStringList shown;
    modal->dialogs.push_back([&](QDialog& d) {
        shown = FieldTexts(d);
        FillFields(d, kNew);
        return int(mrCancel);
    });
    window->Action("PersonalInformation1")->trigger();
    EXPECT_EQ(shown.value(0), "Ann Smith");
    EXPECT_EQ(shown.value(6), "555-1234");
    EXPECT_EQ(FileBytes(ini()), file);
    EXPECT_EQ(window->context().preferences().Personal, before);
    EXPECT_EQ(panelInfo(), before);
    EXPECT_FALSE(window->context().card().changesMade);

    // Closing the dialog any other way is a cancel too.
    modal->dialogs.push_back([&](QDialog& d) {
        FillFields(d, kNew);
        d.reject();
        return d.result();
    });
    window->Action("PersonalInformation1")->trigger();
    EXPECT_EQ(FileBytes(ini()), file);
    EXPECT_EQ(panelInfo(), before);
}

TEST(PersonalInformationDialog, FieldsInTabOrderButtonsAndHelp)
{
    TPersonalInformation d;
    d.SetValues({ "only a name" });
    EXPECT_EQ(d.Values(), QStringList({ "only a name", "", "", "", "", "", "", "", "", "" }));
    // Tab walks the ten fields in order.
    d.show();
    d.Field(0)->setFocus();
    QApplication::setActiveWindow(&d);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(d.Field(i)->objectName(), kFieldNames[i]);
        EXPECT_EQ(QApplication::focusWidget(), d.Field(i)) << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    auto* ok = d.findChild<QPushButton*>("OKButton");
    auto* cancel = d.findChild<QPushButton*>("Cancelbutton");
    auto* help = d.findChild<QPushButton*>("Helpbutton");
    ASSERT_TRUE(ok && cancel && help);
    EXPECT_EQ(ok->text(), "Ok");
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_EQ(help->text(), "Help");
    ok->click();
    EXPECT_EQ(d.result(), mrOk);
    cancel->click();
    EXPECT_EQ(d.result(), mrCancel);
    help->click();
    EXPECT_EQ(HelpWindow::Instance().CurrentPage(), "2102.html");
    HelpWindow::Instance().hide();
}

TEST_F(PersonalInfoFixture, MultiLineToolAsksForTextThenFitsTheBox)
{
    RegisterCardObjectKinds();
    start();
    CardPanel* panel = window->cardPanel();
    panel->Font().SetName("Times New Roman");
    panel->Font().SetSize(12);
    modal->dialogs.push_back([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Multi-line Text Editor");
        d.findChild<QPlainTextEdit*>("Memo")->setPlainText("Line one\nLine two\nLine three");
        return int(mrOk);
    });
    panel->SetPanelState(PanelTool::MultiLineLabel);
    QRect r(20, 30, 200, 10);
    panel->CreateObjectForRect(r);
    ASSERT_EQ(panel->Objects().size(), 1u);
    auto* label = qobject_cast<TQMultiLineLabel*>(panel->Objects().front());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Items(), QStringList({ "Line one", "Line two", "Line three" }));
    EXPECT_EQ(label->Font()->Name(), "Times New Roman");
    EXPECT_EQ(label->Font()->Size(), 12);
    EXPECT_EQ(label->Name(), "Special1");
    EXPECT_EQ(label->BoundsRect(), QRect(20, 30, 200, 3 * label->LineHeight()));
}
