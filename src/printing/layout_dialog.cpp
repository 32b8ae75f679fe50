#include "printing/layout_dialog.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "printing/number_edit.h"
#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QStringListModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

TEditCardLayout::TEditCardLayout(QWidget* parent) : QDialog(parent)
{
    setObjectName("EditCardLayout");
    setWindowTitle("Business Card Layout");

    auto* top = new QVBoxLayout(this);

    auto* predefRow = new QHBoxLayout;
    predefRow->addWidget(new QLabel("Predefined layouts:", this));
    PredefinedLayouts = new QComboBox(this);
    PredefinedLayouts->setObjectName("PredefinedLayouts");
    PredefinedLayouts->setMaxVisibleItems(13);
    PredefinedLayouts->setWhatsThis("Choose a card stock to fill in all its sizes and its paper at once.");
    predefRow->addWidget(PredefinedLayouts, 1);
    top->addLayout(predefRow);

    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel("&Find stock:", this);
    StockSearch = new QLineEdit(this);
    StockSearch->setObjectName("StockSearch");
    StockSearch->setPlaceholderText("Type a product code or brand, e.g. 8371 or Zweckform");
    StockSearch->setWhatsThis("Type the product code on your package of card stock, or its brand: "
                              "the first stock that matches is chosen.");
    searchLabel->setBuddy(StockSearch);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(StockSearch, 1);
    top->addLayout(searchRow);
    StockInfo = new QLabel(this);
    StockInfo->setObjectName("StockInfo");
    StockInfo->setWordWrap(true);
    top->addWidget(StockInfo);

    auto* stockButtons = new QHBoxLayout;
    auto stockButton = [&](const char* name, const char* caption, const char* help) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setWhatsThis(help);
        stockButtons->addWidget(b);
        return b;
    };
    SaveStockButton = stockButton("SaveStockButton", "&Save as My Stock...",
        "Keep the sizes below as a stock of your own, listed after the program's stocks.");
    DeleteStockButton = stockButton("DeleteStockButton", "&Delete My Stock", "Remove the chosen stock of your own.");
    auto* exportStocks = stockButton("ExportStocksButton", "E&xport My Stocks...",
        "Write your own stocks to a file, to keep or to give to someone else.");
    auto* importStocks = stockButton("ImportStocksButton", "Im&port Stocks...",
        "Add the stocks of a file exported by this program to your own.");
    stockButtons->addStretch(1);
    top->addLayout(stockButtons);
    fillStockList(-1);

    auto* units = new QHBoxLayout;
    Inchesbutton = new QRadioButton("Use &Inches", this);
    Inchesbutton->setObjectName("Inchesbutton");
    MMButton = new QRadioButton("Use &Millimeters", this);
    MMButton->setObjectName("MMButton");
    Inchesbutton->setChecked(true);
    units->addWidget(Inchesbutton);
    units->addWidget(MMButton);
    units->addStretch(1);
    top->addLayout(units);

    auto* grid = new QGridLayout;
    auto numberEdit = [&](const char* name, const char* caption, int row, int col, const char* help) {
        auto* e = new TNumberEdit(this);
        e->setObjectName(name);
        e->SetMask(TNumberEdit::Mask::UpToThree, 3);
        e->setWhatsThis(help);
        auto* label = new QLabel(caption, this);
        label->setBuddy(e);
        grid->addWidget(label, row, col);
        grid->addWidget(e, row, col + 1);
        return e;
    };
    auto spinEdit = [&](const char* name, const char* caption, int row, int col, int max) {
        auto* s = new QSpinBox(this);
        s->setObjectName(name);
        s->setRange(1, max);
        grid->addWidget(new QLabel(caption, this), row, col);
        grid->addWidget(s, row, col + 1);
        return s;
    };
    eCardwidth = numberEdit("eCardwidth", "Card Width", 0, 0, "The width of one card.");
    eCardHeight = numberEdit("eCardHeight", "Card Height", 1, 0, "The height of one card.");
    eHorizPitch = numberEdit("eHorizPitch", "Horizontal Pitch", 2, 0,
        "From the left edge of one card to the left edge of the next card in the row.");
    eVertPitch = numberEdit("eVertPitch", "Vertical Pitch", 3, 0,
        "From the top edge of one card to the top edge of the card below.");
    enbracross = spinEdit("enbracross", "# across", 0, 2, kMaxAcross);
    enbrdown = spinEdit("enbrdown", "# down", 1, 2, kMaxDown);
    eleftmarg = numberEdit("eleftmarg", "Left Margin", 2, 2,
        "From the left edge of the sheet to the left edge of the first column.");
    etopmarg = numberEdit("etopmarg", "Top Margin", 3, 2,
        "From the top edge of the sheet to the top edge of the first row.");
    grid->addWidget(new QLabel("Paper size", this), 4, 0);
    epapersize = new QComboBox(this);
    epapersize->setObjectName("epapersize");
    epapersize->addItems({ "Letter (8.5 x 11\")", "A4 (210 x 297mm)", "" });
    grid->addWidget(epapersize, 4, 1);
    top->addLayout(grid);

    DialogButtonsLook look;
    look.ok = { "OK", "OkButton" };
    look.cancel = { "Cancel", "Cancelbutton" };
    look.openHelp = [this] { showHelp(); };
    look.onOk = [this] { applyAndClose(); };
    look.onCancel = [this] { cancelAndClose(); };
    TDialogButtons(*this, std::move(look)).AddRow(*top);

    connect(MMButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            useMillimetres();
    });
    connect(Inchesbutton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            useInches();
    });
    connect(eCardwidth, &TNumberEdit::Exited, this, [this] { applyCardWidth(); });
    connect(eCardHeight, &TNumberEdit::Exited, this, [this] { applyCardHeight(); });
    connect(PredefinedLayouts, &QComboBox::currentIndexChanged, this, [this] { applyPredefinedLayout(); });
    connect(StockSearch, &QLineEdit::textEdited, this, [this](const QString& t) { findStock(t); });
    connect(SaveStockButton, &QPushButton::clicked, this, [this] { saveStock(); });
    connect(DeleteStockButton, &QPushButton::clicked, this, [this] { deleteStock(); });
    connect(exportStocks, &QPushButton::clicked, this, &TEditCardLayout::exportStocks);
    connect(importStocks, &QPushButton::clicked, this, &TEditCardLayout::importStocks);
}

bool TEditCardLayout::UseMM() const { return MMButton->isChecked(); }

void TEditCardLayout::SetUseMM(bool mm)
{
    const QSignalBlocker a(MMButton), b(Inchesbutton);
    (mm ? MMButton : Inchesbutton)->setChecked(true);
}

void TEditCardLayout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    prepareToShow();
}

void TEditCardLayout::reject() { cancelAndClose(); }

void TEditCardLayout::prepareToShow()
{
    if (!firstActivation_)
        return;
    // This selection must not load the entry's values: the flag is still set.
    PredefinedLayouts->setCurrentIndex(Values.PredefLayout);
    FillEditsFromValues();
    showStockInfo();
    if (!userStocksProblem_.isEmpty())
        Inform(userStocksProblem_ + "\n\nThe file is left as it is; your own stocks cannot be changed until it is "
                                    "repaired or moved away.");
    firstActivation_ = false;
}

std::array<TNumberEdit*, 6> TEditCardLayout::edits() const
{
    return { eCardwidth, eCardHeight, eHorizPitch, eVertPitch, eleftmarg, etopmarg };
}

std::array<double, 6> TEditCardLayout::editValues() const
{
    std::array<double, 6> v {};
    const auto e = edits();
    for (std::size_t i = 0; i < e.size(); ++i)
        v[i] = e[i]->Value();
    return v;
}

void TEditCardLayout::setEditsFromInches(const std::array<double, 6>& inches)
{
    const auto e = edits();
    for (std::size_t i = 0; i < e.size(); ++i)
        e[i]->SetValue(inches[i]);
}

std::array<double, 6> TEditCardLayout::workingInches() const
{
    return { Values.Width, Values.Height, Values.HPitch, Values.VPitch, Values.LeftMargin, Values.TopMargin };
}

void TEditCardLayout::setWorkingInches(const std::array<double, 6>& v)
{
    Values.Width = v[0];
    Values.Height = v[1];
    Values.HPitch = v[2];
    Values.VPitch = v[3];
    Values.LeftMargin = v[4];
    Values.TopMargin = v[5];
}

void TEditCardLayout::FillEditsFromValues()
{
    setEditsFromInches(workingInches());
    enbracross->setValue(Values.Across);
    enbrdown->setValue(Values.Down);
    if (Values.Papersize == kPaperLetter)
        epapersize->setCurrentIndex(0);
    else if (Values.Papersize == kPaperA4)
        epapersize->setCurrentIndex(1);
    if (MMButton->isChecked())
        useMillimetres();
}

void TEditCardLayout::useMillimetres()
{
    const std::array<double, 6> inches = editValues();
    setWorkingInches(inches);
    for (TNumberEdit* e : edits()) {
        e->clear();
        e->SetMask(TNumberEdit::Mask::Fixed, 2);
    }
    std::array<double, 6> mm {};
    for (std::size_t i = 0; i < mm.size(); ++i)
        mm[i] = InchesToMillimetres(inches[i]);
    setEditsFromInches(mm);
}

void TEditCardLayout::useInches()
{
    std::array<double, 6> inches = editValues();
    for (double& v : inches)
        v = MillimetresToInches(v);
    setWorkingInches(inches);
    for (TNumberEdit* e : edits()) {
        e->clear();
        e->SetMask(TNumberEdit::Mask::OneToThree, 3);
    }
    setEditsFromInches(inches);
}

// The pitch never stays below the card size the user just typed.
void TEditCardLayout::applyCardWidth()
{
    if (eCardwidth->Value() > eHorizPitch->Value())
        eHorizPitch->SetValue(eCardwidth->Value());
}

void TEditCardLayout::applyCardHeight()
{
    if (eCardHeight->Value() > eVertPitch->Value())
        eVertPitch->SetValue(eCardHeight->Value());
}

void TEditCardLayout::applyPredefinedLayout()
{
    if (firstActivation_)
        return;
    const int index = PredefinedLayouts->currentIndex();
    if (index >= 0 && index < static_cast<int>(stocks_.size()))
        Values = ApplyStock(Values, stocks_[static_cast<std::size_t>(index)]);
    FillEditsFromValues();
    showStockInfo();
}

void TEditCardLayout::applyAndClose()
{
    // An edit that still has the focus runs its exit rule before anything is read.
    QWidget* focused = focusWidget();
    if (focused == eCardwidth)
        applyCardWidth();
    else if (focused == eCardHeight)
        applyCardHeight();
    enbrdown->setFocus();
    QCoreApplication::processEvents();
    readEdits();
    if (ValidCard())
        done(mrOk);
}

void TEditCardLayout::readEdits()
{
    Values.Down = enbrdown->value();
    Values.Across = enbracross->value();
    Values.PredefLayout = PredefinedLayouts->currentIndex();
    std::array<double, 6> v = editValues();
    if (!Inchesbutton->isChecked())
        for (double& x : v)
            x = RoundToThousandths(MillimetresToInches(x));
    setWorkingInches(v);
    if (epapersize->currentIndex() == 0)
        Values.Papersize = kPaperLetter;
    else if (epapersize->currentIndex() == 1)
        Values.Papersize = kPaperA4;
}

bool TEditCardLayout::ValidCard()
{
    const QString message = ValidCardMessage(Values);
    if (message.isEmpty())
        return true;
    Inform(message);
    return false;
}

void TEditCardLayout::cancelAndClose() { done(mrCancel); }

void TEditCardLayout::showHelp() { emit HelpRequested(kHelpContext); }

// ---- card stocks

void TEditCardLayout::fillStockList(int select)
{
    stocks_ = AllCardStocks(&userStocksProblem_);
    const QSignalBlocker block(PredefinedLayouts);
    PredefinedLayouts->clear();
    QStringList choices;
    for (const TCardStock& s : stocks_) {
        PredefinedLayouts->addItem(s.User ? s.Name + " (my stock)" : s.Name);
        const QStringList codes = s.AllCodes();
        choices << (codes.isEmpty() ? s.Name : codes.join(", ") + " - " + s.Name);
    }
    if (select >= 0 && select < PredefinedLayouts->count())
        PredefinedLayouts->setCurrentIndex(select);
    // The list of codes and names pops up below the search field as one types.
    auto* completer = new QCompleter(choices, StockSearch);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), this, [this, choices](const QModelIndex& i) {
        const int index = choices.indexOf(i.data().toString());
        if (index >= 0)
            PredefinedLayouts->setCurrentIndex(index);
    });
    if (QCompleter* old = StockSearch->completer())
        old->deleteLater();
    StockSearch->setCompleter(completer);
    showStockInfo();
}

void TEditCardLayout::showStockInfo()
{
    const int index = PredefinedLayouts->currentIndex();
    DeleteStockButton->setEnabled(index >= 0 && index < static_cast<int>(stocks_.size())
        && stocks_[static_cast<std::size_t>(index)].User);
    if (index < 0 || index >= static_cast<int>(stocks_.size())) {
        StockInfo->clear();
        return;
    }
    const TCardStock& s = stocks_[static_cast<std::size_t>(index)];
    QString text;
    if (s.Custom)
        text = "A card size to start from: change the margins to suit your stock.";
    else if (!s.AllCodes().isEmpty())
        text = "Codes: " + s.AllCodes().join(", ");
    if (s.CornerRadius > 0)
        text += QString("%1Corners rounded %2 %3.").arg(text.isEmpty() ? "" : ". ").arg(s.CornerRadius)
                    .arg(s.Metric ? "mm" : "in");
    StockInfo->setText(text);
}

bool TEditCardLayout::findStock(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        showStockInfo();
        return false;
    }
    int found = -1;
    for (int i = 0; i < static_cast<int>(stocks_.size()) && found < 0; ++i)
        if (stocks_[static_cast<std::size_t>(i)].HasCode(t))
            found = i;
    for (int i = 0; i < static_cast<int>(stocks_.size()) && found < 0; ++i)
        if (stocks_[static_cast<std::size_t>(i)].Matches(t))
            found = i;
    if (found < 0) {
        StockInfo->setText("No card stock has the code or brand \"" + t + "\".");
        return false;
    }
    if (PredefinedLayouts->currentIndex() != found)
        PredefinedLayouts->setCurrentIndex(found);
    else
        showStockInfo();
    return true;
}

std::vector<TCardStock> TEditCardLayout::userStocks() const
{
    std::vector<TCardStock> own;
    for (const TCardStock& s : stocks_)
        if (s.User)
            own.push_back(s);
    return own;
}

bool TEditCardLayout::storeUserStocks(const std::vector<TCardStock>& own, const QString& select)
{
    const QString error = SaveUserStocks(own);
    if (!error.isEmpty()) {
        Inform(error);
        return false;
    }
    int index = -1;
    const std::vector<TCardStock> all = AllCardStocks();
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
        if (all[static_cast<std::size_t>(i)].User && all[static_cast<std::size_t>(i)].Name == select)
            index = i;
    fillStockList(index < 0 ? PredefinedLayouts->currentIndex() : index);
    return true;
}

void TEditCardLayout::saveStock()
{
    if (!userStocksProblem_.isEmpty()) {
        Inform(userStocksProblem_);
        return;
    }
    readEdits();
    if (!ValidCard())
        return;
    QInputDialog ask(this);
    ask.setObjectName("StockNameDialog");
    ask.setWindowTitle("Save as My Stock");
    ask.setLabelText("Name of the card stock:");
    ask.setTextValue(QString());
    if (ExecModal(ask) != mrOk)
        return;
    const QString name = ask.textValue().trimmed();
    TCardStock stock = StockFromLayout(Values, name);
    QString problem = name.isEmpty() ? QString("it has no name") : CardStockProblem(stock);
    std::vector<TCardStock> own = userStocks();
    if (problem.isEmpty()) {
        QString error;
        own = MergeUserStocks(own, { stock }, stocks_, &error);
        problem = error;
    }
    if (!problem.isEmpty()) {
        Inform("Cannot save the stock: " + problem);
        return;
    }
    storeUserStocks(own, name);
}

void TEditCardLayout::deleteStock()
{
    const int index = PredefinedLayouts->currentIndex();
    if (!userStocksProblem_.isEmpty() || index < 0 || index >= static_cast<int>(stocks_.size())
        || !stocks_[static_cast<std::size_t>(index)].User)
        return;
    const QString name = stocks_[static_cast<std::size_t>(index)].Name;
    if (!Ask("Delete your card stock \"" + name + "\"?", "CONFIRM"))
        return;
    std::vector<TCardStock> own;
    for (const TCardStock& s : userStocks())
        if (s.Name != name)
            own.push_back(s);
    storeUserStocks(own, QString());
}

void TEditCardLayout::exportStocks()
{
    const std::vector<TCardStock> own = userStocks();
    if (own.empty()) {
        Inform("You have no card stocks of your own to export: save one with Save as My Stock first.");
        return;
    }
    FileDialogRequest r;
    r.save = true;
    r.title = "Export My Stocks";
    r.filter = "Card stock file (*.json)";
    r.defaultExt = "json";
    r.fileName = "card_stocks.json";
    r.overwritePrompt = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    QString error = CheckOutputFile(path, { UserStocksFileName() });
    if (error.isEmpty())
        error = WriteFileSafely(path, CardStocksFileText(own));
    if (!error.isEmpty())
        Inform(error);
}

void TEditCardLayout::importStocks()
{
    if (!userStocksProblem_.isEmpty()) {
        Inform(userStocksProblem_);
        return;
    }
    FileDialogRequest r;
    r.title = "Import Stocks";
    r.filter = "Card stock file (*.json);;All files (*)";
    r.mustExist = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    QString error;
    const std::vector<TCardStock> imported = ReadStockFile(path, &error);
    if (error.isEmpty() && imported.empty())
        error = "Cannot read card stocks from " + QDir::toNativeSeparators(path) + ": it lists no stocks";
    std::vector<TCardStock> own;
    if (error.isEmpty())
        own = MergeUserStocks(userStocks(), imported, stocks_, &error);
    if (!error.isEmpty()) {
        Inform(error);
        return;
    }
    if (storeUserStocks(own, imported.front().Name))
        Inform(QString("%1 card stock%2 imported.").arg(imported.size()).arg(imported.size() == 1 ? "" : "s"));
}

} // namespace cardora
