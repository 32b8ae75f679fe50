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
    try {
        TQLabelObjectFiler().PasteObjects(owner_, this, clipFileName_, [this](TQGraphicControl* o) { AddObject(o); });
    } catch (...) {
        // Objects read before a broken record stay; the rest of the paste is dropped.
    }
    RehookObjects();
    FireLabelChanged();
    ProcessPendingEvents();
}

TQGraphicControl* TQBasePanel::DuplicateObject(TQGraphicControl* o)
{
    try {
        return TQLabelObjectFiler().DuplicateObject(o, owner_, this, [this](TQGraphicControl* c) { AddObject(c); });
    } catch (...) {
        return nullptr;
    }
}

void TQBasePanel::SaveCardFile(const QString& path)
{
    const float z = zoom_;
    if (z != 1.0f)
        SetZoom(1.0f);
    for (TQGraphicControl* o : objects_)
        o->BeforeSave();
    try {
        TQLabelObjectFiler().SaveCard(objects_, path);
    } catch (...) {
        if (z != 1.0f)
            SetZoom(z);
        throw;
    }
    if (z != 1.0f)
        SetZoom(z);
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
