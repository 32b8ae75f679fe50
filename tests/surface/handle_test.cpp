#include <cmath>
#include "core/clock.h"
#include "support/plain_object.h"
#include "surface/card_panel.h"
#include "objects/shapes.h"
#include "objects/line_shape.h"
#include "objects/symbol_label.h"
#include "core/rounding.h"
#include <QTest>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::PlainObject;

namespace {
struct HandleFixture : ::testing::Test {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    std::uint32_t now = 1000;

    void SetUp() override
    {
        SetTickSourceForTesting([this] { return now; });
        panel.SetPanelSize(336, 192);
        panel.show();
    }
    void TearDown() override { SetTickSourceForTesting(nullptr); }
    PlainObject* add(int l, int t, int w, int h)
    {
        auto* o = new PlainObject(&owner);
        panel.AddObject(o);
        // l, t, w, h are card pixels at any zoom
        o->SetBounds(l, t, w, h);
        return o;
    }
    SelectionHandle& handle() { return panel.Handle(); }
    // A press, a move after `hold` ms and a release at `to`, in panel coordinates.
    void drag(QPoint from, QPoint to, std::uint32_t hold = 200)
    {
        QTest::mousePress(&panel, Qt::LeftButton, {}, from);
        now += 20;
        QTest::mouseMove(&panel, from + QPoint(1, 0)); // starts the drag after 10 ms
        now += hold;
        QTest::mouseMove(&panel, to);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, to);
    }
};
} // namespace

TEST_F(HandleFixture, PlacementFollowsBoundsRules)
{
    PlainObject* a = add(50, 60, 100, 40);
    panel.AddToSelection(a);
    EXPECT_EQ(handle().Bounds(), QRect(48, 58, 105, 45));
    EXPECT_TRUE(handle().Visible());
    PlainObject* b = add(200, 20, 20, 20);
    panel.AddToSelection(b);
    EXPECT_EQ(handle().Bounds(), QRect(48, 18, 175, 85));
    handle().RefitToSelection(); // the +6 variant
    EXPECT_EQ(handle().Bounds(), QRect(48, 18, 176, 86));
    handle().SetLocked(true);
    panel.RemoveFromSelection(b);
    EXPECT_EQ(handle().Bounds(), QRect(48, 58, 105, 45));
    panel.RemoveFromSelection(a);
    EXPECT_FALSE(handle().Visible());
    EXPECT_FALSE(handle().Locked());
}

TEST_F(HandleFixture, DragMovesWithSnappingAndQuickClickMovesNothing)
{
    PlainObject* a = add(50, 60, 100, 40);
    panel.AddToSelection(a);
    panel.SetSnapToGrid(true);
    panel.SetGridSize(GridSpacing::EightPixels);
    EXPECT_EQ(handle().GridX(), 8);
    drag(QPoint(100, 80), QPoint(103, 80)); // handle left 48 + 3 snaps back to 48
    EXPECT_EQ(a->Left(), 50);
    drag(QPoint(100, 80), QPoint(113, 80)); // 48 + 13 = 61 snaps to 56
    EXPECT_EQ(handle().Bounds().left(), 56);
    EXPECT_EQ(a->Left(), 58);
    panel.SetSnapToGrid(false);
    // Press and release within 150 ms: nothing moves even though the mouse did.
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(100, 80));
    now += 20;
    QTest::mouseMove(&panel, QPoint(101, 80));
    now += 50;
    QTest::mouseMove(&panel, QPoint(130, 90));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(130, 90));
    EXPECT_EQ(a->Left(), 58);
    EXPECT_EQ(a->Top(), 58); // the snapped drag took the top from 58 to 56 too
}

TEST_F(HandleFixture, EdgeAndCornerZonesResizeWithMinimum)
{
    PlainObject* a = add(50, 60, 100, 40);
    panel.AddToSelection(a);
    const QRect h = handle().Bounds(); // 48,58 105x45
    // The right edge zone, 10 pixels right: 9 wider.
    QTest::mouseMove(&panel, QPoint(h.left() + h.width(), h.top() + h.height() / 2));
    EXPECT_EQ(handle().Zone(), 8);
    drag(QPoint(h.left() + h.width() - 1, h.top() + h.height() / 2),
        QPoint(h.left() + h.width() + 9, h.top() + h.height() / 2));
    EXPECT_EQ(a->Width(), 109);
    // The bottom-right corner far up and left: a 5 x 5 handle.
    const QRect h2 = handle().Bounds();
    QTest::mouseMove(&panel, QPoint(h2.left() + h2.width() - 1, h2.top() + h2.height() - 1));
    EXPECT_EQ(handle().Zone(), 4);
    // (QTest takes a null point for the widget's centre, so aim at 1,1.)
    drag(QPoint(h2.left() + h2.width() - 1, h2.top() + h2.height() - 1), QPoint(1, 1));
    EXPECT_EQ(handle().Bounds().size(), QSize(5, 5));
}

TEST_F(HandleFixture, SeveralObjectsOnlyMoveAndLockedOnesStay)
{
    PlainObject* a = add(50, 60, 40, 20);
    PlainObject* b = add(120, 60, 40, 20);
    b->SetLocked(true);
    panel.AddToSelection(a);
    panel.AddToSelection(b);
    const QRect h = handle().Bounds();
    QTest::mouseMove(&panel, QPoint(h.left() + h.width() - 1, h.top() + h.height() / 2));
    EXPECT_EQ(handle().Zone(), 0);
    drag(QPoint(70, 70), QPoint(80, 90));
    EXPECT_EQ(a->BoundsRect(), QRect(60, 80, 40, 20));
    EXPECT_EQ(b->BoundsRect(), QRect(120, 60, 40, 20));
    EXPECT_TRUE(panel.IsSelected(b));
}

TEST_F(HandleFixture, ArrowKeysNudgeOnReleaseAndShiftResizesOne)
{
    PlainObject* a = add(50, 60, 40, 20);
    PlainObject* b = add(120, 60, 40, 20);
    panel.AddToSelection(a);
    panel.AddToSelection(b);
    panel.KeyDown(Qt::Key_Right, {});
    panel.KeyDown(Qt::Key_Right, {});
    EXPECT_EQ(a->Left(), 50); // nothing moves until the key is released
    panel.KeyUp(Qt::Key_Right);
    EXPECT_EQ(a->Left(), 52);
    EXPECT_EQ(b->Left(), 122);
    // Shift with several objects selected still moves.
    panel.KeyDown(Qt::Key_Up, Qt::ShiftModifier);
    panel.KeyUp(Qt::Key_Up);
    EXPECT_EQ(a->Top(), 59);
    EXPECT_EQ(a->Height(), 20);

    panel.ClearSelection();
    panel.AddToSelection(a);
    for (int i = 0; i < 50; ++i)
        panel.KeyDown(Qt::Key_Left, Qt::ShiftModifier);
    panel.KeyUp(Qt::Key_Left);
    // The nudge rectangle counts both edges: 10 wide is an object 9 wide.
    EXPECT_EQ(a->Width(), 9);
    EXPECT_EQ(a->Left(), 52);
}

// At each edge of the 336 x 192 card: the arrow key that would take the
// object off the card does nothing, the others move or size it by one card
// pixel per press, at 100 % and at 150 % alike.
TEST_F(HandleFixture, NudgesStopAtEachEdgeOfTheCardAtEveryZoom)
{
    const struct {
        const char* where;
        QRect at; // card pixels
        int key;
        bool shift;
        QRect after;
    } cases[] = {
        { "left edge, Left", QRect(0, 50, 40, 20), Qt::Key_Left, false, QRect(0, 50, 40, 20) },
        { "left edge, Right", QRect(0, 50, 40, 20), Qt::Key_Right, false, QRect(3, 50, 40, 20) },
        { "top edge, Up", QRect(50, 0, 40, 20), Qt::Key_Up, false, QRect(50, 0, 40, 20) },
        { "top edge, Down", QRect(50, 0, 40, 20), Qt::Key_Down, false, QRect(50, 3, 40, 20) },
        { "right edge, Right", QRect(296, 50, 40, 20), Qt::Key_Right, false, QRect(296, 50, 40, 20) },
        { "right edge, Shift+Right", QRect(296, 50, 40, 20), Qt::Key_Right, true, QRect(296, 50, 40, 20) },
        { "right edge, Left", QRect(296, 50, 40, 20), Qt::Key_Left, false, QRect(293, 50, 40, 20) },
        { "near the right edge, Right", QRect(294, 50, 40, 20), Qt::Key_Right, false, QRect(296, 50, 40, 20) },
        { "near the right edge, Shift+Right", QRect(294, 50, 40, 20), Qt::Key_Right, true, QRect(294, 50, 42, 20) },
        { "bottom edge, Down", QRect(50, 172, 40, 20), Qt::Key_Down, false, QRect(50, 172, 40, 20) },
        { "bottom edge, Shift+Down", QRect(50, 172, 40, 20), Qt::Key_Down, true, QRect(50, 172, 40, 20) },
        { "bottom edge, Shift+Up", QRect(50, 172, 40, 20), Qt::Key_Up, true, QRect(50, 172, 40, 17) },
        { "hanging off the left, Right", QRect(-10, 50, 40, 20), Qt::Key_Right, false, QRect(-7, 50, 40, 20) },
        { "hanging off the left, Left", QRect(-10, 50, 40, 20), Qt::Key_Left, false, QRect(-10, 50, 40, 20) },
    };
    for (float zoom : { 1.0f, 1.5f }) {
        panel.SetZoom(zoom);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.where) + (zoom == 1.0f ? " at 100 %" : " at 150 %"));
            PlainObject* o = add(0, 0, 10, 10);
            o->SetBox(c.at);
            panel.AddToSelection(o);
            for (int press = 0; press < 3; ++press) {
                panel.KeyDown(c.key, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
                panel.KeyUp(c.key);
            }
            EXPECT_EQ(o->BoundsRect(), c.after);
            panel.ClearSelection();
            panel.FreeObject(o);
        }
    }
}

// Every kind of object moves the same card distance per press at 150 %:
// a symbol, whose box follows its glyph, as much as a plain box.
TEST_F(HandleFixture, EveryKindMovesOneCardPixelPerPressWhenZoomed)
{
    panel.SetZoom(1.5f);
    std::vector<TQGraphicControl*> objects;
    objects.push_back(add(60, 60, 40, 30));
    auto* symbol = TQSymbolLabel::CreateForTool(&owner);
    panel.PlaceNewObject(symbol, QRect(120, 60, 40, 40));
    objects.push_back(symbol);
    auto* shape = TBCShapes::CreateForTool(&owner, ShapeType::Ellipse);
    panel.PlaceNewObject(shape, QRect(200, 60, 40, 40));
    objects.push_back(shape);
    for (TQGraphicControl* o : objects) {
        SCOPED_TRACE(o->ClassName().toStdString());
        panel.ClearSelection();
        panel.AddToSelection(o);
        const QRect before = o->BoundsRect();
        for (int press = 0; press < 10; ++press) {
            panel.KeyDown(Qt::Key_Left, {});
            panel.KeyUp(Qt::Key_Left);
        }
        EXPECT_EQ(o->BoundsRect(), before.translated(-10, 0));
        // The view scales what it shows; the object keeps card pixels.
        EXPECT_EQ(o->BoundsRect(), o->BoundsRect());
        EXPECT_EQ(panel.ShownRect(o->BoundsRect()).left(), int(std::floor(o->Left() * 1.5)));
    }
}

TEST_F(HandleFixture, ShiftClickOnSelectedObjectDeselectsIt)
{
    PlainObject* a = add(50, 60, 40, 20);
    PlainObject* b = add(120, 60, 40, 20);
    panel.AddToSelection(a);
    panel.AddToSelection(b);
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(130, 70));
    EXPECT_EQ(panel.SelectionCount(), 1);
    EXPECT_TRUE(panel.IsSelected(a));
}

TEST_F(HandleFixture, GridWriteChangesStepWithoutSnapFlag)
{
    EXPECT_EQ(handle().GridX(), 1);
    handle().SetGridX(4);
    EXPECT_EQ(handle().GridX(), 4);
    EXPECT_TRUE(handle().SnapToGrid());
    handle().SetSnapToGrid(false);
    EXPECT_EQ(handle().GridX(), 1);
}

TEST_F(HandleFixture, DrawingToolsMakeShapesAndLines)
{
    const std::pair<PanelTool, QString> tools[] = { { PanelTool::Rectangle, "TBCShapes" }, { PanelTool::Ellipse, "TBCShapes" },
        { PanelTool::RoundRectangle, "TBCShapes" }, { PanelTool::Line, "TQLineShape" } };
    int x = 10;
    for (const auto& [state, cls] : tools) {
        panel.SetPanelState(state);
        QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(x, 20));
        QTest::mouseMove(&panel, QPoint(x + 40, 60));
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(x + 40, 60));
        ASSERT_FALSE(panel.Objects().empty());
        EXPECT_EQ(panel.Objects().back()->ClassName(), cls);
        EXPECT_EQ(panel.Objects().back()->BoundsRect(), QRect(x, 20, 40, 40));
        x += 60;
    }
    auto* e = dynamic_cast<TBCShapes*>(panel.Objects()[1]);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Shape(), ShapeType::Ellipse);
    auto* l = dynamic_cast<TQLineShape*>(panel.Objects()[3]);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->LineStyle(), LineStyle::Vertical);
}

TEST_F(HandleFixture, PressOnUnselectedObjectSelectsAndDragsIt)
{
    PlainObject* a = add(50, 60, 40, 20);
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(60, 70));
    EXPECT_TRUE(panel.IsSelected(a));
    now += 100;
    QTest::mouseMove(&panel, QPoint(70, 75));
    now += 100;
    QTest::mouseMove(&panel, QPoint(90, 80));
    now += 300;
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(90, 80));
    EXPECT_EQ(a->BoundsRect(), QRect(70, 65, 40, 20));
}

// With a print shop's bleed, objects are nudged on into it, up to its edge
// (1/8 in: 12 pixels) and no further, on every side and at every zoom.
TEST_F(HandleFixture, NudgesReachIntoTheBleedAndStopAtItsEdge)
{
    const struct {
        const char* where;
        QRect at; // card pixels
        int key;
        bool shift;
        QRect after;
    } cases[] = {
        { "left edge, Left", QRect(0, 50, 40, 20), Qt::Key_Left, false, QRect(-3, 50, 40, 20) },
        { "near the bleed's left edge, Left", QRect(-10, 50, 40, 20), Qt::Key_Left, false, QRect(-12, 50, 40, 20) },
        { "top edge, Up", QRect(50, 0, 40, 20), Qt::Key_Up, false, QRect(50, -3, 40, 20) },
        { "at the bleed's top edge, Up", QRect(50, -12, 40, 20), Qt::Key_Up, false, QRect(50, -12, 40, 20) },
        { "right edge, Right", QRect(296, 50, 40, 20), Qt::Key_Right, false, QRect(299, 50, 40, 20) },
        { "near the bleed's right edge, Right", QRect(307, 50, 40, 20), Qt::Key_Right, false, QRect(308, 50, 40, 20) },
        { "right edge, Shift+Right", QRect(296, 50, 40, 20), Qt::Key_Right, true, QRect(296, 50, 43, 20) },
        { "bottom edge, Down", QRect(50, 172, 40, 20), Qt::Key_Down, false, QRect(50, 175, 40, 20) },
        { "near the bleed's bottom edge, Shift+Down", QRect(50, 172, 40, 30), Qt::Key_Down, true, QRect(50, 172, 40, 32) },
    };
    panel.SetBleed(12);
    for (float zoom : { 1.0f, 1.5f }) {
        panel.SetZoom(zoom);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.where) + (zoom == 1.0f ? " at 100 %" : " at 150 %"));
            PlainObject* o = add(0, 0, 10, 10);
            o->SetBox(c.at);
            panel.AddToSelection(o);
            for (int press = 0; press < 3; ++press) {
                panel.KeyDown(c.key, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
                panel.KeyUp(c.key);
            }
            EXPECT_EQ(o->BoundsRect(), c.after);
            panel.ClearSelection();
            panel.FreeObject(o);
        }
    }
}
