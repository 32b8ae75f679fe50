#include "objects/qrcode/qr_code_dialog.h"
#include "core/fields.h"
#include "core/modal.h"
#include "objects/object_preview.h"
#include "objects/qrcode/qr_code.h"
#include "objects/text_label_dialogs.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cardora {

namespace {
constexpr int kPreviewSide = 220;
}

TQRCodeProperties::TQRCodeProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TQRCodeProperties"));
    setWindowTitle(QStringLiteral("QR Code Properties"));

    preview_ = new TQRCode(this);
    preview_->setObjectName(QStringLiteral("Preview"));
    preview_->SetBounds(0, 0, kPreviewSide, kPreviewSide);

    auto* layout = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    layout->addLayout(body, 1);
    previewArea_ = new TObjectPreview;
    previewArea_->setObjectName(QStringLiteral("PreviewArea"));
    previewArea_->setFixedSize(kPreviewSide, kPreviewSide);
    previewArea_->SetObject(preview_);
    body->addWidget(previewArea_, 0, Qt::AlignTop);

    auto* side = new QGridLayout;
    body->addLayout(side, 1);
    int row = 0;
    auto* prompt = new QLabel(QStringLiteral("&Content"), this);
    data_ = new QPlainTextEdit(this);
    data_->setObjectName(QStringLiteral("DataText"));
    data_->setTabChangesFocus(true);
    data_->setWhatsThis(QStringLiteral("What the code holds: ${vCard} is your contact (on merged cards, each "
                                       "person's own); any other text, such as a web address, is encoded as "
                                       "typed, with ${Name} fields filled in."));
    prompt->setBuddy(data_);
    side->addWidget(prompt, row++, 0, 1, 2);
    side->addWidget(data_, row++, 0, 1, 2);

    fields_ = new QComboBox(this);
    fields_->setObjectName(QStringLiteral("InsertField"));
    fields_->addItem(QStringLiteral("Insert a field…"));
    fields_->addItem(QStringLiteral("${vCard}"));
    for (const QString& name : PersonalFieldNames() + QStringList { QStringLiteral("URL") })
        fields_->addItem("${" + name + "}");
    fields_->setWhatsThis(QStringLiteral("Puts the chosen field into the content where the cursor is."));
    side->addWidget(fields_, row++, 0, 1, 2);

    side->addWidget(new QLabel(QStringLiteral("Error correction"), this), row, 0);
    level_ = new QComboBox(this);
    level_->setObjectName(QStringLiteral("ErrorLevel"));
    level_->addItems({ QStringLiteral("L: 7 % may be lost"), QStringLiteral("M: 15 % may be lost"),
        QStringLiteral("Q: 25 % may be lost"), QStringLiteral("H: 30 % may be lost") });
    level_->setWhatsThis(QStringLiteral("How much of the code may be dirty or covered and still scan. Higher "
                                        "levels make the code denser."));
    side->addWidget(level_, row++, 1);

    meCard_ = new QCheckBox(QStringLiteral("Shorter contact (MeCard)"), this);
    meCard_->setObjectName(QStringLiteral("MeCard"));
    meCard_->setWhatsThis(QStringLiteral("Writes ${vCard} as a MeCard: fewer dots, so the code can be smaller; "
                                         "it leaves out the fax number."));
    side->addWidget(meCard_, row++, 0, 1, 2);

    side->addWidget(new QLabel(QStringLiteral("Foreground"), this), row, 0);
    foreColor_ = new TColorCombo(this);
    foreColor_->setObjectName(QStringLiteral("ForeColor"));
    foreColor_->setWhatsThis(QStringLiteral("The colour of the dots; dark on light scans best."));
    side->addWidget(foreColor_, row++, 1);
    side->addWidget(new QLabel(QStringLiteral("Background"), this), row, 0);
    backColor_ = new TColorCombo(this);
    backColor_->setObjectName(QStringLiteral("BackColor"));
    backColor_->setWhatsThis(QStringLiteral("The colour behind the dots and of the margin around them."));
    side->addWidget(backColor_, row++, 1);
    transparent_ = new QCheckBox(QStringLiteral("Transparent"), this);
    transparent_->setObjectName(QStringLiteral("Transparent"));
    transparent_->setWhatsThis(QStringLiteral("Lets the card show between the dots instead of the background."));
    side->addWidget(transparent_, row++, 0, 1, 2);

    warnings_ = new QLabel(this);
    warnings_->setObjectName(QStringLiteral("Warnings"));
    warnings_->setWordWrap(true);
    warnings_->setStyleSheet(QStringLiteral("color: #b00000"));
    warnings_->setWhatsThis(QStringLiteral("Why the printed code might not scan."));
    side->addWidget(warnings_, row++, 0, 1, 2);
    side->setRowStretch(row, 1);
    data_->setMinimumWidth(280);

    AddDialogButtons(*this, *layout, kHelpTopic);
    auto* ok = findChild<QPushButton*>(QStringLiteral("OkButton"));
    disconnect(ok, &QPushButton::clicked, this, nullptr);
    connect(ok, &QPushButton::clicked, this, &TQRCodeProperties::applyAndClose);

    connect(data_, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_)
            preview_->SetData(data_->toPlainText());
        refresh();
    });
    connect(fields_, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            data_->insertPlainText(fields_->itemText(index));
        fields_->setCurrentIndex(0);
        data_->setFocus();
    });
    connect(level_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_)
            preview_->SetErrorLevel(static_cast<ErrorCorrection>(index));
        refresh();
    });
    connect(meCard_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            preview_->SetMeCard(on);
        refresh();
    });
    connect(foreColor_, &TColorCombo::ColorChanged, this, [this](TColor c) {
        if (!loading_)
            preview_->SetForeColor(c);
    });
    connect(backColor_, &TColorCombo::ColorChanged, this, [this](TColor c) {
        if (!loading_) {
            preview_->SetBackColor(c);
            transparent_->setChecked(false);
        }
    });
    connect(transparent_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            preview_->SetTransparent(on);
    });
}

void TQRCodeProperties::SetBoxInches(double width, double height)
{
    boxWidth_ = width;
    boxHeight_ = height;
    refresh();
}

void TQRCodeProperties::LoadFromPreview()
{
    loading_ = true;
    data_->setPlainText(preview_->Data());
    level_->setCurrentIndex(int(preview_->ErrorLevel()));
    meCard_->setChecked(preview_->MeCard());
    foreColor_->SetColor(preview_->ForeColor());
    backColor_->SetColor(preview_->BackColor());
    transparent_->setChecked(preview_->Transparent());
    loading_ = false;
    refresh();
}

void TQRCodeProperties::refresh()
{
    if (loading_ || !warnings_)
        return;
    const QStringList w = CheckQrSize(boxWidth_, boxHeight_, preview_->Matrix().size).Warnings();
    warnings_->setText(w.join(QChar('\n')));
}

void TQRCodeProperties::applyAndClose()
{
    if (data_->toPlainText().trimmed().isEmpty()) {
        Inform(QStringLiteral("Please enter what the code should hold."));
        data_->setFocus();
        return;
    }
    accept();
}

} // namespace cardora
