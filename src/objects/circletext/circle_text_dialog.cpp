#include "objects/circletext/circle_text_dialog.h"
#include "core/modal.h"
#include "objects/box_menu.h"
#include "core/rounding.h"
#include "core/spin_buttons.h"
#include "objects/circletext/circle_text.h"
#include "objects/object_preview.h"
#include "objects/text_label_dialogs.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

namespace {

QSlider* QuarterBar(QWidget* parent, const QString& name)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(1, 4);
    bar->setPageStep(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(1);
    return bar;
}

QString DegreesText(int position) { return QString::number(position * 90) + QStringLiteral(" degrees"); }

} // namespace

TCircleTextProperties::TCircleTextProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TCircleTextProperties"));
    setWindowTitle(QStringLiteral("CircleText Properties"));
    resize(582, 423);

    preview_ = new TQPCircleText(this);
    preview_->setObjectName(QStringLiteral("Preview"));
    preview_->SetBounds(0, 0, 100, 100);

    auto* layout = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    layout->addLayout(body, 1);

    // The preview, in a white scroll box that follows its size.
    panel1_ = new QScrollArea(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setBackgroundRole(QPalette::Base);
    QPalette white = panel1_->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    panel1_->setPalette(white);
    previewArea_ = new TObjectPreview;
    panel1_->setWidget(previewArea_);
    panel1_->setWidgetResizable(false);
    panel1_->setMinimumSize(300, 300);
    previewArea_->SetObject(preview_);
    body->addWidget(panel1_, 1);

    auto* side = new QGridLayout;
    body->addLayout(side);
    int row = 0;
    auto* textPrompt = new QLabel(QStringLiteral("Text"), this);
    captionText_ = new QLineEdit(this);
    captionText_->setObjectName(QStringLiteral("CaptionText"));
    textPrompt->setBuddy(captionText_);
    side->addWidget(textPrompt, row++, 0, 1, 3);
    side->addWidget(captionText_, row++, 0, 1, 3);

    side->addWidget(new QLabel(QStringLiteral("Degrees"), this), row, 0);
    degreesLabel_ = new QLabel(this);
    degreesLabel_->setObjectName(QStringLiteral("DegreesLabel"));
    side->addWidget(degreesLabel_, row++, 1, 1, 2);
    degreesBar_ = QuarterBar(this, QStringLiteral("DegreesBar"));
    side->addWidget(degreesBar_, row++, 0, 1, 3);

    side->addWidget(new QLabel(QStringLiteral("Starting Angle"), this), row, 0);
    startingAngleLabel_ = new QLabel(this);
    startingAngleLabel_->setObjectName(QStringLiteral("StartingAngleLabel"));
    side->addWidget(startingAngleLabel_, row++, 1, 1, 2);
    startingAngleBar_ = QuarterBar(this, QStringLiteral("StartingAngleBar"));
    side->addWidget(startingAngleBar_, row++, 0, 1, 3);

    angled_ = new QCheckBox(QStringLiteral("Angled Characters"), this);
    angled_->setObjectName(QStringLiteral("cbDrawLettersAngled"));
    side->addWidget(angled_, row++, 0, 1, 3);
    mirrored_ = new QCheckBox(QStringLiteral("Mirrored"), this);
    mirrored_->setObjectName(QStringLiteral("cbMirrored"));
    side->addWidget(mirrored_, row++, 0, 1, 3);

    side->addWidget(new QLabel(QStringLiteral("Font Color"), this), row, 0);
    fontColor_ = new TColorCombo(this);
    fontColor_->setObjectName(QStringLiteral("FontColorButton"));
    side->addWidget(fontColor_, row++, 1, 1, 2);

    auto* fontButton = new QPushButton(QStringLiteral("Select Font"), this);
    fontButton->setObjectName(QStringLiteral("FontButton"));
    fontButton->setAutoDefault(false);
    side->addWidget(fontButton, row, 0, 1, 2);
    fontSize_ = new TSpinButtonPair(this);
    fontSize_->setObjectName(QStringLiteral("RapidChangeFontSize"));
    fontSize_->setToolTip(QStringLiteral("Font size up or down by 5 points"));
    side->addWidget(fontSize_, row++, 2);

    auto* zoomRow = new QHBoxLayout;
    auto* plus = new QPushButton(QStringLiteral("+"), this);
    plus->setObjectName(QStringLiteral("ZoomPlusButton"));
    plus->setAutoDefault(false);
    auto* minus = new QPushButton(QStringLiteral("-"), this);
    minus->setObjectName(QStringLiteral("ZoomMinusButton"));
    minus->setAutoDefault(false);
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("ZoomLabel"));
    zoomRow->addWidget(new QLabel(QStringLiteral("Zoom"), this));
    zoomRow->addWidget(minus);
    zoomRow->addWidget(zoomLabel_);
    zoomRow->addWidget(plus);
    side->addLayout(zoomRow, row++, 0, 1, 3);
    side->setRowStretch(row, 1);

    AddDialogButtons(*this, *layout, kHelpTopic);
    // Ok checks the text first.
    auto* ok = findChild<QPushButton*>(QStringLiteral("OkButton"));
    disconnect(ok, &QPushButton::clicked, this, nullptr);
    connect(ok, &QPushButton::clicked, this, &TCircleTextProperties::applyAndClose);

    connect(captionText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!loading_)
            preview_->SetCaption(text);
    });
    connect(degreesBar_, &QSlider::valueChanged, this, [this](int position) {
        degreesLabel_->setText(DegreesText(position));
        if (!loading_)
            preview_->SetDegrees(static_cast<ArcDegrees>(position - 1));
    });
    connect(startingAngleBar_, &QSlider::valueChanged, this, [this](int position) {
        startingAngleLabel_->setText(DegreesText(position));
        if (!loading_)
            preview_->SetStartingVector(static_cast<ArcDegrees>(position - 1));
    });
    connect(angled_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            preview_->SetDrawLettersAngled(on);
    });
    connect(mirrored_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            preview_->SetMirror(on);
    });
    connect(fontColor_, &TColorCombo::ColorChanged, this, [this](TColor c) {
        if (!loading_)
            preview_->Font()->SetColor(c);
    });
    connect(fontButton, &QPushButton::clicked, this, &TCircleTextProperties::chooseFont);
    connect(fontSize_->UpButton(), &QToolButton::clicked, this, &TCircleTextProperties::growFont);
    connect(fontSize_->DownButton(), &QToolButton::clicked, this, &TCircleTextProperties::shrinkFont);
    connect(plus, &QPushButton::clicked, this, &TCircleTextProperties::zoomIn);
    connect(minus, &QPushButton::clicked, this, &TCircleTextProperties::zoomOut);
    LoadFromPreview();
}

TCircleTextProperties::~TCircleTextProperties()
{
    // The preview area outlives nothing it points to.
    previewArea_->SetObject(nullptr);
}

void TCircleTextProperties::LoadFromPreview()
{
    loading_ = true;
    degreesBar_->setValue(int(preview_->Degrees()) + 1);
    startingAngleBar_->setValue(int(preview_->StartingVector()) + 1);
    degreesLabel_->setText(DegreesText(degreesBar_->value()));
    startingAngleLabel_->setText(DegreesText(startingAngleBar_->value()));
    angled_->setChecked(preview_->DrawLettersAngled());
    mirrored_->setChecked(preview_->Mirror());
    fontColor_->SetColor(preview_->Font()->Color());
    captionText_->setText(preview_->Caption());
    loading_ = false;
    showZoom();
}

void TCircleTextProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LoadFromPreview();
    captionText_->setFocus();
}

void TCircleTextProperties::applyAndClose()
{
    if (TextEntered(*captionText_))
        done(mrOk);
}

void TCircleTextProperties::chooseFont()
{
    if (const std::optional<QFont> f = ChooseFont(preview_->Font()->ToPointFont()))
        preview_->Font()->AssignQFont(*f);
}

void TCircleTextProperties::growFont()
{
    const int size = preview_->Font()->Size();
    if (size < 150)
        preview_->Font()->SetSize(size + 5);
}

void TCircleTextProperties::shrinkFont()
{
    const int size = preview_->Font()->Size();
    if (size > 10)
        preview_->Font()->SetSize(size - 5);
}

// Whole tenths, so that steps up and down meet again at 100%.
void TCircleTextProperties::zoomIn()
{
    if (previewArea_->Zoom() < 1.0f)
        previewArea_->SetZoom(Round((previewArea_->Zoom() + 0.1) * 10.0) / 10.0f);
    showZoom();
}

void TCircleTextProperties::zoomOut()
{
    if (previewArea_->Zoom() > 0.5f)
        previewArea_->SetZoom(Round((previewArea_->Zoom() - 0.1) * 10.0) / 10.0f);
    showZoom();
}

void TCircleTextProperties::showZoom()
{
    zoomLabel_->setText(QString::number(Round(previewArea_->Zoom() * 100.0)) + QStringLiteral("%"));
}

void TCircleTextProperties::reject() { done(mrCancel); }

} // namespace cardora
