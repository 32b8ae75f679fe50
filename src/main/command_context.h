#pragma once
// What the window's command families share, and all they see of the window:
// the card, its panel, the preferences, the undo history, the help and a
// parent for dialogs. A family keeps its own state to itself; whatever two
// families both need lives here.
#include "main/preferences.h"
#include "printing/merge_data.h"
#include <QAction>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QUndoStack;
class QWidget;

namespace cardora {

class CardPanel;
class TMRUFileList;

// The card the window shows as a file, beside the document the panel holds:
// where it is stored, what prints with it, and whether it changed since it
// was saved.
struct CardFileState {
    QString fileName; // empty until the card is first saved
    QString backgroundArt; // the picture behind the card; empty for none
    QString backSide; // the card file printed on the back; empty for none
    QString frontOfBack; // while the window shows a card's back: that card's file
    bool changesMade = false;
    // Set while the program itself changes the card: no change is recorded.
    bool suppressChanges = true;
};

// The data whose records fill a merged card's fields.
struct MergeSource {
    std::unique_ptr<TDataFile> data;
    QString file;
    TRecordRange printRecords; // the records the next print takes, from 1
};

// What the window does when the commands ask: set by the window, which the
// commands never see.
struct WindowHooks {
    std::function<void()> showChangeState; // the changed flag on the title and buttons
    std::function<void()> updateActions;
    std::function<void()> readPreferences;
    std::function<void()> writePreferences;
    std::function<void()> cardSizeChanged;
    std::function<void()> cardAreaChanged;
    std::function<void()> zoomChanged;
    std::function<bool()> saveChangesFirst;
    std::function<void(const QString& path)> openCard;
};

// The card document the commands work on, the preferences, the recent
// cards, the undo history, and the few things the window does for them.
class CommandContext {
public:
    explicit CommandContext(WindowHooks hooks);
    ~CommandContext();
    // The window's undo history and dialog owner, then its panel, once made.
    void attach(QUndoStack* undoStack, QWidget* dialogParent);
    void setPanel(CardPanel* panel) { panel_ = panel; }

    CardPanel& panel() { return *panel_; }
    CardFileState& card() { return card_; }
    MergeSource& merge() { return merge_; }
    TPreferences& preferences() { return prefs_; }
    TMRUFileList& recentFiles() { return *recent_; }
    QUndoStack& undoStack() { return *undoStack_; }
    QWidget* dialogParent() { return dialogParent_; }
    void showHelp(int topic);

    // Records whether the card changed since it was saved (the saved state
    // is where undoing clears the flag again) and shows it.
    void setChangesMade(bool changed);
    // Title and every family's actions follow the card's state.
    void cardStateChanged() { hooks_.updateActions(); }
    // Reads the preferences fresh from their file (hand edits show), or writes them.
    void readPreferences() { hooks_.readPreferences(); }
    void writePreferences() { hooks_.writePreferences(); }
    // The layout's card size, the room around the card (bleed) or the zoom changed.
    void cardSizeChanged() { hooks_.cardSizeChanged(); }
    void cardAreaChanged() { hooks_.cardAreaChanged(); }
    void zoomChanged() { hooks_.zoomChanged(); }
    // The card commands others start on their way: "Save changes?" (true
    // when the command may go on), and opening a card file.
    bool saveChangesFirst() { return hooks_.saveChangesFirst(); }
    void openCard(const QString& path) { hooks_.openCard(path); }

private:
    WindowHooks hooks_;
    CardFileState card_;
    MergeSource merge_;
    TPreferences prefs_;
    std::unique_ptr<TMRUFileList> recent_;
    CardPanel* panel_ = nullptr;
    QUndoStack* undoStack_ = nullptr;
    QWidget* dialogParent_ = nullptr;
};

// The folder of the program's saved cards.
QString SavedFolder();
// Where the card and export file dialogs start: the folder of the card last
// opened or saved; before there is one, the saved folder of a copy that runs
// from its own folder, else the user's documents folder.
QString CardFolder(CommandContext& context);
// Writes an output of the card (a picture, PDF or SVG) with `write`, given
// the files it must not replace, leaving the card unchanged and telling the
// user how it went.
void WriteCardOutput(CommandContext& context, const QString& path,
    const std::function<QString(const QStringList& inputs)>& write);

// A family of commands: owns its actions (found by object name, as tests,
// help and the menus do) and acts on the context alone.
class CommandFamily : public QObject {
    Q_OBJECT
public:
    CommandFamily(CommandContext& context, QObject* parent);
    QAction* action(const QString& objectName) const;
    QList<QAction*> actions() const;
    // Enables and names the actions as the card's state says.
    virtual void updateActions() { }

protected:
    QAction* addAction(const QString& objectName, const QString& text, std::function<void()> run);
    CommandContext& context_;
};

} // namespace cardora
