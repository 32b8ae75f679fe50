#include "objects/box_menu.h"
#include "core/modal.h"
#include "objects/graphic_control.h"
#include <QAction>
#include <QLineEdit>
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

std::array<QAction*, 3> AddAlignmentMenu(QMenu& menu, TQGraphicControl& owner,
    const std::array<TextAlignment, 3>& values, const std::function<void(TextAlignment)>& set)
{
    QMenu* sub = menu.addMenu(QStringLiteral("Alignment"));
    const std::array<const char*, 3> captions { "Left", "Center", "Right" };
    std::array<QAction*, 3> items {};
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* a = sub->addAction(QString::fromLatin1(captions[i]));
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &owner, [set, value = values[i], o = &owner] {
            set(value);
            o->NotifyChanged();
        });
        items[i] = a;
    }
    return items;
}

bool TextEntered(QLineEdit& text)
{
    if (!text.text().isEmpty())
        return true;
    MessageDlg(QStringLiteral("Please enter some text"), QStringLiteral("Information"), MessageStyle::Information);
    text.setFocus();
    return false;
}

} // namespace cardora
