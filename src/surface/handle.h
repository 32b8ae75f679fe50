#pragma once
#include "core/color.h"
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

class QPainter;

namespace cardora {

class TQGraphicControl;
class CardView;

// The selection handle: the ordered list of selected objects and the box
// over them that takes the mouse and keys for moving and resizing.
class SelectionHandle {
public:
    explicit SelectionHandle(CardView& panel);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TColor SecondaryColor() const { return secondaryColor_; }
    void SetSecondaryColor(TColor c);
    bool Locked() const { return locked_; }
    void SetLocked(bool v) { locked_ = v; }

    int GridX() const { return stepX_; }
    int GridY() const { return stepY_; }
    void SetGridX(int v);
    void SetGridY(int v);
    bool SnapToGrid() const { return stepX_ > 1 || stepY_ > 1; }
    void SetSnapToGrid(bool v);

    void Select(TQGraphicControl* object);
    void Unselect(TQGraphicControl* object);
    void ClearSelection();
    int SelectedCount() const { return static_cast<int>(selection_.size()); }
    int IndexOfSelected(const TQGraphicControl* object) const;
    TQGraphicControl* SelectedAt(int index) const;
    const std::vector<TQGraphicControl*>& Selection() const { return selection_; }
    void BringSelectionToFront();
    void SendSelectionToBack();
    bool PointInSelection(const QPoint& p) const;
    TQGraphicControl* SelectedObjectAt(const QPoint& p) const;
    void RefitToSelection();

    // Placement on the panel.
    QRect Bounds() const { return bounds_; }
    bool Visible() const { return visible_; }
    bool Enabled() const { return enabled_; }
    // Drops an object that is going away; the box fits what stays selected.
    void Forget(TQGraphicControl* object);

    // The handle's own bounds operation: unlocked selected objects follow its
    // change of position and size.
    void MoveSelectionTo(int left, int top, int width, int height);
    // The rectangle a drag to the handle-relative point produces.
    QRect NewBounds(int x, int y) const;

    // Mouse and keys, in handle coordinates; the panel routes them here.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& local, const QPoint& global);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, const QPoint& local);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& local);
    void DoubleClick(const QPoint& global);
    void MouseLeave();
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    void KeyUp(int key);
    // True between a press that the handle took and its release.
    bool Capturing() const { return capturing_; }
    void Capture() { capturing_ = true; }
    void ReleaseCapture() { capturing_ = false; }

    int Zone() const { return zone_; }
    bool Dragging() const { return dragging_; }
    bool Nudging() const { return nudging_; }
    QRect FeedbackRect() const { return feedbackRect_; }
    QPoint DownPoint() const { return downPoint_; }
    // Drag and nudge outlines, drawn by the panel over everything else.
    void PaintOutlines(QPainter& p) const;

private:
    void placeAround(int extra);
    // Repaints the box and the markers around it, nothing else.
    void repaintMarkers();
    void setBounds(const QRect& r);
    void placeForUnselect();
    QPoint limit(QPoint local) const;
    void showOutline(const QRect& bounds);
    void removeOutline();
    void runHitZones(const QPoint& local, int* zone);

    CardView& panel_;
    std::vector<TQGraphicControl*> selection_;
    TColor color_ = clBlack;
    TColor secondaryColor_ = clGray;
    bool locked_ = false;
    int storedGridX_ = 8, storedGridY_ = 8;
    int stepX_ = 1, stepY_ = 1;
    QRect bounds_ = QRect(0, 0, 24, 24);
    bool visible_ = false;
    bool enabled_ = false;
    std::uint32_t mouseDownTick_ = 0;
    QPoint downPoint_;
    int zone_ = 0;
    bool dragging_ = false;
    bool doubleClicked_ = false;
    bool nudging_ = false;
    QRect nudgeRect_; // left/top/right/bottom corners, inclusive as stored
    QMargins nudgeMove_; // card pixels the keys moved each edge of the selection by
    // Shift+Left and Shift+Up stop at this width and height (card pixels).
    static constexpr int kSmallestNudgedSide = 9;
    QRect feedbackRect_;
    bool refitting_ = false;
    bool capturing_ = false;
};

} // namespace cardora
