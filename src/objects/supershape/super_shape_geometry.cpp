#include "objects/supershape/super_shape_geometry.h"
#include "core/rounding.h"
#include <algorithm>
#include <cmath>
#include <numbers>

namespace cardora {

const QStringList& ShapeKindNames()
{
    static const QStringList n = { "qstRectangle", "qstRoundRect", "qstEllipse", "qstDiamond", "qstStar",
        "qstTriangleLeft", "qstTriangleRight", "qstTriangleUp", "qstTriangleDown", "qstPolyGon" };
    return n;
}

const QStringList& ShadowOrientNames()
{
    static const QStringList n = { "soNone", "soLowerRight", "soUpperRight", "soUpperLeft", "soLowerLeft" };
    return n;
}

bool IsPolygonShape(SuperShapeKind shape) { return shape >= SuperShapeKind::Diamond && shape <= SuperShapeKind::Polygon; }

TShapeRects ComputeShapeRects(SuperShapeKind shape, ShadowCorner orient, int d, int outlineWidth, int width, int height)
{
    // Stored values of any size: bounded, every sum below stays in range.
    d = BoundedCoordinate(d);
    outlineWidth = BoundedCoordinate(outlineWidth);
    width = BoundedCoordinate(width);
    height = BoundedCoordinate(height);
    const int h = outlineWidth / 2;
    const int w1 = width - outlineWidth + 1;
    const int h1 = height - outlineWidth + 1;
    TShapeRects r;
    if (shape == SuperShapeKind::Diamond && orient != ShadowCorner::NoShadow) {
        if (orient == ShadowCorner::LowerRight || orient == ShadowCorner::UpperRight) {
            r.shape = { h, h, w1 - d, h1 };
            r.shadow = { h + d, h, w1, h1 };
        } else {
            r.shape = { h + d, h, w1, h1 };
            r.shadow = { h, h, w1 - d, h1 };
        }
        return r;
    }
    switch (orient) {
    case ShadowCorner::LowerRight:
        r.shape = { h, h, w1 - d, h1 - d };
        r.shadow = { h + d, h + d, w1, h1 };
        break;
    case ShadowCorner::UpperRight:
        r.shape = { h, h + d, w1 - d, h1 };
        r.shadow = { h + d, h, w1, h1 - d };
        break;
    case ShadowCorner::UpperLeft:
        r.shape = { h + d, h + d, w1, h1 };
        r.shadow = { h, h, w1 - d, h1 - d };
        break;
    case ShadowCorner::LowerLeft:
        r.shape = { h + d, h, w1, h1 - d };
        r.shadow = { h, h + d, w1 - d, h1 };
        break;
    default:
        r.shape = { h, h, w1, h1 };
        break;
    }
    return r;
}

QPolygon StarPoints(const TEdges& r, int vectors, int startingAngle, int inVectorPercent)
{
    QPolygon points;
    if (vectors <= 0)
        return points;
    const int w = r.Width();
    const int v = r.Height();
    const double radius = std::min(w / 2, v / 2) - 4;
    const int cx = r.left + w / 2;
    const int cy = r.top + v / 2;
    points.reserve(vectors);
    for (int m = 0; m < vectors; ++m) {
        const double theta = (360.0 / vectors * m - startingAngle) * std::numbers::pi / 180.0;
        const double rm = (m % 2 == 0) ? radius : radius * (100 - inVectorPercent) * 0.01;
        points << QPoint(cx + Round(std::cos(theta) * rm), cy + Round(std::sin(theta) * rm));
    }
    return points;
}

QPolygon OutlineVertices(SuperShapeKind shape, const TEdges& r, int vectors, int startingAngle, int inVectorPercent)
{
    const int l = r.left, t = r.top, w = r.Width(), v = r.Height();
    switch (shape) {
    case SuperShapeKind::Diamond:
        return QPolygon({ QPoint(l + w / 2, t), QPoint(l + w - 1, t + v / 2), QPoint(l + w / 2, t + v - 1),
            QPoint(l, t + v / 2) });
    case SuperShapeKind::TriangleLeft:
        return QPolygon({ QPoint(l + w - 1, t), QPoint(l + w - 1, t + v - 1), QPoint(l, t + v / 2) });
    case SuperShapeKind::TriangleRight:
        return QPolygon({ QPoint(l, t), QPoint(l + w - 1, t + v / 2), QPoint(l, t + v - 1) });
    case SuperShapeKind::TriangleUp:
        return QPolygon({ QPoint(l + w / 2, t), QPoint(l, t + v - 1), QPoint(l + w - 1, t + v - 1) });
    case SuperShapeKind::TriangleDown:
        return QPolygon({ QPoint(l, t), QPoint(l + w / 2, t + v - 1), QPoint(l + w - 1, t) });
    case SuperShapeKind::Star:
    case SuperShapeKind::Polygon: return StarPoints(r, vectors, startingAngle, inVectorPercent);
    default: return QPolygon();
    }
}

int RoundCornerSize(int width, int height, int roundPerc)
{
    return Trunc(std::max(width, height) * 0.01 * roundPerc);
}

} // namespace cardora
