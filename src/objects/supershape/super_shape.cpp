#include "objects/supershape/super_shape.h"
#include "objects/class_registry.h"
#include "objects/card_object_parent.h"
#include "core/assign.h"
#include "core/graphics_attributes.h"
#include "core/rounding.h"
#include "imaging/bitmap_data.h"
#include "imaging/fill.h"
#include "objects/stream_error.h"
#include <QMenu>
#include <algorithm>
#include <climits>

namespace cardora {

const QStringList& ShapeSurfaceNames()
{
    static const QStringList n = { "stBrushTransparent", "stBrushPattern", "stBrushImage", "stGradientFill" };
    return n;
}

TSuperShape::TSuperShape(QObject* owner) : TQGraphicControl(owner)
{
    // The panel's placing is the first size change, not this initial size.
    SetLoading(true);
    SetBounds(0, 0, 25, 25);
    SetLoading(false);
}

TSuperShape::~TSuperShape() = default;

TSuperShape* TSuperShape::CreateForTool(QObject* owner)
{
    auto* s = new TSuperShape(owner);
    s->Loaded();
    return s;
}

// ---- setters

void TSuperShape::rebuildGradientIfShown()
{
    if (surfaceType_ == ShapeSurface::Gradient)
        BuildGradient();
}

void TSuperShape::SetBackColor(TColor c)
{
    if (c == backColor_)
        return;
    backColor_ = c;
    rebuildGradientIfShown();
    if (surfaceType_ == ShapeSurface::Pattern)
        BuildSolidBitmap();
    Invalidate();
}

void TSuperShape::SetFillDirection(cardora::FillDirection d)
{
    if (d == fillDirection_ || d < FillDirection::Up || d > FillDirection::Right)
        return;
    fillDirection_ = d;
    rebuildGradientIfShown();
    Invalidate();
}

void TSuperShape::SetForeColor(TColor c)
{
    if (c == foreColor_)
        return;
    foreColor_ = c;
    if (surfaceType_ == ShapeSurface::Pattern)
        BuildSolidBitmap();
    Invalidate();
}

void TSuperShape::SetGradientToColor(TColor c)
{
    if (c == gradientToColor_)
        return;
    gradientToColor_ = c;
    rebuildGradientIfShown();
    Invalidate();
}

void TSuperShape::SetImage(const QImage* image)
{
    image_ = image ? *image : QImage();
    imageFile_.clear();
    Invalidate();
}

void TSuperShape::SetInVectorPercent(int v)
{
    if (v >= 0 && v <= 100 && Assign(inVectorPercent_, v))
        Invalidate();
}

void TSuperShape::SetOutlineColor(TColor c)
{
    if (c == outlineColor_)
        return;
    outlineColor_ = c;
    Invalidate();
}

void TSuperShape::SetOutlineStyle(PenStyle s)
{
    if (s == outlineStyle_ || s < PenStyle::Solid || s > PenStyle::InsideFrame)
        return;
    outlineStyle_ = s;
    Invalidate();
}

void TSuperShape::SetOutlineWidth(int w)
{
    if (w == outlineWidth_)
        return;
    outlineWidth_ = w;
    Invalidate();
}

void TSuperShape::SetPattern(BrushStyle p)
{
    if (p == pattern_ || p < BrushStyle::Solid || p > BrushStyle::DiagCross)
        return;
    pattern_ = p;
    BuildSolidBitmap();
    Invalidate();
}

void TSuperShape::SetRoundPerc(int v)
{
    if (Assign(roundPerc_, v))
        Invalidate();
}

void TSuperShape::SetShadowColor(TColor c)
{
    if (c == shadowColor_)
        return;
    shadowColor_ = c;
    rebuildGradientIfShown();
    Invalidate();
}

void TSuperShape::SetShadowDepth(int d)
{
    if (d == shadowDepth_ || d > Width() / 2 || d > Height() / 2)
        return;
    shadowDepth_ = d;
    rebuildGradientIfShown();
    Invalidate();
}

void TSuperShape::SetShadowOrient(ShadowCorner o)
{
    if (o == shadowOrient_ || o < ShadowCorner::NoShadow || o > ShadowCorner::LowerLeft)
        return;
    shadowOrient_ = o;
    rebuildGradientIfShown();
    Invalidate();
}

void TSuperShape::SetShape(SuperShapeKind s)
{
    if (s == shape_ || s < SuperShapeKind::Rectangle || s > SuperShapeKind::Polygon)
        return;
    shape_ = s;
    if (s == SuperShapeKind::Star) {
        if (inVectorPercent_ == 0)
            SetInVectorPercent(50);
        if (vectors_ < 10)
            SetVectors(10);
        SetStartingAngle(90);
    }
    Invalidate();
}

void TSuperShape::SetStartingAngle(int a)
{
    if (a == startingAngle_ || a < 0 || a > 359)
        return;
    startingAngle_ = a;
    Invalidate();
}

void TSuperShape::SetSurfaceType(ShapeSurface t)
{
    if (t == surfaceType_ || t < ShapeSurface::Transparent || t > ShapeSurface::Gradient)
        return;
    surfaceType_ = t;
    Invalidate();
    if (t != ShapeSurface::Image)
        SetImage(nullptr);
    if (t == ShapeSurface::Gradient)
        BuildGradient();
    if (t == ShapeSurface::Pattern) {
        SetImage(nullptr);
        BuildSolidBitmap();
    }
    if (t == ShapeSurface::Transparent) {
        // A transparent shape stays visible through its outline.
        SetShadowOrient(ShadowCorner::NoShadow);
        SetPattern(BrushStyle::Clear);
        if (outlineStyle_ == PenStyle::Clear)
            SetOutlineStyle(PenStyle::Solid);
    }
}

void TSuperShape::SetVectors(int v)
{
    if (v >= 3 && v <= 60 && Assign(vectors_, v))
        Invalidate();
}

// ---- stored form

const PropertyTable& TSuperShape::Properties() const
{
    static const PropertyTable t = [this] {
        using T = TSuperShape;
        PropertyTable p = TQGraphicControl::Properties();
        const std::nullopt_t always = std::nullopt;
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "BackColor", always, &T::BackColor, &T::SetBackColor));
        p.push_back(OrdinalProp<T, cardora::FillDirection>(PropKind::Enum, "FillDirection", always, &T::FillDirection,
            &T::SetFillDirection, FillDirectionNames()));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "ForeColor", always, &T::ForeColor, &T::SetForeColor));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "GradientToColor", always, &T::GradientToColor,
            &T::SetGradientToColor));
        PropertyDecl image;
        image.name = "Image";
        image.kind = PropKind::Binary;
        image.getBinary = [](const Persistent& o) { return static_cast<const T&>(o).ImageData(); };
        image.setBinary = [](Persistent& o, const QByteArray& b) { static_cast<T&>(o).SetImageData(b); };
        image.storedWhen = [](const Persistent& o) {
            const auto& s = static_cast<const T&>(o);
            return !s.image_.isNull() || !s.imageFile_.isEmpty();
        };
        p.push_back(image);
        p.push_back(IntegerProp<T, int>("InVectorPercent", always, &T::InVectorPercent, &T::SetInVectorPercent));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "OutlineColor", always, &T::OutlineColor,
            &T::SetOutlineColor));
        p.push_back(OrdinalProp<T, PenStyle>(PropKind::Enum, "OutlineStyle", always, &T::OutlineStyle,
            &T::SetOutlineStyle, PenStyleNames()));
        p.push_back(IntegerProp<T, int>("OutlineWidth", always, &T::OutlineWidth, &T::SetOutlineWidth));
        p.push_back(OrdinalProp<T, BrushStyle>(PropKind::Enum, "Pattern", always, &T::Pattern, &T::SetPattern,
            BrushStyleNames()));
        p.push_back(IntegerProp<T, int>("RoundPerc", always, &T::RoundPerc, &T::SetRoundPerc));
        p.push_back(OrdinalProp<T, TColor>(PropKind::Color, "ShadowColor", always, &T::ShadowColor,
            &T::SetShadowColor));
        p.push_back(IntegerProp<T, int>("ShadowDepth", always, &T::ShadowDepth, &T::SetShadowDepth));
        p.push_back(OrdinalProp<T, ShadowCorner>(PropKind::Enum, "ShadowOrient", always, &T::ShadowOrient,
            &T::SetShadowOrient, ShadowOrientNames()));
        p.push_back(OrdinalProp<T, SuperShapeKind>(PropKind::Enum, "Shape", always, &T::Shape, &T::SetShape, ShapeKindNames()));
        p.push_back(IntegerProp<T, int>("StartingAngle", always, &T::StartingAngle, &T::SetStartingAngle));
        p.push_back(OrdinalProp<T, ShapeSurface>(PropKind::Enum, "SurfaceType", always, &T::SurfaceType, &T::SetSurfaceType,
            ShapeSurfaceNames()));
        p.push_back(IntegerProp<T, int>("Vectors", always, &T::Vectors, &T::SetVectors));
        p.push_back(TextProp<T>("LastBitmapFileNameandPath", &T::LastBitmapFileNameandPath,
            &T::SetLastBitmapFileNameandPath));
        return p;
    }();
    return t;
}

QByteArray TSuperShape::ImageData() const
{
    return imageFile_.isEmpty() ? BitmapDataBlock(image_) : BitmapDataBlock(imageFile_);
}

void TSuperShape::SetImageData(const QByteArray& data)
{
    QImage decoded;
    QByteArray file;
    if (!ReadBitmapDataBlock(data, &decoded, &file))
        throw EStreamError(QStringLiteral("Bitmap image is not valid"));
    SetImage(decoded.isNull() ? nullptr : &decoded);
    imageFile_ = file;
}

// ---- geometry

QRect TSuperShape::VisibleSurface() const
{
    // Surfaces are made for what the card shows of the shape: a damaged
    // file's giant object must not take gigabytes nor hours.
    const QRect box(0, 0, std::max(0, Width()), std::max(0, Height()));
    if (const CardObjectParent* panel = ParentPanel()) {
        const QSize card = panel->PanelSize();
        const int b = panel->BleedPixels();
        return box & QRect(-Left() - b, -Top() - b, card.width() + 2 * b, card.height() + 2 * b);
    }
    constexpr int kLargest = 2048; // no card to go by
    return box & QRect(0, 0, kLargest, kLargest);
}

QSize TSuperShape::SurfaceBitmapSize() const { return VisibleSurface().size(); }

TShapeRects TSuperShape::ShapeRects() const
{
    return ComputeShapeRects(shape_, shadowOrient_, shadowDepth_, outlineWidth_, Width(), Height());
}

QPolygon TSuperShape::Vertices(const TEdges& r) const
{
    return OutlineVertices(shape_, r, vectors_, startingAngle_, inVectorPercent_);
}

void TSuperShape::BuildGradient()
{
    // The bands of the whole shape, of which the bitmap holds the part shown.
    const QRect part = VisibleSurface();
    gradientBitmap_ = cardora::BuildGradientPart(fillDirection_, backColor_,
        gradientToColor_, QSize(Width(), Height()), part);
    gradientOrigin_ = part.topLeft();
    Invalidate();
}

bool TSuperShape::gradientIsStale() const
{
    const QRect part = VisibleSurface();
    return gradientBitmap_.size() != part.size() || gradientOrigin_ != part.topLeft();
}

void TSuperShape::BuildSolidBitmap()
{
    solidBitmap_ = cardora::BuildSolidBitmap(backColor_, SurfaceBitmapSize());
}

// ---- lifecycle

void TSuperShape::Loaded() { TQGraphicControl::Loaded(); }

void TSuperShape::AddMenuItems(QMenu& menu)
{
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("Properties")), &QAction::triggered, this, [this] { EditProperties(); });
}

void TSuperShape::BoundsChanged()
{
    // The common handling (change notice, handles) stays: a moved or resized
    // shape is a change of the card like any other.
    TQGraphicControl::BoundsChanged();
    if (surfaceType_ == ShapeSurface::Gradient && gradientIsStale())
        BuildGradient();
}

void TSuperShape::AssignProperties(const TSuperShape& o)
{
    SetBackColor(o.backColor_);
    SetFillDirection(o.fillDirection_);
    SetForeColor(o.foreColor_);
    SetGradientToColor(o.gradientToColor_);
    SetImage(&o.image_);
    imageFile_ = o.imageFile_;
    SetInVectorPercent(o.inVectorPercent_);
    SetOutlineColor(o.outlineColor_);
    SetOutlineStyle(o.outlineStyle_);
    SetOutlineWidth(o.outlineWidth_);
    SetPattern(o.pattern_);
    SetRoundPerc(o.roundPerc_);
    SetShadowColor(o.shadowColor_);
    SetShadowDepth(o.shadowDepth_);
    SetShadowOrient(o.shadowOrient_);
    SetShape(o.shape_);
    // Becoming a star resets the inward percentage; the one chosen wins.
    SetInVectorPercent(o.inVectorPercent_);
    SetStartingAngle(o.startingAngle_);
    SetSurfaceType(o.surfaceType_);
    SetVectors(o.vectors_);
}

// Shapes and surfaces with gradients, textures and shadows.
void RegisterSuperShapeKind()
{
    {
        ObjectKind kind;
        kind.className = TSuperShape::StaticClassName();
        kind.factory = &TSuperShape::Create;
        kind.selectionTip = QStringLiteral("Supershape selected: right-click it and choose Properties for its outline, surface and shadow.");
        kind.filledSurfaces = true;
        {
            ObjectTool t;
            t.buttonName = QStringLiteral("DrawSupershape");
            t.icon = QStringLiteral("supershape");
            t.noun = QStringLiteral("Super Shape");
            t.hint = QStringLiteral("Multi-purpose shapes and surfaces");
            t.whatsThis = QStringLiteral("Super Shape tool: drag a box for a shape filled with a gradient, a texture or a colour, with a drop shadow.");
            t.assistantTip = QStringLiteral("drag a box for a shape filled with a gradient, a texture or a solid colour, with an optional drop shadow.");
            t.helpTopic = 40011;
            t.create = [](const ToolPlacement& at) -> TQGraphicControl* { return TSuperShape::CreateForTool(at.owner); };
            t.afterPlace = [](const ToolPlacement&, TQGraphicControl* object) {
                auto* shape = qobject_cast<TSuperShape*>(object);
                return shape && shape->EditProperties();
            };
            t.pointerBeforeDialog = true;
            kind.tools.push_back(t);
        }
        ObjectKinds::Register(std::move(kind));
    }
}

} // namespace cardora
