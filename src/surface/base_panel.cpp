#include "surface/base_panel.h"
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
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace cardora {

TQBasePanel::TQBasePanel(QWidget* parent, QObject* owner)
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

const TFieldRecord* TQBasePanel::FieldValues() const
{
    if (fieldsAsTyped_)
        return nullptr;
    return record_ ? &*record_ : &personalRecord_;
}

void TQBasePanel::SetFieldRecord(std::optional<TFieldRecord> record)
{
    record_ = std::move(record);
    FieldValuesChangedForAll();
}

void TQBasePanel::SetFieldsShownAsTyped(bool typed)
{
    if (typed == fieldsAsTyped_)
        return;
    fieldsAsTyped_ = typed;
    FieldValuesChangedForAll();
}

void TQBasePanel::FieldValuesChangedForAll()
{
    for (TQGraphicControl* o : Objects())
        o->FieldValuesChanged();
    update();
}

TQBasePanel::~TQBasePanel()
{
    for (const QMetaObject::Connection& c : actionDestroyedConnections_)
        disconnect(c);
    // Objects belong to the owner; they must not call back into a dead panel.
    for (TQGraphicControl* o : Objects())
        o->SetParentPanel(nullptr);
    QFile::remove(clipFileName_);
    QFile::remove(tempFileName_);
}

void TQBasePanel::SetDrawOutline(bool v)
{
    drawOutline_ = v;
    update();
}

void TQBasePanel::SetShape(TLabelShapeType s)
{
    if (s == document_.Shape())
        return;
    document_.SetShape(s);
    update();
}

void TQBasePanel::SetGridSize(TGridSize g)
{
    gridSize_ = g;
    const int step = g == gs4x4 ? 4 : 8;
    handle_.SetGridX(step);
    handle_.SetGridY(step);
    update();
}

void TQBasePanel::SetShowGrid(bool v)
{
    if (v == showGrid_)
        return;
    showGrid_ = v;
    update();
}

void TQBasePanel::SetSnapToGrid(bool v)
{
    snapToGrid_ = v;
    handle_.SetSnapToGrid(v);
    if (v) {
        const int step = gridSize_ == gs4x4 ? 4 : 8;
        handle_.SetGridX(step);
        handle_.SetGridY(step);
        handle_.SetSnapToGrid(true);
    }
}

void TQBasePanel::SetPanelSize(int width, int height)
{
    document_.SetSize(QSize(width, height));
    resize(Round(width * zoom_), Round(height * zoom_));
    update();
}

void TQBasePanel::SetBleed(double pixels)
{
    document_.SetBleed(pixels);
    update();
}

int TQBasePanel::BleedAtZoom() const
{
    const double bleed = document_.Bleed();
    return bleed > 0 ? int(std::ceil(bleed * zoom_ - 0.01)) : 0;
}

void TQBasePanel::SetGuides(bool show, double safePixels)
{
    showGuides_ = show;
    safePixels_ = std::max(0.0, safePixels);
    update();
}

// ---------------------------------------------------------------- objects

void TQBasePanel::AddObject(TQGraphicControl* o)
{
    if (!document_.Add(o))
        return;
    o->SetParentPanel(this);
    QObject::connect(o, &QObject::destroyed, this, [this, o] { removeObject(o); });
    o->Invalidate();
}

void TQBasePanel::removeObject(TQGraphicControl* o)
{
    handle_.Forget(o);
    if (mouseTarget_ == o)
        mouseTarget_ = nullptr;
    document_.Remove(o);
    update();
}

void TQBasePanel::FreeObject(TQGraphicControl* o)
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

void TQBasePanel::HookObject(TQGraphicControl* o)
{
    // Mouse events reach objects through the panel's routing; hooking only
    // makes sure the object sits on this panel.
    if (o && o->ParentPanel() != this)
        AddObject(o);
}

void TQBasePanel::RehookObjects()
{
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it) {
        HookObject(*it);
        // Objects just read hold zoom-1 geometry.
        (*it)->SetZoom(zoom_);
    }
}

TQGraphicControl* TQBasePanel::objectAt(const QPoint& p) const
{
    for (auto it = Objects().rbegin(); it != Objects().rend(); ++it)
        if ((*it)->HitTest(p))
            return *it;
    return nullptr;
}

void TQBasePanel::BringToFront(TQGraphicControl* o)
{
    if (document_.BringToFront(o))
        o->Invalidate();
}

void TQBasePanel::SendToBack(TQGraphicControl* o)
{
    if (document_.SendToBack(o))
        o->Invalidate();
}

void TQBasePanel::ClearObjects()
{
    handle_.ClearSelection();
    while (!Objects().empty())
        FreeObject(Objects().back());
}

void TQBasePanel::RemoveOffCardObjects()
{
    // The selection keeps what stays; freeing an object drops it from there.
    const std::vector<TQGraphicControl*> all = Objects();
    // Only what shows nothing: an object with any part on the card, or in
    // the bleed a print shop prints and trims away, stays.
    const int b = BleedAtZoom();
    const QRect card(-b, -b, width() + 2 * b, height() + 2 * b);
    for (TQGraphicControl* o : all)
        if (o->Width() < 1 || o->Height() < 1 || !card.intersects(o->BoundsRect()))
            FreeObject(o);
}

QString TQBasePanel::UniqueName(const QString& stem) const
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

void TQBasePanel::PlaceNewObject(TQGraphicControl* o, const QRect& r)
{
    o->SetVisible(false);
    AddObject(o);
    o->SetName(UniqueName("Special"));
    o->SetBounds(r.left(), r.top(), std::max(10, r.width()), std::max(15, r.height()));
    HookObject(o);
    o->AssignZoom(zoom_);
    o->SetVisible(true);
    FireLabelChanged();
    ProcessPendingEvents();
}

void TQBasePanel::CreateObjectForRect(QRect&) {}

bool TQBasePanel::LoadColorPicture(const QString& path)
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

void TQBasePanel::ClearColorPicture()
{
    document_.ColorArt().Clear();
    update();
}

// ---------------------------------------------------------------- zoom and changes

void TQBasePanel::SetZoom(float z)
{
    if (z == zoom_)
        return;
    zooming_ = true;
    if (zoom_ == 0.0f)
        zoom_ = 1.0f;
    // The panel follows the card size itself, so zooming in and out again
    // always comes back to the card's true size.
    if (document_.Size().isEmpty())
        document_.SetSize(QSize(Round(width() / zoom_), Round(height() / zoom_)));
    resize(Round(document_.Size().width() * z), Round(document_.Size().height() * z));
    zoom_ = z;
    for (TQGraphicControl* o : Objects())
        o->SetZoom(z);
    ProcessPendingEvents();
    zooming_ = false;
}

void TQBasePanel::FireLabelChanged()
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

void TQBasePanel::HeldChanges::Release()
{
    if (released_)
        return;
    released_ = true;
    if (--panel_.changesHeld_ == 0 && panel_.changeWaiting_) {
        panel_.changeWaiting_ = false;
        panel_.FireLabelChanged();
    }
}

void TQBasePanel::PostSyncSelectionHandles()
{
    if (syncPosted_)
        return;
    syncPosted_ = true;
    QMetaObject::invokeMethod(this, [this] { syncHandles(); }, Qt::QueuedConnection);
}

void TQBasePanel::syncHandles()
{
    syncPosted_ = false;
    handle_.RefitToSelection();
}

void TQBasePanel::ProcessPendingEvents() { QCoreApplication::processEvents(); }

// ---------------------------------------------------------------- selection

bool TQBasePanel::IsSelected(const TQGraphicControl* o) const { return handle_.IndexOfSelected(o) >= 0; }
void TQBasePanel::AddToSelection(TQGraphicControl* o) { handle_.Select(o); }
void TQBasePanel::RemoveFromSelection(TQGraphicControl* o) { handle_.Unselect(o); }
void TQBasePanel::ClearSelection() { handle_.ClearSelection(); }

TColor TQBasePanel::MarkerColor(bool single) const
{
    return single ? handle_.Color() : handle_.SecondaryColor();
}

void TQBasePanel::SelectInRect(const QRect& r)
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

void TQBasePanel::SelectAll()
{
    if (!Objects().empty())
        handle_.ClearSelection();
    for (TQGraphicControl* o : Objects())
        handle_.Select(o);
}

// ---------------------------------------------------------------- commands

void TQBasePanel::KeyDown(int key, Qt::KeyboardModifiers modifiers)
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

void TQBasePanel::KeyUp(int key)
{
    if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down)
        handle_.KeyUp(key);
}

// ---------------------------------------------------------------- painting

QRegion TQBasePanel::ShapeRegion() const
{
    return CardDocument::ShapeRegion(document_.Shape(), QRect(0, 0, width() + 1, height() + 1));
}

void TQBasePanel::PaintBackground(QPainter& p)
{
    const int w = width(), h = height();
    p.fillRect(QRect(0, 0, w, h), Qt::white);
    const QRegion shapeRegion = ShapeRegion();
    for (const TPicture* pic : { &document_.Art(), &document_.ColorArt() }) {
        if (!pic->HasGraphic())
            continue;
        p.save();
        p.setClipRegion(shapeRegion);
        pic->DrawCached(p, QRect(0, 0, w, h));
        p.restore();
    }
    if (drawOutline_) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        const QRect outline(0, 0, w - 1, h - 1);
        if (document_.Shape() == lsRectangle)
            p.drawRect(outline);
        else if (document_.Shape() == lsRoundRect)
            p.drawRoundedRect(outline, 12, 12);
        else
            p.drawEllipse(outline);
        p.restore();
    }
    if (showGrid_) {
        // Dark-green dots ANDed into what is there, every 4 (or 8) pixels at 2 mod step.
        const int step = gridSize_ == gs4x4 ? 4 : 8;
        p.save();
        p.setClipRegion(shapeRegion);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        const QColor green(0x00, 0x80, 0x00);
        for (int y = 2; y < h; y += step)
            for (int x = 2; x < w; x += step)
                p.fillRect(QRect(x, y, 1, 1), green);
        p.restore();
    }
}

void TQBasePanel::paintEvent(QPaintEvent*)
{
    const qreal dpr = devicePixelRatioF();
    QImage image(QSize(width(), height()) * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    {
        QPainter p(&image);
        PaintBackground(p);
        // Objects paint without their markers; the markers of the selection
        // go on top of everything, so objects in front never hide them.
        currentCanvas_ = nullptr;
        for (TQGraphicControl* o : Objects())
            o->PaintOnPanel(p);
        for (TQGraphicControl* o : handle_.Selection())
            o->PaintSelectionMarkers(p);
        if (showGuides_)
            paintGuides(p);
        handle_.PaintOutlines(p);
        if (bandActive_) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.setPen(QPen(Qt::white, 0, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(bandStart_, bandEnd_).normalized());
        }
    }
    QPainter w(this);
    w.drawImage(0, 0, image);
    if (Repainted)
        Repainted();
}

void TQBasePanel::paintGuides(QPainter& p)
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

void TQBasePanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
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

void TQBasePanel::ForwardMouseDown(Qt::MouseButton button, const QPoint& p, const QPoint& global)
{
    if (TQGraphicControl* o = objectAt(p)) {
        mouseTarget_ = o;
        ObjectMouseDown(o, button, {}, p, global);
        return;
    }
    PanelMouseDown(button, p, global);
}

void TQBasePanel::ForwardMouseUp(const QPoint& p)
{
    PanelMouseUp(p);
    mouseTarget_ = nullptr;
}

void TQBasePanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
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

void TQBasePanel::mouseReleaseEvent(QMouseEvent* event)
{
    eventModifiers_ = event->modifiers();
    const QPoint p = event->position().toPoint();
    if (!bandActive_ && handle_.Visible() && (handle_.Capturing() || handle_.Bounds().contains(p))) {
        handle_.MouseUp(event->button(), event->modifiers(), p - handle_.Bounds().topLeft());
        mouseTarget_ = nullptr;
        return;
    }
    PanelMouseUp(p);
    mouseTarget_ = nullptr;
}

void TQBasePanel::leaveEvent(QEvent*)
{
    if (handle_.Visible())
        handle_.MouseLeave();
}

void TQBasePanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
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

void TQBasePanel::PanelMouseDown(Qt::MouseButton button, const QPoint& p, const QPoint& global)
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

void TQBasePanel::PanelMouseMove(const QPoint& p)
{
    if (!bandActive_)
        return;
    setCursor(PointCursor());
    update(QRect(bandStart_, bandEnd_).normalized().adjusted(-1, -1, 1, 1));
    bandEnd_ = p;
    update(QRect(bandStart_, bandEnd_).normalized().adjusted(-1, -1, 1, 1));
}

void TQBasePanel::PanelMouseUp(const QPoint& p)
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
    update();
    bandActive_ = false;
    if (pointing_) {
        SelectInRect(r);
        update();
    } else {
        CreateObjectForRect(r);
        if (DroppedObjectEvent)
            DroppedObjectEvent(r);
    }
    if (pointing_)
        setCursor(Qt::ArrowCursor);
}

void TQBasePanel::ObjectMouseDown(TQGraphicControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
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
    update();
    if (handle_.SelectedCount() == 1 && button == Qt::RightButton)
        sender->ShowMenuAt(global);
}

void TQBasePanel::ObjectDblClick(TQGraphicControl* sender, bool fromHandle, const QPoint& global)
{
    const QPoint p = mapFromGlobal(global);
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

void TQBasePanel::HandleMouseDown(const QPoint& p, Qt::KeyboardModifiers shift)
{
    if (!pointing_) {
        PanelMouseDown(Qt::LeftButton, p, mapToGlobal(p));
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
