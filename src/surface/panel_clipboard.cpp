#include "objects/graphic_control.h"
#include "surface/base_panel.h"

namespace cardora {

// Card files and the scratch clip file pass through the card filer.

void TQBasePanel::saveSelectionToClip() {}
void TQBasePanel::saveObjectToClip(TQGraphicControl*) {}

void TQBasePanel::pasteFromClip()
{
    RehookObjects();
    FireLabelChanged();
    ProcessPendingEvents();
}

TQGraphicControl* TQBasePanel::DuplicateObject(TQGraphicControl*) { return nullptr; }

void TQBasePanel::SaveCardFile(const QString&) {}
void TQBasePanel::LoadCardFile(const QString&) {}

} // namespace cardora
