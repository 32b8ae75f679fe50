// Picture files read by their class: small files built here with known
// pixels, run-length runs that cross a row end, and truncated files.
#include "imaging/picture.h"
#include "imaging/picture_file.h"
#include "picture_bytes.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <functional>
#include <gtest/gtest.h>

using namespace cardora;
using namespace testpics;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255), kBlack(0, 0, 0);

struct Pixel {
    int x, y;
    QColor colour;
};

struct ReaderCase {
    const char* what;
    const char* fileName;
    std::function<QByteArray()> bytes;
    QSize size;            // empty: the file must be refused
    QList<Pixel> pixels;
};

QByteArray Pcx8WithRunAcrossRows()
{
    // 3 x 2 with 4 bytes a row; the run of three 2s fills the padding byte
    // of row 0 and goes on into row 1.
    Bytes o = PcxHeader(3, 2, 8, 1, 4);
    o.bytes({ 0xC3, 1, 0xC3, 2, 3, 0 });
    o.u8(12);
    for (int i = 0; i < 256; ++i) {
        const QColor c = i == 1 ? kRed : i == 2 ? kGreen : i == 3 ? kWhite : kBlack;
        o.u8(c.red()).u8(c.green()).u8(c.blue());
    }
    return o.b;
}

QByteArray PcxGrey3Rows()
{
    // 2 x 3, 8 bits without a palette: grey levels 1, 2, 3 by row.
    Bytes o = PcxHeader(2, 3, 8, 1, 2);
    o.bytes({ 1, 1, 2, 2, 3, 3 });
    return o.b;
}

QByteArray Pcx4Planar()
{
    // 2 x 1, pixel 0 index 1 (plane 0), pixel 1 index 4 (plane 2).
    QList<QColor> pal(16, kBlack);
    pal[1] = kRed;
    pal[4] = kBlue;
    Bytes o = PcxHeader(2, 1, 1, 4, 2, pal);
    o.bytes({ 0x80, 0, 0, 0, 0x40, 0, 0, 0 });
    return o.b;
}

QByteArray Pcx24()
{
    Bytes o = PcxHeader(2, 1, 8, 3, 2);
    o.bytes({ 0xC1, 255, 0, 0, 0, 0, 0xC1, 255 }); // red and blue: R plane, G plane, B plane
    return o.b;
}

QByteArray Pcx1Bit()
{
    Bytes o = PcxHeader(9, 1, 1, 1, 2);
    o.bytes({ 0xAA, 0x80 }); // 1 0 1 0 1 0 1 0 | 1
    return o.b;
}

QByteArray TgaMappedBottomUp()
{
    Bytes o = TgaHeader(1, 2, 2, 8, 0, 2, 24);
    o.bytes({ 0, 0, 255, 255, 0, 0 }); // map: red, blue (BGR)
    o.bytes({ 0, 0, 1, 1 });           // bottom row red, top row blue
    return o.b;
}

QByteArray TgaRleRunAcrossRowsTopDown()
{
    // 2 x 2 top-down; one run of three green pixels crosses the first row end.
    Bytes o = TgaHeader(10, 2, 2, 24, 0x20);
    o.bytes({ 0x82, 0, 255, 0 });
    o.bytes({ 0x00, 255, 0, 0 });
    o.raw(TgaFooter());
    return o.b;
}

QByteArray TgaGreyRle()
{
    Bytes o = TgaHeader(11, 3, 1, 8, 0);
    o.bytes({ 0x81, 200, 0x00, 10 });
    return o.b;
}

QByteArray Tga32RightToLeft()
{
    Bytes o = TgaHeader(2, 2, 1, 32, 0x08 | 0x10);
    o.bytes({ 255, 0, 0, 255, 0, 0, 255, 255 }); // stored: blue, red; shown right to left
    o.raw(TgaFooter());
    return o.b;
}

QByteArray Tga16()
{
    Bytes o = TgaHeader(2, 1, 1, 16, 0);
    o.u16(0x7C00); // red in 5-5-5
    return o.b;
}

QByteArray Bmp24BottomUp()
{
    // 2 x 2: bottom row red, blue; top row green, white. Rows are padded to 4.
    return Bmp(2, 2, 24, 0, {}, QByteArray::fromHex("0000ffff00000000" "00ff00ffffff0000"));
}

QByteArray Bmp32TopDown()
{
    return Bmp(1, -2, 32, 0, {}, QByteArray::fromHex("0000ff00" "ff000000"));
}

QByteArray Bmp8Rle()
{
    // 4 x 2 RLE8: a run of 4 index 1, end of line, 2 absolute pixels... encoded as runs.
    return Bmp(4, 2, 8, 1, { kRed, kBlue }, QByteArray::fromHex("0401" "0000" "0200" "0201" "0001"));
}

QByteArray Bmp4Rle()
{
    return Bmp(4, 1, 4, 2, { kGreen, kRed }, QByteArray::fromHex("0401" "0001"));
}

QByteArray BmpCore8()
{
    QList<QColor> palette(256, kWhite); // the old header has no colour count: all 256
    palette[0] = kBlue;
    palette[1] = kGreen;
    return Bmp(2, 1, 8, 0, palette, QByteArray::fromHex("00010000"), 12);
}

QByteArray Bmp1Bit()
{
    return Bmp(3, 1, 1, 0, { kBlack, kWhite }, QByteArray::fromHex("a0000000"));
}

QByteArray Bmp16()
{
    return Bmp(1, 1, 16, 0, {}, QByteArray::fromHex("1f000000")); // 5-5-5 blue
}

QByteArray Truncated(QByteArray b, int keep)
{
    b.truncate(keep);
    return b;
}

} // namespace

TEST(PictureReaders, EachFormatGivesItsPixels)
{
    const QList<ReaderCase> cases = {
        { "PCX 8-bit, run across a row end", "a.pcx", Pcx8WithRunAcrossRows, { 3, 2 },
            { { 0, 0, kRed }, { 2, 0, kRed }, { 0, 1, kGreen }, { 1, 1, kGreen }, { 2, 1, kWhite } } },
        { "PCX 4-bit planar", "b.PCX", Pcx4Planar, { 2, 1 }, { { 0, 0, kRed }, { 1, 0, kBlue } } },
        { "PCX 24-bit three planes", "c.pcx", Pcx24, { 2, 1 }, { { 0, 0, kRed }, { 1, 0, kBlue } } },
        { "PCX 1-bit", "d.pcx", Pcx1Bit, { 9, 1 }, { { 0, 0, kWhite }, { 1, 0, kBlack }, { 8, 0, kWhite } } },
        { "PCX truncated in the header", "e.pcx", [] { return Truncated(Pcx24(), 100); }, {}, {} },
        { "PCX ending in its last row: that row white", "g.pcx", [] { return Truncated(PcxGrey3Rows(), 128 + 4); },
            { 2, 3 }, { { 0, 0, QColor(1, 1, 1) }, { 1, 1, QColor(2, 2, 2) }, { 0, 2, kWhite } } },
        { "PCX ending a row earlier", "h.pcx", [] { return Truncated(PcxGrey3Rows(), 128 + 2); }, {}, {} },
        { "PCX not a PCX", "f.pcx", [] { return QByteArray(200, 'x'); }, {}, {} },
        { "TGA colour-mapped, bottom-up", "a.tga", TgaMappedBottomUp, { 2, 2 },
            { { 0, 1, kRed }, { 1, 0, kBlue } } },
        { "TGA RLE true colour, run across a row end, top-down", "b.TGA", TgaRleRunAcrossRowsTopDown, { 2, 2 },
            { { 0, 0, kGreen }, { 1, 0, kGreen }, { 0, 1, kGreen }, { 1, 1, kBlue } } },
        { "TGA RLE grey", "c.tga", TgaGreyRle, { 3, 1 },
            { { 0, 0, QColor(200, 200, 200) }, { 1, 0, QColor(200, 200, 200) }, { 2, 0, QColor(10, 10, 10) } } },
        { "TGA 32-bit, right to left, with footer", "d.tga", Tga32RightToLeft, { 2, 1 },
            { { 0, 0, kRed }, { 1, 0, kBlue } } },
        { "TGA 16-bit", "e.tga", Tga16, { 1, 1 }, { { 0, 0, kRed } } },
        { "TGA truncated after the header", "f.tga", [] { return Truncated(Tga16(), 18); }, {}, {} },
        { "TGA missing its last row", "i.tga", [] { return Truncated(TgaMappedBottomUp(), 18 + 6 + 2); }, { 2, 2 },
            { { 0, 1, kRed }, { 0, 0, kWhite } } },
        { "TGA with a bad type", "g.tga", [] { QByteArray b = Tga16(); b[2] = 7; return b; }, {}, {} },
        { "BMP 24-bit bottom-up", "a.bmp", Bmp24BottomUp, { 2, 2 },
            { { 0, 1, kRed }, { 1, 1, kBlue }, { 0, 0, kGreen }, { 1, 0, kWhite } } },
        { "BMP 32-bit top-down", "b.bmp", Bmp32TopDown, { 1, 2 }, { { 0, 0, kRed }, { 0, 1, kBlue } } },
        { "RLE8", "c.rle", Bmp8Rle, { 4, 2 }, { { 0, 1, kBlue }, { 3, 1, kBlue }, { 0, 0, kRed }, { 1, 0, kRed } } },
        { "RLE4", "d.rle", Bmp4Rle, { 4, 1 }, { { 0, 0, kGreen }, { 1, 0, kRed }, { 2, 0, kGreen } } },
        { "DIB with the old core header", "e.dib", BmpCore8, { 2, 1 }, { { 0, 0, kBlue }, { 1, 0, kGreen } } },
        { "BMP 1-bit", "f.bmp", Bmp1Bit, { 3, 1 }, { { 0, 0, kWhite }, { 1, 0, kBlack }, { 2, 0, kWhite } } },
        { "BMP 16-bit", "g.bmp", Bmp16, { 1, 1 }, { { 0, 0, QColor(0, 0, 248) } } }, // five bits widened by a shift
        { "BMP truncated in the header", "h.bmp", [] { return Truncated(Bmp24BottomUp(), 20); }, {}, {} },
        { "BMP with a JPEG name", "photo.final.jpg", Bmp24BottomUp, {}, {} },
        { "empty file", "i.bmp", [] { return QByteArray(); }, {}, {} },
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        TPicture picture;
        QString message;
        const bool ok = ReadPicture(c.bytes(), c.fileName, picture, &message);
        if (c.size.isEmpty()) {
            EXPECT_FALSE(ok);
            EXPECT_FALSE(message.isEmpty());
            continue;
        }
        ASSERT_TRUE(ok) << message.toStdString();
        ASSERT_TRUE(picture.IsBitmap());
        EXPECT_EQ(picture.Size(), c.size);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(picture.Bitmap().pixelColor(p.x, p.y).rgb(), p.colour.rgb()) << p.x << "," << p.y;
    }
}

// The one picture-reading function that the panel, the preview, printing and
// export all use takes only regular files: a device, a FIFO without a writer
// or a folder is refused at once and the picture is left as it was.
TEST(PictureReaders, PictureFilesAreRegularFilesOnly)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("art.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir(dir.path()).mkdir("folder.bmp");
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        { "/dev/zero", "it is not a regular file" },
        { fifo, "it is not a regular file" },
        { dir.filePath("folder.bmp"), "it is a folder" },
        { dir.filePath("missing.bmp"), "No such file or directory" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        TPicture picture;
        QImage red(4, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        picture.SetBitmap(red);
        EXPECT_FALSE(picture.LoadFromFile(c.path));
        EXPECT_EQ(picture.ErrorText(), "Cannot open file " + c.path + ": " + c.reason);
        EXPECT_EQ(picture.Size(), QSize(4, 4));
    }
}
