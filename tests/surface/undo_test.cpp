#include "core/clock.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/circletext/circle_text.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "objects/shapes.h"
#include "objects/text_label.h"
#include "support/plain_object.h"
#include "support/scripted_modal.h"
#include "surface/card_edit.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include <QAction>
#include <QMenu>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace cardora;
using cardora::test::PlainObject;
using cardora::test::ScriptedModal;

namespace {

QAction* findItem(QMenu* menu, const QString& caption)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == caption)
            return a;
        if (a->menu())
            if (QAction* inner = findItem(a->menu(), caption))
                return inner;
    }
    return nullptr;
}

// A card on a panel with an undo stack: an ellipse, a horizontal line and a
// text label, put there directly so that the stack starts empty.
struct Card {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    QUndoStack stack;
    TBCShapes* ellipse = nullptr;
    TQLineShape* line = nullptr;
    TQBusinessCardLabel* label = nullptr;

    Card()
    {
        panel.SetPanelSize(336, 192);
        panel.SetUndoStack(&stack);
        panel.show();
        ellipse = TBCShapes::CreateForTool(&owner, ShapeType::Ellipse);
        place(ellipse, QRect(20, 20, 60, 40));
        line = TQLineShape::CreateForTool(&owner);
        line->SetLineStyle(LineStyle::Horizontal);
        place(line, QRect(100, 30, 80, 15));
        label = TQBusinessCardLabel::CreateForTool(&owner, panel, panel.Font());
        place(label, QRect(30, 100, 60, 20));
    }
    template <class T>
    void place(T* o, const QRect& r)
    {
        panel.PlaceNewObject(o, r);
    }
    QByteArray bytes() const { return TQLabelObjectFiler::WriteObjects(panel.Objects()); }
    void select(std::initializer_list<TQGraphicControl*> objects) { panel.SelectOnly(objects); }
    QAction* panelItem(const QString& caption) { return findItem(panel.PanelMenu(), caption); }
    QAction* objectItem(TQGraphicControl* o, const QString& caption) { return findItem(o->ObjectMenu(), caption); }
};

struct UndoFixture : ::testing::Test {
    std::shared_ptr<ScriptedModal> modal;
    std::uint32_t now = 10000;

    void SetUp() override
    {
        RegisterCardObjectKinds();
        RegisterCardClass<PlainObject>();
        modal = ScriptedModal::Install();
        SetTickSourceForTesting([this] { return now; });
    }
    void TearDown() override
    {
        SetTickSourceForTesting(nullptr);
        SetModalHandler(nullptr);
    }
    // A mouse drag of the handle from one handle-relative point to another.
    void drag(Card& c, QPoint from, QPoint to)
    {
        SelectionHandle& h = c.panel.Handle();
        h.MouseMove({}, {}, from); // picks the zone under the pointer
        h.MouseDown(Qt::LeftButton, {}, from, QPoint());
        now += 300;
        h.MouseMove(Qt::LeftButton, {}, to);
        h.MouseUp(Qt::LeftButton, {}, to);
    }
    void nudge(Card& c, int key, int times)
    {
        for (int i = 0; i < times; ++i) {
            c.panel.KeyDown(key, {});
            c.panel.KeyUp(key);
        }
    }
};

} // namespace

// Every command, done, undone and redone: undo gives back the card's bytes
// from before, redo the bytes from after, each command is one step named
// after the change.
TEST_F(UndoFixture, EveryCommandUndoesToTheBytesBeforeAndRedoesToTheBytesAfter)
{
    struct Case {
        const char* undoText;
        std::function<void(Card&)> prepare;
        std::function<void(Card&)> run;
    };
    const Case cases[] = {
        { "New Ellipse", nullptr,
            [&](Card& c) {
                c.panel.SetPanelState(PanelTool::Ellipse);
                QRect r(150, 100, 40, 30);
                c.panel.CreateObjectForRect(r);
            } },
        { "New Line", nullptr,
            [&](Card& c) {
                c.panel.SetPanelState(PanelTool::Line);
                QRect r(150, 150, 90, 4);
                c.panel.CreateObjectForRect(r);
            } },
        { "Delete", [](Card& c) { c.select({ c.ellipse }); }, [](Card& c) { c.panel.KeyDown(Qt::Key_Delete, {}); } },
        { "Delete 2 Objects", [](Card& c) { c.select({ c.ellipse, c.line }); },
            [](Card& c) { c.panel.KeyDown(Qt::Key_Delete, {}); } },
        { "Cut", [](Card& c) { c.select({ c.line }); },
            [](Card& c) { c.panel.KeyDown(Qt::Key_X, Qt::ControlModifier); } },
        { "Paste",
            [&](Card& c) {
                c.select({ c.ellipse });
                c.panel.KeyDown(Qt::Key_C, Qt::ControlModifier);
                now += 2000;
            },
            [](Card& c) { c.panel.KeyDown(Qt::Key_V, Qt::ControlModifier); } },
        { "Clone", nullptr, [](Card& c) { c.objectItem(c.ellipse, "Clone")->trigger(); } },
        { "Move", [](Card& c) { c.select({ c.ellipse }); }, [&](Card& c) { drag(c, { 30, 20 }, { 55, 41 }); } },
        { "Resize", [](Card& c) { c.select({ c.ellipse }); },
            [&](Card& c) {
                const QRect h = c.panel.Handle().Bounds();
                drag(c, { h.width(), h.height() }, { h.width() + 20, h.height() + 12 });
            } },
        { "Move", [](Card& c) { c.select({ c.ellipse, c.label }); }, [&](Card& c) { nudge(c, Qt::Key_Right, 3); } },
        { "Align Left", [](Card& c) { c.select({ c.ellipse, c.line, c.label }); },
            [](Card& c) { c.panelItem("Align Left")->trigger(); } },
        { "Center Vertically", [](Card& c) { c.select({ c.line }); },
            [](Card& c) { c.panelItem("Center Vertically")->trigger(); } },
        { "Lock All", nullptr, [](Card& c) { c.panelItem("Lock All")->trigger(); } },
        { "Locked", nullptr, [](Card& c) { c.objectItem(c.line, "Locked")->trigger(); } },
        { "Bring To Front", nullptr, [](Card& c) { c.objectItem(c.ellipse, "Bring To Front")->trigger(); } },
        { "Send To Back", nullptr, [](Card& c) { c.objectItem(c.label, "Send To Back")->trigger(); } },
        { "Transparent", nullptr, [](Card& c) { c.objectItem(c.ellipse, "Transparent")->trigger(); } },
        { "Style", nullptr, [](Card& c) { c.objectItem(c.line, "Angled Sloping Up")->trigger(); } },
        { "Font",
            [&](Card& c) {
                c.select({ c.label, c.ellipse });
                modal->fonts = { QFont("Times New Roman", 16) };
            },
            [](Card& c) { c.panelItem("Font")->trigger(); } },
        { "Font",
            [&](Card& c) {
                modal->fonts = { QFont("Arial", 14) };
                modal->fontColors = { QColor(Qt::red) };
            },
            [](Card& c) { c.objectItem(c.label, "Font")->trigger(); } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.undoText);
        Card c;
        if (k.prepare)
            k.prepare(c);
        const QByteArray before = c.bytes();
        const int steps = c.stack.count();
        k.run(c);
        const QByteArray after = c.bytes();
        ASSERT_NE(after, before);
        ASSERT_EQ(c.stack.count(), steps + 1);
        EXPECT_EQ(c.stack.undoText(), k.undoText);
        c.stack.undo();
        EXPECT_EQ(c.bytes(), before);
        c.stack.redo();
        EXPECT_EQ(c.bytes(), after);
        c.stack.undo();
        EXPECT_EQ(c.bytes(), before);
    }
}

TEST_F(UndoFixture, CommandsThatChangeNothingLeaveNoStep)
{
    Card c;
    c.select({ c.ellipse });
    c.panel.KeyDown(Qt::Key_C, Qt::ControlModifier);  // copy
    c.panelItem("Select All")->trigger();
    drag(c, { 30, 20 }, { 30, 20 });                   // a click on the selection
    modal->fonts = { std::nullopt };
    c.objectItem(c.label, "Font")->trigger();          // cancelled
    c.panelItem("Unlock All")->trigger();              // nothing was locked
    EXPECT_EQ(c.stack.count(), 0);
}

// A run of nudges is one step, and so is each drag; a nudge after a drag
// starts a step of its own.
TEST_F(UndoFixture, NudgesMergeIntoOneStepUntilSomethingElseHappens)
{
    Card c;
    c.select({ c.ellipse });
    const QRect start = c.ellipse->BoundsRect();
    nudge(c, Qt::Key_Right, 4);
    nudge(c, Qt::Key_Down, 2);
    EXPECT_EQ(c.stack.count(), 1);
    EXPECT_EQ(c.ellipse->BoundsRect(), start.translated(4, 2));
    drag(c, { 30, 20 }, { 40, 20 });
    nudge(c, Qt::Key_Left, 1);
    EXPECT_EQ(c.stack.count(), 3);
    c.stack.undo();
    c.stack.undo();
    c.stack.undo();
    EXPECT_EQ(c.ellipse->BoundsRect(), start);
    // Shift+arrow on one object resizes, and says so.
    nudge(c, Qt::Key_Right, 1);
    c.panel.KeyDown(Qt::Key_Down, Qt::ShiftModifier);
    c.panel.KeyUp(Qt::Key_Down);
    EXPECT_EQ(c.stack.undoText(), "Resize");
}

// A nudge keeps the bounds of what moved, not the objects: a card with a
// 10 MB object is not copied per step. Deleting it keeps it once.
TEST_F(UndoFixture, StepsKeepOnlyWhatChanged)
{
    Card c;
    auto* big = new PlainObject(&c.owner);
    c.panel.AddObject(big);
    big->SetBounds(150, 120, 40, 30);
    big->SetHint(QString(10 * 1024 * 1024, 'x'));
    c.select({ big });
    auto kept = [&c] {
        return static_cast<const TCardEditCommand*>(c.stack.command(c.stack.index() - 1))->KeptBytes();
    };
    for (int run = 0; run < 3; ++run) {
        nudge(c, Qt::Key_Left, 2);
        drag(c, { 10, 10 }, { 14, 12 });
    }
    EXPECT_EQ(c.stack.count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(static_cast<const TCardEditCommand*>(c.stack.command(i))->KeptBytes(), 0) << i;
    c.panel.KeyDown(Qt::Key_Delete, {});
    EXPECT_GT(kept(), 10 * 1024 * 1024);
    EXPECT_LT(kept(), 11 * 1024 * 1024);
    c.stack.undo();
    ASSERT_EQ(c.panel.SelectionCount(), 1);
    EXPECT_EQ(c.panel.Handle().SelectedAt(0)->Hint().size(), 10 * 1024 * 1024);
}

// Undo puts objects back where they were in the stacking order and selects
// what it brought back.
TEST_F(UndoFixture, UndoRestoresStackingOrderAndSelectsWhatItTouched)
{
    Card c;
    const QString middle = c.line->Name();
    c.select({ c.line });
    c.panel.KeyDown(Qt::Key_Delete, {});
    ASSERT_EQ(c.panel.Objects().size(), 2u);
    c.stack.undo();
    ASSERT_EQ(c.panel.Objects().size(), 3u);
    EXPECT_EQ(c.panel.Objects()[1]->Name(), middle);
    EXPECT_EQ(c.panel.Objects()[1]->ClassName(), "TQLineShape");
    ASSERT_EQ(c.panel.SelectionCount(), 1);
    EXPECT_EQ(c.panel.Handle().SelectedAt(0), c.panel.Objects()[1]);
}

// Every object kind goes through the same path: its own menu toggles, a
// nudge, Clone and Delete undo to the card's bytes and redo again, with no
// code of its own for undo. The font commands of every kind with text choose
// the colour too.
TEST_F(UndoFixture, EveryObjectKindIsCoveredByTheSamePath)
{
    // Menu toggles worth trying besides the common commands, by class.
    const QMap<QString, QStringList> toggles = {
        { "TQPCircleText", { "Transparent", "Border", "Font", "panel Font" } },
        { "TQSuperText", { "Transparent", "Border", "Font", "panel Font" } },
        { "TQMultiLineLabel", { "Font", "panel Font" } },
        { "TQPRichBaseLabel", { "Transparent", "Border" } },
    };
    // Every registered kind, through the tool that draws it.
    for (const ObjectKind& kind : ObjectKinds::All()) {
        if (kind.tools.empty())
            continue;
        const ObjectTool& tool = kind.tools.front();
        for (const QString& command : toggles.value(kind.className) + QStringList { "nudge", "Clone", "Delete", "Locked" }) {
            SCOPED_TRACE(kind.className.toStdString() + ": " + command.toStdString());
            Card c;
            // The owner holds the master control, as the main window does.
            new TRichTextControl(&c.owner, QString::fromLatin1(kMasterRichTextName));
            TQGraphicControl* o = tool.create(ToolPlacement { &c.owner, c.panel, QRect(150, 90, 90, 60) });
            ASSERT_NE(o, nullptr);
            c.place(o, QRect(150, 90, 90, 60));
            c.select({ o });
            c.stack.clear();
            const QByteArray before = c.bytes();
            modal->fonts = { QFont("Times New Roman", 14) };
            modal->fontColors = { QColor(Qt::red) };
            if (command == "nudge")
                nudge(c, Qt::Key_Up, 2);
            else if (command == "panel Font")
                c.panelItem("Font")->trigger();
            else
                c.objectItem(o, command)->trigger();
            if (command.endsWith("Font"))
                EXPECT_EQ(o->Font()->Color(), clRed);
            const QByteArray after = c.bytes();
            ASSERT_NE(after, before);
            ASSERT_EQ(c.stack.count(), 1);
            c.stack.undo();
            EXPECT_EQ(c.bytes(), before);
            c.stack.redo();
            EXPECT_EQ(c.bytes(), after);
        }
    }
}

// Steps hold zoom-1 state: a step made at one zoom undoes and redoes at
// another, and the card's bytes follow.
TEST_F(UndoFixture, StepsMadeAtOneZoomApplyAtAnother)
{
    Card c;
    c.panel.grab(); // the label fits its box to its text at zoom 1 first
    const QByteArray atStart = c.bytes();
    const QRect start = c.ellipse->BoundsRect();
    c.panel.SetZoom(1.3f);
    c.select({ c.ellipse });
    drag(c, { 30, 20 }, { 56, 33 });
    c.select({ c.line });
    c.panel.KeyDown(Qt::Key_Delete, {});
    const QByteArray after = c.bytes();
    c.panel.SetZoom(1.0f);
    EXPECT_EQ(c.bytes(), after);
    c.stack.undo();
    c.stack.undo();
    EXPECT_EQ(c.bytes(), atStart);
    EXPECT_EQ(c.ellipse->BoundsRect(), start);
    c.panel.SetZoom(1.5f);
    c.stack.redo();
    c.stack.redo();
    EXPECT_EQ(c.bytes(), after);
    EXPECT_EQ(c.panel.Objects().size(), 2u);
}
