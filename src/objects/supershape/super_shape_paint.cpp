// Drawing of the super shape: on screen through clip paths and tiling, on
// paper at the printer's resolution.
#include "objects/supershape/super_shape.h"
#include "core/graphics_attributes.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "imaging/fill.h"
#include "objects/card_object_parent.h"
#include "report/report.h"
#include "report/report_fill.h"
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>
#include <climits>

namespace cardora {

namespace {

int saneWidth(int width) { return std::clamp(width, 0, 1000); }

qint64 displayColors()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int depth = screen ? screen->depth() : 0;
    if (depth <= 0)
        return 256;
    return depth >= 62 ? LLONG_MAX : (qint64(1) << depth);
}

// The figure between the edges as drawn with a pen `penWidth` wide: an odd
// pen is centred on pixel centres, an even one on pixel edges, so that the
// outline covers the pixels left..right-1 like the figures of the printer.
void drawFigure(QPainter& p, SuperShapeKind shape, const TEdges& r, int penWidth, int corner, const QPolygon& vertices)
{
    const double off = (penWidth % 2 == 1 || penWidth == 0) ? 0.5 : 0.0;
    const QRectF box(QPointF(r.left + off, r.top + off), QPointF(r.right - 1 + off, r.bottom - 1 + off));
    switch (shape) {
    case SuperShapeKind::Rectangle: p.drawRect(box); break;
    case SuperShapeKind::RoundRect: p.drawRoundedRect(box, corner / 2.0, corner / 2.0); break;
    case SuperShapeKind::Ellipse: p.drawEllipse(box); break;
    default: p.drawPolygon(QPolygonF(vertices).translated(off, off), Qt::WindingFill); break;
    }
}

// The clip of the surface: the pixels the figure covers.
QPainterPath figureRegion(SuperShapeKind shape, const TEdges& r, int corner, const QPolygon& vertices)
{
    QPainterPath path;
    const QRectF box(r.left, r.top, r.Width(), r.Height());
    switch (shape) {
    case SuperShapeKind::Rectangle: path.addRect(box); break;
    case SuperShapeKind::RoundRect: path.addRoundedRect(box, corner / 2.0, corner / 2.0); break;
    case SuperShapeKind::Ellipse: path.addEllipse(box); break;
    default:
        path.addPolygon(QPolygonF(vertices).translated(0.5, 0.5));
        path.closeSubpath();
        path.setFillRule(Qt::WindingFill);
        break;
    }
    return path;
}

} // namespace

void TSuperShape::Paint()
{
    if (QPainter* p = CurrentCanvas()) {
        if (surfaceType_ == ShapeSurface::Pattern && solidBitmap_.isNull())
            BuildSolidBitmap();
        // A shape read from a file has had no size change yet; the card may
        // have changed size under it.
        if (surfaceType_ == ShapeSurface::Gradient && gradientIsStale()) {
            const QRect part = VisibleSurface();
            gradientBitmap_ = cardora::BuildGradientPart(fillDirection_, backColor_,
                gradientToColor_, QSize(Width(), Height()), part);
            gradientOrigin_ = part.topLeft();
        }
        const TShapeRects rects = ShapeRects();
        const int corner = RoundCornerSize(Width(), Height(), roundPerc_);
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        if (shadowOrient_ != ShadowCorner::NoShadow) {
            p->setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p->setBrush(ToQColor(shadowColor_));
            drawFigure(*p, shape_, rects.shadow, 1, corner, Vertices(rects.shadow));
        }
        if (surfaceType_ != ShapeSurface::Transparent) {
            const QImage& tile = surfaceType_ == ShapeSurface::Pattern ? solidBitmap_
                : surfaceType_ == ShapeSurface::Image                 ? image_
                                                               : gradientBitmap_;
            p->save();
            p->setClipPath(figureRegion(shape_, rects.shape, corner, Vertices(rects.shape)), Qt::IntersectClip);
            if (surfaceType_ == ShapeSurface::Gradient)
                p->drawImage(gradientOrigin_, gradientBitmap_);
            else
                TileFill(*p, tile, tile.size(), QSize(Width(), Height()));
            p->restore();
        }
        if (outlineStyle_ != PenStyle::Clear) {
            const int w = saneWidth(outlineWidth_);
            QPen pen(ToQColor(outlineColor_), w, ToQtPenStyle(outlineStyle_), Qt::SquareCap, Qt::MiterJoin);
            p->setPen(pen);
            p->setBrush(Qt::NoBrush);
            p->setBackgroundMode(Qt::TransparentMode);
            drawFigure(*p, shape_, rects.shape, w, corner, Vertices(rects.shape));
        }
        p->restore();
    }
    TQGraphicControl::Paint();
}

void TSuperShape::PrintAt(TReport& report, double x, double y)
{
    PrintAtResolution(report, x, y, ScreenPixelsPerInch(), displayColors());
}

void TSuperShape::PrintAtResolution(TReport& report, double x, double y, int ppi, qint64 colours)
{
    if (ppi <= 0)
        return;
    const int xRes = report.XDpi();
    const int yRes = report.YDpi();
    const double sx = xRes / static_cast<double>(ppi);
    const double sy = yRes / static_cast<double>(ppi);
    const QPoint offset(Trunc(report.UnprintableLeft() * xRes), Trunc(report.UnprintableTop() * yRes));
    const QPoint origin(Trunc(xRes * x), Trunc(yRes * y));
    if (surfaceType_ == ShapeSurface::Pattern && solidBitmap_.isNull())
        BuildSolidBitmap();

    const TShapeRects rects = ShapeRects();
    const int corner = RoundCornerSize(Width(), Height(), roundPerc_);
    auto inchX = [&](int px) { return (px + Left()) / static_cast<double>(ppi) + x; };
    auto inchY = [&](int py) { return (py + Top()) / static_cast<double>(ppi) + y; };
    auto devicePolygon = [&](const TEdges& r) {
        QPolygon out;
        for (const QPoint& v : Vertices(r))
            out << QPoint(Trunc((Left() + v.x()) * sx) + origin.x() - offset.x(),
                Trunc((Top() + v.y()) * sy) + origin.y() - offset.y());
        return out;
    };
    auto figure = [&](const TEdges& r) {
        switch (shape_) {
        case SuperShapeKind::Rectangle: report.Rectangle(inchX(r.left), inchY(r.top), inchX(r.right), inchY(r.bottom)); break;
        case SuperShapeKind::RoundRect:
            report.RoundRect(inchX(r.left), inchY(r.top), inchX(r.right), inchY(r.bottom), corner / double(ppi),
                corner / double(ppi));
            break;
        case SuperShapeKind::Ellipse: report.Ellipse(inchX(r.left), inchY(r.top), inchX(r.right), inchY(r.bottom)); break;
        default: report.Polygon(devicePolygon(r)); break;
        }
    };
    auto region = [&](const TEdges& r) {
        switch (shape_) {
        case SuperShapeKind::Rectangle: return report.RectRegion(inchX(r.left), inchY(r.top), inchX(r.right), inchY(r.bottom));
        case SuperShapeKind::RoundRect:
            return report.RoundRectRegion(inchX(r.left), inchY(r.top), inchX(r.right), inchY(r.bottom),
                corner / double(ppi), corner / double(ppi));
        case SuperShapeKind::Ellipse: return report.EllipseRegion(inchX(r.left), inchY(r.top), inchX(r.right), inchY(r.bottom));
        default: return report.PolygonRegion(devicePolygon(r));
        }
    };

    if (shadowOrient_ != ShadowCorner::NoShadow) {
        report.SetBrush(shadowColor_, BrushStyle::Solid);
        report.SetCardPen(clBlack, PenStyle::Solid, 1, PenMode::Copy, ppi);
        figure(rects.shadow);
    }
    if (surfaceType_ != ShapeSurface::Transparent) {
        report.SetBrush(foreColor_, BrushStyle::Solid);
        report.SelectClipRegion(region(rects.shape));
        const int left = Trunc(Left() * sx) + origin.x();
        const int top = Trunc(Top() * sy) + origin.y();
        const int right = left + Round(Width() * sx);
        const int bottom = top + Round(Height() * sy);
        if (surfaceType_ == ShapeSurface::Gradient) {
            // The bands span the box, as on screen, so the far edge has the end colour.
            PrintGradient(report, fillDirection_, backColor_, gradientToColor_,
                QSize(right - left, bottom - top), QPoint(left, top) - offset);
        } else {
            const QImage& tile = surfaceType_ == ShapeSurface::Pattern ? solidBitmap_ : image_;
            const bool preassemble = ParentPanel() && ParentPanel()->IsPreviewing() && colours <= 256;
            PrintTiles(report, tile, PrintedTileSize(tile.size(), sx, sy),
                QRect(left, top, right - left, bottom - top), QPointF(), preassemble);
        }
        report.RemoveClip();
    }
    report.SetBrush(foreColor_, BrushStyle::Clear);
    report.SetCardPen(outlineColor_, outlineStyle_, saneWidth(outlineWidth_), PenMode::Copy, ppi);
    figure(rects.shape);
}

} // namespace cardora
