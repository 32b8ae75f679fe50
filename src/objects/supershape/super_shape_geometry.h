#pragma once
#include <QPolygon>
#include <QStringList>

namespace cardora {

enum class SuperShapeKind {
    Rectangle, RoundRect, Ellipse, Diamond, Star, TriangleLeft, TriangleRight, TriangleUp, TriangleDown, Polygon
};
// The corner the drop shadow falls towards.
enum class ShadowCorner { NoShadow, LowerRight, UpperRight, UpperLeft, LowerLeft };

const QStringList& ShapeKindNames();    // "qstRectangle" ...
const QStringList& ShadowOrientNames(); // "soNone" ...

// A rectangle by its edges, right and bottom exclusive, as the figures of the
// drawing surfaces take them.
struct TEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const TEdges&) const = default;
};

struct TShapeRects {
    TEdges shape;
    TEdges shadow; // all zero without a shadow
};

// Where the figure and its drop shadow go inside an object of width x height:
// the outline's half width in from the edges, the shadow `depth` pixels off
// in its direction. A diamond's shadow is offset horizontally only.
TShapeRects ComputeShapeRects(SuperShapeKind shape, ShadowCorner orient, int depth, int outlineWidth, int width, int height);

// The vertices of the star and the polygon: `vectors` points alternating
// between the outer radius and the radius reduced by `inVectorPercent`,
// starting `startingAngle` degrees counter-clockwise from the right (90 is
// straight up) and going clockwise on the screen.
QPolygon StarPoints(const TEdges& r, int vectors, int startingAngle, int inVectorPercent);

// The polygon of a diamond, a triangle, a star or a polygon in `r`; empty
// for the rectangle, the rounded rectangle and the ellipse.
QPolygon OutlineVertices(SuperShapeKind shape, const TEdges& r, int vectors, int startingAngle, int inVectorPercent);

// Corner width and height of the rounded rectangle.
int RoundCornerSize(int width, int height, int roundPerc);

bool IsPolygonShape(SuperShapeKind shape);

} // namespace cardora
