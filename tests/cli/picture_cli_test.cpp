// cardora-cli picture: every class of the image browser's mask in, BMP, PNG
// or JPEG out, one JSON line on success; nothing on standard output and one
// line on standard error on failure.
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out, err;
};

CliResult Picture(const QStringList& args)
{
    QProcess p;
    p.start(CARDORA_CLI, QStringList { "picture" } + args);
    p.waitForFinished(60000);
    return { p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError() };
}

QString Sample(const char* name) { return QStringLiteral(CARDORA_TEST_DATA "/pictures/") + name; }

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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        const QString target = out.filePath(c.out);
        QStringList args { Sample(c.in), target };
        args += c.size;
        const CliResult r = Picture(args);
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
    };
    const QByteArray sameBefore = [&] {
        QFile f(folder.filePath("same.bmp"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult r = Picture(c.args);
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
