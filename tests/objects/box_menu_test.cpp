#include "fake_parent.h"
#include "objects/circletext/circle_text.h"
#include "objects/supertext/super_text.h"
#include "support/scripted_modal.h"
#include <QAction>
#include <QMenu>
#include <map>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

// The box items of one kind (rich text, which has them without Font, has its
// own walk): the captions after the common items, toggles that say the card
// changed and whose check marks follow, a background colour that makes the
// box opaque.
template <class T>
void walkBoxItems(ScriptedModal& modal)
{
    FakeParent parent;
    T* o = T::CreateForTool(&parent.Owner);
    parent.Adopt(o);
    o->SetControlTransparent(true);
    o->SetBorderStyle(LabelBorder::NoBorder);
    QMenu& menu = *o->ObjectMenu();
    QStringList own;
    std::map<QString, QAction*> items;
    for (QAction* a : menu.actions()) {
        if (a->isSeparator())
            own.clear();
        else
            own.append(a->text());
        items[a->text()] = a;
    }
    EXPECT_EQ(own.join('|'), "Font|Transparent|Background Color|Border|Properties");
    struct Step {
        const char* item;
        std::optional<QColor> color; // the colour dialog's answer
        bool transparent, border, changed;
    };
    const Step steps[] = {
        { "Border", {}, true, true, true },
        { "Transparent", {}, false, true, true },
        { "Transparent", {}, true, true, true },
        { "Background Color", std::nullopt, true, true, false },
        { "Background Color", QColor(0, 128, 0), false, true, true },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item);
        modal.colors = { s.color };
        const int changes = parent.ChangedCount;
        items[s.item]->trigger();
        EXPECT_EQ(o->ControlTransparent(), s.transparent);
        EXPECT_EQ(o->BorderStyle() == LabelBorder::Single, s.border);
        EXPECT_EQ(parent.ChangedCount > changes, s.changed);
        o->PopupOpening();
        EXPECT_EQ(items["Transparent"]->isChecked(), s.transparent);
        EXPECT_EQ(items["Border"]->isChecked(), s.border);
    }
    EXPECT_EQ(o->BGColor(), FromQColor(QColor(0, 128, 0)));
}

} // namespace

TEST(BoxMenu, CircleTextAndSuperTextShareTheBoxItems)
{
    auto modal = ScriptedModal::Install();
    walkBoxItems<TQPCircleText>(*modal);
    walkBoxItems<TQSuperText>(*modal);
    SetModalHandler(nullptr);
}
