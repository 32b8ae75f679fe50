#pragma once
#include <QWidget>
#include <functional>

class QToolButton;

namespace cardora {

// A pair of small up and down arrow buttons, like a spin box without a value.
class ZoomSpinner : public QWidget {
    Q_OBJECT
public:
    explicit ZoomSpinner(QWidget* parent = nullptr);
    std::function<void()> OnUpClick;
    std::function<void()> OnDownClick;
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace cardora
