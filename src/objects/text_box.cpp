#include "objects/text_box.h"
#include <QPainter>

namespace cardora {

void DrawBoxBackground(QPainter& canvas, int width, int height, bool transparent, TColor background, bool border)
{
    if (transparent && !border)
        return;
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    if (!transparent)
        canvas.fillRect(QRect(0, 0, width, height), ToQColor(background));
    if (border) {
        canvas.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRect(0, 0, width - 1, height - 1));
    }
    canvas.restore();
}

} // namespace cardora
