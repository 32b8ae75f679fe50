#pragma once
#include "core/color.h"
#include <QColor>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <vector>

namespace cardora {

// Which way a gradient runs. With Down and Right it goes from the "From"
// colour (top, left) to the "To" colour; Up and Left run the other way.
enum class FillDirection { Up, Down, Left, Right };

// "gdUp", "gdDown", "gdLeft", "gdRight", as card files name them.
const QStringList& FillDirectionNames();

constexpr int kGradientBands = 256;

struct TGradientBand {
    QRect rect;   // in the area's pixels; may be empty on small areas
    QColor color;
};

// The start and end colours of a gradient as RGB (system colours resolved).
struct TGradientEnds {
    QColor start;
    QColor end;
};
TGradientEnds GradientEnds(FillDirection direction, TColor from, TColor to);

// Colour of band i (0..255): each channel start + MulDiv(i, end - start, 255).
QColor GradientBandColor(const TGradientEnds& ends, int band);

// The 256 bands covering an area of `size` pixels from (0, 0): horizontal
// strips for Up/Down, vertical ones for Left/Right, band i spanning
// MulDiv(i, extent, 256) to MulDiv(i + 1, extent, 256).
std::vector<TGradientBand> GradientBands(FillDirection direction, TColor from, TColor to, QSize size);

} // namespace cardora
