#include "objects/color_button.h"
#include "core/modal.h"
#include <QPainter>
#include <QPixmap>

namespace cardora {

TColorButton::TColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { choose(); });
    SetColor(clBlack);
}

void TColorButton::SetColor(TColor color)
{
    color_ = color;
    QPixmap swatch(24, 14);
    swatch.fill(ToQColor(color));
    QPainter p(&swatch);
    p.setPen(Qt::black);
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    p.end();
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
}

void TColorButton::choose()
{
    const std::optional<QColor> c = ChooseColor(ToQColor(color_));
    if (!c)
        return;
    SetColor(FromQColor(*c));
    emit ColorChanged(color_);
}

} // namespace cardora
