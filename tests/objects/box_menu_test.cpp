#include "fake_parent.h"
#include "objects/circletext/circle_text.h"
#include "objects/supertext/super_text.h"
#include "support/scripted_modal.h"
#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

QAction* item(QMenu& menu, const QString& caption)
{
    for (QAction* a : menu.actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

// Walks the box items of one kind: the captions after the common items, the
// toggles with their check marks, and a background colour that makes the
// box opaque. Rich text, which shares them without Font, has its own walk.
template <class T>
void walkBoxItems(ScriptedModal& modal, T* o, FakeParent& parent)
{
    QMenu& menu = *o->ObjectMenu();
    QStringList own;
    for (QAction* a : menu.actions())
        a->isSeparator() ? own.clear() : own.append(a->text());
    EXPECT_EQ(own.join('|'), "Font|Transparent|Background Color|Border|Properties");
    struct Step {
        const char* item;
        std::optional<QColor> color; // the colour dialog's answer
        bool transparent, border;
        TColor background;
        bool changed;
    };
    const Step steps[] = {
        { "Border", {}, true, true, clWhite, true },
        { "Transparent", {}, false, true, clWhite, true },
        { "Transparent", {}, true, true, clWhite, true },
        { "Background Color", std::nullopt, true, true, clWhite, false },
        { "Background Color", QColor(0, 128, 0), false, true, FromQColor(QColor(0, 128, 0)), true },
        { "Border", {}, false, false, FromQColor(QColor(0, 128, 0)), true },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item);
        if (QString(s.item) == "Background Color")
            modal.colors.push_back(s.color);
        const int changes = parent.ChangedCount;
        item(menu, s.item)->trigger();
        EXPECT_EQ(o->ControlTransparent(), s.transparent);
        EXPECT_EQ(o->BorderStyle() == bsSingle, s.border);
        EXPECT_EQ(o->BGColor(), s.background);
        EXPECT_EQ(parent.ChangedCount > changes, s.changed);
        o->PopupOpening();
        EXPECT_EQ(item(menu, "Transparent")->isChecked(), s.transparent);
        EXPECT_EQ(item(menu, "Border")->isChecked(), s.border);
    }
}

template <class T>
T* placed(FakeParent& parent)
{
    T* o = T::CreateForTool(&parent.Owner);
    parent.Adopt(o);
    o->SetBounds(10, 10, 120, 60);
    o->SetBGColor(clWhite);
    o->SetBorderStyle(bsNone);
    o->SetControlTransparent(true);
    return o;
}

} // namespace

// Circle text and super text share their box items with rich text.
TEST(BoxMenu, CircleTextAndSuperTextShareTheBoxItems)
{
    auto modal = ScriptedModal::Install();
    {
        SCOPED_TRACE("circle text");
        FakeParent parent;
        walkBoxItems(*modal, placed<TQPCircleText>(parent), parent);
    }
    {
        SCOPED_TRACE("super text");
        FakeParent parent;
        walkBoxItems(*modal, placed<TQSuperText>(parent), parent);
    }
    SetModalHandler(nullptr);
}
