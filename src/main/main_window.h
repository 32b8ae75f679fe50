#pragma once
#include "main/preferences.h"
#include "printing/card_layout.h"
#include "printing/merge_data.h"
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

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

class TQBusinessCardPanel32;
class TBleedBand;
struct TPreflightWarning;
class TMRUFileList;
class TDesignerAssistant;
class ZoomSpinner;
class TRecordNavigator;

// The one main window: the card panel in its scroll box, the tool bar, the
// button row with zoom, the menus and the state that is not part of the card.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    TQBusinessCardPanel32* BusinessCardPanel() const { return panel_; }
    QAction* Action(const QString& objectName) const;
    // The size the window first opens at on this screen.
    QSize ComfortableSize() const;
    QToolButton* ToolButton(const QString& objectName) const;
    TDesignerAssistant* Assistant() const { return assistant_; }

    // --- state
    bool ChangesMade() const { return changesMade_; }
    bool SuppressChanges() const { return suppressChanges_; }
    QString CardFileName() const { return cardFileName_; }
    QString BackgroundArtPath() const { return backgroundArtPath_; }
    // The card file printed on the back of this card; empty for none.
    QString BackSidePath() const { return backSidePath_; }
    // While the window shows a card's back: that card's file; else empty.
    QString FrontOfBack() const { return frontOfBack_; }
    // The print dialog's start position and sides (TBackChoice), kept for the next print.
    int& PrintStart() { return printStart_; }
    int& BackChoice() { return backChoice_; }
    bool PrintingAvailable() const { return printingAvailable_; }
    TCardLayout& CardLayout() { return prefs_.Layout; }
    TPreferences& Preferences() { return prefs_; }
    TPositionSelection& SelectedPositions() { return selectedPositions_; }
    TMRUFileList& RecentFiles() { return *mru_; }

    // --- operations other parts of the program use
    void SetChangesMade(bool b);
    void Setbuttons();
    void CardChanged(QObject* sender);
    void SelectAllLabels();
    void LoadPreferences();
    void SavePreferences();
    void SetPanelPersonalInfo();
    void SetCardSizeFromInches();
    void SetDefaultFontCaption();
    void FormActivate();
    bool CheckSaveNeeded();
    void OpenBCFile(const QString& path);
    bool SaveBCFile(const QString& path);
    // A card named on the command line (command_line.cpp): opened at the first
    // activation instead of the last card, or, from a second copy, as soon as
    // no dialog is open, after "Save changes?".
    void SetStartupCard(const QString& path) { startupCard_ = path; }
    void BringForwardAndOpen(const QString& path);
    void OpenFromCommandLine(const QString& path);

    // --- handlers
    void ZoomSpinnerUpClick();
    void ZoomSpinnerDownClick();
    void mnuDefaultFontClick();
    void CancelbuttonClick();
    void SavebuttonClick();
    void CloseButtonClick();
    void BusinessCardPanelDroppedObjectEvent(QRect& r);
    void New1Click();
    void Open1Click();
    void OpenRecent(const QString& path);
    void Delete1Click();
    void mnuSaveClick();
    // True when the card was saved.
    bool mnuSaveAsClick();
    void Contents1Click();
    void About1Click();
    void ConfigurationInformation1Click();
    void ShowHelpTopic(int topic);
    // Personal information (personal_info.cpp)
    void PersonalInformation1Click();
    // Layout and printing (print_commands.cpp)
    void ChangeCardLayout1Click();
    void mnuPrintClick();
    void mnuPreviewClick();
    void mnuPrinterSetupClick();
    void mnuPrinterFineTuningClick();
    void mnuPrintOutlineTestPageClick();
    // Two-sided cards (back_side.cpp)
    // File › Back Side...: chooses the card printed on the back, or none.
    void mnuBackSideClick();
    // Shows the back card in the window, or the front again.
    void mnuSwitchSideClick();
    void mnuBackFineTuningClick();
    void mnuPrintTwoSidedTestPageClick();
    // Sets the back side and records it in the card's sidecar at once when
    // the card has a file (the card file itself does not change).
    bool SetBackSide(const QString& path);
    // Picture export (export_commands.cpp)
    void mnuSaveAsBitmapClick();
    void mnuSaveAsJPGClick();
    // File › Export...: PNG, JPEG, BMP at a chosen resolution, PDF or SVG.
    void mnuExportClick();
    // False with the reason when the picture could not be written.
    bool SaveCardToBitmap(const QString& path, bool jpeg, QString* error = nullptr);
    void ShowZoomCaption();
    // Print shops (print_shop_commands.cpp)
    void mnuExportForPrintShopClick();
    void mnuPrintShopSettingsClick();
    void mnuShowGuidesClick(bool show);
    // The panel's bleed band and guides as the preferences say.
    void ApplyPrintShopPrefs();
    // What the pre-flight check finds on the card, as a shop export shows it.
    std::vector<TPreflightWarning> PreflightWarnings() const;
    // Merging (merge_commands.cpp): File › Merge Data... reads a CSV or vCard
    // file whose records fill the card's fields; the navigator shows one.
    void mnuMergeDataClick();
    void mnuForgetMergeDataClick();
    // Reads `path` for merging; false (the user told why) when it cannot be used.
    bool MergeDataFrom(const QString& path);
    void ShowRecord(int record);
    const TDataFile* MergeData() const { return mergeData_.get(); }
    const QString& MergeDataFile() const { return mergeFile_; }
    // The records the next print takes, from 1.
    TRecordRange& PrintRecords() { return printRecords_; }
    // Background art (background_art.cpp)
    void mnuSetorChangeBackgroundArtClick();
    // Shows the picture as the card's background art (empty: none).
    void ApplyBackgroundArt(const QString& path);
    // Undo and the Edit menu (edit_commands.cpp)
    QUndoStack& UndoStack() { return *undoStack_; }
    void ClearUndoHistory();
    // Records a change of background art from `before` to the present one.
    void pushBackgroundArt(const QString& before);
    bool PrintMode() const { return printMode_; }
    void SetPrintMode(bool v) { printMode_ = v; }
    bool OutlineOnly() const { return outlineOnly_; }
    void SetOutlineOnly(bool v) { outlineOnly_ = v; }

    QString SavedFolder() const;
    // Where the card and export file dialogs start: the folder of the card
    // last opened or saved; before there is one, the saved folder of a copy
    // that runs from its own folder, else the user's documents folder.
    QString CardFolder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void buildMenus();
    void buildToolBar(QWidget* bar);
    void buildButtonRow(QWidget* row);
    QToolButton* addToolButton(QWidget* bar, const QString& name, const QString& icon, const QString& hint,
        bool checkable);
    void setTool(int state);
    void zoomBy(bool up);
    // Any zoom from 25 % to 400 %; only the view changes.
    void setZoom(float z);
    void zoomToFit();
    void addZoomCommands(QMenu* view);
    void rebuildRecentMenu();
    QWidget* createAssistant(QWidget* parent);
    void buildEditCommands(QMenu* edit);
    void updateTitle();
    void fitBackdrop();
    bool handleWindowKey(QKeyEvent* key);
    void exportCard(bool jpeg);
    // Runs `write` (given the files the output must not replace) with the
    // card left unchanged and the user told how it went.
    void writeCardFile(const QString& path, const std::function<QString(const QStringList& inputs)>& write);
    QString chooseCardFile(const QString& title);
    // Opens a handed-over card once no dialog or menu of the user's is open.
    void openWhenFree(const QString& path);

    TPreferences prefs_;
    TPositionSelection selectedPositions_;
    bool printMode_ = true;
    bool outlineOnly_ = false;
    bool suppressChanges_ = true;
    bool changesMade_ = false;
    bool printingAvailable_ = false;
    bool activated_ = false;
    QString backgroundArtPath_;
    QString backSidePath_;
    QString frontOfBack_;
    int printStart_ = 1;
    int backChoice_ = 1; // a card given a back prints it, on a duplex printer, unless the user says otherwise
    QString cardFileName_;
    QString startupCard_;

    TQBusinessCardPanel32* panel_ = nullptr;
    TBleedBand* bleedBand_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QButtonGroup* toolGroup_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* defaultFontItem_ = nullptr;
    QLabel* zoomCaption_ = nullptr;
    TRecordNavigator* navigator_ = nullptr;
    QAction* forgetMergeItem_ = nullptr;
    std::unique_ptr<TDataFile> mergeData_;
    QString mergeFile_;
    TRecordRange printRecords_;
    TDesignerAssistant* assistant_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    std::unique_ptr<TMRUFileList> mru_;
    QUndoStack* undoStack_ = nullptr;
};

} // namespace cardora
