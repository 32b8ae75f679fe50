#include "fake_parent.h"
#include "objects/circletext/circle_text.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/supertext/super_text.h"
#include "richtext/rich_text_control.h"
#include "support/scripted_modal.h"
#include <QAction>
#include <QMenu>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using namespace cardora::test;

namespace {

// The items after the last separator but one: what a kind appends to the
// common items of every object.
QStringList ownItems(QMenu& menu)
{
    QStringList captions;
    for (QAction* a : menu.actions()) {
        if (a->isSeparator())
            captions.clear();
        else
            captions << a->text();
    }
    return captions;
}

QAction* item(QMenu& menu, const QString& caption)
{
    for (QAction* a : menu.actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

// One kind of text in a box, read through its own properties.
struct Kind {
    const char* name;
    std::function<TQGraphicControl*(QObject*)> make;
    QStringList items;
    std::function<bool(TQGraphicControl*)> transparent;
    std::function<int(TQGraphicControl*)> border;
    std::function<TColor(TQGraphicControl*)> background;
};

template <class T>
Kind kindOf(const char* name, std::function<TQGraphicControl*(QObject*)> make, QStringList items,
    std::function<bool(T*)> transparent)
{
    return { name, std::move(make), std::move(items),
        [transparent](TQGraphicControl* o) { return transparent(static_cast<T*>(o)); },
        [](TQGraphicControl* o) { return static_cast<T*>(o)->BorderStyle(); },
        [](TQGraphicControl* o) { return static_cast<T*>(o)->BGColor(); } };
}

} // namespace

// Circle text, super text and rich text share their box items: the same
// captions in the same order, the same toggles with check marks that follow
// the object, and a background colour that makes the box opaque.
TEST(BoxMenu, TextInABoxSharesItsMenuItems)
{
    auto modal = ScriptedModal::Install();
    const Kind kinds[] = {
        kindOf<TQPCircleText>("circle text", [](QObject* o) { return TQPCircleText::CreateForTool(o); },
            { "Font", "Transparent", "Background Color", "Border", "Properties" },
            [](TQPCircleText* c) { return c->ControlTransparent(); }),
        kindOf<TQSuperText>("super text", [](QObject* o) { return TQSuperText::CreateForTool(o); },
            { "Font", "Transparent", "Background Color", "Border", "Properties" },
            [](TQSuperText* s) { return s->ControlTransparent(); }),
        kindOf<TQPRichBaseLabel>("rich text",
            [](QObject* o) {
                new TRichTextControl(o, QString::fromLatin1(kMasterRichTextName));
                return TQPRichBaseLabel::CreateForTool(o);
            },
            { "Transparent", "Background Color", "Border", "Edit" },
            [](TQPRichBaseLabel* r) { return r->Transparent(); }),
    };
    struct Step {
        const char* item;
        std::optional<QColor> color; // the colour dialog's answer
        bool flipsTransparent;
        bool flipsBorder;
        bool opaque;    // the box is not transparent afterwards
        bool recolours; // the background takes the colour
    };
    const Step steps[] = {
        { "Border", {}, false, true, false, false },
        { "Transparent", {}, true, false, false, false },
        { "Background Color", std::nullopt, false, false, false, false },
        { "Background Color", QColor(0, 128, 0), false, false, true, true },
        { "Border", {}, false, true, false, false },
    };
    for (const Kind& k : kinds) {
        FakeParent parent;
        TQGraphicControl* o = k.make(&parent.Owner);
        parent.Adopt(o);
        o->SetBounds(10, 10, 120, 60);
        QMenu& menu = *o->ObjectMenu();
        EXPECT_EQ(ownItems(menu).join('|'), k.items.join('|')) << k.name;
        for (const Step& s : steps) {
            SCOPED_TRACE(std::string(k.name) + ": " + s.item);
            const bool transparent = k.transparent(o);
            const int border = k.border(o);
            const TColor background = k.background(o);
            const int changes = parent.ChangedCount;
            if (QString(s.item) == "Background Color")
                modal->colors.push_back(s.color);
            item(menu, s.item)->trigger();
            EXPECT_EQ(k.transparent(o), s.opaque ? false : transparent != s.flipsTransparent);
            EXPECT_EQ(k.border(o) != border, s.flipsBorder);
            EXPECT_EQ(k.background(o), s.recolours ? FromQColor(*s.color) : background);
            EXPECT_EQ(parent.ChangedCount > changes, s.flipsTransparent || s.flipsBorder || s.recolours);
            o->PopupOpening();
            EXPECT_EQ(item(menu, "Transparent")->isChecked(), k.transparent(o));
            EXPECT_EQ(item(menu, "Border")->isChecked(), k.border(o) == bsSingle);
        }
    }
    SetModalHandler(nullptr);
}
