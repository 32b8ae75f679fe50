#include "objects/symbol_label.h"
#include "objects/class_registry.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/symbol_fonts.h"
#include "objects/text_label_dialogs.h"
#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace cardora {
namespace {

constexpr int kFirstCode = 32;
constexpr int kCodeCount = 224;
constexpr int kRowHeight = 30;
constexpr int kCellWidth = 38;
constexpr int kMaxBox = 100000;

// Draws each grid entry as its symbol, through the same glyph choice as labels.
class SymbolDelegate : public QStyledItemDelegate {
public:
    explicit SymbolDelegate(TGetSymbol& dialog) : QStyledItemDelegate(&dialog), dialog_(dialog) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const int code = index.row() + kFirstCode;
        const SymbolGlyph glyph = GlyphForCode(dialog_.GridFontName(), code, dialog_.GridFont());
        painter->setFont(glyph.font);
        painter->setPen(selected ? option.palette.highlightedText().color() : ToQColor(dialog_.GridFontColor()));
        painter->drawText(option.rect, Qt::AlignCenter, glyph.text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(kCellWidth, kRowHeight);
    }

private:
    TGetSymbol& dialog_;
};

} // namespace

// ---- TQSymbolLabel

TQSymbolLabel::TQSymbolLabel(QObject* owner) : TQBaseLabel(owner)
{
    SetLoading(true);
    Font()->SetName(QStringLiteral("WingDings"));
    Font()->SetSize(24);
    SetCaption(CaptionForCode('['));
    SetLoading(false);
}

TQSymbolLabel* TQSymbolLabel::CreateForTool(QObject* owner)
{
    auto* label = new TQSymbolLabel(owner);
    label->Loaded();
    return label;
}

QString TQSymbolLabel::CaptionForCode(int code)
{
    // The Windows-1252 character, so that the card file writes the same byte.
    const char32_t ch = Windows1252Character(std::clamp(code, 0, 255));
    return QString::fromUcs4(&ch, 1);
}

int TQSymbolLabel::Code() const
{
    const QList<uint> chars = Caption().toUcs4();
    return chars.isEmpty() ? -1 : SymbolCodeOfCharacter(chars.first());
}

void TQSymbolLabel::Loaded()
{
    TQBaseLabel::Loaded();
    try {
        CalcLayout();
        BoundsChanged();
    } catch (...) {
    }
}

void TQSymbolLabel::AddMenuItems(QMenu& menu)
{
    TQBaseLabel::AddMenuItems(menu);
    const QList<QAction*> items = menu.actions();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        QAction* a = *it;
        const QString text = a->text();
        if (a->data().toInt() == TQPLabel::kTextItemTag || text == QLatin1String("Font")
            || text == QLatin1String("Alignment") || text == QLatin1String("Angle")) {
            menu.removeAction(a);
            if (a->parent() == &menu)
                a->deleteLater();
        }
    }
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Symbol Selector")), &QAction::triggered, this, [this] { SelectSymbol(); });
}

void TQSymbolLabel::ApplyFont(const FontChoice&) {}

void TQSymbolLabel::BoundsChanged()
{
    TQBaseLabel::BoundsChanged();
    if (IsLoading() || !ParentPanel())
        return;
    FitToGlyph();
    SyncSelectionHandles();
}

void TQSymbolLabel::LayoutChanged(const LabelLayout&)
{
    // New offsets, a new character or font: the box follows at once.
    if (!IsLoading() && ParentPanel())
        FitToGlyph();
}

void TQSymbolLabel::FitToGlyph()
{
    // The resize re-enters BoundsChanged; that call finds nothing to do.
    if (fitting_)
        return;
    fitting_ = true;
    // Measured from the copies' cells, not from where an alignment put the
    // text in the present box: a centred or right-aligned symbol read from a
    // file would otherwise widen its box each time it is drawn.
    const LabelLayout& L = Layout();
    const int ox = std::max({ L.mainRect.left, L.shadowRect.left, L.highlightRect.left });
    const int oy = std::max({ L.mainRect.top, L.shadowRect.top, L.highlightRect.top });
    FitBox([&](QSize) {
        const CaptionText text = MeasuredText(Caption());
        return QSize(std::clamp(Trunc(1.1 * text.Width()) + ox, 1, kMaxBox),
            std::clamp(Trunc(1.1 * text.CellHeight()) + oy, 1, kMaxBox));
    });
    fitting_ = false;
}

bool TQSymbolLabel::SelectSymbol()
{
    TGetSymbol dialog(ProgramWindow());
    dialog.Setup(*Font(), Caption());
    if (ExecModal(dialog) != mrOk)
        return false;
    Font()->Assign(dialog.SelectedFont());
    const int code = dialog.SelectedCode();
    if (code >= kFirstCode && code < kFirstCode + kCodeCount)
        SetCaption(CaptionForCode(code));
    BoundsChanged();
    repaint();
    return true;
}

// ---- TGetSymbol

TGetSymbol::TGetSymbol(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TGetSymbol"));
    setWindowTitle(QStringLiteral("Symbol Selector"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* prompt = new QLabel(QStringLiteral("&Font"), this);
    fontButton_ = new QPushButton(this);
    fontButton_->setObjectName(QStringLiteral("Fontbutton"));
    fontButton_->setAutoDefault(false);
    prompt->setBuddy(fontButton_);
    top->addWidget(prompt);
    top->addWidget(fontButton_, 1);
    layout->addLayout(top);

    symbolList_ = new QListWidget(this);
    symbolList_->setObjectName(QStringLiteral("SymbolList"));
    symbolList_->setViewMode(QListView::ListMode);
    symbolList_->setFlow(QListView::LeftToRight);
    symbolList_->setWrapping(true);
    symbolList_->setResizeMode(QListView::Adjust);
    symbolList_->setMovement(QListView::Static);
    symbolList_->setUniformItemSizes(true);
    symbolList_->setSelectionMode(QAbstractItemView::SingleSelection);
    symbolList_->setItemDelegate(new SymbolDelegate(*this));
    symbolList_->setMinimumHeight(8 * kRowHeight);
    for (int code = kFirstCode; code < kFirstCode + kCodeCount; ++code) {
        auto* item = new QListWidgetItem(symbolList_);
        item->setData(Qt::UserRole, code);
        item->setToolTip(QString::number(code));
    }
    layout->addWidget(symbolList_, 1);

    selectedChar_ = new QLabel(this);
    selectedChar_->setObjectName(QStringLiteral("SelectedChar"));
    selectedChar_->hide();
    AddDialogButtons(*this, *layout, kHelpTopic);

    connect(fontButton_, &QPushButton::clicked, this, &TGetSymbol::chooseFont);
    connect(symbolList_, &QListWidget::itemDoubleClicked, this, [this] { done(mrOk); });
    activate();
}

TGetSymbol::~TGetSymbol() = default;

void TGetSymbol::Setup(const TFont& labelFont, const QString& caption)
{
    selected_.Assign(labelFont);
    selectedChar_->setFont(selected_.ToQFont());
    gridName_ = labelFont.Name();
    gridStyle_ = labelFont.Style();
    const QList<uint> chars = caption.toUcs4();
    const int code = chars.isEmpty() ? -1 : SymbolCodeOfCharacter(chars.first());
    if (code >= kFirstCode && code < kFirstCode + kCodeCount)
        symbolList_->setCurrentRow(code - kFirstCode);
    activate();
}

int TGetSymbol::ColumnsForPointSize(int points)
{
    if (points >= 6 && points <= 10)
        return 14;
    if (points >= 11 && points <= 20)
        return 10;
    if (points >= 21 && points <= 30)
        return 8;
    if (points >= 31 && points <= 40)
        return 6;
    if (points >= 41 && points <= 50)
        return 4;
    if (points >= 51 && points <= 60)
        return 3;
    if (points >= 61 && points <= 72)
        return 2;
    return 1;
}

int TGetSymbol::GridPointSize() const
{
    TFont f;
    f.SetHeight(-kGridPixels);
    return f.Size();
}

QFont TGetSymbol::GridFont() const
{
    TFont f;
    f.SetName(gridName_);
    f.SetHeight(-kGridPixels);
    f.SetStyle(gridStyle_);
    return f.ToQFont();
}

QString TGetSymbol::FontButtonCaption() const
{
    QString style;
    if (gridStyle_ & FontStyle::Italic)
        style = QStringLiteral("Italic ");
    else if (gridStyle_ & FontStyle::Bold)
        style = QStringLiteral("Bold ");
    return gridName_ + QStringLiteral(", ") + QString::number(GridPointSize()) + QStringLiteral("pt ") + style;
}

int TGetSymbol::SelectedCode() const
{
    const int row = symbolList_->currentRow();
    return row >= 0 && row < kCodeCount ? row + kFirstCode : -1;
}

void TGetSymbol::chooseFont()
{
    const std::optional<FontChoice> chosen = ChooseFontWithColor(selected_.ToPointFont(), ToQColor(selected_.Color()));
    if (chosen) {
        selected_.AssignQFont(chosen->font);
        selected_.SetColor(FromQColor(chosen->color));
        selectedChar_->setFont(selected_.ToQFont());
        gridName_ = selected_.Name();
        gridStyle_ = selected_.Style();
        gridColor_ = selected_.Color();
        symbolList_->viewport()->update();
    }
    fontButton_->setText(FontButtonCaption());
}

void TGetSymbol::OfferFonts(const QStringList& families)
{
    if (!symbolSets_) {
        symbolSets_ = new QComboBox(this);
        symbolSets_->setObjectName(QStringLiteral("SymbolSets"));
        symbolSets_->setEditable(false);
        if (auto* box = qobject_cast<QBoxLayout*>(layout()))
            box->insertWidget(0, symbolSets_);
        connect(symbolSets_, &QComboBox::currentIndexChanged, this, &TGetSymbol::showSymbolSet);
    }
    fontButton_->hide();
    if (QWidget* prompt = qobject_cast<QWidget*>(fontButton_->parent()))
        for (QLabel* l : prompt->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            if (l->buddy() == fontButton_)
                l->hide();
    QStringList sorted = families;
    sorted.sort(Qt::CaseInsensitive);
    const QSignalBlocker block(symbolSets_);
    symbolSets_->clear();
    symbolSets_->addItems(sorted);
    int chosen = sorted.isEmpty() ? -1 : 0;
    for (int i = 0; i < sorted.size(); ++i)
        if (sorted[i].toUpper().contains(QStringLiteral("WINGDING"))) {
            chosen = i;
            break;
        }
    symbolSets_->setCurrentIndex(chosen);
    showSymbolSet(chosen);
}

void TGetSymbol::showSymbolSet(int index)
{
    if (!symbolSets_ || index < 0 || index >= symbolSets_->count())
        return;
    gridName_ = symbolSets_->itemText(index);
    selected_.SetName(gridName_);
    selectedChar_->setFont(selected_.ToQFont());
    symbolList_->setCurrentRow(0);
    symbolList_->viewport()->update();
    fontButton_->setText(FontButtonCaption());
}

void TGetSymbol::applyColumns()
{
    columns_ = ColumnsForPointSize(GridPointSize());
    symbolList_->setGridSize(QSize(kCellWidth, kRowHeight));
    const int frame = 2 * symbolList_->frameWidth();
    const int bar = symbolList_->verticalScrollBar()->sizeHint().width();
    symbolList_->setFixedWidth(columns_ * kCellWidth + frame + bar + 2);
}

void TGetSymbol::activate()
{
    applyColumns();
    fontButton_->setText(FontButtonCaption());
}

void TGetSymbol::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activate();
    if (QListWidgetItem* item = symbolList_->currentItem())
        symbolList_->scrollToItem(item);
}

void TGetSymbol::reject() { done(mrCancel); }

// One character of a symbol font.
void RegisterSymbolKind()
{
    {
        ObjectKind kind;
        kind.className = TQSymbolLabel::StaticClassName();
        kind.factory = &TQSymbolLabel::Create;
        kind.selectionTip = QStringLiteral("Symbol selected: right-click it to pick another symbol, its font or its colour.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawSymbolButton");
            t.icon = QStringLiteral("symbol");
            t.noun = QStringLiteral("Symbol");
            t.hint = QStringLiteral("A character of a symbol font");
            t.whatsThis = QStringLiteral("Symbol tool: drag a box for one symbol from a symbol font such as Wingdings.");
            t.assistantTip = QStringLiteral("drag a box, then pick a symbol from a symbol font such as Wingdings.");
            t.helpTopic = 40005;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TQSymbolLabel::CreateForTool(at.owner); };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* symbol = qobject_cast<TQSymbolLabel*>(object);
                if (!symbol || !symbol->SelectSymbol())
                    return false;
                symbol->FitToText();
                return true;
            };
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
