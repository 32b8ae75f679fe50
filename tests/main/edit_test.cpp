#include "core/app_folder.h"
#include "core/clock.h"
#include "main/background_art_dialog.h"
#include "main/help_window.h"
#include "main/mru_list.h"
#include "main/window_fixture.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/line_shape.h"
#include "support/plain_object.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::PlainObject;

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

struct EditFixture : cardora::test::MainWindowFixture {
    std::uint32_t now = 50000;
    void SetUp() override
    {
        RegisterCardClass<PlainObject>();
        MainWindowFixture::SetUp();
        SetTickSourceForTesting([this] { return now; });
        start();
    }
    void TearDown() override
    {
        SetTickSourceForTesting(nullptr);
        MainWindowFixture::TearDown();
    }
    CardPanel& panel() { return *window->cardPanel(); }
    // Draws with a tool, as a drag on the panel does.
    TQGraphicControl* drawWith(PanelTool tool, QRect r)
    {
        panel().SetPanelState(tool);
        panel().CreateObjectForRect(r);
        window->objectDropped(r);
        return panel().Objects().back();
    }
    QString savedCard()
    {
        drawWith(PanelTool::RoundRectangle, QRect(10, 10, 60, 30));
        const QString path = SavedFolder() + "card.CDW";
        modal->fileNames = { path };
        window->fileCommands().save();
        return path;
    }
    int asked(const QString& text) const
    {
        int n = 0;
        for (const auto& m : modal->messages)
            n += m.text == text;
        return n;
    }
    bool visible(const char* button) const { return window->findChild<QPushButton*>(button)->isVisible(); }
};
} // namespace

// "Save changes?" offers Yes, No and Cancel wherever the command can still
// be abandoned; Cancel keeps the card, changes and all.
TEST_F(EditFixture, SaveChangesQuestionCanBeCancelled)
{
    struct Case {
        const char* command;
        int answer;
        bool goesOn;     // the command ran (the card was replaced or the window closed)
        bool savedFirst; // the change reached the file
    };
    const Case cases[] = {
        { "New", mrYes, true, true },
        { "New", mrNo, true, false },
        { "New", mrCancel, false, false },
        { "Open", mrCancel, false, false },
        { "Open", mrNo, true, false },
        { "Recent", mrCancel, false, false },
        { "Recent", mrYes, true, true },
        { "Exit", mrCancel, false, false },
        { "Exit", mrNo, true, false },
        { "Exit", mrYes, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " answered " + std::to_string(c.answer));
        window->fileCommands().newCard();
        const QString path = savedCard();
        const QString other = SavedFolder() + "other.CDW";
        QFile::copy(path, other);
        window->context().recentFiles().Add(other);
        const QByteArray saved = readAll(path);
        drawWith(PanelTool::RoundRectangle, QRect(100, 60, 40, 40));
        ASSERT_TRUE(window->context().card().changesMade);
        modal->messages.clear();
        modal->answers = { c.answer };
        modal->fileNames = { other };
        const QStringList recentBefore = window->context().recentFiles().Items();
        const QString command = c.command;
        if (command == "New")
            window->fileCommands().newCard();
        else if (command == "Open")
            window->fileCommands().open();
        else if (command == "Recent")
            window->fileCommands().openRecent(other);
        else
            window->close();
        EXPECT_EQ(asked("Save changes?"), 1);
        EXPECT_EQ(modal->messages.front().style, MessageStyle::QuestionCancel);
        const bool cardKept = panel().Objects().size() == 2u && window->context().card().fileName == path;
        if (command == "Exit")
            EXPECT_EQ(window->isVisible(), !c.goesOn);
        else
            EXPECT_EQ(cardKept, !c.goesOn);
        EXPECT_EQ(readAll(path) != saved, c.savedFirst);
        if (!c.goesOn) {
            EXPECT_TRUE(window->context().card().changesMade);
            if (command == "Recent")
                EXPECT_EQ(window->context().recentFiles().Items(), recentBefore);
        }
        window->show();
        modal->answers.clear();
        modal->fileNames.clear();
    }
}

// Save on a card never saved asks for a name as Save As does; cancelling
// that dialog after Yes to "Save changes?" keeps the card.
TEST_F(EditFixture, SaveOnANewCardRunsSaveAsAndACancelledSaveAsKeepsTheCard)
{
    drawWith(PanelTool::RoundRectangle, QRect(10, 10, 60, 30));
    const QString path = SavedFolder() + "first.CDW";
    modal->fileNames = { path };
    window->fileCommands().save();
    ASSERT_EQ(modal->fileRequests.size(), 1u);
    EXPECT_TRUE(modal->fileRequests.back().save);
    EXPECT_EQ(modal->fileRequests.back().fileName, "BC0001.CDW");
    EXPECT_EQ(window->context().card().fileName, path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(window->context().card().changesMade);
    EXPECT_TRUE(window->Action("mnuSave")->isEnabled());

    window->fileCommands().newCard();
    drawWith(PanelTool::RoundRectangle, QRect(10, 10, 60, 30));
    modal->answers = { mrYes };
    modal->fileNames = { QString() };
    window->fileCommands().newCard();
    EXPECT_EQ(panel().Objects().size(), 1u);
    EXPECT_TRUE(window->context().card().changesMade);
}

// Undoing back to the saved card clears the changed flag, with the Cancel
// and Save buttons and the title's mark; opening or beginning a card
// empties the history.
TEST_F(EditFixture, SavedStateIsTheCleanStateOfUndo)
{
    const QString path = savedCard();
    EXPECT_EQ(window->windowTitle(), "Cardora - card.CDW");
    TQGraphicControl* o = drawWith(PanelTool::RoundRectangle, QRect(100, 60, 40, 30));
    EXPECT_TRUE(window->context().card().changesMade);
    EXPECT_EQ(window->windowTitle(), "Cardora - card.CDW *");
    panel().SelectOnly({ o });
    panel().KeyDown(Qt::Key_Right, {});
    panel().KeyUp(Qt::Key_Right);
    QUndoStack& stack = window->context().undoStack();
    EXPECT_EQ(window->Action("mnuUndo")->text(), "Undo Move");
    stack.undo();
    EXPECT_TRUE(window->context().card().changesMade);
    EXPECT_EQ(window->Action("mnuUndo")->text(), "Undo New Round Rectangle");
    stack.undo();
    EXPECT_FALSE(window->context().card().changesMade);
    EXPECT_FALSE(visible("Savebutton"));
    EXPECT_FALSE(visible("Cancelbutton"));
    EXPECT_EQ(window->windowTitle(), "Cardora - card.CDW");
    stack.redo();
    EXPECT_TRUE(window->context().card().changesMade);
    EXPECT_TRUE(visible("Savebutton"));

    window->fileCommands().save();
    EXPECT_FALSE(window->context().card().changesMade);
    stack.undo(); // back before the save: changed again
    EXPECT_TRUE(window->context().card().changesMade);

    window->fileCommands().openCard(path);
    EXPECT_EQ(stack.count(), 0);
    drawWith(PanelTool::RoundRectangle, QRect(100, 60, 40, 30));
    window->fileCommands().newCard();
    EXPECT_EQ(stack.count(), 0);
    EXPECT_FALSE(window->Action("mnuUndo")->isEnabled());
}

// What was just drawn, pasted or cloned is the selection, so Delete removes
// it and not what was selected before.
TEST_F(EditFixture, NewObjectsBecomeTheSelection)
{
    struct Case {
        const char* how;
        std::function<void(EditFixture&, TQGraphicControl* old)> make;
    };
    const Case cases[] = {
        { "drawn", [](EditFixture& f, TQGraphicControl*) { f.drawWith(PanelTool::Rectangle, QRect(150, 80, 50, 40)); } },
        { "line drawn", [](EditFixture& f, TQGraphicControl*) { f.drawWith(PanelTool::Line, QRect(150, 80, 80, 3)); } },
        { "pasted",
            [](EditFixture& f, TQGraphicControl*) {
                f.panel().KeyDown(Qt::Key_C, Qt::ControlModifier);
                f.now += 5000;
                f.panel().KeyDown(Qt::Key_V, Qt::ControlModifier);
            } },
        { "cloned", [](EditFixture&, TQGraphicControl* old) { old->Clone(); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        window->fileCommands().newCard();
        TQGraphicControl* old = drawWith(PanelTool::RoundRectangle, QRect(10, 10, 60, 30));
        const QString oldName = old->Name();
        panel().SelectOnly({ old });
        c.make(*this, old);
        ASSERT_EQ(panel().Objects().size(), 2u);
        ASSERT_EQ(panel().SelectionCount(), 1);
        EXPECT_EQ(panel().Handle().SelectedAt(0), panel().Objects().back());
        QTest::keyClick(window.get(), Qt::Key_Delete);
        ASSERT_EQ(panel().Objects().size(), 1u);
        EXPECT_EQ(panel().Objects()[0]->Name(), oldName);
    }
}

// Zooming in and out and saving at any zoom never change the card.
TEST_F(EditFixture, ZoomingAndSavingAtAnyZoomLeaveTheCardAsItWas)
{
    drawWith(PanelTool::RoundRectangle, QRect(13, 17, 61, 33));
    TQGraphicControl* line = drawWith(PanelTool::Line, QRect(40, 90, 3, 15));
    ASSERT_EQ(line->Height(), 15);
    drawWith(PanelTool::RoundRectangle, QRect(101, 57, 47, 29));
    const QString a = SavedFolder() + "a.CDW";
    ASSERT_TRUE(window->fileCommands().saveCard(a));
    const QByteArray atOne = readAll(a);
    std::vector<QRect> bounds;
    for (TQGraphicControl* o : panel().Objects())
        bounds.push_back(o->BoundsRect());
    for (int step = 1; step <= 5; ++step) {
        window->zoomIn();
        const QString z = SavedFolder() + QString("z%1.CDW").arg(step);
        ASSERT_TRUE(window->fileCommands().saveCard(z));
        EXPECT_EQ(readAll(z), atOne) << "saved at " << 100 + 10 * step << "%";
    }
    EXPECT_FLOAT_EQ(panel().Zoom(), 1.5f);
    // The card never changes; the view shows the line's 15 pixels over 22.5.
    EXPECT_EQ(line->Height(), 15);
    const QRect shown = panel().ShownRect(line->BoundsRect());
    EXPECT_EQ(shown.top(), 135);
    EXPECT_EQ(shown.height(), 23);
    for (int step = 1; step <= 5; ++step)
        window->zoomOut();
    EXPECT_EQ(panel().Zoom(), 1.0f);
    for (std::size_t i = 0; i < bounds.size(); ++i)
        EXPECT_EQ(panel().Objects()[i]->BoundsRect(), bounds[i]) << i;
    EXPECT_EQ(window->context().undoStack().count(), 3); // the three drawings; zooming is no step

    // An object moved at 130% keeps that place at 130% after a round trip.
    for (int step = 1; step <= 3; ++step)
        window->zoomIn();
    line->SetBounds(77, 101, line->Width(), line->Height());
    window->zoomOut();
    window->zoomIn();
    EXPECT_EQ(line->BoundsRect().topLeft(), QPoint(77, 101));
}

// The keys a first-time user tries.
TEST_F(EditFixture, EverydayKeys)
{
    TQGraphicControl* a = drawWith(PanelTool::RoundRectangle, QRect(10, 10, 60, 30));
    drawWith(PanelTool::RoundRectangle, QRect(100, 10, 60, 30));
    panel().setFocus();
    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        int selected;
        int zoomPercent;
    };
    const Case cases[] = {
        { "Ctrl+A selects all", Qt::Key_A, Qt::ControlModifier, 2, 100 },
        { "Escape deselects", Qt::Key_Escape, {}, 0, 100 },
        { "main keyboard + zooms in", Qt::Key_Plus, Qt::ShiftModifier, 0, 110 },
        { "= (+ without Shift) zooms in", Qt::Key_Equal, {}, 0, 120 },
        { "main keyboard - zooms out", Qt::Key_Minus, {}, 0, 110 },
        { "keypad - zooms out", Qt::Key_Minus, Qt::KeypadModifier, 0, 100 },
        { "keypad - goes on below 100%", Qt::Key_Minus, Qt::KeypadModifier, 0, 75 },
    };
    for (const Case& c : cases) {
        QTest::keyClick(&panel(), static_cast<Qt::Key>(c.key), c.modifiers);
        EXPECT_EQ(panel().SelectionCount(), c.selected) << c.what;
        EXPECT_EQ(qRound(panel().Zoom() * 100), c.zoomPercent) << c.what;
    }
    Q_UNUSED(a);
    // Undo and redo by their keys; the menu names the step.
    panel().SelectOnly({ a });
    QTest::keyClick(&panel(), Qt::Key_Delete);
    EXPECT_EQ(window->Action("mnuUndo")->text(), "Undo Delete");
    EXPECT_EQ(window->Action("mnuUndo")->shortcut(), QKeySequence::Undo);
    EXPECT_TRUE(window->Action("mnuRedo")->shortcuts().contains(QKeySequence("Ctrl+Y")));
    EXPECT_TRUE(window->Action("mnuRedo")->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    EXPECT_EQ(window->Action("New1")->shortcut(), QKeySequence::New);
    EXPECT_EQ(window->Action("Open1")->shortcut(), QKeySequence::Open);
    EXPECT_EQ(window->Action("mnuPrint")->shortcut(), QKeySequence::Print);
}

// The Edit menu's own Cut, Copy, Paste and Delete act on the selection as
// the keys do, each one step.
TEST_F(EditFixture, EditMenuCommandsAreUndoableSteps)
{
    TQGraphicControl* a = drawWith(PanelTool::RoundRectangle, QRect(10, 10, 60, 30));
    panel().SelectOnly({ a });
    window->context().undoStack().clear();
    window->Action("mnuCopy")->trigger();
    window->Action("mnuPaste")->trigger();
    EXPECT_EQ(panel().Objects().size(), 2u);
    window->Action("mnuCut")->trigger();
    EXPECT_EQ(panel().Objects().size(), 1u);
    now += 5000;
    window->Action("mnuPaste")->trigger();
    window->Action("mnuSelectAll")->trigger();
    window->Action("mnuDelete")->trigger();
    EXPECT_TRUE(panel().Objects().empty());
    QStringList steps;
    for (int i = 0; i < window->context().undoStack().count(); ++i)
        steps << window->context().undoStack().text(i);
    EXPECT_EQ(steps, QStringList({ "Paste", "Cut", "Paste", "Delete 2 Objects" }));
    window->context().undoStack().setIndex(0);
    ASSERT_EQ(panel().Objects().size(), 1u);
    EXPECT_EQ(panel().Objects()[0]->BoundsRect(), QRect(10, 10, 60, 30));
}

TEST_F(EditFixture, BackgroundArtIsAnUndoableStep)
{
    const QString path = folder.filePath("bg/red.BMP");
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(path, "BMP"));
    modal->dialogs.push_back([](QDialog& d) {
        EXPECT_TRUE(dynamic_cast<TLoadBackGround&>(d).SelectFile("red.bmp"));
        return int(mrOk);
    });
    window->backgroundArtCommands().chooseBackgroundArt();
    EXPECT_EQ(window->Action("mnuUndo")->text(), "Undo Background Art");
    window->context().undoStack().undo();
    EXPECT_TRUE(window->context().card().backgroundArt.isEmpty());
    EXPECT_FALSE(panel().ColorPicture().HasGraphic());
    EXPECT_FALSE(window->context().card().changesMade);
    window->context().undoStack().redo();
    EXPECT_EQ(window->context().card().backgroundArt, path);
    EXPECT_TRUE(panel().ColorPicture().HasGraphic());
}

// Closing the main window closes the help window, which would otherwise
// keep the program running; the help window closes on Escape.
TEST_F(EditFixture, HelpWindowClosesWithEscapeAndWithTheProgram)
{
    window->context().showHelp(2016);
    HelpWindow& help = HelpWindow::Instance();
    ASSERT_TRUE(help.isVisible());
    EXPECT_FALSE(help.testAttribute(Qt::WA_QuitOnClose));
    help.activateWindow();
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    window->context().showHelp(2016);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(help.isVisible());
}
