#include "surface/card_edit.h"
#include "objects/card_filer.h"
#include "objects/graphic_control.h"
#include "surface/card_view.h"
#include <algorithm>
#include <set>

namespace cardora {

// ---------------------------------------------------------------- snapshots

TCardSnapshot TCardSnapshot::Take(CardView& panel)
{
    TCardSnapshot s;
    for (TQGraphicControl* o : panel.Objects()) {
        const int key = panel.EditKey(o);
        s.order.push_back(key);
        s.states[key] = { o->Name(), TQLabelObjectFiler::WriteObjects({ o }), o->BoundsRect() };
    }
    return s;
}

TCardSnapshot TCardSnapshot::TakeBounds(CardView& panel, const std::vector<TQGraphicControl*>& objects)
{
    TCardSnapshot s;
    s.boundsOnly = true;
    for (TQGraphicControl* o : panel.Objects())
        s.order.push_back(panel.EditKey(o));
    for (TQGraphicControl* o : objects)
        s.states[panel.EditKey(o)] = { o->Name(), QByteArray(), o->BoundsRect() };
    return s;
}

// ---------------------------------------------------------------- the command

TCardEditCommand::TCardEditCommand(CardView& panel, const QString& text, int mergeId)
    : QUndoCommand(text), panel_(panel), mergeId_(mergeId)
{
}

std::unique_ptr<TCardEditCommand> TCardEditCommand::FromSnapshots(CardView& panel, const QString& text,
    const TCardSnapshot& before, const TCardSnapshot& after, int mergeId)
{
    std::unique_ptr<TCardEditCommand> c(new TCardEditCommand(panel, text, mergeId));
    c->orderBefore_ = before.order;
    c->orderAfter_ = after.order;
    int added = 0, removed = 0;
    if (before.boundsOnly) {
        for (const auto& [key, b] : before.states) {
            auto a = after.states.find(key);
            if (a == after.states.end() || a->second.bounds == b.bounds)
                continue;
            Change ch;
            ch.key = key;
            ch.name = b.name;
            ch.boundsOnly = true;
            ch.boundsBefore = b.bounds;
            ch.boundsAfter = a->second.bounds;
            c->changes_.push_back(ch);
        }
    } else {
        std::set<int> keys;
        for (const auto& entry : before.states)
            keys.insert(entry.first);
        for (const auto& entry : after.states)
            keys.insert(entry.first);
        for (int key : keys) {
            auto b = before.states.find(key);
            auto a = after.states.find(key);
            const bool hadIt = b != before.states.end(), hasIt = a != after.states.end();
            if (hadIt && hasIt && b->second.bytes == a->second.bytes)
                continue;
            Change ch;
            ch.key = key;
            ch.name = hasIt ? a->second.name : b->second.name;
            if (hadIt)
                ch.before = b->second.bytes;
            if (hasIt)
                ch.after = a->second.bytes;
            added += !hadIt;
            removed += !hasIt;
            c->changes_.push_back(ch);
        }
    }
    if (c->changes_.empty() && c->orderBefore_ == c->orderAfter_)
        return nullptr;
    const int count = std::max(added, removed);
    if (count > 1 && (text == "Delete" || text == "Cut" || text == "Paste"))
        c->setText(text + " " + QString::number(count) + " Objects");
    return c;
}

void TCardEditCommand::undo() { apply(false); }

void TCardEditCommand::redo()
{
    if (skipRedo_) {
        skipRedo_ = false;
        return;
    }
    apply(true);
}

void TCardEditCommand::apply(bool after)
{
    CardView::ApplyingEdit applying(panel_);
    std::vector<int> touched;
    for (const Change& c : changes_) {
        TQGraphicControl* o = panel_.ObjectByEditKey(c.key);
        if (c.boundsOnly) {
            if (o) {
                o->SetBox(after ? c.boundsAfter : c.boundsBefore);
                touched.push_back(c.key);
            }
            continue;
        }
        if (o)
            panel_.FreeObject(o);
        const QByteArray& state = after ? c.after : c.before;
        if (!state.isEmpty() && panel_.RestoreObject(state, c.key, c.name))
            touched.push_back(c.key);
    }
    panel_.ArrangeByEditKeys(after ? orderAfter_ : orderBefore_);
    if (!touched.empty()) {
        std::vector<TQGraphicControl*> select;
        for (int key : touched)
            if (TQGraphicControl* o = panel_.ObjectByEditKey(key))
                select.push_back(o);
        panel_.SelectOnly(select);
    }
    panel_.update();
}

bool TCardEditCommand::mergeWith(const QUndoCommand* other)
{
    // Moves merge with moves and resizes with resizes.
    if (other->id() != id() || other->text() != text())
        return false;
    const auto* next = static_cast<const TCardEditCommand*>(other);
    if (next->changes_.size() != changes_.size())
        return false;
    for (std::size_t i = 0; i < changes_.size(); ++i)
        if (!changes_[i].boundsOnly || !next->changes_[i].boundsOnly || changes_[i].key != next->changes_[i].key)
            return false;
    for (std::size_t i = 0; i < changes_.size(); ++i)
        changes_[i].boundsAfter = next->changes_[i].boundsAfter;
    orderAfter_ = next->orderAfter_;
    return true;
}

qsizetype TCardEditCommand::KeptBytes() const
{
    qsizetype n = 0;
    for (const Change& c : changes_)
        n += c.before.size() + c.after.size();
    return n;
}

} // namespace cardora
