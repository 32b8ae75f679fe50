#include "printing/number_edit.h"
#include <QRegularExpressionValidator>
#include <cmath>

namespace cardora {

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent)
{
    // Six digits before the point and three after at most, an optional sign.
    setValidator(new QRegularExpressionValidator(QRegularExpression(R"(-?\d{0,6}(\.\d{0,3})?)"), this));
    setMaxLength(12);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

double TNumberEdit::Value() const
{
    if (!shown_.isNull() && text() == shown_)
        return value_;
    bool ok = false;
    const double v = text().trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString TNumberEdit::Format(double value) const
{
    if (!std::isfinite(value))
        value = 0.0;
    if (mask_ == Mask::Fixed)
        return QString::number(value, 'f', decimals_);
    QString text = QString::number(value, 'f', 3);
    const int minDecimals = mask_ == Mask::OneToThree ? 1 : 0;
    const int dot = static_cast<int>(text.indexOf('.'));
    int end = static_cast<int>(text.size());
    while (end > dot + 1 + minDecimals && text[end - 1] == '0')
        --end;
    if (end == dot + 1)
        --end; // no decimals left: drop the point
    text.truncate(end);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

void TNumberEdit::SetValue(double value)
{
    value_ = std::isfinite(value) ? value : 0.0;
    shown_ = Format(value_);
    setText(shown_);
}

void TNumberEdit::SetMask(Mask mask, int decimals)
{
    mask_ = mask;
    decimals_ = decimals;
}

void TNumberEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    emit Exited();
}

} // namespace cardora
