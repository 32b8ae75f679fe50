#pragma once
#include "core/gradient.h"
#include "objects/graphic_control.h"
#include "objects/supershape/super_shape_geometry.h"
#include <QByteArray>
#include <QImage>

namespace cardora {

// Surfaces of the super shape (the super text has a list of its own).
enum class ShapeSurface { Transparent, Pattern, Image, Gradient };
const QStringList& ShapeSurfaceNames();

// One of ten outlines with a drop shadow, a transparent, solid, textured or
// gradient surface and an outline of any colour, style and width.
class TSuperShape : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TSuperShape(QObject* owner = nullptr);
    ~TSuperShape() override;

    static QString StaticClassName() { return QStringLiteral("TSuperShape"); }
    static TQGraphicControl* Create(QObject* owner) { return new TSuperShape(owner); }
    QString ClassName() const override { return StaticClassName(); }
    // What the super-shape tool creates, Loaded.
    static TSuperShape* CreateForTool(QObject* owner);

    // --- stored properties
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c);
    cardora::FillDirection FillDirection() const { return fillDirection_; }
    void SetFillDirection(cardora::FillDirection d);
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor c);
    TColor GradientToColor() const { return gradientToColor_; }
    void SetGradientToColor(TColor c);
    const QImage& Image() const { return image_; }
    // Copies the picture; nullptr or a null image empties the texture.
    void SetImage(const QImage* image);
    int InVectorPercent() const { return inVectorPercent_; }
    void SetInVectorPercent(int v);
    TColor OutlineColor() const { return outlineColor_; }
    void SetOutlineColor(TColor c);
    PenStyle OutlineStyle() const { return outlineStyle_; }
    void SetOutlineStyle(PenStyle s);
    int OutlineWidth() const { return outlineWidth_; }
    void SetOutlineWidth(int w);
    BrushStyle Pattern() const { return pattern_; }
    void SetPattern(BrushStyle p);
    int RoundPerc() const { return roundPerc_; }
    void SetRoundPerc(int v);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int d);
    ShadowCorner ShadowOrient() const { return shadowOrient_; }
    void SetShadowOrient(ShadowCorner o);
    SuperShapeKind Shape() const { return shape_; }
    void SetShape(SuperShapeKind s);
    int StartingAngle() const { return startingAngle_; }
    void SetStartingAngle(int a);
    ShapeSurface SurfaceType() const { return surfaceType_; }
    void SetSurfaceType(ShapeSurface t);
    int Vectors() const { return vectors_; }
    void SetVectors(int v);
    QString LastBitmapFileNameandPath() const { return lastBitmapFile_; }
    void SetLastBitmapFileNameandPath(const QString& path) { lastBitmapFile_ = path; }

    const PropertyTable& Properties() const override;

    // The "Image.Data" entry: a 4-byte size and a BMP file. Reading keeps the
    // bytes so that the texture is written back as it came.
    QByteArray ImageData() const;
    void SetImageData(const QByteArray& data);

    // --- painting and printing
    void Loaded() override;
    void BoundsChanged() override;
    void Paint() override;
    void PrintAt(TReport& report, double x, double y) override;
    // PrintAt for a screen of `ppi` logical pixels per inch and `displayColors` colours.
    void PrintAtResolution(TReport& report, double x, double y, int ppi, qint64 displayColors);

    // The shape and shadow rectangles in the box.
    TShapeRects ShapeRects() const;
    // Vertices of the outline in `r` (empty for rectangles and ellipses).
    QPolygon Vertices(const TEdges& r) const;
    const QImage& GradientBitmap() const { return gradientBitmap_; }
    // The part of the object (in its own pixels) the card shows; the whole
    // object when it lies on the card.
    QRect VisibleSurface() const;
    // The size of the surface bitmaps: that of the visible part.
    QSize SurfaceBitmapSize() const;
    // Where the gradient bitmap sits in the object.
    QPoint GradientOrigin() const { return gradientOrigin_; }
    const QImage& SolidBitmap() const { return solidBitmap_; }

    // Takes every property of `other` through the setters, in the order the
    // properties dialog hands them back; the size is not taken.
    void AssignProperties(const TSuperShape& other);
    // The "Properties" command.
    // True when the dialog was confirmed.
    bool EditProperties();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    void BuildGradient();
    void BuildSolidBitmap();
    void rebuildGradientIfShown();
    bool gradientIsStale() const;

    TColor backColor_ = clRed;
    cardora::FillDirection fillDirection_ = cardora::FillDirection::Up;
    TColor foreColor_ = clBlack;
    TColor gradientToColor_ = clBlue;
    QImage image_;
    QByteArray imageFile_; // the BMP file the texture was read from, if any
    QImage gradientBitmap_;
    QPoint gradientOrigin_;
    QImage solidBitmap_;
    int inVectorPercent_ = 50;
    TColor outlineColor_ = clBlack;
    PenStyle outlineStyle_ = PenStyle::Solid;
    int outlineWidth_ = 1;
    BrushStyle pattern_ = BrushStyle::Clear;
    int roundPerc_ = 25;
    TColor shadowColor_ = clBlack;
    int shadowDepth_ = 5;
    ShadowCorner shadowOrient_ = ShadowCorner::NoShadow;
    SuperShapeKind shape_ = SuperShapeKind::Star;
    int startingAngle_ = 90;
    ShapeSurface surfaceType_ = ShapeSurface::Gradient;
    int vectors_ = 10;
    QString lastBitmapFile_;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterSuperShapeKind();

} // namespace cardora
