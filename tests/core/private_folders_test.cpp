#include "core/private_folders.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace cardora;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// The temporary folder and the runtime variable for one case.
struct Environment {
    QByteArray tmpdir, runtime;
    explicit Environment(const QString& tmp, const QString& xdg)
        : tmpdir(qgetenv("TMPDIR")), runtime(qgetenv("XDG_RUNTIME_DIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(tmp));
        if (xdg.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(xdg));
    }
    ~Environment()
    {
        qputenv("TMPDIR", tmpdir);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
};

long deadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace

// Whatever another user planted under the runtime folder's name is refused
// as it is, and never changed.
TEST(PrivateFolders, RuntimeFolderIsOursOrRefused)
{
    const QString own = "cardora-" + QString::number(::getuid());
    const struct {
        const char* name;
        std::function<void(const QString& tmp)> plant;
        bool xdgPrivate;      // XDG_RUNTIME_DIR names a private folder
        const char* expected; // "xdg", "own" or "" (refused)
    } cases[] = {
        { "the user's runtime folder", nullptr, true, "xdg" },
        { "none: created", nullptr, false, "own" },
        { "already there, private", [&](const QString& t) { ::mkdir(QFile::encodeName(t + "/" + own), 0700); }, false,
            "own" },
        { "open to others", [&](const QString& t) { ::mkdir(QFile::encodeName(t + "/" + own), 0755); }, false, "" },
        { "a link to a folder",
            [&](const QString& t) {
                ::mkdir(QFile::encodeName(t + "/victim"), 0755);
                QFile::link(t + "/victim", t + "/" + own);
            },
            false, "" },
        { "a file", [&](const QString& t) { QFile f(t + "/" + own); f.open(QIODevice::WriteOnly); }, false, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        const QString t = tmp.path();
        if (c.plant)
            c.plant(t);
        const mode_t victimBefore = modeOf(t + "/victim");
        const QString xdg = t + "/xdg";
        ::mkdir(QFile::encodeName(xdg), c.xdgPrivate ? 0700 : 0755);
        Environment env(t, xdg);
        QString error;
        const QString folder = UserRuntimeFolder(&error);
        if (QByteArray(c.expected) == "xdg") {
            EXPECT_EQ(folder, xdg);
        } else if (QByteArray(c.expected) == "own") {
            EXPECT_EQ(folder, t + "/" + own);
            EXPECT_EQ(modeOf(folder), 0700u);
            EXPECT_TRUE(IsPrivateFolder(folder));
        } else {
            EXPECT_EQ(folder, QString());
            EXPECT_FALSE(error.isEmpty());
        }
        EXPECT_EQ(modeOf(t + "/victim"), victimBefore);
    }
}

// Scratch left by runs that are gone is removed; that of live runs, other
// names and whatever links point at stay.
TEST(PrivateFolders, StaleScratchOfEndedRunsIsRemoved)
{
    QTemporaryDir tmp, outside;
    const QString t = tmp.path();
    QFile keep(outside.path() + "/keep.txt");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("not ours to remove");
    keep.close();
    const QString dead = QString::number(deadPid());
    const QString me = QString::number(QCoreApplication::applicationPid());
    const struct {
        QString name;
        bool folder;
        bool removed;
    } cases[] = {
        { "cardora-cli-" + dead + "-abc123", true, true },
        { "cardora-cli-" + dead + "-link", false, true },
        { "cardora-cli-" + me + "-mine", true, false },
        { "cardora-cli-1-init", true, false },
        { "cardora-cli-notapid", true, false },
        { "other-" + dead + "-x", true, false },
    };
    for (const auto& c : cases) {
        if (c.folder) {
            QDir(t).mkpath(c.name + "/deep/er");
            QFile::link(outside.path(), t + "/" + c.name + "/deep/outside");
            QFile f(t + "/" + c.name + "/deep/er/file");
            f.open(QIODevice::WriteOnly);
        } else {
            QFile::link(outside.path(), t + "/" + c.name);
        }
    }
    EXPECT_EQ(RemoveStaleScratch(t, "cardora-cli"), 2);
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(t + "/" + c.name) || QFileInfo(t + "/" + c.name).isSymLink(), !c.removed)
            << c.name.toStdString();
    EXPECT_TRUE(QFile::exists(outside.path() + "/keep.txt"));

    Environment env(t, QString());
    const QString scratch = MakeScratchFolder("cardora-cli");
    EXPECT_TRUE(QFileInfo(scratch).fileName().startsWith("cardora-cli-" + me + "-"));
    EXPECT_TRUE(IsPrivateFolder(scratch));
    EXPECT_EQ(RemoveStaleScratch(t, "cardora-cli"), 0); // this run's own stays
    EXPECT_TRUE(QFileInfo::exists(scratch));
}

