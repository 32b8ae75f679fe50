#pragma once
#include "surface/card_view.h"
#include <QImage>
#include "objects/class_registry.h"

namespace cardora {

// The chosen tool: 0 the selection tool, else the number of a registered
// tool (ObjectKinds, in tool bar order). The tools of the first kinds have
// names here; later kinds are known by number only.
enum class PanelTool : int { Pointing, Label, MultiLineLabel, SymbolLabel, Rectangle, Ellipse, RoundRectangle,
    Line, Image, SuperShape, RichLabel, SuperText, CircleText };

class CardPanel;

// The card panel of the main window: drawing tools, personal information and
// the card picture.
class CardPanel : public CardView {
    Q_OBJECT
public:
    explicit CardPanel(QWidget* parent = nullptr, QObject* owner = nullptr);

    PanelTool PanelState() const { return panelState_; }
    void SetPanelState(PanelTool s);
    void SetPersonalInfo(const QStringList& values);

    void CreateObjectForRect(QRect& r) override;
    // The card at its present size: white, the background art, every object.
    QImage RenderCardBitmap();
    bool HasFilledObjects() const;
    // What a tool makes, as undo names it ("Undo New Line").
    static QString ToolNoun(PanelTool state);
    // The tool's name wherever it is shown ("Text tool", "Selection tool").
    static QString ToolName(PanelTool state);
    // The rectangle the user dragged for the object being made, before the
    // minimum sizes were applied.
    QRect DraggedRect() const { return draggedRect_; }

private:
    PanelTool panelState_ = PanelTool::Pointing;
    QRect draggedRect_;
};

} // namespace cardora
