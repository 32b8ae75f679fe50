#pragma once
#include "core/color.h"
#include <QPushButton>

namespace cardora {

// A push button showing a colour swatch beside its caption; a click asks the
// colour dialog and, on OK, takes the colour and emits ColorChanged.
class TColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit TColorButton(const QString& caption, QWidget* parent = nullptr);
    TColor Color() const { return color_; }
    // Shows the colour without emitting ColorChanged.
    void SetColor(TColor color);

signals:
    void ColorChanged(TColor color);

private:
    void choose();
    TColor color_ = clBlack;
};

} // namespace cardora
