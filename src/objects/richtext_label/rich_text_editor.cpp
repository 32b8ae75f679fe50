#include "objects/richtext_label/rich_text_editor.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "objects/text_label_dialogs.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QFontComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

namespace {
const int kFontSizes[] = { 6, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 };

QIcon swatch(const QColor& c)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(c);
    QPainter p(&pixmap);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}
} // namespace

// ---- TRichTextToolBar

const QList<QPair<QString, QColor>>& TRichTextToolBar::ColorChoices()
{
    static const QList<QPair<QString, QColor>> colors = {
        { "Black", QColor(0, 0, 0) }, { "Maroon", QColor(128, 0, 0) }, { "Green", QColor(0, 128, 0) },
        { "Olive", QColor(128, 128, 0) }, { "Navy", QColor(0, 0, 128) }, { "Purple", QColor(128, 0, 128) },
        { "Teal", QColor(0, 128, 128) }, { "Gray", QColor(128, 128, 128) }, { "Silver", QColor(192, 192, 192) },
        { "Red", QColor(255, 0, 0) }, { "Lime", QColor(0, 255, 0) }, { "Yellow", QColor(255, 255, 0) },
        { "Blue", QColor(0, 0, 255) }, { "Fuchsia", QColor(255, 0, 255) }, { "Aqua", QColor(0, 255, 255) },
        { "White", QColor(255, 255, 255) },
    };
    return colors;
}

TRichTextToolBar::TRichTextToolBar(TRichTextEdit& editor, QWidget* parent) : QWidget(parent), editor_(editor)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    fontName_ = new QFontComboBox(this);
    fontName_->setObjectName(QStringLiteral("FontNameCombo"));
    fontName_->setToolTip(QStringLiteral("Font"));
    fontName_->setMaximumWidth(170);
    row->addWidget(fontName_);
    connect(fontName_, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
        if (updating_)
            return;
        QTextCharFormat format;
        format.setFontFamilies({ f.family() });
        editor_.MergeCharFormat(format);
        editor_.setFocus();
    });

    fontSize_ = new QComboBox(this);
    fontSize_->setObjectName(QStringLiteral("FontSizeCombo"));
    fontSize_->setToolTip(QStringLiteral("Font size"));
    fontSize_->setEditable(true);
    fontSize_->lineEdit()->setValidator(new QIntValidator(1, 1638, fontSize_));
    for (const int s : kFontSizes)
        fontSize_->addItem(QString::number(s));
    fontSize_->setMaximumWidth(60);
    row->addWidget(fontSize_);
    connect(fontSize_, &QComboBox::textActivated, this, [this](const QString& text) {
        if (updating_)
            return;
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 1 || size > 1638)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        editor_.MergeCharFormat(format);
        editor_.setFocus();
    });

    fontColor_ = new QComboBox(this);
    fontColor_->setObjectName(QStringLiteral("FontColorCombo"));
    fontColor_->setToolTip(QStringLiteral("Font colour"));
    for (const auto& [name, color] : ColorChoices())
        fontColor_->addItem(swatch(color), name, color);
    fontColor_->addItem(QStringLiteral("Other..."));
    row->addWidget(fontColor_);
    connect(fontColor_, &QComboBox::activated, this, [this](int index) {
        if (updating_)
            return;
        QColor color = fontColor_->itemData(index).value<QColor>();
        if (!color.isValid()) {
            const std::optional<QColor> chosen = ChooseColor(editor_.CurrentCharFormat().foreground().color());
            if (!chosen) {
                ShowCurrentFormat();
                return;
            }
            color = *chosen;
        }
        QTextCharFormat format;
        format.setForeground(color);
        editor_.MergeCharFormat(format);
        editor_.setFocus();
    });

    bold_ = addButton(QStringLiteral("BoldButton"), QStringLiteral("B"), QStringLiteral("Bold"), true);
    italic_ = addButton(QStringLiteral("ItalicButton"), QStringLiteral("I"), QStringLiteral("Italic"), true);
    underline_ = addButton(QStringLiteral("UnderlineButton"), QStringLiteral("U"), QStringLiteral("Underline"), true);
    strikeOut_ = addButton(QStringLiteral("StrikeOutButton"), QStringLiteral("S"), QStringLiteral("Strike out"), true);
    // A button's own shortcut clicks it after a short animation, so the keys
    // typed at once would miss the style; these click it there and then.
    for (const auto& [button, key] : { std::pair { bold_, QKeySequence::Bold }, std::pair { italic_, QKeySequence::Italic },
             std::pair { underline_, QKeySequence::Underline } }) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        QToolButton* b = button;
        connect(shortcut, &QShortcut::activated, b, [b] { b->click(); });
    }
    QFont f = bold_->font();
    f.setBold(true);
    bold_->setFont(f);
    f = italic_->font();
    f.setItalic(true);
    italic_->setFont(f);
    f = underline_->font();
    f.setUnderline(true);
    underline_->setFont(f);
    f = strikeOut_->font();
    f.setStrikeOut(true);
    strikeOut_->setFont(f);
    connect(bold_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        editor_.MergeCharFormat(format);
    });
    connect(italic_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        editor_.MergeCharFormat(format);
    });
    connect(underline_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
        editor_.MergeCharFormat(format);
    });
    connect(strikeOut_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontStrikeOut(on);
        editor_.MergeCharFormat(format);
    });

    static const struct {
        const char* name;
        const char* text;
        const char* hint;
        Qt::Alignment alignment;
    } aligns[4] = { { "AlignLeftButton", "\u2261L", "Align left", Qt::AlignLeft },
        { "AlignCenterButton", "\u2261C", "Centre", Qt::AlignHCenter },
        { "AlignRightButton", "\u2261R", "Align right", Qt::AlignRight },
        { "AlignJustifyButton", "\u2261J", "Justify", Qt::AlignJustify } };
    for (int i = 0; i < 4; ++i) {
        alignButtons_[i] = addButton(QString::fromLatin1(aligns[i].name), QString::fromUtf8(aligns[i].text),
            QString::fromLatin1(aligns[i].hint), true);
        const Qt::Alignment a = aligns[i].alignment;
        connect(alignButtons_[i], &QToolButton::clicked, this, [this, a] {
            editor_.SetAlignment(a);
            ShowCurrentFormat();
        });
    }
    row->addStretch(1);
    connect(&editor_, &TRichTextEdit::CurrentFormatChanged, this, &TRichTextToolBar::ShowCurrentFormat);
    ShowCurrentFormat();
}

QToolButton* TRichTextToolBar::addButton(const QString& name, const QString& text, const QString& hint, bool checkable)
{
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    b->setMinimumWidth(24);
    layout()->addWidget(b);
    return b;
}

void TRichTextToolBar::AddTool(QWidget* tool)
{
    auto* row = static_cast<QHBoxLayout*>(layout());
    row->insertWidget(row->count() - 1, tool);
}

void TRichTextToolBar::ShowCurrentFormat()
{
    updating_ = true;
    const QTextCharFormat f = editor_.CurrentCharFormat();
    const QFont font = f.font();
    fontName_->setCurrentFont(QFont(font.family()));
    fontSize_->setEditText(QString::number(Round(font.pointSizeF() > 0 ? font.pointSizeF() : 10)));
    const QColor color = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(Qt::black);
    int index = -1;
    for (int i = 0; i < fontColor_->count(); ++i)
        if (fontColor_->itemData(i).value<QColor>() == color)
            index = i;
    fontColor_->setCurrentIndex(index >= 0 ? index : fontColor_->count() - 1);
    bold_->setChecked(font.weight() >= QFont::DemiBold);
    italic_->setChecked(font.italic());
    underline_->setChecked(f.underlineStyle() != QTextCharFormat::NoUnderline || font.underline());
    strikeOut_->setChecked(font.strikeOut());
    const Qt::Alignment a = editor_.CurrentAlignment();
    alignButtons_[0]->setChecked(!(a & (Qt::AlignHCenter | Qt::AlignRight | Qt::AlignJustify)));
    alignButtons_[1]->setChecked(a & Qt::AlignHCenter);
    alignButtons_[2]->setChecked(a & Qt::AlignRight);
    alignButtons_[3]->setChecked(a & Qt::AlignJustify);
    updating_ = false;
}

// ---- TRichTextLabelEditor

TRichTextLabelEditor::TRichTextLabelEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RichTextLabelEditor"));
    setWindowTitle(QStringLiteral("Rich Text Editor"));
    auto* layout = new QVBoxLayout(this);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("WPPanel"));
    panel_->setFrameShape(QFrame::Box);
    panel_->setLineWidth(1);
    panel_->setAutoFillBackground(true);
    auto* inPanel = new QVBoxLayout(panel_);
    inPanel->setContentsMargins(1, 1, 1, 1);
    edit_ = new TRichTextEdit(panel_);
    edit_->setObjectName(QStringLiteral("WPRichText1"));
    inPanel->addWidget(edit_);

    toolBar_ = new TRichTextToolBar(*edit_, this);
    toolBar_->setObjectName(QStringLiteral("WPToolBar1"));
    auto* zoomIn = new QToolButton(toolBar_);
    zoomIn->setObjectName(QStringLiteral("ZoomPlusButton"));
    zoomIn->setText(QStringLiteral("Zoom In"));
    zoomIn->setToolTip(QStringLiteral("Zoom In"));
    auto* zoomOut = new QToolButton(toolBar_);
    zoomOut->setObjectName(QStringLiteral("ZoomMinusButton"));
    zoomOut->setText(QStringLiteral("Zoom Out"));
    zoomOut->setToolTip(QStringLiteral("Zoom Out"));
    zoomCaption_ = new QFrame(toolBar_);
    zoomCaption_->setObjectName(QStringLiteral("ZoomCaption"));
    zoomCaption_->setFrameShape(QFrame::VLine);
    zoomCaption_->setFrameShadow(QFrame::Sunken);
    toolBar_->AddTool(zoomCaption_);
    toolBar_->AddTool(zoomIn);
    toolBar_->AddTool(zoomOut);
    connect(zoomIn, &QToolButton::clicked, this, &TRichTextLabelEditor::zoomIn);
    connect(zoomOut, &QToolButton::clicked, this, &TRichTextLabelEditor::zoomOut);
    layout->addWidget(toolBar_);

    // The frame keeps its set size in the middle of a light area.
    auto* area = new QWidget(this);
    auto* areaLayout = new QGridLayout(area);
    areaLayout->addWidget(panel_, 0, 0, Qt::AlignCenter);
    layout->addWidget(area, 1);

    AddDialogButtons(*this, *layout, kHelpTopic);
    SetPanelColor(Qt::white);
    SetPanelSize(191, 34);
}

void TRichTextLabelEditor::SetPanelColor(const QColor& c)
{
    QPalette p = panel_->palette();
    p.setColor(QPalette::Window, c);
    panel_->setPalette(p);
    edit_->SetPageColor(c);
}

void TRichTextLabelEditor::SetPanelSize(int width, int height)
{
    panel_->setFixedSize(std::max(1, width), std::max(1, height));
    rememberFrame();
}

void TRichTextLabelEditor::rememberFrame()
{
    rememberedWidth_ = panel_->width();
    rememberedHeight_ = panel_->height();
    rememberedZoom_ = std::max(1, edit_->Zoom());
}

void TRichTextLabelEditor::fitPanel()
{
    const int z = edit_->Zoom();
    panel_->setFixedSize(std::max(1, Round(double(z) * rememberedWidth_ / rememberedZoom_)),
        std::max(1, Round(double(z) * rememberedHeight_ / rememberedZoom_)));
}

void TRichTextLabelEditor::zoomIn()
{
    if (edit_->Zoom() < kZoomInLimit)
        edit_->SetZoom(edit_->Zoom() + kZoomStep);
    fitPanel();
}

void TRichTextLabelEditor::zoomOut()
{
    if (edit_->Zoom() > kZoomOutLimit)
        edit_->SetZoom(edit_->Zoom() - kZoomStep);
    fitPanel();
}

void TRichTextLabelEditor::prepareToShow()
{
    QCoreApplication::processEvents();
    edit_->ReformatAndFocus();
    rememberFrame();
}

void TRichTextLabelEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        // After the window system has shown the dialog.
        QMetaObject::invokeMethod(this, [this] { prepareToShow(); }, Qt::QueuedConnection);
    }
}

void TRichTextLabelEditor::reject() { done(mrCancel); }

} // namespace cardora
