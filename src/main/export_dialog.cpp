#include "main/export_dialog.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "main/help_window.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

namespace {
struct FormatEntry {
    TCardExportFormat format;
    const char* caption;
};
const FormatEntry kFormats[] = {
    { TCardExportFormat::Png, "PNG picture" },
    { TCardExportFormat::Jpeg, "JPEG picture" },
    { TCardExportFormat::Bmp, "BMP picture" },
    { TCardExportFormat::Pdf, "PDF document (vector, true size)" },
    { TCardExportFormat::Svg, "SVG drawing (vector, true size)" },
};

bool isPicture(TCardExportFormat f) { return f != TCardExportFormat::Pdf && f != TCardExportFormat::Svg; }
} // namespace

TExportDialog::TExportDialog(QSizeF cardInches, QWidget* parent) : QDialog(parent), card_(cardInches)
{
    setObjectName("ExportCard");
    setWindowTitle("Export Card");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    FormatCombo = new QComboBox(this);
    FormatCombo->setObjectName("FormatCombo");
    for (const FormatEntry& e : kFormats)
        FormatCombo->addItem(e.caption, static_cast<int>(e.format));
    form->addRow("&Format:", FormatCombo);
    Resolution = new QSpinBox(this);
    Resolution->setObjectName("Resolution");
    Resolution->setRange(kMinDpi, kMaxDpi);
    Resolution->setSingleStep(50);
    Resolution->setValue(300);
    Resolution->setSuffix(" dpi");
    form->addRow("&Resolution:", Resolution);
    SizeLabel = new QLabel(this);
    SizeLabel->setObjectName("SizeLabel");
    form->addRow("Size:", SizeLabel);
    layout->addLayout(form);
    BorderCheck = new QCheckBox("Draw a &border around the card", this);
    BorderCheck->setObjectName("Border");
    layout->addWidget(BorderCheck);

    DialogButtonsLook look;
    look.openHelp = [] { ShowHelpTopic(kHelpTopic); };
    TDialogButtons(*this, std::move(look)).AddRow(*layout);

    connect(FormatCombo, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(Resolution, &QSpinBox::valueChanged, this, [this] { refresh(); });
    refresh();
}

TCardExportFormat TExportDialog::Format() const
{
    return static_cast<TCardExportFormat>(FormatCombo->currentData().toInt());
}

void TExportDialog::SetFormat(TCardExportFormat format)
{
    const int i = FormatCombo->findData(static_cast<int>(format));
    FormatCombo->setCurrentIndex(i < 0 ? 0 : i);
}

int TExportDialog::Dpi() const { return Resolution->value(); }
void TExportDialog::SetDpi(int dpi) { Resolution->setValue(dpi); }
bool TExportDialog::Border() const { return BorderCheck->isChecked(); }
void TExportDialog::SetBorder(bool border) { BorderCheck->setChecked(border); }

void TExportDialog::refresh()
{
    const bool picture = isPicture(Format());
    Resolution->setEnabled(picture);
    if (picture)
        SizeLabel->setText(QString("%1 × %2 pixels")
                               .arg(std::max(1, Round(card_.width() * Dpi())))
                               .arg(std::max(1, Round(card_.height() * Dpi()))));
    else
        SizeLabel->setText(QString("%1 × %2 inches, one page").arg(card_.width()).arg(card_.height()));
}

} // namespace cardora
