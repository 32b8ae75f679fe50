#include "main/file_commands.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "main/card_sidecar.h"
#include "main/mru_list.h"
#include "objects/stream_error.h"
#include "surface/card_panel.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QUndoStack>

namespace cardora {

FileCommands::FileCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("New1", "&New", [this] { newCard(); })->setShortcut(QKeySequence::New);
    addAction("Open1", "&Open", [this] { open(); })->setShortcut(QKeySequence::Open);
    addAction("Delete1", "&Delete", [this] { deleteCard(); });
    addAction("mnuSave", "Save", [this] { save(); })->setShortcut(QKeySequence("Ctrl+S"));
    addAction("mnuSaveAs", "Save &As...", [this] { saveAs(); });
}

void FileCommands::setRecentMenu(QMenu* menu)
{
    recentMenu_ = menu;
    rebuildRecentMenu();
}

// Cancel, a cancelled Save As dialog and a failed save keep the card as it
// is and stop the command.
bool FileCommands::saveChangesFirst()
{
    CardFileState& card = context_.card();
    if (!card.changesMade)
        return true;
    const int answer = AskYesNoCancel("Save changes?", "Save");
    if (answer == mrNo)
        return true;
    if (answer != mrYes)
        return false;
    if (card.fileName.isEmpty())
        return saveAs();
    if (!saveCard(card.fileName))
        return false;
    context_.setChangesMade(false);
    return true;
}

void FileCommands::newCard()
{
    if (!saveChangesFirst())
        return;
    CardFileState& card = context_.card();
    CardPanel& panel = context_.panel();
    card.suppressChanges = true;
    panel.ClearObjects();
    card.backgroundArt.clear();
    card.backSide.clear();
    card.frontOfBack.clear();
    panel.ClearColorPicture();
    panel.update();
    card.fileName.clear();
    context_.undoStack().clear();
    context_.setChangesMade(false);
    card.suppressChanges = false;
    context_.cardStateChanged();
}

static bool isCardFile(const QString& path)
{
    return QFileInfo(path).suffix().compare("CDW", Qt::CaseInsensitive) == 0;
}

// An existing card file chosen in the saved folder; empty when cancelled or
// when the choice is not a card file (the user is told).
QString FileCommands::chooseCardFile(const QString& title)
{
    FileDialogRequest r;
    r.title = title;
    r.filter = "CDW File (*.cdw *.CDW)";
    r.folder = CardFolder(context_);
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

void FileCommands::open()
{
    if (!saveChangesFirst())
        return;
    const QString path = chooseCardFile("Open Business Card");
    if (!path.isEmpty())
        openCard(path);
}

void FileCommands::openRecent(const QString& path)
{
    // A cancelled question leaves the list as it was.
    if (!saveChangesFirst())
        return;
    context_.recentFiles().Remove(path);
    rebuildRecentMenu();
    if (QFileInfo::exists(path))
        openCard(path);
    else
        Inform(path + " no longer exists");
}

void FileCommands::openCard(const QString& path)
{
    CardFileState& card = context_.card();
    CardPanel& panel = context_.panel();
    card.suppressChanges = true;
    try {
        // Only a card read whole replaces the one on the panel.
        panel.LoadCardFile(path);
    } catch (...) {
        // The card, its name and its history stay as they were.
        card.suppressChanges = false;
        Inform("Unable to open " + path + ". Possibly corrupted, possibly not a CDW file");
        return;
    }
    card.backgroundArt.clear();
    panel.ClearColorPicture();
    context_.undoStack().clear();
    card.fileName = path;
    context_.recentFiles().Add(path);
    context_.recentFiles().Save();
    rebuildRecentMenu();
    card.backgroundArt = ReadSidecar(path);
    card.backSide = ReadSidecarBack(path);
    card.frontOfBack.clear();
    if (!card.backgroundArt.isEmpty() && QFileInfo::exists(card.backgroundArt))
        panel.LoadColorPicture(card.backgroundArt);
    context_.setChangesMade(false);
    QCoreApplication::processEvents();
    card.suppressChanges = false;
    context_.cardStateChanged();
    panel.update();
}

bool FileCommands::saveCard(const QString& path)
{
    const CardFileState& card = context_.card();
    const QStringList inputs = card.backgroundArt.isEmpty() ? QStringList() : QStringList { card.backgroundArt };
    QString problem = SidecarProblem(path, inputs);
    if (problem.isEmpty())
        problem = CheckOutputFile(path, inputs);
    if (!problem.isEmpty()) {
        Inform(problem);
        return false;
    }
    try {
        context_.panel().SaveCardFile(path);
    } catch (const EStreamError& e) {
        Inform(e.Message());
        return false;
    }
    if (!WriteSidecar(path, card.backgroundArt, card.backSide)) {
        Inform("Cannot create file " + QDir::toNativeSeparators(SidecarFileName(path))
            + ": the card was saved without its background art");
        return false;
    }
    return true;
}

void FileCommands::save()
{
    const QString fileName = context_.card().fileName;
    if (fileName.isEmpty()) {
        saveAs();
        return;
    }
    context_.panel().RemoveOffCardObjects();
    if (saveCard(fileName))
        context_.setChangesMade(false);
}

bool FileCommands::saveAs()
{
    CardFileState& card = context_.card();
    context_.panel().RemoveOffCardObjects();
    FileDialogRequest r;
    r.save = true;
    r.title = "Save As";
    r.filter = "CDW File (*.CDW *.cdw)";
    r.defaultExt = "CDW";
    r.folder = CardFolder(context_);
    r.fileName = card.fileName.isEmpty() ? DefaultCardName(r.folder) : QFileInfo(card.fileName).fileName();
    r.overwritePrompt = true;
    const QString path = ChooseFileName(r);
    bool saved = false;
    if (!path.isEmpty()) {
        // A refused or failed save keeps the name the card had.
        saved = saveCard(path);
        if (saved) {
            card.fileName = path;
            context_.setChangesMade(false);
            context_.recentFiles().Add(path);
            context_.recentFiles().Save();
            rebuildRecentMenu();
        }
    }
    context_.cardStateChanged();
    return saved;
}

void FileCommands::revert()
{
    if (!Ask("Cancel all changes?", "Cancel"))
        return;
    CardFileState& card = context_.card();
    CardPanel& panel = context_.panel();
    card.suppressChanges = true;
    panel.ClearObjects();
    card.backgroundArt.clear();
    panel.ClearColorPicture();
    context_.undoStack().clear();
    card.suppressChanges = false;
    const QString front = card.frontOfBack; // a back side shown stays the back of its card
    if (!card.fileName.isEmpty())
        openCard(card.fileName);
    card.frontOfBack = front;
    context_.cardStateChanged();
    context_.setChangesMade(false);
    panel.update();
}

void FileCommands::deleteCard()
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

void FileCommands::updateActions()
{
    // Save on a card never saved asks for a name, as Save As does.
    action("mnuSave")->setEnabled(true);
}

void FileCommands::rebuildRecentMenu()
{
    if (!recentMenu_)
        return;
    for (QAction* a : recentMenu_->actions())
        if (a->property("recent").toBool()) {
            recentMenu_->removeAction(a);
            a->setObjectName(QString());
            a->deleteLater(); // may be the item being clicked
        }
    const QStringList& items = context_.recentFiles().Items();
    if (items.isEmpty())
        return;
    QAction* sep = recentMenu_->addSeparator();
    sep->setProperty("recent", true);
    for (int i = 0; i < items.size(); ++i) {
        const QString path = items[i];
        QAction* a = recentMenu_->addAction("&" + QString::number(i + 1) + " " + path);
        a->setObjectName("Recent" + QString::number(i + 1));
        a->setProperty("recent", true);
        connect(a, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
}

} // namespace cardora
