#include "core/app_folder.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "main/card_sidecar.h"
#include "main/main_window.h"
#include "main/mru_list.h"
#include "objects/stream_error.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTextStream>

namespace cardora {

QString MainWindow::SavedFolder() const { return FindCaseInsensitive(ApplicationFolder(), "saved") + "/"; }

QString MainWindow::CardFolder() const
{
    // The folder of the card last opened or saved (the recent list's first).
    for (const QString& recent : mru_->Items()) {
        const QFileInfo folder(QFileInfo(recent).absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath() + "/";
    }
    // A copy that runs from a folder of its own keeps cards beside it; an
    // installed one does not send the user into its hidden data folder.
    if (!ApplicationFolderIsDataFolder())
        return SavedFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return (QFileInfo(documents).isDir() ? documents : QDir::homePath()) + "/";
}

// True when the command that asked may go on: nothing was changed, the user
// answered No, or the card was saved. Cancel, a cancelled Save As dialog and
// a failed save keep the card as it is and stop the command.
bool MainWindow::CheckSaveNeeded()
{
    if (!changesMade_)
        return true;
    const int answer = AskYesNoCancel("Save changes?", "Save");
    if (answer == mrNo)
        return true;
    if (answer != mrYes)
        return false;
    if (cardFileName_.isEmpty())
        return mnuSaveAsClick();
    if (!SaveBCFile(cardFileName_))
        return false;
    SetChangesMade(false);
    return true;
}

void MainWindow::New1Click()
{
    if (!CheckSaveNeeded())
        return;
    suppressChanges_ = true;
    panel_->ClearObjects();
    backgroundArtPath_.clear();
    backSidePath_.clear();
    frontOfBack_.clear();
    panel_->ClearColorPicture();
    panel_->update();
    cardFileName_.clear();
    ClearUndoHistory();
    SetChangesMade(false);
    suppressChanges_ = false;
    Setbuttons();
}

static bool isCardFile(const QString& path)
{
    return QFileInfo(path).suffix().compare("CDW", Qt::CaseInsensitive) == 0;
}

// An existing card file chosen in the saved folder; empty when cancelled or
// when the choice is not a card file (the user is told).
QString MainWindow::chooseCardFile(const QString& title)
{
    FileDialogRequest r;
    r.title = title;
    r.filter = "CDW File (*.cdw *.CDW)";
    r.folder = CardFolder();
    r.mustExist = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return QString();
    if (!isCardFile(path)) {
        Inform("Must be a CDW (Cardora) file");
        return QString();
    }
    return path;
}

void MainWindow::Open1Click()
{
    if (!CheckSaveNeeded())
        return;
    const QString path = chooseCardFile("Open Business Card");
    if (!path.isEmpty())
        OpenBCFile(path);
}

void MainWindow::OpenRecent(const QString& path)
{
    // A cancelled question leaves the list as it was.
    if (!CheckSaveNeeded())
        return;
    mru_->Remove(path);
    rebuildRecentMenu();
    if (QFileInfo::exists(path))
        OpenBCFile(path);
    else
        Inform(path + " no longer exists");
}

void MainWindow::OpenBCFile(const QString& path)
{
    suppressChanges_ = true;
    try {
        // Only a card read whole replaces the one on the panel.
        panel_->LoadCardFile(path);
    } catch (...) {
        // The card, its name and its history stay as they were.
        suppressChanges_ = false;
        Inform("Unable to open " + path + ". Possibly corrupted, possibly not a CDW file");
        return;
    }
    backgroundArtPath_.clear();
    panel_->ClearColorPicture();
    ClearUndoHistory();
    cardFileName_ = path;
    mru_->Add(path);
    mru_->Save();
    rebuildRecentMenu();
    backgroundArtPath_ = ReadSidecar(path);
    backSidePath_ = ReadSidecarBack(path);
    frontOfBack_.clear();
    if (!backgroundArtPath_.isEmpty() && QFileInfo::exists(backgroundArtPath_))
        panel_->LoadColorPicture(backgroundArtPath_);
    SetChangesMade(false);
    QCoreApplication::processEvents();
    suppressChanges_ = false;
    Setbuttons();
    panel_->update();
}

bool MainWindow::SaveBCFile(const QString& path)
{
    const QStringList inputs = backgroundArtPath_.isEmpty() ? QStringList() : QStringList { backgroundArtPath_ };
    QString problem = SidecarProblem(path, inputs);
    if (problem.isEmpty())
        problem = CheckOutputFile(path, inputs);
    if (!problem.isEmpty()) {
        Inform(problem);
        return false;
    }
    try {
        panel_->SaveCardFile(path);
    } catch (const EStreamError& e) {
        Inform(e.Message());
        return false;
    }
    if (!WriteSidecar(path, backgroundArtPath_, backSidePath_)) {
        Inform("Cannot create file " + QDir::toNativeSeparators(SidecarFileName(path))
            + ": the card was saved without its background art");
        return false;
    }
    return true;
}

void MainWindow::mnuSaveClick()
{
    if (cardFileName_.isEmpty()) {
        mnuSaveAsClick();
        return;
    }
    panel_->RemoveOffCardObjects();
    if (SaveBCFile(cardFileName_))
        SetChangesMade(false);
}

bool MainWindow::mnuSaveAsClick()
{
    panel_->RemoveOffCardObjects();
    FileDialogRequest r;
    r.save = true;
    r.title = "Save As";
    r.filter = "CDW File (*.CDW *.cdw)";
    r.defaultExt = "CDW";
    r.folder = CardFolder();
    r.fileName = cardFileName_.isEmpty() ? DefaultCardName(r.folder) : QFileInfo(cardFileName_).fileName();
    r.overwritePrompt = true;
    const QString path = ChooseFileName(r);
    bool saved = false;
    if (!path.isEmpty()) {
        // A refused or failed save keeps the name the card had.
        saved = SaveBCFile(path);
        if (saved) {
            cardFileName_ = path;
            SetChangesMade(false);
            mru_->Add(path);
            mru_->Save();
            rebuildRecentMenu();
        }
    }
    Setbuttons();
    return saved;
}

void MainWindow::Delete1Click()
{
    const QString path = chooseCardFile("Delete Business Card");
    if (path.isEmpty())
        return;
    if (!Ask("Delete " + path + "?", "CONFIRM"))
        return;
    QFile::remove(path);
    const QString sidecar = SidecarFileName(path);
    if (QFileInfo::exists(sidecar))
        QFile::remove(sidecar);
}

void MainWindow::rebuildRecentMenu()
{
    for (QAction* a : fileMenu_->actions())
        if (a->property("recent").toBool()) {
            fileMenu_->removeAction(a);
            a->setObjectName(QString());
            a->deleteLater(); // may be the item being clicked
        }
    if (mru_->Items().isEmpty())
        return;
    QAction* sep = fileMenu_->addSeparator();
    sep->setProperty("recent", true);
    for (int i = 0; i < mru_->Items().size(); ++i) {
        const QString path = mru_->Items()[i];
        QAction* a = fileMenu_->addAction("&" + QString::number(i + 1) + " " + path);
        a->setObjectName("Recent" + QString::number(i + 1));
        a->setProperty("recent", true);
        connect(a, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
}

} // namespace cardora
