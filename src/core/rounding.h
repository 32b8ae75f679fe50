#pragma once
#include <cmath>
#include <cstdint>

// The program's three roundings are not interchangeable; each formula names the one it needs.
namespace cardora {

// Nearest integer, halves to the even neighbour.
inline int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

// Toward zero.
inline int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// a * b / c without overflow, rounded to nearest with halves away from zero.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const std::int64_t q = p / c;
    const std::int64_t r = p % c;
    std::int64_t result = q;
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -c : c))
        result += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(result);
}

// Zoom factors are 32-bit floats.
inline float ZoomRatio(float newZoom, float oldZoom) { return newZoom / oldZoom; }

} // namespace cardora
