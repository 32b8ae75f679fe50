#include "imaging/fill.h"
#include "core/rounding.h"
#include <QPainter>

namespace cardora {

QImage BuildGradient(FillDirection direction, TColor from, TColor to, QSize size)
{
    return BuildGradientPart(direction, from, to, size, QRect(QPoint(0, 0), size));
}

QImage BuildGradientPart(FillDirection direction, TColor from, TColor to, QSize whole, const QRect& part)
{
    if (whole.width() <= 0 || whole.height() <= 0 || part.width() <= 0 || part.height() <= 0)
        return QImage();
    QImage image(part.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (const TGradientBand& band : GradientBands(direction, from, to, whole)) {
        const QRect shown = band.rect & part;
        if (!shown.isEmpty())
            p.fillRect(shown.translated(-part.topLeft()), band.color);
    }
    return image;
}

QImage BuildSolidBitmap(TColor color, QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    const std::uint32_t rgb = ColorToRGB(color);
    image.fill(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
    return image;
}

void TileFill(QPainter& painter, const QImage& tile, QSize tileSize, QSize area)
{
    const int tw = tileSize.width();
    const int th = tileSize.height();
    if (tile.isNull() || tw <= 0 || th <= 0)
        return;
    // Only the tiles the clip lets through are drawn, so that a tiny texture
    // on a huge object costs what is visible, not what is stored.
    QRect visible(QPoint(0, 0), area);
    if (painter.hasClipping())
        visible &= painter.clipBoundingRect().toAlignedRect();
    // Nor past the edges of a picture in pixels (a screen copy, an export).
    if (const QPaintDevice* device = painter.device(); device
        && (device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap
            || device->devType() == QInternal::Widget)) {
        bool invertible = false;
        const QTransform toLocal = painter.deviceTransform().inverted(&invertible);
        if (invertible)
            visible &= toLocal.mapRect(QRectF(0, 0, device->width(), device->height())).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    if (visible.isEmpty())
        return;
    const bool stretched = tileSize != tile.size();
    const int firstX = (visible.left() / tw) * tw;
    const int firstY = (visible.top() / th) * th;
    for (int y = firstY; y < area.height() && y <= visible.bottom(); y += th)
        for (int x = firstX; x < area.width() && x <= visible.right(); x += tw) {
            if (stretched)
                painter.drawImage(QRect(QPoint(x, y), tileSize), tile);
            else
                painter.drawImage(QPoint(x, y), tile);
        }
}

} // namespace cardora
