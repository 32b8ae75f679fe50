#include "core/private_folders.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cardora {

namespace {

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// Removes `name` inside the folder `dirFd`: a folder with what it holds,
// anything else (links included) as the entry it is.
void removeEntry(int dirFd, const char* name, int depth)
{
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (!S_ISDIR(st.st_mode)) {
        ::unlinkat(dirFd, name, 0);
        return;
    }
    if (depth <= 0)
        return;
    const int fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (DIR* dir = ::fdopendir(fd)) {
        while (const dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
                continue;
            removeEntry(::dirfd(dir), e->d_name, depth - 1);
        }
        ::closedir(dir); // closes fd
    } else {
        ::close(fd);
    }
    ::unlinkat(dirFd, name, AT_REMOVEDIR);
}

bool processGone(long pid) { return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; }

} // namespace

bool IsPrivateFolder(const QString& path)
{
    struct stat st;
    if (path.isEmpty() || ::lstat(encoded(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

QString UserRuntimeFolder(QString* error)
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && IsPrivateFolder(xdg))
        return QDir::cleanPath(xdg);
    const QString own = QDir::tempPath() + "/cardora-" + QString::number(::getuid());
    if (::mkdir(encoded(own).constData(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = own + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return QString();
    }
    // Whatever was there first must be ours and closed to others; it is
    // checked as it is, not through a link.
    if (!IsPrivateFolder(own)) {
        if (error)
            *error = own + ": not a private folder of this user";
        return QString();
    }
    return own;
}

QString MakeScratchFolder(const QString& prefix)
{
    QByteArray name = encoded(QDir::tempPath() + "/" + prefix + "-" + QString::number(QCoreApplication::applicationPid())
        + "-XXXXXX");
    if (!::mkdtemp(name.data())) // 0700
        return QString();
    return QFile::decodeName(name);
}

int RemoveStaleScratch(const QString& folder, const QString& prefix)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    const QByteArray lead = encoded(prefix) + "-";
    QList<QByteArray> stale;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (!name.startsWith(lead))
            continue;
        const QByteArray rest = name.mid(lead.size());
        const qsizetype dash = rest.indexOf('-');
        bool ok = false;
        const long pid = rest.left(dash < 0 ? rest.size() : dash).toLong(&ok);
        struct stat st;
        if (!ok || ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || st.st_uid != ::getuid())
            continue;
        if (pid != QCoreApplication::applicationPid() && processGone(pid))
            stale << name;
    }
    for (const QByteArray& name : stale)
        removeEntry(::dirfd(dir), name.constData(), 8);
    ::closedir(dir);
    return int(stale.size());
}

} // namespace cardora
