#pragma once
#include "core/color.h"

class QPainter;

namespace cardora {

// The box behind the headline kinds: filled with `background` unless
// transparent, framed with a one-pixel black line when `border`.
void DrawBoxBackground(QPainter& canvas, int width, int height, bool transparent, TColor background, bool border);

} // namespace cardora
