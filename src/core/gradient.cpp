#include "core/gradient.h"
#include "core/rounding.h"
#include <algorithm>

namespace cardora {

const QStringList& FillDirectionNames()
{
    static const QStringList n = { "gdUp", "gdDown", "gdLeft", "gdRight" };
    return n;
}

namespace {

QColor rgbOf(TColor c)
{
    const std::uint32_t rgb = ColorToRGB(c);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

} // namespace

TGradientEnds GradientEnds(FillDirection direction, TColor from, TColor to)
{
    const QColor f = rgbOf(from);
    const QColor t = rgbOf(to);
    if (direction == FillDirection::Up || direction == FillDirection::Left)
        return { t, f };
    return { f, t };
}

QColor GradientBandColor(const TGradientEnds& ends, int band)
{
    const int i = std::clamp(band, 0, kGradientBands - 1);
    auto channel = [i](int s, int e) { return s + MulDiv(i, e - s, kGradientBands - 1); };
    return QColor(channel(ends.start.red(), ends.end.red()), channel(ends.start.green(), ends.end.green()),
        channel(ends.start.blue(), ends.end.blue()));
}

std::vector<TGradientBand> GradientBands(FillDirection direction, TColor from, TColor to, QSize size)
{
    const TGradientEnds ends = GradientEnds(direction, from, to);
    const bool vertical = direction == FillDirection::Left || direction == FillDirection::Right;
    const int extent = vertical ? size.width() : size.height();
    std::vector<TGradientBand> bands;
    bands.reserve(kGradientBands);
    for (int i = 0; i < kGradientBands; ++i) {
        const int a = MulDiv(i, extent, kGradientBands);
        const int b = MulDiv(i + 1, extent, kGradientBands);
        const QRect r = vertical ? QRect(QPoint(a, 0), QSize(b - a, size.height()))
                                 : QRect(QPoint(0, a), QSize(size.width(), b - a));
        bands.push_back({ r, GradientBandColor(ends, i) });
    }
    return bands;
}

} // namespace cardora
