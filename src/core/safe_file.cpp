#include "core/safe_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace cardora {

namespace {

// Temporary files being written, for the termination handler. Plain arrays:
// the handler may only touch memory that is never reallocated.
constexpr int kSlots = 32;
constexpr int kPathBytes = 4096;
struct PendingSlot {
    std::atomic<bool> used { false };
    char path[kPathBytes];
};
PendingSlot pending[kSlots];
char scratchFolder[kPathBytes];

int registerPending(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() >= kPathBytes)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (pending[i].used.load() || !pending[i].used.compare_exchange_strong(expected, true))
            continue;
        // Marked used before the path is complete: the handler then removes
        // at worst a stale name, which by construction is one of ours.
        std::memcpy(pending[i].path, encoded.constData(), encoded.size() + 1);
        return i;
    }
    return -1;
}

void unregisterPending(int slot)
{
    if (slot >= 0 && slot < kSlots)
        pending[slot].used.store(false);
}

QString reasonOf(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Removes what is inside the folder `fd` refers to, with system calls only
// (safe inside a signal handler).
void removeContents(int fd, int depth)
{
    struct Entry {
        unsigned long long ino;
        long long off;
        unsigned short reclen;
        unsigned char type;
        char name[1];
    };
    alignas(8) char buffer[4096];
    for (;;) {
        const long n = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (long at = 0; at < n;) {
            const Entry* e = reinterpret_cast<const Entry*>(buffer + at);
            at += e->reclen;
            const char* name = e->name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            if (e->type == DT_DIR && depth > 0) {
                const int sub = openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (sub >= 0) {
                    removeContents(sub, depth - 1);
                    close(sub);
                }
                unlinkat(fd, name, AT_REMOVEDIR);
            } else {
                unlinkat(fd, name, 0);
            }
        }
    }
}

void onTermination(int signal)
{
    for (PendingSlot& slot : pending)
        if (slot.used.load())
            unlink(slot.path);
    if (scratchFolder[0]) {
        const int fd = open(scratchFolder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            removeContents(fd, 4);
            close(fd);
        }
        rmdir(scratchFolder);
    }
    // End by the same signal, so the caller sees how the process ended.
    ::signal(signal, SIG_DFL);
    raise(signal);
}

// The file a write to `target` replaces: links are followed so that they stay.
QString resolveTarget(const QString& target)
{
    const QFileInfo info(target);
    if (!info.isSymLink())
        return target;
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString linked = info.symLinkTarget(); // dangling: create what it names
    return linked.isEmpty() ? target : linked;
}

} // namespace

TSafeFile::TSafeFile(const QString& target) : target_(target), resolved_(resolveTarget(target)) {}

TSafeFile::~TSafeFile() { Discard(); }

void TSafeFile::setError(const QString& reason)
{
    error_ = "Cannot create file " + QDir::toNativeSeparators(target_);
    if (!reason.isEmpty())
        error_ += ": " + reason;
}

void TSafeFile::Fail(const QString& reason)
{
    failed_ = true;
    // A writer above the file often knows only "Unknown error"; the file
    // itself knows the disk was full.
    if (file_ && file_->error() != QFileDevice::NoError && file_->errorString() != QLatin1String("Unknown error"))
        setError(file_->errorString());
    else
        setError(reason);
}

bool TSafeFile::Open()
{
    Discard();
    failed_ = false;
    error_.clear();
    const QFileInfo info(resolved_);
    if (target_.isEmpty()) {
        setError("no file name");
        return false;
    }
    if (info.isDir()) {
        setError("it is a folder");
        return false;
    }
    // The rename needs only the folder; a file the user protected stays.
    if (const QString refusal = ReplaceRefusal(resolved_); !refusal.isEmpty()) {
        setError(refusal);
        return false;
    }
    // Keep the permissions of the file replaced; a new file gets the usual ones.
    mode_t mode = 0666;
    bool replacing = false;
    struct stat st;
    if (::stat(QFile::encodeName(resolved_).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
        replacing = true;
    }
    const QString folder = info.absolutePath();
    int fd = -1;
    int error = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->generate() % 0xFFFFFF, 36);
        temporary_ = folder + "/." + info.fileName() + "-" + suffix + ".part";
        fd = ::open(QFile::encodeName(temporary_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        error = errno;
        if (fd < 0 && error != EEXIST)
            break;
    }
    if (fd < 0) {
        temporary_.clear();
        setError(reasonOf(error));
        return false;
    }
    // The umask applies to a new file, never to the one replaced (0666 too).
    if (replacing)
        ::fchmod(fd, mode);
    slot_ = registerPending(temporary_);
    file_ = new QFile;
    if (!file_->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(file_->errorString());
        Discard();
        return false;
    }
    return true;
}

QFile* TSafeFile::Device() { return file_; }

bool TSafeFile::Commit()
{
    if (!file_) {
        if (error_.isEmpty())
            setError("nothing was written");
        return false;
    }
    if (failed_) {
        const QString reason = error_;
        Discard();
        error_ = reason;
        return false;
    }
    // A short write (full disk, file-size limit) shows as a device error or
    // a file shorter than what was written.
    errno = 0;
    bool complete = file_->flush() && file_->error() == QFileDevice::NoError;
    const int flushError = errno;
    QString reason = complete ? QString() : file_->errorString();
    // The file's own text may lose the system's reason (no space, file too
    // large) on the way; the system still has it.
    if (!complete && flushError != 0 && (reason.isEmpty() || reason == QLatin1String("Unknown error")))
        reason = reasonOf(flushError);
    const int fd = file_->handle();
    struct stat st;
    if (complete && (::fstat(fd, &st) != 0 || st.st_size < file_->pos())) {
        complete = false;
        reason = "the file is incomplete";
    }
    if (complete && ::fsync(fd) != 0) {
        complete = false;
        reason = reasonOf(errno);
    }
    file_->close();
    if (complete && ::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(resolved_).constData()) != 0) {
        complete = false;
        reason = reasonOf(errno);
    }
    if (!complete) {
        Discard();
        setError(reason);
        return false;
    }
    delete file_;
    file_ = nullptr;
    unregisterPending(slot_);
    slot_ = -1;
    temporary_.clear();
    return true;
}

void TSafeFile::Discard()
{
    if (file_) {
        file_->close();
        delete file_;
        file_ = nullptr;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(QFile::encodeName(temporary_).constData());
        temporary_.clear();
    }
    unregisterPending(slot_);
    slot_ = -1;
}

QString WriteFileSafely(const QString& target, const QByteArray& data)
{
    TSafeFile file(target);
    if (!file.Open())
        return file.ErrorString();
    // A full disk first takes part of the data; writing on asks the system
    // for its reason (no space, file too large).
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = file.Device()->write(data.constData() + done, data.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (done != data.size())
        file.Fail("the file could not be written whole (is the disk full?)");
    if (!file.Commit())
        return file.ErrorString();
    return QString();
}

bool IsSameFile(const QString& a, const QString& b)
{
    struct stat sa, sb;
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString CheckOutputFile(const QString& output, const QStringList& inputs)
{
    const QString prefix = "Cannot create file " + QDir::toNativeSeparators(output);
    if (output.isEmpty())
        return prefix + ": no file name";
    for (const QString& input : inputs)
        if (IsSameFile(output, input))
            return prefix + ": it is the same file as " + QDir::toNativeSeparators(input);
    struct stat st;
    if (::stat(QFile::encodeName(output).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return prefix + ": it is a folder";
        if (!S_ISREG(st.st_mode))
            return prefix + ": it is not a regular file";
        if (const QString refusal = ReplaceRefusal(output); !refusal.isEmpty())
            return prefix + ": " + refusal;
    }
    return QString();
}

QString ReplaceRefusal(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (path.isEmpty() || ::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QString();
    if (::access(name.constData(), W_OK) != 0)
        return reasonOf(errno);
    // The administrator may write anything; a file with no write permission
    // at all was still meant to stay as it is.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return QStringLiteral("the file is read-only");
    return QString();
}

QString ReadInputFile(const QString& path, qint64 maxBytes, QByteArray* data)
{
    data->clear();
    const QString prefix = "Cannot open file " + QDir::toNativeSeparators(path);
    if (path.isEmpty())
        return prefix;
    // Non-blocking, so that opening a FIFO with no writer does not wait.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return prefix + ": " + reasonOf(errno);
    struct stat st;
    QString error;
    if (::fstat(fd, &st) != 0)
        error = prefix + ": " + reasonOf(errno);
    else if (S_ISDIR(st.st_mode))
        error = prefix + ": it is a folder";
    else if (!S_ISREG(st.st_mode))
        error = prefix + ": it is not a regular file";
    else if (st.st_size > maxBytes)
        error = prefix + ": it is too large";
    if (error.isEmpty()) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        // A file that grows while it is read is cut at the limit.
        data->resize(qsizetype(st.st_size));
        qint64 done = 0;
        for (;;) {
            if (done == data->size()) {
                if (done >= maxBytes)
                    break;
                data->resize(qsizetype(std::min<qint64>(maxBytes, done + 65536)));
            }
            const ssize_t n = ::read(fd, data->data() + done, size_t(data->size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                error = prefix + ": " + reasonOf(errno);
                break;
            }
            if (n == 0)
                break;
            done += n;
        }
        data->resize(qsizetype(done));
    }
    ::close(fd);
    if (!error.isEmpty())
        data->clear();
    return error;
}

QString CheckInputFile(const QString& path)
{
    const QString prefix = "Cannot open file " + QDir::toNativeSeparators(path);
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return prefix;
    if (S_ISDIR(st.st_mode))
        return prefix + ": it is a folder";
    if (!S_ISREG(st.st_mode))
        return prefix + ": it is not a regular file";
    return QString();
}

void RemoveTemporariesOnTermination(const QString& folder)
{
    const QByteArray encoded = QFile::encodeName(folder);
    if (encoded.size() < kPathBytes)
        std::memcpy(scratchFolder, encoded.constData(), encoded.size() + 1);
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    for (int s : { SIGINT, SIGTERM, SIGHUP, SIGQUIT }) {
        struct sigaction old;
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        sigaction(s, &action, nullptr);
    }
    ::signal(SIGXFSZ, SIG_IGN);
}

} // namespace cardora
