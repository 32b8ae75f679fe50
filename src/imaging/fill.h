#pragma once
#include "core/color.h"
#include "core/gradient.h"
#include <QImage>
#include <QSize>

class QPainter;

namespace cardora {

// Surfaces that filled objects paint through a clip: a gradient or a solid
// colour rendered once into an object-sized bitmap, and texture tiling.

// The 256-band gradient in a bitmap of `size`; a null image for an empty size.
QImage BuildGradient(FillDirection direction, TColor from, TColor to, QSize size);

// The part `part` (in the coordinates of `whole`) of that gradient: a bitmap
// the size of the part, so that a huge object costs what is shown.
QImage BuildGradientPart(FillDirection direction, TColor from, TColor to, QSize whole, const QRect& part);

// A bitmap of `size` in one colour (system colours resolved); null when empty.
QImage BuildSolidBitmap(TColor color, QSize size);

// Stretch-draws `tile` at `tileSize` into (x, y) for x = 0, w, 2w, ... while
// x < area width and likewise for y, from the painter's origin; the painter's
// clip cuts the tiles to the figure. Only tiles on the clip and, on a
// picture in pixels, on the picture are drawn. An empty tile or size draws
// nothing.
void TileFill(QPainter& painter, const QImage& tile, QSize tileSize, QSize area);

} // namespace cardora
