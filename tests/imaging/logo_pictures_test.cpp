// Logos as they arrive: PNG with alpha, SVG drawings, TIFF and WebP written
// by other programs (see scripts/make_logo_samples), kept byte for byte in
// card data, and hostile drawings refused before anything else is read.
#include "imaging/picture.h"
#include "imaging/picture_file.h"
#include "imaging/print_quality.h"
#include "imaging/svg_picture.h"
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

QString Logo(const QString& name) { return QStringLiteral(CARDORA_TEST_DATA "/pictures/logos/") + name; }

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The picture drawn over green, through the print path and the screen path.
// Cairo writes colours as percentages, which come back one step off.
bool Near(QRgb a, QRgb b) { return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2; }

QImage OverGreen(const TPicture& picture, QSize size, bool cached)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::green);
    QPainter p(&image);
    if (cached)
        picture.DrawCached(p, QRect(QPoint(0, 0), size));
    else
        picture.Draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
    p.end();
    return image;
}

} // namespace

TEST(LogoPictures, FilesOfOtherProgramsReadWithTheirTransparency)
{
    const struct {
        const char* file;
        const char* className;
        QSize size;
        bool transparent;
    } cases[] = {
        { "magick_rgba.png", "TPngImage", { 8, 6 }, true },
        { "magick_rgba16.png", "TPngImage", { 8, 6 }, true },
        { "magick.tif", "TBitmap", { 8, 6 }, false }, // other formats are stored as before, on white
        { "cwebp.webp", "TBitmap", { 8, 6 }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(Logo(c.file))) << picture.ErrorText().toStdString();
        EXPECT_EQ(picture.ClassName(), c.className);
        ASSERT_EQ(picture.Size(), c.size);
        EXPECT_EQ(picture.IsTransparent(), c.transparent);
        for (bool cached : { false, true }) {
            SCOPED_TRACE(cached ? "screen" : "print");
            const QImage shown = OverGreen(picture, QSize(80, 60), cached);
            EXPECT_EQ(shown.pixel(15, 15), qRgb(255, 0, 0)); // opaque red
            const QRgb bottom = shown.pixel(30, 58), half = shown.pixel(65, 25);
            if (c.transparent) {
                EXPECT_EQ(bottom, qRgb(0, 255, 0)); // clear: the green behind
                // Half blue over green.
                EXPECT_NEAR(qGreen(half), 127, 6);
                EXPECT_NEAR(qBlue(half), 128, 6);
            } else {
                EXPECT_EQ(bottom, qRgb(255, 255, 255));
                EXPECT_NEAR(qBlue(half), 255, 2);
                EXPECT_NEAR(qGreen(half), 127, 6); // half blue on white
            }
        }
    }
}

TEST(LogoPictures, SvgDrawingsStayDrawingsAtTheirDeclaredSize)
{
    for (const char* file : { "hand.svg", "rsvg.svg" }) {
        SCOPED_TRACE(file);
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(Logo(file))) << picture.ErrorText().toStdString();
        EXPECT_TRUE(picture.IsSvg());
        EXPECT_EQ(picture.ClassName(), "TSvgImage");
        EXPECT_EQ(picture.Size(), QSize(96, 48)); // one inch by half an inch at 96 per inch
        for (bool cached : { false, true }) {
            const QImage shown = OverGreen(picture, QSize(192, 96), cached);
            EXPECT_TRUE(Near(shown.pixel(40, 50), qRgb(255, 0, 0)));
            EXPECT_TRUE(Near(shown.pixel(94, 50), qRgb(0, 255, 0))); // between the shapes
            EXPECT_TRUE(Near(shown.pixel(189, 3), qRgb(0, 255, 0))); // outside the circle
            EXPECT_TRUE(Near(shown.pixel(144, 10), qRgb(0, 0, 255)));
        }
        // Edges stay sharp however large it is drawn: at ten times its size
        // no blurred band lies beside the square's edge.
        const QImage large = OverGreen(picture, QSize(960, 480), false);
        EXPECT_TRUE(Near(large.pixel(438, 240), qRgb(255, 0, 0)));
        EXPECT_TRUE(Near(large.pixel(441, 240), qRgb(0, 255, 0)));
    }
}

TEST(LogoPictures, DeclaredSizesInEveryUnit)
{
    const struct {
        const char* root;
        QSize size;
    } cases[] = {
        { R"(width="2in" height="1in")", { 192, 96 } },
        { R"(width="50.8mm" height="2.54cm")", { 192, 96 } },
        { R"(width="72pt" height="6pc")", { 96, 96 } },
        { R"(width="30" height="20px")", { 30, 20 } },
        { R"(viewBox="0 0 40 10")", { 40, 10 } },
        { R"(width="80" viewBox="0 0 40 10")", { 80, 20 } },
        { R"(width="100%" height="100%" viewBox="0 0 12 34")", { 12, 34 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        const QByteArray svg = QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" )") + c.root
            + R"(><rect width="5" height="5" fill="red"/></svg>)";
        TPicture picture;
        QString message;
        ASSERT_TRUE(ReadPicture(svg, "logo.svg", picture, &message)) << message.toStdString();
        EXPECT_EQ(picture.Size(), c.size);
    }
}

TEST(LogoPictures, CardDataKeepsTheFileByteForByte)
{
    for (const char* file : { "magick_rgba.png", "magick_rgba16.png", "rsvg.png", "hand.svg", "rsvg.svg" }) {
        SCOPED_TRACE(file);
        const QByteArray bytes = FileBytes(Logo(file));
        ASSERT_FALSE(bytes.isEmpty());
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(Logo(file)));
        const QByteArray data = picture.GraphicData();
        ASSERT_EQ(data.size(), bytes.size() + 4);
        const uint32_t size = uchar(data[0]) | uchar(data[1]) << 8 | uchar(data[2]) << 16 | uint32_t(uchar(data[3])) << 24;
        EXPECT_EQ(size, uint32_t(bytes.size())); // little-endian size, then the file
        EXPECT_EQ(data.mid(4), bytes);
        TPicture reread;
        QString message;
        ASSERT_TRUE(reread.SetGraphicData(picture.ClassName(), data, &message)) << message.toStdString();
        EXPECT_EQ(reread.ClassName(), picture.ClassName());
        EXPECT_EQ(reread.Size(), picture.Size());
        EXPECT_EQ(reread.GraphicData(), data);
        EXPECT_EQ(OverGreen(reread, QSize(40, 30), false), OverGreen(picture, QSize(40, 30), false));
    }
}

// A file named .png that holds another format (a GIF or JPEG saved under
// the wrong name, as web pages hand them out) is read by what it holds and
// comes back from card data: the card saves and opens again.
TEST(LogoPictures, OtherFormatsNamedPngComeBackFromCardData)
{
    QTemporaryDir dir;
    int readBack = 0;
    for (const char* file : { "magick.gif", "netpbm.gif", "netpbm.jpg", "netpbm_24.bmp", "magick_raw.tga" }) {
        SCOPED_TRACE(file);
        const QString real = QStringLiteral(CARDORA_TEST_DATA "/pictures/") + file;
        const QString named = dir.filePath(QStringLiteral("logo.png"));
        QFile::remove(named);
        ASSERT_TRUE(QFile::copy(real, named));
        TPicture asItIs, misnamed;
        QString message;
        ASSERT_TRUE(ReadPicture(FileBytes(real), real, asItIs, &message)) << message.toStdString();
        if (!ReadPicture(FileBytes(named), named, misnamed, &message))
            continue; // refused by its name is fine; what is read must come back
        EXPECT_EQ(misnamed.Size(), asItIs.Size());
        const QByteArray data = misnamed.GraphicData();
        TPicture reread;
        ASSERT_TRUE(reread.SetGraphicData(misnamed.ClassName(), data, &message)) << message.toStdString();
        EXPECT_EQ(reread.Size(), asItIs.Size());
        EXPECT_EQ(reread.GraphicData(), data);
        EXPECT_EQ(OverGreen(reread, QSize(40, 30), false), OverGreen(asItIs, QSize(40, 30), false));
        ++readBack;
    }
    EXPECT_GE(readBack, 4); // all but the TGA, whose bytes carry no signature
}

TEST(LogoPictures, HostileFilesAreRefusedWithoutReadingOtherFiles)
{
    // Each names what is wrong; the drawings that point elsewhere would
    // show a picture if the reference were followed (the PNG is there).
    ASSERT_TRUE(QFile::exists(Logo("magick_rgba.png")));
    const QDir folder(QStringLiteral(CARDORA_TEST_DATA "/pictures/refused"));
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        { "outside_image.svg", "refers to other files" },
        { "outside_absolute.svg", "refers to other files" },
        { "outside_css.svg", "refers to other files" },
        { "embedded_drawing.svg", "embeds a picture" },
        { "entity_expansion.svg", "declares entities" },
        { "huge_declared.svg", "too large" },
        { "no_size.svg", "no size" },
        { "huge_declared.png", "too large" },
    };
    EXPECT_EQ(folder.entryList(QDir::Files).size(), int(std::size(cases)));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromFile(folder.filePath(c.file)));
        EXPECT_FALSE(picture.HasGraphic());
        EXPECT_TRUE(picture.ErrorText().startsWith(QString(c.file) + " cannot be read: ")) << picture.ErrorText().toStdString();
        EXPECT_TRUE(picture.ErrorText().contains(c.reason)) << picture.ErrorText().toStdString();
        // The same bytes as card data are refused as well.
        QByteArray data = FileBytes(folder.filePath(c.file));
        const uint32_t n = data.size();
        const char size[4] = { char(n & 0xFF), char(n >> 8 & 0xFF), char(n >> 16 & 0xFF), char(n >> 24) };
        data.prepend(QByteArray(size, 4));
        QString message;
        EXPECT_FALSE(picture.SetGraphicData(QString(c.file).endsWith(".png") ? "TPngImage" : "TSvgImage", data, &message));
        EXPECT_FALSE(message.isEmpty());
    }
}

TEST(LogoPictures, EmbeddedPixelsAndLocalReferencesAreAccepted)
{
    const QByteArray png = FileBytes(Logo("magick_rgba.png"));
    const QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="8" height="6">)"
                           R"(<defs><linearGradient id="g"><stop offset="0" stop-color="red"/></linearGradient></defs>)"
                           R"x(<rect id="r" width="8" height="6" fill="url(#g)"/><use xlink:href="#r"/>)x"
                           R"(<image width="8" height="6" href="data:image/png;base64,)"
        + png.toBase64() + R"("/></svg>)";
    TPicture picture;
    QString message;
    ASSERT_TRUE(ReadPicture(svg, "local.svg", picture, &message)) << message.toStdString();
    EXPECT_EQ(picture.Size(), QSize(8, 6));
    EXPECT_EQ(OverGreen(picture, QSize(8, 6), false).pixel(1, 1), qRgb(255, 0, 0));
}

TEST(LogoPictures, TheImageBrowserMaskListsEveryReadableType)
{
    const QStringList mask = QString::fromLatin1(kImageFileMask).split(';');
    for (const char* pattern : { "*.PNG", "*.SVG", "*.GIF", "*.TIF", "*.TIFF", "*.WEBP", "*.JPG", "*.JPEG", "*.BMP", "*.WMF", "*.EMF", "*.ICO" })
        EXPECT_TRUE(mask.contains(pattern)) << pattern;
    // And every listed type of the samples reads.
    const QDir folder(QStringLiteral(CARDORA_TEST_DATA "/pictures/logos"));
    const QStringList names = folder.entryList(mask, QDir::Files);
    EXPECT_EQ(names.size(), 7);
    for (const QString& name : names) {
        TPicture picture;
        EXPECT_TRUE(picture.LoadFromFile(folder.filePath(name))) << name.toStdString();
    }
}

TEST(LogoPictures, EffectiveResolutionAtThePlacedSizeWarnsUnder300)
{
    auto bitmap = [](int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::red);
        TPicture p;
        p.SetBitmap(image);
        return p;
    };
    TPicture svg;
    ASSERT_TRUE(svg.LoadFromFile(Logo("hand.svg")));
    TPicture png;
    ASSERT_TRUE(png.LoadFromFile(Logo("rsvg.png")));
    const struct {
        const char* what;
        TPicture picture;
        QSize placed;
        int ppi;
        const char* text; // a part of the line shown
    } cases[] = {
        { "a large photo in a small box", bitmap(600, 300), { 96, 48 }, 600, "600 pixels per inch at 1.00 × 0.50 in: good" },
        { "exactly enough", bitmap(300, 300), { 96, 96 }, 300, "good for print" },
        { "the lower of across and down", bitmap(300, 100), { 96, 48 }, 200, "200 pixels per inch at 1.00 × 0.50 in: under 300" },
        { "a small logo stretched", bitmap(8, 6), { 80, 60 }, 10, "under 300" },
        { "a PNG at its own size", png, { 96, 48 }, 96, "96 pixels per inch" },
        { "a drawing", svg, { 960, 480 }, 0, "sharp at any size" },
        { "an empty box", bitmap(8, 6), { 0, 10 }, 0, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EffectivePixelsPerInch(c.picture, c.placed), c.ppi);
        const QString text = PrintQualityText(c.picture, c.placed);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.text))) << text.toStdString();
        EXPECT_EQ(text.contains("under 300"), c.ppi > 0 && c.ppi < 300);
    }
    EXPECT_TRUE(PrintQualityText(TPicture(), QSize(96, 96)).isEmpty());
}
