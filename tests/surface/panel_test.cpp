#include "support/plain_object.h"
#include "support/scripted_modal.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::PlainObject;

namespace {
struct PanelFixture : ::testing::Test {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    int changes = 0;

    void SetUp() override
    {
        panel.SetPanelSize(336, 192);
        panel.SetDrawOutline(true);
        panel.SetShape(CardShape::Rectangle);
        panel.LabelChangedEvent = [this](QObject*) { ++changes; };
        panel.show();
    }
    PlainObject* add(int l, int t, int w, int h)
    {
        auto* o = new PlainObject(&owner);
        panel.AddObject(o);
        o->SetBounds(l, t, w, h);
        return o;
    }
    QAction* menuItem(const QString& caption)
    {
        for (QAction* a : panel.PanelMenu()->actions())
            if (a->text() == caption)
                return a;
        return nullptr;
    }
};
} // namespace

TEST_F(PanelFixture, ZoomShowsObjectsScaledWithoutChangingOrNotifying)
{
    PlainObject* o = add(10, 11, 100, 25);
    changes = 0;
    panel.SetZoom(1.3f);
    EXPECT_EQ(o->BoundsRect(), QRect(10, 11, 100, 25));
    EXPECT_EQ(panel.ShownRect(o->BoundsRect()), QRect(13, 14, 130, 33)); // covers 14.3 to 46.8
    EXPECT_EQ(panel.width(), 437);
    EXPECT_EQ(panel.height(), 250);
    EXPECT_EQ(changes, 0);
}

TEST_F(PanelFixture, FirstBoundsCheckRecordsThenMovesNotifyOnceUnlessPrinting)
{
    auto* o = new PlainObject(&owner);
    panel.AddObject(o);
    changes = 0;
    o->SetBounds(20, 20, 50, 30); // first check: recorded, not a change
    EXPECT_EQ(changes, 0);
    o->SetLeft(40);
    EXPECT_EQ(changes, 1);
    panel.SetPrinting(true);
    o->SetLeft(60);
    EXPECT_EQ(changes, 1);
    panel.SetPrinting(false);
    o->SetLeft(70);
    EXPECT_EQ(changes, 2);
}

TEST_F(PanelFixture, CentringUsesTruncatingDivision)
{
    panel.SetPanelSize(336, 191);
    PlainObject* o = add(5, 5, 40, 25);
    o->CenterVertically();
    EXPECT_EQ(o->Top(), 83);
    o->CenterHorizontally();
    EXPECT_EQ(o->Left(), 168 - 20);
}

TEST_F(PanelFixture, RubberBandSelectsAndShiftBandDeselectsSelected)
{
    PlainObject* a = add(10, 10, 20, 20);
    PlainObject* b = add(50, 10, 20, 20);
    PlainObject* c = add(90, 10, 20, 20);
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&panel, QPoint(75, 40));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(75, 40));
    EXPECT_EQ(panel.SelectionCount(), 2);
    EXPECT_TRUE(panel.IsSelected(a));
    EXPECT_TRUE(panel.IsSelected(b));
    // Shift-banding over the two selected and the third leaves only the third.
    QTest::mousePress(&panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 45));
    QTest::mouseMove(&panel, QPoint(120, 5));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 5));
    EXPECT_EQ(panel.SelectionCount(), 1);
    EXPECT_TRUE(panel.IsSelected(c));
}

TEST_F(PanelFixture, ClickSelectsShiftClickAddsAndUnselectableIsPassedBy)
{
    PlainObject* a = add(10, 10, 30, 30);
    PlainObject* b = add(60, 10, 30, 30);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(panel.IsSelected(a));
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(70, 20));
    EXPECT_EQ(panel.SelectionCount(), 2);
    b->SetUnselectable(true); // leaves the selection at once
    EXPECT_FALSE(panel.IsSelected(b));
    panel.ClearSelection();
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(70, 20));
    EXPECT_EQ(panel.SelectionCount(), 0);
    panel.SelectAll();
    EXPECT_EQ(panel.SelectionCount(), 1);
}

TEST_F(PanelFixture, UniqueNameTakesSmallestFreeNumberAndGivesUpAfterThousand)
{
    EXPECT_EQ(panel.UniqueName("Special"), "Special1");
    for (int i = 1; i <= 1000; ++i) {
        auto* o = new QObject(&owner);
        o->setObjectName("special" + QString::number(i)); // names compare without case
    }
    EXPECT_EQ(panel.UniqueName("Special"), QString());
}

TEST_F(PanelFixture, PanelMenuEnablingFollowsSelectionObjectsAndClipFile)
{
    panel.UpdatePanelMenu();
    EXPECT_FALSE(menuItem("Cut")->isEnabled());
    EXPECT_FALSE(menuItem("Align Left")->isEnabled());
    EXPECT_FALSE(menuItem("Lock All")->isEnabled());
    EXPECT_FALSE(menuItem("Unlock All")->isEnabled());
    EXPECT_TRUE(menuItem("Select All")->isEnabled());
    QFile::remove(panel.ClipFileName());
    EXPECT_FALSE(menuItem("Paste")->isEnabled());

    PlainObject* a = add(10, 10, 20, 20);
    add(40, 10, 20, 20);
    add(70, 10, 20, 20);
    panel.AddToSelection(a);
    QFile clip(panel.ClipFileName());
    ASSERT_TRUE(clip.open(QIODevice::WriteOnly));
    clip.close();
    panel.UpdatePanelMenu();
    EXPECT_TRUE(menuItem("Cut")->isEnabled());
    EXPECT_TRUE(menuItem("Font")->isEnabled());
    EXPECT_TRUE(menuItem("Lock All")->isEnabled());
    EXPECT_TRUE(menuItem("Unlock All")->isEnabled());
    EXPECT_TRUE(menuItem("Paste")->isEnabled());
    QFile::remove(panel.ClipFileName());
}

TEST_F(PanelFixture, AlignAndLockCommands)
{
    PlainObject* a = add(30, 10, 20, 20);
    PlainObject* b = add(60, 40, 40, 10);
    panel.AddToSelection(a);
    panel.AddToSelection(b);
    menuItem("Align Left")->trigger();
    EXPECT_EQ(b->Left(), 30);
    menuItem("Align Right")->trigger();
    EXPECT_EQ(a->Left() + a->Width(), 70);
    EXPECT_EQ(b->Left() + b->Width(), 70);
    menuItem("Align Bottoms")->trigger();
    EXPECT_EQ(a->Top() + a->Height(), 50);
    menuItem("Align Tops")->trigger();
    EXPECT_EQ(a->Top(), b->Top());
    menuItem("Lock All")->trigger();
    EXPECT_TRUE(a->Locked() && b->Locked());
    menuItem("Unlock All")->trigger();
    EXPECT_FALSE(a->Locked() || b->Locked());
}

TEST_F(PanelFixture, GridDotsAreDarkGreenAtTwoModuloStep)
{
    panel.SetShowGrid(true);
    QImage img(panel.size(), QImage::Format_RGB32);
    QPainter p(&img);
    panel.PaintBackground(p);
    p.end();
    EXPECT_EQ(img.pixel(6, 6) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(img.pixel(2 + 4 * 20, 2 + 4 * 10) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(img.pixel(4, 6) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(6, 7) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(0, 100) & 0xFFFFFF, 0x000000u); // the outline
    panel.SetGridSize(GridSpacing::EightPixels);
    QImage img8(panel.size(), QImage::Format_RGB32);
    QPainter p8(&img8);
    panel.PaintBackground(p8);
    p8.end();
    EXPECT_EQ(img8.pixel(10, 10) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(img8.pixel(6, 6) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(PanelFixture, SelectionMarkersBlackForOneGreyForSeveral)
{
    PlainObject* a = add(20, 20, 40, 30);
    PlainObject* b = add(100, 20, 40, 30);
    panel.AddToSelection(a);
    QImage one = panel.grab().toImage();
    EXPECT_EQ(one.pixel(18, 18) & 0xFFFFFF, 0x000000u);          // corner square
    EXPECT_EQ(one.pixel(18 + 22, 18) & 0xFFFFFF, 0x000000u);     // middle square, one object only
    panel.AddToSelection(b);
    QImage two = panel.grab().toImage();
    EXPECT_EQ(two.pixel(18, 18) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(two.pixel(18 + 22, 18) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(PanelFixture, DrawingToolCreatesObjectInNormalisedRectWithMinimums)
{
    ObjectTool plain;
    plain.create = [](const ToolPlacement& at) -> TQGraphicControl* { return new PlainObject(at.owner); };
    ObjectKinds::ReplaceTool(int(PanelTool::Rectangle), plain);
    QRect dropped;
    panel.DroppedObjectEvent = [&](QRect& r) { dropped = r; };
    panel.SetPanelState(PanelTool::Rectangle);
    EXPECT_FALSE(panel.Pointing());
    // A click without dragging: 50 wide, 15 high at the click point.
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(40, 30));
    ASSERT_EQ(panel.Objects().size(), 1u);
    EXPECT_EQ(panel.Objects()[0]->BoundsRect(), QRect(40, 30, 50, 15));
    EXPECT_EQ(panel.Objects()[0]->Name(), "Special1");
    EXPECT_EQ(dropped, QRect(40, 30, 50, 15));
    // Right to left and bottom to top on a zoomed card: the card pixels
    // under the mouse, 200/1.2 = 166.7 down to 166.
    panel.SetZoom(1.2f);
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&panel, QPoint(120, 100));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(120, 100));
    ASSERT_EQ(panel.Objects().size(), 2u);
    EXPECT_EQ(panel.Objects()[1]->BoundsRect(), QRect(100, 83, 66, 42));
    EXPECT_EQ(panel.Objects()[1]->Name(), "Special2");
}

TEST_F(PanelFixture, DeleteKeyFreesSelectionAndOffCardObjectsGoBeforeSaving)
{
    PlainObject* a = add(10, 10, 20, 20);
    PlainObject* nearRight = add(330, 10, 20, 20);  // partly on the card: stays
    PlainObject* nearBottom = add(10, 185, 20, 20); // partly on the card: stays
    add(336, 10, 20, 20);  // wholly right of the card
    add(10, 192, 20, 20);  // wholly below the card
    add(50, 50, 0, 20);    // no width
    panel.RemoveOffCardObjects();
    ASSERT_EQ(panel.Objects(), (std::vector<TQGraphicControl*> { a, nearRight, nearBottom }));
    panel.FreeObject(nearRight);
    panel.FreeObject(nearBottom);
    panel.AddToSelection(a);
    changes = 0;
    panel.KeyDown(Qt::Key_Delete, {});
    EXPECT_TRUE(panel.Objects().empty());
    EXPECT_EQ(changes, 1);
}

TEST_F(PanelFixture, RenderCardBitmapPaintsObjectsWithoutOutlineOrMarkers)
{
    PlainObject* a = add(20, 20, 40, 30);
    panel.AddToSelection(a);
    panel.SetShowGrid(true);
    const QImage img = panel.RenderCardBitmap();
    EXPECT_EQ(img.size(), QSize(336, 192));
    EXPECT_EQ(img.pixel(0, 100) & 0xFFFFFF, 0xFFFFFFu);  // no outline
    EXPECT_EQ(img.pixel(6, 6) & 0xFFFFFF, 0xFFFFFFu);    // no grid
    EXPECT_EQ(img.pixel(18, 18) & 0xFFFFFF, 0xFFFFFFu);  // no markers
    EXPECT_EQ(img.pixel(30, 30) & 0xFFFFFF, 0xFF0000u);  // the object (red)
}
