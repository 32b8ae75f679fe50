#include "main/edit_commands.h"
#include "surface/card_panel.h"
#include "surface/panel_picture_intake.h"
#include <QFileInfo>
#include <QUndoStack>

namespace cardora {

EditCommands::EditCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    QAction* undo = context.undoStack().createUndoAction(this, "Undo");
    undo->setObjectName("mnuUndo");
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = context.undoStack().createRedoAction(this, "Redo");
    redo->setObjectName("mnuRedo");
    redo->setShortcuts({ QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y") });

    auto command = [this](const QString& name, const QString& caption, const QString& keys, CardCommand c) {
        QAction* a = addAction(name, caption, [this, c] { context_.panel().RunSelectionCommand(c); });
        a->setShortcut(QKeySequence(keys));
        a->setShortcutContext(Qt::WidgetShortcut);
    };
    command("mnuCut", "Cu&t", "Ctrl+X", CardCommand::Cut);
    command("mnuCopy", "&Copy", "Ctrl+C", CardCommand::Copy);
    command("mnuPaste", "&Paste", "Ctrl+V", CardCommand::Paste);
    command("mnuDelete", "De&lete", "Del", CardCommand::Delete);
    QAction* all = addAction("mnuSelectAll", "Select &All", [this] { context_.panel().SelectAll(); });
    all->setShortcut(QKeySequence("Ctrl+A"));
    all->setShortcutContext(Qt::WidgetShortcut);
}

void EditCommands::updateSelectionActions()
{
    CardPanel& panel = context_.panel();
    const bool any = panel.SelectionCount() > 0;
    action("mnuCut")->setEnabled(any);
    action("mnuCopy")->setEnabled(any);
    action("mnuDelete")->setEnabled(any);
    action("mnuPaste")->setEnabled(
        QFileInfo::exists(panel.ClipFileName()) || TPanelPictureIntake::ClipboardHoldsPicture());
}

} // namespace cardora
