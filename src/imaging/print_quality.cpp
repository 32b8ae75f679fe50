#include "imaging/print_quality.h"
#include "imaging/picture.h"
#include <cmath>

namespace cardora {

namespace {
constexpr double kCardPixelsPerInch = 96.0;
}

int EffectivePixelsPerInch(const TPicture& picture, QSize placed)
{
    if (!(picture.IsBitmap() || picture.Kind() == TGraphicKind::Icon) || placed.isEmpty())
        return 0;
    const QSize pixels = picture.Size();
    const double across = pixels.width() * kCardPixelsPerInch / placed.width();
    const double down = pixels.height() * kCardPixelsPerInch / placed.height();
    return int(std::lround(std::min(across, down)));
}

QString PrintQualityText(const TPicture& picture, QSize placed)
{
    if (!picture.HasGraphic())
        return {};
    if (picture.IsSvg() || picture.IsMetafile())
        return QStringLiteral("A drawing: it prints sharp at any size.");
    const int ppi = EffectivePixelsPerInch(picture, placed);
    if (ppi <= 0)
        return {};
    const QString size = QStringLiteral("%1 × %2 in").arg(placed.width() / kCardPixelsPerInch, 0, 'f', 2)
                             .arg(placed.height() / kCardPixelsPerInch, 0, 'f', 2);
    QString text = QStringLiteral("%1 pixels per inch at %2").arg(ppi).arg(size);
    if (ppi < kPrintShopPixelsPerInch)
        text += QStringLiteral(": under %1, it may print blurred. Use a larger picture or place it smaller.")
                    .arg(kPrintShopPixelsPerInch);
    else
        text += QStringLiteral(": good for print.");
    return text;
}

} // namespace cardora
