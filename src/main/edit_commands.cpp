#include "core/modal.h"
#include "main/main_window.h"
#include "surface/card_panel.h"
#include "surface/panel_picture_intake.h"
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QUndoCommand>
#include <QUndoStack>

namespace cardora {

namespace {
// The background art is the card's, not an object's: it has its own step.
class BackgroundArtCommand : public QUndoCommand {
public:
    BackgroundArtCommand(MainWindow& window, QString before, QString after)
        : QUndoCommand(after.isEmpty() ? "Remove Background Art" : "Background Art"), window_(window),
          before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { window_.ApplyBackgroundArt(before_); }
    void redo() override { window_.ApplyBackgroundArt(after_); }

private:
    MainWindow& window_;
    QString before_, after_;
};
} // namespace

void MainWindow::buildEditCommands(QMenu* edit)
{
    undoStack_ = new QUndoStack(this);
    undoStack_->setUndoLimit(200);
    panel_->SetUndoStack(undoStack_);
    // Undoing back to the saved state clears the changed flag, and leaving it sets it.
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] {
        if (!suppressChanges_)
            SetChangesMade(!undoStack_->isClean());
    });

    QAction* undo = undoStack_->createUndoAction(this, "Undo");
    undo->setObjectName("mnuUndo");
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = undoStack_->createRedoAction(this, "Redo");
    redo->setObjectName("mnuRedo");
    redo->setShortcuts({ QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y") });
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();

    // The window's key handling runs these keys; the menu only shows them.
    auto command = [this, edit](const QString& name, const QString& caption, const QString& keys, auto fn) {
        QAction* a = edit->addAction(caption);
        a->setObjectName(name);
        a->setShortcut(QKeySequence(keys));
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, fn);
        return a;
    };
    QAction* cut = command("mnuCut", "Cu&t", "Ctrl+X", [this] { panel_->RunSelectionCommand(CardCommand::Cut); });
    QAction* copy = command("mnuCopy", "&Copy", "Ctrl+C", [this] { panel_->RunSelectionCommand(CardCommand::Copy); });
    QAction* paste = command("mnuPaste", "&Paste", "Ctrl+V", [this] {
        panel_->RunSelectionCommand(CardCommand::Paste);
    });
    QAction* del = command("mnuDelete", "De&lete", "Del", [this] { panel_->RunSelectionCommand(CardCommand::Delete); });
    command("mnuSelectAll", "Select &All", "Ctrl+A", [this] { panel_->SelectAll(); });
    connect(edit, &QMenu::aboutToShow, this, [this, cut, copy, paste, del] {
        const bool any = panel_->SelectionCount() > 0;
        cut->setEnabled(any);
        copy->setEnabled(any);
        del->setEnabled(any);
        paste->setEnabled(QFileInfo::exists(panel_->ClipFileName()) || TPanelPictureIntake::ClipboardHoldsPicture());
    });
    edit->addSeparator();
}

void MainWindow::ClearUndoHistory()
{
    if (undoStack_)
        undoStack_->clear();
}

void MainWindow::ApplyBackgroundArt(const QString& path)
{
    backgroundArtPath_ = path;
    if (path.isEmpty())
        panel_->ClearColorPicture();
    else if (!panel_->LoadColorPicture(path))
        Inform("Unable to load " + path);
    panel_->update();
}

void MainWindow::pushBackgroundArt(const QString& before)
{
    if (before != backgroundArtPath_)
        undoStack_->push(new BackgroundArtCommand(*this, before, backgroundArtPath_));
}

// Keys of the main window besides the panel's own: Escape, Ctrl+A and the
// main keyboard's + and - for zoom. True when the key was used.
bool MainWindow::handleWindowKey(QKeyEvent* key)
{
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (key->type() == QEvent::KeyPress) {
        if (key->key() == Qt::Key_Escape && !ctrl) {
            panel_->ClearSelection();
            return true;
        }
        if (key->key() == Qt::Key_A && ctrl) {
            panel_->SelectAll();
            return true;
        }
        return false;
    }
    // Zoom acts on release, like the keypad keys.
    if (ctrl)
        return false;
    if (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal) {
        ZoomSpinnerUpClick();
        return true;
    }
    if (key->key() == Qt::Key_Minus) {
        ZoomSpinnerDownClick();
        return true;
    }
    return false;
}

} // namespace cardora
