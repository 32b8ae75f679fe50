#pragma once
#include <QImage>
#include <QRect>
#include <algorithm>
#include <climits>

namespace cardora::test {

// Bounding box of the pixels that match, within area (the whole image when empty).
template <class Match>
QRect MatchBounds(const QImage& image, Match match, QRect area = QRect())
{
    area = area.isNull() ? image.rect() : (area & image.rect());
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixel(x, y))) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    return l == INT_MAX ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

template <class Match>
int CountIn(const QImage& image, Match match, const QRect& area)
{
    int n = 0;
    const QRect a = area & image.rect();
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

} // namespace cardora::test
