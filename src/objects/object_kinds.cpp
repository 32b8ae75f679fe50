#include "objects/circletext/circle_text.h"
#include "objects/class_registry.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/qrcode/qr_code.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/shapes.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"

namespace cardora {

// Each kind describes itself in its own folder; this is the one place that
// names them, in tool bar order. A new kind adds one line here.
void RegisterCardObjectKinds()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterTextLabelKinds();
    RegisterMultiLineKind();
    RegisterSymbolKind();
    RegisterShapeKinds();
    RegisterLineKind();
    RegisterPictureKind();
    RegisterSuperShapeKind();
    RegisterRichTextKind();
    RegisterSuperTextKind();
    RegisterCircleTextKind();
    RegisterQRCodeKind();
}

} // namespace cardora
