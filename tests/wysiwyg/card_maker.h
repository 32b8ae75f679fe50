#pragma once
// Cards for the differential test: a composite card of every kind, as a
// real business card mixes them, and random cards from a fixed seed.
#include "imaging/picture.h"
#include "objects/pictures/image_object.h"
#include "objects/supershape/super_shape.h"
#include "objects/supertext/super_text.h"
#include "support/card_builder.h"
#include <QBuffer>
#include <QImageWriter>
#include <QRandomGenerator>
#include <functional>
#include <memory>

namespace cardora::test {

// The stored property `path` ("Font.Size") of an object, or null.
inline const PropertyDecl* FindProperty(Persistent& object, const QString& path, Persistent** owner)
{
    Persistent* at = &object;
    const QStringList parts = path.split('.');
    for (int i = 0; i < parts.size(); ++i) {
        const PropertyTable& table = at->Properties();
        const auto it = std::find_if(table.begin(), table.end(), [&](const PropertyDecl& d) { return d.name == parts[i]; });
        if (it == table.end())
            return nullptr;
        if (i + 1 == parts.size()) {
            *owner = at;
            return &*it;
        }
        if (it->kind != PropKind::Nested || !it->nested)
            return nullptr;
        at = it->nested(*at);
        if (!at)
            return nullptr;
    }
    return nullptr;
}

// Sets an ordinal property (integer, colour, boolean, enumeration, set);
// an enumeration may be given by its identifier. False when there is none.
inline bool SetProperty(Persistent& object, const QString& path, std::int64_t value)
{
    Persistent* owner = nullptr;
    const PropertyDecl* d = FindProperty(object, path, &owner);
    if (!d || !d->setOrdinal)
        return false;
    d->setOrdinal(*owner, value);
    object.PropertyRead(path); // as the reader does: "Font.Size" makes the font the object's own
    return true;
}

inline bool SetProperty(Persistent& object, const QString& path, const QString& identifier)
{
    Persistent* owner = nullptr;
    const PropertyDecl* d = FindProperty(object, path, &owner);
    if (!d)
        return false;
    if (d->kind == PropKind::Text && d->setText) {
        d->setText(*owner, identifier);
        object.PropertyRead(path);
        return true;
    }
    const int index = d->names.indexOf(identifier);
    if (index < 0 || !d->setOrdinal)
        return false;
    d->setOrdinal(*owner, index);
    object.PropertyRead(path);
    return true;
}

// A small colourful picture encoded as `format` ("bmp", "jpeg").
inline QByteArray LogoBytes(const char* format, QSize size = QSize(48, 32))
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, (x / 8 + y / 8) % 2 ? qRgb(200, 30, 40) : qRgb(30, 60 + x * 3, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(img);
    return bytes;
}

// A logo with an opaque disc, a half-transparent band and clear corners.
inline QByteArray AlphaLogoBytes(QSize size = QSize(48, 32))
{
    QImage img(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int dx = x - size.width() / 2, dy = y - size.height() / 2;
            const bool disc = dx * dx + dy * dy < size.height() * size.height() / 5;
            img.setPixel(x, y, disc ? qRgba(20, 160, 60, 255) : y > size.height() / 3 && y < size.height() * 2 / 3 ? qRgba(0, 0, 220, 128) : qRgba(0, 0, 0, 0));
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(img);
    return bytes;
}

// A vector logo on nothing: a square, a disc and a triangle.
inline QByteArray SvgLogoBytes()
{
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="0.5in" height="0.25in" viewBox="0 0 96 48">)"
           R"(<rect x="2" y="4" width="40" height="40" fill="#c02020"/>)"
           R"(<circle cx="70" cy="24" r="20" fill="#2040c0" fill-opacity="0.7"/>)"
           R"(<polygon points="48,46 60,6 72,46" fill="#f0b000"/></svg>)";
}

inline QImage Texture()
{
    QImage tile(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            tile.setPixel(x, y, qRgb(150 + x * 6, 90 + y * 5, 40 + (x ^ y) * 4));
    return tile;
}

inline void GivePicture(TQGraphicControl& o, const char* format)
{
    if (auto* image = dynamic_cast<TQImage*>(&o)) {
        TPicture picture;
        const QByteArray f(format);
        const QByteArray bytes = f == "png" ? AlphaLogoBytes() : f == "svg" ? SvgLogoBytes() : LogoBytes(format);
        picture.LoadFromBytes(bytes, QString("logo.") + (f == "jpeg" ? "jpg" : format));
        image->SetPicture(picture);
        SetProperty(o, "Stretch", 1);
    }
}

inline void GiveTexture(TQGraphicControl& o)
{
    static const QImage tile = Texture();
    if (auto* s = dynamic_cast<TSuperShape*>(&o))
        s->SetImage(&tile);
    else if (auto* t = dynamic_cast<TQSuperText*>(&o))
        t->SetImage(&tile);
}

// One object of the composite card: kind, box at zoom 1, and its settings.
struct CompositePart {
    QString kind;
    QRect box;
    QString text;
    std::function<void(TQGraphicControl&)> configure;
};

// A business card as a user makes one: a gradient band, a logo, a super
// text headline over a textured shape, name and title labels with shadow
// and highlight, a turned label, an address, a phone symbol, circle text, a
// rich-text line, shapes and a rule. Several parts reach the card's edges.
inline std::vector<CompositePart> CompositeParts()
{
    auto none = [](TQGraphicControl&) {};
    return {
        { "TSuperShape", QRect(0, 0, 336, 34), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "Shape", "qstRectangle");
              SetProperty(o, "SurfaceType", "stGradientFill");
              SetProperty(o, "BackColor", 0x804000);
              SetProperty(o, "GradientToColor", 0xF0C080);
              SetProperty(o, "ShadowOrient", "soNone");
          } },
        { "TSuperShape", QRect(226, 100, 80, 70), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "Shape", "qstStar");
              SetProperty(o, "SurfaceType", "stBrushImage");
              GiveTexture(o);
              SetProperty(o, "ShadowOrient", "soLowerRight");
              SetProperty(o, "OutlineWidth", 2);
          } },
        { "TQImage", QRect(280, 40, 48, 32), QString(), [](TQGraphicControl& o) { GivePicture(o, "bmp"); } },
        // A half-transparent PNG logo over a coloured shape, and an SVG logo
        // over the textured star.
        { "TBCShapes", QRect(96, 128, 64, 40), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "Shape", "stRectangle");
              SetProperty(o, "Brush.Color", 0x20A0F0);
          } },
        { "TQImage", QRect(104, 122, 72, 48), QString(), [](TQGraphicControl& o) { GivePicture(o, "png"); } },
        { "TQImage", QRect(232, 126, 96, 48), QString(), [](TQGraphicControl& o) { GivePicture(o, "svg"); } },
        { "TQSuperText", QRect(8, 2, 220, 34), "Acme Widgets", [](TQGraphicControl& o) {
              SetProperty(o, "SurfaceType", "stGradientFill");
              SetProperty(o, "Font.Size", 18);
              SetProperty(o, "ShadowDepth", 2);
          } },
        { "TQBusinessCardLabel", QRect(12, 44, 180, 26), "Jane Example", [](TQGraphicControl& o) {
              SetProperty(o, "Font.Size", 14);
              SetProperty(o, "Font.Color", 0x202080);
              SetProperty(o, "DepthShadow", 3);
              SetProperty(o, "DirectionShadow", "sdLowerRight");
              SetProperty(o, "Transparent", 1);
          } },
        { "TQBusinessCardLabel", QRect(12, 72, 160, 20), "Managing Director", [](TQGraphicControl& o) {
              SetProperty(o, "Font.Size", 10);
              SetProperty(o, "DepthHighlight", 2);
              SetProperty(o, "DirectionHighlight", "hdUpperLeft");
              SetProperty(o, "colorHighlight", 0x00C0FF);
          } },
        { "TQBusinessCardLabel", QRect(312, 96, 24, 96), "Since 1999", [](TQGraphicControl& o) {
              SetProperty(o, "Angle", 90);
              SetProperty(o, "Font.Size", 9);
          } },
        { "TQMultiLineLabel", QRect(12, 110, 150, 50), "12 Harbour Road", none },
        { "TQSymbolLabel", QRect(170, 120, 30, 30), "(", [](TQGraphicControl& o) {
              SetProperty(o, "Font.Size", 18);
          } },
        { "TQPCircleText", QRect(196, 36, 80, 80), "QUALITY SINCE 1999", [](TQGraphicControl& o) {
              SetProperty(o, "Font.Size", 8);
          } },
        { "TQPRichBaseLabel", QRect(12, 160, 200, 30), "www.example.com", none },
        { "TBCShapes", QRect(170, 160, 50, 32), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "Shape", "stEllipse");
              SetProperty(o, "Brush.Color", 0x40A0FF);
              SetProperty(o, "Pen.Width", 3);
          } },
        { "TBCShapes", QRect(0, 176, 60, 16), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "Shape", "stRoundRect");
              SetProperty(o, "Brush.Color", 0x30C030);
          } },
        { "TQLineShape", QRect(12, 96, 290, 6), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "Pen.Width", 4);
              SetProperty(o, "Pen.Color", 0x0000C0);
          } },
        // A contact QR code, transparent over the star and the SVG logo.
        { "TQRCode", QRect(250, 112, 76, 76), "${vCard}", [](TQGraphicControl& o) {
              SetProperty(o, "ErrorLevel", "ecQ");
              SetProperty(o, "ForeColor", 0x402000);
              SetProperty(o, "Transparent", 1);
          } },
        { "TQLineShape", QRect(326, 0, 10, 192), QString(), [](TQGraphicControl& o) {
              SetProperty(o, "LineStyle", "stVertical");
              SetProperty(o, "Pen.Width", 10);
              SetProperty(o, "Pen.Color", 0x808000);
          } },
    };
}

inline void AddPart(QObject& owner, CardPanel& panel, const CompositePart& part)
{
    AddKind(owner, panel, part.kind, part.box, part.text, part.configure);
}

// The kinds random cards were first made of, in their first order: picking
// among them keeps those cards as they were. Kinds registered since are
// added by AddNewerKinds, from a generator of their own.
inline const QStringList& FirstRandomKinds()
{
    static const QStringList kinds = { "TQLineShape", "TQLabelShapes", "TBCShapes", "TQPLabel",
        "TQBusinessCardLabel", "TQSymbolLabel", "TQMultiLineLabel", "TQImage", "TQPRichBaseLabel", "TQPCircleText",
        "TSuperShape", "TQSuperText" };
    return kinds;
}

// A random object of the kind: box (sometimes over the card's edges),
// colours, fonts, fills and effects, all from `rng`.
inline QString AddRandomObjectOf(QObject& owner, CardPanel& panel, const QString& kind,
    QRandomGenerator& rng)
{
    static const std::int64_t colours[] = { 0x000000, 0x0000FF, 0x00A000, 0xFF0000, 0x00FFFF, 0x800080, 0x808080,
        0x0080FF, 0xFFFFFF, 0x004080 };
    static const QStringList fonts = { "Arial", "Times New Roman", "Courier New" };
    static const QStringList words = { "Jane", "Example", "Acme", "Director", "Sales", "+1 555 0100", "Road",
        "jane@example.com", "Quality", "Widgets" };
    auto pick = [&](int n) { return int(rng.bounded(n)); };
    const int w = 12 + pick(200), h = 10 + pick(110);
    const QRect box(pick(336 + w / 2) - w / 2, pick(192 + h / 2) - h / 2, w, h);
    QString text = words[pick(words.size())];
    if (pick(2))
        text += " " + words[pick(words.size())];
    AddKind(owner, panel, kind, box, text, [&](TQGraphicControl& o) {
        for (const PropertyDecl& d : o.Properties()) {
            if (d.readOnly || !d.setOrdinal)
                continue;
            const QString& n = d.name;
            if (d.kind == PropKind::Color)
                d.setOrdinal(o, colours[pick(10)]);
            else if (d.kind == PropKind::Enum && n != "Cursor" && !d.names.isEmpty())
                d.setOrdinal(o, pick(d.names.size()));
            else if (d.kind == PropKind::Boolean
                && (n == "Transparent" || n == "ControlTransparent" || n == "Mirror" || n == "Flip" || n == "Reverse"
                    || n == "Stretch" || n == "WordWrap" || n == "DrawLettersAngled"))
                d.setOrdinal(o, pick(2));
            else if (n == "Angle")
                d.setOrdinal(o, pick(4) == 0 ? 15 * pick(24) : 0);
            else if (n == "DepthShadow" || n == "DepthHighlight" || n == "ShadowDepth")
                d.setOrdinal(o, pick(6));
            else if (n == "OutlineWidth")
                d.setOrdinal(o, pick(4));
            else if (n == "RoundPerc")
                d.setOrdinal(o, pick(50));
            else if (n == "Vectors")
                d.setOrdinal(o, 3 + pick(10));
            else if (n == "InVectorPercent")
                d.setOrdinal(o, 20 + pick(60));
            else if (n == "StartingAngle")
                d.setOrdinal(o, pick(360));
        }
        SetProperty(o, "Font.Size", 7 + pick(20));
        SetProperty(o, "Font.Name", fonts[pick(fonts.size())]);
        SetProperty(o, "Font.Color", colours[pick(10)]);
        SetProperty(o, "Pen.Width", pick(8));
        SetProperty(o, "Pen.Color", colours[pick(10)]);
        SetProperty(o, "Brush.Color", colours[pick(10)]);
        GiveTexture(o);
        // Some pictures are PNG with alpha or SVG, chosen from the box so
        // that the random sequence stays what it was.
        const int which = (box.x() + 7 * box.y() + 13 * w) % 6;
        GivePicture(o, which == 0 ? "png" : which == 1 ? "svg" : "bmp");
    });
    return kind;
}

// A random object of a random first kind.
inline QString AddRandomObject(QObject& owner, CardPanel& panel, QRandomGenerator& rng)
{
    const QString kind = FirstRandomKinds()[int(rng.bounded(FirstRandomKinds().size()))];
    return AddRandomObjectOf(owner, panel, kind, rng);
}

// On about one card in four, a random object of each kind registered since
// the first ones, from a generator seeded with the card's number.
inline QStringList AddNewerKinds(QObject& owner, CardPanel& panel, int card)
{
    QRandomGenerator rng(quint32(card) * 7919u + 17u);
    QStringList added;
    for (const QString& kind : CardClassRegistry::Instance().Names())
        if (!FirstRandomKinds().contains(kind) && rng.bounded(4) == 0)
            added << AddRandomObjectOf(owner, panel, kind, rng);
    return added;
}

} // namespace cardora::test
