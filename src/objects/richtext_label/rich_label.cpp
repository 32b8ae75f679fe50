#include "objects/richtext_label/rich_label.h"
#include "objects/class_registry.h"
#include "core/modal.h"
#include "core/assign.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "objects/richtext_label/rich_text_editor.h"
#include "objects/text_label.h"
#include "report/report.h"
#include "richtext/rich_text_control.h"
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPicture>
#include <QWidget>

namespace cardora {

namespace {
// A zoom in whole percent. A float zoom such as 1.3 is a hair
// below 130 percent; that hair must not cost a whole percent.
int zoomPercent(float zoom) { return Trunc(static_cast<double>(zoom) * 100.0 + 1e-4); }

TRichPageLayout pageOfBox(int width, int height)
{
    const double ppi = ScreenPixelsPerInch();
    TRichPageLayout layout;
    layout.pageWidth = BoxTwips(width, 1.0f, ppi);
    layout.pageHeight = BoxTwips(height, 1.0f, ppi);
    return layout;
}
} // namespace

TQPRichBaseLabel::TQPRichBaseLabel(QObject* owner) : TQGraphicControl(owner)
{
    // The panel's placing is the first bounds check, not this initial size.
    SetLoading(true);
    SetBounds(0, 0, 190, 33);
    SetLoading(false);
}

TQPRichBaseLabel::~TQPRichBaseLabel() = default;

TQPRichBaseLabel* TQPRichBaseLabel::CreateForTool(QObject* owner)
{
    auto label = std::make_unique<TQPRichBaseLabel>(owner);
    label->Loaded();
    return label.release();
}

void TQPRichBaseLabel::SetRTFText(const QTextDocument& document)
{
    rtfStorage_.Assign(document);
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQPRichBaseLabel::SetBorderStyle(LabelBorder v)
{
    if (v < LabelBorder::NoBorder || v > LabelBorder::Single || !Assign(borderStyle_, v))
        return;
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQPRichBaseLabel::SetTransparent(bool v)
{
    if (Assign(transparent_, v))
        Invalidate();
}

void TQPRichBaseLabel::SetBGColor(TColor c)
{
    if (c == bgColor_)
        return;
    bgColor_ = c;
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

const PropertyTable& TQPRichBaseLabel::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQPRichBaseLabel;
        PropertyTable p = TQGraphicControl::Properties();
        PropertyDecl rtf;
        rtf.name = QStringLiteral("RTFText");
        rtf.kind = PropKind::Binary;
        rtf.getBinary = [](const Persistent& o) { return static_cast<const T&>(o).rtfStorage_.Data(); };
        rtf.setBinary = [](Persistent& o, const QByteArray& bytes) {
            auto& label = static_cast<T&>(o);
            label.rtfStorage_.SetData(bytes);
            label.Invalidate();
        };
        p.push_back(rtf);
        p.push_back(OrdinalProp<T, LabelBorder>(PropKind::Enum, "BorderStyle", std::nullopt, &T::BorderStyle,
            &T::SetBorderStyle, BorderStyleNames()));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Transparent", std::nullopt, &T::Transparent,
            &T::SetTransparent));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BGColor", std::nullopt, &T::BGColor, &T::SetBGColor));
        return p;
    }();
    return t;
}

TRichTextControl* TQPRichBaseLabel::FindMasterRichText() const
{
    // Up the owners to the window (or, without one, the topmost owner).
    QObject* form = parent();
    while (form && form->parent()) {
        if (auto* w = qobject_cast<QWidget*>(form); w && w->isWindow())
            break;
        form = form->parent();
    }
    if (!form)
        return nullptr;
    for (TRichTextControl* c : form->findChildren<TRichTextControl*>())
        if (c->objectName().toUpper() == QLatin1String(kMasterRichTextName))
            return c;
    return nullptr;
}

void TQPRichBaseLabel::Loaded()
{
    TQGraphicControl::Loaded();
    TRichTextControl* master = FindMasterRichText();
    if (!master)
        throw ENoMasterWPRich();
    master_ = master;
    DoubleClickAction = [this](QObject*) { EditRichText(); };
}

void TQPRichBaseLabel::AddMenuItems(QMenu& menu)
{
    // Rich text carries its fonts in the text: no Font item.
    boxItems_.Add(menu, *this,
        { nullptr, [this] { SetTransparent(!transparent_); }, [this] { ChooseBackgroundColor(); },
            [this] { SetBorderStyle(borderStyle_ == LabelBorder::Single ? LabelBorder::NoBorder : LabelBorder::Single); } });
    connect(menu.addAction(QStringLiteral("Edit")), &QAction::triggered, this, [this] { EditRichText(); });
}

void TQPRichBaseLabel::PopupOpening() { boxItems_.Check(transparent_, borderStyle_ == LabelBorder::Single); }

void TQPRichBaseLabel::ChooseBackgroundColor()
{
    ChooseBoxBackground(*this, bgColor_, [this](TColor c) { SetBGColor(c); }, [this] { SetTransparent(false); });
}

void TQPRichBaseLabel::DrawRich(QPainter& canvas)
{
    TRichTextControl* master = master_;
    if (!master)
        return;
    const int w = Width(), h = Height();
    canvas.save();
    canvas.setPen(Qt::black);
    if (transparent_) {
        master->SetPageColor(Qt::white);
    } else {
        const QColor bg = ToQColor(bgColor_);
        canvas.fillRect(QRect(0, 0, w, h), bg);
        master->SetPageColor(bg);
    }
    quint64 generation = 0;
    const QTextDocument& shown =
        rtfStorage_.Filled(ParentPanel() ? ParentPanel()->FieldValues() : nullptr, &generation);
    master->AssignDocument(shown, generation);
    master->SetZoom(100);
    master->SetPageLayout(pageOfBox(w, h));
    master->SetWordWrap(true);
    master->SetPaintModeFlags(TRichTextControl::kPaintNoErase);
    master->PaintTo(canvas, w, h);
    if (borderStyle_ == LabelBorder::Single) {
        canvas.setPen(QPen(Qt::black, 1, Qt::SolidLine));
        canvas.setBrush(Qt::NoBrush);
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.drawRect(QRect(0, 0, w - 1, h - 1));
    }
    canvas.restore();
}

std::unique_ptr<QPicture> TQPRichBaseLabel::MakeMetafile()
{
    auto picture = std::make_unique<QPicture>();
    picture->setBoundingRect(QRect(0, 0, Width(), Height()));
    QPainter p(picture.get());
    DrawRich(p);
    p.end();
    return picture;
}

void TQPRichBaseLabel::Paint()
{
    if (QPainter* p = CurrentCanvas())
        DrawRich(*p);
    TQGraphicControl::Paint();
}

void TQPRichBaseLabel::PrintAt(TReport& report, double x, double y)
{
    const double ppi = ScreenPixelsPerInch();
    if (ppi <= 0 || Width() <= 0 || Height() <= 0)
        return;
    PrintBoxPicture(report, x, y, ppi, *MakeMetafile());
}

bool TQPRichBaseLabel::EditRichText()
{
    BusyOn();
    TRichTextLabelEditor editor(ProgramWindow());
    editor.WPRichText1()->AssignDocument(RTFText());
    if (!transparent_)
        editor.SetPanelColor(ToQColor(bgColor_));
    // The editor opens at the zoom the card is looked at.
    const float zoom = ParentPanel() ? ParentPanel()->ViewZoom() : 1.0f;
    editor.WPRichText1()->SetPageLayout(pageOfBox(Width(), Height()));
    editor.WPRichText1()->SetZoom(zoomPercent(zoom));
    editor.SetPanelSize(Round(Width() * double(zoom)) + 1, Round(Height() * double(zoom)) + 1);
    BusyOff();
    if (ExecModal(editor) != mrOk)
        return false;
    SetRTFText(editor.WPRichText1()->Document());
    Invalidate();
    NotifyChanged();
    return true;
}

// Text with mixed fonts, colours and styles.
void RegisterRichTextKind()
{
    {
        ObjectKind kind;
        kind.className = TQPRichBaseLabel::StaticClassName();
        kind.factory = &TQPRichBaseLabel::Create;
        kind.selectionTip = QStringLiteral("Rich text selected: right-click it to open the editor with its fonts, colours and styles.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawRichText");
            t.icon = QStringLiteral("richtext");
            t.noun = QStringLiteral("Rich Text");
            t.hint = QStringLiteral("Mixed fonts, colors and styles");
            t.whatsThis = QStringLiteral("Rich Text tool: drag a box for text that mixes fonts, colours and styles.");
            t.assistantTip = QStringLiteral("drag a box, then write text with mixed fonts, colours and styles.");
            t.helpTopic = 40013;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* {
                try {
                    return TQPRichBaseLabel::CreateForTool(at.owner);
                } catch (const ENoMasterWPRich& e) {
                    // Nothing to paint through: no label rather than an invisible one.
                    Inform(e.Message());
                    return nullptr;
                }
            };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* label = qobject_cast<TQPRichBaseLabel*>(object);
                return label && label->EditRichText();
            };
            t.pointerBeforeDialog = true;
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
