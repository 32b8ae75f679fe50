#include "surface/handle.h"
#include "core/clock.h"
#include "objects/graphic_control.h"
#include "surface/base_panel.h"
#include <algorithm>

namespace cardora {

TQHandle::TQHandle(TQBasePanel& panel) : panel_(panel) {}

void TQHandle::SetColor(TColor c)
{
    color_ = c;
    panel_.update();
}

void TQHandle::SetSecondaryColor(TColor c)
{
    secondaryColor_ = c;
    panel_.update();
}

void TQHandle::SetGridX(int v)
{
    if (v == storedGridX_)
        return;
    storedGridX_ = stepX_ = v;
    panel_.update();
}

void TQHandle::SetGridY(int v)
{
    if (v == storedGridY_)
        return;
    storedGridY_ = stepY_ = v;
    panel_.update();
}

void TQHandle::SetSnapToGrid(bool v)
{
    stepX_ = v ? storedGridX_ : 1;
    stepY_ = v ? storedGridY_ : 1;
}

void TQHandle::setBounds(const QRect& r)
{
    panel_.update(bounds_.adjusted(-1, -1, 1, 1));
    bounds_ = r;
    panel_.update(bounds_.adjusted(-1, -1, 1, 1));
}

void TQHandle::Select(TQGraphicControl* o)
{
    if (o && o->Unselectable())
        return;
    if (!o || IndexOfSelected(o) >= 0)
        return;
    if (!selection_.empty()) {
        const int l = std::min(bounds_.left(), o->Left() - 2);
        const int t = std::min(bounds_.top(), o->Top() - 2);
        const int r = std::max(bounds_.left() + bounds_.width() - 3, o->Left() + o->Width());
        const int b = std::max(bounds_.top() + bounds_.height() - 3, o->Top() + o->Height());
        setBounds(QRect(l, t, r - l + 3, b - t + 3));
    } else {
        enabled_ = visible_ = true;
        setBounds(QRect(o->Left() - 2, o->Top() - 2, o->Width() + 5, o->Height() + 5));
    }
    selection_.push_back(o);
    panel_.update();
}

void TQHandle::Unselect(TQGraphicControl* o)
{
    const int i = IndexOfSelected(o);
    if (i < 0)
        return;
    selection_.erase(selection_.begin() + i);
    if (selection_.empty())
        ClearSelection();
    else
        placeAround(5);
    panel_.update();
}

void TQHandle::Forget(TQGraphicControl* o)
{
    const int i = IndexOfSelected(o);
    if (i >= 0)
        selection_.erase(selection_.begin() + i);
    if (selection_.empty())
        ClearSelection();
}

void TQHandle::ClearSelection()
{
    selection_.clear();
    locked_ = false;
    visible_ = enabled_ = false;
    setBounds(QRect(bounds_.left(), bounds_.top(), 24, 24));
    panel_.update();
}

int TQHandle::IndexOfSelected(const TQGraphicControl* o) const
{
    auto it = std::find(selection_.begin(), selection_.end(), o);
    return it == selection_.end() ? -1 : static_cast<int>(it - selection_.begin());
}

TQGraphicControl* TQHandle::SelectedAt(int index) const
{
    if (selection_.empty() || index < 0 || index >= SelectedCount())
        return nullptr;
    return selection_[index];
}

void TQHandle::BringSelectionToFront()
{
    if (selection_.empty() || locked_)
        return;
    for (TQGraphicControl* o : selection_)
        panel_.BringToFront(o);
}

void TQHandle::SendSelectionToBack()
{
    if (selection_.empty() || locked_)
        return;
    for (TQGraphicControl* o : selection_)
        panel_.SendToBack(o);
}

bool TQHandle::PointInSelection(const QPoint& p) const { return SelectedObjectAt(p) != nullptr; }

TQGraphicControl* TQHandle::SelectedObjectAt(const QPoint& p) const
{
    for (TQGraphicControl* o : selection_)
        if (o->BoundsRect().adjusted(-2, -2, 2, 2).contains(p))
            return o;
    return nullptr;
}

void TQHandle::RefitToSelection()
{
    if (selection_.empty())
        return;
    placeAround(6);
    panel_.update();
}

void TQHandle::placeAround(int extra)
{
    int minL = INT32_MAX, minT = INT32_MAX, maxR = INT32_MIN, maxB = INT32_MIN;
    for (TQGraphicControl* o : selection_) {
        minL = std::min(minL, o->Left());
        minT = std::min(minT, o->Top());
        maxR = std::max(maxR, o->Left() + o->Width());
        maxB = std::max(maxB, o->Top() + o->Height());
    }
    setBounds(QRect(minL - 2, minT - 2, maxR - minL + extra, maxB - minT + extra));
}

} // namespace cardora
