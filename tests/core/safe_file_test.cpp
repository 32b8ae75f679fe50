#include "core/safe_file.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace cardora;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs `body` with writes limited to `bytes` per file (and the signal that
// limit raises ignored, as a careful caller does).
template <typename F> auto withFileSizeLimit(rlim_t bytes, F body)
{
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit low = old;
    low.rlim_cur = bytes;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &low);
    auto result = body();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    return result;
}

} // namespace

// What a write leaves in the folder: the new content on success, the old
// content and no temporary file on failure.
TEST(SafeFile, WritesWholeFilesOrNothing)
{
    struct Case {
        const char* name;
        const char* existing;       // content before, or null for none
        std::function<QString(const QString& target)> write;
        const char* expected;       // content after
        const char* error;          // part of the error text, or "" for success
    };
    const QByteArray big(256 * 1024, 'x');
    const std::vector<Case> cases = {
        { "new file", nullptr, [](const QString& t) { return WriteFileSafely(t, "fresh"); }, "fresh", "" },
        { "replaces", "old", [](const QString& t) { return WriteFileSafely(t, "new"); }, "new", "" },
        { "empty data", "old", [](const QString& t) { return WriteFileSafely(t, ""); }, "", "" },
        { "file-size limit", "old",
            [&](const QString& t) { return withFileSizeLimit(64 * 1024, [&] { return WriteFileSafely(t, big); }); },
            "old", ": File too large" }, // the system's reason, not the writer's "Unknown error"
        { "writer failed", "old",
            [](const QString& t) {
                TSafeFile f(t);
                f.Open();
                f.Device()->write("partial");
                f.Fail("the picture could not be encoded");
                f.Commit();
                return f.ErrorString();
            },
            "old", "the picture could not be encoded" },
        { "abandoned", "old",
            [](const QString& t) {
                TSafeFile f(t);
                f.Open();
                f.Device()->write("partial");
                return f.ErrorString();
            },
            "old", "" },
        { "written by name", "old",
            [](const QString& t) {
                TSafeFile f(t);
                if (!f.Open())
                    return f.ErrorString();
                QFile other(f.TemporaryPath());
                other.open(QIODevice::WriteOnly);
                other.write("by name");
                other.close();
                f.Commit();
                return f.ErrorString();
            },
            "by name", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString target = dir.filePath("card.CDW");
        if (c.existing)
            writeAll(target, c.existing);
        const QString error = c.write(target);
        if (*c.error == 0)
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        else
            EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
        EXPECT_EQ(readAll(target), QByteArray(c.expected));
        EXPECT_EQ(entries(dir.path()), QStringList { "card.CDW" });
    }
}

TEST(SafeFile, KeepsLinksAndPermissionsAndRefusesMissingFolders)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.png");
    const QString link = dir.filePath("link.png");
    writeAll(real, "old");
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_EQ(WriteFileSafely(link, "through the link"), QString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(real), "through the link");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const QString nowhere = dir.filePath("no/such/folder/x.png");
    EXPECT_TRUE(WriteFileSafely(nowhere, "x").startsWith("Cannot create file " + nowhere + ": "));
    EXPECT_TRUE(WriteFileSafely(dir.path(), "x").endsWith(": it is a folder"));
    EXPECT_EQ(entries(dir.path()), (QStringList { "link.png", "real.png" }));
}

// Outputs that would destroy an input, and inputs that would block a reader.
TEST(SafeFile, ChecksOutputsAgainstInputsAndInputsForRegularFiles)
{
    QTemporaryDir dir;
    const QString card = dir.filePath("a.CDW");
    writeAll(card, "card");
    writeAll(dir.filePath("other.CDW"), "other");
    QFile::link(card, dir.filePath("link.CDW"));
    ASSERT_EQ(::link(QFile::encodeName(card).constData(), QFile::encodeName(dir.filePath("hard.CDW")).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    QDir(dir.path()).mkdir("folder");

    struct Case {
        const char* path;
        const char* outputError; // against input a.CDW; "" when it may be written
        const char* inputError;  // "" when it may be read
    };
    const std::vector<Case> cases = {
        { "a.CDW", ": it is the same file as ", "" },
        { "link.CDW", ": it is the same file as ", "" },
        { "hard.CDW", ": it is the same file as ", "" },
        { "../" , ": it is a folder", ": it is a folder" },
        { "folder", ": it is a folder", ": it is a folder" },
        { "fifo", ": it is not a regular file", ": it is not a regular file" },
        { "other.CDW", "", "" },
        { "new.png", "", "Cannot open file" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = dir.filePath(c.path);
        const QString out = CheckOutputFile(path, { card });
        const QString in = CheckInputFile(path);
        if (*c.outputError)
            EXPECT_TRUE(out.startsWith("Cannot create file ") && out.contains(c.outputError)) << out.toStdString();
        else
            EXPECT_EQ(out, QString());
        if (*c.inputError)
            EXPECT_TRUE(in.startsWith("Cannot open file ") && in.contains(c.inputError)) << in.toStdString();
        else
            EXPECT_EQ(in, QString());
    }
}

// A run ended by a signal takes its temporary files and scratch folder with it.
TEST(SafeFile, TerminationRemovesTemporariesAndScratch)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("out.pdf");
    const QString scratch = dir.filePath("scratch");
    writeAll(target, "old");
    QDir(dir.path()).mkpath("scratch/sub");
    writeAll(scratch + "/Clipbrd.tmp", "x");
    writeAll(scratch + "/sub/deeper.tmp", "y");
    for (int signal : { SIGTERM, SIGINT, SIGHUP }) {
        SCOPED_TRACE(signal);
        QDir(dir.path()).mkpath("scratch");
        const pid_t child = fork();
        if (child == 0) {
            RemoveTemporariesOnTermination(scratch);
            TSafeFile f(target);
            f.Open();
            f.Device()->write("half");
            f.Device()->flush();
            raise(signal);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(entries(dir.path()), QStringList { "out.pdf" });
        EXPECT_EQ(readAll(target), "old");
    }
}

// Inputs are read only when they are regular files within the limit, checked
// on what was opened: devices and FIFOs are refused at once, never read.
TEST(SafeFile, ReadsOnlyRegularFilesWithinTheLimit)
{
    QTemporaryDir dir;
    const QString f = dir.path();
    writeAll(f + "/small.bin", "twelve bytes");
    writeAll(f + "/empty.bin", "");
    ::mkfifo(QFile::encodeName(f + "/fifo").constData(), 0600);
    QDir(f).mkdir("folder");
    QFile::link(f + "/small.bin", f + "/link-to-file");
    QFile::link(f + "/fifo", f + "/link-to-fifo");
    QFile::link("/dev/zero", f + "/link-to-zero");
    const struct {
        QString path;
        qint64 limit;
        QByteArray data;
        const char* error; // empty when the read succeeds
    } cases[] = {
        { f + "/small.bin", 100, "twelve bytes", "" },
        { f + "/small.bin", 12, "twelve bytes", "" },
        { f + "/small.bin", 11, "", "it is too large" },
        { f + "/empty.bin", 100, "", "" },
        { f + "/link-to-file", 100, "twelve bytes", "" },
        { f + "/fifo", 100, "", "it is not a regular file" },
        { f + "/link-to-fifo", 100, "", "it is not a regular file" },
        { "/dev/zero", 1 << 30, "", "it is not a regular file" },
        { f + "/link-to-zero", 1 << 30, "", "it is not a regular file" },
        { f + "/folder", 100, "", "it is a folder" },
        { f + "/missing", 100, "", "No such file or directory" },
        { QString(), 100, "", "Cannot open file" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QByteArray data = "left over";
        const QString error = ReadInputFile(c.path, c.limit, &data);
        if (*c.error) {
            EXPECT_TRUE(error.startsWith("Cannot open file")) << error.toStdString();
            EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
        } else {
            EXPECT_EQ(error, QString());
        }
        EXPECT_EQ(data, c.data);
    }
}

// A file the user protected is not replaced through its folder: the save is
// refused with the reason and the file stays as it was.
TEST(SafeFile, RefusesToReplaceFilesTheUserMayNotWrite)
{
    QTemporaryDir dir;
    const struct {
        mode_t mode;
        bool refused;
    } cases[] = {
        { 0444, true }, { 0400, true }, { 0555, true }, { 0644, false }, { 0600, false }, { 0200, false },
        { 0664, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::number(c.mode, 8).toStdString());
        const QString path = dir.path() + "/card-" + QString::number(c.mode, 8) + ".CDW";
        writeAll(path, "the user's card");
        ::chmod(QFile::encodeName(path).constData(), c.mode);
        const QString link = path + ".link";
        QFile::link(path, link);
        EXPECT_EQ(ReplaceRefusal(path).isEmpty(), !c.refused);
        for (const QString& target : { path, link }) {
            const QString check = CheckOutputFile(target, {});
            const QString write = WriteFileSafely(target, "new content");
            if (c.refused) {
                EXPECT_TRUE(check.startsWith("Cannot create file " + target + ": ")) << check.toStdString();
                EXPECT_TRUE(write.startsWith("Cannot create file " + target + ": ")) << write.toStdString();
                EXPECT_FALSE(write.contains("Unknown error"));
                EXPECT_EQ(readAll(path), "the user's card");
            } else {
                EXPECT_EQ(check, QString());
                EXPECT_EQ(write, QString());
                EXPECT_EQ(readAll(path), "new content");
            }
        }
        struct stat st;
        ::stat(QFile::encodeName(path).constData(), &st);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        EXPECT_EQ(entries(dir.path()).filter(".part").size(), 0);
    }
    EXPECT_EQ(ReplaceRefusal(dir.path() + "/not-there"), QString());
}
