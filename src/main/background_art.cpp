#include "core/app_folder.h"
#include "core/modal.h"
#include "main/background_art_dialog.h"
#include "main/main_window.h"
#include "surface/card_panel.h"
#include <QFileInfo>

namespace cardora {

void MainWindow::mnuSetorChangeBackgroundArtClick()
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
    const QString before = backgroundArtPath_;
    if (result == mrOk) {
        ApplyBackgroundArt(dialog.SelectedPath());
        SetChangesMade(true);
        pushBackgroundArt(before);
    } else if (result == mrNoneChoice) {
        ApplyBackgroundArt(QString());
        SetChangesMade(true);
        pushBackgroundArt(before);
    }
}

} // namespace cardora
