#pragma once
#include "main/command_context.h"

class QMenu;

namespace cardora {

// File › New, Open, Delete, Save, Save As and the recent cards: the card and
// its sidecar on disk.
class FileCommands : public CommandFamily {
    Q_OBJECT
public:
    FileCommands(CommandContext& context, QObject* parent);

    // The recent cards are listed at the end of `menu`.
    void setRecentMenu(QMenu* menu);

    void newCard();
    void open();
    void openRecent(const QString& path);
    void deleteCard();
    void save();
    // True when the card was saved.
    bool saveAs();
    // Cancel: the card as it was last saved (a new card: empty).
    void revert();

    // True when the command that asked may go on: nothing was changed, the
    // user answered No, or the card was saved.
    bool saveChangesFirst();
    void openCard(const QString& path);
    bool saveCard(const QString& path);
    void updateActions() override;
    void rebuildRecentMenu();

private:
    QString chooseCardFile(const QString& title);
    void forgetChanges();

    QMenu* recentMenu_ = nullptr;
};

} // namespace cardora
