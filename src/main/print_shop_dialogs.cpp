#include "main/print_shop_dialogs.h"
#include "core/dialog_buttons.h"
#include "main/help_window.h"
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cardora {

namespace {
// Millimetres to three places: 1/8 in is exactly 3.175 mm.
QDoubleSpinBox* millimetres(QWidget* parent, const QString& name, double max)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(3);
    box->setRange(0.0, max);
    box->setSingleStep(0.5);
    box->setSuffix(" mm");
    return box;
}

// Both windows explain themselves on the one print-shop help page.
DialogButtonsLook shopButtons(const QString& okText)
{
    DialogButtonsLook look;
    look.ok = { okText, QStringLiteral("OKButton") };
    look.openHelp = [] { ShowHelpTopic(TPrintShopSettingsDialog::kHelpTopic); };
    return look;
}
} // namespace

TPrintShopSettingsDialog::TPrintShopSettingsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("PrintShopSettings");
    setWindowTitle("Print Shop Settings");
    auto* form = new QFormLayout;
    bleed_ = millimetres(this, "BleedEdit", kMaxBleedInches * kMillimetresPerInch);
    auto* presets = new QHBoxLayout;
    presets->addWidget(bleed_);
    struct Preset {
        const char* name;
        const char* caption;
        double inches;
    };
    for (const Preset p : { Preset { "NoBleedButton", "None", 0.0 }, Preset { "EighthInchButton", "1/8 in", kEighthInch },
             Preset { "ThreeMmButton", "3 mm", kThreeMillimetres } }) {
        auto* b = new QPushButton(p.caption, this);
        b->setObjectName(p.name);
        b->setAutoDefault(false);
        const double inches = p.inches;
        connect(b, &QPushButton::clicked, this, [this, inches] { bleed_->setValue(inches * kMillimetresPerInch); });
        presets->addWidget(b);
    }
    auto* bleedLabel = new QLabel("&Bleed around the card:", this);
    bleedLabel->setBuddy(bleed_);
    form->addRow(bleedLabel, presets);
    safe_ = millimetres(this, "SafeEdit", 12.7);
    form->addRow("&Safe area inside the trim:", safe_);
    guides_ = new QCheckBox("Show the trim, bleed and safe-area &guides on the card", this);
    guides_->setObjectName("GuidesCheck");
    form->addRow(guides_);
    auto* note = new QLabel("Objects that cross the card's edge print into the bleed of a print-shop PDF; "
                            "sheets on your own printer are cut at the card's edge as before.",
        this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    TDialogButtons(*this, shopButtons(QStringLiteral("OK"))).AddRow(*layout);
}

void TPrintShopSettingsDialog::SetSettings(const TPrintShopPrefs& p)
{
    bleed_->setValue(p.BleedInches * kMillimetresPerInch);
    safe_->setValue(p.SafeInches * kMillimetresPerInch);
    guides_->setChecked(p.ShowGuides);
}

TPrintShopPrefs TPrintShopSettingsDialog::Settings() const
{
    TPrintShopPrefs p;
    p.BleedInches = bleed_->value() / kMillimetresPerInch;
    p.SafeInches = safe_->value() / kMillimetresPerInch;
    p.ShowGuides = guides_->isChecked();
    return p;
}

TShopExportDialog::TShopExportDialog(const std::vector<TPreflightWarning>& warnings, double bleedInches, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("ShopExport");
    setWindowTitle("Export for Print Shop");
    auto* layout = new QVBoxLayout(this);
    const QString bleed = bleedInches > 0 ? "with a bleed of " + LengthText(bleedInches)
                                          : QString("without a bleed (set one in Edit › Print Shop Settings)");
    auto* intro = new QLabel("One card a page, " + bleed + ", with trim and bleed boxes for the print shop.", this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* heading = new QLabel(warnings.empty() ? QString("Pre-flight check: no problems found.")
                                                : QString("Pre-flight check found %1 problem%2:")
                                                      .arg(warnings.size())
                                                      .arg(warnings.size() == 1 ? "" : "s"),
        this);
    heading->setObjectName("PreflightHeading");
    layout->addWidget(heading);
    list_ = new QListWidget(this);
    list_->setObjectName("WarningList");
    for (const TPreflightWarning& w : warnings) {
        auto* item = new QListWidgetItem(w.Object + ": " + w.Message, list_);
        item->setToolTip(w.Code);
    }
    list_->setVisible(!warnings.empty());
    // Whole messages, wrapped, rather than a sideways scroll.
    list_->setWordWrap(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setMinimumSize(560, 200);
    layout->addWidget(list_);
    cropMarks_ = new QCheckBox("Add &crop marks outside the bleed", this);
    cropMarks_->setObjectName("CropMarksCheck");
    layout->addWidget(cropMarks_);
    TDialogButtons(*this, shopButtons(warnings.empty() ? "&Export..." : "&Export Anyway...")).AddRow(*layout);
}

bool TShopExportDialog::CropMarks() const { return cropMarks_->isChecked(); }
void TShopExportDialog::SetCropMarks(bool on) { cropMarks_->setChecked(on); }

} // namespace cardora
