#pragma once
#include "core/gradient.h"
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace cardora {

class TReport;

// Filled surfaces on paper, drawn at the report's resolution under whatever
// clip the caller selected.

// A texture tile on paper: the bitmap's size times the printer pixels per
// screen pixel, each side rounded to nearest (halves to even).
QSize PrintedTileSize(QSize bitmap, double sx, double sy);

// Tiles `tile` over `box`, a rectangle of printer pixels whose pixel p lies
// at inchOrigin + p / resolution inches on the sheet. Tiles step by
// `tileSize` from the box's corner and cover one step past its far edges;
// each is drawn 0.01 inch wider and taller than its step, so neighbours
// overlap and no hairline gaps show. With `preassemble` the tiles are first
// copied into one bitmap of the box's size, drawn once (palette previews).
void PrintTiles(TReport& report, const QImage& tile, QSize tileSize, const QRect& box, QPointF inchOrigin,
    bool preassemble);

// The 256 gradient bands over an area of `area` printer pixels, moved by
// `offset` (device pixels, from the corner of the printable area), each
// filled with a solid brush of its colour.
void PrintGradient(TReport& report, FillDirection direction, TColor from, TColor to, QSize area, QPoint offset);

} // namespace cardora
