#include "objects/shapes.h"
#include "surface/card_panel.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
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
    TQBusinessCardPanel32 panel(nullptr, &owner);
    panel.SetPanelSize(336, 192);
    TBCShapes* s = TBCShapes::CreateForTool(&owner, stRectangle);
    panel.AddObject(s);
    s->SetBounds(40, 40, 200, 100);
    s->Brush()->SetColor(0x3080F0);
    panel.SaveCardFile(folder + "/card.CDW");
    const QByteArray name("T\x1b[2J\nEvil\r\x07", 12);
    writeAll(folder + "/hostile.CDW", "\x01TPF0" + QByteArray(1, char(name.size())) + name + QByteArray("\x01" "A\x00\x00\x00", 5));
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
