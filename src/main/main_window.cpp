#include "main/main_window.h"
#include "core/app_folder.h"
#include "core/safe_file.h"
#include "core/context_help.h"
#include "core/modal.h"
#include "core/window_placement.h"
#include "main/designer_assistant.h"
#include "main/help_window.h"
#include <QUndoStack>
#include "main/mru_list.h"
#include "objects/text_label_dialogs.h"
#include "main/printer_check.h"
#include "main/record_navigator.h"
#include "main/zoom_spinner.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "surface/bleed_band.h"
#include "surface/card_panel.h"
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QUrl>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

// The icons live in this static library; it must pull them in itself.
static void initResources() { Q_INIT_RESOURCE(resources); }

namespace cardora {

namespace {
// The preferences file's section for the window's place keeps the name it
// has always had, so that a new version opens where the old one closed.
constexpr char kPlacementName[] = "TMainScreen";

// The scroll box's content: a click on it, outside the card, clears the selection.
class CardBackdrop : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        if (OnClick)
            OnClick();
    }
};
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    initResources();
    InstallProgramHelp();
    setObjectName("MainScreen");
    SetProgramWindow(this);
    SetDialogHelpHandler([](int topic) { cardora::ShowHelpTopic(topic); });
    QFont f("Arial");
    f.setPointSize(8);
    setFont(f);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* toolBar = new QWidget(central);
    toolBar->setObjectName("Panel2");
    buildToolBar(toolBar);
    layout->addWidget(toolBar);

    scrollBox_ = new QScrollArea(central);
    scrollBox_->setObjectName("ScrollBox1");
    scrollBox_->setBackgroundRole(QPalette::Button);
    auto* backdrop = new CardBackdrop;
    backdrop->setAutoFillBackground(true);
    backdrop->setBackgroundRole(QPalette::Button);
    backdrop->OnClick = [this] { panel_->ClearSelection(); };
    panel_ = new TQBusinessCardPanel32(backdrop, this);
    panel_->setObjectName("BusinessCardPanel");
    panel_->setProperty("ownContextMenu", true); // its right click opens the card's menus
    panel_->move(10, 8);
    panel_->SetDrawOutline(true);
    panel_->SetShape(lsRectangle);
    panel_->SetGridSize(gs4x4);
    panel_->DroppedObjectEvent = [this](QRect& r) { BusinessCardPanelDroppedObjectEvent(r); };
    bleedBand_ = new TBleedBand(*panel_, backdrop);
    panel_->Repainted = [this] { bleedBand_->update(); };
    // Every rich-text label of the card paints through this hidden control.
    new TRichTextControl(this, QString::fromLatin1(kMasterRichTextName));
    scrollBox_->setWidget(backdrop);
    scrollBox_->setWidgetResizable(true);
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(scrollBox_, 1);
    middle->addWidget(createAssistant(central));
    layout->addLayout(middle, 1);

    auto* buttonRow = new QWidget(central);
    buttonRow->setObjectName("Panel1");
    buildButtonRow(buttonRow);
    layout->addWidget(buttonRow);

    setCentralWidget(central);
    buildMenus();
    resize(ComfortableSize());
    qApp->installEventFilter(this);
    FormCreate();
}

QSize MainWindow::ComfortableSize() const
{
    // Three quarters of the screen; never less than the smallest window that
    // shows the card and the assistant whole, never more than the screen.
    const QSize least(622 + (assistant_->isHidden() ? 0 : assistant_->width()), 404 + menuBar()->sizeHint().height());
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return least;
    const QSize area = screen->availableGeometry().size();
    return (area * 3 / 4).expandedTo(least).boundedTo(area);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // The history goes first: clearing it must not reach a half-destroyed window.
    panel_->SetUndoStack(nullptr);
    delete undoStack_;
    undoStack_ = nullptr;
    if (ProgramWindow() == this)
        SetProgramWindow(nullptr);
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }
QToolButton* MainWindow::ToolButton(const QString& name) const { return findChild<QToolButton*>(name); }

void MainWindow::buildMenus()
{
    auto item = [this](QMenu* menu, const QString& name, const QString& caption, auto handler) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->setObjectName("FileMenu");
    item(fileMenu_, "New1", "&New", [this] { New1Click(); })->setShortcut(QKeySequence::New);
    item(fileMenu_, "Open1", "&Open", [this] { Open1Click(); })->setShortcut(QKeySequence::Open);
    item(fileMenu_, "Delete1", "&Delete", [this] { Delete1Click(); });
    fileMenu_->addSeparator();
    item(fileMenu_, "mnuSave", "Save", [this] { mnuSaveClick(); })->setShortcut(QKeySequence("Ctrl+S"));
    item(fileMenu_, "mnuSaveAs", "Save &As...", [this] { mnuSaveAsClick(); });
    item(fileMenu_, "mnuSaveAsBitmap", "Save As Bitmap", [this] { mnuSaveAsBitmapClick(); });
    item(fileMenu_, "mnuSaveAsJPG", "Save As JPG", [this] { mnuSaveAsJPGClick(); });
    item(fileMenu_, "mnuExport", "Expo&rt...", [this] { mnuExportClick(); });
    item(fileMenu_, "mnuExportForPrintShop", "Export for Print S&hop...", [this] { mnuExportForPrintShopClick(); });
    fileMenu_->addSeparator();
    item(fileMenu_, "mnuMergeData", "&Merge Data...", [this] { mnuMergeDataClick(); });
    forgetMergeItem_ = item(fileMenu_, "mnuForgetMergeData", "&Forget Merge Data", [this] { mnuForgetMergeDataClick(); });
    forgetMergeItem_->setEnabled(false);
    fileMenu_->addSeparator();
    item(fileMenu_, "mnuBackSide", "&Back Side...", [this] { mnuBackSideClick(); });
    item(fileMenu_, "mnuSwitchSide", "Show Bac&k Side", [this] { mnuSwitchSideClick(); })
        ->setShortcut(QKeySequence("Ctrl+B"));
    fileMenu_->addSeparator();
    item(fileMenu_, "mnuPrint", "&Print", [this] { mnuPrintClick(); })->setShortcut(QKeySequence::Print);
    item(fileMenu_, "mnuPreview", "Pre&view", [this] { mnuPreviewClick(); });
    fileMenu_->addSeparator();
    item(fileMenu_, "mnuPrinterSetup", "Printer S&etup", [this] { mnuPrinterSetupClick(); });
    item(fileMenu_, "mnuPrinterFineTuning", "Printer Fine &Tuning", [this] { mnuPrinterFineTuningClick(); });
    item(fileMenu_, "mnuPrintOutlineTestPage", "Print O&utline Test Page", [this] { mnuPrintOutlineTestPageClick(); });
    item(fileMenu_, "mnuBackFineTuning", "Back Side Fine Tu&ning", [this] { mnuBackFineTuningClick(); });
    item(fileMenu_, "mnuPrintTwoSidedTestPage", "Print T&wo-Sided Test Page",
        [this] { mnuPrintTwoSidedTestPageClick(); });
    fileMenu_->addSeparator();
    item(fileMenu_, "Exit1", "E&xit", [this] { CloseButtonClick(); });

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("EditMenu");
    buildEditCommands(edit);
    defaultFontItem_ = item(edit, "mnuDefaultFont", "&Default Font - ", [this] { mnuDefaultFontClick(); });
    item(edit, "PersonalInformation1", "&Personal Information", [this] { PersonalInformation1Click(); });
    item(edit, "mnuSetorChangeBackgroundArt", "&Set or Change Background Art",
        [this] { mnuSetorChangeBackgroundArtClick(); });
    edit->addSeparator();
    item(edit, "ChangeCardLayout1", "Change Business Card Layout", [this] { ChangeCardLayout1Click(); });
    item(edit, "mnuPrintShopSettings", "Print Shop Settings...", [this] { mnuPrintShopSettingsClick(); });

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("ViewMenu");
    QAction* guides = view->addAction("Print Shop &Guides (Trim, Bleed, Safe Area)");
    guides->setObjectName("mnuShowGuides");
    guides->setCheckable(true);
    connect(guides, &QAction::triggered, this, [this](bool on) { mnuShowGuidesClick(on); });
    addZoomCommands(view);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("HelpMenu");
    item(help, "Contents1", "&Contents", [this] { Contents1Click(); });
    item(help, "About1", "&About", [this] { About1Click(); });
    item(help, "ConfigurationInformation1", "Configuration Information",
        [this] { ConfigurationInformation1Click(); });
    item(help, "TechnicalSupport1", "Technical Support", [this] { ShowHelpTopic(1041); });
    item(help, "FrequentlyAskedQuestions1", "Frequently Asked Questions", [this] { ShowHelpTopic(911); });
    help->addSeparator();
    item(help, "VisitOurInternetWebsite1", "Visit Our Internet Website",
        [] { QDesktopServices::openUrl(QUrl("https://www.cardora.example/")); });
}

QToolButton* MainWindow::addToolButton(QWidget* bar, const QString& name, const QString& icon,
    const QString& hint, bool checkable)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setIcon(QIcon(":/icons/" + icon + ".svg"));
    b->setIconSize(QSize(24, 24));
    b->setToolTip(hint);
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    bar->layout()->addWidget(b);
    return b;
}

void MainWindow::buildToolBar(QWidget* bar)
{
    auto* l = new QHBoxLayout(bar);
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(1);
    toolGroup_ = new QButtonGroup(this);
    toolGroup_->setExclusive(true);
    // Each tool's tip is its name and what it makes; F1 on it opens the help
    // of the dialog it opens (none: the main window's).
    toolGroup_->addButton(addToolButton(bar, "Pointerbutton", "pointer",
                              TQBusinessCardPanel32::ToolName(psPointing) + "\nSelect, move and resize objects", true),
        psPointing);
    RegisterCardObjectKinds();
    for (int n = 1; n <= ObjectKinds::ToolCount(); ++n) {
        const ObjectTool& t = *ObjectKinds::Tool(n);
        QToolButton* b = addToolButton(bar, t.buttonName, t.icon,
            TQBusinessCardPanel32::ToolName(static_cast<TLPanelState>(n)) + "\n" + t.hint, true);
        b->setWhatsThis(t.whatsThis);
        toolGroup_->addButton(b, n);
        if (t.helpTopic)
            SetHelpTopic(b, t.helpTopic);
    }
    toolGroup_->button(psPointing)->setChecked(true);
    connect(toolGroup_, &QButtonGroup::idClicked, this, [this](int id) { setTool(id); });

    l->addSpacing(10);
    QToolButton* grid = addToolButton(bar, "ShowGrid", "grid", "Show grid", true);
    connect(grid, &QToolButton::toggled, this, [this](bool on) { panel_->SetShowGrid(on); });
    QToolButton* snap = addToolButton(bar, "SnapToGrid", "snap", "Snap to Grid", true);
    connect(snap, &QToolButton::toggled, this, [this](bool on) { panel_->SetSnapToGrid(on); });
    QToolButton* art = addToolButton(bar, "SetBackgroundArtButton", "background", "Set or change background art", false);
    SetHelpTopic(art, 2101);
    connect(art, &QToolButton::clicked, this, [this] { mnuSetorChangeBackgroundArtClick(); });
    QToolButton* assist = addToolButton(bar, "AssistButton", "assist", "Show the Designer Assistant", false);
    assist->setText("Quick Tips");
    connect(assist, &QToolButton::clicked, this, [this] { assistant_->Open(); });
    l->addStretch(1);
}

void MainWindow::buildButtonRow(QWidget* row)
{
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(6, 4, 6, 4);
    auto button = [&](const QString& name, const QString& caption, const QString& icon) {
        auto* b = new QPushButton(caption, row);
        b->setObjectName(name);
        if (!icon.isEmpty())
            b->setIcon(QIcon(":/icons/" + icon + ".svg"));
        l->addWidget(b);
        return b;
    };
    connect(button("Helpbutton", "&Help", "help"), &QPushButton::clicked, this, [this] { ShowHelpTopic(2016); });
    auto* whatsThis = new QToolButton(row);
    whatsThis->setObjectName("MouseHelpButton");
    whatsThis->setIcon(QIcon(":/icons/whatsthis.svg"));
    whatsThis->setToolTip("What's this?");
    connect(whatsThis, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    l->addWidget(whatsThis);
    connect(button("CloseButton", "E&xit", "exit"), &QPushButton::clicked, this, [this] { CloseButtonClick(); });
    connect(button("PrintButton", "&Print", "print"), &QPushButton::clicked, this, [this] { mnuPrintClick(); });
    connect(button("Previewbutton", "Pre&view", "preview"), &QPushButton::clicked, this, [this] { mnuPreviewClick(); });
    cancelButton_ = button("Cancelbutton", "Cancel", "cancel");
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelbuttonClick(); });
    cancelButton_->hide();
    saveButton_ = button("Savebutton", "Save as", "save");
    connect(saveButton_, &QPushButton::clicked, this, [this] { SavebuttonClick(); });
    saveButton_->hide();
    l->addStretch(1);
    navigator_ = new TRecordNavigator(row);
    SetHelpTopic(navigator_, 2040);
    navigator_->OnRecordChosen = [this](int record) { ShowRecord(record); };
    navigator_->OnShowTyped = [this](bool typed) { panel_->SetFieldsShownAsTyped(typed); };
    l->addWidget(navigator_);
    l->addSpacing(12);
    auto* spinner = new ZoomSpinner(row);
    spinner->setObjectName("ZoomSpinner");
    spinner->setToolTip("Press plus (+) or minus (-) to \nincrease or decrease the zoom percentage");
    spinner->OnUpClick = [this] { ZoomSpinnerUpClick(); };
    spinner->OnDownClick = [this] { ZoomSpinnerDownClick(); };
    l->addWidget(spinner);
    l->addWidget(new QLabel("Zoom:", row));
    zoomCaption_ = new QLabel("100%", row);
    zoomCaption_->setObjectName("ZoomCaption");
    zoomCaption_->setMinimumWidth(40);
    l->addWidget(zoomCaption_);
}

// ---------------------------------------------------------------- start-up

// The textures and background art that come with the program, copied into
// "bmbrush" and "bg" where a file of that name is missing, so a new user has
// some to choose from.
static void InstallBundledFiles(const QString& folderName)
{
    const QString folder = FindCaseInsensitive(ApplicationFolder(), folderName);
    if (!QFileInfo(folder).isDir())
        return;
    for (const QFileInfo& bundled : QDir(":/" + folderName).entryInfoList(QDir::Files)) {
        const QString target = folder + "/" + bundled.fileName();
        if (QFileInfo::exists(target))
            continue;
        // Written whole or not at all: a half-copied file would be offered
        // in the browser and never be replaced.
        QFile source(bundled.filePath());
        if (source.open(QIODevice::ReadOnly))
            WriteFileSafely(target, source.readAll());
    }
}

void MainWindow::FormCreate()
{
    printingAvailable_ = false;
    suppressChanges_ = true;
    SelectAllLabels();
    LoadPreferences();
    SetCardSizeFromInches();
    SetDefaultFontCaption();
    SetPanelPersonalInfo();
    SetChangesMade(false);
    mru_ = std::make_unique<TMRUFileList>();
    mru_->Maximum = 5;
    mru_->AutoSaveName = PreferencesFileName();
    mru_->AutoSaveKey = "MRU";
    mru_->Load();
    rebuildRecentMenu();
    QDir app(ApplicationFolder());
    for (const char* folder : { "bmbrush", "Textures", "saved", "bg" })
        if (!QFileInfo::exists(FindCaseInsensitive(ApplicationFolder(), folder)))
            app.mkdir(folder);
    InstallBundledFiles("bmbrush");
    InstallBundledFiles("bg");
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!activated_)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void MainWindow::FormActivate()
{
    panel_->update();
    if (activated_ || !suppressChanges_)
        return;
    activated_ = true;
    RestoreWindowPlacement(*this, kPlacementName);
    show();
    QCoreApplication::processEvents();
    panel_->SetShape(lsRectangle);
    SetCardSizeFromInches();
    panel_->show();
    QCoreApplication::processEvents();
    BusyOff();
    if (!startupCard_.isEmpty())
        OpenFromCommandLine(startupCard_);
    else if (!mru_->Items().isEmpty() && QFileInfo::exists(mru_->Items().first()))
        OpenBCFile(mru_->Items().first());
    SetChangesMade(false);
    QCoreApplication::processEvents();
    panel_->LabelChangedEvent = [this](QObject* sender) { CardChanged(sender); };
    SetChangesMade(false);
    suppressChanges_ = false;
    printingAvailable_ = PrinterAvailable(true);
    Setbuttons();
}

void MainWindow::SelectAllLabels() { selectedPositions_.fill(true); }

void MainWindow::SetPanelPersonalInfo() { panel_->SetPersonalInfo(prefs_.Personal); }

void MainWindow::SetCardSizeFromInches()
{
    const int ppi = ScreenPixelsPerInch();
    const int w = static_cast<int>(std::nearbyint(ppi * prefs_.Layout.Width));
    const int h = static_cast<int>(std::nearbyint(ppi * prefs_.Layout.Height));
    panel_->SetPanelSize(w, h);
    fitBackdrop();
}

// ---------------------------------------------------------------- changes

void MainWindow::CardChanged(QObject*)
{
    if (!suppressChanges_)
        SetChangesMade(true);
}

void MainWindow::SetChangesMade(bool b)
{
    changesMade_ = b;
    // The saved state is where undoing clears the flag again.
    if (!b && undoStack_)
        undoStack_->setClean();
    cancelButton_->setVisible(b);
    saveButton_->setText(cardFileName_.isEmpty() ? "Save As" : "Save");
    saveButton_->setVisible(b);
    updateTitle();
}

void MainWindow::updateTitle()
{
    QString title = cardFileName_.isEmpty() ? QString("Cardora") : "Cardora - " + QFileInfo(cardFileName_).fileName();
    if (!frontOfBack_.isEmpty())
        title += " (back of " + QFileInfo(frontOfBack_).fileName() + ")";
    setWindowTitle(changesMade_ ? title + " *" : title);
}

void MainWindow::Setbuttons()
{
    // Save on a card never saved asks for a name, as Save As does.
    Action("mnuSave")->setEnabled(true);
    updateTitle();
    for (const char* name : { "PrintButton", "Previewbutton" })
        if (auto* b = findChild<QPushButton*>(name))
            b->setEnabled(printingAvailable_);
    for (const char* name : { "mnuPrint", "mnuPreview", "mnuPrinterSetup", "mnuPrinterFineTuning",
             "mnuPrintOutlineTestPage", "mnuBackFineTuning", "mnuPrintTwoSidedTestPage" })
        Action(name)->setEnabled(printingAvailable_);
    Action("mnuSwitchSide")->setText(frontOfBack_.isEmpty() ? "Show Bac&k Side" : "Show &Front Side");
    Action("mnuSwitchSide")->setEnabled(!frontOfBack_.isEmpty() || !backSidePath_.isEmpty());
}

void MainWindow::CancelbuttonClick()
{
    if (!Ask("Cancel all changes?", "Cancel"))
        return;
    suppressChanges_ = true;
    panel_->ClearObjects();
    backgroundArtPath_.clear();
    panel_->ClearColorPicture();
    ClearUndoHistory();
    suppressChanges_ = false;
    const QString front = frontOfBack_; // a back side shown stays the back of its card
    if (!cardFileName_.isEmpty())
        OpenBCFile(cardFileName_);
    frontOfBack_ = front;
    Setbuttons();
    SetChangesMade(false);
    panel_->update();
}

void MainWindow::SavebuttonClick()
{
    if (cardFileName_.isEmpty())
        mnuSaveAsClick();
    else
        mnuSaveClick();
}

// ---------------------------------------------------------------- closing

void MainWindow::CloseButtonClick() { close(); }

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Asked once, however the window is closed; Cancel keeps it open.
    if (!CheckSaveNeeded()) {
        event->ignore();
        return;
    }
    SaveWindowPlacement(*this, kPlacementName);
    // The help window must not keep the program running on its own.
    CloseHelpWindow();
    event->accept();
}

// ---------------------------------------------------------------- keyboard

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QMainWindow::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window, not for its dialogs or menus.
    if (!w || w->window() != this || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool arrow = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Up
        || key->key() == Qt::Key_Down;
    if (!key->isAutoRepeat() && handleWindowKey(key))
        return true;
    if (event->type() == QEvent::KeyRelease) {
        if (arrow && !key->isAutoRepeat()) {
            panel_->KeyUp(key->key());
            return panel_->Handle().Visible();
        }
        if (key->modifiers() & Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Plus) {
                ZoomSpinnerUpClick();
                return true;
            }
            if (key->key() == Qt::Key_Minus) {
                ZoomSpinnerDownClick();
                return true;
            }
        }
        return false;
    }
    QScrollBar* bar = scrollBox_->verticalScrollBar();
    switch (key->key()) {
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_Home: bar->triggerAction(QAbstractSlider::SliderToMinimum); return true;
    case Qt::Key_End: bar->triggerAction(QAbstractSlider::SliderToMaximum); return true;
    default: break;
    }
    if (key->isAutoRepeat() && !arrow)
        return false;
    panel_->KeyDown(key->key(), key->modifiers());
    return (arrow && panel_->Handle().Visible()) || key->key() == Qt::Key_Delete || (key->modifiers() & Qt::ControlModifier
        && (key->key() == Qt::Key_C || key->key() == Qt::Key_V || key->key() == Qt::Key_X));
}

} // namespace cardora
