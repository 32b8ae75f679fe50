#include "core/app_folder.h"
#include "core/modal.h"
#include "main/background_art_dialog.h"
#include "main/main_screen.h"
#include "surface/card_panel.h"
#include <QFileInfo>

namespace cardora {

void TMainScreen::mnuSetorChangeBackgroundArtClick()
{
    TLoadBackGround dialog(this);
    const QString bg = FindCaseInsensitive(ApplicationFolder(), "bg");
    dialog.SetFolder(bg);
    if (!backgroundArtPath_.isEmpty()) {
        const QFileInfo current(backgroundArtPath_);
        if (current.exists()) {
            dialog.SetFolder(current.absolutePath());
            dialog.SelectFile(current.fileName());
        } else {
            // The picture may have been moved into the program's own collection.
            dialog.SelectFile(current.fileName());
        }
    }
    const int result = ExecModal(dialog);
    if (result == mrOk) {
        backgroundArtPath_ = dialog.SelectedPath();
        if (!panel_->LoadColorPicture(backgroundArtPath_))
            Inform("Unable to load " + backgroundArtPath_);
        panel_->update();
        SetChangesMade(true);
    } else if (result == mrNoneChoice) {
        backgroundArtPath_.clear();
        panel_->ClearColorPicture();
        panel_->update();
        SetChangesMade(true);
    }
}

} // namespace cardora
