#include "objects/box_menu.h"
#include "core/modal.h"
#include "objects/graphic_control.h"
#include <QAction>
#include <QMenu>

namespace cardora {

void BoxMenuItems::Add(QMenu& menu, TQGraphicControl& owner, const BoxMenuCommands& commands)
{
    auto add = [&menu, &owner](const char* caption, const std::function<void()>& command, bool toggle = false) {
        QAction* a = menu.addAction(QString::fromLatin1(caption));
        QObject::connect(a, &QAction::triggered, &owner, [command, toggle, o = &owner] {
            if (command)
                command();
            // A visible change the user made: the card must offer to be saved.
            if (toggle)
                o->NotifyChanged();
        });
        return a;
    };
    menu.addSeparator();
    if (commands.chooseFont)
        add("Font", commands.chooseFont);
    transparent_ = add("Transparent", commands.toggleTransparent, true);
    transparent_->setCheckable(true);
    add("Background Color", commands.chooseBackground);
    border_ = add("Border", commands.toggleBorder, true);
    border_->setCheckable(true);
}

void BoxMenuItems::Check(bool transparent, bool border) const
{
    if (transparent_)
        transparent_->setChecked(transparent);
    if (border_)
        border_->setChecked(border);
}

bool ChooseBoxBackground(TQGraphicControl& owner, TColor current, const std::function<void(TColor)>& set,
    const std::function<void()>& makeOpaque)
{
    const std::optional<QColor> c = ChooseColor(ToQColor(current));
    if (!c)
        return false;
    set(FromQColor(*c));
    owner.NotifyChanged();
    makeOpaque();
    owner.Invalidate();
    return true;
}

} // namespace cardora
