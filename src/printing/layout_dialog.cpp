#include "printing/layout_dialog.h"
#include "core/modal.h"
#include "printing/number_edit.h"
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

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
    for (const TPredefinedLayout& e : PredefinedLayoutTable())
        PredefinedLayouts->addItem(QString::fromLatin1(e.Name));
    PredefinedLayouts->setMaxVisibleItems(13);
    PredefinedLayouts->setWhatsThis("Choose a card stock to fill in all its sizes and its paper at once.");
    predefRow->addWidget(PredefinedLayouts, 1);
    top->addLayout(predefRow);

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

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Cancelbutton");
    auto* help = new QPushButton("&Help", this);
    help->setObjectName("HelpButton");
    auto* whatsThis = new QToolButton(this);
    whatsThis->setObjectName("MouseHelpButton");
    whatsThis->setText("?");
    whatsThis->setToolTip("What's this?");
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(whatsThis);
    top->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(cancel, &QPushButton::clicked, this, [this] { CancelbuttonClick(); });
    connect(help, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    connect(whatsThis, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    connect(MMButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            MMButtonClick();
    });
    connect(Inchesbutton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            InchesbuttonClick();
    });
    connect(eCardwidth, &TNumberEdit::Exited, this, [this] { eCardwidthExit(); });
    connect(eCardHeight, &TNumberEdit::Exited, this, [this] { eCardHeightExit(); });
    connect(PredefinedLayouts, &QComboBox::currentIndexChanged, this, [this] { PredefinedLayoutsChange(); });
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
    FormActivate();
}

void TEditCardLayout::reject() { CancelbuttonClick(); }

void TEditCardLayout::FormActivate()
{
    if (!firstActivation_)
        return;
    // This selection must not load the entry's values: the flag is still set.
    PredefinedLayouts->setCurrentIndex(Values.PredefLayout);
    FillEditsFromValues();
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
        MMButtonClick();
}

void TEditCardLayout::MMButtonClick()
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

void TEditCardLayout::InchesbuttonClick()
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
void TEditCardLayout::eCardwidthExit()
{
    if (eCardwidth->Value() > eHorizPitch->Value())
        eHorizPitch->SetValue(eCardwidth->Value());
}

void TEditCardLayout::eCardHeightExit()
{
    if (eCardHeight->Value() > eVertPitch->Value())
        eVertPitch->SetValue(eCardHeight->Value());
}

void TEditCardLayout::PredefinedLayoutsChange()
{
    if (firstActivation_)
        return;
    const int index = PredefinedLayouts->currentIndex();
    if (index >= 0 && index < static_cast<int>(PredefinedLayoutTable().size()))
        Values = ApplyPredefinedLayout(Values, index);
    FillEditsFromValues();
}

void TEditCardLayout::OkButtonClick()
{
    // An edit that still has the focus runs its exit rule before anything is read.
    QWidget* focused = focusWidget();
    if (focused == eCardwidth)
        eCardwidthExit();
    else if (focused == eCardHeight)
        eCardHeightExit();
    enbrdown->setFocus();
    QCoreApplication::processEvents();

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
    if (ValidCard())
        done(mrOk);
}

bool TEditCardLayout::ValidCard()
{
    const QString message = ValidCardMessage(Values);
    if (message.isEmpty())
        return true;
    Inform(message);
    return false;
}

void TEditCardLayout::CancelbuttonClick() { done(mrCancel); }

void TEditCardLayout::HelpButtonClick() { emit HelpRequested(kHelpContext); }

} // namespace cardora
