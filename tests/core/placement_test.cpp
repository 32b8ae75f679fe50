#include "core/window_placement.h"
#include <climits>
#include <gtest/gtest.h>

using namespace cardora;

// A placement from another set of screens, or a damaged CDW.INI, opens the
// window where it can be reached: on the screen it overlaps most, else the
// primary, shrunk to fit and wholly inside.
TEST(WindowPlacement, StoredPlacementLandsOnAScreen)
{
    const QList<QRect> one { QRect(0, 0, 1280, 770) };
    // A second screen left of the primary, as a laptop beside a monitor.
    const QList<QRect> two { QRect(0, 0, 1920, 1050), QRect(-1366, 200, 1366, 738) };
    const QSize fallback(622, 450);
    const struct {
        const char* name;
        StoredEdges stored;
        QList<QRect> screens;
        QRect expected;
    } cases[] = {
        { "on screen", { 100, 50, 722, 500 }, one, QRect(100, 50, 622, 450) },
        { "past the right and bottom", { 1500, 900, 2122, 1350 }, one, QRect(658, 320, 622, 450) },
        { "negative", { -5000, -4000, -4378, -3550 }, one, QRect(0, 0, 622, 450) },
        { "larger than the screen", { 10, 10, 3000, 2000 }, one, QRect(0, 0, 1280, 770) },
        { "inverted", { 500, 500, 100, 100 }, one, QRect(500, 320, 622, 450) },
        { "the extremes", { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, one, QRect(0, 0, 1280, 770) },
        { "the extremes reversed", { INT_MAX, INT_MAX, INT_MIN, INT_MIN }, one, QRect(658, 320, 622, 450) },
        { "on the second screen", { -1200, 300, -600, 700 }, two, QRect(-1200, 300, 600, 400) },
        { "mostly on the primary", { -300, 900, 200, 1100 }, two, QRect(0, 850, 500, 200) },
        { "a screen that is gone", { 3000, 100, 3600, 500 }, two, QRect(1320, 100, 600, 400) },
        { "no screens", { 3000, 100, 3600, 500 }, {}, QRect(0, 0, 622, 450) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect r = PlaceOnScreens(c.stored, fallback, c.screens);
        EXPECT_EQ(r, c.expected);
        if (!c.screens.isEmpty()) {
            bool inside = false;
            for (const QRect& s : c.screens)
                inside = inside || s.contains(r);
            EXPECT_TRUE(inside);
        }
    }
}
