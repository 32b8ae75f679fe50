#include "objects/object_preview.h"
#include "objects/graphic_control.h"
#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cardora {

TObjectPreview::TObjectPreview(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

TObjectPreview::~TObjectPreview()
{
    if (object_ && object_->ParentPanel() == this)
        object_->SetParentPanel(nullptr);
}

void TObjectPreview::SetObject(TQGraphicControl* object)
{
    if (object_ && object_->ParentPanel() == this)
        object_->SetParentPanel(nullptr);
    object_ = object;
    if (object_) {
        // The object keeps its own font: the preview's is never taken.
        object_->SetParentFont(false);
        object_->SetParentPanel(this);
    }
    refit();
    update();
}

QSize TObjectPreview::sizeHint() const
{
    if (!object_)
        return QSize(100, 100);
    const double z = zoom_;
    return QSize(std::max(1, int(std::ceil((object_->Left() + object_->Width()) * z))),
        std::max(1, int(std::ceil((object_->Top() + object_->Height()) * z))));
}

void TObjectPreview::SetZoom(float z)
{
    if (z == zoom_ || !(z > 0.0f))
        return;
    zoom_ = z;
    refit();
    update();
}

void TObjectPreview::InvalidateRect(const QRect&)
{
    // An object may resize itself while it paints (a layout run); the area
    // follows once the paint is over.
    if (painting_) {
        QMetaObject::invokeMethod(this, [this] { refit(); update(); }, Qt::QueuedConnection);
        return;
    }
    refit();
    update();
}

void TObjectPreview::RepaintPanel()
{
    refit();
    update();
}

void TObjectPreview::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void TObjectPreview::refit()
{
    const QSize wanted = sizeHint();
    // Never smaller than the view around it, so the white reaches its edges.
    const QSize shown = parentWidget() ? wanted.expandedTo(parentWidget()->size()) : wanted;
    if (shown != size())
        resize(shown);
}

void TObjectPreview::paintEvent(QPaintEvent*)
{
    if (!object_)
        return;
    QPainter p(this);
    p.scale(zoom_, zoom_);
    painting_ = true;
    object_->PaintTo(p, object_->Left(), object_->Top());
    painting_ = false;
}

} // namespace cardora
