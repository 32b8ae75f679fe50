#include "core/modal.h"
#include "objects/graphic_control.h"
#include "surface/card_view.h"
#include "surface/panel_picture_intake.h"
#include "core/clock.h"
#include <QFileInfo>
#include <QMenu>
#include <algorithm>
#include <climits>

namespace cardora {

void CardView::buildPanelMenu()
{
    panelMenu_ = new QMenu(this);
    QMenu& m = *panelMenu_;
    auto add = [&](const QString& caption, auto fn, bool needsSelection) {
        QAction* a = m.addAction(caption);
        QObject::connect(a, &QAction::triggered, this, fn);
        if (needsSelection)
            selectionItems_.push_back(a);
        return a;
    };
    add("Bring To Front", [this] {
        if (handle_.SelectedCount() == 0)
            return;
        handle_.BringSelectionToFront();
        if (LabelChangedEvent)
            LabelChangedEvent(this);
    }, true);
    add("Send To Back", [this] {
        if (handle_.SelectedCount() == 0)
            return;
        handle_.SendSelectionToBack();
        handle_.ClearSelection();
        if (LabelChangedEvent)
            LabelChangedEvent(this);
    }, true);
    m.addSeparator();
    add("Cut", [this] { SelectionCommand(CardCommand::Cut); }, true);
    add("Copy", [this] { SelectionCommand(CardCommand::Copy); }, true);
    pasteItem_ = add("Paste", [this] { SelectionCommand(CardCommand::Paste); }, false);
    m.addSeparator();
    add("Delete", [this] { SelectionCommand(CardCommand::Delete); }, true);
    m.addSeparator();
    add("Align Left", [this] { alignLeft(); }, true);
    add("Align Right", [this] { alignRight(); }, true);
    add("Align Tops", [this] { alignTops(); }, true);
    add("Align Bottoms", [this] { alignBottoms(); }, true);
    m.addSeparator();
    add("Center Vertically", [this] {
        for (TQGraphicControl* o : std::vector<TQGraphicControl*>(handle_.Selection()))
            o->CenterVertically();
        update();
    }, true);
    add("Center Horizontally", [this] {
        for (TQGraphicControl* o : std::vector<TQGraphicControl*>(handle_.Selection()))
            o->CenterHorizontally();
        update();
    }, true);
    m.addSeparator();
    lockAllItem_ = add("Lock All", [this] {
        for (TQGraphicControl* o : Objects())
            if (!o->Locked())
                o->SetLocked(true);
    }, false);
    unlockAllItem_ = add("Unlock All", [this] {
        for (TQGraphicControl* o : Objects())
            if (o->Locked())
                o->SetLocked(false);
    }, false);
    m.addSeparator();
    add("Mark All Selectable", [this] {
        for (TQGraphicControl* o : Objects())
            o->SetUnselectable(false);
    }, false);
    add("Mark All Unselectable", [this] {
        for (TQGraphicControl* o : std::vector<TQGraphicControl*>(Objects()))
            o->SetUnselectable(true);
    }, false);
    add("Select All", [this] { SelectAll(); }, false);
    m.addSeparator();
    add("Font", [this] {
        if (handle_.SelectedCount() == 0)
            return;
        // Every selected object with text takes the font and its colour.
        if (const std::optional<FontChoice> f = ChooseFontWithColor(font_.ToPointFont(), ToQColor(font_.Color())))
            for (TQGraphicControl* o : std::vector<TQGraphicControl*>(handle_.Selection()))
                o->ApplyFont(*f);
        update();
    }, true);
    QObject::connect(panelMenu_, &QMenu::aboutToShow, this, [this] { UpdatePanelMenu(); });
    WatchMenu(panelMenu_);
}

void CardView::UpdatePanelMenu()
{
    const bool any = handle_.SelectedCount() > 0;
    for (QAction* a : selectionItems_)
        a->setEnabled(any);
    pasteItem_->setEnabled(QFileInfo::exists(clipFileName_) || TPanelPictureIntake::ClipboardHoldsPicture());
    lockAllItem_->setEnabled(!Objects().empty());
    unlockAllItem_->setEnabled(!Objects().empty());
}

void CardView::alignLeft()
{
    if (handle_.SelectedCount() == 0)
        return;
    FireLabelChanged();
    int m = width();
    for (TQGraphicControl* o : handle_.Selection())
        m = std::min(m, o->Left());
    for (TQGraphicControl* o : handle_.Selection())
        o->SetLeft(m);
    update();
}

void CardView::alignRight()
{
    if (handle_.SelectedCount() == 0)
        return;
    FireLabelChanged();
    int m = 0;
    for (TQGraphicControl* o : handle_.Selection())
        m = std::max(m, o->Left() + o->Width());
    for (TQGraphicControl* o : handle_.Selection())
        o->SetLeft(m - o->Width());
    update();
}

void CardView::alignTops()
{
    if (handle_.SelectedCount() == 0)
        return;
    FireLabelChanged();
    int m = height();
    for (TQGraphicControl* o : handle_.Selection())
        m = std::min(m, o->Top());
    for (TQGraphicControl* o : handle_.Selection())
        o->SetTop(m);
    update();
}

void CardView::alignBottoms()
{
    if (handle_.SelectedCount() == 0)
        return;
    FireLabelChanged();
    int m = 0;
    for (TQGraphicControl* o : handle_.Selection())
        m = std::max(m, o->Top() + o->Height());
    for (TQGraphicControl* o : handle_.Selection())
        o->SetTop(m - o->Height());
    update();
}

void CardView::deleteObject(TQGraphicControl* o)
{
    handle_.Unselect(o);
    FreeObject(o);
    FireLabelChanged();
}

void CardView::SelectionCommand(CardCommand c)
{
    switch (c) {
    case CardCommand::Paste: {
        const std::uint32_t now = TickCount();
        if (lastPasteTime_ == 0)
            lastPasteTime_ = now;
        else if (now - lastPasteTime_ < 1000)
            return;
        pasteFromClip();
        lastPasteTime_ = TickCount();
        return;
    }
    case CardCommand::Copy:
        saveSelectionToClip();
        return;
    case CardCommand::Cut:
        saveSelectionToClip();
        [[fallthrough]];
    case CardCommand::Delete: {
        const std::vector<TQGraphicControl*> selected = handle_.Selection();
        for (auto it = selected.rbegin(); it != selected.rend(); ++it)
            deleteObject(*it);
        return;
    }
    }
}

void CardView::ObjectCommand(TQGraphicControl* o, CardCommand c)
{
    if (IsSelected(o)) {
        SelectionCommand(c);
        return;
    }
    switch (c) {
    case CardCommand::Paste:
        pasteFromClip();
        return;
    case CardCommand::Copy:
        saveObjectToClip(o);
        return;
    case CardCommand::Cut:
        saveObjectToClip(o);
        [[fallthrough]];
    case CardCommand::Delete:
        FireLabelChanged();
        handle_.Unselect(o);
        FreeObject(o);
        return;
    }
}

} // namespace cardora
