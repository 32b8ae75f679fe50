#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

namespace cardora {

// Every file the program writes goes through here, so that a failed or
// interrupted write never leaves a half-written file in place of a good one.
//
// The data goes to a temporary file beside the target (same folder, so the
// final rename stays on one file system). Commit() checks that everything
// written reached the disk, then renames the temporary over the target in
// one step. A failure, Discard() or destruction without Commit() removes the
// temporary and leaves the target as it was. A target that is a link is
// written through the link, so the link stays.
//
// Writers that take a device use Device(); writers that insist on a file
// name (a PDF printer) write to TemporaryPath() and the caller checks what
// it can about the result before Commit().
class TSafeFile {
public:
    explicit TSafeFile(const QString& target);
    ~TSafeFile();

    TSafeFile(const TSafeFile&) = delete;
    TSafeFile& operator=(const TSafeFile&) = delete;

    // Creates the empty temporary file; false with ErrorString() when the
    // folder does not take it (missing, read-only, not a folder).
    bool Open();
    QString TemporaryPath() const { return temporary_; }
    // The temporary file, open for writing. Valid between Open() and Commit().
    QFile* Device();
    // True when the target now holds what was written.
    bool Commit();
    void Discard();

    // "Cannot create file TARGET: reason"; empty before any failure.
    QString ErrorString() const { return error_; }
    // Marks the write as failed (e.g. the writer reported an error): Commit()
    // then discards and returns false with this reason.
    void Fail(const QString& reason);

private:
    void setError(const QString& reason);

    QString target_;    // the file as named
    QString resolved_;  // the file renamed over (through links)
    QString temporary_;
    QFile* file_ = nullptr;
    int slot_ = -1; // in the termination handler's list
    QString error_;
    bool failed_ = false;
};

// Writes `data` to `target` as TSafeFile does. Returns the error text, empty
// on success.
QString WriteFileSafely(const QString& target, const QByteArray& data);

// True when both names lead to one existing file (also through links and
// hard links).
bool IsSameFile(const QString& a, const QString& b);

// The reason `output` must not be written, empty when it may: it is one of
// the `inputs`, or a folder. "Cannot create file OUT: ..."
QString CheckOutputFile(const QString& output, const QStringList& inputs);

// The reason `path` must not be read, empty when it may: it does not exist
// or is not a regular file (a FIFO or device would block the reader).
// "Cannot open file PATH..."
QString CheckInputFile(const QString& path);

// The whole of a regular file of at most `maxBytes` bytes into *data; the
// error text ("Cannot open file PATH: reason"), empty on success. A FIFO,
// device or folder is refused without blocking on it, checked on the file
// actually opened, not only on the name.
QString ReadInputFile(const QString& path, qint64 maxBytes, QByteArray* data);

// The reason an existing file must not be replaced by a save: the user may
// not write it ("Permission denied") or it is marked read-only for everyone.
// Empty when the file does not exist or may be written.
QString ReplaceRefusal(const QString& path);

// For a process that must leave nothing behind: on an interrupt, hang-up or
// termination signal the temporary files of writes in progress and the
// given scratch folder (may be empty) are removed before the process ends
// by that signal. A write past the file-size limit fails as a write error
// instead of ending the process.
void RemoveTemporariesOnTermination(const QString& scratchFolder);

} // namespace cardora
