#pragma once
#include <QWidget>

class QToolButton;

namespace cardora {

// A pair of small arrow buttons, up above down.
class TSpinButtonPair : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButtonPair(QWidget* parent = nullptr);
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace cardora
