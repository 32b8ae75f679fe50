#include "fake_parent.h"
#include "imaging/fill.h"
#include "objects/card_filer.h"
#include "objects/class_registry.h"
#include "objects/stream_error.h"
#include "objects/supershape/super_shape.h"
#include "report/recording_report.h"
#include "shapes_helpers.h"
#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>
#include <cmath>

using namespace cardora;
using namespace cardora::test;

namespace {

struct SuperShapeTest : ::testing::Test {
    FakeParent parent;

    void SetUp() override { RegisterCardClass<TSuperShape>(); }

    TSuperShape* make(int width, int height)
    {
        auto* s = new TSuperShape(&parent.Owner);
        parent.Adopt(s);
        s->SetBounds(0, 0, width, height);
        return s;
    }
};

QImage checkerTexture()
{
    QImage t(32, 32, QImage::Format_RGB32);
    t.fill(QColor(255, 0, 0));
    t.setPixel(0, 0, qRgb(0, 0, 255)); // marks each tile's corner
    return t;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isBlue(QRgb c) { return qBlue(c) > 200 && qGreen(c) < 60 && qRed(c) < 60; }

} // namespace

// Shape and shadow rectangles for every direction, the diamond's horizontal
// shadow, and a deeper shadow.
TEST_F(SuperShapeTest, ShapeAndShadowRectanglesByOrientation)
{
    struct Case {
        SuperShapeKind shape;
        ShadowCorner orient;
        int depth;
        TEdges shape_;
        TEdges shadow;
    };
    const Case cases[] = {
        { SuperShapeKind::Rectangle, ShadowCorner::NoShadow, 5, { 1, 1, 98, 58 }, {} },
        { SuperShapeKind::Rectangle, ShadowCorner::LowerRight, 5, { 1, 1, 93, 53 }, { 6, 6, 98, 58 } },
        { SuperShapeKind::Ellipse, ShadowCorner::UpperRight, 5, { 1, 6, 93, 58 }, { 6, 1, 98, 53 } },
        { SuperShapeKind::Star, ShadowCorner::UpperLeft, 5, { 6, 6, 98, 58 }, { 1, 1, 93, 53 } },
        { SuperShapeKind::RoundRect, ShadowCorner::LowerLeft, 5, { 6, 1, 98, 53 }, { 1, 6, 93, 58 } },
        { SuperShapeKind::Diamond, ShadowCorner::LowerRight, 5, { 1, 1, 93, 58 }, { 6, 1, 98, 58 } },
        { SuperShapeKind::Diamond, ShadowCorner::UpperRight, 5, { 1, 1, 93, 58 }, { 6, 1, 98, 58 } },
        { SuperShapeKind::Diamond, ShadowCorner::UpperLeft, 5, { 6, 1, 98, 58 }, { 1, 1, 93, 58 } },
        { SuperShapeKind::Diamond, ShadowCorner::LowerLeft, 5, { 6, 1, 98, 58 }, { 1, 1, 93, 58 } },
        // Depth 7; the outline width stays 3.
        { SuperShapeKind::Rectangle, ShadowCorner::LowerRight, 7, { 1, 1, 91, 51 }, { 8, 8, 98, 58 } },
    };
    for (const Case& c : cases) {
        TSuperShape* s = make(100, 60);
        s->SetOutlineWidth(3);
        s->SetShape(c.shape);
        s->SetShadowOrient(c.orient);
        s->SetShadowDepth(c.depth);
        const TShapeRects r = s->ShapeRects();
        EXPECT_EQ(r.shape, c.shape_) << int(c.shape) << "/" << int(c.orient);
        EXPECT_EQ(r.shadow, c.shadow) << int(c.shape) << "/" << int(c.orient);
    }
}

TEST_F(SuperShapeTest, OutlineVerticesOfDiamondTrianglesAndStars)
{
    struct Case {
        SuperShapeKind shape;
        TEdges r;
        QPolygon expected;
    };
    const TEdges box { 0, 0, 100, 60 };
    const Case cases[] = {
        { SuperShapeKind::Diamond, box, QPolygon({ { 50, 0 }, { 99, 30 }, { 50, 59 }, { 0, 30 } }) },
        { SuperShapeKind::TriangleLeft, box, QPolygon({ { 99, 0 }, { 99, 59 }, { 0, 30 } }) },
        { SuperShapeKind::TriangleRight, box, QPolygon({ { 0, 0 }, { 99, 30 }, { 0, 59 } }) },
        { SuperShapeKind::TriangleUp, { 10, 20, 31, 41 }, QPolygon({ { 20, 20 }, { 10, 40 }, { 30, 40 } }) },
        { SuperShapeKind::TriangleDown, box, QPolygon({ { 0, 0 }, { 50, 59 }, { 99, 0 } }) },
        { SuperShapeKind::Rectangle, box, QPolygon() },
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutlineVertices(c.shape, c.r, 10, 90, 50), c.expected) << int(c.shape);

    // The new object: a five-pointed star, R = min(12, 12) - 4 = 8, first vertex straight up.
    TSuperShape* fresh = make(25, 25);
    const QPolygon star = fresh->Vertices(fresh->ShapeRects().shape);
    ASSERT_EQ(star.size(), 10);
    EXPECT_EQ(star[0], QPoint(12, 4));
    EXPECT_EQ(star[1], QPoint(14, 9)); // inner vertex at half the radius, clockwise
    EXPECT_EQ(star[5], QPoint(12, 16));

    // InVectorPercent 0: a regular decagon, every vertex on the circle of radius R.
    const QPolygon decagon = StarPoints({ 0, 0, 200, 200 }, 10, 90, 0);
    ASSERT_EQ(decagon.size(), 10);
    for (const QPoint& v : decagon)
        EXPECT_NEAR(std::hypot(v.x() - 100, v.y() - 100), 96.0, 0.75);
    EXPECT_EQ(decagon[0], QPoint(100, 4));
    EXPECT_EQ(RoundCornerSize(100, 60, 25), 25);
    EXPECT_EQ(RoundCornerSize(30, 77, 33), 25); // trunc(25.41)
}

// Setters ignore values out of range and keep the shape's couplings.
TEST_F(SuperShapeTest, SettersKeepRangesAndCouplings)
{
    struct Case {
        const char* what;
        std::function<void(TSuperShape&)> set;
        std::function<int(const TSuperShape&)> get;
        int expected;
    };
    const Case cases[] = {
        { "Vectors 61", [](TSuperShape& s) { s.SetVectors(61); }, &TSuperShape::Vectors, 10 },
        { "Vectors 2", [](TSuperShape& s) { s.SetVectors(2); }, &TSuperShape::Vectors, 10 },
        { "Vectors 60", [](TSuperShape& s) { s.SetVectors(60); }, &TSuperShape::Vectors, 60 },
        { "StartingAngle 360", [](TSuperShape& s) { s.SetStartingAngle(360); }, &TSuperShape::StartingAngle, 90 },
        { "StartingAngle 0", [](TSuperShape& s) { s.SetStartingAngle(0); }, &TSuperShape::StartingAngle, 0 },
        { "InVectorPercent 101", [](TSuperShape& s) { s.SetInVectorPercent(101); }, &TSuperShape::InVectorPercent, 50 },
        { "ShadowDepth 13 on 25", [](TSuperShape& s) { s.SetShadowDepth(13); }, &TSuperShape::ShadowDepth, 5 },
        { "ShadowDepth 12 on 25", [](TSuperShape& s) { s.SetShadowDepth(12); }, &TSuperShape::ShadowDepth, 12 },
        { "ShadowOrient 5", [](TSuperShape& s) { s.SetShadowOrient(static_cast<ShadowCorner>(5)); },
            [](const TSuperShape& s) { return int(s.ShadowOrient()); }, int(ShadowCorner::NoShadow) },
        { "becoming a star",
            [](TSuperShape& s) {
                s.SetShape(SuperShapeKind::Polygon);
                s.SetVectors(6);
                s.SetInVectorPercent(0);
                s.SetStartingAngle(30);
                s.SetShape(SuperShapeKind::Star);
            },
            [](const TSuperShape& s) { return s.Vectors() * 10000 + s.InVectorPercent() * 1000 + s.StartingAngle(); },
            10 * 10000 + 50 * 1000 + 90 },
        { "transparent keeps the outline",
            [](TSuperShape& s) {
                s.SetOutlineStyle(PenStyle::Clear);
                s.SetShadowOrient(ShadowCorner::LowerLeft);
                s.SetPattern(BrushStyle::Cross);
                s.SetSurfaceType(ShapeSurface::Transparent);
            },
            [](const TSuperShape& s) {
                return int(s.OutlineStyle()) * 100 + int(s.ShadowOrient()) * 10 + int(s.Pattern());
            },
            int(PenStyle::Solid) * 100 + int(ShadowCorner::NoShadow) * 10 + int(BrushStyle::Clear) },
    };
    for (const Case& c : cases) {
        TSuperShape* s = make(25, 25);
        c.set(*s);
        EXPECT_EQ(c.get(*s), c.expected) << c.what;
    }
}

// The surface bitmaps: the texture is lost when leaving the texture surface,
// the gradient follows the size, the solid bitmap is made for the solid surface.
TEST_F(SuperShapeTest, SurfaceChangesRebuildOrEmptyTheBitmaps)
{
    const QImage texture = checkerTexture();
    TSuperShape* s = make(40, 30);
    s->SetSurfaceType(ShapeSurface::Image);
    s->SetImage(&texture);
    s->SetSurfaceType(ShapeSurface::Gradient);
    EXPECT_TRUE(s->Image().isNull());
    EXPECT_EQ(s->GradientBitmap().size(), QSize(40, 30));
    s->SetSurfaceType(ShapeSurface::Image);
    EXPECT_TRUE(s->Image().isNull()); // nothing brings it back but the dialog
    s->SetSurfaceType(ShapeSurface::Gradient);
    s->SetBounds(0, 0, 70, 50);
    EXPECT_EQ(s->GradientBitmap().size(), QSize(70, 50));
    s->SetSurfaceType(ShapeSurface::Pattern);
    EXPECT_EQ(s->SolidBitmap().size(), QSize(70, 50));
    EXPECT_EQ(QColor(s->SolidBitmap().pixel(5, 5)), QColor(Qt::red));
}

// Painted pixels of a few shapes and surfaces.
TEST_F(SuperShapeTest, PaintsSurfaceShadowAndOutlineOnScreen)
{
    const QImage texture = checkerTexture();
    struct Case {
        const char* what;
        std::function<void(TSuperShape&)> setup;
        std::vector<std::pair<QPoint, std::function<bool(QRgb)>>> pixels; // object coordinates
    };
    auto page = [](QRgb c) { return IsPage(c); };
    auto ink = [](QRgb c) { return IsInk(c); };
    const Case cases[] = {
        { "gradient up, no outline",
            [](TSuperShape& s) {
                s.SetShape(SuperShapeKind::Rectangle);
                s.SetOutlineStyle(PenStyle::Clear);
            },
            { { { 50, 0 }, isBlue }, { { 50, 59 }, isRed }, { { 0, 30 }, [](QRgb c) { return qRed(c) > 100 && qBlue(c) > 100; } } } },
        { "solid ellipse",
            [](TSuperShape& s) {
                s.SetShape(SuperShapeKind::Ellipse);
                s.SetSurfaceType(ShapeSurface::Pattern);
            },
            { { { 50, 30 }, isRed }, { { 2, 2 }, page }, { { 0, 30 }, ink } } },
        { "texture rectangle, tiles from the corner",
            [&texture](TSuperShape& s) {
                s.SetShape(SuperShapeKind::Rectangle);
                s.SetOutlineStyle(PenStyle::Clear);
                s.SetSurfaceType(ShapeSurface::Image);
                s.SetImage(&texture);
            },
            { { { 0, 0 }, isBlue }, { { 32, 32 }, isBlue }, { { 64, 0 }, isBlue }, { { 33, 32 }, isRed } } },
        { "transparent triangle with a lower-right shadow",
            [](TSuperShape& s) {
                s.SetShape(SuperShapeKind::TriangleUp);
                s.SetSurfaceType(ShapeSurface::Transparent);
                s.SetShadowOrient(ShadowCorner::LowerRight);
                s.SetShadowColor(clBlue);
            },
            // Shape (0, 0, 95, 55): apex at (47, 0), its 1-pixel outline from row 1; shadow (5, 5, 100, 60).
            // The shadow shows through the transparent shape.
            { { { 47, 1 }, ink }, { { 47, 30 }, isBlue }, { { 40, 12 }, page }, { { 90, 57 }, isBlue }, { { 2, 40 }, page } } },
        { "star: the centre filled, the corners not",
            [](TSuperShape& s) { s.SetSurfaceType(ShapeSurface::Pattern); },
            { { { 50, 30 }, isRed }, { { 3, 3 }, page }, { { 96, 56 }, page } } },
    };
    for (const Case& c : cases) {
        TSuperShape* s = make(100, 60);
        c.setup(*s);
        const QImage image = RenderObject(*s, 10);
        for (const auto& [point, match] : c.pixels)
            EXPECT_TRUE(match(image.pixel(point + QPoint(10, 10))))
                << c.what << " at " << point.x() << "," << point.y() << ": " << std::hex << image.pixel(point + QPoint(10, 10));
    }
}

// On paper at 600 dpi from a 96 ppi screen: texture tiles of 200 printer
// pixels from the object's corner, the gradient a quarter inch taller than
// the object, the outline width in hundredths of an inch.
TEST_F(SuperShapeTest, PrintsAtPrinterResolution)
{
    const QImage texture = checkerTexture();
    TPageMetrics sheet;
    sheet.paperInches = QSizeF(3.0, 3.0);
    sheet.xDpi = sheet.yDpi = 600;
    struct Case {
        const char* what;
        std::function<void(TSuperShape&)> setup;
        std::function<void(const QImage&)> check; // the page, object at sheet pixel (300, 300), 600 x 400
    };
    const Case cases[] = {
        { "texture",
            [&texture](TSuperShape& s) {
                s.SetSurfaceType(ShapeSurface::Image);
                s.SetImage(&texture);
                s.SetOutlineStyle(PenStyle::Clear);
            },
            [](const QImage& page) {
                EXPECT_EQ(MatchBounds(page, [](QRgb c) { return isRed(c) || isBlue(c); }), QRect(300, 300, 600, 400));
                for (const QPoint corner : { QPoint(300, 300), QPoint(500, 300), QPoint(700, 500) })
                    EXPECT_TRUE(isBlue(page.pixel(corner + QPoint(2, 2)))) << corner.x() << "," << corner.y();
                EXPECT_TRUE(isRed(page.pixel(400, 400)));
            } },
        { "gradient down",
            [](TSuperShape& s) {
                s.SetFillDirection(FillDirection::Down);
                s.SetOutlineStyle(PenStyle::Clear);
            },
            [](const QImage& page) {
                EXPECT_EQ(QColor(page.pixel(600, 300)), QColor(Qt::red));
                // The bands span the shape as on screen: it ends in pure blue.
                const QColor bottom(page.pixel(600, 699));
                EXPECT_GT(bottom.blue(), 250);
                EXPECT_LT(bottom.red(), 5);
                EXPECT_EQ(QColor(page.pixel(600, 700)), QColor(Qt::white));
            } },
        { "outline 3 pixels, shadow",
            [](TSuperShape& s) {
                s.SetSurfaceType(ShapeSurface::Transparent);
                s.SetOutlineWidth(3);
                s.SetShadowOrient(ShadowCorner::LowerRight);
                s.SetShadowColor(clBlue);
            },
            [](const QImage& page) {
                // 3/96 inch: 19 dark printer pixels across the left edge at mid height.
                EXPECT_NEAR(CountIn(page, [](QRgb c) { return IsInk(c); }, QRect(270, 450, 60, 1)), 19, 1);
                // The shadow: 5 screen pixels = 31 printer pixels below the shape's bottom right.
                EXPECT_TRUE(isBlue(page.pixel(875, 670)));
            } },
    };
    for (const Case& c : cases) {
        TSuperShape* s = make(96, 64);
        s->SetShape(SuperShapeKind::Rectangle);
        c.setup(*s);
        TRecordingReport report(sheet);
        report.OnPrint = [s](TReport& r) { s->PrintAtResolution(r, 0.5, 0.5, 96, 1 << 24); };
        ASSERT_TRUE(report.Execute());
        SCOPED_TRACE(c.what);
        c.check(report.RenderPage(0, 1.0));
    }
}

// A texture travels in "Image.Data" and comes back byte for byte; a block
// that is no bitmap is refused with the reader's message.
TEST_F(SuperShapeTest, TextureRoundTripsThroughTheCardFile)
{
    TSuperShape* s = make(80, 50);
    s->SetName("Special1");
    s->SetShape(SuperShapeKind::Diamond);
    s->SetSurfaceType(ShapeSurface::Image);
    const QImage texture = checkerTexture();
    s->SetImage(&texture);
    s->SetLastBitmapFileNameandPath("/home/user/bmbrush/paper.bmp");
    const QByteArray first = TQLabelObjectFiler::WriteObjects({ s });
    EXPECT_TRUE(first.contains("Image.Data"));

    TQLabelObjectFiler filer;
    FakeParent other;
    const auto read = filer.ReadObjects(first, &other.Owner, &other, other.AdoptFunction());
    ASSERT_EQ(read.size(), 1u);
    auto* copy = qobject_cast<TSuperShape*>(read[0]);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Shape(), SuperShapeKind::Diamond);
    EXPECT_EQ(copy->Image().size(), QSize(32, 32));
    EXPECT_EQ(copy->Image().pixel(0, 0), qRgb(0, 0, 255));
    copy->SetName("Special1"); // the reader gives it a name of its own
    EXPECT_EQ(TQLabelObjectFiler::WriteObjects({ copy }), first);

    // Without a texture nothing is written for it.
    s->SetSurfaceType(ShapeSurface::Gradient);
    EXPECT_FALSE(TQLabelObjectFiler::WriteObjects({ s }).contains("Image.Data"));

    QByteArray broken = first;
    const int at = broken.indexOf("BM", broken.indexOf("Image.Data"));
    ASSERT_GT(at, 0);
    broken[at] = 'X';
    FakeParent third;
    try {
        filer.ReadObjects(broken, &third.Owner, &third, third.AdoptFunction());
        ADD_FAILURE() << "a damaged bitmap was accepted";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
}

// Surfaces are made for what the card shows: a shape far larger than the
// card, or partly off it, costs the card's pixels, not its stored box's;
// the part of a gradient shown is the same as that part of the whole one.
TEST_F(SuperShapeTest, SurfacesCoverOnlyWhatTheCardShows)
{
    const struct {
        QRect bounds;
        QRect visible; // in the shape's own pixels
    } cases[] = {
        { QRect(10, 20, 70, 50), QRect(0, 0, 70, 50) },
        { QRect(0, 0, 1 << 20, 1 << 20), QRect(0, 0, 336, 192) },
        { QRect(-500000, -400000, 1 << 20, 1 << 20), QRect(500000, 400000, 336, 192) },
        { QRect(300, 150, 100, 100), QRect(0, 0, 36, 42) },
        { QRect(-60, -30, 100, 100), QRect(60, 30, 40, 70) },
        { QRect(400, 10, 100, 100), QRect() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1,%2 %3x%4").arg(c.bounds.x()).arg(c.bounds.y()).arg(c.bounds.width()).arg(c.bounds.height()).toStdString());
        TSuperShape* s = make(10, 10);
        s->SetBounds(c.bounds.x(), c.bounds.y(), c.bounds.width(), c.bounds.height());
        EXPECT_EQ(s->VisibleSurface().isEmpty() ? QRect() : s->VisibleSurface(), c.visible);
        s->SetSurfaceType(ShapeSurface::Gradient);
        EXPECT_EQ(s->GradientBitmap().size(), c.visible.size());
        EXPECT_EQ(s->GradientOrigin(), c.visible.isEmpty() ? s->GradientOrigin() : c.visible.topLeft());
        s->SetSurfaceType(ShapeSurface::Pattern);
        EXPECT_EQ(s->SolidBitmap().size(), c.visible.size());
        delete s;
    }
    // The part of a gradient is the whole gradient's pixels there.
    for (FillDirection d : { FillDirection::Up, FillDirection::Down, FillDirection::Left, FillDirection::Right }) {
        const QImage whole = BuildGradient(d, clRed, clBlue, QSize(300, 200));
        const QRect part(50, 40, 100, 80);
        EXPECT_EQ(BuildGradientPart(d, clRed, clBlue, QSize(300, 200), part), whole.copy(part)) << int(d);
    }
}

// A textured shape a million pixels wide paints the card's part of it, tile
// by tile from the shape's corner, and no more.
TEST_F(SuperShapeTest, GiantTexturedShapePaintsTheCardsPart)
{
    const QImage texture = checkerTexture();
    TSuperShape* s = make(10, 10);
    s->SetShape(SuperShapeKind::Rectangle);
    s->SetOutlineStyle(PenStyle::Clear);
    s->SetBounds(-(32 * 10000 + 5), -(32 * 10000 + 7), 1 << 20, 1 << 20);
    s->SetSurfaceType(ShapeSurface::Image);
    s->SetImage(&texture);
    QImage card(336, 192, QImage::Format_RGB32);
    card.fill(Qt::white);
    QPainter p(&card);
    s->PaintTo(p, s->Left(), s->Top());
    p.end();
    // Tile corners fall every 32 pixels from the shape's corner: 27 and 25 on the card.
    EXPECT_TRUE(isBlue(card.pixel(27, 25)));
    EXPECT_TRUE(isBlue(card.pixel(27 + 32, 25 + 64)));
    EXPECT_TRUE(isRed(card.pixel(28, 25)));
    EXPECT_TRUE(isRed(card.pixel(300, 150)));
}
