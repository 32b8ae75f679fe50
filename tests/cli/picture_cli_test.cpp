// cardora-cli picture: every class of the image browser's mask in, BMP, PNG
// or JPEG out, one JSON line on success; nothing on standard output and one
// line on standard error on failure.
#include "imaging/picture.h"
#include "objects/pictures/image_object.h"
#include "surface/card_panel.h"
#include "surface/object_kinds.h"
#include "cli_run.h"
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

cardora::test::CliRun Picture(const QStringList& args) { return cardora::test::RunCli(QStringList { "picture" } + args); }

QString Sample(const char* name) { return QStringLiteral(CARDORA_TEST_DATA "/pictures/") + name; }

// An image object placed as the image tool places it, showing `picture`.
cardora::TQImage* placePicture(QObject& owner, cardora::CardPanel& panel, QRect box,
    const cardora::TPicture& picture)
{
    auto* o = new cardora::TQImage(&owner);
    o->Loaded();
    panel.PlaceNewObject(o, box);
    o->SetPicture(picture);
    return o;
}

// pdfimages' rows of a PDF, each split into its columns.
QList<QStringList> pdfImageRows(const QString& pdf)
{
    QList<QStringList> rows;
    const QStringList lines
        = QString::fromUtf8(cardora::test::RunProgram("pdfimages", { "-list", pdf }).out).split('\n').mid(2);
    for (const QString& line : lines)
        if (const QStringList cols = line.simplified().split(' '); cols.size() >= 5)
            rows << cols;
    return rows;
}

} // namespace

TEST(PictureCli, ConvertsEveryPictureClassAndReportsItsNaturalSize)
{
    QTemporaryDir out;
    const struct {
        const char* in;
        const char* out;
        QStringList size;
        const char* kind;
        QSize natural;
        QSize written;
        QPoint red; // a pixel of the written picture that is red
    } cases[] = {
        { "netpbm_24.bmp", "a.png", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 1, 1 } },
        { "netpbm_planar.pcx", "b.bmp", { "--width", "80", "--height", "60" }, "bitmap", { 8, 6 }, { 80, 60 }, { 10, 10 } },
        { "netpbm_cmap.tga", "c.png", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 0, 0 } },
        { "magick_pal.dib", "d.png", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 2, 2 } },
        { "magick.jif", "e.jpg", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 1, 1 } },
        { "netpbm.ico", "f.png", {}, "icon", { 8, 6 }, { 8, 6 }, { 1, 1 } },
        { "netpbm.gif", "g.png", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 1, 1 } },
        { "inkscape.wmf", "h.png", { "--width", "200", "--height", "100" }, "metafile", { 96, 48 }, { 200, 100 }, { 40, 50 } },
        { "fig2dev.emf", "i.png", {}, "metafile", {}, {}, { -1, -1 } },
        { "logos/magick_rgba.png", "j.png", {}, "png", { 8, 6 }, { 8, 6 }, { 1, 1 } },
        { "logos/rsvg.png", "k.bmp", { "--width", "48", "--height", "24" }, "png", { 96, 48 }, { 48, 24 }, { 5, 12 } },
        // An SVG's declared size (one inch by half an inch) at 96 per inch.
        { "logos/hand.svg", "l.png", {}, "svg", { 96, 48 }, { 96, 48 }, { 20, 20 } },
        { "logos/rsvg.svg", "m.jpg", { "--width", "400", "--height", "200" }, "svg", { 96, 48 }, { 400, 200 }, { 80, 100 } },
        { "logos/magick.tif", "n.png", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 2, 2 } },
        { "logos/cwebp.webp", "o.png", {}, "bitmap", { 8, 6 }, { 8, 6 }, { 0, 4 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        const QString target = out.filePath(c.out);
        QStringList args { Sample(c.in), target };
        args += c.size;
        const auto r = Picture(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        ASSERT_TRUE(r.out.endsWith('\n'));
        EXPECT_EQ(r.out.count('\n'), 1);
        const QJsonObject json = QJsonDocument::fromJson(r.out).object();
        EXPECT_EQ(json.value("kind").toString(), c.kind);
        const QImage written(target);
        ASSERT_FALSE(written.isNull());
        if (c.natural.isEmpty()) {
            // Its natural size, whatever it is, is what was written.
            EXPECT_EQ(written.size(), QSize(json.value("width").toInt(), json.value("height").toInt()));
            continue;
        }
        EXPECT_EQ(QSize(json.value("width").toInt(), json.value("height").toInt()), c.natural);
        EXPECT_EQ(written.size(), c.written);
        const QRgb p = written.pixel(c.red);
        EXPECT_TRUE(qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60) << qRed(p) << "," << qGreen(p) << "," << qBlue(p);
    }
}

TEST(PictureCli, FailuresSayOneLineAndLeaveNoOutput)
{
    QTemporaryDir folder;
    QFile hostile(folder.filePath("hostile.pcx"));
    ASSERT_TRUE(hostile.open(QIODevice::WriteOnly));
    hostile.write(QByteArray::fromHex("0a0501080000000000ffff") + QByteArray(200, '\xff'));
    hostile.close();
    const QString input = Sample("netpbm_24.bmp");
    QFile::copy(input, folder.filePath("same.bmp"));
    // Files cut short: a bitmap whose pixel rows end early (Qt's reader
    // would fill them with black), a placeable metafile cut inside its header.
    auto cut = [&](const char* sample, qsizetype keep, const char* name) {
        QByteArray bytes = cardora::test::ReadFileBytes(Sample(sample));
        bytes.truncate(keep < 0 ? bytes.size() + keep : keep);
        QFile f(folder.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    cut("netpbm_24.bmp", -10, "short.bmp");
    cut("netpbm_8.bmp", -3, "short8.bmp");
    cut("inkscape.wmf", 22 + 10, "header.wmf");
    const struct {
        const char* what;
        QStringList args;
        const char* output; // must not exist afterwards, or must be unchanged
    } cases[] = {
        { "missing input", { folder.filePath("none.bmp"), folder.filePath("o1.png") }, "o1.png" },
        { "undecodable picture", { folder.filePath("hostile.pcx"), folder.filePath("o2.png") }, "o2.png" },
        { "unknown output type", { input, folder.filePath("o3.gif") }, "o3.gif" },
        { "width without height", { input, folder.filePath("o4.png"), "--width", "10" }, "o4.png" },
        { "size out of range", { input, folder.filePath("o5.png"), "--width", "0", "--height", "5" }, "o5.png" },
        { "output is the input", { folder.filePath("same.bmp"), folder.filePath("same.bmp") }, "" },
        { "output folder missing", { input, folder.filePath("no/such/o6.png") }, "no/such/o6.png" },
        { "unknown option", { input, folder.filePath("o7.png"), "--depth", "8" }, "o7.png" },
        { "24-bit bitmap cut short", { folder.filePath("short.bmp"), folder.filePath("o8.png") }, "o8.png" },
        { "8-bit bitmap cut short", { folder.filePath("short8.bmp"), folder.filePath("o9.png") }, "o9.png" },
        { "metafile cut in its header", { folder.filePath("header.wmf"), folder.filePath("o10.png") }, "o10.png" },
    };
    const QByteArray sameBefore = [&] {
        QFile f(folder.filePath("same.bmp"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = Picture(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        if (*c.output)
            EXPECT_FALSE(QFile::exists(folder.filePath(c.output)));
    }
    QFile same(folder.filePath("same.bmp"));
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    EXPECT_EQ(same.readAll(), sameBefore);
}

// What Qt's image readers say about a damaged file never reaches standard
// error: a picture they half-read is written silently, one they refuse is
// reported in the command's one line.
TEST(PictureCli, ImageReadersStayQuietAboutDamagedFiles)
{
    QTemporaryDir folder;
    const struct {
        const char* sample;
        double keep; // share of the file kept
    } cases[] = { { "netpbm.jpg", 0.6 }, { "magick.gif", 0.7 }, { "netpbm.ico", 0.8 }, { "magick.jif", 0.3 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample);
        QByteArray bytes = cardora::test::ReadFileBytes(Sample(c.sample));
        bytes.truncate(qsizetype(bytes.size() * c.keep));
        const QString damaged = folder.filePath(QString("damaged-") + c.sample);
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const auto r = Picture({ damaged, folder.filePath("out.png") });
        if (r.exitCode == 0)
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        else
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("JPEG")) << r.err.toStdString();
    }
}

TEST(PictureCli, CardsWithPicturesDumpRenderAndPrint)
{
    // A card with two metafiles (one with a red left half, one with text)
    // and a bitmap (blue), as the image tool places them.
    QTemporaryDir dir;
    cardora::RegisterCardObjectKinds();
    const QString card = dir.filePath("pictures.CDW");
    {
        QObject owner;
        cardora::CardPanel panel(nullptr, &owner);
        panel.SetPanelSize(336, 192);
        cardora::TPicture wmf, bitmap, emf;
        ASSERT_TRUE(wmf.LoadFromFile(Sample("inkscape.wmf")));
        ASSERT_TRUE(emf.LoadFromFile(Sample("fig2dev.emf")));
        QImage blue(8, 6, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        bitmap.SetBitmap(blue);
        placePicture(owner, panel, QRect(10, 10, 96, 48), wmf);
        placePicture(owner, panel, QRect(200, 100, 40, 30), bitmap)->SetBorderStyle(cardora::LabelBorder::Single);
        placePicture(owner, panel, QRect(150, 10, 150, 60), emf);
        panel.SaveCardFile(card);
    }
    const auto dump = cardora::test::RunCli({ "dump", card });
    ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    EXPECT_EQ(dump.out.count("\"TQImage\""), 3);
    EXPECT_EQ(dump.out.count("Picture.Data"), 3);

    // Opened and saved again, the card is the same bytes (after the first
    // read has numbered the objects as every read does).
    auto resave = [](const QString& from, const QString& to) {
        EXPECT_EQ(cardora::test::RunCli({ "resave", from, to }).exitCode, 0);
        return cardora::test::ReadFileBytes(to);
    };
    const QByteArray once = resave(card, dir.filePath("once.CDW"));
    EXPECT_EQ(resave(dir.filePath("once.CDW"), dir.filePath("twice.CDW")), once);
    EXPECT_FALSE(once.isEmpty());

    const QString png = dir.filePath("card.png");
    ASSERT_EQ(cardora::test::RunCli({ "render", card, png }).exitCode, 0);
    const QImage image(png);
    EXPECT_EQ(image.pixel(30, 30) & 0xFFFFFF, 0xFF0000u);  // the drawing's red half
    EXPECT_EQ(image.pixel(220, 115) & 0xFFFFFF, 0x0000FFu); // the bitmap
    EXPECT_EQ(image.pixel(200, 115) & 0xFFFFFF, 0x000000u); // its frame

    const QString pdf = dir.filePath("sheet.pdf");
    const auto print = cardora::test::RunCli({ "print", card, pdf, "--dpi", "150" });
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    // The metafile's text stays text, and the bitmap goes in at its own 8 x 6 pixels.
    EXPECT_GE(cardora::test::RunProgram("pdftotext", { pdf, "-" }).out.count("Ab"), 10);
    int ownSize = 0;
    for (const QStringList& cols : pdfImageRows(pdf))
        ownSize += cols[3] == "8" && cols[4] == "6";
    EXPECT_GE(ownSize, 1);
}

TEST(PictureCli, CardWithSvgLogoPrintsAsVectorsOverWhatIsBehind)
{
    // An SVG logo and a half-transparent PNG over a blue bitmap: the PDF at
    // 600 dpi holds the bitmaps only (the drawing is paths), and the render
    // shows the blue through the clear parts of both.
    QTemporaryDir dir;
    cardora::RegisterCardObjectKinds();
    const QString card = dir.filePath("logo.CDW");
    {
        QObject owner;
        cardora::CardPanel panel(nullptr, &owner);
        panel.SetPanelSize(336, 192);
        cardora::TPicture bitmap, svg, alpha;
        QImage blue(4, 4, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        bitmap.SetBitmap(blue);
        ASSERT_TRUE(svg.LoadFromFile(Sample("logos/hand.svg"))) << svg.ErrorText().toStdString();
        ASSERT_TRUE(alpha.LoadFromFile(Sample("logos/magick_rgba.png")));
        placePicture(owner, panel, QRect(0, 0, 336, 192), bitmap);
        placePicture(owner, panel, QRect(10, 10, 192, 96), svg);
        placePicture(owner, panel, QRect(240, 100, 80, 60), alpha);
        panel.SaveCardFile(card);
    }
    const QString image = dir.filePath("card.png");
    ASSERT_EQ(cardora::test::RunCli({ "render", card, image }).exitCode, 0);
    const QImage shown(image);
    EXPECT_EQ(shown.pixel(40, 50) & 0xFFFFFF, 0xFF0000u); // the drawing's red square
    EXPECT_EQ(shown.pixel(100, 50) & 0xFFFFFF, 0x0000FFu); // between its shapes: the bitmap behind
    EXPECT_EQ(shown.pixel(250, 110) & 0xFFFFFF, 0xFF0000u); // the PNG's opaque red
    EXPECT_EQ(shown.pixel(250, 155) & 0xFFFFFF, 0x0000FFu); // its clear bottom row
    const QRgb half = shown.pixel(310, 110); // half blue over blue
    EXPECT_TRUE(qBlue(half) > 240 && qRed(half) < 20) << std::hex << half;

    const QString pdf = dir.filePath("sheet.pdf");
    const auto print = cardora::test::RunCli({ "print", card, pdf, "--dpi", "600" });
    ASSERT_EQ(print.exitCode, 0) << print.err.toStdString();
    int images = 0, logoSized = 0;
    for (const QStringList& cols : pdfImageRows(pdf)) {
        ++images;
        // The drawing (2 by 1) would appear at its placed size in printer pixels.
        logoSized += cols[3].toInt() >= 192 && cols[3].toInt() == 2 * cols[4].toInt();
    }
    EXPECT_GT(images, 0); // the bitmaps are there, each at its own pixels
    EXPECT_EQ(logoSized, 0);
}
