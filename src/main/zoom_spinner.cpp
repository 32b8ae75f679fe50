#include "main/zoom_spinner.h"
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

ZoomSpinner::ZoomSpinner(QWidget* parent) : QWidget(parent)
{
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName("ZoomUp");
    up_->setArrowType(Qt::UpArrow);
    up_->setFixedSize(18, 12);
    down_ = new QToolButton(this);
    down_->setObjectName("ZoomDown");
    down_->setArrowType(Qt::DownArrow);
    down_->setFixedSize(18, 12);
    l->addWidget(up_);
    l->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { if (OnUpClick) OnUpClick(); });
    connect(down_, &QToolButton::clicked, this, [this] { if (OnDownClick) OnDownClick(); });
}

} // namespace cardora
