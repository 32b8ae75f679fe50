#include "objects/line_shape.h"
#include "objects/class_registry.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "objects/shapes.h"
#include "report/report.h"
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <algorithm>

namespace cardora {

using namespace plain_drawing;

const QStringList& LineStyleNames()
{
    static const QStringList n = { "stHorizontal", "stVertical", "stAngleSlopingUp", "stAngleSlopingDown" };
    return n;
}

TQLineShape::TQLineShape(QObject* owner) : TQGraphicControl(owner)
{
    pen_.OnChange = [this] { penChanged(); };
    // The panel's placing is the first bounds check, not this initial size.
    SetLoading(true);
    SetBounds(0, 0, 10, 10);
    SetLoading(false);
}

TQLineShape::~TQLineShape() { pen_.OnChange = nullptr; }

TQLineShape* TQLineShape::CreateForTool(QObject* owner)
{
    auto* line = new TQLineShape(owner);
    line->SetLineStyle(LineStyle::Vertical);
    line->Loaded();
    return line;
}

void TQLineShape::penChanged()
{
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQLineShape::SetLineStyle(cardora::LineStyle v)
{
    if (v == lineStyle_ || v < LineStyle::Horizontal || v > LineStyle::AngleSlopingDown)
        return;
    lineStyle_ = v;
    Invalidate();
}

const PropertyTable& TQLineShape::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQLineShape;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(OrdinalProp<T, cardora::LineStyle>(PropKind::Enum, "LineStyle", int(LineStyle::Horizontal),
            &T::LineStyle, &T::SetLineStyle, LineStyleNames()));
        p.push_back(NestedProp<T, TPen>("Pen", &T::Pen));
        return p;
    }();
    return t;
}

int TQLineShape::DrawnPenWidth() const
{
    return SaneWidth(pen_.Width());
}

QLine TQLineShape::ScreenLine() const
{
    const int w = DrawnPenWidth();
    const int h = w / 2;
    const int W = Width(), H = Height();
    switch (lineStyle_) {
    case LineStyle::Vertical: return QLine(h, h, h, H + h - w + 1);
    case LineStyle::AngleSlopingUp: return QLine(W, 0, 0, H);
    case LineStyle::AngleSlopingDown: return QLine(0, 0, W, H);
    default: return QLine(h, h, W + h - w + 1, h);
    }
}

void TQLineShape::Paint()
{
    QPainter* p = CurrentCanvas();
    if (p && pen_.Style() != PenStyle::Clear) {
        const int w = DrawnPenWidth();
        const QLine line = ScreenLine();
        p->save();
        p->setClipRect(QRect(0, 0, Width(), Height()), Qt::IntersectClip);
        p->setRenderHint(QPainter::Antialiasing, false);
        QColor forced;
        if (ApplyPenMode(*p, pen_.Mode(), &forced)) {
            const QColor color = forced.isValid() ? forced : ToQColor(pen_.Color());
            if (w <= 1) {
                // Thin lines leave out their last pixel, broken styles included.
                p->setPen(QPen(color, w, ToQtPenStyle(pen_.Style()), Qt::FlatCap));
                p->drawLine(line);
            } else {
                // Wide lines are solid with round ends; odd widths centre on pixel centres.
                const double off = w % 2 == 1 ? 0.5 : 0.0;
                p->setPen(QPen(color, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p->drawLine(QLineF(line).translated(off, off));
            }
        }
        p->restore();
    }
    if (onPanelCanvas()) {
        BoundsChanged();
        DrawSelectionMarkers();
    }
}

void TQLineShape::PrintAt(TReport& report, double x, double y)
{
    PrintAtResolution(report, x, y, ScreenPixelsPerInch());
}

void TQLineShape::PrintAtResolution(TReport& report, double x, double y, int ppi)
{
    if (ppi <= 0 || pen_.Style() == PenStyle::Clear)
        return;
    // The line the panel draws, at its size in inches.
    report.SetCardPen(pen_.Color(), pen_.Style(), SaneWidth(pen_.Width()), PenMode::Copy, ppi);
    const int w = SaneWidth(pen_.Width());
    const QLine line = ScreenLine();
    const double d = ppi;
    const double off = (w <= 1 || w % 2 == 1) ? 0.5 : 0.0;
    report.MoveTo(x + (Left() + line.x1() + off) / d, y + (Top() + line.y1() + off) / d);
    report.LineTo(x + (Left() + line.x2() + off) / d, y + (Top() + line.y2() + off) / d);
}

void TQLineShape::ChooseLineColor()
{
    const std::optional<QColor> c = ChooseColor(ToQColor(pen_.Color()));
    if (!c)
        return;
    NotifyChanged();
    pen_.SetColor(FromQColor(*c));
    Invalidate();
}

void TQLineShape::StretchToEdges()
{
    if (!ParentPanel())
        return;
    const QSize panel = ParentPanel()->PanelSize();
    if (lineStyle_ == LineStyle::Horizontal)
        SetBounds(0, Top(), panel.width(), Height());
    else if (lineStyle_ == LineStyle::Vertical)
        SetBounds(Left(), 0, Width(), panel.height());
    Invalidate();
}

void TQLineShape::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    QMenu* styles = menu.addMenu(QStringLiteral("Style"));
    const char* captions[4] = { "Horizontal", "Vertical", "Angled Sloping Up", "Angled Sloping Down" };
    for (int s = 0; s < 4; ++s) {
        QAction* a = styles->addAction(QString::fromLatin1(captions[s]));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, s] {
            NotifyChanged();
            SetLineStyle(static_cast<cardora::LineStyle>(s));
        });
        styleItems_[s] = a;
    }
    connect(menu.addAction(QStringLiteral("Color")), &QAction::triggered, this, [this] { ChooseLineColor(); });
    AddThicknessMenu(menu, this, thicknessItems_, [this](int n) {
        pen_.SetWidth(n);
        NotifyChanged();
    });
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Stretch To Edges")), &QAction::triggered, this,
        [this] { StretchToEdges(); });
}

void TQLineShape::PopupOpening()
{
    CheckThickness(thicknessItems_, pen_.Width());
    for (int s = 0; s < 4; ++s)
        if (styleItems_[s])
            styleItems_[s]->setChecked(s == int(lineStyle_));
}

// Horizontal and vertical lines.
void RegisterLineKind()
{
    {
        ObjectKind kind;
        kind.className = TQLineShape::StaticClassName();
        kind.factory = &TQLineShape::Create;
        kind.selectionTip = QStringLiteral("Line selected: drag its handles to move its ends; right-click it for colour, width and style.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawLinebutton");
            t.icon = QStringLiteral("line");
            t.noun = QStringLiteral("Line");
            t.hint = QStringLiteral("A horizontal or vertical line");
            t.whatsThis = QStringLiteral("Line tool: drag from where the line starts to where it ends.");
            t.assistantTip = QStringLiteral("drag from where the line starts to where it ends.");
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TQLineShape::CreateForTool(at.owner); };
            t.afterPlace = // The drag says which way the line runs: wider than tall is horizontal.
            [](const ToolPlacement& at, TQGraphicControl* object) {
                if (auto* line = qobject_cast<TQLineShape*>(object))
                    line->SetLineStyle(at.dragged.width() > at.dragged.height() ? LineStyle::Horizontal : LineStyle::Vertical);
                return true;
            };
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
