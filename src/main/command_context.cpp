#include "main/command_context.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "main/help_window.h"
#include "main/mru_list.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUndoStack>

namespace cardora {

CommandContext::CommandContext(WindowHooks hooks)
    : hooks_(std::move(hooks)), recent_(std::make_unique<TMRUFileList>())
{
}

CommandContext::~CommandContext() = default;

void CommandContext::attach(QUndoStack* undoStack, QWidget* dialogParent)
{
    undoStack_ = undoStack;
    dialogParent_ = dialogParent;
}

void CommandContext::showHelp(int topic) { ShowHelpTopic(topic); }

void CommandContext::setChangesMade(bool changed)
{
    card_.changesMade = changed;
    if (!changed && undoStack_)
        undoStack_->setClean();
    hooks_.showChangeState();
}

QString SavedFolder() { return FindCaseInsensitive(ApplicationFolder(), "saved") + "/"; }

QString CardFolder(CommandContext& context)
{
    // The folder of the card last opened or saved (the recent list's first).
    for (const QString& recent : context.recentFiles().Items()) {
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

void WriteCardOutput(CommandContext& context, const QString& path,
    const std::function<QString(const QStringList&)>& write)
{
    // The card is drawn at its true size whatever the zoom; the zoom is the
    // window's, and drawing changes nothing of the card.
    CardFileState& card = context.card();
    const bool suppressed = card.suppressChanges;
    card.suppressChanges = true;
    BusyOn();
    QStringList inputs { card.fileName, card.backgroundArt };
    inputs.removeAll(QString());
    const QString error = write(inputs);
    BusyOff();
    card.suppressChanges = suppressed;
    context.zoomChanged();
    context.panel().update();
    if (error.isEmpty())
        Inform("Saved as " + path);
    else
        MessageDlg(error, "Error", MessageStyle::Error);
}

CommandFamily::CommandFamily(CommandContext& context, QObject* parent) : QObject(parent), context_(context) { }

QAction* CommandFamily::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName, Qt::FindDirectChildrenOnly);
}

QList<QAction*> CommandFamily::actions() const { return findChildren<QAction*>(Qt::FindDirectChildrenOnly); }

QAction* CommandFamily::addAction(const QString& objectName, const QString& text, std::function<void()> run)
{
    auto* a = new QAction(text, this);
    a->setObjectName(objectName);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return a;
}

} // namespace cardora
