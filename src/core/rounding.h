#pragma once
#include <cmath>
#include <cstdint>
#include <QRect>

// The program's three roundings are not interchangeable; each formula names the one it needs.
namespace cardora {

// Coordinates, sizes and pen widths read from a card file are kept within
// this many pixels either way (a real card is a few hundred pixels wide), so
// that sums, zooming and QRect's corners stay far from int overflow.
inline constexpr int kMaxCoordinate = 1 << 20;

inline int BoundedCoordinate(int v)
{
    return v < -kMaxCoordinate ? -kMaxCoordinate : v > kMaxCoordinate ? kMaxCoordinate : v;
}

// A stored rectangle (left, top, width, height) with every value bounded,
// so that its right and bottom edges and their sums never overflow.
inline QRect BoundedRect(int left, int top, int width, int height)
{
    return QRect(BoundedCoordinate(left), BoundedCoordinate(top), BoundedCoordinate(width), BoundedCoordinate(height));
}

// A double brought into int range (NaN to 0); the range is symmetric so that
// the result can always be negated.
inline int SaturatedInt(double v)
{
    constexpr double top = 2147483647.0;
    if (v >= top)
        return 2147483647;
    if (v <= -top)
        return -2147483647;
    return v == v ? static_cast<int>(v) : 0;
}

// Nearest integer, halves to the even neighbour (saturated at the int range).
inline int Round(double v) { return SaturatedInt(std::nearbyint(v)); }

// Toward zero (saturated at the int range).
inline int Trunc(double v) { return SaturatedInt(std::trunc(v)); }

// a * b / c without overflow, rounded to nearest with halves away from zero;
// a result beyond the int range is saturated (symmetrically, as Round).
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
    if (result > 2147483647)
        return 2147483647;
    if (result < -2147483647)
        return -2147483647;
    return static_cast<int>(result);
}

// Zoom factors are 32-bit floats.
inline float ZoomRatio(float newZoom, float oldZoom) { return newZoom / oldZoom; }

} // namespace cardora
