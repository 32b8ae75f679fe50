// Card files hold enumerations as identifiers. The identifiers listed here
// literally are the contract with every card file ever saved: they must not
// change when the C++ names do.
#include "core/gradient.h"
#include "core/graphics_attributes.h"
#include "core/object_stream.h"
#include "core/stored_enum.h"
#include "objects/circletext/circle_text.h"
#include "objects/line_shape.h"
#include "objects/multiline_label.h"
#include "objects/pictures/image_object.h"
#include "objects/qrcode/qr_code.h"
#include "objects/shapes.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "objects/text_label.h"
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace cardora;

namespace {

template <class E>
using Members = std::vector<std::pair<E, const char*>>;

// The table holds exactly the historical identifiers in ordinal order; files
// have always been read without regard to case.
template <class E>
void expectTable(const QStringList& table, const Members<E>& members)
{
    QStringList historical;
    for (const auto& [value, identifier] : members)
        historical << QString::fromLatin1(identifier);
    EXPECT_EQ(table, historical);
    for (const auto& [value, identifier] : members)
        EXPECT_EQ(StoredValue<E>(table, QString::fromLatin1(identifier).toUpper()), value) << identifier;
}

// Reads `path` of `object` from an entry holding `identifier`; the message
// of the stream error, or "" when the value was taken.
QString readIdent(Persistent& object, const QString& path, const QString& identifier)
{
    TObjectWriter w;
    w.WriteIdent(identifier);
    TObjectReader r(w.Data());
    try {
        ReadPropertyEntry(r, object, path);
    } catch (const EObjectStreamError& e) {
        return e.Message();
    }
    return QString();
}

// What saving writes for `path`, or "" when the entry is left out.
QString savedIdent(const Persistent& object, const QString& path)
{
    for (const StoredEntry& e : StoredEntries(object))
        if (e.path == path)
            return e.text;
    return QString();
}

// Through the stream: each identifier read into a fresh object gives the C++
// value, and saving writes the same identifier back (the default is left
// out). Identifiers of no member, or of another table, are refused.
template <class Obj, class Declaring, class E>
void expectStoredProperty(const QString& path, E (Declaring::*get)() const, const char* defaultIdentifier,
    const Members<E>& members, const QStringList& foreign)
{
    for (const auto& [value, identifier] : members) {
        Obj object;
        ASSERT_EQ(readIdent(object, path, QString::fromLatin1(identifier)), QString()) << identifier;
        EXPECT_EQ((object.*get)(), value) << path.toStdString() << " " << identifier;
        const QString expected = qstrcmp(identifier, defaultIdentifier) == 0 ? QString() : identifier;
        EXPECT_EQ(savedIdent(object, path), expected) << identifier;
    }
    for (const QString& bad : foreign + QStringList { QString(), QStringLiteral("xxBogus") }) {
        Obj object;
        const E before = (object.*get)();
        EXPECT_EQ(readIdent(object, path, bad), "Invalid property value") << path.toStdString() << " " << bad.toStdString();
        EXPECT_EQ((object.*get)(), before);
    }
}

const Members<PenMode> penModes = { { PenMode::Black, "pmBlack" }, { PenMode::White, "pmWhite" },
    { PenMode::Nop, "pmNop" }, { PenMode::Not, "pmNot" }, { PenMode::Copy, "pmCopy" },
    { PenMode::NotCopy, "pmNotCopy" }, { PenMode::MergePenNot, "pmMergePenNot" },
    { PenMode::MaskPenNot, "pmMaskPenNot" }, { PenMode::MergeNotPen, "pmMergeNotPen" },
    { PenMode::MaskNotPen, "pmMaskNotPen" }, { PenMode::Merge, "pmMerge" }, { PenMode::NotMerge, "pmNotMerge" },
    { PenMode::Mask, "pmMask" }, { PenMode::NotMask, "pmNotMask" }, { PenMode::Xor, "pmXor" },
    { PenMode::NotXor, "pmNotXor" } };
const Members<PenStyle> penStyles = { { PenStyle::Solid, "psSolid" }, { PenStyle::Dash, "psDash" },
    { PenStyle::Dot, "psDot" }, { PenStyle::DashDot, "psDashDot" }, { PenStyle::DashDotDot, "psDashDotDot" },
    { PenStyle::Clear, "psClear" }, { PenStyle::InsideFrame, "psInsideFrame" } };
const Members<BrushStyle> brushStyles = { { BrushStyle::Solid, "bsSolid" }, { BrushStyle::Clear, "bsClear" },
    { BrushStyle::Horizontal, "bsHorizontal" }, { BrushStyle::Vertical, "bsVertical" },
    { BrushStyle::FDiagonal, "bsFDiagonal" }, { BrushStyle::BDiagonal, "bsBDiagonal" },
    { BrushStyle::Cross, "bsCross" }, { BrushStyle::DiagCross, "bsDiagCross" } };
const Members<FontPitch> fontPitches = { { FontPitch::Default, "fpDefault" }, { FontPitch::Variable, "fpVariable" },
    { FontPitch::Fixed, "fpFixed" } };
const Members<FillDirection> fillDirections = { { FillDirection::Up, "gdUp" }, { FillDirection::Down, "gdDown" },
    { FillDirection::Left, "gdLeft" }, { FillDirection::Right, "gdRight" } };

const Members<ShapeType> shapeTypes = { { ShapeType::Rectangle, "stRectangle" }, { ShapeType::Square, "stSquare" },
    { ShapeType::RoundRect, "stRoundRect" }, { ShapeType::RoundSquare, "stRoundSquare" },
    { ShapeType::Ellipse, "stEllipse" }, { ShapeType::Circle, "stCircle" } };
const Members<LineStyle> lineStyles = { { LineStyle::Horizontal, "stHorizontal" }, { LineStyle::Vertical, "stVertical" },
    { LineStyle::AngleSlopingUp, "stAngleSlopingUp" }, { LineStyle::AngleSlopingDown, "stAngleSlopingDown" } };
const Members<ArcDegrees> arcDegrees = { { ArcDegrees::Deg90, "dg90" }, { ArcDegrees::Deg180, "dg180" },
    { ArcDegrees::Deg270, "dg270" }, { ArcDegrees::Deg360, "dg360" } };
const Members<ErrorCorrection> errorLevels = { { ErrorCorrection::Low, "ecL" }, { ErrorCorrection::Medium, "ecM" },
    { ErrorCorrection::Quartile, "ecQ" }, { ErrorCorrection::High, "ecH" } };
const Members<TextAlignment> alignments = { { TextAlignment::LeftJustify, "taLeftJustify" },
    { TextAlignment::RightJustify, "taRightJustify" }, { TextAlignment::Center, "taCenter" } };
// "hdright" has always been spelt so in files.
const Members<HighlightDirection> highlightDirections = { { HighlightDirection::NoHighlight, "hdNone" },
    { HighlightDirection::Right, "hdright" }, { HighlightDirection::Left, "hdLeft" },
    { HighlightDirection::UpRight, "hdUpRight" }, { HighlightDirection::UpLeft, "hdUpLeft" },
    { HighlightDirection::Up, "hdUp" } };
const Members<ShadowDirection> shadowDirections = { { ShadowDirection::NoShadow, "sdNone" },
    { ShadowDirection::Right, "sdRight" }, { ShadowDirection::Left, "sdLeft" },
    { ShadowDirection::DownRight, "sdDownRight" }, { ShadowDirection::DownLeft, "sdDownLeft" },
    { ShadowDirection::Down, "sdDown" } };
// "qstPolyGon" keeps its capital G in files.
const Members<SuperShapeKind> superShapeKinds = { { SuperShapeKind::Rectangle, "qstRectangle" },
    { SuperShapeKind::RoundRect, "qstRoundRect" }, { SuperShapeKind::Ellipse, "qstEllipse" },
    { SuperShapeKind::Diamond, "qstDiamond" }, { SuperShapeKind::Star, "qstStar" },
    { SuperShapeKind::TriangleLeft, "qstTriangleLeft" }, { SuperShapeKind::TriangleRight, "qstTriangleRight" },
    { SuperShapeKind::TriangleUp, "qstTriangleUp" }, { SuperShapeKind::TriangleDown, "qstTriangleDown" },
    { SuperShapeKind::Polygon, "qstPolyGon" } };
const Members<ShadowCorner> shadowCorners = { { ShadowCorner::NoShadow, "soNone" },
    { ShadowCorner::LowerRight, "soLowerRight" }, { ShadowCorner::UpperRight, "soUpperRight" },
    { ShadowCorner::UpperLeft, "soUpperLeft" }, { ShadowCorner::LowerLeft, "soLowerLeft" } };
const Members<ShapeSurface> shapeSurfaces = { { ShapeSurface::Transparent, "stBrushTransparent" },
    { ShapeSurface::Pattern, "stBrushPattern" }, { ShapeSurface::Image, "stBrushImage" },
    { ShapeSurface::Gradient, "stGradientFill" } };
// The styled text's surfaces share three names with the shape's, at other ordinals.
const Members<TQSuperText::Surface> textSurfaces = { { TQSuperText::Surface::Normal, "stNormal" },
    { TQSuperText::Surface::Transparent, "stBrushTransparent" }, { TQSuperText::Surface::Image, "stBrushImage" },
    { TQSuperText::Surface::Gradient, "stGradientFill" } };
const Members<LabelBorder> borders = { { LabelBorder::NoBorder, "bsNone" }, { LabelBorder::Single, "bsSingle" } };

} // namespace

TEST(StoredEnums, GraphicsAttributesRoundTripThroughTheStream)
{
    expectStoredProperty<TPen>("Mode", &TPen::Mode, "pmCopy", penModes, { "psSolid", "pmCopyy" });
    expectStoredProperty<TPen>("Style", &TPen::Style, "psSolid", penStyles, { "bsSolid", "psNone" });
    expectStoredProperty<TBrush>("Style", &TBrush::Style, "bsSolid", brushStyles, { "psClear", "bsNone" });
    expectStoredProperty<TFont>("Pitch", &TFont::Pitch, "fpDefault", fontPitches, { "fsBold", "fpNone" });
    // Both objects always write their direction.
    expectStoredProperty<TSuperShape>("FillDirection", &TSuperShape::FillDirection, "", fillDirections,
        { "Up", "gdNone" });
    expectStoredProperty<TQSuperText>("FillDirection", &TQSuperText::FillDirection, "", fillDirections,
        { "sdDown" });
}

TEST(StoredEnums, TablesKeepTheirIdentifiers)
{
    expectTable(PenModeNames(), penModes);
    expectTable(PenStyleNames(), penStyles);
    expectTable(BrushStyleNames(), brushStyles);
    expectTable(FontPitchNames(), fontPitches);
    expectTable(FillDirectionNames(), fillDirections);
    expectTable(ShapeTypeNames(), shapeTypes);
    expectTable(LineStyleNames(), lineStyles);
    expectTable(DegreesNames(), arcDegrees);
    expectTable(ErrorLevelNames(), errorLevels);
    expectTable(AlignmentNames(), alignments);
    expectTable(HighlightDirectionNames(), highlightDirections);
    expectTable(ShadowDirectionNames(), shadowDirections);
    expectTable(BorderStyleNames(), borders);
    expectTable(ShapeKindNames(), superShapeKinds);
    expectTable(ShadowOrientNames(), shadowCorners);
    expectTable(ShapeSurfaceNames(), shapeSurfaces);
    expectTable(TQSuperText::SurfaceTypeNames(), textSurfaces);
}

TEST(StoredEnums, ObjectPropertiesRoundTripThroughTheStream)
{
    // Shapes and lines share the "st" prefix: each table refuses the other's names.
    expectStoredProperty<TBCShapes>("Shape", &TBCShapes::Shape, "stRectangle", shapeTypes,
        { "stHorizontal", "stBrushImage", "qstEllipse" });
    expectStoredProperty<TQLineShape>("LineStyle", &TQLineShape::LineStyle, "stHorizontal", lineStyles,
        { "stRectangle", "stNormal" });
    expectStoredProperty<TQPCircleText>("Degrees", &TQPCircleText::Degrees, "", arcDegrees, { "dg45", "90" });
    expectStoredProperty<TQPCircleText>("StartingVector", &TQPCircleText::StartingVector, "", arcDegrees,
        { "dg0", "dg450" });
    expectStoredProperty<TQRCode>("ErrorLevel", &TQRCode::ErrorLevel, "", errorLevels, { "ecX", "L" });
    expectStoredProperty<TSuperShape>("Shape", &TSuperShape::Shape, "", superShapeKinds,
        { "stRectangle", "qstPolygon2", "qstHexagon" });
    expectStoredProperty<TSuperShape>("ShadowOrient", &TSuperShape::ShadowOrient, "", shadowCorners,
        { "sdDownRight", "soLower" });
    expectStoredProperty<TSuperShape>("SurfaceType", &TSuperShape::SurfaceType, "", shapeSurfaces, { "stNormal" });
    expectStoredProperty<TQSuperText>("SurfaceType", &TQSuperText::SurfaceType, "", textSurfaces,
        { "stBrushPattern" });
}

TEST(StoredEnums, LabelPropertiesRoundTripThroughTheStream)
{
    expectStoredProperty<TQPLabel>("Alignment", &TQPLabel::Alignment, "taLeftJustify", alignments,
        { "taRight", "alCenter" });
    expectStoredProperty<TQMultiLineLabel>("Alignment", &TQMultiLineLabel::Alignment, "taLeftJustify", alignments,
        { "taJustify" });
    expectStoredProperty<TQPLabel>("DirectionHighlight", &TQPLabel::DirectionHighlight, "hdUpLeft",
        highlightDirections, { "sdDown", "hdDown" });
    expectStoredProperty<TQPLabel>("DirectionShadow", &TQPLabel::DirectionShadow, "sdDownRight", shadowDirections,
        { "hdUp", "sdUp" });
    expectStoredProperty<TQSuperText>("ShadowOrientation", &TQSuperText::ShadowOrientation, "sdDownRight",
        shadowDirections, { "soLowerRight" });
    // The border is written whatever it is.
    expectStoredProperty<TQPLabel>("BorderStyle", &TQPLabel::BorderStyle, "", borders, { "bsDouble", "bsSolid" });
    expectStoredProperty<TQImage>("BorderStyle", &TQImage::BorderStyle, "", borders, { "bsClear" });
    expectStoredProperty<TQPCircleText>("BorderStyle", &TQPCircleText::BorderStyle, "", borders, { "None" });
}

TEST(StoredEnums, FontStyleIsASetOfNamedBits)
{
    EXPECT_EQ(FontStyleNames(), QStringList({ "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" }));
    struct Case {
        QStringList members;
        FontStyles style;
        QStringList saved;
    };
    const Case cases[] = {
        { {}, {}, {} },
        { { "fsBold" }, FontStyle::Bold, { "fsBold" } },
        { { "fsStrikeOut", "fsItalic" }, FontStyle::Italic | FontStyle::StrikeOut, { "fsItalic", "fsStrikeOut" } },
        { { "FSUNDERLINE", "fsbold" }, FontStyle::Bold | FontStyle::Underline, { "fsBold", "fsUnderline" } },
        { { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" },
            FontStyle::Bold | FontStyle::Italic | FontStyle::Underline | FontStyle::StrikeOut,
            { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" } },
    };
    for (const Case& c : cases) {
        TObjectWriter w;
        w.WriteSet(c.members);
        TObjectReader r(w.Data());
        TFont font;
        font.SetStyle(FontStyle::Underline); // replaced, not added to
        ReadPropertyEntry(r, font, QStringLiteral("Style"));
        EXPECT_EQ(font.Style(), c.style) << c.members.join(',').toStdString();
        QStringList saved;
        for (const StoredEntry& e : StoredEntries(font))
            if (e.path == QLatin1String("Style"))
                saved = e.list;
        EXPECT_EQ(saved, c.saved) << c.members.join(',').toStdString();
    }
    for (const QStringList& bad : { QStringList { "fsBlink" }, QStringList { "fsBold", "bsSolid" } }) {
        TObjectWriter w;
        w.WriteSet(bad);
        TObjectReader r(w.Data());
        TFont font;
        font.SetStyle(FontStyle::Italic);
        EXPECT_THROW(ReadPropertyEntry(r, font, QStringLiteral("Style")), EObjectStreamError);
        EXPECT_EQ(font.Style(), FontStyles(FontStyle::Italic)) << bad.join(',').toStdString();
    }
}
