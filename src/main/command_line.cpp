#include "core/modal.h"
#include "core/safe_file.h"
#include "main/main_window.h"
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace cardora {

void MainWindow::openFromCommandLine(const QString& path)
{
    if (path.isEmpty())
        return;
    // Refused names leave the card as it is, without asking to save it.
    if (!QFileInfo::exists(path)) {
        Inform(path + " does not exist");
        return;
    }
    const QString refusal = CheckInputFile(path); // a folder or a FIFO would block or fail
    if (!refusal.isEmpty()) {
        Inform(refusal);
        return;
    }
    if (QFileInfo(path).suffix().compare("CDW", Qt::CaseInsensitive) != 0) {
        Inform("Must be a CDW (Cardora) file");
        return;
    }
    if (!file_->saveChangesFirst())
        return;
    file_->openCard(path);
}

void MainWindow::bringForwardAndOpen(const QString& path)
{
    if (isMinimized())
        showNormal();
    // A dialog the user has open stays on top: it comes forward with the window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    } else {
        raise();
        activateWindow();
    }
    if (path.isEmpty())
        return;
    openWhenFree(path);
}

void MainWindow::openWhenFree(const QString& path)
{
    // A dialog or menu the user has open is finished first; the card waits
    // without bringing anything forward again.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || !activated_) {
        QTimer::singleShot(250, this, [this, path] { openWhenFree(path); });
        return;
    }
    openFromCommandLine(path);
}

} // namespace cardora
