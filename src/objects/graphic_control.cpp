#include "objects/graphic_control.h"
#include "core/fields.h"
#include "core/rounding.h"
#include "report/report.h"
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPicture>

namespace cardora {

TQGraphicControl::TQGraphicControl(QObject* owner) : QObject(owner)
{
    font_.OnChange = [this] {
        parentFont_ = false;
        Invalidate();
        if (!loading_)
            NotifyChanged();
    };
}

TQGraphicControl::~TQGraphicControl() = default;

QString TQGraphicControl::WithFields(const QString& typed) const
{
    const TFieldRecord* values = parent_ ? parent_->FieldValues() : nullptr;
    return values ? ExpandFields(typed, *values) : typed;
}

void TQGraphicControl::SetParentPanel(CardObjectParent* parent)
{
    if (parent_ == parent)
        return;
    if (parent_)
        parent_->InvalidateRect(bounds_.adjusted(-2, -2, 2, 2));
    parent_ = parent;
    if (parent_ && parentFont_) {
        // Taking the parent's font is not a change of our own.
        auto keep = font_.OnChange;
        font_.OnChange = nullptr;
        font_.Assign(parent_->DefaultFont());
        font_.OnChange = keep;
    }
    Invalidate();
}

void TQGraphicControl::SetLocked(bool v)
{
    if (v == locked_)
        return;
    locked_ = v;
    if (loading_)
        return;
    try {
        if (lockedItem_)
            lockedItem_->setChecked(v);
        NotifyChanged();
    } catch (...) {
    }
}

void TQGraphicControl::SetUnselectable(bool v)
{
    if (v == unselectable_)
        return;
    unselectable_ = v;
    if (loading_)
        return;
    try {
        NotifyChanged();
        if (v && parent_)
            parent_->RemoveFromSelection(this);
    } catch (...) {
    }
}

const PropertyTable& TQGraphicControl::Properties() const
{
    static const PropertyTable t = [] {
        using T = TQGraphicControl;
        PropertyTable p;
        p.push_back(IntegerProp<T, int>("Tag", 0, &T::Tag, &T::SetTag));
        p.push_back(IntegerProp<T, int>("Left", std::nullopt, &T::Left, &T::SetBoxLeft));
        p.push_back(IntegerProp<T, int>("Top", std::nullopt, &T::Top, &T::SetBoxTop));
        p.push_back(IntegerProp<T, int>("Width", std::nullopt, &T::Width, &T::SetBoxWidth));
        p.push_back(IntegerProp<T, int>("Height", std::nullopt, &T::Height, &T::SetBoxHeight));
        p.push_back(OrdinalProp<T, int>(PropKind::Cursor, "Cursor", 0, &T::Cursor, &T::SetCursor));
        p.push_back(TextProp<T>("Hint", &T::Hint, &T::SetHint));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Locked", std::nullopt, &T::Locked, &T::SetLocked));
        p.push_back(OrdinalProp<T, bool>(PropKind::Boolean, "Unselectable", std::nullopt, &T::Unselectable,
            &T::SetUnselectable));
        return p;
    }();
    return t;
}

void TQGraphicControl::PropertyRead(const QString& path)
{
    if (path.startsWith("Font.", Qt::CaseInsensitive))
        parentFont_ = false;
}

void TQGraphicControl::SetBounds(int left, int top, int width, int height)
{
    // Values from a damaged file are bounded before QRect adds them up.
    showBounds(BoundedRect(left, top, width, height));
}

void TQGraphicControl::SetBox(const QRect& r) { showBounds(r); }

void TQGraphicControl::FitBox(const std::function<QSize(QSize box)>& fit)
{
    const QSize needed = fit(bounds_.size());
    if (needed != bounds_.size())
        SetBox(QRect(bounds_.topLeft(), needed));
}

void TQGraphicControl::showBounds(const QRect& r)
{
    if (r == bounds_)
        return;
    const QRect old = bounds_;
    bounds_ = r;
    if (parent_) {
        parent_->InvalidateRect(old.adjusted(-2, -2, 2, 2));
        parent_->InvalidateRect(r.adjusted(-2, -2, 2, 2));
    }
    if (!loading_)
        BoundsChanged();
}

bool TQGraphicControl::HitTest(const QPoint& p) const { return visible_ && bounds_.contains(p); }

void TQGraphicControl::SetVisible(bool v)
{
    if (v == visible_)
        return;
    visible_ = v;
    Invalidate();
}

void TQGraphicControl::PrintBoxPicture(TReport& report, double x, double y, double ppi, const QPicture& picture) const
{
    const QRect target = report.InchRectToDevice(x + Left() / ppi, y + Top() / ppi, x + (Left() + Width()) / ppi,
        y + (Top() + Height()) / ppi);
    report.StretchDrawGraphic(target, picture, QRectF(0, 0, Width(), Height()));
}

namespace {
quint64 g_printJob = 0; // 0: no job
quint64 g_lastPrintJob = 0;
} // namespace

quint64 TQGraphicControl::BeginPrintJob()
{
    const quint64 previous = g_printJob;
    g_printJob = ++g_lastPrintJob;
    return previous;
}

void TQGraphicControl::EndPrintJob(quint64 previous) { g_printJob = previous; }

void TQGraphicControl::PrintBoxPicture(TReport& report, double x, double y, double ppi, const QString& shown,
    const std::function<std::unique_ptr<QPicture>()>& make)
{
    if (g_printJob == 0) {
        PrintBoxPicture(report, x, y, ppi, *make());
        return;
    }
    if (!printPicture_ || printJob_ != g_printJob || printShown_ != shown) {
        printPicture_ = make();
        printJob_ = g_printJob;
        printShown_ = shown;
    }
    PrintBoxPicture(report, x, y, ppi, *printPicture_);
}

void TQGraphicControl::TakeFont(const FontChoice& choice)
{
    font_.AssignQFont(choice.font);
    if (choice.color.isValid())
        font_.SetColor(FromQColor(choice.color));
    parentFont_ = false;
}

bool TQGraphicControl::ChooseOwnFont()
{
    const std::optional<FontChoice> chosen = ChooseFontWithColor(font_.ToPointFont(), ToQColor(font_.Color()));
    if (!chosen)
        return false;
    TakeFont(*chosen);
    return true;
}

void TQGraphicControl::Loaded() {}

void TQGraphicControl::BoundsChanged()
{
    if (inBoundsCheck_)
        return;
    inBoundsCheck_ = true;
    const bool unset = lastBounds_.left() == 0 && lastBounds_.top() == 0 && lastBounds_.width() == 0
        && lastBounds_.height() == 0;
    if (unset) {
        lastBounds_ = bounds_;
    } else if (bounds_ != lastBounds_) {
        NotifyChanged();
        lastBounds_ = bounds_;
        SyncSelectionHandles();
    }
    inBoundsCheck_ = false;
}

void TQGraphicControl::Paint() { DrawSelectionMarkers(); }

void TQGraphicControl::NotifyChanged()
{
    if (parent_ && !parent_->IsPrinting())
        parent_->FireLabelChanged();
}

void TQGraphicControl::SyncSelectionHandles()
{
    if (parent_)
        parent_->PostSyncSelectionHandles();
}

void TQGraphicControl::PaintTo(QPainter& canvas, int x, int y)
{
    QPainter* const saved = canvas_;
    const bool savedOnPanel = onPanel_;
    PrepareToDraw();
    canvas.save();
    canvas_ = &canvas;
    onPanel_ = false;
    canvas.translate(x, y);
    // Kept inside its box, as on the panel.
    canvas.setClipRect(QRect(0, 0, Width(), Height()), Qt::IntersectClip);
    canvas.setFont(font_.ToQFont());
    try {
        Paint();
    } catch (...) {
    }
    canvas.restore();
    canvas_ = saved;
    onPanel_ = savedOnPanel;
}

void TQGraphicControl::PaintOnPanel(QPainter& panelCanvas)
{
    if (!visible_)
        return;
    PrepareToDraw();
    panelCanvas.save();
    panelCanvas.translate(Left(), Top());
    panelCanvas.setClipRect(QRect(0, 0, Width(), Height()), Qt::IntersectClip);
    panelCanvas.setFont(font_.ToQFont());
    canvas_ = &panelCanvas;
    onPanel_ = true;
    try {
        Paint();
    } catch (...) {
    }
    canvas_ = nullptr;
    onPanel_ = false;
    panelCanvas.restore();
}

void TQGraphicControl::DrawMarkers(QPainter& p, const QRect& b, bool single, TColor color)
{
    // Bounds as Left/Top/Right/Bottom with exclusive right and bottom.
    const int l = b.left() - 2, t = b.top() - 2;
    const int r = b.left() + b.width() + 2, bt = b.top() + b.height() + 2;
    const QColor c = ToQColor(color);
    auto square = [&](int x1, int y1, int x2, int y2) { p.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), c); };
    square(l, t, l + 5, t + 5);
    square(r - 5, t, r, t + 5);
    square(r - 5, bt - 5, r, bt);
    square(l, bt - 5, l + 5, bt);
    if (single) {
        const int mx = l + (r - l) / 2;
        const int my = t + (bt - t) / 2;
        square(mx - 2, t, mx + 3, t + 5);
        square(mx - 2, bt - 5, mx + 3, bt);
        square(l, my - 2, l + 5, my + 3);
        square(r - 5, my - 2, r, my + 3);
    }
}

void TQGraphicControl::DrawSelectionMarkers()
{
    if (!parent_ || !onPanel_ || !parent_->IsSelected(this))
        return;
    QPainter* p = parent_->PanelCanvas();
    if (!p)
        return;
    const bool single = parent_->SelectionCount() == 1;
    p->save();
    p->resetTransform();
    p->setClipping(false);
    DrawMarkers(*p, parent_->ShownRect(bounds_), single, parent_->MarkerColor(single));
    p->restore();
}

void TQGraphicControl::PaintSelectionMarkers(QPainter& p)
{
    if (!parent_ || !visible_ || !parent_->IsSelected(this))
        return;
    const bool single = parent_->SelectionCount() == 1;
    p.save();
    p.resetTransform();
    p.setClipping(false);
    DrawMarkers(p, parent_->ShownRect(bounds_), single, parent_->MarkerColor(single));
    p.restore();
}

void TQGraphicControl::Invalidate()
{
    if (parent_)
        parent_->InvalidateRect(bounds_.adjusted(-2, -2, 2, 2));
}

void TQGraphicControl::buildMenu()
{
    menu_ = std::make_unique<QMenu>();
    QMenu& m = *menu_;
    QObject::connect(m.addAction("Bring To Front"), &QAction::triggered, this, [this] {
        NotifyChanged();
        if (parent_)
            parent_->BringToFront(this);
    });
    QObject::connect(m.addAction("Send To Back"), &QAction::triggered, this, [this] {
        NotifyChanged();
        if (parent_) {
            parent_->SendToBack(this);
            parent_->ClearSelection();
        }
    });
    QObject::connect(m.addAction("Cut"), &QAction::triggered, this, [this] {
        NotifyChanged();
        if (parent_)
            parent_->ObjectCommand(this, CardCommand::Cut);
    });
    QObject::connect(m.addAction("Copy"), &QAction::triggered, this, [this] {
        if (parent_)
            parent_->ObjectCommand(this, CardCommand::Copy);
    });
    QObject::connect(m.addAction("Delete"), &QAction::triggered, this, [this] {
        NotifyChanged();
        if (parent_)
            parent_->ObjectCommand(this, CardCommand::Delete);
    });
    QObject::connect(m.addAction("Clone"), &QAction::triggered, this, [this] { Clone(); });
    m.addSeparator();
    lockedItem_ = m.addAction("Locked");
    lockedItem_->setCheckable(true);
    lockedItem_->setChecked(locked_);
    QObject::connect(lockedItem_, &QAction::triggered, this, [this] {
        locked_ = !locked_;
        lockedItem_->setChecked(locked_);
        NotifyChanged();
    });
    QObject::connect(m.addAction("Unselectable"), &QAction::triggered, this, [this] {
        SetUnselectable(true);
        NotifyChanged();
        if (parent_)
            parent_->RemoveFromSelection(this);
    });
    m.addSeparator();
    QObject::connect(m.addAction("Center Vertically"), &QAction::triggered, this, [this] { CenterVertically(); });
    QObject::connect(m.addAction("Center Horizontally"), &QAction::triggered, this, [this] {
        CenterHorizontally();
    });
    AddMenuItems(m);
    QObject::connect(&m, &QMenu::aboutToShow, this, [this] {
        if (lockedItem_)
            lockedItem_->setChecked(locked_);
        PopupOpening();
    });
}

QMenu* TQGraphicControl::ObjectMenu()
{
    // Built on first use: card files are often read only to be printed.
    if (!menu_)
        buildMenu();
    if (parent_)
        parent_->WatchMenu(menu_.get());
    return menu_.get();
}

void TQGraphicControl::ShowMenuAt(const QPoint& globalPos) { ObjectMenu()->popup(globalPos); }

QString TQGraphicControl::TrimSpaces(const QString& text)
{
    int b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return text.mid(b, e - b);
}

void TQGraphicControl::Clone()
{
    if (!parent_)
        return;
    CardObjectParent* panel = parent_;
    TQGraphicControl* copy = panel->DuplicateObject(this);
    panel->ProcessPendingEvents();
    if (!copy)
        return;
    copy->SetTop(Top() + 25);
    panel->BringToFront(copy);
    panel->RehookObjects();
    // The copy is what the next command acts on.
    panel->ClearSelection();
    panel->AddToSelection(copy);
    NotifyChanged();
}

void TQGraphicControl::CenterVertically()
{
    if (!parent_)
        return;
    SetTop(parent_->PanelSize().height() / 2 - Height() / 2);
    NotifyChanged();
    parent_->ProcessPendingEvents();
    parent_->RepaintPanel();
}

void TQGraphicControl::CenterHorizontally()
{
    if (!parent_)
        return;
    SetLeft(parent_->PanelSize().width() / 2 - Width() / 2);
    NotifyChanged();
    parent_->ProcessPendingEvents();
    parent_->RepaintPanel();
}

} // namespace cardora
