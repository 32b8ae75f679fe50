#include "surface/object_kinds.h"
#include "surface/card_panel.h"

namespace cardora {

void RegisterCardObjectKinds()
{
    static bool done = false;
    if (done)
        return;
    done = true;
}

} // namespace cardora
