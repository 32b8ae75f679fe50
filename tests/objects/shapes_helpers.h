#pragma once
#include "objects/graphic_control.h"
#include "support/pixel_bounds.h"
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
