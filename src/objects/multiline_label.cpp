#include "objects/multiline_label.h"
#include "objects/class_registry.h"
#include "core/assign.h"
#include "core/modal.h"
#include "objects/box_menu.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "objects/multiline_editor.h"
#include "report/report.h"
#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cstdlib>

namespace cardora {

namespace multiline_layout {

namespace {

// The longest prefix of line[pos..] (at most `limit` characters) whose
// advance fits `width`; 0 when not even one character fits. The search
// starts at `hint` (the length the previous piece took) and widens its steps
// from there, so that most pieces are measured a few times at about their
// own length rather than from half the limit down.
int fittingLength(const QString& line, int pos, int limit, const QFontMetrics& fm, int width, int hint)
{
    auto fits = [&](int n) { return n == 0 || fm.horizontalAdvance(line.mid(pos, n)) <= width; };
    if (limit <= 0)
        return 0;
    int lo = 0, hi = limit; // lo fits; beyond hi does not
    const int guess = std::clamp(hint, 1, limit);
    if (fits(guess)) {
        lo = guess;
        for (int step = 1; lo < hi; step *= 2) {
            const int probe = std::min(hi, lo + step);
            if (!fits(probe)) {
                hi = probe - 1;
                break;
            }
            lo = probe;
        }
    } else {
        hi = guess - 1;
        for (int step = 1; lo < hi; step *= 2) {
            const int probe = std::max(lo, guess - step);
            if (fits(probe)) {
                lo = probe;
                break;
            }
            hi = probe - 1;
        }
    }
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void wrapOne(const QString& line, const QFontMetrics& fm, int width, QStringList& out)
{
    const int length = static_cast<int>(line.size());
    int pos = 0;
    if (length == 0) {
        out << QString();
        return;
    }
    // Spaces hang at the end of a line without needing room. Found once:
    // rescanning them for every piece made long space runs quadratic.
    int end = length;
    while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
        --end;
    int hint = std::max(1, width / std::max(1, fm.averageCharWidth()));
    while (pos < length) {
        if (pos >= end) {
            out << line.mid(pos);
            return;
        }
        // Every character takes at least a pixel, so no more than width + 1
        // characters need measuring (this bounds the work on long lines).
        const int limit = std::min(end - pos, std::max(1, width) + 1);
        if (limit == end - pos && fm.horizontalAdvance(line.mid(pos, limit)) <= width) {
            out << line.mid(pos);
            return;
        }
        const int fits = fittingLength(line, pos, limit, fm, width, hint);
        hint = std::max(1, fits);
        // The last space within the part that fits, or right after it.
        int space = -1;
        for (int i = std::min(pos + fits, length - 1); i >= pos; --i)
            if (line.at(i) == QLatin1Char(' ')) {
                space = i;
                break;
            }
        int next;
        if (space >= pos) {
            next = space + 1;
            while (next < length && line.at(next) == QLatin1Char(' '))
                ++next;
        } else {
            next = pos + std::max(1, fits);
        }
        out << line.mid(pos, next - pos);
        pos = next;
    }
}

} // namespace

QStringList WrapLines(const QStringList& lines, const QFontMetrics& metrics, int width)
{
    QStringList out;
    for (const QString& line : lines)
        wrapOne(line, metrics, width, out);
    return out;
}

QStringList SplitText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (t.isEmpty())
        return {};
    QStringList lines = t.split(QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

} // namespace multiline_layout

// ---- TQMultiLineBaseLabel

namespace {
// Font heights beyond this (a damaged card file) are drawn at this height.
constexpr int kLargestFontPixels = 2000;
} // namespace

TQMultiLineBaseLabel::TQMultiLineBaseLabel(QObject* owner) : TQGraphicControl(owner)
{
    // The panel's placing is the first bounds check, not this initial size.
    SetLoading(true);
    SetBounds(0, 0, 190, 33);
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetSize(10);
    SetLoading(false);
    // The label sets its own font, so it keeps it (and stores it) from the start.
    SetParentFont(false);
}

TQMultiLineBaseLabel::~TQMultiLineBaseLabel() = default;

void TQMultiLineBaseLabel::SetItems(const QStringList& items)
{
    items_ = items;
    ++itemsRevision_;
    if (wordWrap_)
        layOut();
    Invalidate();
}

void TQMultiLineBaseLabel::SetAlignment(TextAlignment v)
{
    if (v >= TextAlignment::LeftJustify && v <= TextAlignment::Center && Assign(alignment_, v))
        Invalidate();
}

void TQMultiLineBaseLabel::SetWordWrap(bool v)
{
    if (!Assign(wordWrap_, v))
        return;
    if (v)
        Rewrap();
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

const PropertyTable& TQMultiLineBaseLabel::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQMultiLineBaseLabel;
        PropertyTable p = TQGraphicControl::Properties();
        PropertyDecl items;
        items.name = QStringLiteral("Items");
        items.kind = PropKind::Strings;
        items.getStrings = [](const Persistent& o) { return static_cast<const T&>(o).Items(); };
        items.setStrings = [](Persistent& o, const QStringList& v) { static_cast<T&>(o).SetItems(v); };
        p.push_back(items);
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "AutoSize", std::nullopt, &T::AutoSize, &T::SetAutoSize));
        p.push_back(OrdinalProp<T, TextAlignment>(PropKind::Enum, "Alignment", int(TextAlignment::LeftJustify),
            &T::Alignment, &T::SetAlignment,
            AlignmentNames()));
        PropertyDecl font;
        font.name = QStringLiteral("Font");
        font.kind = PropKind::Nested;
        font.nested = [](Persistent& o) -> Persistent* { return static_cast<T&>(o).Font(); };
        font.storedWhen = [](const Persistent& o) { return !static_cast<const T&>(o).ParentFont(); };
        p.push_back(font);
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "WordWrap", false, &T::WordWrap, &T::SetWordWrap));
        return p;
    }();
    return t;
}

QFont TQMultiLineBaseLabel::ShownFont() const
{
    TFont f;
    f.Assign(Font());
    f.SetHeight(std::clamp(f.Height(), -kLargestFontPixels, kLargestFontPixels));
    return f.ToQFont();
}

int TQMultiLineBaseLabel::LineHeight() const
{
    // The cell height is the same for every text, "XXX" included.
    return QFontMetrics(ShownFont()).height();
}

int TQMultiLineBaseLabel::LineOffset(TextAlignment alignment, int boxWidth, int lineWidth)
{
    switch (alignment) {
    case TextAlignment::RightJustify: return boxWidth - lineWidth - 1;
    case TextAlignment::Center: return boxWidth / 2 - lineWidth / 2 + 1;
    default: return 0;
    }
}

void TQMultiLineBaseLabel::layOut()
{
    const QFont font = ShownFont();
    wrappedLines_ = multiline_layout::WrapLines(ShownItems(), QFontMetrics(font),
        Width() - multiline_layout::kWrapInsets);
    wrappedRevision_ = itemsRevision_;
    wrappedWidth_ = Width();
    wrappedFont_ = font;
}

void TQMultiLineBaseLabel::Rewrap()
{
    if (!wordWrap_)
        return;
    wrappedLines_.clear();
    layOut();
    Invalidate();
}

void TQMultiLineBaseLabel::EnsureWrapped()
{
    if (!wordWrap_)
        return;
    if (wrappedRevision_ != itemsRevision_ || wrappedWidth_ != Width() || wrappedFont_ != ShownFont())
        layOut();
}

void TQMultiLineBaseLabel::DrawLines(QPainter& canvas) const
{
    QStringList lines = wordWrap_ ? wrappedLines_ : ShownItems();
    if (lines.isEmpty())
        lines << BlankText();
    else if (lines.size() == 1 && TrimSpaces(lines.first()).isEmpty())
        lines << BlankText();

    canvas.save();
    canvas.setFont(ShownFont());
    canvas.setPen(ToQColor(Font().Color()));
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::TransparentMode);
    const QRect box(0, 0, Width(), Height());
    canvas.setClipRect(box, Qt::IntersectClip);
    const QFontMetrics fm = canvas.fontMetrics();
    const int lh = fm.height();
    int y = 0;
    for (const QString& line : lines) {
        // Lines below the box are clipped away anyway.
        if (y >= box.height() && lh > 0)
            break;
        const int x = LineOffset(alignment_, box.width(), fm.horizontalAdvance(line));
        canvas.save();
        canvas.setClipRect(QRect(0, y, box.width(), lh), Qt::IntersectClip);
        canvas.drawText(QPoint(x, y + fm.ascent()), line);
        canvas.restore();
        y += lh;
    }
    canvas.restore();
}

std::unique_ptr<QPicture> TQMultiLineBaseLabel::MakeMetafile()
{
    EnsureWrapped();
    auto picture = std::make_unique<QPicture>();
    picture->setBoundingRect(QRect(0, 0, Width(), Height()));
    QPainter p(picture.get());
    DrawLines(p);
    p.end();
    return picture;
}

void TQMultiLineBaseLabel::FitToLines()
{
    const QFontMetrics fm(ShownFont());
    const QStringList shown = ShownItems();
    const QStringList lines = wordWrap_
        ? multiline_layout::WrapLines(shown, fm, Width() - multiline_layout::kWrapInsets)
        : shown;
    int w = Width();
    for (const QString& line : lines)
        w = std::max(w, fm.horizontalAdvance(line));
    // An empty label still shows "<blank>": keep room for that one line, so
    // the label stays visible and can be clicked.
    const int count = std::max<int>(1, static_cast<int>(lines.size()));
    SetBox(QRect(Left(), Top(), w, fm.height() * count));
    if (wordWrap_)
        Rewrap();
    Invalidate();
}

void TQMultiLineBaseLabel::Loaded() { TQGraphicControl::Loaded(); }

QStringList TQMultiLineBaseLabel::ShownItems() const
{
    QStringList shown;
    shown.reserve(items_.size());
    for (const QString& item : items_)
        shown << WithFields(item);
    return shown;
}

void TQMultiLineBaseLabel::FieldValuesChanged()
{
    ++itemsRevision_;
}

void TQMultiLineBaseLabel::BoundsChanged()
{
    if (wordWrap_)
        Rewrap();
    TQGraphicControl::BoundsChanged();
}

void TQMultiLineBaseLabel::PopupOpening()
{
    static constexpr TextAlignment order[3] = { TextAlignment::LeftJustify, TextAlignment::Center,
        TextAlignment::RightJustify };
    for (int i = 0; i < 3; ++i) {
        if (alignmentItems_[i])
            alignmentItems_[i]->setChecked(alignment_ == order[i]);
    }
}

void TQMultiLineBaseLabel::ApplyFont(const FontChoice& choice)
{
    TakeFont(choice);
    if (wordWrap_)
        Rewrap();
}

void TQMultiLineBaseLabel::ChooseFontCommand()
{
    ChooseOwnFont();
    if (wordWrap_)
        Rewrap();
}

void TQMultiLineBaseLabel::Paint()
{
    if (QPainter* p = CurrentCanvas()) {
        EnsureWrapped();
        DrawLines(*p);
    }
    TQGraphicControl::Paint();
}

void TQMultiLineBaseLabel::PrintAt(TReport& report, double x, double y)
{
    const double ppi = ScreenPixelsPerInch();
    if (ppi <= 0 || Width() <= 0 || Height() <= 0)
        return;
    PrintBoxPicture(report, x, y, ppi, ShownItems().join(QLatin1Char('\n')), [this] { return MakeMetafile(); });
}

void TQMultiLineBaseLabel::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Font")), &QAction::triggered, this, [this] { ChooseFontCommand(); });
    alignmentItems_ = AddAlignmentMenu(menu, *this,
        { TextAlignment::LeftJustify, TextAlignment::Center, TextAlignment::RightJustify },
        [this](TextAlignment value) { SetAlignment(value); });
}

// ---- TQMultiLineLabel

TQMultiLineLabel* TQMultiLineLabel::CreateForTool(QObject* owner, const TFont& font)
{
    auto* label = new TQMultiLineLabel(owner);
    label->Loaded();
    label->Font()->Assign(font);
    label->SetParentFont(false);
    return label;
}

void TQMultiLineLabel::AddMenuItems(QMenu& menu)
{
    TQMultiLineBaseLabel::AddMenuItems(menu);
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Text")), &QAction::triggered, this, [this] { EditText(); });
    wordWrapItem_ = menu.addAction(QStringLiteral("Word Wrap"));
    wordWrapItem_->setCheckable(true);
    wordWrapItem_->setChecked(WordWrap());
    connect(wordWrapItem_, &QAction::triggered, this, [this] {
        SetWordWrap(!WordWrap());
        wordWrapItem_->setChecked(WordWrap());
    });
}

void TQMultiLineLabel::PopupOpening()
{
    TQMultiLineBaseLabel::PopupOpening();
    if (wordWrapItem_)
        wordWrapItem_->setChecked(WordWrap());
}

bool TQMultiLineLabel::EditText()
{
    TMultiLineTextEditor editor(ProgramWindow());
    QFont font = Font()->ToQFont();
    font.setPixelSize(std::min(font.pixelSize(), kLargestFontPixels));
    editor.SetEditorFont(font);
    editor.SetText(Items().join(QLatin1Char('\n')));
    if (ExecModal(editor) != mrOk)
        return false;
    SetItems(multiline_layout::SplitText(editor.Text()));
    Invalidate();
    if (WordWrap())
        Rewrap();
    NotifyChanged();
    return true;
}

// Several lines of text in one box.
void RegisterMultiLineKind()
{
    {
        ObjectKind kind;
        kind.className = TQMultiLineLabel::StaticClassName();
        kind.factory = &TQMultiLineLabel::Create;
        kind.selectionTip = QStringLiteral("Multi-line text selected: right-click it to edit the lines, the font or the alignment.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawMLTextButton");
            t.icon = QStringLiteral("multiline");
            t.noun = QStringLiteral("Multi-line Text");
            t.hint = QStringLiteral("Several lines of text in one box");
            t.whatsThis = QStringLiteral("Multi-line Text tool: drag a box for several lines of text, such as an address.");
            t.assistantTip = QStringLiteral("drag a box for a block of lines, such as an address, then type the lines.");
            t.helpTopic = 40001;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* {
                return TQMultiLineLabel::CreateForTool(at.owner, at.parent.DefaultFont());
            };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* label = qobject_cast<TQMultiLineLabel*>(object);
                if (!label || !label->EditText())
                    return false;
                label->FitToLines();
                return true;
            };
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
