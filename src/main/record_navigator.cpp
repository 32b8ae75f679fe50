#include "main/record_navigator.h"
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>

namespace cardora {

TRecordNavigator::TRecordNavigator(QWidget* parent) : QWidget(parent)
{
    setObjectName("RecordNavigator");
    auto* l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    auto button = [&](const char* name, const char* text, const char* tip, auto target) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(QString::fromUtf8(text));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, target] { choose(target()); });
        l->addWidget(b);
        return b;
    };
    first_ = button("FirstRecord", "|◀", "First record", [] { return 1; });
    previous_ = button("PreviousRecord", "◀", "Previous record", [this] { return Record() - 1; });
    record_ = new QSpinBox(this);
    record_->setObjectName("RecordNumber");
    record_->setToolTip("The record the card shows");
    record_->setRange(1, 1);
    record_->setKeyboardTracking(false);
    connect(record_, &QSpinBox::valueChanged, this, [this](int n) {
        if (OnRecordChosen)
            OnRecordChosen(n);
    });
    l->addWidget(record_);
    of_ = new QLabel(this);
    of_->setObjectName("RecordCount");
    l->addWidget(of_);
    next_ = button("NextRecord", "▶", "Next record", [this] { return Record() + 1; });
    last_ = button("LastRecord", "▶|", "Last record", [this] { return count_; });
    typed_ = new QCheckBox("Fields as typed", this);
    typed_->setObjectName("FieldsAsTyped");
    typed_->setToolTip("Show ${Name} fields as typed instead of their values");
    connect(typed_, &QCheckBox::toggled, this, [this](bool on) {
        if (OnShowTyped)
            OnShowTyped(on);
    });
    l->addSpacing(6);
    l->addWidget(typed_);
    SetData(QString(), 0);
}

void TRecordNavigator::SetData(const QString& name, int count)
{
    count_ = std::max(0, count);
    for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(previous_),
             static_cast<QWidget*>(record_), static_cast<QWidget*>(of_), static_cast<QWidget*>(next_),
             static_cast<QWidget*>(last_)})
        w->setVisible(count_ > 0);
    {
        const QSignalBlocker quiet(record_);
        record_->setRange(1, std::max(1, count_));
        record_->setValue(1);
    }
    of_->setText(QString("of %1").arg(count_));
    setToolTip(count_ > 0 ? QString("Records of %1").arg(name) : QString());
}

void TRecordNavigator::SetRecord(int record)
{
    const QSignalBlocker quiet(record_);
    record_->setValue(std::clamp(record, 1, std::max(1, count_)));
}

int TRecordNavigator::Record() const { return record_->value(); }

bool TRecordNavigator::FieldsShownAsTyped() const { return typed_->isChecked(); }

void TRecordNavigator::choose(int record)
{
    if (count_ > 0)
        record_->setValue(std::clamp(record, 1, count_)); // reports through valueChanged
}

} // namespace cardora
