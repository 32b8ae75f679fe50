#include "report/report_fill.h"
#include "core/graphics_attributes.h"
#include "core/rounding.h"
#include "report/report.h"
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace cardora {

QSize PrintedTileSize(QSize bitmap, double sx, double sy)
{
    return QSize(Round(bitmap.width() * sx), Round(bitmap.height() * sy));
}

void PrintTiles(TReport& report, const QImage& tile, QSize tileSize, const QRect& box, QPointF inchOrigin,
    bool preassemble)
{
    const int tw = tileSize.width();
    const int th = tileSize.height();
    // No page (not begun, or stopped past its budget): nothing to tile.
    if (tile.isNull() || tw <= 0 || th <= 0 || box.width() <= 0 || box.height() <= 0 || !report.Painter())
        return;
    const double xRes = report.XDpi();
    const double yRes = report.YDpi();
    // Assembled only while the whole box is a picture of sensible size.
    if (preassemble && qint64(box.width()) * box.height() <= 16LL * 1024 * 1024) {
        QImage whole(box.size(), QImage::Format_RGB32);
        whole.fill(Qt::white);
        QPainter p(&whole);
        for (int oy = 0; oy < box.height(); oy += th)
            for (int ox = 0; ox < box.width(); ox += tw)
                p.drawImage(QRect(ox, oy, tw, th), tile);
        p.end();
        report.StretchDrawBitmap(inchOrigin.x() + box.left() / xRes, inchOrigin.y() + box.top() / yRes,
            inchOrigin.x() + (box.left() + box.width()) / xRes, inchOrigin.y() + (box.top() + box.height()) / yRes,
            whole);
        return;
    }
    // Tiles wholly outside the clip are skipped: they would draw nothing.
    // Nor are tiles off the sheet: a damaged file's giant object costs what
    // the paper shows.
    int firstX = 0, firstY = 0, lastX = box.width() + tw, lastY = box.height() + th;
    if (QPainter* p = report.Painter()) {
        const QRect sheet = QRect(-report.Metrics().DeviceOrigin().toPoint(), report.Metrics().PaperPixels())
                                .adjusted(-tw, -th, tw, th);
        const QRect clip = p->hasClipping() ? p->clipBoundingRect().toAlignedRect() & sheet : sheet;
        if (clip.isEmpty())
            return;
        const QPoint origin = report.DevicePoint(inchOrigin.x() + box.left() / xRes, inchOrigin.y() + box.top() / yRes);
        firstX = std::max(0, (clip.left() - origin.x()) / tw - 1) * tw;
        firstY = std::max(0, (clip.top() - origin.y()) / th - 1) * th;
        lastX = std::min<qint64>(lastX, qint64(clip.right()) - origin.x() + 1);
        lastY = std::min<qint64>(lastY, qint64(clip.bottom()) - origin.y() + 1);
    }
    const double stepW = tw / xRes + 0.01;
    const double stepH = th / yRes + 0.01;
    for (int oy = firstY; oy < box.height() + th && oy < lastY && report.Painter(); oy += th) {
        const double y1 = inchOrigin.y() + (box.top() + oy) / yRes;
        for (int ox = firstX; ox < box.width() + tw && ox < lastX; ox += tw) {
            const double x1 = inchOrigin.x() + (box.left() + ox) / xRes;
            report.StretchDrawBitmap(x1, y1, x1 + stepW, y1 + stepH, tile);
        }
    }
}

void PrintGradient(TReport& report, FillDirection direction, TColor from, TColor to, QSize area, QPoint offset)
{
    report.SetPen(clBlack, PenStyle::Solid, -1, PenMode::Copy);
    const bool across = direction == FillDirection::Left || direction == FillDirection::Right;
    const int extent = across ? area.width() : area.height();
    if (extent <= 0 || area.isEmpty())
        return;
    // One gradient with a hard step per band rather than a rectangle per
    // band: abutting thin rectangles leave hairline seams in PDF and SVG
    // viewers, and the file stays small.
    const QPointF start(offset);
    QLinearGradient gradient(start, start + (across ? QPointF(extent, 0) : QPointF(0, extent)));
    for (const TGradientBand& band : GradientBands(direction, from, to, area)) {
        if (band.rect.isEmpty())
            continue;
        const int a = across ? band.rect.left() : band.rect.top();
        const int b = a + (across ? band.rect.width() : band.rect.height());
        gradient.setColorAt(double(a) / extent, band.color);
        gradient.setColorAt(std::max(double(a), b - 1e-3) / extent, band.color);
    }
    report.FillDeviceRect(QRect(offset, area), QBrush(gradient));
}

} // namespace cardora
