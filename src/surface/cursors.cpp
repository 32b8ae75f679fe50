#include "surface/cursors.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace cardora {

namespace {
QPixmap canvas()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

void drawHand(QPainter& p, bool pointing)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    // Palm.
    hand.addRoundedRect(QRectF(8, 14, 15, 13), 4, 4);
    if (pointing) {
        hand.addRoundedRect(QRectF(10, 2, 4.5, 16), 2.2, 2.2); // index finger
        for (int i = 0; i < 3; ++i)
            hand.addRoundedRect(QRectF(14.5 + i * 3, 11, 3.5, 7), 1.7, 1.7);
    } else {
        for (int i = 0; i < 4; ++i)
            hand.addRoundedRect(QRectF(8.5 + i * 3.6, 5 + (i == 0 || i == 3 ? 2 : 0), 3.4, 13), 1.7, 1.7);
    }
    hand.addRoundedRect(QRectF(4, 15, 7, 4), 2, 2); // thumb
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(hand);
}
} // namespace

QCursor GrabCursor()
{
    static const QCursor c = [] {
        QPixmap pm = canvas();
        QPainter p(&pm);
        drawHand(p, false);
        p.end();
        return QCursor(pm, 15, 15);
    }();
    return c;
}

QCursor PointCursor()
{
    static const QCursor c = [] {
        QPixmap pm = canvas();
        QPainter p(&pm);
        drawHand(p, true);
        p.end();
        return QCursor(pm, 12, 2);
    }();
    return c;
}

QCursor DragCursor()
{
    static const QCursor c = [] {
        QPixmap pm = canvas();
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath arrow;
        arrow.moveTo(1, 1);
        arrow.lineTo(1, 17);
        arrow.lineTo(5, 13);
        arrow.lineTo(8, 19);
        arrow.lineTo(10.5, 18);
        arrow.lineTo(7.5, 12);
        arrow.lineTo(13, 12);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        p.drawRect(QRectF(12.5, 18.5, 10, 8)); // the object being dragged out
        p.end();
        return QCursor(pm, 1, 1);
    }();
    return c;
}

} // namespace cardora
