#pragma once
#include "surface/base_panel.h"
#include <QImage>
#include <functional>

namespace cardora {

enum TLPanelState { psPointing, psLabel, psSymbolLabel, psMultiLineLabel, psRectangle, psEllipse,
    psRoundRectangle, psLine, psImage, psSuperShape, psRichLabel, psSuperText, psCircleText };

class TQBusinessCardPanel32;

// How a drawing tool makes its object: `create` builds it and sets what must
// be set before placing; `afterPlace` runs once it sits on the card (its
// dialog, fitting) and answers false when the user cancelled, which takes the
// object away again. Tools whose dialog is large return to the selection tool
// before it opens.
struct ObjectTool {
    std::function<TQGraphicControl*(QObject* owner, TQBusinessCardPanel32& panel)> create;
    std::function<bool(TQBusinessCardPanel32& panel, TQGraphicControl* object)> afterPlace;
    bool pointerBeforeDialog = false;
};

void RegisterObjectTool(TLPanelState state, ObjectTool tool);
const ObjectTool* FindObjectTool(TLPanelState state);

// The card panel of the main window: drawing tools, personal information and
// the card picture.
class TQBusinessCardPanel32 : public TQBasePanel {
    Q_OBJECT
public:
    explicit TQBusinessCardPanel32(QWidget* parent = nullptr, QObject* owner = nullptr);

    TLPanelState PanelState() const { return panelState_; }
    void SetPanelState(TLPanelState s);
    void SetPersonalInfo(const QStringList& values);

    void CreateObjectForRect(QRect& r) override;
    // The card at its present size: white, the background art, every object.
    QImage RenderCardBitmap();
    bool HasFilledObjects() const;
    // What a tool makes, as undo names it ("Undo New Line").
    static QString ToolNoun(TLPanelState state);
    // The tool's name wherever it is shown ("Text tool", "Selection tool").
    static QString ToolName(TLPanelState state);
    // The rectangle the user dragged for the object being made, before the
    // minimum sizes were applied.
    QRect DraggedRect() const { return draggedRect_; }

private:
    TLPanelState panelState_ = psPointing;
    QRect draggedRect_;
};

} // namespace cardora
