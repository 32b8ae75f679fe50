#include "objects/supertext/super_text_dialog.h"
#include "core/modal.h"
#include "objects/box_menu.h"
#include "core/spin_buttons.h"
#include "core/symbol_fonts.h"
#include "objects/color_button.h"
#include "objects/object_preview.h"
#include "objects/supertext/super_text.h"
#include "objects/symbol_label.h"
#include "objects/text_label_dialogs.h"
#include "objects/texture_browser.h"
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

namespace {

QComboBox* List(QWidget* parent, const QString& name, const QStringList& entries)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(entries);
    return combo;
}

QSpinBox* Spinner(QWidget* parent, const QString& name)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, 10);
    return spin;
}

TColorButton* ColorButton(QWidget* parent, const QString& caption, const QString& name)
{
    auto* b = new TColorButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QPushButton* Button(QWidget* parent, const QString& caption, const QString& name)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TSuperTextProperties::TSuperTextProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSuperTextProperties"));
    setWindowTitle(QStringLiteral("SuperText Properties"));

    preview_ = new TQSuperText(this);
    preview_->setObjectName(QStringLiteral("Preview"));
    preview_->SetBounds(0, 0, 100, 100);

    auto* layout = new QVBoxLayout(this);

    // The text row.
    auto* textRow = new QHBoxLayout;
    auto* textPrompt = new QLabel(QStringLiteral("Text"), this);
    captionText_ = new QLineEdit(this);
    captionText_->setObjectName(QStringLiteral("CaptionText"));
    textPrompt->setBuddy(captionText_);
    auto* fontButton = Button(this, QStringLiteral("Select Font"), QStringLiteral("FontButton"));
    fontSize_ = new TSpinButtonPair(this);
    fontSize_->setObjectName(QStringLiteral("RapidChangeFontSize"));
    fontSize_->setToolTip(QStringLiteral("Font size up or down by 5 points"));
    auto* symbolButton = Button(this, QStringLiteral("Select Symbol"), QStringLiteral("SymbolButton"));
    textRow->addWidget(textPrompt);
    textRow->addWidget(captionText_, 1);
    textRow->addWidget(fontButton);
    textRow->addWidget(fontSize_);
    textRow->addWidget(symbolButton);
    layout->addLayout(textRow);

    // The preview, in a white scroll box that follows its size.
    panel1_ = new QScrollArea(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    QPalette white = panel1_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    panel1_->setPalette(white);
    panel1_->setBackgroundRole(QPalette::Base);
    previewArea_ = new TObjectPreview;
    panel1_->setWidget(previewArea_);
    panel1_->setMinimumSize(560, 170);
    previewArea_->SetObject(preview_);
    layout->addWidget(panel1_, 1);

    auto* settings = new QHBoxLayout;
    layout->addLayout(settings);

    // Fill: the surface type and the panel that goes with it.
    auto* fillBox = new QGroupBox(QStringLiteral("Fill"), this);
    auto* fillLayout = new QVBoxLayout(fillBox);
    surfaceType_ = List(fillBox, QStringLiteral("SurfaceTypeCombo"),
        { QStringLiteral("Normal"), QStringLiteral("Transparent"), QStringLiteral("Texture"),
            QStringLiteral("Gradient Fill") });
    fillLayout->addWidget(surfaceType_);
    fillPanel_ = new QWidget(fillBox);
    fillPanel_->setObjectName(QStringLiteral("FillPanel"));
    auto* gradientForm = new QFormLayout(fillPanel_);
    gradientForm->setContentsMargins(0, 0, 0, 0);
    fillDirection_ = List(fillPanel_, QStringLiteral("FillDirectionCombo"),
        { QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("Left"), QStringLiteral("Right") });
    gradientFrom_ = ColorButton(fillPanel_, QStringLiteral("From"), QStringLiteral("GradientFromcolorButton"));
    gradientTo_ = ColorButton(fillPanel_, QStringLiteral("To"), QStringLiteral("GradientToColorButton"));
    gradientForm->addRow(QStringLiteral("Direction"), fillDirection_);
    gradientForm->addRow(gradientFrom_);
    gradientForm->addRow(gradientTo_);
    imagePanel_ = new QWidget(fillBox);
    imagePanel_->setObjectName(QStringLiteral("ImagePanel"));
    auto* imageLayout = new QVBoxLayout(imagePanel_);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    auto* loadTexture = Button(imagePanel_, QStringLiteral("Load Texture"), QStringLiteral("LoadTextureButton"));
    imageLayout->addWidget(loadTexture);
    imageLayout->addStretch(1);
    fontColorPanel_ = new QWidget(fillBox);
    fontColorPanel_->setObjectName(QStringLiteral("FontcolorPanel"));
    auto* fontColorLayout = new QVBoxLayout(fontColorPanel_);
    fontColorLayout->setContentsMargins(0, 0, 0, 0);
    fontColor_ = ColorButton(fontColorPanel_, QStringLiteral("Font Color"), QStringLiteral("FontColorButton"));
    fontColorLayout->addWidget(fontColor_);
    fontColorLayout->addStretch(1);
    // The three panels share one place; only the surface's own one shows,
    // and the place keeps its size so nothing else moves.
    fillPanels_ = new QStackedWidget(fillBox);
    fillPanels_->addWidget(fillPanel_);
    fillPanels_->addWidget(imagePanel_);
    fillPanels_->addWidget(fontColorPanel_);
    fillPanels_->addWidget(new QWidget(fillPanels_));
    fillLayout->addWidget(fillPanels_);
    fillLayout->addStretch(1);
    settings->addWidget(fillBox, 1);

    auto* outlineBox = new QGroupBox(QStringLiteral("Outline"), this);
    auto* outlineForm = new QFormLayout(outlineBox);
    outlineColor_ = ColorButton(outlineBox, QStringLiteral("Color"), QStringLiteral("OutlineColorButton"));
    outlineStyle_ = List(outlineBox, QStringLiteral("OutlineStyleCombo"),
        { QStringLiteral("Solid Line"), QStringLiteral("Dash Line"), QStringLiteral("Dotted Line"),
            QStringLiteral("DashDot Line"), QStringLiteral("DashDotDot Line"), QStringLiteral("Clear") });
    outlineWidth_ = Spinner(outlineBox, QStringLiteral("OutLineWidthSpinner"));
    outlineForm->addRow(outlineColor_);
    outlineForm->addRow(QStringLiteral("Style"), outlineStyle_);
    outlineForm->addRow(QStringLiteral("Width"), outlineWidth_);
    settings->addWidget(outlineBox, 1);

    auto* shadowBox = new QGroupBox(QStringLiteral("Shadow"), this);
    auto* shadowForm = new QFormLayout(shadowBox);
    shadowColor_ = ColorButton(shadowBox, QStringLiteral("Color"), QStringLiteral("ShadowColorButton"));
    shadowOrientation_ = List(shadowBox, QStringLiteral("ShadowOrientationCombo"),
        { QStringLiteral("None"), QStringLiteral("Right"), QStringLiteral("Left"), QStringLiteral("Down and Right"),
            QStringLiteral("Down and Left"), QStringLiteral("Down") });
    shadowDepth_ = Spinner(shadowBox, QStringLiteral("ShadowDepthSpinner"));
    shadowForm->addRow(shadowColor_);
    shadowForm->addRow(QStringLiteral("Direction"), shadowOrientation_);
    shadowForm->addRow(QStringLiteral("Depth"), shadowDepth_);
    settings->addWidget(shadowBox, 1);

    AddDialogButtons(*this, *layout, kHelpTopic);
    // Ok checks the text first.
    auto* ok = findChild<QPushButton*>(QStringLiteral("OkButton"));
    disconnect(ok, &QPushButton::clicked, this, nullptr);
    connect(ok, &QPushButton::clicked, this, &TSuperTextProperties::applyAndClose);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kRefitMilliseconds);
    connect(timer1_, &QTimer::timeout, this, &TSuperTextProperties::Timer1Timer);
    timer1_->start();

    connect(captionText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (loading_)
            return;
        preview_->SetCaption(text);
        refitPending_ = true;
    });
    connect(surfaceType_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (loading_ || index < 0)
            return;
        const auto surface = static_cast<TQSuperText::Surface>(index);
        preview_->SetSurfaceType(surface);
        if (surface == TQSuperText::Surface::Image)
            preview_->SetImage(&lastUsedImage_);
        fit();
        showFillPanel();
    });
    connect(fillDirection_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && index >= 0)
            preview_->SetFillDirection(static_cast<FillDirection>(index));
    });
    connect(outlineStyle_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && index >= 0)
            preview_->SetOutlineStyle(static_cast<PenStyle>(index));
    });
    connect(shadowOrientation_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && index >= 0) {
            preview_->SetShadowOrientation(static_cast<ShadowDirection>(index));
            fit();
        }
    });
    connect(outlineWidth_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!loading_)
            preview_->SetOutlineWidth(v);
    });
    connect(shadowDepth_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!loading_) {
            preview_->SetShadowDepth(v);
            fit();
        }
    });
    auto colour = [this](TColorButton* button, void (TQSuperText::*set)(TColor)) {
        connect(button, &TColorButton::ColorChanged, this, [this, set](TColor c) {
            if (!loading_)
                (preview_->*set)(c);
        });
    };
    colour(gradientFrom_, &TQSuperText::SetGradientFromColor);
    colour(gradientTo_, &TQSuperText::SetGradientToColor);
    colour(outlineColor_, &TQSuperText::SetOutlineColor);
    colour(shadowColor_, &TQSuperText::SetShadowcolor);
    connect(fontColor_, &TColorButton::ColorChanged, this, [this](TColor c) {
        if (!loading_)
            preview_->Font()->SetColor(c);
    });
    connect(fontButton, &QPushButton::clicked, this, &TSuperTextProperties::chooseFont);
    connect(symbolButton, &QPushButton::clicked, this, &TSuperTextProperties::chooseSymbol);
    connect(loadTexture, &QPushButton::clicked, this, &TSuperTextProperties::loadTexture);
    connect(fontSize_->UpButton(), &QToolButton::clicked, this, &TSuperTextProperties::growFont);
    connect(fontSize_->DownButton(), &QToolButton::clicked, this, &TSuperTextProperties::shrinkFont);
    loadControls();
}

TSuperTextProperties::~TSuperTextProperties() { previewArea_->SetObject(nullptr); }

void TSuperTextProperties::Setup(const TQSuperText& object)
{
    preview_->CopyFrom(object);
    lastBitmapFile_ = object.LastBitmapFileNameandPath();
    loadControls();
}

void TSuperTextProperties::loadControls()
{
    loading_ = true;
    surfaceType_->setCurrentIndex(int(preview_->SurfaceType()));
    fillDirection_->setCurrentIndex(int(preview_->FillDirection()));
    gradientFrom_->SetColor(preview_->GradientFromColor());
    gradientTo_->SetColor(preview_->GradientToColor());
    fontColor_->SetColor(preview_->Font()->Color());
    outlineColor_->SetColor(preview_->OutlineColor());
    shadowColor_->SetColor(preview_->Shadowcolor());
    outlineStyle_->setCurrentIndex(std::min(int(preview_->OutlineStyle()), outlineStyle_->count() - 1));
    outlineWidth_->setValue(preview_->OutlineWidth());
    shadowOrientation_->setCurrentIndex(int(preview_->ShadowOrientation()));
    shadowDepth_->setValue(preview_->ShadowDepth());
    if (!preview_->Image().isNull())
        lastUsedImage_ = preview_->Image();
    captionText_->setText(preview_->Caption());
    captionFont();
    loading_ = false;
    showFillPanel();
}

void TSuperTextProperties::captionFont()
{
    // The text field shows symbol characters as the symbols they are.
    QFont f = captionText_->font();
    f.setFamily(ResolveFontFamily(preview_->Font()->Name()));
    captionText_->setFont(f);
}

void TSuperTextProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    loadControls();
    captionText_->setFocus();
}

QString TSuperTextProperties::VisibleFillPanel() const { return fillPanels_->currentWidget()->objectName(); }

void TSuperTextProperties::showFillPanel()
{
    switch (preview_->SurfaceType()) {
    case TQSuperText::Surface::Gradient: fillPanels_->setCurrentWidget(fillPanel_); break;
    case TQSuperText::Surface::Image: fillPanels_->setCurrentWidget(imagePanel_); break;
    case TQSuperText::Surface::Normal: fillPanels_->setCurrentWidget(fontColorPanel_); break;
    default: fillPanels_->setCurrentIndex(3); break;
    }
}

void TSuperTextProperties::fit()
{
    preview_->FitSample();
    preview_->Invalidate();
}

void TSuperTextProperties::Timer1Timer()
{
    if (!refitPending_)
        return;
    refitPending_ = false;
    fit();
}

void TSuperTextProperties::applyAndClose()
{
    if (TextEntered(*captionText_))
        done(mrOk);
}

void TSuperTextProperties::chooseFont()
{
    if (const std::optional<QFont> f = ChooseFont(preview_->Font()->ToPointFont())) {
        preview_->ApplyFont(FontChoice { *f, QColor() });
        fit();
        captionFont();
    }
}

void TSuperTextProperties::growFont()
{
    const int size = preview_->Font()->Size();
    if (size < 150) {
        preview_->Font()->SetSize(size + 5);
        preview_->MarkLayoutDirty();
    }
    fit();
}

void TSuperTextProperties::shrinkFont()
{
    const int size = preview_->Font()->Size();
    if (size > 10) {
        preview_->Font()->SetSize(size - 5);
        preview_->MarkLayoutDirty();
    }
    fit();
}

void TSuperTextProperties::chooseSymbol()
{
    const QStringList fonts = SymbolFontFamilies();
    if (fonts.isEmpty()) {
        Inform(QStringLiteral("No Symbol fonts installed"));
        BusyOff();
        return;
    }
    BusyOn();
    TGetSymbol picker(this);
    picker.OfferFonts(fonts);
    BusyOff();
    if (ExecModal(picker) == mrOk && picker.SelectedCode() >= 32) {
        captionText_->setText(TQSymbolLabel::CaptionForCode(picker.SelectedCode()));
        preview_->Font()->SetName(picker.GridFontName());
        preview_->MarkLayoutDirty();
        preview_->SetCaption(captionText_->text());
        fit();
        captionFont();
    }
    BusyOff();
}

void TSuperTextProperties::loadTexture()
{
    const QString saved = QDir::currentPath();
    TQBrushImageBrowser browser(this);
    TQSuperText example;
    example.CopyFrom(*preview_);
    browser.SetExample(QSize(example.Width(), example.Height()),
        [&example](QPainter& p, const QRect& area, const QImage& texture) {
            example.SetImage(&texture);
            example.PaintTo(p, area.x(), area.y());
        });
    browser.Start(lastBitmapFile_, { QStringLiteral("bmbrush"), QStringLiteral("Textures") });
    if (ExecModal(browser) == mrOk && !browser.FileName().isEmpty()) {
        lastUsedImage_ = browser.Texture();
        preview_->SetImage(&lastUsedImage_);
        lastBitmapFile_ = browser.FileName();
    }
    QDir::setCurrent(saved);
    fit();
}

void TSuperTextProperties::ApplyTo(TQSuperText& o) const
{
    const TQSuperText& p = *preview_;
    o.SetGradientFromColor(p.GradientFromColor());
    o.SetFillDirection(p.FillDirection());
    o.SetGradientToColor(p.GradientToColor());
    o.SetImage(&p.Image());
    o.SetOutlineColor(p.OutlineColor());
    o.SetOutlineStyle(p.OutlineStyle());
    o.SetOutlineWidth(p.OutlineWidth());
    o.SetShadowcolor(p.Shadowcolor());
    o.SetShadowDepth(p.ShadowDepth());
    o.SetShadowOrientation(p.ShadowOrientation());
    o.SetSurfaceType(p.SurfaceType());
    o.SetLastBitmapFileNameandPath(lastBitmapFile_);
    o.Font()->SetColor(p.Font().Color());
    o.Font()->Assign(p.Font());
    o.MarkLayoutDirty();
    o.SetCaption(captionText_->text());
    o.CalcLayout();
    o.Invalidate();
    o.NotifyChanged();
}

void TSuperTextProperties::reject() { done(mrCancel); }

} // namespace cardora
