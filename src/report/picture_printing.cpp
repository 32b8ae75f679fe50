#include "report/picture_printing.h"
#include "imaging/picture.h"
#include "report/report.h"
#include <QPainter>

namespace cardora {

void PrintPicture(TReport& report, double x1, double y1, double x2, double y2, const TPicture& picture,
    bool flip, bool reverse)
{
    switch (picture.Kind()) {
    case TGraphicKind::Bitmap:
        if (reverse)
            std::swap(x1, x2);
        if (flip)
            std::swap(y1, y2);
        report.StretchDrawBitmap(x1, y1, x2, y2, picture.Bitmap());
        break;
    case TGraphicKind::Icon:
        report.StretchDrawBitmap(x1, y1, x2, y2, picture.Bitmap());
        break;
    case TGraphicKind::Metafile:
        report.StretchDrawGraphic(report.InchRectToDevice(x1, y1, x2, y2),
            [&picture](QPainter& painter, const QRectF& r) { picture.Draw(painter, r); });
        break;
    case TGraphicKind::None: break;
    }
}

} // namespace cardora
