#include "objects/card_filer.h"
#include "objects/graphic_control.h"
#include "surface/base_panel.h"
#include <QFileInfo>

namespace cardora {

// Card files, the scratch clip file and duplicates all pass through the card filer.

void TQBasePanel::saveSelectionToClip()
{
    TQLabelObjectFiler().SaveSelection(handle_.Selection(), clipFileName_);
}

void TQBasePanel::saveObjectToClip(TQGraphicControl* o) { TQLabelObjectFiler().SaveObject(o, clipFileName_); }

void TQBasePanel::pasteFromClip()
{
    if (!QFileInfo::exists(clipFileName_))
        return;
    std::vector<TQGraphicControl*> pasted;
    try {
        TQLabelObjectFiler().PasteObjects(owner_, this, clipFileName_, [this, &pasted](TQGraphicControl* o) {
            AddObject(o);
            pasted.push_back(o);
        });
    } catch (...) {
        // Objects read before a broken record stay; the rest of the paste is dropped.
    }
    RehookObjects();
    // What was pasted is what the next command acts on.
    if (!pasted.empty())
        SelectOnly(pasted);
    FireLabelChanged();
    ProcessPendingEvents();
}

TQGraphicControl* TQBasePanel::DuplicateObject(TQGraphicControl* o)
{
    try {
        TQGraphicControl* copy =
            TQLabelObjectFiler().DuplicateObject(o, owner_, this, [this](TQGraphicControl* c) { AddObject(c); });
        // Read back with zoom-1 geometry; shown at the panel's zoom like the original.
        if (copy)
            copy->SetZoom(zoom_);
        return copy;
    } catch (...) {
        return nullptr;
    }
}

void TQBasePanel::SaveCardFile(const QString& path)
{
    // Objects write their zoom-1 geometry, so saving leaves the zoom alone.
    for (TQGraphicControl* o : objects_)
        o->BeforeSave();
    TQLabelObjectFiler().SaveCard(objects_, path);
}

void TQBasePanel::LoadCardFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    // Files hold zoom-1.0 geometry; objects read are brought to the panel's zoom.
    std::vector<TQGraphicControl*> read;
    auto adopt = [this, &read](TQGraphicControl* o) {
        AddObject(o);
        read.push_back(o);
    };
    auto finish = [this, &read] {
        zooming_ = true;
        for (TQGraphicControl* o : read)
            o->SetZoom(zoom_);
        zooming_ = false;
        RehookObjects();
    };
    try {
        TQLabelObjectFiler().LoadCard(owner_, this, path, adopt);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

} // namespace cardora
