#include "objects/supershape/super_shape_dialog.h"
#include "core/graphics_attributes.h"
#include "core/modal.h"
#include "objects/color_button.h"
#include "objects/supershape/super_shape.h"
#include "objects/text_label_dialogs.h"
#include "objects/texture_browser.h"
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace cardora {

// ---- TObjectSampleView

TObjectSampleView::TObjectSampleView(TQGraphicControl& object, QWidget* parent) : QWidget(parent), object_(object)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    Refresh();
}

void TObjectSampleView::Refresh()
{
    // The object at (10, 10) with a margin of 10 all round; the scroll box shows the rest.
    const QSize size(std::max(1, object_.Width()) + 20, std::max(1, object_.Height()) + 20);
    if (this->size() != size)
        setFixedSize(size);
    update();
}

void TObjectSampleView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    object_.PaintTo(p, 10, 10);
}

// ---- TSuperShapeProperties

namespace {

QSpinBox* spinner(QWidget* parent, const char* name, int low, int high, int step)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(low, high);
    s->setSingleStep(step);
    return s;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    return c;
}

// The outline styles the dialog offers; an inside-frame pen shows as solid.
int styleIndex(PenStyle style) { return style >= PenStyle::Solid && style <= PenStyle::Clear ? int(style) : 0; }

} // namespace

TSuperShapeProperties::TSuperShapeProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSuperShapeProperties"));
    setWindowTitle(QStringLiteral("Super Shape Properties"));
    sample_ = new TSuperShape(this);
    sample_->setObjectName(QStringLiteral("Sample"));
    sample_->SetBounds(0, 0, 96, 96);
    build();
}

TSuperShapeProperties::~TSuperShapeProperties() = default;

void TSuperShapeProperties::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("SampleBox"));
    scroll_->setBackgroundRole(QPalette::Base);
    QPalette white = scroll_->palette();
    white.setColor(QPalette::Base, Qt::white);
    scroll_->setPalette(white);
    view_ = new TObjectSampleView(*sample_);
    scroll_->setWidget(view_);
    scroll_->setMinimumSize(260, 260);
    scroll_->setWhatsThis(QStringLiteral("The shape as it will look with the choices made here."));
    columns->addWidget(scroll_, 1);

    auto* controls = new QVBoxLayout;
    columns->addLayout(controls);

    // Shape
    auto* shapeBox = new QGroupBox(QStringLiteral("Shape"), this);
    auto* shapeLayout = new QVBoxLayout(shapeBox);
    shapeList_ = list(shapeBox, "ShapeList",
        { "Rectangle", "Round Rectangle", "Ellipse                  ", "Diamond", "Star", "Triangle Left",
            "Triangle Right", "Triangle Up", "Triangle Down" });
    shapeLayout->addWidget(shapeList_);
    shapePanels_ = new QStackedWidget(shapeBox);
    shapePanels_->addWidget(new QWidget(shapePanels_));
    auto* starPanel = new QWidget(shapePanels_);
    auto* starForm = new QFormLayout(starPanel);
    starForm->setContentsMargins(0, 0, 0, 0);
    points_ = spinner(starPanel, "PointsSpinner", 5, 20, 1);
    inward_ = spinner(starPanel, "InwardSpinner", 0, 90, 5);
    starForm->addRow(QStringLiteral("Points On Star"), points_);
    starForm->addRow(QStringLiteral("% of Inward Vector"), inward_);
    shapePanels_->addWidget(starPanel);
    auto* roundPanel = new QWidget(shapePanels_);
    auto* roundForm = new QFormLayout(roundPanel);
    roundForm->setContentsMargins(0, 0, 0, 0);
    roundPerc_ = spinner(roundPanel, "RoundSpinner", 0, 90, 5);
    roundForm->addRow(QStringLiteral("Round Percentage"), roundPerc_);
    shapePanels_->addWidget(roundPanel);
    shapeLayout->addWidget(shapePanels_);
    controls->addWidget(shapeBox);

    // Surface
    auto* surfaceBox = new QGroupBox(QStringLiteral("Surface Type"), this);
    auto* surfaceLayout = new QVBoxLayout(surfaceBox);
    surfaceList_ = list(surfaceBox, "SurfaceList", { "Transparent", "Solid", "Texture", "Gradient Fill" });
    surfaceLayout->addWidget(surfaceList_);
    surfacePanels_ = new QStackedWidget(surfaceBox);
    surfacePanels_->addWidget(new QWidget(surfacePanels_));
    auto* solidPanel = new QWidget(surfacePanels_);
    auto* solidLayout = new QVBoxLayout(solidPanel);
    solidLayout->setContentsMargins(0, 0, 0, 0);
    backColor_ = new TColorButton(QStringLiteral("Background Color"), solidPanel);
    backColor_->setObjectName(QStringLiteral("BackColorButton"));
    solidLayout->addWidget(backColor_);
    solidLayout->addStretch(1);
    surfacePanels_->addWidget(solidPanel);
    auto* texturePanel = new QWidget(surfacePanels_);
    auto* textureLayout = new QVBoxLayout(texturePanel);
    textureLayout->setContentsMargins(0, 0, 0, 0);
    loadTexture_ = new QPushButton(QStringLiteral("Load Texture"), texturePanel);
    loadTexture_->setObjectName(QStringLiteral("LoadTextureButton"));
    loadTexture_->setAutoDefault(false);
    textureLayout->addWidget(loadTexture_);
    textureLayout->addStretch(1);
    surfacePanels_->addWidget(texturePanel);
    auto* gradientPanel = new QWidget(surfacePanels_);
    auto* gradientForm = new QFormLayout(gradientPanel);
    gradientForm->setContentsMargins(0, 0, 0, 0);
    fillDirection_ = list(gradientPanel, "FillDirectionList", { "Up", "Down", "Left", "Right" });
    fromColor_ = new TColorButton(QStringLiteral("From Color"), gradientPanel);
    fromColor_->setObjectName(QStringLiteral("FromColorButton"));
    toColor_ = new TColorButton(QStringLiteral("To Color"), gradientPanel);
    toColor_->setObjectName(QStringLiteral("ToColorButton"));
    gradientForm->addRow(QStringLiteral("Fill Direction"), fillDirection_);
    gradientForm->addRow(fromColor_);
    gradientForm->addRow(toColor_);
    surfacePanels_->addWidget(gradientPanel);
    surfaceLayout->addWidget(surfacePanels_);
    controls->addWidget(surfaceBox);

    // Shadow
    auto* shadowBox = new QGroupBox(QStringLiteral("Shadow"), this);
    auto* shadowForm = new QFormLayout(shadowBox);
    shadowColor_ = new TColorButton(QStringLiteral("Shadow Color"), shadowBox);
    shadowColor_->setObjectName(QStringLiteral("ShadowColorButton"));
    shadowOrient_ = list(shadowBox, "ShadowOrientList", { "None", "Lower Right", "Upper Right", "Upper Left", "Lower Left" });
    shadowDepth_ = spinner(shadowBox, "ShadowDepthSpinner", 0, 10, 1);
    shadowForm->addRow(shadowColor_);
    shadowForm->addRow(QStringLiteral("Shadow Orientation"), shadowOrient_);
    shadowForm->addRow(QStringLiteral("Shadow Depth"), shadowDepth_);
    controls->addWidget(shadowBox);

    // Outline
    auto* outlineBox = new QGroupBox(QStringLiteral("Outline"), this);
    auto* outlineForm = new QFormLayout(outlineBox);
    outlineColor_ = new TColorButton(QStringLiteral("Outline Color"), outlineBox);
    outlineColor_->setObjectName(QStringLiteral("OutlineColorButton"));
    outlineStyle_ = list(outlineBox, "OutlineStyleList",
        { "Solid Line", "Dash Line", "Dotted Line", "DashDot Line", "DashDotDot Line", "Clear" });
    outlineWidth_ = spinner(outlineBox, "OutlineWidthSpinner", 0, 10, 1);
    outlineForm->addRow(outlineColor_);
    outlineForm->addRow(QStringLiteral("OutLine Style"), outlineStyle_);
    outlineForm->addRow(QStringLiteral("Outline Width"), outlineWidth_);
    controls->addWidget(outlineBox);
    controls->addStretch(1);

    AddDialogButtons(*this, *layout, kHelpTopic);

    auto onSample = [this](auto apply) {
        return [this, apply](auto value) {
            if (updating_)
                return;
            apply(value);
            sampleChanged();
        };
    };
    connect(shapeList_, &QComboBox::activated, this, [this](int i) { shapeChosen(i); });
    connect(points_, &QSpinBox::valueChanged, this, onSample([this](int v) { sample_->SetVectors(v * 2); }));
    connect(inward_, &QSpinBox::valueChanged, this, onSample([this](int v) { sample_->SetInVectorPercent(v); }));
    connect(roundPerc_, &QSpinBox::valueChanged, this, onSample([this](int v) { sample_->SetRoundPerc(v); }));
    connect(surfaceList_, &QComboBox::activated, this, [this](int i) { surfaceChosen(i); });
    connect(backColor_, &TColorButton::ColorChanged, this, [this](TColor c) { backColorChosen(c); });
    connect(fromColor_, &TColorButton::ColorChanged, this, [this](TColor c) { backColorChosen(c); });
    connect(fillDirection_, &QComboBox::activated, this, onSample([this](int i) { sample_->SetFillDirection(static_cast<FillDirection>(i)); }));
    connect(toColor_, &TColorButton::ColorChanged, this,
        onSample([this](TColor c) { sample_->SetGradientToColor(c); }));
    connect(loadTexture_, &QPushButton::clicked, this, [this] { LoadTexture(); });
    connect(shadowColor_, &TColorButton::ColorChanged, this, onSample([this](TColor c) { sample_->SetShadowColor(c); }));
    connect(shadowOrient_, &QComboBox::activated, this, onSample([this](int i) { sample_->SetShadowOrient(static_cast<ShadowCorner>(i)); }));
    connect(shadowDepth_, &QSpinBox::valueChanged, this, onSample([this](int v) { sample_->SetShadowDepth(v); }));
    connect(outlineColor_, &TColorButton::ColorChanged, this,
        onSample([this](TColor c) { sample_->SetOutlineColor(c); }));
    connect(outlineStyle_, &QComboBox::activated, this, onSample([this](int i) { sample_->SetOutlineStyle(static_cast<PenStyle>(i)); }));
    connect(outlineWidth_, &QSpinBox::valueChanged, this, onSample([this](int v) { sample_->SetOutlineWidth(v); }));
}

void TSuperShapeProperties::Setup(const TSuperShape& shape)
{
    sample_->SetBounds(0, 0, shape.Width(), shape.Height());
    sample_->AssignProperties(shape);
    lastTexture_ = shape.Image();
    lastFile_ = shape.LastBitmapFileNameandPath();
    showControls();
    view_->Refresh();
}

void TSuperShapeProperties::showControls()
{
    updating_ = true;
    const TSuperShape& s = *sample_;
    shapeList_->setCurrentIndex(s.Shape() <= SuperShapeKind::TriangleDown ? int(s.Shape()) : -1);
    points_->setValue(s.Vectors() / 2);
    inward_->setValue(s.InVectorPercent());
    roundPerc_->setValue(s.RoundPerc());
    shapePanels_->setCurrentIndex(s.Shape() == SuperShapeKind::Star ? 1 : s.Shape() == SuperShapeKind::RoundRect ? 2 : 0);
    surfaceList_->setCurrentIndex(int(s.SurfaceType()));
    surfacePanels_->setCurrentIndex(int(s.SurfaceType()));
    backColor_->SetColor(s.BackColor());
    fromColor_->SetColor(s.BackColor());
    toColor_->SetColor(s.GradientToColor());
    fillDirection_->setCurrentIndex(int(s.FillDirection()));
    shadowColor_->SetColor(s.ShadowColor());
    shadowOrient_->setCurrentIndex(int(s.ShadowOrient()));
    shadowDepth_->setValue(s.ShadowDepth());
    outlineColor_->SetColor(s.OutlineColor());
    outlineStyle_->setCurrentIndex(styleIndex(s.OutlineStyle()));
    outlineWidth_->setValue(s.OutlineWidth());
    updating_ = false;
}

void TSuperShapeProperties::shapeChosen(int index)
{
    const auto shape = static_cast<SuperShapeKind>(index);
    sample_->SetShape(shape);
    // A star brings its own points, inward percentage and angle.
    updating_ = true;
    points_->setValue(sample_->Vectors() / 2);
    inward_->setValue(sample_->InVectorPercent());
    updating_ = false;
    shapePanels_->setCurrentIndex(shape == SuperShapeKind::Star ? 1 : shape == SuperShapeKind::RoundRect ? 2 : 0);
    sampleChanged();
}

void TSuperShapeProperties::surfaceChosen(int index)
{
    const auto surface = static_cast<ShapeSurface>(index);
    sample_->SetSurfaceType(surface);
    // Leaving the texture surface empties it; coming back restores the last one used here.
    if (surface == ShapeSurface::Image)
        sample_->SetImage(&lastTexture_);
    surfacePanels_->setCurrentIndex(index);
    sampleChanged();
}

void TSuperShapeProperties::backColorChosen(TColor c)
{
    if (updating_)
        return;
    sample_->SetBackColor(c);
    backColor_->SetColor(c);
    fromColor_->SetColor(c);
    sampleChanged();
}

void TSuperShapeProperties::sampleChanged() { view_->Refresh(); }

void TSuperShapeProperties::LoadTexture()
{
    const QString saved = QDir::currentPath();
    TQBrushImageBrowser browser(this);
    TSuperShape example;
    example.SetBounds(0, 0, 75, 75);
    example.AssignProperties(*sample_);
    browser.SetExample(QSize(75, 75), [&example](QPainter& p, const QRect& area, const QImage& texture) {
        example.SetImage(&texture);
        example.PaintTo(p, area.x(), area.y());
    });
    browser.Start(lastFile_, { QStringLiteral("bmbrush") });
    if (ExecModal(browser) == mrOk && !browser.FileName().isEmpty()) {
        lastTexture_ = browser.Texture();
        sample_->SetImage(&lastTexture_);
        lastFile_ = browser.FileName();
    }
    QDir::setCurrent(saved);
    sampleChanged();
}

void TSuperShapeProperties::ApplyTo(TSuperShape& shape) const
{
    shape.AssignProperties(*sample_);
    shape.SetLastBitmapFileNameandPath(lastFile_);
}

// ---- the object's command

bool TSuperShape::EditProperties()
{
    TSuperShapeProperties dialog(ProgramWindow());
    dialog.Setup(*this);
    if (ExecModal(dialog) != mrOk)
        return false;
    dialog.ApplyTo(*this);
    NotifyChanged();
    Invalidate();
    return true;
}

} // namespace cardora
