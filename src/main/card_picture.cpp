#include "main/card_picture.h"
#include "surface/card_panel.h"
#include <QPainter>

namespace cardora {

QImage RenderCardPicture(CardPanel& panel, bool border)
{
    // The card at its own size, whatever zoom the window shows.
    QImage image = panel.RenderCardBitmap();
    if (border) {
        QPainter p(&image);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, image.width() - 1, image.height() - 1);
    }
    return image;
}

} // namespace cardora
