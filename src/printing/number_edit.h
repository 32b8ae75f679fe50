#pragma once
#include <QLineEdit>

namespace cardora {

// A one-line edit for a decimal number. Text is always shown and read with
// a "." decimal point, whatever the system locale.
class TNumberEdit : public QLineEdit {
    Q_OBJECT
public:
    // How a value is shown: "#0.###" (up to three decimals), "#0.0##" (one
    // to three decimals) or a fixed number of decimals.
    enum class Mask { UpToThree, OneToThree, Fixed };

    explicit TNumberEdit(QWidget* parent = nullptr);

    // The number typed; 0 when the text is not a number. A value set by the
    // program keeps its full precision until the user edits the text.
    double Value() const;
    void SetValue(double value);
    void SetMask(Mask mask, int decimals = 3);
    Mask CurrentMask() const { return mask_; }
    int Decimals() const { return decimals_; }
    // The text a value is shown as under the current mask.
    QString Format(double value) const;

signals:
    // The edit lost the focus.
    void Exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    Mask mask_ = Mask::UpToThree;
    int decimals_ = 3;
    double value_ = 0.0;
    QString shown_;
};

} // namespace cardora
