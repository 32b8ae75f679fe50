#include "report/picture_printing.h"
#include "imaging/picture.h"
#include "report/report.h"
#include <QPainter>
#include <algorithm>

namespace cardora {

namespace {
// Past this many printer pixels a transparent bitmap goes as it is.
constexpr qint64 kMaxEnlargedPixels = 16LL * 1024 * 1024;
}

void PrintPicture(TReport& report, double x1, double y1, double x2, double y2, const TPicture& picture,
    bool flip, bool reverse)
{
    switch (picture.Kind()) {
    case TGraphicKind::Bitmap: {
        // A transparent bitmap drawn larger is enlarged here, as the screen
        // enlarges it: PDF readers scale an image's transparency mask without
        // smoothing, which would move its soft edges.
        QImage bitmap = picture.Bitmap();
        QSize device = report.InchRectToDevice(x1, y1, x2, y2).normalized().size();
        // 300 dots an inch are smooth enough for an edge; finer only makes the
        // file larger and the job slower.
        if (report.XDpi() > 300 || report.YDpi() > 300)
            device = QSize(int(device.width() * std::min(1.0, 300.0 / report.XDpi())) + 1,
                int(device.height() * std::min(1.0, 300.0 / report.YDpi())) + 1);
        if (picture.IsTransparent() && (device.width() > bitmap.width() || device.height() > bitmap.height())
            && qint64(device.width()) * device.height() <= kMaxEnlargedPixels)
            bitmap = bitmap.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (reverse)
            std::swap(x1, x2);
        if (flip)
            std::swap(y1, y2);
        report.StretchDrawBitmap(x1, y1, x2, y2, bitmap);
        break;
    }
    case TGraphicKind::Icon:
        report.StretchDrawBitmap(x1, y1, x2, y2, picture.Bitmap());
        break;
    case TGraphicKind::Metafile:
    case TGraphicKind::Svg:
        report.StretchDrawGraphic(report.InchRectToDevice(x1, y1, x2, y2),
            [&picture](QPainter& painter, const QRectF& r) { picture.Draw(painter, r); });
        break;
    case TGraphicKind::None: break;
    }
}

} // namespace cardora
