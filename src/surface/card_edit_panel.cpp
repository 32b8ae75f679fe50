#include "objects/card_filer.h"
#include "objects/graphic_control.h"
#include "surface/card_view.h"
#include "surface/card_edit.h"
#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>

namespace cardora {

namespace {
const char* const kEditKey = "cardoraEditKey";
const char* const kWatched = "cardoraEditWatched";
const char* const kTriggerWatched = "cardoraEditTriggerWatched";

// "Text Properties..." names its step "Text Properties"; an item of a
// submenu is named after the submenu ("Line Thickness").
QString stepName(QAction* action)
{
    QString text = action->text();
    if (auto* menu = qobject_cast<QMenu*>(action->parent()))
        if (auto* owner = qobject_cast<QMenu*>(menu->parent()); owner && !menu->title().isEmpty())
            text = menu->title();
    text.remove('&');
    while (text.endsWith('.'))
        text.chop(1);
    return text.trimmed();
}
} // namespace

// ---------------------------------------------------------------- keys

int CardView::EditKey(TQGraphicControl* o)
{
    const QVariant v = o->property(kEditKey);
    if (v.isValid())
        return v.toInt();
    const int key = nextEditKey_++;
    o->setProperty(kEditKey, key);
    return key;
}

TQGraphicControl* CardView::ObjectByEditKey(int key) const
{
    for (TQGraphicControl* o : Objects()) {
        const QVariant v = o->property(kEditKey);
        if (v.isValid() && v.toInt() == key)
            return o;
    }
    return nullptr;
}

TQGraphicControl* CardView::RestoreObject(const QByteArray& state, int key, const QString& name)
{
    std::vector<TQGraphicControl*> read;
    try {
        read = TQLabelObjectFiler().ReadObjects(state, owner_, this, [this](TQGraphicControl* o) { AddObject(o); });
    } catch (...) {
        return nullptr;
    }
    if (read.empty())
        return nullptr;
    TQGraphicControl* o = read.front();
    o->SetName(name);
    o->setProperty(kEditKey, key);
    return o;
}

void CardView::ArrangeByEditKeys(const std::vector<int>& order)
{
    auto rank = [&order](TQGraphicControl* o) {
        const QVariant v = o->property(kEditKey);
        auto it = v.isValid() ? std::find(order.begin(), order.end(), v.toInt()) : order.end();
        return it - order.begin();
    };
    document_.Arrange(rank);
    update();
}

void CardView::SelectOnly(const std::vector<TQGraphicControl*>& objects)
{
    handle_.ClearSelection();
    for (TQGraphicControl* o : objects)
        handle_.Select(o);
    // Selecting from a command is not a click: no drag follows.
    handle_.ReleaseCapture();
}

// ---------------------------------------------------------------- recording

void CardView::BeginEdit()
{
    if (!undoStack_ || applyingEdit_)
        return;
    if (editDepth_++ == 0)
        pendingEdit_ = std::make_unique<TCardSnapshot>(TCardSnapshot::Take(*this));
}

void CardView::BeginMove(const std::vector<TQGraphicControl*>& objects)
{
    if (!undoStack_ || applyingEdit_)
        return;
    if (editDepth_++ == 0)
        pendingEdit_ = std::make_unique<TCardSnapshot>(TCardSnapshot::TakeBounds(*this, objects));
}

void CardView::EndEdit(const QString& text) { EndMove(text, -1); }

void CardView::EndMove(const QString& text, int mergeId)
{
    if (!undoStack_ || applyingEdit_ || editDepth_ == 0)
        return;
    if (--editDepth_ > 0)
        return;
    std::unique_ptr<TCardSnapshot> before = std::move(pendingEdit_);
    if (!before)
        return;
    std::vector<TQGraphicControl*> scope;
    if (before->boundsOnly)
        for (const auto& entry : before->states)
            if (TQGraphicControl* o = ObjectByEditKey(entry.first))
                scope.push_back(o);
    const TCardSnapshot after = before->boundsOnly ? TCardSnapshot::TakeBounds(*this, scope) : TCardSnapshot::Take(*this);
    if (auto command = TCardEditCommand::FromSnapshots(*this, text, *before, after, mergeId))
        undoStack_->push(command.release());
}

void CardView::RunSelectionCommand(CardCommand c)
{
    static const char* const names[] = { "Cut", "Copy", "Paste", "Delete" };
    BeginEdit();
    SelectionCommand(c);
    EndEdit(names[static_cast<int>(c)]);
}

// ---------------------------------------------------------------- menus

// A menu's own connection to each action runs before the command's handler
// and emits QMenu::triggered; a connection made after the handler's runs
// after it. Between the two lies exactly the command.
void CardView::WatchMenu(QMenu* menu)
{
    if (!menu)
        return;
    if (!menu->property(kWatched).toBool()) {
        menu->setProperty(kWatched, true);
        // Items added while the menu opens are watched too.
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { watchMenuActions(menu); });
    }
    watchMenuActions(menu);
}

void CardView::watchMenuActions(QMenu* top)
{
    // Connections of actions already gone are dropped.
    std::erase_if(actionDestroyedConnections_, [](const QMetaObject::Connection& c) { return !c; });
    QList<QMenu*> menus = top->findChildren<QMenu*>();
    menus.prepend(top);
    for (QMenu* m : menus) {
        if (!m->property(kTriggerWatched).toBool()) {
            m->setProperty(kTriggerWatched, true);
            connect(m, &QMenu::triggered, this, [this](QAction* a) { menuActionStarting(a); });
        }
        for (QAction* a : m->actions()) {
            if (a->isSeparator() || a->menu() || a->property(kWatched).toBool())
                continue;
            a->setProperty(kWatched, true);
            connect(a, &QAction::triggered, this, [this, a] { menuActionDone(a); });
            actionDestroyedConnections_.push_back(connect(a, &QObject::destroyed, this, [this, a] {
                // The command freed its own object, menu and all.
                if (menuAction_ == a)
                    menuActionDone(a);
            }));
        }
    }
}

void CardView::menuActionStarting(QAction* a)
{
    // A submenu's item is reported again by the menus above it.
    if (menuAction_ || a == lastMenuAction_)
        return;
    menuAction_ = a;
    menuText_ = stepName(a);
    BeginEdit();
}

void CardView::menuActionDone(QAction* a)
{
    if (menuAction_ != a)
        return;
    menuAction_ = nullptr;
    lastMenuAction_ = a;
    QTimer::singleShot(0, this, [this] { lastMenuAction_ = nullptr; });
    EndEdit(menuText_);
}

} // namespace cardora
