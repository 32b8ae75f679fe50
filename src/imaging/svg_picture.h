#pragma once
#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace cardora {

// SVG files are accepted only when they stand alone: no references to other
// files or addresses (only "#id" and "data:" ones), no entity declarations,
// no compressed form, a declared size within the picture limits. Empty when
// accepted, with the natural size (the declared width and height at 96 per
// inch, or the view box) set; otherwise the reason.
QString CheckSvg(const QByteArray& bytes, QSize* naturalSize);

// Draws an accepted drawing stretched into target, as vectors on the painter.
void DrawSvg(const QByteArray& bytes, QPainter& painter, const QRectF& target);

} // namespace cardora
