#include "objects/card_filer.h"
#include "objects/graphic_control.h"
#include "objects/stream_error.h"
#include "core/object_stream.h"
#include "surface/card_view.h"
#include "surface/panel_picture_intake.h"
#include <QFileInfo>

namespace cardora {

// Card files, the scratch clip file and duplicates all pass through the card filer.

void CardView::saveSelectionToClip()
{
    TQLabelObjectFiler().SaveSelection(handle_.Selection(), clipFileName_);
    if (auto* intake = findChild<TPanelPictureIntake*>())
        intake->OwnCopyMade();
}

void CardView::saveObjectToClip(TQGraphicControl* o)
{
    TQLabelObjectFiler().SaveObject(o, clipFileName_);
    if (auto* intake = findChild<TPanelPictureIntake*>())
        intake->OwnCopyMade();
}

void CardView::pasteFromClip()
{
    // A picture copied elsewhere after the program's own copy comes first.
    if (auto* intake = findChild<TPanelPictureIntake*>(); intake && intake->PasteIfNewer())
        return;
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

TQGraphicControl* CardView::DuplicateObject(TQGraphicControl* o)
{
    try {
        TQGraphicControl* copy =
            TQLabelObjectFiler().DuplicateObject(o, owner_, this, [this](TQGraphicControl* c) { AddObject(c); });
        return copy;
    } catch (...) {
        return nullptr;
    }
}

void CardView::SaveCardFile(const QString& path)
{
    // Objects hold card geometry whatever the view's zoom.
    for (TQGraphicControl* o : Objects())
        o->BeforeSave();
    TQLabelObjectFiler().SaveCard(Objects(), path);
}

void CardView::LoadCardFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        throw EStreamError(QString::fromLatin1(StreamMessage::CannotOpen).arg(path));
    // The card on the panel steps aside, out of the owner's names, while the
    // file is read as onto an empty card; it comes back when the read fails.
    const std::vector<TQGraphicControl*> before = Objects();
    const std::vector<TQGraphicControl*> selected = handle_.Selection();
    QObject aside;
    handle_.ClearSelection();
    for (TQGraphicControl* o : before) {
        o->disconnect(this);
        removeObject(o);
        o->setParent(&aside);
    }
    // Files hold card geometry, as objects do whatever the zoom.
    std::vector<TQGraphicControl*> read;
    auto adopt = [this, &read](TQGraphicControl* o) {
        AddObject(o);
        read.push_back(o);
    };
    try {
        TQLabelObjectFiler().LoadCard(owner_, this, path, adopt);
    } catch (...) {
        for (TQGraphicControl* o : read)
            FreeObject(o);
        for (TQGraphicControl* o : before) {
            o->setParent(owner_);
            AddObject(o);
        }
        for (TQGraphicControl* o : selected)
            handle_.Select(o);
        handle_.ReleaseCapture();
        throw;
    }
    RehookObjects();
    // The card read replaces the one set aside, which goes with `aside`.
    for (TQGraphicControl* o : before)
        o->SetParentPanel(nullptr);
}

} // namespace cardora
