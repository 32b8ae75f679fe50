// Metafile playback on a few records with known pixels, and the card file
// form of the three picture classes.
#include "imaging/metafile.h"
#include "imaging/picture.h"
#include "imaging/picture_file.h"
#include "picture_bytes.h"
#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

using namespace cardora;
using namespace testpics;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);

struct Expect {
    QRect area;     // every pixel of the area has the colour
    QColor colour;
};

struct PlayCase {
    const char* what;
    QByteArray bytes;
    QSize natural;
    QSize target;
    QList<Expect> expect;
};

QByteArray Dib2x1()
{
    // Red then blue, 24 bits, one row padded to 8 bytes.
    const QByteArray bmp = Bmp(2, 1, 24, 0, {}, QByteArray::fromHex("0000ffff00000000"));
    return bmp.mid(14);
}

Wmf Filled(const QColor& fill)
{
    Wmf w;
    w.brush(fill).pen(5, 0, kWhite).select(0).select(1);
    return w;
}

QByteArray PlaceableRect()
{
    Wmf w = Filled(kRed);
    w.rect(10, 10, 50, 50);
    return w.file(QRect(0, 0, 100, 100));
}

QByteArray PlainEllipse()
{
    Wmf w = Filled(kBlue);
    w.rec(0x020B, { 0, 0 }).rec(0x020C, { 1000, 1000 });
    w.ellipse(0, 0, 1000, 1000);
    return w.file();
}

QByteArray ClipSavedAndRestored()
{
    Wmf w = Filled(kRed);
    w.rec(0x001E, {});                      // SaveDC
    w.rec(0x0416, { 100, 50, 0, 0 });       // IntersectClipRect(0, 0, 50, 100)
    w.rect(0, 0, 100, 50);
    w.rec(0x0127, { uint16_t(-1) });         // RestoreDC(-1)
    w.rect(0, 50, 100, 100);
    return w.file(QRect(0, 0, 100, 100));
}

QByteArray SlotReuse()
{
    Wmf w;
    w.brush(kRed).brush(kGreen).remove(0).brush(kBlue); // the blue brush takes slot 0
    w.pen(5, 0, kWhite).select(0).select(2);
    w.rect(0, 0, 100, 100);
    return w.file(QRect(0, 0, 100, 100));
}

QByteArray StretchDib()
{
    Wmf w;
    Bytes p;
    p.u32(0x00CC0020).u16(0).u16(1).u16(2).u16(0).u16(0).u16(100).u16(100).u16(0).u16(0).raw(Dib2x1());
    w.recRaw(0x0F43, p.b);
    return w.file(QRect(0, 0, 100, 100));
}

QByteArray UnknownAndOverlongRecords()
{
    Wmf w = Filled(kGreen);
    w.rec(0x0999, { 1, 2, 3 });     // unknown: skipped
    w.rec(0x0324, { 1000, 0, 0, 10, 10 }); // polygon claiming 1000 points: skipped
    w.rect(0, 0, 100, 100);
    return w.file(QRect(0, 0, 100, 100));
}

Emf EmfFilled(const QColor& fill)
{
    Emf e;
    e.rec(39, { 1, 0, int(Ref(fill)), 0 });   // CREATEBRUSHINDIRECT
    e.rec(37, { 1 });                          // SELECTOBJECT
    e.rec(37, { int(0x80000008) });            // NULL_PEN
    return e;
}

QByteArray EmfRect()
{
    Emf e = EmfFilled(kRed);
    e.rec(43, { 10, 10, 50, 50 });
    return e.file(QRect(0, 0, 100, 100));
}

QByteArray EmfWorldTransform()
{
    Emf e = EmfFilled(kBlue);
    Bytes x;
    x.f32(2).f32(0).f32(0).f32(2).f32(0).f32(0);
    e.recRaw(35, x.b);
    e.rec(43, { 0, 0, 25, 25 });
    return e.file(QRect(0, 0, 100, 100));
}

QByteArray EmfAnisotropic()
{
    Emf e = EmfFilled(kGreen);
    e.rec(17, { 8 });            // MM_ANISOTROPIC
    e.rec(9, { 10, 10 });        // window extent
    e.rec(11, { 100, 100 });     // viewport extent
    e.rec(43, { 5, 0, 10, 5 });
    return e.file(QRect(0, 0, 100, 100));
}

QByteArray EmfClipAndPath()
{
    Emf e = EmfFilled(kRed);
    e.rec(30, { 0, 0, 50, 100 });   // INTERSECTCLIPRECT
    e.rec(59, {});                   // BEGINPATH
    e.rec(86, { 0, 0, 100, 100, 4, 0, 100, 100 | (100 << 16), 100 << 16 }); // POLYGON16 square
    e.rec(60, {});                   // ENDPATH
    e.rec(62, { 0, 0, 100, 100 });   // FILLPATH
    return e.file(QRect(0, 0, 100, 100));
}

QByteArray EmfStretchDibits()
{
    const QByteArray dib = Dib2x1();
    const QByteArray bmi = dib.left(40), bits = dib.mid(40);
    Emf e;
    Bytes p;
    p.u32(0).u32(0).u32(100).u32(100);                   // bounds
    p.u32(0).u32(0).u32(0).u32(0).u32(2).u32(1);         // dest x, y; src x, y, cx, cy
    p.u32(80).u32(bmi.size()).u32(80 + bmi.size()).u32(bits.size());
    p.u32(0).u32(0x00CC0020).u32(100).u32(100);
    p.raw(bmi).raw(bits);
    e.recRaw(81, p.b);
    return e.file(QRect(0, 0, 100, 100));
}

QImage Play(const QByteArray& bytes, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PlayMetafile(bytes, p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace

TEST(MetafilePlayer, RecordsDrawWhereTheyShould)
{
    const QList<PlayCase> cases = {
        { "placeable WMF rectangle, stretched twice", PlaceableRect(), { 100, 100 }, { 200, 200 },
            { { QRect(24, 24, 72, 72), kRed }, { QRect(110, 110, 80, 80), kWhite } } },
        { "plain WMF: the window is the frame", PlainEllipse(), { 1000, 1000 }, { 100, 100 },
            { { QRect(40, 40, 20, 20), kBlue }, { QRect(0, 0, 4, 4), kWhite } } },
        { "clip rectangle undone by RestoreDC", ClipSavedAndRestored(), { 100, 100 }, { 100, 100 },
            { { QRect(2, 2, 46, 46), kRed }, { QRect(52, 2, 46, 46), kWhite }, { QRect(2, 52, 96, 46), kRed } } },
        { "a deleted object's slot is reused", SlotReuse(), { 100, 100 }, { 100, 100 },
            { { QRect(2, 2, 96, 96), kBlue } } },
        { "StretchDIB", StretchDib(), { 100, 100 }, { 100, 100 },
            { { QRect(5, 5, 30, 90), kRed }, { QRect(65, 5, 30, 90), kBlue } } },
        { "unknown and overlong records are skipped", UnknownAndOverlongRecords(), { 100, 100 }, { 100, 100 },
            { { QRect(2, 2, 96, 96), kGreen } } },
        { "EMF rectangle", EmfRect(), { 100, 100 }, { 100, 100 },
            { { QRect(12, 12, 36, 36), kRed }, { QRect(55, 55, 40, 40), kWhite } } },
        { "EMF world transform", EmfWorldTransform(), { 100, 100 }, { 100, 100 },
            { { QRect(2, 2, 46, 46), kBlue }, { QRect(55, 55, 40, 40), kWhite } } },
        { "EMF anisotropic mapping", EmfAnisotropic(), { 100, 100 }, { 100, 100 },
            { { QRect(52, 2, 46, 46), kGreen }, { QRect(2, 2, 46, 46), kWhite }, { QRect(2, 52, 96, 46), kWhite } } },
        { "EMF path filled inside a clip", EmfClipAndPath(), { 100, 100 }, { 100, 100 },
            { { QRect(2, 2, 46, 96), kRed }, { QRect(52, 2, 46, 96), kWhite } } },
        { "EMF StretchDIBits", EmfStretchDibits(), { 100, 100 }, { 100, 100 },
            { { QRect(5, 5, 30, 90), kRed }, { QRect(65, 5, 30, 90), kBlue } } },
    };
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadMetafileHeader(c.bytes).naturalSize, c.natural);
        const QImage image = Play(c.bytes, c.target);
        for (const Expect& e : c.expect) {
            int wrong = 0;
            for (int y = e.area.top(); y <= e.area.bottom(); ++y)
                for (int x = e.area.left(); x <= e.area.right(); ++x)
                    wrong += image.pixelColor(x, y).rgb() != e.colour.rgb();
            EXPECT_EQ(wrong, 0) << "area " << e.area.x() << "," << e.area.y();
        }
    }
}

// Each fixed map mode has its own unit and y runs up: a square from a
// quarter to three quarters of an inch lands on the same pixels in all.
// The isotropic mode keeps squares square whatever the extents.
TEST(MetafilePlayer, EmfMapModesPlaceDrawingsInTheirOwnUnits)
{
    const struct {
        const char* mode;
        int code;
        double unitsPerInch;
    } fixed[] = {
        { "LOMETRIC", 2, 254 }, { "HIMETRIC", 3, 2540 }, { "LOENGLISH", 4, 100 }, { "HIENGLISH", 5, 1000 },
        { "TWIPS", 6, 1440 },
    };
    auto check = [](const QImage& image, const QList<Expect>& expect) {
        for (const Expect& e : expect) {
            int wrong = 0;
            for (int y = e.area.top(); y <= e.area.bottom(); ++y)
                for (int x = e.area.left(); x <= e.area.right(); ++x)
                    wrong += image.pixelColor(x, y).rgb() != e.colour.rgb();
            EXPECT_EQ(wrong, 0) << "area " << e.area.x() << "," << e.area.y();
        }
    };
    for (const auto& m : fixed) {
        SCOPED_TRACE(m.mode);
        const int from = int(std::lround(0.25 * m.unitsPerInch)), to = int(std::lround(0.75 * m.unitsPerInch));
        Emf e = EmfFilled(kBlue);
        e.rec(17, { m.code });
        e.rec(43, { from, -from, to, -to });
        // 96 pixels an inch: the square covers pixels 24 to 72.
        check(Play(e.file(QRect(0, 0, 100, 100)), { 100, 100 }),
            { { QRect(27, 27, 42, 42), kBlue }, { QRect(0, 0, 100, 21), kWhite }, { QRect(0, 76, 100, 24), kWhite },
                { QRect(76, 0, 24, 100), kWhite } });
    }
    // Isotropic: a window twice as wide as tall on a square viewport scales
    // both ways by the smaller factor.
    Emf iso = EmfFilled(kGreen);
    iso.rec(17, { 7 });
    iso.rec(9, { 100, 50 });  // window extent
    iso.rec(11, { 100, 100 }); // viewport extent
    iso.rec(43, { 0, 0, 50, 50 });
    check(Play(iso.file(QRect(0, 0, 100, 100)), { 100, 100 }),
        { { QRect(2, 2, 45, 45), kGreen }, { QRect(2, 54, 45, 44), kWhite }, { QRect(54, 2, 44, 96), kWhite } });
}

TEST(MetafilePlayer, TextIsDrawnInTheTextColour)
{
    Emf e;
    e.rec(24, { int(Ref(kRed)) });  // SETTEXTCOLOR
    e.rec(18, { 1 });               // TRANSPARENT
    Bytes font;
    font.u32(1).u32(uint32_t(-40)).u32(0).u32(0).u32(0).u32(700).u8(0).u8(0).u8(0).u8(0).u32(0);
    for (QChar c : QStringLiteral("Liberation Sans"))
        font.u16(c.unicode());
    font.b.append(QByteArray(64 - 2 * 15, '\0'));
    e.recRaw(82, font.b);
    e.rec(37, { 1 });
    Bytes text;
    text.u32(0).u32(0).u32(0).u32(0).u32(1).f32(1).f32(1);
    text.u32(10).u32(10).u32(2).u32(76).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    text.u16('H').u16('H');
    e.recRaw(84, text.b);
    const QImage image = Play(e.file(QRect(0, 0, 100, 100)), { 100, 100 });
    int inside = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool reddish = c.red() > 200 && c.green() < 100;
            (QRect(8, 8, 70, 44).contains(x, y) ? inside : outside) += reddish;
        }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
}

TEST(PictureData, ClassesRoundTripByteForByte)
{
    QByteArray ico;
    {
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(kRed);
        QBuffer buffer(&ico);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "ico").write(icon);
    }
    auto sized = [](const QByteArray& b) {
        Bytes o;
        o.u32(b.size()).raw(b);
        return o.b;
    };
    const struct {
        const char* className;
        QByteArray data;
        QSize size;
    } cases[] = {
        { "TBitmap", sized(Bmp(2, 1, 24, 0, {}, QByteArray::fromHex("0000ffff00000000"))), { 2, 1 } },
        { "TIcon", ico, { 16, 16 } },
        { "TMetafile", sized(PlaceableRect()), { 100, 100 } },
        { "TMetafile", sized(EmfRect()), { 100, 100 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        TPicture picture;
        QString message;
        ASSERT_TRUE(picture.SetGraphicData(c.className, c.data, &message)) << message.toStdString();
        EXPECT_EQ(picture.ClassName(), c.className);
        EXPECT_EQ(picture.Size(), c.size);
        EXPECT_EQ(picture.GraphicData(), c.data);
        TPicture copy = picture;
        EXPECT_EQ(copy.GraphicData(), c.data);
    }
}

TEST(PictureData, BadDataIsRefusedAndUnknownClassesIgnored)
{
    Bytes notBmp;
    notBmp.u32(4).raw("XX..");
    Bytes short_;
    short_.u32(100).raw("BM");
    const struct {
        const char* className;
        QByteArray data;
        bool ok;
        const char* message;
        bool keepsPicture;
    } cases[] = {
        { "TBitmap", notBmp.b, false, "Bitmap image is not valid", true },
        { "TBitmap", short_.b, false, "Stream read error", true },
        { "TMetafile", notBmp.b, false, "Metafile is not valid", true },
        { "TIcon", QByteArray("garbage"), false, "Icon image is not valid", true },
        { "TJPEGImage", notBmp.b, true, "", true },
        { "TPngImage", QByteArray("\x89PNG", 4), false, "Stream read error", true },
        { "TPngImage", short_.b, false, "Stream read error", true },
        { "TPngImage", notBmp.b, false, "PNG image is not valid", true },
        { "TSvgImage", notBmp.b, false, "SVG image is not valid: not an SVG drawing", true },
        // A later format's class: its block is passed over whatever it holds.
        { "TWebPImage", short_.b, true, "", true },
        { "TGIFImage", QByteArray(), true, "", true },
        { "TBitmap", QByteArray(4, '\0'), true, "", false }, // an empty bitmap
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        TPicture picture;
        ASSERT_TRUE(picture.SetGraphicData("TMetafile", [] {
            Bytes o;
            const QByteArray w = PlaceableRect();
            o.u32(w.size()).raw(w);
            return o.b;
        }(), nullptr));
        QString message;
        EXPECT_EQ(picture.SetGraphicData(c.className, c.data, &message), c.ok);
        if (!c.ok)
            EXPECT_EQ(message, c.message);
        EXPECT_EQ(picture.IsMetafile(), c.keepsPicture);
    }
}

TEST(PictureData, PlainMetafileIsStoredWithItsSize)
{
    TPicture picture;
    QString message;
    ASSERT_TRUE(ReadPicture(PlainEllipse(), "plain.wmf", picture, &message));
    ASSERT_TRUE(picture.IsMetafile());
    TPicture reread;
    ASSERT_TRUE(reread.SetGraphicData("TMetafile", picture.GraphicData(), &message));
    EXPECT_EQ(reread.Size(), picture.Size());
    EXPECT_EQ(ReadMetafileHeader(reread.SourceBytes()).format, MetafileFormat::PlaceableWmf);
}
