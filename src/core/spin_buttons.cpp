#include "core/spin_buttons.h"
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

TSpinButtonPair::TSpinButtonPair(QWidget* parent) : QWidget(parent)
{
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName("Up");
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = new QToolButton(this);
    down_->setObjectName("Down");
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    l->addWidget(up_);
    l->addWidget(down_);
}

} // namespace cardora
