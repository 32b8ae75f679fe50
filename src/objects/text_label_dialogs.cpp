#include "objects/text_label_dialogs.h"
#include "core/app_folder.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "objects/text_label.h"
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace cardora {
namespace {

std::function<void(int)>& HelpHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

// A plain viewer for the help pages when the program has installed none.
void OpenHelpPage(int topic)
{
    static QPointer<QTextBrowser> viewer;
    QString path = HelpFolder() + QString::number(topic) + QStringLiteral(".html");
    if (!QFileInfo::exists(path))
        path = HelpFolder() + QStringLiteral("contents.html");
    if (!viewer) {
        viewer = new QTextBrowser;
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setObjectName(QStringLiteral("DialogHelpViewer"));
        viewer->setWindowTitle(QStringLiteral("Cardora Help"));
        viewer->resize(560, 480);
    }
    viewer->setSource(QUrl::fromLocalFile(path));
    viewer->show();
    viewer->raise();
}

struct NamedColor {
    const char* name;
    TColor color;
};
const NamedColor kBasicColors[] = {
    { "Black", 0x000000 }, { "Maroon", 0x000080 }, { "Green", 0x008000 }, { "Olive", 0x008080 },
    { "Navy", 0x800000 }, { "Purple", 0x800080 }, { "Teal", 0x808000 }, { "Gray", 0x808080 },
    { "Silver", 0xC0C0C0 }, { "Red", 0x0000FF }, { "Lime", 0x00FF00 }, { "Yellow", 0x00FFFF },
    { "Blue", 0xFF0000 }, { "Fuchsia", 0xFF00FF }, { "Aqua", 0xFFFF00 }, { "White", 0xFFFFFF },
};

QIcon Swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(color));
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

QComboBox* NumberedList(QWidget* parent, const QString& name, const QStringList& entries)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(entries);
    return combo;
}

QStringList DepthEntries()
{
    QStringList depths;
    for (int i = 0; i <= 10; ++i)
        depths << QString::number(i);
    return depths;
}

} // namespace

void SetDialogHelpHandler(std::function<void(int)> handler) { HelpHandler() = std::move(handler); }

void ShowDialogHelp(int topic)
{
    if (HelpHandler())
        HelpHandler()(topic);
    else
        OpenHelpPage(topic);
}

QBoxLayout* AddDialogButtons(QDialog& dialog, QVBoxLayout& layout, int helpTopic)
{
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    DialogButtonsLook look;
    look.ok = { QStringLiteral("Ok"), QStringLiteral("OkButton") };
    look.help = { QStringLiteral("Help"), QStringLiteral("HelpButton") };
    look.openHelp = [helpTopic] { ShowDialogHelp(helpTopic); };
    return TDialogButtons(dialog, std::move(look)).AddRow(layout);
}

// ---- TGetLabelText

TGetLabelText::TGetLabelText(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TGetLabelText"));
    setWindowTitle(QStringLiteral("Text"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Enter Text"), this);
    labelText_ = new QLineEdit(this);
    labelText_->setObjectName(QStringLiteral("LabelText"));
    labelText_->setMinimumWidth(320);
    labelText_->setWhatsThis(QStringLiteral("The text the label shows."));
    prompt->setBuddy(labelText_);
    layout->addWidget(prompt);
    layout->addWidget(labelText_);
    fields_ = new QVBoxLayout;
    layout->addLayout(fields_);
    AddDialogButtons(*this, *layout, kHelpTopic);
    labelText_->setFocus();
}

void TGetLabelText::reject() { done(mrCancel); }

TGetBCLabelText::TGetBCLabelText(const QStringList& personalInfo, QWidget* parent) : TGetLabelText(parent)
{
    setObjectName(QStringLiteral("TGetBCLabelText"));
    auto* prompt = new QLabel(QStringLiteral("or select personal information"), this);
    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("PersonalInfoCombo"));
    combo_->setEditable(false);
    combo_->setWhatsThis(QStringLiteral("Picking a value puts it into the text field."));
    prompt->setBuddy(combo_);
    fields_->addWidget(prompt);
    fields_->addWidget(combo_);
    combo_->clear();
    for (const QString& value : personalInfo)
        if (!value.isEmpty())
            combo_->addItem(value);
    combo_->setEnabled(combo_->count() > 0);
    // Nothing is picked until the user picks.
    combo_->setCurrentIndex(-1);
    connect(combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            LabelText()->setText(combo_->itemText(index));
    });
}

// ---- TColorCombo

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent)
{
    for (const NamedColor& c : kBasicColors)
        addItem(Swatch(c.color), QString::fromLatin1(c.name), QVariant(c.color));
    addItem(QStringLiteral("Custom..."));
    setCurrentIndex(0);
    connect(this, &QComboBox::currentIndexChanged, this, &TColorCombo::picked);
}

void TColorCombo::SetColor(TColor color)
{
    updating_ = true;
    int index = -1;
    for (int i = 0; i < customIndex(); ++i)
        if (itemData(i).isValid() && itemData(i).toInt() == color) {
            index = i;
            break;
        }
    if (index < 0) {
        // One extra entry for a colour outside the basic ones.
        const int extra = static_cast<int>(std::size(kBasicColors));
        if (customIndex() > extra)
            removeItem(extra);
        insertItem(extra, Swatch(color), QStringLiteral("Custom"), QVariant(color));
        index = extra;
    }
    setCurrentIndex(index);
    updating_ = false;
    if (color != color_) {
        color_ = color;
        emit ColorChanged(color_);
    }
}

void TColorCombo::picked(int index)
{
    if (updating_ || index < 0)
        return;
    if (index == customIndex()) {
        const std::optional<QColor> chosen = ChooseColor(ToQColor(color_));
        SetColor(chosen ? FromQColor(*chosen) : color_);
        if (!chosen) {
            // Back to the entry of the colour that stays.
            updating_ = true;
            setCurrentIndex(findData(QVariant(color_)));
            updating_ = false;
        }
        return;
    }
    const TColor c = itemData(index).toInt();
    if (c != color_) {
        color_ = c;
        emit ColorChanged(color_);
    }
}

// ---- TLabelPreview

TLabelPreview::TLabelPreview(TQPLabel& sample, QWidget* parent) : QFrame(parent), sample_(sample)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setMinimumSize(300, 90);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void TLabelPreview::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect area = contentsRect();
    p.setClipRect(area);
    sample_.CalcLayout();
    const int y = area.top() + std::max(0, (area.height() - sample_.Height()) / 2);
    sample_.PaintTo(p, area.left(), y);
}

void TLabelPreview::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const QRect area = contentsRect();
    sample_.SetBounds(0, 0, std::max(1, area.width()), std::max(1, area.height()));
}

// ---- TQFont3DEffects

TQFont3DEffects::TQFont3DEffects(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TQFont3DEffects"));
    setWindowTitle(QStringLiteral("Text 3D Effects"));
    sample_ = new TQPLabel(this);
    sample_->setObjectName(QStringLiteral("Sample"));
    sample_->SetCaption(QStringLiteral("Text"));
    sample_->SetTransparent(true);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto addRow = [&](int row, int column, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    shadowDirection_ = NumberedList(this, QStringLiteral("ShadowDirection"),
        { "None", "Right", "Left", "Lower Right", "Lower Left", "Down" });
    shadowColor_ = new TColorCombo(this);
    shadowColor_->setObjectName(QStringLiteral("ShadowColorCombo"));
    shadowDepth_ = NumberedList(this, QStringLiteral("ShadowDepth"), DepthEntries());
    highlightDirection_ = NumberedList(this, QStringLiteral("HighlightDirection"),
        { "None", "Right", "Left", "Upper Right", "Upper Left", "Up" });
    highlightColor_ = new TColorCombo(this);
    highlightColor_->setObjectName(QStringLiteral("HighLightColorCombo"));
    highlightDepth_ = NumberedList(this, QStringLiteral("HighLightDepth"), DepthEntries());
    fontColor_ = new TColorCombo(this);
    fontColor_->setObjectName(QStringLiteral("FontColorCombo"));
    addRow(0, 0, QStringLiteral("Shadow Direction"), shadowDirection_);
    addRow(1, 0, QStringLiteral("Shadow Color"), shadowColor_);
    addRow(2, 0, QStringLiteral("Shadow Depth"), shadowDepth_);
    addRow(0, 2, QStringLiteral("Highlight Direction"), highlightDirection_);
    addRow(1, 2, QStringLiteral("Highlight Color"), highlightColor_);
    addRow(2, 2, QStringLiteral("Highlight Depth"), highlightDepth_);
    addRow(3, 0, QStringLiteral("Font Color"), fontColor_);
    layout->addLayout(grid);
    preview_ = new TLabelPreview(*sample_, this);
    preview_->setObjectName(QStringLiteral("PreviewFrame"));
    layout->addWidget(preview_, 1);
    AddDialogButtons(*this, *layout, kHelpTopic);

    // Every change is tried on the sample only.
    connect(shadowDirection_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            sample_->SetDirectionShadow(static_cast<cardora::ShadowDirection>(i));
        sampleChanged();
    });
    connect(shadowDepth_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            sample_->SetDepthShadow(i);
        sampleChanged();
    });
    connect(highlightDirection_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            sample_->SetDirectionHighlight(static_cast<cardora::HighlightDirection>(i));
        sampleChanged();
    });
    connect(highlightDepth_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            sample_->SetDepthHighlight(i);
        sampleChanged();
    });
    connect(shadowColor_, &TColorCombo::ColorChanged, this, [this](TColor c) {
        sample_->SetColorShadow(c);
        sampleChanged();
    });
    connect(highlightColor_, &TColorCombo::ColorChanged, this, [this](TColor c) {
        sample_->SetColorHighlight(c);
        sampleChanged();
    });
    connect(fontColor_, &TColorCombo::ColorChanged, this, [this](TColor c) {
        sample_->Font()->SetColor(c);
        sampleChanged();
    });
}

TQFont3DEffects::~TQFont3DEffects() = default;

void TQFont3DEffects::Setup(const TQBaseLabel& label)
{
    sample_->Font()->Assign(label.Font());
    sample_->SetDepthHighlight(label.DepthHighlight());
    sample_->SetDepthShadow(label.DepthShadow());
    sample_->SetDirectionHighlight(label.DirectionHighlight());
    sample_->SetDirectionShadow(label.DirectionShadow());
    sample_->SetColorHighlight(label.ColorHighlight());
    sample_->SetColorShadow(label.ColorShadow());
    fitSample();

    // The controls show the values without trying them on the sample again.
    const QList<QWidget*> controls = { shadowDirection_, shadowDepth_, highlightDirection_, highlightDepth_,
        shadowColor_, highlightColor_, fontColor_ };
    for (QWidget* w : controls)
        w->blockSignals(true);
    highlightColor_->SetColor(label.ColorHighlight());
    shadowColor_->SetColor(label.ColorShadow());
    fontColor_->SetColor(label.Font().Color());
    // A value outside a list (from a card file) selects nothing and stays.
    auto select = [](QComboBox* list, int index) {
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    };
    select(shadowDirection_, int(label.DirectionShadow()));
    select(shadowDepth_, label.DepthShadow());
    select(highlightDirection_, int(label.DirectionHighlight()));
    select(highlightDepth_, label.DepthHighlight());
    for (QWidget* w : controls)
        w->blockSignals(false);
    preview_->update();
}

void TQFont3DEffects::ApplyTo(TQBaseLabel& label) const
{
    label.Font()->Assign(*sample_->Font());
    label.SetDepthHighlight(sample_->DepthHighlight());
    label.SetDepthShadow(sample_->DepthShadow());
    label.SetDirectionHighlight(sample_->DirectionHighlight());
    label.SetDirectionShadow(sample_->DirectionShadow());
    label.SetColorHighlight(sample_->ColorHighlight());
    label.SetColorShadow(sample_->ColorShadow());
}

void TQFont3DEffects::fitSample()
{
    const QRect area = preview_->contentsRect();
    sample_->SetBounds(0, 0, std::max(1, area.width()), std::max(1, area.height()));
}

void TQFont3DEffects::sampleChanged() { preview_->update(); }

void TQFont3DEffects::reject() { done(mrCancel); }

} // namespace cardora
