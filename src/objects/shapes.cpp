#include "objects/shapes.h"
#include "objects/class_registry.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "report/report.h"
#include <QAction>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace cardora {

const QStringList& ShapeTypeNames()
{
    static const QStringList n = { "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse",
        "stCircle" };
    return n;
}

namespace plain_drawing {

int SaneWidth(int width) { return std::clamp(width, 0, 1000); }

QMenu* AddThicknessMenu(QMenu& menu, QObject* context, std::array<QAction*, 10>& items,
    const std::function<void(int)>& choose)
{
    QMenu* sub = menu.addMenu(QStringLiteral("Line Thickness"));
    for (int n = 1; n <= 10; ++n) {
        QAction* a = sub->addAction(QString::number(n) + QStringLiteral(" Point"));
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, context, [choose, n] { choose(n); });
        items[n - 1] = a;
    }
    return sub;
}

void CheckThickness(const std::array<QAction*, 10>& items, int width)
{
    for (int n = 1; n <= 10; ++n)
        if (items[n - 1])
            items[n - 1]->setChecked(n == width);
}

} // namespace plain_drawing

using namespace plain_drawing;

TQLabelShapes::TQLabelShapes(QObject* owner) : TQGraphicControl(owner)
{
    pen_.OnChange = [this] { attributeChanged(); };
    brush_.OnChange = [this] { attributeChanged(); };
    // The panel's placing is the first bounds check, not this initial size.
    SetLoading(true);
    SetBounds(0, 0, 25, 25);
    SetLoading(false);
}

TQLabelShapes::~TQLabelShapes()
{
    pen_.OnChange = nullptr;
    brush_.OnChange = nullptr;
}

void TQLabelShapes::attributeChanged()
{
    Invalidate();
    if (!IsLoading())
        NotifyChanged();
}

void TQLabelShapes::SetTransparent(bool v)
{
    // Also when only the brush disagrees, so that "opaque" always fills.
    if (v == transparent_ && (brush_.Style() == BrushStyle::Clear) == v)
        return;
    transparent_ = v;
    brush_.SetStyle(v ? BrushStyle::Clear : BrushStyle::Solid);
    Invalidate();
}

void TQLabelShapes::SetRoundPerc(int v)
{
    if (v == roundPerc_)
        return;
    roundPerc_ = v;
    Invalidate();
}

void TQLabelShapes::SetShape(ShapeType v)
{
    if (v == shape_ || v < ShapeType::Rectangle || v > ShapeType::Circle)
        return;
    shape_ = v;
    Invalidate();
}

const PropertyTable& TQLabelShapes::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TQLabelShapes;
        PropertyTable p = TQGraphicControl::Properties();
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Transparent", std::nullopt, &T::Transparent,
            &T::SetTransparent));
        p.push_back(NestedProp<T, TBrush>("Brush", &T::Brush));
        p.push_back(NestedProp<T, TPen>("Pen", &T::Pen));
        p.push_back(IntegerProp<T, int>("RoundPerc", 25, &T::RoundPerc, &T::SetRoundPerc));
        p.push_back(OrdinalProp<T, ShapeType>(PropKind::Enum, "Shape", int(ShapeType::Rectangle), &T::Shape,
            &T::SetShape, ShapeTypeNames()));
        return p;
    }();
    return t;
}

void TQLabelShapes::Loaded()
{
    TQGraphicControl::Loaded();
    // The rounding submenu follows the shape the object has now, once.
    if (roundingMenu_ < 0)
        roundingMenu_ = IsRounded() ? 1 : 0;
}

int TQLabelShapes::DrawnPenWidth() const
{
    return SaneWidth(pen_.Width());
}

int TQLabelShapes::CornerSize() const
{
    const double m = std::max(Width(), Height());
    const double c = std::trunc(roundPerc_ * 0.01 * m);
    return static_cast<int>(std::clamp(c, 0.0, 2.0 * std::max(0.0, m)));
}

void TQLabelShapes::Paint()
{
    if (QPainter* p = CurrentCanvas()) {
        const int w = DrawnPenWidth();
        const int h = w / 2;
        const int right = Width() + h - w + 1;
        const int bottom = Height() + h - w + 1;
        p->save();
        p->setClipRect(QRect(0, 0, Width(), Height()), Qt::IntersectClip);
        p->setRenderHint(QPainter::Antialiasing, false);
        QColor forced;
        if (ApplyPenMode(*p, pen_.Mode(), &forced)) {
            QPen pen(forced.isValid() ? forced : ToQColor(pen_.Color()), w, Qt::SolidLine, Qt::SquareCap,
                Qt::MiterJoin);
            QBrush brush = brush_.ToQBrush();
            if (forced.isValid() && brush.style() != Qt::NoBrush)
                brush.setColor(forced);
            p->setPen(pen);
            p->setBrush(brush);
            // The figure (h, h)-(right, bottom) covers pixels h..right-1; an odd
            // pen is centred on pixel centres, an even one on pixel edges.
            const double off = (w % 2 == 1 || w == 0) ? 0.5 : 0.0;
            const QRectF r = QRectF(QPointF(h + off, h + off), QPointF(right - 1 + off, bottom - 1 + off)).normalized();
            switch (shape_) {
            case ShapeType::RoundRect:
            case ShapeType::RoundSquare: {
                const double radius = CornerSize() / 2.0;
                p->drawRoundedRect(r, radius, radius);
                break;
            }
            case ShapeType::Ellipse:
            case ShapeType::Circle: p->drawEllipse(r); break;
            default: p->drawRect(r); break;
            }
        }
        p->restore();
    }
    if (onPanelCanvas()) {
        DrawSelectionMarkers();
        BoundsChanged();
    }
}

void TQLabelShapes::PrintAt(TReport& report, double x, double y)
{
    PrintAtResolution(report, x, y, ScreenPixelsPerInch());
}

void TQLabelShapes::PrintAtResolution(TReport& report, double x, double y, int ppi)
{
    if (ppi <= 0)
        return;
    // The figure the panel draws, pen inside the box, at its size in inches.
    const int w = SaneWidth(pen_.Width());
    const int h = w / 2;
    report.SetCardPen(pen_.Color(), pen_.Style(), w, pen_.Mode(), ppi);
    report.SetBrush(brush_.Color(), brush_.Style());
    // As on the panel: the pen's middle runs through pixel centres for odd
    // widths, along pixel edges for even ones.
    const double d = ppi;
    const double off = (w % 2 == 1 || w == 0) ? 0.5 : 0.0;
    const double x1 = x + (Left() + h + off) / d;
    const double y1 = y + (Top() + h + off) / d;
    const double x2 = x + (Left() + Width() + h - w + off) / d;
    const double y2 = y + (Top() + Height() + h - w + off) / d;
    switch (shape_) {
    case ShapeType::RoundRect:
    case ShapeType::RoundSquare: {
        const double r = CornerSize() / d;
        report.RoundRect(x1, y1, x2, y2, r, r);
        break;
    }
    case ShapeType::Ellipse:
    case ShapeType::Circle: report.Ellipse(x1, y1, x2, y2); break;
    default: report.Rectangle(x1, y1, x2, y2); break;
    }
}

void TQLabelShapes::ChooseBackgroundColor()
{
    const std::optional<QColor> c = ChooseColor(ToQColor(brush_.Color()));
    if (!c)
        return;
    brush_.SetColor(FromQColor(*c));
    NotifyChanged();
    SetTransparent(false);
    Invalidate();
}

void TQLabelShapes::ChooseLineColor()
{
    const std::optional<QColor> c = ChooseColor(ToQColor(pen_.Color()));
    if (!c)
        return;
    pen_.SetColor(FromQColor(*c));
    NotifyChanged();
    Invalidate();
}

void TQLabelShapes::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Background Color")), &QAction::triggered, this,
        [this] { ChooseBackgroundColor(); });
    connect(menu.addAction(QStringLiteral("Line Color")), &QAction::triggered, this, [this] { ChooseLineColor(); });
    AddThicknessMenu(menu, this, thicknessItems_, [this](int n) {
        pen_.SetWidth(n);
        NotifyChanged();
    });
    menu.addSeparator();
    transparentItem_ = menu.addAction(QStringLiteral("Transparent"));
    transparentItem_->setCheckable(true);
    connect(transparentItem_, &QAction::triggered, this, [this] { SetTransparent(!transparent_); });
    if (roundingMenu_ < 0)
        roundingMenu_ = IsRounded() ? 1 : 0;
    if (roundingMenu_ == 1) {
        menu.addSeparator();
        QMenu* sub = menu.addMenu(QStringLiteral("Degree of Rounding"));
        for (int n = 20; n <= 80; n += 10)
            connect(sub->addAction(QString::number(n) + QStringLiteral(" %")), &QAction::triggered, this, [this, n] {
                SetRoundPerc(n);
                NotifyChanged();
            });
    }
}

void TQLabelShapes::PopupOpening()
{
    if (transparentItem_)
        transparentItem_->setChecked(transparent_);
    CheckThickness(thicknessItems_, pen_.Width());
}

TBCShapes* TBCShapes::CreateForTool(QObject* owner, ShapeType shape)
{
    auto* s = new TBCShapes(owner);
    s->SetShape(shape);
    s->Loaded();
    return s;
}

// Rectangles, ellipses and rounded rectangles, and the older shape class.
void RegisterShapeKinds()
{
    {
        ObjectKind kind;
        kind.className = TQLabelShapes::StaticClassName();
        kind.factory = &TQLabelShapes::Create;
        kind.selectionTip = QStringLiteral("Shape selected: right-click it for its outline and fill colours and styles.");
        ObjectKinds::Register(std::move(kind));
    }
    {
        ObjectKind kind;
        kind.className = TBCShapes::StaticClassName();
        kind.factory = &TBCShapes::Create;
        kind.selectionTip = QStringLiteral("Shape selected: right-click it for its outline and fill colours and styles.");
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawRectanglebutton");
            t.icon = QStringLiteral("rectangle");
            t.noun = QStringLiteral("Rectangle");
            t.hint = QStringLiteral("A rectangle");
            t.whatsThis = QStringLiteral("Rectangle tool: drag on the card to draw a rectangle.");
            t.assistantTip = QStringLiteral("drag on the card from one corner of the rectangle to the other.");
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TBCShapes::CreateForTool(at.owner, ShapeType::Rectangle); };
            kind.tools.push_back(t);
        }
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawEllipseButton");
            t.icon = QStringLiteral("ellipse");
            t.noun = QStringLiteral("Ellipse");
            t.hint = QStringLiteral("An ellipse or circle");
            t.whatsThis = QStringLiteral("Ellipse tool: drag on the card to draw an ellipse or a circle.");
            t.assistantTip = QStringLiteral("drag on the card; the ellipse fills the box you drag.");
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TBCShapes::CreateForTool(at.owner, ShapeType::Ellipse); };
            kind.tools.push_back(t);
        }
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawRoundrectbutton");
            t.icon = QStringLiteral("roundrect");
            t.noun = QStringLiteral("Round Rectangle");
            t.hint = QStringLiteral("A rectangle with rounded corners");
            t.whatsThis = QStringLiteral("Round Rectangle tool: drag on the card to draw a rectangle with rounded corners.");
            t.assistantTip = QStringLiteral("drag on the card for a rectangle with rounded corners.");
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TBCShapes::CreateForTool(at.owner, ShapeType::RoundRect); };
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
