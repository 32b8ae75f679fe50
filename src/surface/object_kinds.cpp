#include "surface/object_kinds.h"
#include "surface/card_panel.h"
#include "objects/class_registry.h"
#include "objects/line_shape.h"
#include "objects/shapes.h"

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
    RegisterObjectTool(psLine, lineTool);
}

} // namespace cardora
