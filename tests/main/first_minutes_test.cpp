// What a new user meets in the first minutes: drawing tools whose dialog is
// cancelled, F1 and the help window, the rich-text style keys, where file
// dialogs start, and the main window's first look.
#include "core/app_folder.h"
#include "core/context_help.h"
#include "main/help_window.h"
#include "main/mru_list.h"
#include "objects/class_registry.h"
#include "objects/richtext_label/rich_text_editor.h"
#include "objects/richtext_label/rich_text_edit.h"
#include "objects/text_label_dialogs.h"
#include "support/plain_object.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include "window_fixture.h"
#include <QApplication>
#include <QFile>
#include <QToolButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>
#include <QUndoStack>

using namespace cardora;
using namespace cardora::test;

namespace {

struct FirstMinutes : MainWindowFixture {
    CardPanel& panel() { return *window->cardPanel(); }
    void drag(const char* tool, QPoint from, QPoint to)
    {
        window->ToolButton(tool)->click();
        QTest::mousePress(&panel(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&panel(), to);
        QTest::mouseRelease(&panel(), Qt::LeftButton, {}, to);
    }
};

// Cancelling the dialog a drawing tool opens adds nothing: no object, no
// undo step, no change mark. Confirming it keeps the object as one step.
TEST_F(FirstMinutes, CancellingTheNewObjectsDialogAddsNothing)
{
    RegisterCardObjectKinds();
    start();
    const struct {
        const char* tool;
        const char* className;
    } tools[] = {
        { "DrawLabelButton", "TQBusinessCardLabel" },
        { "DrawMLTextButton", "TQMultiLineLabel" },
        { "DrawSymbolButton", "TQSymbolLabel" },
        { "DrawImageButton", "TQImage" },
        { "DrawSupershape", "TSuperShape" },
        { "DrawRichText", "TQPRichBaseLabel" },
        { "DrawSuperTextButton", "TQSuperText" },
        { "DrawCircleTextbutton", "TQPCircleText" },
        { "DrawQRCodeButton", "TQRCode" },
    };
    for (const auto& t : tools) {
        SCOPED_TRACE(t.tool);
        modal->dialogs.push_back([](QDialog&) { return int(mrCancel); });
        drag(t.tool, QPoint(30, 40), QPoint(150, 90));
        EXPECT_TRUE(modal->dialogs.empty()) << "no dialog opened";
        EXPECT_TRUE(panel().Objects().empty());
        EXPECT_EQ(window->context().undoStack().count(), 0);
        EXPECT_FALSE(window->context().card().changesMade);
        EXPECT_EQ(window->windowTitle(), "Cardora");
        window->ToolButton("Pointerbutton")->click();
    }
    // The same tools confirmed: the object stays, selected, as one step.
    int steps = 0;
    for (const char* tool : { "DrawLabelButton", "DrawSupershape", "DrawQRCodeButton" }) {
        SCOPED_TRACE(tool);
        modal->dialogs.push_back([](QDialog&) { return int(mrOk); });
        drag(tool, QPoint(30, 40 + 60 * steps), QPoint(150, 90 + 60 * steps));
        ++steps;
        ASSERT_EQ(panel().Objects().size(), size_t(steps));
        EXPECT_TRUE(panel().IsSelected(panel().Objects().back()));
        EXPECT_EQ(window->context().undoStack().count(), steps);
        EXPECT_TRUE(window->context().card().changesMade);
        window->ToolButton("Pointerbutton")->click();
    }
}

// Each registered tool has its button with its icon, tip and what's-this,
// and F1 on it opens its help page, which is shipped.
TEST_F(FirstMinutes, EveryRegisteredToolHasItsButtonIconTextsAndHelp)
{
    start();
    HelpWindow& help = HelpWindow::Instance();
    ASSERT_GE(ObjectKinds::ToolCount(), 13);
    for (int n = 1; n <= ObjectKinds::ToolCount(); ++n) {
        const ObjectTool& tool = *ObjectKinds::Tool(n);
        SCOPED_TRACE(tool.buttonName.toStdString());
        QAbstractButton* button = window->ToolButton(tool.buttonName);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->toolTip().startsWith(tool.noun + " tool\n")) << button->toolTip().toStdString();
        EXPECT_FALSE(tool.whatsThis.isEmpty());
        EXPECT_EQ(button->whatsThis(), tool.whatsThis);
        EXPECT_TRUE(QFile::exists(":/icons/" + tool.icon + ".svg"));
        EXPECT_FALSE(button->icon().isNull());
        button->click();
        EXPECT_EQ(int(panel().PanelState()), n);
        if (tool.helpTopic) {
            const QString page = QString::number(tool.helpTopic) + ".html";
            EXPECT_TRUE(QFile::exists(HelpFolder() + page)) << page.toStdString();
            help.close();
            button->setFocus();
            QTest::keyClick(button, Qt::Key_F1);
            EXPECT_EQ(help.CurrentPage(), page);
        }
    }
    help.close();
    window->ToolButton("Pointerbutton")->click();
}

// F1 opens the topic of the control with the focus, else presses the
// window's Help button; the contents link of a page lists every page.
TEST_F(FirstMinutes, F1OpensTheHelpOfWhatHasTheFocus)
{
    start();
    HelpWindow& help = HelpWindow::Instance();
    const struct {
        const char* control;
        const char* page;
    } cases[] = {
        { "DrawLabelButton", "40004.html" },    // the tool's own dialog
        { "DrawSupershape", "40011.html" },     // another tool
        { "SetBackgroundArtButton", "2101.html" },
        { "BusinessCardPanel", "2016.html" },   // no topic: the window's Help button
        { "DrawRectanglebutton", "2016.html" }, // a tool without a dialog
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        help.close();
        auto* control = window->findChild<QWidget*>(c.control);
        ASSERT_NE(control, nullptr);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1);
        EXPECT_TRUE(help.isVisible());
        EXPECT_EQ(help.CurrentPage(), c.page);
    }

    // In a dialog: its own Help button.
    help.close();
    TGetLabelText dialog(window.get());
    dialog.show();
    dialog.LabelText()->setFocus();
    QTest::keyClick(dialog.LabelText(), Qt::Key_F1);
    EXPECT_EQ(help.CurrentPage(), "40004.html");
    // A page's "Contents" link shows the list of every page.
    auto* browser = help.findChild<QTextBrowser*>();
    browser->setSource(browser->source().resolved(QUrl("contents.html")));
    const QString contents = browser->toHtml();
    for (const char* page : { "2016.html", "40004.html", "2101.html" })
        EXPECT_TRUE(contents.contains(page)) << page;
    help.close();
}

// The help window opens wholly on the screen, also beside a window at the
// screen's bottom-right corner.
TEST_F(FirstMinutes, HelpWindowOpensOnTheScreen)
{
    start();
    const QRect area = window->screen()->availableGeometry();
    window->move(area.right() - 100, area.bottom() - 100);
    QApplication::setActiveWindow(window.get());
    HelpWindow& help = HelpWindow::Instance();
    help.close();
    // As if remembered from a larger screen.
    help.resize(area.width() + 200, area.height() + 100);
    help.ShowTopic(2016);
    EXPECT_TRUE(area.contains(help.frameGeometry())) << help.frameGeometry().x() << "," << help.frameGeometry().y();
    help.close();
}

// Ctrl+B, Ctrl+I and Ctrl+U act before the next key is handled: text typed
// at once takes the style from its first character.
TEST_F(FirstMinutes, RichTextStyleKeysActBeforeTheNextKey)
{
    const struct {
        Qt::Key key;
        std::function<bool(const QTextCharFormat&)> styled;
    } cases[] = {
        { Qt::Key_B, [](const QTextCharFormat& f) { return f.fontWeight() == QFont::Bold; } },
        { Qt::Key_I, [](const QTextCharFormat& f) { return f.fontItalic(); } },
        { Qt::Key_U, [](const QTextCharFormat& f) { return f.fontUnderline(); } },
    };
    for (const auto& c : cases) {
        TRichTextLabelEditor editor;
        editor.show();
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        TRichTextEdit* edit = editor.WPRichText1();
        edit->setFocus();
        edit->TextItem()->setFocus();
        QTest::keyClick(edit, c.key, Qt::ControlModifier);
        QTest::keyClicks(edit, "ab");
        const QTextDocument& doc = edit->Document();
        ASSERT_EQ(doc.toPlainText(), "ab");
        for (int position : { 1, 2 }) {
            QTextCursor probe(const_cast<QTextDocument*>(&doc));
            probe.setPosition(position);
            EXPECT_TRUE(c.styled(probe.charFormat())) << "character " << position << " of key " << c.key;
        }
    }
}

// Card dialogs start where the user last opened or saved a card; before
// that, in the saved folder of a copy that runs from its own folder.
TEST_F(FirstMinutes, FileDialogsStartWhereTheLastCardWas)
{
    RegisterCardClass<PlainObject>();
    start();
    modal->fileNames = { QString() };
    window->fileCommands().open();
    ASSERT_FALSE(modal->fileRequests.empty());
    EXPECT_EQ(QDir(modal->fileRequests.back().folder), QDir(SavedFolder()));

    const QString elsewhere = folder.filePath("clients/acme");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    auto* o = new PlainObject(window.get());
    panel().AddObject(o);
    o->SetBounds(10, 10, 40, 20);
    ASSERT_TRUE(window->fileCommands().saveCard(elsewhere + "/acme.CDW"));
    window->fileCommands().openCard(elsewhere + "/acme.CDW");
    for (const char* command : { "Open1", "mnuSaveAsBitmap" }) {
        modal->fileNames = { QString() };
        window->Action(command)->trigger();
        EXPECT_EQ(QDir(modal->fileRequests.back().folder), QDir(elsewhere));
    }
    modal->fileNames = { QString() };
    window->fileCommands().saveAs();
    EXPECT_EQ(QDir(modal->fileRequests.back().folder), QDir(elsewhere));
    EXPECT_EQ(modal->fileRequests.back().fileName, "acme.CDW");
}

// The window opens at a size that suits the screen; a click beside the card,
// anywhere in the scroll box, clears the selection; tool tips name each
// tool the same way; background art is there to choose from.
TEST_F(FirstMinutes, MainWindowFirstLook)
{
    start();
    const QSize area = window->screen()->availableGeometry().size();
    EXPECT_GE(window->width(), area.width() * 2 / 3);
    EXPECT_GE(window->height(), area.height() * 2 / 3);
    EXPECT_LE(window->width(), area.width());
    EXPECT_LE(window->height(), area.height());

    auto* o = new PlainObject(window.get());
    panel().AddObject(o);
    o->SetBounds(10, 10, 40, 20);
    auto* box = window->findChild<QScrollArea*>("ScrollBox1");
    const QPoint farCorner(box->viewport()->width() - 3, box->viewport()->height() - 3);
    ASSERT_GT(farCorner.x(), panel().width() + 30) << "the window leaves no room beside the card";
    panel().AddToSelection(o);
    QWidget* under = box->viewport()->childAt(farCorner);
    ASSERT_NE(under, nullptr);
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(box->viewport(), farCorner));
    EXPECT_EQ(panel().SelectionCount(), 0);

    for (QToolButton* b : window->findChildren<QToolButton*>()) {
        if (!b->objectName().startsWith("Draw") && b->objectName() != "Pointerbutton")
            continue;
        const QString name = b->toolTip().section('\n', 0, 0);
        EXPECT_TRUE(name.endsWith(" tool")) << name.toStdString();
        EXPECT_TRUE(name.at(0).isUpper()) << name.toStdString();
        EXPECT_NE(b->toolTip().section('\n', 1), QString()) << name.toStdString() << " says what it makes";
    }

    // The About box gives the word size this program was built for.
    QString wordSize;
    modal->dialogs.push_back([&](QDialog& d) {
        if (auto* label = d.findChild<QLabel*>("WordSize"))
            wordSize = label->text();
        return int(mrOk);
    });
    window->helpCommands().showAbout();
    EXPECT_EQ(wordSize, QString("%1-bit version").arg(sizeof(void*) * 8));

    const QStringList art = QDir(folder.filePath("bg")).entryList({ "*.png" }, QDir::Files);
    EXPECT_GE(art.size(), 3);
    for (const QString& name : art)
        EXPECT_TRUE(panel().LoadColorPicture(folder.filePath("bg/" + name))) << name.toStdString();
}

} // namespace
