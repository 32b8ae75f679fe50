#pragma once
#include "core/color.h"
#include <QRect>
#include <vector>

namespace cardora {

class TQGraphicControl;
class TQBasePanel;

// The selection handle: the ordered list of selected objects and the box
// over them that takes the mouse and keys for moving and resizing.
class TQHandle {
public:
    explicit TQHandle(TQBasePanel& panel);

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
    // Drops an object that is going away, without refitting.
    void Forget(TQGraphicControl* object);

private:
    void placeAround(int extra);
    void setBounds(const QRect& r);

    TQBasePanel& panel_;
    std::vector<TQGraphicControl*> selection_;
    TColor color_ = clBlack;
    TColor secondaryColor_ = clGray;
    bool locked_ = false;
    int storedGridX_ = 8, storedGridY_ = 8;
    int stepX_ = 1, stepY_ = 1;
    QRect bounds_ = QRect(0, 0, 24, 24);
    bool visible_ = false;
    bool enabled_ = false;
};

} // namespace cardora
