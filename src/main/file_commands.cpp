#include "core/app_folder.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "main/main_screen.h"
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

QString TMainScreen::SavedFolder() const { return FindCaseInsensitive(ApplicationFolder(), "saved") + "/"; }

QString TMainScreen::CardFolder() const
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

QString TMainScreen::DefaultCardName(const QString& savedFolder)
{
    QString name;
    for (int n = 10001; n < 100000; ++n) {
        name = "BC" + QString::number(n).right(4) + ".CDW";
        if (!QFileInfo::exists(FindCaseInsensitive(savedFolder, name)))
            return name;
    }
    return name;
}

QString TMainScreen::SidecarFileName(const QString& cardPath)
{
    // The card's own extension is replaced, so each card keeps its own
    // sidecar even in folders whose names hold a dot.
    const QFileInfo info(cardPath);
    const QString file = info.fileName();
    const int dot = file.lastIndexOf('.');
    const QString stem = dot < 0 ? file : file.left(dot);
    const QString folder = cardPath.left(cardPath.size() - file.size());
    return folder + stem + ".CDB";
}

// True when the command that asked may go on: nothing was changed, the user
// answered No, or the card was saved. Cancel, a cancelled Save As dialog and
// a failed save keep the card as it is and stop the command.
bool TMainScreen::CheckSaveNeeded()
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

void TMainScreen::New1Click()
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
QString TMainScreen::chooseCardFile(const QString& title)
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

void TMainScreen::Open1Click()
{
    if (!CheckSaveNeeded())
        return;
    const QString path = chooseCardFile("Open Business Card");
    if (!path.isEmpty())
        OpenBCFile(path);
}

void TMainScreen::OpenRecent(const QString& path)
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

void TMainScreen::OpenBCFile(const QString& path)
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

bool TMainScreen::SaveBCFile(const QString& path)
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

QString TMainScreen::SidecarProblem(const QString& cardPath, const QStringList& inputs)
{
    const QString sidecar = SidecarFileName(cardPath);
    if (QFileInfo(sidecar).absoluteFilePath() == QFileInfo(cardPath).absoluteFilePath()
        || IsSameFile(sidecar, cardPath))
        return "Cannot save the card as " + QDir::toNativeSeparators(cardPath)
            + ": the ending .CDB is kept for the file that remembers a card's background art";
    for (const QString& input : inputs)
        if (IsSameFile(sidecar, input))
            return "Cannot save the card as " + QDir::toNativeSeparators(cardPath) + ": its background art file "
                + QDir::toNativeSeparators(sidecar) + " would replace " + QDir::toNativeSeparators(input);
    // Checked before the card is written, so that nothing changes.
    if (const QString refusal = ReplaceRefusal(sidecar); !refusal.isEmpty())
        return "Cannot create file " + QDir::toNativeSeparators(sidecar) + ": " + refusal;
    return QString();
}

QString TMainScreen::ReadSidecar(const QString& cardPath)
{
    const QString sidecar = SidecarFileName(cardPath);
    if (!CheckInputFile(sidecar).isEmpty() || IsSameFile(sidecar, cardPath))
        return QString();
    QFile f(sidecar);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readLine(4096)).trimmed();
}

QString TMainScreen::ReadSidecarBack(const QString& cardPath)
{
    const QString sidecar = SidecarFileName(cardPath);
    if (!CheckInputFile(sidecar).isEmpty() || IsSameFile(sidecar, cardPath))
        return QString();
    QFile f(sidecar);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    f.readLine(4096);
    return QString::fromUtf8(f.readLine(4096)).trimmed();
}

bool TMainScreen::WriteSidecar(const QString& cardPath, const QString& artPath, const QString& backPath)
{
    if (!SidecarProblem(cardPath).isEmpty())
        return false;
    const QString sidecar = SidecarFileName(cardPath);
    if (artPath.isEmpty() && backPath.isEmpty()) {
        QFile::remove(sidecar);
        return !QFile::exists(sidecar);
    }
    // The art line stays first, so that a card with a back still shows its art
    // in a copy of the program that reads one line.
    QByteArray text = artPath.toUtf8() + "\r\n";
    if (!backPath.isEmpty())
        text += backPath.toUtf8() + "\r\n";
    return WriteFileSafely(sidecar, text).isEmpty();
}

void TMainScreen::mnuSaveClick()
{
    if (cardFileName_.isEmpty()) {
        mnuSaveAsClick();
        return;
    }
    panel_->RemoveOffCardObjects();
    if (SaveBCFile(cardFileName_))
        SetChangesMade(false);
}

bool TMainScreen::mnuSaveAsClick()
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

void TMainScreen::Delete1Click()
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

void TMainScreen::rebuildRecentMenu()
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
