#pragma once
#include "core/graphics_attributes.h"
#include "objects/card_object_parent.h"
#include <QPointer>
#include <QWidget>

namespace cardora {

// Shows one card object at its own size in the corner of a white area and
// stands in for the panel it would sit on: whatever the object repaints
// repaints here, and the area grows with the object so that a scroll area
// around it can scroll. Dialogs use it for their live previews.
class TObjectPreview : public QWidget, public CardObjectParent {
    Q_OBJECT
public:
    explicit TObjectPreview(QWidget* parent = nullptr);
    ~TObjectPreview() override;

    // The object shown (not owned); nullptr shows nothing.
    void SetObject(TQGraphicControl* object);
    TQGraphicControl* Object() const { return object_; }

    QSize sizeHint() const override;
    // The preview shows the object scaled by its zoom; the object keeps its size.
    float Zoom() const { return zoom_; }
    void SetZoom(float z);
    float ViewZoom() const override { return zoom_; }

    // CardObjectParent: a preview has no selection, no printing and no card.
    void FireLabelChanged() override {}
    void PostSyncSelectionHandles() override { refit(); }
    bool IsPrinting() const override { return false; }
    bool IsPreviewing() const override { return false; }
    bool IsPointing() const override { return true; }
    bool IsSelected(const TQGraphicControl*) const override { return false; }
    int SelectionCount() const override { return 0; }
    void AddToSelection(TQGraphicControl*) override {}
    void RemoveFromSelection(TQGraphicControl*) override {}
    void ClearSelection() override {}
    TColor MarkerColor(bool) const override { return clBlack; }
    QSize PanelSize() const override { return size(); }
    QStringList PersonalInfo() const override { return {}; }
    const TFont& DefaultFont() const override { return font_; }
    void BringToFront(TQGraphicControl*) override {}
    void SendToBack(TQGraphicControl*) override {}
    void ObjectCommand(TQGraphicControl*, CardCommand) override {}
    TQGraphicControl* DuplicateObject(TQGraphicControl*) override { return nullptr; }
    void RehookObjects() override {}
    void InvalidateRect(const QRect&) override;
    void RepaintPanel() override;
    QPainter* PanelCanvas() override { return nullptr; }
    void ProcessPendingEvents() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refit();
    QPointer<TQGraphicControl> object_;
    TFont font_;
    bool painting_ = false;
    float zoom_ = 1.0f;
};

} // namespace cardora
