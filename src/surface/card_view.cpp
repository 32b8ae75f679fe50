#include "surface/card_view.h"
#include "surface/cursors.h"
#include "surface/card_edit.h"
#include "surface/panel_picture_intake.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/safe_file.h"
#include "objects/graphic_control.h"
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace cardora {

CardView::CardView(QWidget* parent, QObject* owner)
    : QWidget(parent), owner_(owner ? owner : this), handle_(*this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    clipFileName_ = ApplicationFolder() + "Clipbrd.tmp";
    tempFileName_ = ApplicationFolder() + "TempFile.tmp";
    for (int i = 0; i < 10; ++i)
        personalInfo_ << QString();
    personalRecord_ = PersonalRecord(personalInfo_);
    buildPanelMenu();
    new TPanelPictureIntake(*this);
}

const TFieldRecord* CardView::FieldValues() const
{
    if (fieldsAsTyped_)
        return nullptr;
    return record_ ? &*record_ : &personalRecord_;
}

void CardView::SetFieldRecord(std::optional<TFieldRecord> record)
{
    record_ = std::move(record);
    FieldValuesChangedForAll();
}

void CardView::SetFieldsShownAsTyped(bool typed)
{
    if (typed == fieldsAsTyped_)
        return;
    fieldsAsTyped_ = typed;
    FieldValuesChangedForAll();
}

void CardView::FieldValuesChangedForAll()
{
    for (TQGraphicControl* o : Objects())
        o->FieldValuesChanged();
    update();
}

CardView::~CardView()
{
    for (const QMetaObject::Connection& c : actionDestroyedConnections_)
        disconnect(c);
    // Objects belong to the owner; they must not call back into a dead panel.
    for (TQGraphicControl* o : Objects())
        o->SetParentPanel(nullptr);
    QFile::remove(clipFileName_);
    QFile::remove(tempFileName_);
}

void CardView::SetDrawOutline(bool v)
{
    drawOutline_ = v;
    update();
}

void CardView::SetShape(CardShape s)
{
    if (s == document_.Shape())
        return;
    document_.SetShape(s);
    update();
}

void CardView::SetGridSize(GridSpacing g)
{
    gridSize_ = g;
    const int step = g == GridSpacing::FourPixels ? 4 : 8;
    handle_.SetGridX(step);
    handle_.SetGridY(step);
    update();
}

void CardView::SetShowGrid(bool v)
{
    if (v == showGrid_)
        return;
    showGrid_ = v;
    update();
}

void CardView::SetSnapToGrid(bool v)
{
    snapToGrid_ = v;
    handle_.SetSnapToGrid(v);
    if (v) {
        const int step = gridSize_ == GridSpacing::FourPixels ? 4 : 8;
        handle_.SetGridX(step);
        handle_.SetGridY(step);
        handle_.SetSnapToGrid(true);
    }
}

void CardView::SetPanelSize(int width, int height)
{
    document_.SetSize(QSize(width, height));
    resize(Round(width * zoom_), Round(height * zoom_));
    update();
}

void CardView::SetBleed(double pixels)
{
    document_.SetBleed(pixels);
    update();
}

int CardView::BleedInCardPixels() const
{
    const double bleed = document_.Bleed();
    return bleed > 0 ? int(std::ceil(bleed - 0.01)) : 0;
}

namespace {
// Zooms are single-precision (1.3 is 1.2999999523): a product that should be
// whole must not fall just below it.
constexpr double kSlack = 1e-4;
int below(double v) { return int(std::floor(v + kSlack)); }
int above(double v) { return int(std::ceil(v - kSlack)); }
} // namespace

QPoint CardView::CardPoint(const QPointF& w) const
{
    return QPoint(below(w.x() / zoom_), below(w.y() / zoom_));
}

QPoint CardView::ShownPoint(const QPoint& c) const
{
    return QPoint(int(std::lround(c.x() * double(zoom_))), int(std::lround(c.y() * double(zoom_))));
}

QRect CardView::ShownRect(const QRect& r) const
{
    if (zoom_ == 1.0f || r.isNull())
        return r;
    const double z = zoom_;
    const int l = below(r.left() * z), t = below(r.top() * z);
    const int rt = above((r.left() + r.width()) * z), b = above((r.top() + r.height()) * z);
    return QRect(l, t, rt - l, b - t);
}

QRect CardView::CardRect(const QRect& r) const
{
    if (zoom_ == 1.0f)
        return r;
    const double z = zoom_;
    const int l = below(r.left() / z), t = below(r.top() / z);
    const int rt = above((r.left() + r.width()) / z), b = above((r.top() + r.height()) / z);
    return QRect(l, t, rt - l, b - t);
}

void CardView::UpdateCardRect(const QRect& r)
{
    // Text and lines drawn smoothly may spill a pixel past their box.
    update(ShownRect(r).adjusted(-1, -1, 1, 1));
}

int CardView::BleedAtZoom() const
{
    const double bleed = document_.Bleed();
    return bleed > 0 ? int(std::ceil(bleed * zoom_ - 0.01)) : 0;
}

void CardView::SetGuides(bool show, double safePixels)
{
    showGuides_ = show;
    safePixels_ = std::max(0.0, safePixels);
    update();
}

// ---------------------------------------------------------------- objects

void CardView::AddObject(TQGraphicControl* o)
{
    if (!document_.Add(o))
        return;
    o->SetParentPanel(this);
    QObject::connect(o, &QObject::destroyed, this, [this, o] { removeObject(o); });
    o->Invalidate();
}

void CardView::removeObject(TQGraphicControl* o)
{
    handle_.Forget(o);
    if (mouseTarget_ == o)
        mouseTarget_ = nullptr;
    document_.Remove(o);
    update();
}

void CardView::FreeObject(TQGraphicControl* o)
{
    if (!o)
        return;
    o->disconnect(this);
    removeObject(o);
    try {
        delete o;
    } catch (...) {
    }
}

void CardView::HookObject(TQGraphicControl* o)
{
    // Mouse events reach objects through the panel's routing; hooking only
    // makes sure the object sits on this panel.
    if (o && o->ParentPanel() != this)
        AddObject(o);
}

void CardView::RehookObjects()
{
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it) {
        HookObject(*it);
    }
}

TQGraphicControl* CardView::objectAt(const QPoint& p) const
{
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it)
        if ((*it)->HitTest(p))
            return *it;
    return nullptr;
}

void CardView::BringToFront(TQGraphicControl* o)
{
    if (document_.BringToFront(o))
        o->Invalidate();
}

void CardView::SendToBack(TQGraphicControl* o)
{
    if (document_.SendToBack(o))
        o->Invalidate();
}

void CardView::ClearObjects()
{
    handle_.ClearSelection();
    while (!Objects().empty())
        FreeObject(Objects().back());
}

void CardView::RemoveOffCardObjects()
{
    // The selection keeps what stays; freeing an object drops it from there.
    const std::vector<TQGraphicControl*> all = Objects();
    // Only what shows nothing: an object with any part on the card, or in
    // the bleed a print shop prints and trims away, stays.
    const QRect card = document_.RectWithBleed();
    for (TQGraphicControl* o : all)
        if (o->Width() < 1 || o->Height() < 1 || !card.intersects(o->BoundsRect()))
            FreeObject(o);
}

QString CardView::UniqueName(const QString& stem) const
{
    const QObjectList& owned = owner_->children();
    for (int n = 1; n <= 1000; ++n) {
        const QString name = stem + QString::number(n);
        bool taken = false;
        for (const QObject* c : owned)
            if (c->objectName().compare(name, Qt::CaseInsensitive) == 0) {
                taken = true;
                break;
            }
        if (!taken)
            return name;
    }
    return QString();
}

void CardView::PlaceNewObject(TQGraphicControl* o, const QRect& r)
{
    o->SetVisible(false);
    AddObject(o);
    o->SetName(UniqueName("Special"));
    o->SetBounds(r.left(), r.top(), std::max(10, r.width()), std::max(15, r.height()));
    HookObject(o);
    o->SetVisible(true);
    FireLabelChanged();
    ProcessPendingEvents();
}

void CardView::CreateObjectForRect(QRect&) {}

bool CardView::LoadColorPicture(const QString& path)
{
    // The path comes from a sidecar file; a FIFO or device there would block.
    if (!CheckInputFile(path).isEmpty()) {
        document_.ColorArt().Clear();
        update();
        return false;
    }
    const bool ok = document_.ColorArt().LoadFromFile(path);
    update();
    return ok;
}

void CardView::ClearColorPicture()
{
    document_.ColorArt().Clear();
    update();
}

// ---------------------------------------------------------------- zoom and changes

void CardView::SetZoom(float z)
{
    if (z == zoom_ || !(z > 0.0f))
        return;
    zooming_ = true;
    if (zoom_ == 0.0f)
        zoom_ = 1.0f;
    // The panel follows the card size itself, so zooming in and out again
    // always comes back to the card's true size.
    if (document_.Size().isEmpty())
        document_.SetSize(QSize(Round(width() / zoom_), Round(height() / zoom_)));
    // Only the view changes: objects keep their card geometry and the panel
    // paints them through its transform.
    resize(Round(document_.Size().width() * z), Round(document_.Size().height() * z));
    zoom_ = z;
    handle_.RefitToSelection();
    update();
    ProcessPendingEvents();
    zooming_ = false;
}

void CardView::FireLabelChanged()
{
    if (zooming_)
        return;
    if (changesHeld_ > 0) {
        changeWaiting_ = true;
        return;
    }
    if (LabelChangedEvent)
        LabelChangedEvent(this);
}

void CardView::HeldChanges::Release()
{
    if (released_)
        return;
    released_ = true;
    if (--panel_.changesHeld_ == 0 && panel_.changeWaiting_) {
        panel_.changeWaiting_ = false;
        panel_.FireLabelChanged();
    }
}

void CardView::PostSyncSelectionHandles()
{
    if (syncPosted_)
        return;
    syncPosted_ = true;
    QMetaObject::invokeMethod(this, [this] { syncHandles(); }, Qt::QueuedConnection);
}

void CardView::syncHandles()
{
    syncPosted_ = false;
    handle_.RefitToSelection();
}

void CardView::ProcessPendingEvents() { QCoreApplication::processEvents(); }

// ---------------------------------------------------------------- selection

bool CardView::IsSelected(const TQGraphicControl* o) const { return handle_.IndexOfSelected(o) >= 0; }
void CardView::AddToSelection(TQGraphicControl* o) { handle_.Select(o); }
void CardView::RemoveFromSelection(TQGraphicControl* o) { handle_.Unselect(o); }
void CardView::ClearSelection() { handle_.ClearSelection(); }

TColor CardView::MarkerColor(bool single) const
{
    return single ? handle_.Color() : handle_.SecondaryColor();
}

void CardView::SelectInRect(const QRect& r)
{
    const bool shift = (eventModifiers_ | QGuiApplication::keyboardModifiers()) & Qt::ShiftModifier;
    std::vector<TQGraphicControl*> list;
    if (shift)
        list = handle_.Selection();
    handle_.ClearSelection();
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it) {
        TQGraphicControl* o = *it;
        if (!o->BoundsRect().intersects(r))
            continue;
        auto found = std::find(list.begin(), list.end(), o);
        if (found != list.end() && shift)
            list.erase(found);
        else
            list.push_back(o);
    }
    for (TQGraphicControl* o : list)
        handle_.Select(o);
}

void CardView::SelectAll()
{
    if (!Objects().empty())
        handle_.ClearSelection();
    for (TQGraphicControl* o : Objects())
        handle_.Select(o);
}

// ---------------------------------------------------------------- commands

void CardView::KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (handle_.Visible() && (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down))
        handle_.KeyDown(key, modifiers);
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_C)
            SelectionCommand(CardCommand::Copy);
        else if (key == Qt::Key_V)
            RunSelectionCommand(CardCommand::Paste);
        else if (key == Qt::Key_X)
            RunSelectionCommand(CardCommand::Cut);
    } else if (key == Qt::Key_Delete) {
        RunSelectionCommand(CardCommand::Delete);
    }
}

void CardView::KeyUp(int key)
{
    if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down)
        handle_.KeyUp(key);
}

// ---------------------------------------------------------------- painting

QRegion CardView::ShapeRegion() const
{
    return CardDocument::ShapeRegion(document_.Shape(), QRect(0, 0, width() + 1, height() + 1));
}

void CardView::PaintBackground(QPainter& p, QRect area)
{
    const int w = width(), h = height();
    if (area.isNull())
        area = rect();
    p.fillRect(area & QRect(0, 0, w, h), Qt::white);
    const QRegion shapeRegion = ShapeRegion();
    for (const TPicture* pic : { &document_.Art(), &document_.ColorArt() }) {
        if (!pic->HasGraphic())
            continue;
        p.save();
        p.setClipRegion(shapeRegion, Qt::IntersectClip);
        pic->DrawCached(p, QRect(0, 0, w, h));
        p.restore();
    }
    if (drawOutline_) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        const QRect outline(0, 0, w - 1, h - 1);
        if (document_.Shape() == CardShape::Rectangle)
            p.drawRect(outline);
        else if (document_.Shape() == CardShape::RoundRect)
            p.drawRoundedRect(outline, 12, 12);
        else
            p.drawEllipse(outline);
        p.restore();
    }
    if (showGrid_) {
        // Dark-green dots ANDed into what is there, every 4 (or 8) card
        // pixels at 2 mod step, one screen pixel each at any zoom.
        const int step = gridSize_ == GridSpacing::FourPixels ? 4 : 8;
        const QRect cards = CardRect(area);
        p.save();
        p.setClipRegion(shapeRegion, Qt::IntersectClip);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        const QColor green(0x00, 0x80, 0x00);
        auto first = [step](int from) { return from <= 2 ? 2 : 2 + ((from - 2 + step - 1) / step) * step; };
        for (int y = first(cards.top()); y <= cards.bottom() + 1; y += step) {
            const int sy = ShownPoint(QPoint(0, y)).y();
            if (sy >= h)
                break;
            for (int x = first(cards.left()); x <= cards.right() + 1; x += step) {
                const int sx = ShownPoint(QPoint(x, 0)).x();
                if (sx >= w)
                    break;
                p.fillRect(QRect(sx, sy, 1, 1), green);
            }
        }
        p.restore();
    }
}

void CardView::paintEvent(QPaintEvent* event)
{
    const qreal dpr = devicePixelRatioF();
    QRegion dirty = event->region();
    if (buffer_.size() != size() * dpr || buffer_.devicePixelRatio() != dpr) {
        buffer_ = QImage(size() * dpr, QImage::Format_RGB32);
        buffer_.setDevicePixelRatio(dpr);
        dirty = rect();
    }
    const QRect area = dirty.boundingRect() & rect();
    {
        QPainter p(&buffer_);
        p.setClipRegion(dirty);
        PaintBackground(p, area);
        // Only objects reaching into what is repainted draw; they draw in
        // card pixels through the view's scale.
        const QRect cardArea = CardRect(area).adjusted(-2, -2, 2, 2);
        currentCanvas_ = nullptr;
        p.save();
        p.scale(zoom_, zoom_);
        for (TQGraphicControl* o : Objects())
            if (o->BoundsRect().intersects(cardArea))
                o->PaintOnPanel(p);
        p.restore();
        // The selection's markers go on top of everything, so objects in
        // front never hide them; they keep their size at every zoom.
        for (TQGraphicControl* o : handle_.Selection())
            o->PaintSelectionMarkers(p);
        if (showGuides_)
            paintGuides(p);
        p.save();
        p.scale(zoom_, zoom_);
        handle_.PaintOutlines(p);
        if (bandActive_) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.setPen(QPen(Qt::white, 0, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(bandStart_, bandEnd_).normalized());
        }
        p.restore();
    }
    QPainter w(this);
    w.setClipRegion(dirty);
    w.drawImage(0, 0, buffer_);
    if (Repainted)
        Repainted();
}

void CardView::paintGuides(QPainter& p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    // The trim line: where the shop cuts.
    p.setPen(QPen(QColor(0, 160, 220), 0));
    p.drawRect(QRect(0, 0, width() - 1, height() - 1));
    // The safe area: text stays inside it.
    const int inset = int(std::lround(safePixels_ * zoom_));
    if (inset > 0 && 2 * inset < width() && 2 * inset < height()) {
        p.setPen(QPen(QColor(0, 170, 0), 0, Qt::DashLine));
        p.drawRect(QRect(inset, inset, width() - 1 - 2 * inset, height() - 1 - 2 * inset));
    }
    p.restore();
}

// ---------------------------------------------------------------- mouse

void CardView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = CardPoint(event->position());
    const QPoint global = event->globalPosition().toPoint();
    mouseTarget_ = nullptr;
    if (handle_.Visible() && handle_.Bounds().contains(p)) {
        handle_.MouseDown(event->button(), event->modifiers(), p - handle_.Bounds().topLeft(), global);
        return;
    }
    if (TQGraphicControl* o = objectAt(p)) {
        mouseTarget_ = o;
        ObjectMouseDown(o, event->button(), event->modifiers(), p, global);
        return;
    }
    PanelMouseDown(event->button(), p, global);
}

void CardView::ForwardMouseDown(Qt::MouseButton button, const QPoint& p, const QPoint& global)
{
    if (TQGraphicControl* o = objectAt(p)) {
        mouseTarget_ = o;
        ObjectMouseDown(o, button, {}, p, global);
        return;
    }
    PanelMouseDown(button, p, global);
}

void CardView::ForwardMouseUp(const QPoint& p)
{
    PanelMouseUp(p);
    mouseTarget_ = nullptr;
}

void CardView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = CardPoint(event->position());
    if (bandActive_) {
        PanelMouseMove(p);
        return;
    }
    if (handle_.Visible() && (handle_.Capturing() || handle_.Bounds().contains(p))) {
        handle_.MouseMove(event->buttons(), event->modifiers(), p - handle_.Bounds().topLeft());
        return;
    }
    if (pointing_ && objectAt(p))
        setCursor(PointCursor());
    else if (!event->buttons())
        setCursor(pointing_ ? QCursor(Qt::ArrowCursor) : DragCursor());
    PanelMouseMove(p);
}

void CardView::mouseReleaseEvent(QMouseEvent* event)
{
    eventModifiers_ = event->modifiers();
    const QPoint p = CardPoint(event->position());
    if (!bandActive_ && handle_.Visible() && (handle_.Capturing() || handle_.Bounds().contains(p))) {
        handle_.MouseUp(event->button(), event->modifiers(), p - handle_.Bounds().topLeft());
        mouseTarget_ = nullptr;
        return;
    }
    PanelMouseUp(p);
    mouseTarget_ = nullptr;
}

void CardView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || !ZoomStepRequested || event->angleDelta().y() == 0) {
        event->ignore(); // the scroll box scrolls
        return;
    }
    ZoomStepRequested(event->angleDelta().y() > 0 ? 1 : -1);
    event->accept();
}

void CardView::leaveEvent(QEvent*)
{
    if (handle_.Visible())
        handle_.MouseLeave();
}

void CardView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = CardPoint(event->position());
    const QPoint global = event->globalPosition().toPoint();
    if (handle_.Visible() && handle_.Bounds().contains(p)) {
        handle_.DoubleClick(global);
        ObjectDblClick(nullptr, true, global);
        return;
    }
    if (TQGraphicControl* o = objectAt(p)) {
        ObjectDblClick(o, false, global);
        return;
    }
    if (OnDblClick)
        OnDblClick(this);
}

void CardView::PanelMouseDown(Qt::MouseButton button, const QPoint& p, const QPoint& global)
{
    bandStart_ = bandEnd_ = p;
    if (button != Qt::LeftButton) {
        if (panelMenu_)
            panelMenu_->popup(global);
        return;
    }
    bandActive_ = true;
    setCursor(PointCursor());
}

void CardView::PanelMouseMove(const QPoint& p)
{
    if (!bandActive_)
        return;
    setCursor(PointCursor());
    UpdateCardRect(QRect(bandStart_, bandEnd_).normalized().adjusted(-1, -1, 1, 1));
    bandEnd_ = p;
    UpdateCardRect(QRect(bandStart_, bandEnd_).normalized().adjusted(-1, -1, 1, 1));
}

void CardView::PanelMouseUp(const QPoint& p)
{
    if (!bandActive_)
        return;
    int left = bandStart_.x(), top = bandStart_.y();
    int right = p.x(), bottom = p.y();
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    QRect r(left, top, right - left, bottom - top);
    // The band goes; the selection repaints what it changes.
    UpdateCardRect(QRect(bandStart_, bandEnd_).normalized().adjusted(-1, -1, 1, 1));
    bandActive_ = false;
    if (pointing_) {
        SelectInRect(r);
    } else {
        CreateObjectForRect(r);
        if (DroppedObjectEvent)
            DroppedObjectEvent(r);
    }
    if (pointing_)
        setCursor(Qt::ArrowCursor);
}

void CardView::ObjectMouseDown(TQGraphicControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
    const QPoint& p, const QPoint& global)
{
    if (!pointing_ || sender->Unselectable()) {
        mouseTarget_ = nullptr;
        PanelMouseDown(button, p, global);
        return;
    }
    if (!(shift & Qt::ShiftModifier))
        handle_.ClearSelection();
    handle_.Select(sender);
    if (handle_.SelectedCount() == 1 && button == Qt::RightButton)
        sender->ShowMenuAt(global);
}

void CardView::ObjectDblClick(TQGraphicControl* sender, bool fromHandle, const QPoint& global)
{
    const QPoint p = CardPoint(mapFromGlobal(QPointF(global)));
    if (fromHandle) {
        if (handle_.SelectedCount() > 1)
            return;
        TQGraphicControl* o = handle_.SelectedObjectAt(p);
        if (o && o->DoubleClickAction) {
            BeginEdit();
            o->DoubleClickAction(this);
            EndEdit("Properties");
        } else if (o)
            o->ShowMenuAt(global);
    } else if (sender) {
        sender->ShowMenuAt(global);
    }
}

void CardView::HandleMouseDown(const QPoint& p, Qt::KeyboardModifiers shift)
{
    if (!pointing_) {
        PanelMouseDown(Qt::LeftButton, p, mapToGlobal(ShownPoint(p)));
        return;
    }
    if (!(shift & Qt::ShiftModifier))
        return;
    std::vector<TQGraphicControl*> list = handle_.Selection();
    handle_.ClearSelection();
    ProcessPendingEvents();
    list.erase(std::remove_if(list.begin(), list.end(),
                   [&](TQGraphicControl* o) { return o->BoundsRect().contains(p); }),
        list.end());
    for (TQGraphicControl* o : list)
        handle_.Select(o);
}

} // namespace cardora
