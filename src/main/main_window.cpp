#include "main/main_window.h"
#include "core/app_folder.h"
#include "core/context_help.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "core/window_placement.h"
#include "main/designer_assistant.h"
#include "main/help_window.h"
#include "main/mru_list.h"
#include "main/printer_check.h"
#include "main/record_navigator.h"
#include "main/zoom_spinner.h"
#include "objects/richtext_label/rich_label.h"
#include "objects/text_label_dialogs.h"
#include "richtext/rich_text_control.h"
#include "surface/bleed_band.h"
#include "surface/card_panel.h"
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
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

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), context_(std::make_unique<CommandContext>(WindowHooks {
                               [this] { showChangeState(); },
                               [this] { updateActions(); },
                               [this] { loadPreferences(); },
                               [this] { savePreferences(); },
                               [this] { applyCardSize(); },
                               [this] { fitBackdrop(); },
                               [this] { updateZoomCaption(); },
                               [this] { return file_->saveChangesFirst(); },
                               [this](const QString& path) { file_->openCard(path); },
                           })),
      prefs_(context_->preferences()), card_(context_->card())
{
    initResources();
    InstallProgramHelp();
    setObjectName("MainScreen");
    SetProgramWindow(this);
    SetDialogHelpHandler([](int topic) { ShowHelpTopic(topic); });
    QFont f("Arial");
    f.setPointSize(8);
    setFont(f);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    createCommandFamilies();

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
    panel_ = new CardPanel(backdrop, this);
    panel_->setObjectName("BusinessCardPanel");
    panel_->setProperty("ownContextMenu", true); // its right click opens the card's menus
    panel_->move(10, 8);
    panel_->SetDrawOutline(true);
    panel_->SetShape(CardShape::Rectangle);
    panel_->SetGridSize(GridSpacing::FourPixels);
    panel_->DroppedObjectEvent = [this](QRect& r) { objectDropped(r); };
    panel_->ZoomStepRequested = [this](int step) { view_->zoomBy(step > 0); };
    bleedBand_ = new TBleedBand(*panel_, backdrop);
    panel_->Repainted = [this] { bleedBand_->update(); };
    // Every rich-text label of the card paints through this hidden control.
    new TRichTextControl(this, QString::fromLatin1(kMasterRichTextName));
    panel_->SetUndoStack(undoStack_);
    context_->setPanel(panel_);
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
    setUp();
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
    panel_->LabelChangedEvent = nullptr;
    // The history goes first: clearing it must not reach a half-destroyed window.
    panel_->SetUndoStack(nullptr);
    delete undoStack_;
    undoStack_ = nullptr;
    if (ProgramWindow() == this)
        SetProgramWindow(nullptr);
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }
QToolButton* MainWindow::ToolButton(const QString& name) const { return findChild<QToolButton*>(name); }

void MainWindow::createCommandFamilies()
{
    undoStack_ = new QUndoStack(this);
    undoStack_->setUndoLimit(200);
    context_->attach(undoStack_, this);
    // Undoing back to the saved state clears the changed flag, and leaving it sets it.
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] {
        if (!card_.suppressChanges)
            context_->setChangesMade(!undoStack_->isClean());
    });

    file_ = new FileCommands(*context_, this);
    edit_ = new EditCommands(*context_, this);
    print_ = new PrintCommands(*context_, this);
    export_ = new ExportCommands(*context_, this);
    printShop_ = new PrintShopCommands(*context_, this);
    merge_ = new MergeCommands(*context_, this);
    backSide_ = new BackSideCommands(*context_, this);
    backgroundArt_ = new BackgroundArtCommands(*context_, this);
    personalInfo_ = new PersonalInfoCommands(*context_, this);
    help_ = new HelpCommands(*context_, this);
    view_ = new ViewCommands(*context_, [this] { return scrollBox_->viewport()->size(); }, this);
}

void MainWindow::buildMenus()
{
    auto add = [](QMenu* menu, CommandFamily* family, std::initializer_list<const char*> names) {
        for (const char* name : names)
            menu->addAction(family->action(name));
    };

    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("FileMenu");
    add(file, file_, { "New1", "Open1", "Delete1" });
    file->addSeparator();
    add(file, file_, { "mnuSave", "mnuSaveAs" });
    add(file, export_, { "mnuSaveAsBitmap", "mnuSaveAsJPG", "mnuExport" });
    add(file, printShop_, { "mnuExportForPrintShop" });
    file->addSeparator();
    add(file, merge_, { "mnuMergeData", "mnuForgetMergeData" });
    file->addSeparator();
    add(file, backSide_, { "mnuBackSide", "mnuSwitchSide" });
    file->addSeparator();
    add(file, print_, { "mnuPrint", "mnuPreview" });
    file->addSeparator();
    add(file, print_,
        { "mnuPrinterSetup", "mnuPrinterFineTuning", "mnuPrintOutlineTestPage", "mnuBackFineTuning",
            "mnuPrintTwoSidedTestPage" });
    file->addSeparator();
    QAction* exit = file->addAction("E&xit");
    exit->setObjectName("Exit1");
    connect(exit, &QAction::triggered, this, &QWidget::close);
    file_->setRecentMenu(file);

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("EditMenu");
    add(edit, edit_, { "mnuUndo", "mnuRedo" });
    edit->addSeparator();
    add(edit, edit_, { "mnuCut", "mnuCopy", "mnuPaste", "mnuDelete", "mnuSelectAll" });
    connect(edit, &QMenu::aboutToShow, edit_, &EditCommands::updateSelectionActions);
    edit->addSeparator();
    defaultFontItem_ = edit->addAction("&Default Font - ");
    defaultFontItem_->setObjectName("mnuDefaultFont");
    connect(defaultFontItem_, &QAction::triggered, this, [this] { chooseDefaultFont(); });
    add(edit, personalInfo_, { "PersonalInformation1" });
    add(edit, backgroundArt_, { "mnuSetorChangeBackgroundArt" });
    edit->addSeparator();
    add(edit, print_, { "ChangeCardLayout1" });
    add(edit, printShop_, { "mnuPrintShopSettings" });

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("ViewMenu");
    add(view, printShop_, { "mnuShowGuides" });
    view->addSeparator();
    add(view, view_, { "mnuZoomIn", "mnuZoomOut", "mnuActualSize", "mnuFitToWindow" });

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("HelpMenu");
    add(help, help_, { "Contents1", "About1", "ConfigurationInformation1", "TechnicalSupport1",
                         "FrequentlyAskedQuestions1" });
    help->addSeparator();
    add(help, help_, { "VisitOurInternetWebsite1" });
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
                              CardPanel::ToolName(PanelTool::Pointing) + "\nSelect, move and resize objects", true),
        int(PanelTool::Pointing));
    RegisterCardObjectKinds();
    for (int n = 1; n <= ObjectKinds::ToolCount(); ++n) {
        const ObjectTool& t = *ObjectKinds::Tool(n);
        QToolButton* b = addToolButton(bar, t.buttonName, t.icon,
            CardPanel::ToolName(static_cast<PanelTool>(n)) + "\n" + t.hint, true);
        b->setWhatsThis(t.whatsThis);
        toolGroup_->addButton(b, n);
        if (t.helpTopic)
            SetHelpTopic(b, t.helpTopic);
    }
    toolGroup_->button(int(PanelTool::Pointing))->setChecked(true);
    connect(toolGroup_, &QButtonGroup::idClicked, this, [this](int id) { setTool(id); });

    l->addSpacing(10);
    QToolButton* grid = addToolButton(bar, "ShowGrid", "grid", "Show grid", true);
    connect(grid, &QToolButton::toggled, this, [this](bool on) { panel_->SetShowGrid(on); });
    QToolButton* snap = addToolButton(bar, "SnapToGrid", "snap", "Snap to Grid", true);
    connect(snap, &QToolButton::toggled, this, [this](bool on) { panel_->SetSnapToGrid(on); });
    QToolButton* art = addToolButton(bar, "SetBackgroundArtButton", "background", "Set or change background art", false);
    SetHelpTopic(art, 2101);
    connect(art, &QToolButton::clicked, backgroundArt_->action("mnuSetorChangeBackgroundArt"), &QAction::trigger);
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
    connect(button("Helpbutton", "&Help", "help"), &QPushButton::clicked, this, [] { ShowHelpTopic(2016); });
    auto* whatsThis = new QToolButton(row);
    whatsThis->setObjectName("MouseHelpButton");
    whatsThis->setIcon(QIcon(":/icons/whatsthis.svg"));
    whatsThis->setToolTip("What's this?");
    connect(whatsThis, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    l->addWidget(whatsThis);
    connect(button("CloseButton", "E&xit", "exit"), &QPushButton::clicked, this, &QWidget::close);
    connect(button("PrintButton", "&Print", "print"), &QPushButton::clicked, print_, &PrintCommands::print);
    connect(button("Previewbutton", "Pre&view", "preview"), &QPushButton::clicked, print_, &PrintCommands::preview);
    cancelButton_ = button("Cancelbutton", "Cancel", "cancel");
    connect(cancelButton_, &QPushButton::clicked, file_, &FileCommands::revert);
    cancelButton_->hide();
    saveButton_ = button("Savebutton", "Save as", "save");
    connect(saveButton_, &QPushButton::clicked, file_, &FileCommands::save);
    saveButton_->hide();
    l->addStretch(1);
    l->addWidget(merge_->createNavigator(row));
    l->addSpacing(12);
    auto* spinner = new ZoomSpinner(row);
    spinner->setObjectName("ZoomSpinner");
    spinner->setToolTip("Press plus (+) or minus (-) to \nincrease or decrease the zoom percentage");
    spinner->OnUpClick = [this] { zoomIn(); };
    spinner->OnDownClick = [this] { zoomOut(); };
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

void MainWindow::setUp()
{
    card_.suppressChanges = true;
    loadPreferences();
    applyCardSize();
    showDefaultFont();
    panel_->SetPersonalInfo(prefs_.Personal);
    context_->setChangesMade(false);
    context_->recentFiles().Maximum = 5;
    context_->recentFiles().AutoSaveName = PreferencesFileName();
    context_->recentFiles().AutoSaveKey = "MRU";
    context_->recentFiles().Load();
    file_->rebuildRecentMenu();
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
        QTimer::singleShot(0, this, [this] { firstActivation(); });
}

void MainWindow::firstActivation()
{
    panel_->update();
    if (activated_ || !card_.suppressChanges)
        return;
    activated_ = true;
    RestoreWindowPlacement(*this, kPlacementName);
    show();
    QCoreApplication::processEvents();
    panel_->SetShape(CardShape::Rectangle);
    applyCardSize();
    panel_->show();
    QCoreApplication::processEvents();
    BusyOff();
    if (!startupCard_.isEmpty())
        openFromCommandLine(startupCard_);
    else if (!context_->recentFiles().Items().isEmpty() && QFileInfo::exists(context_->recentFiles().Items().first()))
        file_->openCard(context_->recentFiles().Items().first());
    context_->setChangesMade(false);
    QCoreApplication::processEvents();
    panel_->LabelChangedEvent = [this](QObject* sender) { cardChanged(sender); };
    context_->setChangesMade(false);
    card_.suppressChanges = false;
    print_->setPrintingAvailable(PrinterAvailable(true));
    updateActions();
}

void MainWindow::applyCardSize()
{
    const int ppi = ScreenPixelsPerInch();
    const int w = static_cast<int>(std::nearbyint(ppi * prefs_.Layout.Width));
    const int h = static_cast<int>(std::nearbyint(ppi * prefs_.Layout.Height));
    panel_->SetPanelSize(w, h);
    fitBackdrop();
}

// ---------------------------------------------------------------- changes

void MainWindow::cardChanged(QObject*)
{
    if (!card_.suppressChanges)
        context_->setChangesMade(true);
}

void MainWindow::showChangeState()
{
    cancelButton_->setVisible(card_.changesMade);
    saveButton_->setText(card_.fileName.isEmpty() ? "Save As" : "Save");
    saveButton_->setVisible(card_.changesMade);
    updateTitle();
}

void MainWindow::updateTitle()
{
    QString title = card_.fileName.isEmpty() ? QString("Cardora") : "Cardora - " + QFileInfo(card_.fileName).fileName();
    if (!card_.frontOfBack.isEmpty())
        title += " (back of " + QFileInfo(card_.frontOfBack).fileName() + ")";
    setWindowTitle(card_.changesMade ? title + " *" : title);
}

void MainWindow::updateActions()
{
    updateTitle();
    for (const char* name : { "PrintButton", "Previewbutton" })
        if (auto* b = findChild<QPushButton*>(name))
            b->setEnabled(print_->printingAvailable());
    for (CommandFamily* family : findChildren<CommandFamily*>(Qt::FindDirectChildrenOnly))
        family->updateActions();
}

// ---------------------------------------------------------------- closing

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Asked once, however the window is closed; Cancel keeps it open.
    if (!file_->saveChangesFirst()) {
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

// Keys of the main window besides the panel's own: Escape, Ctrl+A and the
// main keyboard's + and - for zoom. True when the key was used.
bool MainWindow::handleWindowKey(QKeyEvent* key)
{
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    // + is = with Shift: either may come with the release.
    const int zoomKey = key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal ? Qt::Key_Plus
        : key->key() == Qt::Key_Minus                                         ? Qt::Key_Minus
                                                                              : 0;
    if (key->type() == QEvent::KeyPress) {
        // Ctrl with + or - is the View menu's; letting Ctrl go before the
        // key must not zoom a second time.
        if (zoomKey)
            plainZoomKey_ = ctrl ? 0 : zoomKey;
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
    if (ctrl || !zoomKey || zoomKey != plainZoomKey_)
        return false;
    plainZoomKey_ = 0;
    if (zoomKey == Qt::Key_Plus)
        zoomIn();
    else
        zoomOut();
    return true;
}

} // namespace cardora
