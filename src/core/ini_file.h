#pragma once
#include <QString>
#include <QStringList>

namespace cardora {

// A small ini reader/writer that keeps every line it does not change exactly
// as it was, byte for byte (comments, blank lines, unknown sections, key
// order, line ends, the encoding of each line).
// Section and key names compare without regard to case.
//
// Each line reads as UTF-8 when it is valid UTF-8 and as Windows-1252
// otherwise (files written by older versions and by hand). A changed or new
// line is written in the file's encoding: Windows-1252 when the file holds
// any line in it and the text fits, else UTF-8.
//
// A file that exists but cannot be read is never written: its changes are
// dropped and Flush() reports the failure, the first time for each file
// also to the user.
class IniFile {
public:
    explicit IniFile(const QString& path);
    ~IniFile(); // writes pending changes

    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // False when the file exists but could not be read (the values then are
    // the defaults).
    bool Readable() const { return readable_; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSectionKeys(const QString& section) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

    // Writes the file if anything changed; false when it could not be written.
    bool Flush();

    // Windows-1252 as Windows decodes it (the five unassigned bytes map to
    // the C1 controls of the same value).
    static QString FromWindows1252(const QByteArray& bytes);
    // Null when the text holds a character Windows-1252 lacks.
    static QByteArray ToWindows1252(const QString& text);

private:
    struct Line {
        QString text;
        QByteArray raw; // as read, without its line end; null once changed
        QByteArray end; // "\n", "\r\n" or nothing (a last line without one)
    };

    int findSection(const QString& section) const;
    int sectionEnd(int headerLine) const;
    int findKey(const QString& section, const QString& key) const;
    void setLine(int index, const QString& text);
    void insertLine(int index, const QString& text);
    void report(const QString& message) const;

    QString path_;
    QList<Line> lines_;
    bool dirty_ = false;
    bool readable_ = true;
    bool windows1252_ = false; // some line is not UTF-8
    QByteArray bom_;
    QByteArray eol_ = "\n";   // for new lines: the file's own
};

} // namespace cardora
