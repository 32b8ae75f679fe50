#include "surface/handle.h"
#include "core/clock.h"
#include "core/rounding.h"
#include "objects/graphic_control.h"
#include "surface/card_view.h"
#include "surface/card_edit.h"
#include "surface/cursors.h"
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

namespace cardora {

namespace {
int snap(int v, int step) { return step * (v / step); }
} // namespace

SelectionHandle::SelectionHandle(CardView& panel) : panel_(panel) {}

void SelectionHandle::SetColor(TColor c)
{
    color_ = c;
    panel_.update();
}

void SelectionHandle::SetSecondaryColor(TColor c)
{
    secondaryColor_ = c;
    panel_.update();
}

void SelectionHandle::SetGridX(int v)
{
    if (v == storedGridX_)
        return;
    storedGridX_ = stepX_ = v;
    panel_.update();
}

void SelectionHandle::SetGridY(int v)
{
    if (v == storedGridY_)
        return;
    storedGridY_ = stepY_ = v;
    panel_.update();
}

void SelectionHandle::SetSnapToGrid(bool v)
{
    stepX_ = v ? storedGridX_ : 1;
    stepY_ = v ? storedGridY_ : 1;
}

void SelectionHandle::setBounds(const QRect& r)
{
    repaintMarkers();
    bounds_ = r;
    repaintMarkers();
}

void SelectionHandle::repaintMarkers()
{
    // The markers reach a few screen pixels past the box, which at a small
    // zoom is several card pixels.
    const int m = 1 + int(std::ceil(3.0 / panel_.Zoom()));
    panel_.UpdateCardRect(bounds_.adjusted(-m, -m, m, m));
}

// ---------------------------------------------------------------- selection

void SelectionHandle::Select(TQGraphicControl* o)
{
    if (o && o->Unselectable())
        return;
    mouseDownTick_ = TickCount();
    if (!o || IndexOfSelected(o) >= 0)
        return;
    panel_.setCursor(GrabCursor());
    if (!selection_.empty()) {
        const int l = std::min(bounds_.left(), o->Left() - 2);
        const int t = std::min(bounds_.top(), o->Top() - 2);
        const int r = std::max(bounds_.left() + bounds_.width() - 3, o->Left() + o->Width());
        const int b = std::max(bounds_.top() + bounds_.height() - 3, o->Top() + o->Height());
        setBounds(QRect(l, t, r - l + 3, b - t + 3));
    } else {
        feedbackRect_ = QRect();
        enabled_ = visible_ = true;
        setBounds(QRect(o->Left() - 2, o->Top() - 2, o->Width() + 5, o->Height() + 5));
    }
    selection_.push_back(o);
    zone_ = 0;
    // A drag that follows the click on the object reaches the handle.
    capturing_ = true;
    repaintMarkers();
}

void SelectionHandle::placeForUnselect()
{
    TQGraphicControl* first = selection_.front();
    int l = first->Left() - 2, t = first->Top() - 2, w = first->Width() + 3, h = first->Height() + 3;
    for (TQGraphicControl* o : selection_) {
        l = std::min(l, o->Left() - 2);
        t = std::min(t, o->Top() - 2);
        const int r = std::max(l + w - 3, o->Left() + o->Width());
        const int b = std::max(t + h - 3, o->Top() + o->Height());
        w = r - l + 3;
        h = b - t + 3;
    }
    setBounds(QRect(l, t, w, h));
}

void SelectionHandle::Unselect(TQGraphicControl* o)
{
    const int i = IndexOfSelected(o);
    if (i >= 0)
        selection_.erase(selection_.begin() + i);
    if (!selection_.empty())
        placeForUnselect();
    else
        ClearSelection();
    repaintMarkers();
}

void SelectionHandle::Forget(TQGraphicControl* o)
{
    const int i = IndexOfSelected(o);
    if (i >= 0)
        selection_.erase(selection_.begin() + i);
    if (selection_.empty())
        ClearSelection();
    else if (i >= 0)
        RefitToSelection();
}

void SelectionHandle::ClearSelection()
{
    selection_.clear();
    locked_ = false;
    visible_ = enabled_ = false;
    removeOutline();
    if (nudging_)
        panel_.UpdateCardRect(nudgeRect_.adjusted(-1, -1, 1, 1));
    dragging_ = false;
    nudging_ = false;
    capturing_ = false;
    setBounds(QRect(bounds_.left(), bounds_.top(), 24, 24));
    repaintMarkers();
}

int SelectionHandle::IndexOfSelected(const TQGraphicControl* o) const
{
    auto it = std::find(selection_.begin(), selection_.end(), o);
    return it == selection_.end() ? -1 : static_cast<int>(it - selection_.begin());
}

TQGraphicControl* SelectionHandle::SelectedAt(int index) const
{
    if (selection_.empty() || index < 0 || index >= SelectedCount())
        return nullptr;
    return selection_[index];
}

void SelectionHandle::BringSelectionToFront()
{
    if (selection_.empty() || locked_)
        return;
    for (TQGraphicControl* o : selection_)
        panel_.BringToFront(o);
}

void SelectionHandle::SendSelectionToBack()
{
    if (selection_.empty() || locked_)
        return;
    for (TQGraphicControl* o : selection_)
        panel_.SendToBack(o);
}

bool SelectionHandle::PointInSelection(const QPoint& p) const { return SelectedObjectAt(p) != nullptr; }

TQGraphicControl* SelectionHandle::SelectedObjectAt(const QPoint& p) const
{
    for (TQGraphicControl* o : selection_)
        if (o->BoundsRect().adjusted(-2, -2, 2, 2).contains(p))
            return o;
    return nullptr;
}

void SelectionHandle::RefitToSelection()
{
    if (selection_.empty() || refitting_)
        return;
    placeAround(6);
    repaintMarkers();
}

void SelectionHandle::placeAround(int extra)
{
    int minL = INT_MAX, minT = INT_MAX, maxR = INT_MIN, maxB = INT_MIN;
    for (TQGraphicControl* o : selection_) {
        minL = std::min(minL, o->Left());
        minT = std::min(minT, o->Top());
        maxR = std::max(maxR, o->Left() + o->Width());
        maxB = std::max(maxB, o->Top() + o->Height());
    }
    setBounds(QRect(minL - 2, minT - 2, maxR - minL + extra, maxB - minT + extra));
}

// ---------------------------------------------------------------- moving and resizing

void SelectionHandle::MoveSelectionTo(int left, int top, int width, int height)
{
    refitting_ = true;
    const QRect old = bounds_;
    for (TQGraphicControl* o : std::vector<TQGraphicControl*>(selection_)) {
        if (o->Locked())
            continue;
        o->SetBounds(left + o->Left() - old.left(), top + o->Top() - old.top(), width + o->Width() - old.width(),
            height + o->Height() - old.height());
    }
    setBounds(QRect(left, top, width, height));
    refitting_ = false;
}

QRect SelectionHandle::NewBounds(int x, int y) const
{
    const int dx = x - downPoint_.x(), dy = y - downPoint_.y();
    const int L = bounds_.left(), T = bounds_.top(), W = bounds_.width(), H = bounds_.height();
    int l = L, t = T, w = W, h = H;
    auto sx = [this](int v) { return snap(v, stepX_); };
    auto sy = [this](int v) { return snap(v, stepY_); };
    switch (zone_) {
    case 0: l = sx(L + dx); t = sy(T + dy); break;
    case 1: l = sx(L + dx); t = sy(T + dy); w = W + L - l; h = H + T - t; break;
    case 2: t = sy(T + dy); w = sx(W + dx) - 1; h = H + T - t; break;
    case 3: l = sx(L + dx); w = W + L - l; h = sy(H + dy) - 1; break;
    case 4: w = sx(W + dx) - 1; h = sy(H + dy) - 1; break;
    case 5: t = sy(T + dy); h = H + T - t; break;
    case 6: l = sx(L + dx); w = W + L - l; break;
    case 7: h = sy(H + dy) - 1; break;
    case 8: w = sx(W + dx) - 1; break;
    default: break;
    }
    return QRect(l, t, std::max(5, w), std::max(5, h));
}

void SelectionHandle::showOutline(const QRect& b)
{
    removeOutline();
    feedbackRect_ = b;
    panel_.UpdateCardRect(QRect(b.left(), b.top(), b.width() + 1, b.height() + 1));
}

void SelectionHandle::removeOutline()
{
    if (!feedbackRect_.isNull())
        panel_.UpdateCardRect(feedbackRect_.adjusted(0, 0, 1, 1));
    feedbackRect_ = QRect();
}

void SelectionHandle::PaintOutlines(QPainter& p) const
{
    auto outline = [&p](int l, int t, int r, int b) {
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
        p.restore();
    };
    if (!feedbackRect_.isNull()) {
        const QRect& f = feedbackRect_;
        outline(f.left() + 2, f.top() + 2, f.left() + f.width() - 3, f.top() + f.height() - 3);
    }
    if (nudging_)
        outline(nudgeRect_.left(), nudgeRect_.top(), nudgeRect_.right(), nudgeRect_.bottom());
}

QPoint SelectionHandle::limit(QPoint local) const
{
    // Objects may reach into a print shop's bleed around the card.
    const QRect card = panel_.Document().RectWithBleed();
    const int x = std::clamp(bounds_.left() + local.x(), card.left(), card.left() + card.width()) - bounds_.left();
    const int y = std::clamp(bounds_.top() + local.y(), card.top(), card.top() + card.height()) - bounds_.top();
    return QPoint(x, y);
}

void SelectionHandle::runHitZones(const QPoint& local, int* zone)
{
    const int W = bounds_.width(), H = bounds_.height();
    const double mx = W * 0.5, my = H * 0.5;
    // The grips keep their size on the screen at every zoom.
    const double z = panel_.Zoom();
    const double corner = 8 / z, middle = 6 / z;
    const int X = local.x(), Y = local.y();
    Qt::CursorShape shape = Qt::ArrowCursor;
    bool hit = false;
    auto test = [&](bool cond, int z, Qt::CursorShape c) {
        if (cond) {
            *zone = z;
            shape = c;
            hit = true;
        }
    };
    test(std::abs(X) < corner && std::abs(Y) < corner, 1, Qt::SizeFDiagCursor);
    test(std::abs(X - W) < corner && std::abs(Y - H) < corner, 4, Qt::SizeFDiagCursor);
    test(std::abs(X - W) < corner && std::abs(Y) < corner, 2, Qt::SizeBDiagCursor);
    test(std::abs(X) < corner && std::abs(Y - H) < corner, 3, Qt::SizeBDiagCursor);
    test(std::abs(X - mx) < middle && std::abs(Y) < corner, 5, Qt::SizeVerCursor);
    test(std::abs(X - mx) < middle && std::abs(Y - H) < corner, 7, Qt::SizeVerCursor);
    test(std::abs(Y - my) < middle && std::abs(X) < corner, 6, Qt::SizeHorCursor);
    test(std::abs(Y - my) < middle && std::abs(X - W) < corner, 8, Qt::SizeHorCursor);
    if (hit)
        panel_.setCursor(shape);
}

// ---------------------------------------------------------------- mouse

void SelectionHandle::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& local,
    const QPoint& global)
{
    const QPoint p = bounds_.topLeft() + local;
    mouseDownTick_ = TickCount();
    capturing_ = true;
    if (panel_.Pointing() && button == Qt::LeftButton && (PointInSelection(p) || !selection_.empty())) {
        if (!locked_) {
            downPoint_ = local;
            dragging_ = true;
        }
        panel_.HandleMouseDown(p, shift);
        return;
    }
    if (button == Qt::RightButton) {
        TQGraphicControl* o = SelectedObjectAt(p);
        capturing_ = false;
        if (o && SelectedCount() == 1)
            o->ShowMenuAt(global);
        else if (panel_.PanelMenu())
            panel_.PanelMenu()->popup(global);
        return;
    }
    // A drawing tool is active (or the middle button): the press goes beneath.
    capturing_ = false;
    panel_.setCursor(Qt::ArrowCursor);
    panel_.ForwardMouseDown(button, p, global);
}

void SelectionHandle::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, const QPoint& localIn)
{
    if (doubleClicked_)
        dragging_ = false;
    doubleClicked_ = false;
    if (!panel_.Pointing()) {
        panel_.setCursor(DragCursor());
        return;
    }
    QPoint local = localIn;
    if ((buttons & Qt::LeftButton) && !dragging_ && !locked_) {
        if (mouseDownTick_ > 0 && TickCount() - mouseDownTick_ > 10) {
            downPoint_ = local;
            dragging_ = true;
        }
        return;
    }
    if (!(buttons & Qt::LeftButton))
        capturing_ = false;
    int z = 0;
    if (!dragging_)
        panel_.setCursor(GrabCursor());
    if (SelectedCount() == 1)
        runHitZones(local, &z);
    if (locked_)
        panel_.setCursor(Qt::ForbiddenCursor);
    if (dragging_) {
        local = limit(local);
        showOutline(NewBounds(local.x(), local.y()));
    } else {
        zone_ = z;
    }
}

void SelectionHandle::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& localIn)
{
    QPoint local = localIn;
    if (dragging_ && TickCount() - mouseDownTick_ < 150)
        downPoint_ = local; // a quick click moves nothing
    mouseDownTick_ = 0;
    if (dragging_ && button == Qt::LeftButton) {
        local = limit(local);
        if (local != downPoint_) {
            const QRect r = NewBounds(local.x(), local.y());
            panel_.BeginMove(selection_);
            MoveSelectionTo(r.left(), r.top(), r.width(), r.height());
            panel_.EndMove(zone_ == 0 ? "Move" : "Resize");
        }
        removeOutline();
        dragging_ = false;
        capturing_ = false;
        panel_.setCursor(Qt::ArrowCursor);
    } else {
        capturing_ = false;
        panel_.ForwardMouseUp(bounds_.topLeft() + local);
    }
    repaintMarkers();
}

void SelectionHandle::DoubleClick(const QPoint&) { doubleClicked_ = true; }

void SelectionHandle::MouseLeave()
{
    if (!dragging_)
        panel_.setCursor(panel_.Pointing() ? Qt::ArrowCursor : DragCursor());
}

// ---------------------------------------------------------------- keys

// A key press moves or resizes by one pixel of the card itself, whatever
// the zoom, and never takes an edge of the selection from on the card to
// off it: the selection's own extent, not the handle's box, is what counts.
void SelectionHandle::KeyDown(int key, Qt::KeyboardModifiers shift)
{
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
    if (nudging_)
        panel_.UpdateCardRect(nudgeRect_.adjusted(-1, -1, 1, 1));
    if (arrow && !nudging_ && !selection_.empty()) {
        nudging_ = true;
        nudgeMove_ = QMargins();
    }
    if (!nudging_ || !arrow)
        return;
    int minL = INT_MAX, minT = INT_MAX, maxR = INT_MIN, maxB = INT_MIN;
    for (TQGraphicControl* o : selection_) {
        const QRect s = o->BoundsRect();
        minL = std::min(minL, s.left());
        minT = std::min(minT, s.top());
        maxR = std::max(maxR, s.left() + s.width());
        maxB = std::max(maxB, s.top() + s.height());
    }
    // nudgeMove_: left and top shift those edges, right and bottom the others.
    QMargins& m = nudgeMove_;
    const int left = minL + m.left(), top = minT + m.top(), right = maxR + m.right(), bottom = maxB + m.bottom();
    QSize card = panel_.CardSize();
    if (card.isEmpty())
        card = panel_.size();
    const bool resize = (shift & Qt::ShiftModifier) && SelectedCount() == 1;
    // Nudges stop at the card's edge, or at the edge of a print shop's bleed.
    const int bleed = int(std::ceil(panel_.Bleed() - 0.01));
    switch (key) {
    case Qt::Key_Left:
        if (resize) {
            if (right - left > kSmallestNudgedSide)
                m.setRight(m.right() - 1);
        } else if (left > -bleed) {
            m += QMargins(-1, 0, -1, 0);
        }
        break;
    case Qt::Key_Up:
        if (resize) {
            if (bottom - top > kSmallestNudgedSide)
                m.setBottom(m.bottom() - 1);
        } else if (top > -bleed) {
            m += QMargins(0, -1, 0, -1);
        }
        break;
    case Qt::Key_Right:
        if (right < card.width() + bleed)
            m += resize ? QMargins(0, 0, 1, 0) : QMargins(1, 0, 1, 0);
        break;
    case Qt::Key_Down:
        if (bottom < card.height() + bleed)
            m += resize ? QMargins(0, 0, 0, 1) : QMargins(0, 1, 0, 1);
        break;
    default:
        break;
    }
    // The outline shows where the selection will land.
    const QRect start(QPoint(bounds_.left() + 2, bounds_.top() + 2),
        QPoint(bounds_.left() + bounds_.width() - 3, bounds_.top() + bounds_.height() - 3));
    nudgeRect_ = start.adjusted(m.left(), m.top(), m.right(), m.bottom());
    panel_.UpdateCardRect(nudgeRect_.adjusted(-1, -1, 1, 1));
}

void SelectionHandle::KeyUp(int)
{
    if (!nudging_)
        return;
    nudging_ = false;
    const QMargins m = nudgeMove_;
    nudgeMove_ = QMargins();
    if (m.isNull()) {
        repaintMarkers();
        return;
    }
    const bool resize = m.left() != m.right() || m.top() != m.bottom();
    panel_.BeginMove(selection_);
    refitting_ = true;
    for (TQGraphicControl* o : std::vector<TQGraphicControl*>(selection_)) {
        if (o->Locked())
            continue;
        const QRect s = o->BoundsRect();
        o->SetBox(QRect(s.left() + m.left(), s.top() + m.top(), s.width() + m.right() - m.left(),
            s.height() + m.bottom() - m.top()));
    }
    refitting_ = false;
    placeAround(5);
    panel_.EndMove(resize ? "Resize" : "Move", TCardEditCommand::kNudgeId);
    repaintMarkers();
}

} // namespace cardora
