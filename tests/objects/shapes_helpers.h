#pragma once
#include "objects/graphic_control.h"
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QStringList>

namespace cardora::test {

// Shapes are drawn over a green page, so the white brush, the black pen and
// the untouched page are three distinct pixel kinds.
inline const QColor kPage(0, 200, 0);

inline bool IsInk(QRgb c) { return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80; }
inline bool IsFill(QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200; }
inline bool IsPage(QRgb c) { return qRed(c) < 60 && qGreen(c) > 150 && qBlue(c) < 60; }

// The object painted through PaintTo with its box at (margin, margin).
inline QImage RenderObject(TQGraphicControl& o, int margin = 10)
{
    QImage image(o.Width() + 2 * margin, o.Height() + 2 * margin, QImage::Format_RGB32);
    image.fill(kPage);
    QPainter p(&image);
    o.PaintTo(p, margin, margin);
    return image;
}

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

// Captions of a menu's items, separators as "-".
inline QStringList Captions(const QMenu& menu)
{
    QStringList out;
    for (QAction* a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

inline QAction* FindItem(const QMenu& menu, const QString& caption)
{
    for (QAction* a : menu.actions())
        if (!a->isSeparator() && a->text() == caption)
            return a;
    return nullptr;
}

inline QMenu* SubMenu(const QMenu& menu, const QString& caption)
{
    QAction* a = FindItem(menu, caption);
    return a ? a->menu() : nullptr;
}

// The captions of the checked items of a menu.
inline QStringList Checked(const QMenu& menu)
{
    QStringList out;
    for (QAction* a : menu.actions())
        if (a->isChecked())
            out << a->text();
    return out;
}

} // namespace cardora::test
