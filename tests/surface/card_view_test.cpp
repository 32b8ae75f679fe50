#include "core/clock.h"
#include "support/plain_object.h"
#include "surface/card_panel.h"
#include <QPaintEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>

using namespace cardora;
using cardora::test::PlainObject;

// The panel is a view of its card: objects, the handle and the mouse live in
// card pixels, and the zoom only decides how large the view shows them.
namespace {
struct ViewFixture : ::testing::Test {
    QObject owner;
    CardPanel panel { nullptr, &owner };
    std::uint32_t now = 1000;
    QRegion painted; // what the paints since the last clear redrew

    void SetUp() override
    {
        SetTickSourceForTesting([this] { return now; });
        panel.SetPanelSize(336, 192);
        panel.SetShape(CardShape::Rectangle);
        panel.SetPointing(true);
        panel.show();
        panel.installEventFilter(&paintWatch);
        paintWatch.seen = &painted;
    }
    void TearDown() override { SetTickSourceForTesting(nullptr); }
    PlainObject* add(const QRect& r)
    {
        auto* o = new PlainObject(&owner);
        panel.AddObject(o);
        o->SetBounds(r.left(), r.top(), r.width(), r.height());
        return o;
    }
    // A press on the object, a drag and a release, in widget pixels.
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(&panel, Qt::LeftButton, {}, from);
        now += 20;
        QTest::mouseMove(&panel, from); // the drag starts here, after 10 ms
        now += 200;
        QTest::mouseMove(&panel, to);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, to);
    }
    // Lets the repaints asked for so far happen, as the event loop does.
    void paintNow() { QCoreApplication::processEvents(); }
    struct PaintWatch : QObject {
        QRegion* seen = nullptr;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                *seen += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } paintWatch;
};

// Counts how often the view draws it.
struct CountedObject : PlainObject {
    using PlainObject::PlainObject;
    int* paints = nullptr;
    void Paint() override
    {
        ++*paints;
        PlainObject::Paint();
    }
};

const float kZooms[] = { 0.25f, 0.5f, 1.0f, 1.3f, 1.5f, 2.0f, 4.0f };
} // namespace

// A drag moves the object by the card pixels under the mouse, whatever the
// zoom; the mouse's point stops at the card's edge as at 100 %.
TEST_F(ViewFixture, DragsMoveByCardPixelsAtEveryZoom)
{
    struct Case {
        QRect at;
        QPoint by; // card pixels
    } cases[] = {
        { QRect(100, 60, 40, 30), QPoint(20, 12) },
        { QRect(100, 60, 40, 30), QPoint(-36, -8) },
        { QRect(280, 150, 40, 30), QPoint(200, 100) }, // past the right and bottom edges
        { QRect(4, 4, 40, 30), QPoint(-60, -60) }, // past the left and top edges
    };
    for (float z : kZooms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "zoom " << z << " from " << c.at.x() << "," << c.at.y());
            panel.SetZoom(z);
            PlainObject* o = add(c.at);
            const QPoint from = panel.ShownRect(c.at).center();
            const QPoint to(from.x() + int(std::lround(c.by.x() * z)), from.y() + int(std::lround(c.by.y() * z)));
            drag(from, to);
            const QPoint grip = panel.CardPoint(from);
            const QPoint stop(std::clamp(grip.x() + c.by.x(), 0, 336), std::clamp(grip.y() + c.by.y(), 0, 192));
            const QPoint expected = c.at.topLeft() + stop - grip;
            // Where a zoomed widget pixel falls in a card pixel may differ by one.
            const int slack = z == 1.0f ? 0 : 1;
            EXPECT_LE(std::abs(o->Left() - expected.x()), slack) << o->Left() << " for " << expected.x();
            EXPECT_LE(std::abs(o->Top() - expected.y()), slack) << o->Top() << " for " << expected.y();
            EXPECT_EQ(o->BoundsRect().size(), c.at.size());
            EXPECT_EQ(o->BoundsRect(), o->BoundsRect());
            panel.ClearSelection();
            panel.FreeObject(o);
        }
    }
}

// The panel's widget is the card times the zoom; the markers of a selected
// object sit on the corners of where it shows, five screen pixels at any zoom.
TEST_F(ViewFixture, MarkersKeepTheirSizeOnTheCornersOfWhatShows)
{
    PlainObject* o = add(QRect(120, 50, 60, 40));
    o->Fill = clWhite;
    panel.AddToSelection(o);
    for (float z : kZooms) {
        SCOPED_TRACE(z);
        panel.SetZoom(z);
        EXPECT_EQ(panel.size(), QSize(int(std::lround(336 * z)), int(std::lround(192 * z))));
        const QImage shot = panel.grab().toImage();
        const QRect shown = panel.ShownRect(o->BoundsRect());
        // Black squares from two pixels outside each corner, five wide.
        for (QPoint corner : { QPoint(shown.left() - 2, shown.top() - 2),
                 QPoint(shown.left() + shown.width() - 3, shown.top() + shown.height() - 3) }) {
            EXPECT_EQ(shot.pixel(corner) & 0xFFFFFF, 0u);
            EXPECT_EQ(shot.pixel(corner + QPoint(4, 4)) & 0xFFFFFF, 0u);
        }
        if (z >= 1.0f) // below, the side markers meet the corners
            EXPECT_NE(shot.pixel(QPoint(shown.left() - 2, shown.top() + 5 + 1)) & 0xFFFFFF, 0u);
    }
}

// Moving one object repaints where it was and where it went, not the card,
// and only the objects there draw again.
TEST_F(ViewFixture, AMoveRepaintsOnlyWhatChanged)
{
    for (float z : { 0.5f, 1.0f, 1.5f, 4.0f }) {
        SCOPED_TRACE(z);
        panel.SetZoom(z);
        int paints = 0;
        for (int i = 0; i < 30; ++i) {
            auto* other = new CountedObject(&owner);
            other->paints = &paints;
            panel.AddObject(other);
            other->SetBounds(10 + (i % 6) * 50, 10 + (i / 6) * 35, 40, 25);
        }
        PlainObject* o = add(QRect(200, 100, 30, 20));
        paintNow();
        EXPECT_GE(paints, 30);
        painted = QRegion();
        paints = 0;
        o->SetBox(QRect(212, 104, 30, 20));
        paintNow();
        // Only the four it overlaps, at 160 and 210 across, 80 and 115 down.
        EXPECT_EQ(paints, 4);
        // Both places and the two card pixels around them that smooth
        // drawing may reach.
        const QRect both = panel.ShownRect(QRect(200, 100, 42, 24).adjusted(-2, -2, 2, 2)).adjusted(-1, -1, 1, 1);
        EXPECT_FALSE(painted.isEmpty());
        EXPECT_TRUE((painted - both).isEmpty()) << painted.boundingRect().x() << "," << painted.boundingRect().width();
        // What shows there is the object at its new place.
        const QImage shot = panel.grab().toImage();
        EXPECT_EQ(shot.pixel(panel.ShownRect(QRect(238, 120, 1, 1)).topLeft()) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(shot.pixel(panel.ShownRect(QRect(201, 101, 1, 1)).topLeft()) & 0xFFFFFF, 0xFFFFFFu);
        panel.ClearObjects();
    }
}

// Selecting and deselecting repaint the markers wherever they reach, and
// little else, at every zoom.
TEST_F(ViewFixture, SelectingRepaintsTheMarkersAndLittleElse)
{
    for (float z : kZooms) {
        SCOPED_TRACE(z);
        panel.SetZoom(z);
        PlainObject* a = add(QRect(40, 30, 50, 20));
        PlainObject* b = add(QRect(200, 120, 30, 40));
        paintNow();
        auto markers = [this](PlainObject* o) { return panel.ShownRect(o->BoundsRect()).adjusted(-2, -2, 2, 2); };
        auto step = [&](const std::function<void()>& act, std::vector<PlainObject*> marked) {
            painted = QRegion();
            act();
            paintNow();
            for (PlainObject* o : marked)
                EXPECT_TRUE((QRegion(markers(o)) - painted).isEmpty()) << o->Left();
            EXPECT_LT(painted.boundingRect().width() * painted.boundingRect().height(),
                panel.width() * panel.height());
        };
        step([&] { panel.AddToSelection(a); }, { a });
        step([&] { panel.ClearSelection(); }, { a });
        step([&] { panel.SelectOnly({ b }); }, { b });
        step([&] { panel.ClearSelection(); }, { b });
        panel.ClearObjects();
    }
}

// Ctrl with the wheel asks the window for a zoom step; the wheel alone scrolls.
TEST_F(ViewFixture, CtrlWheelAsksForAZoomStep)
{
    std::vector<int> asked;
    panel.ZoomStepRequested = [&asked](int step) { asked.push_back(step); };
    auto wheel = [this](int dy, Qt::KeyboardModifiers mods) {
        QWheelEvent e(QPointF(50, 50), panel.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, dy), Qt::NoButton, mods,
            Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&panel, &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(wheel(120, Qt::ControlModifier));
    EXPECT_TRUE(wheel(-120, Qt::ControlModifier));
    EXPECT_FALSE(wheel(120, {}));
    EXPECT_FALSE(wheel(-240, Qt::ShiftModifier));
    EXPECT_EQ(asked, std::vector<int>({ 1, -1 }));
}
