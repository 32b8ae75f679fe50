#pragma once
#include "main/back_side.h"
#include "main/background_art.h"
#include "main/command_context.h"
#include "main/edit_commands.h"
#include "main/export_commands.h"
#include "main/file_commands.h"
#include "main/help_commands.h"
#include "main/merge_commands.h"
#include "main/personal_info.h"
#include "main/print_commands.h"
#include "main/print_shop_commands.h"
#include "main/view_commands.h"
#include "main/preferences.h"
#include <QMainWindow>
#include <memory>

class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;
class QKeyEvent;
class QUndoStack;

namespace cardora {

class CardPanel;
class TBleedBand;
class TMRUFileList;
class TDesignerAssistant;

// The one main window: the card panel in its scroll box, the tool bar, the
// button row with zoom, and the menus made of the command families' actions.
// The families share a context (the card document, the preferences, the undo
// history) and reach the window only through the hooks it sets there.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    CardPanel* cardPanel() const { return panel_; }
    QAction* Action(const QString& objectName) const;
    // The size the window first opens at on this screen.
    QSize ComfortableSize() const;
    QToolButton* ToolButton(const QString& objectName) const;
    TDesignerAssistant* Assistant() const { return assistant_; }

    FileCommands& fileCommands() { return *file_; }
    EditCommands& editCommands() { return *edit_; }
    PrintCommands& printCommands() { return *print_; }
    ExportCommands& exportCommands() { return *export_; }
    PrintShopCommands& printShopCommands() { return *printShop_; }
    MergeCommands& mergeCommands() { return *merge_; }
    BackSideCommands& backSideCommands() { return *backSide_; }
    BackgroundArtCommands& backgroundArtCommands() { return *backgroundArt_; }
    PersonalInfoCommands& personalInfoCommands() { return *personalInfo_; }
    HelpCommands& helpCommands() { return *help_; }
    ViewCommands& viewCommands() { return *view_; }

    CommandContext& context() { return *context_; }
    // The preferences fresh from their file, applied to the panel; or written.
    void loadPreferences();
    void savePreferences();
    // The title and every family's actions as the card's state says.
    void updateActions();

    // --- operations other parts of the program use
    void cardChanged(QObject* sender);
    void applyCardSize();
    void firstActivation();
    // A card named on the command line (command_line.cpp): opened at the first
    // activation instead of the last card, or, from a second copy, as soon as
    // no dialog is open, after "Save changes?".
    void setStartupCard(const QString& path) { startupCard_ = path; }
    void bringForwardAndOpen(const QString& path);
    void openFromCommandLine(const QString& path);

    // --- the window's own commands: zoom, the default font, the tools
    void zoomIn();
    void zoomOut();
    void updateZoomCaption();
    void chooseDefaultFont();
    void objectDropped(QRect& r);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setUp();
    void createCommandFamilies();
    void buildMenus();
    void buildToolBar(QWidget* bar);
    void buildButtonRow(QWidget* row);
    QToolButton* addToolButton(QWidget* bar, const QString& name, const QString& icon, const QString& hint,
        bool checkable);
    void setTool(int state);
    QWidget* createAssistant(QWidget* parent);
    void showDefaultFont();
    void updateTitle();
    void showChangeState();
    void fitBackdrop();
    bool handleWindowKey(QKeyEvent* key);
    // The + or - key last pressed without Ctrl; only its release zooms.
    int plainZoomKey_ = 0;
    // Opens a handed-over card once no dialog or menu of the user's is open.
    void openWhenFree(const QString& path);

    std::unique_ptr<CommandContext> context_;
    TPreferences& prefs_;
    CardFileState& card_;
    bool activated_ = false;
    QString startupCard_;

    CardPanel* panel_ = nullptr;
    TBleedBand* bleedBand_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QButtonGroup* toolGroup_ = nullptr;
    QAction* defaultFontItem_ = nullptr;
    QLabel* zoomCaption_ = nullptr;
    TDesignerAssistant* assistant_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QUndoStack* undoStack_ = nullptr;

    FileCommands* file_ = nullptr;
    EditCommands* edit_ = nullptr;
    PrintCommands* print_ = nullptr;
    ExportCommands* export_ = nullptr;
    PrintShopCommands* printShop_ = nullptr;
    MergeCommands* merge_ = nullptr;
    BackSideCommands* backSide_ = nullptr;
    BackgroundArtCommands* backgroundArt_ = nullptr;
    PersonalInfoCommands* personalInfo_ = nullptr;
    HelpCommands* help_ = nullptr;
    ViewCommands* view_ = nullptr;
};

} // namespace cardora
