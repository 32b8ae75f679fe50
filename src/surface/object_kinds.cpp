#include "surface/object_kinds.h"
#include "surface/card_panel.h"
#include "objects/circletext/circle_text.h"
#include "objects/class_registry.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/richtext_label/rich_label.h"
#include "core/modal.h"
#include "objects/shapes.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"

namespace cardora {

void RegisterCardObjectKinds()
{
    static bool done = false;
    if (done)
        return;
    done = true;

    RegisterCardClass<TQLineShape>();
    RegisterCardClass<TQLabelShapes>();
    RegisterCardClass<TBCShapes>();
    auto shapeTool = [](TShapeType shape) {
        ObjectTool tool;
        tool.create = [shape](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
            return TBCShapes::CreateForTool(owner, shape);
        };
        return tool;
    };
    RegisterObjectTool(psRectangle, shapeTool(stRectangle));
    RegisterObjectTool(psEllipse, shapeTool(stEllipse));
    RegisterObjectTool(psRoundRectangle, shapeTool(stRoundRect));
    ObjectTool lineTool;
    lineTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        return TQLineShape::CreateForTool(owner);
    };
    // The drag says which way the line runs: wider than tall is horizontal.
    lineTool.afterPlace = [](TQBusinessCardPanel32& panel, TQGraphicControl* object) {
        const QRect drag = panel.DraggedRect();
        if (auto* line = qobject_cast<TQLineShape*>(object))
            line->SetLineStyle(drag.width() > drag.height() ? stHorizontal : stVertical);
        return true;
    };
    RegisterObjectTool(psLine, lineTool);

    RegisterCardClass<TQPLabel>();
    RegisterCardClass<TQBusinessCardLabel>();
    RegisterCardClass<TQSymbolLabel>();
    ObjectTool labelTool;
    labelTool.create = [](QObject* owner, TQBusinessCardPanel32& panel) -> TQGraphicControl* {
        return TQBusinessCardLabel::CreateForTool(owner, panel, panel.Font());
    };
    labelTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* label = qobject_cast<TQBusinessCardLabel*>(object);
        if (!label || !label->EditText())
            return false;
        label->FitToText();
        return true;
    };
    RegisterObjectTool(psLabel, labelTool);
    ObjectTool symbolTool;
    symbolTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        return TQSymbolLabel::CreateForTool(owner);
    };
    symbolTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* symbol = qobject_cast<TQSymbolLabel*>(object);
        if (!symbol || !symbol->SelectSymbol())
            return false;
        symbol->FitToText();
        return true;
    };
    RegisterObjectTool(psSymbolLabel, symbolTool);

    RegisterCardClass<TQMultiLineLabel>();
    ObjectTool multiLineTool;
    multiLineTool.create = [](QObject* owner, TQBusinessCardPanel32& panel) -> TQGraphicControl* {
        return TQMultiLineLabel::CreateForTool(owner, panel.Font());
    };
    multiLineTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* label = qobject_cast<TQMultiLineLabel*>(object);
        if (!label || !label->EditText())
            return false;
        label->FitToLines();
        return true;
    };
    RegisterObjectTool(psMultiLineLabel, multiLineTool);

    RegisterCardClass<TQImage>();
    ObjectTool imageTool;
    imageTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        return TQImage::CreateForTool(owner);
    };
    imageTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* image = qobject_cast<TQImage*>(object);
        return image && image->LoadImageFromDisk();
    };
    imageTool.pointerBeforeDialog = true;
    RegisterObjectTool(psImage, imageTool);

    RegisterCardClass<TQPRichBaseLabel>();
    ObjectTool richTool;
    richTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        try {
            return TQPRichBaseLabel::CreateForTool(owner);
        } catch (const ENoMasterWPRich& e) {
            // Nothing to paint through: no label rather than an invisible one.
            Inform(e.Message());
            return nullptr;
        }
    };
    richTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* label = qobject_cast<TQPRichBaseLabel*>(object);
        return label && label->EditRichText();
    };
    richTool.pointerBeforeDialog = true;
    RegisterObjectTool(psRichLabel, richTool);

    RegisterCardClass<TQPCircleText>();
    ObjectTool circleTool;
    circleTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        return TQPCircleText::CreateForTool(owner);
    };
    circleTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* text = qobject_cast<TQPCircleText*>(object);
        return text && text->ShowProperties();
    };
    circleTool.pointerBeforeDialog = true;
    RegisterObjectTool(psCircleText, circleTool);

    RegisterCardClass<TSuperShape>();
    ObjectTool superShapeTool;
    superShapeTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        return TSuperShape::CreateForTool(owner);
    };
    superShapeTool.pointerBeforeDialog = true;
    superShapeTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* shape = qobject_cast<TSuperShape*>(object);
        return shape && shape->EditProperties();
    };
    RegisterObjectTool(psSuperShape, superShapeTool);

    RegisterCardClass<TQSuperText>();
    ObjectTool superTextTool;
    superTextTool.create = [](QObject* owner, TQBusinessCardPanel32&) -> TQGraphicControl* {
        return TQSuperText::CreateForTool(owner);
    };
    superTextTool.pointerBeforeDialog = true;
    superTextTool.afterPlace = [](TQBusinessCardPanel32&, TQGraphicControl* object) {
        auto* text = qobject_cast<TQSuperText*>(object);
        return text && text->EditProperties();
    };
    RegisterObjectTool(psSuperText, superTextTool);
}

} // namespace cardora
