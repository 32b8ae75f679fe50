#pragma once
#include <QString>
#include <QStringList>

namespace cardora {

// A small ini reader/writer that keeps every line it does not change exactly
// as it was (comments, blank lines, unknown sections, key order).
// Section and key names compare without regard to case.
class IniFile {
public:
    explicit IniFile(const QString& path);
    ~IniFile(); // writes pending changes

    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

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

private:
    int findSection(const QString& section) const;
    int sectionEnd(int headerLine) const;
    int findKey(const QString& section, const QString& key) const;

    QString path_;
    QStringList lines_;
    bool dirty_ = false;
    bool crlf_ = false; // written back with the line ends it had
};

} // namespace cardora
