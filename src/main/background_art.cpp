#include "main/background_art.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "main/background_art_dialog.h"
#include "surface/card_panel.h"
#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

namespace cardora {

namespace {
// The background art is the card's, not an object's: it has its own step.
class BackgroundArtCommand : public QUndoCommand {
public:
    BackgroundArtCommand(BackgroundArtCommands& commands, QString before, QString after)
        : QUndoCommand(after.isEmpty() ? "Remove Background Art" : "Background Art"), commands_(commands),
          before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { commands_.applyBackgroundArt(before_); }
    void redo() override { commands_.applyBackgroundArt(after_); }

private:
    BackgroundArtCommands& commands_;
    QString before_, after_;
};
} // namespace

BackgroundArtCommands::BackgroundArtCommands(CommandContext& context, QObject* parent)
    : CommandFamily(context, parent)
{
    addAction("mnuSetorChangeBackgroundArt", "&Set or Change Background Art", [this] { chooseBackgroundArt(); });
}

void BackgroundArtCommands::chooseBackgroundArt()
{
    const QString current = context_.card().backgroundArt;
    TLoadBackGround dialog(context_.dialogParent());
    const QString bg = FindCaseInsensitive(ApplicationFolder(), "bg");
    dialog.SetFolder(bg);
    if (!current.isEmpty()) {
        const QFileInfo info(current);
        if (info.exists()) {
            dialog.SetFolder(info.absolutePath());
            dialog.SelectFile(info.fileName());
        } else {
            // The picture may have been moved into the program's own collection.
            dialog.SelectFile(info.fileName());
        }
    }
    const int result = ExecModal(dialog);
    const QString before = context_.card().backgroundArt;
    if (result == mrOk) {
        applyBackgroundArt(dialog.SelectedPath());
        context_.setChangesMade(true);
        pushBackgroundArt(before);
    } else if (result == mrNoneChoice) {
        applyBackgroundArt(QString());
        context_.setChangesMade(true);
        pushBackgroundArt(before);
    }
}

void BackgroundArtCommands::applyBackgroundArt(const QString& path)
{
    CardPanel& panel = context_.panel();
    context_.card().backgroundArt = path;
    if (path.isEmpty())
        panel.ClearColorPicture();
    else if (!panel.LoadColorPicture(path))
        Inform("Unable to load " + path);
    panel.update();
}

void BackgroundArtCommands::pushBackgroundArt(const QString& before)
{
    if (before != context_.card().backgroundArt)
        context_.undoStack().push(new BackgroundArtCommand(*this, before, context_.card().backgroundArt));
}

} // namespace cardora
