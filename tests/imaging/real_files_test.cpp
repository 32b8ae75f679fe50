// Picture files written by other programs (netpbm, ImageMagick, fig2dev,
// Inkscape; see scripts/make_picture_samples) read as their programs drew
// them: an 8 x 6 picture, left half red, right half blue, bottom row green;
// the drawings a red box at the left.
#include "imaging/picture.h"
#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cardora;

namespace {

bool Near(QRgb a, QColor b, int tolerance)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance
        && std::abs(qBlue(a) - b.blue()) <= tolerance;
}

QString DataFile(const QString& name) { return QStringLiteral(CARDORA_TEST_DATA "/pictures/") + name; }

} // namespace

TEST(RealPictureFiles, RasterFilesOfOtherProgramsRead)
{
    const struct {
        const char* file;
        TGraphicKind kind;
        int tolerance; // JPEG blurs colour edges
        bool topFirst = false; // ImageMagick writes TGA rows top first under a bottom-left origin
    } cases[] = {
        { "netpbm_24.bmp", TGraphicKind::Bitmap, 0 }, { "netpbm_4.bmp", TGraphicKind::Bitmap, 0 },
        { "netpbm_8.bmp", TGraphicKind::Bitmap, 0 }, { "netpbm_os2.bmp", TGraphicKind::Bitmap, 0 },
        { "magick_rle8.bmp", TGraphicKind::Bitmap, 0 }, { "magick_pal.dib", TGraphicKind::Bitmap, 0 },
        { "netpbm_2plane.pcx", TGraphicKind::Bitmap, 0 }, { "netpbm_8.pcx", TGraphicKind::Bitmap, 0 },
        { "netpbm_24.pcx", TGraphicKind::Bitmap, 0 }, { "netpbm_planar.pcx", TGraphicKind::Bitmap, 0 },
        { "magick.pcx", TGraphicKind::Bitmap, 0 }, { "netpbm_rgb.tga", TGraphicKind::Bitmap, 0 },
        { "netpbm_rgb_raw.tga", TGraphicKind::Bitmap, 0 }, { "netpbm_cmap.tga", TGraphicKind::Bitmap, 0 },
        { "magick_rle.tga", TGraphicKind::Bitmap, 0, true }, { "magick_raw.tga", TGraphicKind::Bitmap, 0, true },
        { "netpbm.gif", TGraphicKind::Bitmap, 0 }, { "magick.gif", TGraphicKind::Bitmap, 0 },
        { "netpbm.jpg", TGraphicKind::Bitmap, 90 }, { "magick.jif", TGraphicKind::Bitmap, 90 },
        { "netpbm.ico", TGraphicKind::Icon, 0 }, { "magick.ico", TGraphicKind::Icon, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(DataFile(c.file))) << picture.ErrorText().toStdString();
        EXPECT_EQ(picture.Kind(), c.kind);
        ASSERT_EQ(picture.Size(), QSize(8, 6));
        // The header's origin decides, as other readers of the format do.
        const QImage image = c.topFirst ? picture.Bitmap().mirrored(false, true) : picture.Bitmap();
        EXPECT_TRUE(Near(image.pixel(1, 1), Qt::red, c.tolerance));
        EXPECT_TRUE(Near(image.pixel(6, 2), Qt::blue, c.tolerance));
        if (c.tolerance == 0)
            EXPECT_TRUE(Near(image.pixel(3, 5), Qt::green, 0));
        else
            EXPECT_GT(qGreen(image.pixel(3, 5)), 128);
    }
}

TEST(RealPictureFiles, MetafilesOfOtherProgramsPlay)
{
    const struct {
        const char* file;
        QPointF red;   // where the red box is, as a share of the picture
        QPointF white; // where nothing is drawn
    } cases[] = {
        { "fig2dev.emf", { 0.2, 0.5 }, { 0.75, 0.1 } },
        { "inkscape.wmf", { 0.25, 0.5 }, { -1, -1 } },
        { "inkscape.emf", { 0.25, 0.5 }, { -1, -1 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (!QFileInfo::exists(DataFile(c.file)))
            continue; // written only where Inkscape was installed
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(DataFile(c.file))) << picture.ErrorText().toStdString();
        ASSERT_TRUE(picture.IsMetafile());
        EXPECT_GT(picture.Width(), 10);
        EXPECT_GT(picture.Height(), 10);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        picture.Draw(p, QRectF(0, 0, 200, 100));
        p.end();
        EXPECT_TRUE(Near(image.pixel(int(c.red.x() * 200), int(c.red.y() * 100)), Qt::red, 10));
        if (c.white.x() >= 0)
            EXPECT_TRUE(Near(image.pixel(int(c.white.x() * 200), int(c.white.y() * 100)), Qt::white, 10));
    }
}

TEST(RealPictureFiles, HostileFilesAreRefusedOrDrawnWithoutHarm)
{
    // Inputs the fuzzers found; each once crashed a reader or the player.
    // A file is refused with a message, or read and drawn.
    const QDir folder(QStringLiteral(CARDORA_TEST_DATA "/pictures/hostile"));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        TPicture picture;
        if (!picture.LoadFromFile(folder.filePath(name))) {
            EXPECT_FALSE(picture.ErrorText().isEmpty());
            EXPECT_FALSE(picture.HasGraphic());
            continue;
        }
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        picture.Draw(p, QRectF(0, 0, 64, 48));
        p.end();
        EXPECT_FALSE(picture.Size().isEmpty());
    }
}
