#include "objects/shapes.h"
#include "objects/supershape/super_shape.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace cardora;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out, err;
};

struct Limits {
    rlim_t fileSize = RLIM_INFINITY;
    bool unprivileged = false; // as an ordinary user, so that folder permissions hold
};

// The build tree may sit in a folder only its owner can enter, so the
// ordinary user runs a copy of the tool from a folder open to everyone.
QString unprivilegedCli()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString copy = dir.path() + "/cardora-cli";
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        QFile::copy(CARDORA_CLI, copy);
        ::chmod(QFile::encodeName(copy).constData(), 0755);
        return copy;
    }();
    return path;
}

CliRun cli(const QStringList& args, const Limits& limits = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (limits.unprivileged) {
        env.remove("XDG_RUNTIME_DIR");
        env.insert("XDG_CACHE_HOME", QDir::tempPath());
        env.insert("HOME", QDir::tempPath());
    }
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([limits] {
        if (limits.fileSize != RLIM_INFINITY) {
            rlimit r {};
            getrlimit(RLIMIT_FSIZE, &r);
            r.rlim_cur = limits.fileSize;
            setrlimit(RLIMIT_FSIZE, &r);
        }
        if (limits.unprivileged && geteuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(99);
        }
    });
    p.start(limits.unprivileged ? unprivilegedCli() : QString(CARDORA_CLI), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return { -2, {}, "(did not finish)" };
    }
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
        p.readAllStandardError() };
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Every file under the folder with its bytes (links and FIFOs by what they are).
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString name = QDir(folder).relativeFilePath(path);
        if (info.isSymLink())
            files[name] = "link to " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            files[name] = "folder";
        else if (!info.isFile())
            files[name] = "special";
        else {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            files[name] = f.readAll();
        }
    }
    return files;
}

// A card with a filled rectangle, and a card file whose class name holds
// bytes a terminal would act on.
void makeCards(const QString& folder)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    TBCShapes* s = TBCShapes::CreateForTool(&owner, ShapeType::Rectangle);
    panel.AddObject(s);
    s->SetBounds(40, 40, 200, 100);
    s->Brush()->SetColor(0x3080F0);
    panel.SaveCardFile(folder + "/card.CDW");
    const QByteArray name("T\x1b[2J\nEvil\r\x07", 12);
    writeAll(folder + "/hostile.CDW", "\x01TPF0" + QByteArray(1, char(name.size())) + name + QByteArray("\x01" "A\x00\x00\x00", 5));
}

// A card of `shapes` shapes far larger than the card, each tiled with a
// one-pixel texture: at 2400 dpi a sheet of ten holds 645,000 tiles a shape.
void giantTexturedCard(const QString& path, int shapes = 1)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::darkGreen);
    for (int i = 0; i < shapes; ++i) {
        auto* s = new TSuperShape(&owner);
        panel.AddObject(s);
        s->SetShape(SuperShapeKind::Rectangle);
        s->SetBounds(-400000, -400000, 1000000, 1000000);
        s->SetSurfaceType(ShapeSurface::Image);
        s->SetImage(&dot);
    }
    panel.SaveCardFile(path);
}

// A file of the user's that they marked read-only.
void readOnlyFile(const QString& path, mode_t mode)
{
    writeAll(path, "protected");
    ::chmod(QFile::encodeName(path).constData(), mode);
}

// A folder anyone may write to, holding a file only its owner (not the
// ordinary user the tool then runs as) may write.
void theirsInOpenFolder(const QString& folder, const QString& name)
{
    QDir(folder).mkdir("open");
    ::chmod(QFile::encodeName(folder + "/open").constData(), 0777);
    writeAll(folder + "/open/" + name, "someone else's");
    // Run by an ordinary user the tool stays that user: the file is then
    // closed to them by its mode instead.
    ::chmod(QFile::encodeName(folder + "/open/" + name).constData(), geteuid() == 0 ? 0644 : 0444);
}

} // namespace

// Outputs that would destroy a file, inputs that would block, and preferences
// that would make the tool run for minutes: each is refused with one line on
// standard error and exit status 1, and no file in the folder changes.
TEST(CliSafety, RefusesWithOneLineAndChangesNothing)
{
    struct Case {
        const char* name;
        QStringList args;     // "@" stands for the folder
        const char* message;  // part of the one line on standard error
        std::function<void(const QString& folder)> prepare;
        Limits limits;
    };
    const auto same = "is the same file as";
    // The administrator is refused by the file's mode, a user by the system.
    const char* readOnly = geteuid() == 0 ? "the file is read-only" : "Permission denied";
    const std::vector<Case> cases = {
        { "render over its card", { "render", "@/card.CDW", "@/card.CDW" }, "Unsupported image format" },
        { "render over a text file", { "render", "@/card.CDW", "@/notes.txt" }, "Unsupported image format",
            [](const QString& f) { writeAll(f + "/notes.txt", "keep me"); } },
        { "render through a link to its card", { "render", "@/card.CDW", "@/link.png" }, same,
            [](const QString& f) { QFile::link(f + "/card.CDW", f + "/link.png"); } },
        { "render over a hard link to its card", { "render", "@/card.CDW", "@/hard.png" }, same,
            [](const QString& f) { ::link(QFile::encodeName(f + "/card.CDW").constData(), QFile::encodeName(f + "/hard.png").constData()); } },
        { "render over its background art", { "render", "@/card.CDW", "@/art.png" }, "Cannot create file",
            [](const QString& f) {
                QImage art(10, 10, QImage::Format_RGB32);
                art.fill(Qt::red);
                art.save(f + "/art.png");
                writeAll(f + "/card.CDB", (f + "/art.png\r\n").toUtf8());
            } },
        { "render over its preferences", { "render", "@/card.CDW", "@/prefs.png", "--prefs", "@/prefs.png" }, same,
            [](const QString& f) { writeAll(f + "/prefs.png", "[Layout]\nWidth=3500\n"); } },
        { "picture over a hard link to its picture", { "picture", "@/art.png", "@/hard.png" }, "is the input",
            [](const QString& f) {
                QImage art(10, 10, QImage::Format_RGB32);
                art.fill(Qt::red);
                art.save(f + "/art.png");
                ::link(QFile::encodeName(f + "/art.png").constData(), QFile::encodeName(f + "/hard.png").constData());
            } },
        { "print over its card", { "print", "@/card.CDW", "@/card.CDW" }, "named *.pdf" },
        { "print through a link to its card", { "print", "@/card.CDW", "@/link.pdf" }, same,
            [](const QString& f) { QFile::link(f + "/card.CDW", f + "/link.pdf"); } },
        { "print to an unknown type", { "print", "@/card.CDW", "@/sheet.png" }, "named *.pdf" },
        { "resave over its card", { "resave", "@/card.CDW", "@/card.CDW" }, same },
        { "resave to a sidecar name", { "resave", "@/card.CDW", "@/out.CDB" }, "ending .CDB" },
        { "resave whose sidecar is the input", { "resave", "@/in.CDB", "@/in.CDW" }, "would replace",
            [](const QString& f) { QFile::copy(f + "/card.CDW", f + "/in.CDB"); } },
        { "render past the file-size limit", { "render", "@/card.CDW", "@/big.png" }, "big.png: File too large",
            [](const QString& f) { writeAll(f + "/big.png", "old picture"); }, { 100, false } },
        { "print past the file-size limit", { "print", "@/card.CDW", "@/sheet.pdf" }, "sheet.pdf: the file was cut short",
            [](const QString& f) { writeAll(f + "/sheet.pdf", "old sheet"); }, { 1000, false } },
        { "render into a read-only folder", { "render", "@/card.CDW", "@/ro/out.png" }, "Cannot create file",
            [](const QString& f) { QDir(f).mkdir("ro"); ::chmod(QFile::encodeName(f + "/ro").constData(), 0555); }, { RLIM_INFINITY, true } },
        { "print into a read-only folder", { "print", "@/card.CDW", "@/ro/out.pdf" }, "Cannot create file",
            [](const QString& f) { QDir(f).mkdir("ro"); ::chmod(QFile::encodeName(f + "/ro").constData(), 0555); }, { RLIM_INFINITY, true } },
        { "a FIFO as the card", { "dump", "@/fifo.CDW" }, "not a regular file",
            [](const QString& f) { ::mkfifo(QFile::encodeName(f + "/fifo.CDW").constData(), 0600); } },
        { "a device as the card", { "dump", "@/zero.CDW" }, "zero.CDW: it is not a regular file",
            [](const QString& f) { QFile::link("/dev/zero", f + "/zero.CDW"); } },
        { "a FIFO as preferences", { "render", "@/card.CDW", "@/x.png", "--prefs", "@/fifo.ini" }, "not a regular file",
            [](const QString& f) { ::mkfifo(QFile::encodeName(f + "/fifo.ini").constData(), 0600); } },
        { "an enormous card", { "render", "@/card.CDW", "@/x.png", "--prefs", "@/CDW.INI" }, "the paper",
            [](const QString& f) { writeAll(f + "/CDW.INI", "[Layout]\nWidth=320000\nHeight=200000\n"); } },
        { "a card of no size", { "render", "@/card.CDW", "@/x.png", "--prefs", "@/CDW.INI" }, "Card Height must be at least",
            [](const QString& f) { writeAll(f + "/CDW.INI", "[Layout]\nWidth=0\nHeight=0\n"); } },
        { "printing a negative card", { "print", "@/card.CDW", "@/x.pdf", "--prefs", "@/CDW.INI" }, "Card Width must be at least",
            [](const QString& f) { writeAll(f + "/CDW.INI", "[Layout]\nWidth=-3500\nHeight=2000\n"); } },
        { "printing cards that overlap", { "print", "@/card.CDW", "@/x.pdf", "--prefs", "@/CDW.INI" }, "Vertical Pitch must be",
            [](const QString& f) { writeAll(f + "/CDW.INI", "[Layout]\nWidth=2000\nHeight=3500\n"); } },
        { "preferences that are a folder", { "print", "@/card.CDW", "@/x.pdf", "--prefs", "@/prefs" }, "it is a folder",
            [](const QString& f) { QDir(f).mkdir("prefs"); } },
        { "a class name with control characters", { "dump", "@/hostile.CDW" }, "Class T\\x1B[2J\\nEvil\\r\\x07 not found" },
        // A sheet whose drawing would exhaust memory in the PDF writer.
        { "printing a card too complex for a page", { "print", "@/giant.CDW", "@/sheet.pdf", "--dpi", "2400" },
            "Page 1 is too complex to print at 2400 dots per inch",
            [](const QString& f) { giantTexturedCard(f + "/giant.CDW", 8); } },
        // A protected file is not replaced through its folder.
        { "resave over a read-only card", { "resave", "@/card.CDW", "@/ro.CDW" }, readOnly,
            [](const QString& f) { readOnlyFile(f + "/ro.CDW", 0444); } },
        { "render over a read-only picture", { "render", "@/card.CDW", "@/ro.png" }, readOnly,
            [](const QString& f) { readOnlyFile(f + "/ro.png", 0400); } },
        { "print over a read-only sheet", { "print", "@/card.CDW", "@/ro.pdf" }, readOnly,
            [](const QString& f) { readOnlyFile(f + "/ro.pdf", 0444); } },
        { "resave beside a read-only sidecar", { "resave", "@/card.CDW", "@/out.CDW" }, readOnly,
            [](const QString& f) { readOnlyFile(f + "/out.CDB", 0444); } },
        { "render over another user's picture in an open folder", { "render", "@/card.CDW", "@/open/theirs.png" },
            "theirs.png: Permission denied", [](const QString& f) { theirsInOpenFolder(f, "theirs.png"); },
            { RLIM_INFINITY, true } },
        { "resave over another user's card in an open folder", { "resave", "@/card.CDW", "@/open/theirs.CDW" },
            "theirs.CDW: Permission denied", [](const QString& f) { theirsInOpenFolder(f, "theirs.CDW"); },
            { RLIM_INFINITY, true } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.path();
        ::chmod(QFile::encodeName(folder).constData(), 0755); // readable by the ordinary user
        makeCards(folder);
        if (c.prepare)
            c.prepare(folder);
        const auto before = snapshot(folder);
        QStringList args = c.args;
        args.replaceInStrings("@", folder);
        const CliRun r = cli(args, c.limits);
        EXPECT_EQ(r.exitCode, 1) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(r.err.endsWith('\n'));
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.constData();
        EXPECT_FALSE(r.err.contains("Unknown error"));
        EXPECT_EQ(snapshot(folder), before);
        ::chmod(QFile::encodeName(folder + "/ro").constData(), 0755);
    }
}

// Inputs the tool must pass over without blocking, and writes that replace
// a file completely.
TEST(CliSafety, ReplacesOutputsWholeAndPassesOverSpecialFiles)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    makeCards(folder);
    // A sidecar naming a FIFO as background art: the card renders without it.
    ::mkfifo(QFile::encodeName(folder + "/art-fifo").constData(), 0600);
    writeAll(folder + "/card.CDB", (folder + "/art-fifo\r\n").toUtf8());
    writeAll(folder + "/out.png", QByteArray(100000, 'x'));
    const CliRun render = cli({ "render", folder + "/card.CDW", folder + "/out.png" });
    EXPECT_EQ(render.exitCode, 0) << render.err.constData();
    EXPECT_EQ(QImage(folder + "/out.png").pixel(100, 80) & 0xFFFFFF, 0xF08030u);

    // The sidecar follows the card; a card whose sidecar names art keeps it.
    QImage art(10, 10, QImage::Format_RGB32);
    art.fill(Qt::green);
    art.save(folder + "/art.png");
    writeAll(folder + "/card.CDB", (folder + "/art.png\r\n").toUtf8());
    const CliRun resave = cli({ "resave", folder + "/card.CDW", folder + "/copy.CDW" });
    EXPECT_EQ(resave.exitCode, 0) << resave.err.constData();
    QFile sidecar(folder + "/copy.CDB");
    ASSERT_TRUE(sidecar.open(QIODevice::ReadOnly));
    EXPECT_EQ(sidecar.readAll(), (folder + "/art.png\r\n").toUtf8());

    const CliRun print = cli({ "print", folder + "/card.CDW", folder + "/sheet.pdf", "--dpi", "72" });
    EXPECT_EQ(print.exitCode, 0) << print.err.constData();
    QFile pdf(folder + "/sheet.pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF") && bytes.trimmed().endsWith("%%EOF"));

    // Nothing but the outputs is left behind: no temporary files.
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    EXPECT_EQ(names, (QStringList { "art-fifo", "art.png", "card.CDB", "card.CDW", "copy.CDB", "copy.CDW",
                          "hostile.CDW", "out.png", "sheet.pdf" }));
}

// Background art named by a sidecar is read as every input is: a device, a
// FIFO, a folder or a file past the size limit is passed over on every
// output path, at once, and the card is still written.
TEST(CliSafety, ArtFromSpecialFilesIsPassedOverOnEveryOutput)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    makeCards(folder);
    ::mkfifo(QFile::encodeName(folder + "/fifo.png").constData(), 0600);
    QDir(folder).mkdir("folder.png");
    QFile huge(folder + "/huge.bmp");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(300LL * 1024 * 1024)); // sparse: costs no disk
    huge.close();
    const QString arts[] = { "/dev/zero", "/dev/urandom", folder + "/fifo.png", folder + "/folder.png",
        folder + "/huge.bmp" };
    const QStringList outputs[] = {
        { "print", "@/card.CDW", "@/sheet.pdf", "--dpi", "72" },
        { "print", "@/card.CDW", "@/sheet.pdf", "--preview", "--dpi", "72" },
        { "render", "@/card.CDW", "@/card.png" },
        { "render", "@/card.CDW", "@/card.pdf" },
        { "dump", "@/card.CDW" },
    };
    for (const QString& art : arts)
        for (QStringList args : outputs) {
            SCOPED_TRACE((art + " " + args.join(' ')).toStdString());
            writeAll(folder + "/card.CDB", (art + "\r\n").toUtf8());
            args.replaceInStrings("@", folder);
            QFile::remove(folder + "/sheet.pdf");
            QFile::remove(folder + "/card.png");
            QFile::remove(folder + "/card.pdf");
            const CliRun r = cli(args);
            EXPECT_EQ(r.exitCode, 0) << r.err.constData();
            EXPECT_EQ(r.err, QByteArray());
            if (args[0] != "dump")
                EXPECT_GT(QFileInfo(args[2]).size(), 100);
        }
}

// A textured shape a million pixels wide prints only what lies on each card:
// the sheet is done with, green on the cards and white
// between them, and no card spills onto the next.
TEST(CliSafety, GiantShapePrintsOnlyWhatLiesOnTheCard)
{
    QTemporaryDir dir;
    giantTexturedCard(dir.filePath("giant.CDW"));
    const CliRun r = cli({ "print", dir.filePath("giant.CDW"), dir.filePath("sheet.pdf"), "--dpi", "600" });
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.err, QByteArray());
    QProcess p;
    p.start("pdftoppm", { "-r", "20", "-png", "-singlefile", dir.filePath("sheet.pdf"), dir.filePath("page") });
    ASSERT_TRUE(p.waitForFinished(120000));
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    auto green = [&](double x, double y) { return qGreen(page.pixel(int(x * 20), int(y * 20))) > qRed(page.pixel(int(x * 20), int(y * 20))) + 40; };
    EXPECT_TRUE(green(1.0, 1.0));  // card 1
    EXPECT_TRUE(green(7.5, 10.0)); // card 10
    EXPECT_FALSE(green(0.3, 0.2)); // the margin above and left of the cards
    EXPECT_FALSE(green(8.1, 10.8));
}

// The tool's private folders: nothing planted in the temporary folder is
// followed or changed, nothing is said about them, what a killed run left is
// removed by the next, and a finished run leaves nothing.
TEST(CliSafety, ScratchIsPrivateAndDoesNotOutliveTheRun)
{
    QTemporaryDir dir, tmp;
    const QString folder = dir.path();
    const QString t = tmp.path();
    makeCards(folder);
    // What an older version used, planted by someone else as a link.
    QDir(t).mkdir("victim");
    ::chmod(QFile::encodeName(t + "/victim").constData(), 0755);
    QFile::link(t + "/victim", t + "/cardora-runtime-" + QString::number(getuid()));
    auto scratchLeft = [&] { return QDir(t).entryList({ "cardora-cli-*" }, QDir::AllEntries | QDir::Hidden); };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", t);

    // A long print, caught once its scratch folder exists.
    auto startPrinting = [&](QProcess& p) {
        p.setProcessEnvironment(env);
        p.start(CARDORA_CLI, { "print", folder + "/card.CDW", folder + "/many.pdf", "--sheets", "999", "--dpi", "2400" });
        for (int waited = 0; waited < 10000 && scratchLeft().isEmpty(); waited += 20)
            QThread::msleep(20);
        return scratchLeft().size();
    };
    QProcess killed;
    ASSERT_EQ(startPrinting(killed), 1);
    ::kill(killed.processId(), SIGKILL);
    killed.waitForFinished();
    EXPECT_EQ(scratchLeft().size(), 1); // nothing can clean up after SIGKILL

    QProcess next;
    next.setProcessEnvironment(env);
    next.start(CARDORA_CLI, { "render", folder + "/card.CDW", folder + "/card.png" });
    ASSERT_TRUE(next.waitForFinished(60000));
    EXPECT_EQ(next.exitCode(), 0);
    EXPECT_EQ(next.readAllStandardError(), QByteArray());
    EXPECT_EQ(scratchLeft(), QStringList());
    struct stat st {};
    ::stat(QFile::encodeName(t + "/victim").constData(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    EXPECT_EQ(QDir(t + "/victim").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    EXPECT_FALSE(QFile::exists(folder + "/many.pdf"));

    // Ended by a signal it can catch, a run removes its scratch itself.
    QProcess terminated;
    ASSERT_EQ(startPrinting(terminated), 1);
    terminated.terminate();
    terminated.waitForFinished();
    EXPECT_EQ(terminated.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(scratchLeft(), QStringList());
}

// Qt's own warnings (a damaged JPEG, a picture past the allocation limit)
// are not the tool's output: nothing on success, one line of its own on
// failure.
TEST(CliSafety, QtWarningsNeverReachStandardError)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    makeCards(folder);
    QImage photo(200, 150, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x, y, (x * y) & 255));
    ASSERT_TRUE(photo.save(folder + "/photo.jpg", "JPEG", 90));
    QFile whole(folder + "/photo.jpg");
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray jpeg = whole.readAll();
    writeAll(folder + "/cut.jpg", jpeg.left(jpeg.size() * 2 / 3)); // the decoder warns and goes on
    // A PNG header promising far more pixels than the allocation limit.
    QByteArray png;
    {
        QImage small(1, 1, QImage::Format_RGB32);
        small.fill(Qt::red);
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        small.save(&b, "PNG");
    }
    png[16] = 0; png[17] = 0; png[18] = char(0x9C); png[19] = 0x40; // width 40000
    png[20] = 0; png[21] = 0; png[22] = char(0x9C); png[23] = 0x40; // height 40000
    // The header's checksum made right again, so that only the size is wrong.
    quint32 crc = 0xFFFFFFFFu;
    for (int i = 12; i < 29; ++i) {
        crc ^= quint8(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    for (int k = 0; k < 4; ++k)
        png[29 + k] = char(crc >> (24 - 8 * k));
    writeAll(folder + "/bomb.png", png);
    const struct {
        const char* name;
        QStringList args;
        int exitCode;
    } cases[] = {
        { "a damaged JPEG", { "picture", "@/cut.jpg", "@/out.png" }, 0 },
        { "a damaged JPEG as background art", { "render", "@/art-card.CDW", "@/out.png" }, 0 },
        { "a picture past the limit", { "picture", "@/bomb.png", "@/out.png" }, 1 },
        { "a picture past the limit as background art", { "print", "@/bomb-card.CDW", "@/out.pdf", "--dpi", "72" }, 0 },
    };
    QFile::copy(folder + "/card.CDW", folder + "/art-card.CDW");
    writeAll(folder + "/art-card.CDB", (folder + "/cut.jpg\r\n").toUtf8());
    QFile::copy(folder + "/card.CDW", folder + "/bomb-card.CDW");
    writeAll(folder + "/bomb-card.CDB", (folder + "/bomb.png\r\n").toUtf8());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList args = c.args;
        args.replaceInStrings("@", folder);
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.constData();
        EXPECT_EQ(r.err.count('\n'), c.exitCode == 0 ? 0 : 1) << r.err.constData();
        EXPECT_FALSE(r.err.contains("Qt") || r.err.contains("QImage") || r.err.contains("Corrupt"))
            << r.err.constData();
    }
}
