#include "core/modal.h"
#include "main/main_screen.h"
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace cardora {

void TMainScreen::OpenFromCommandLine(const QString& path)
{
    if (path.isEmpty())
        return;
    CheckSaveNeeded();
    if (!QFileInfo(path).isFile()) {
        Inform(path + " does not exist");
        return;
    }
    if (QFileInfo(path).suffix().compare("CDW", Qt::CaseInsensitive) != 0) {
        Inform("Must be a CDW (Cardora) file");
        return;
    }
    OpenBCFile(path);
}

void TMainScreen::BringForwardAndOpen(const QString& path)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (path.isEmpty())
        return;
    // A dialog or menu the user has open is finished first; the card waits.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || !activated_) {
        QTimer::singleShot(250, this, [this, path] { BringForwardAndOpen(path); });
        return;
    }
    OpenFromCommandLine(path);
}

} // namespace cardora
