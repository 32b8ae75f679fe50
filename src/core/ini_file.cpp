#include "core/ini_file.h"
#include <QFile>
#include "core/safe_file.h"
#include <QTextStream>

namespace cardora {
namespace {
bool isHeader(const QString& line, QString* name = nullptr)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool splitKey(const QString& line, QString* key, QString* value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#'))
        return false;
    const int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1);
    return true;
}
} // namespace

IniFile::IniFile(const QString& path) : path_(path)
{
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        QString text = QString::fromUtf8(f.readAll());
        crlf_ = text.contains("\r\n");
        text.replace("\r\n", "\n");
        lines_ = text.split('\n');
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
    }
}

IniFile::~IniFile() { Flush(); }

int IniFile::findSection(const QString& section) const
{
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (isHeader(lines_[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniFile::sectionEnd(int headerLine) const
{
    int i = headerLine + 1;
    while (i < lines_.size() && !isHeader(lines_[i]))
        ++i;
    return i;
}

int IniFile::findKey(const QString& section, const QString& key) const
{
    const int h = findSection(section);
    if (h < 0)
        return -1;
    const int end = sectionEnd(h);
    QString k;
    for (int i = h + 1; i < end; ++i)
        if (splitKey(lines_[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const int i = findKey(section, key);
    if (i < 0)
        return def;
    QString k, v;
    splitKey(lines_[i], &k, &v);
    return v;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    bool ok = false;
    const int v = ReadString(section, key, QString()).trimmed().toInt(&ok, 10);
    return ok ? v : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const { return findKey(section, key) >= 0; }

QStringList IniFile::ReadSectionKeys(const QString& section) const
{
    QStringList keys;
    const int h = findSection(section);
    if (h < 0)
        return keys;
    QString k;
    for (int i = h + 1, end = sectionEnd(h); i < end; ++i)
        if (splitKey(lines_[i], &k, nullptr))
            keys << k;
    return keys;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    // Line breaks would split the entry; keep the value on one line.
    QString v = value;
    v.replace('\r', ' ').replace('\n', ' ');
    QString line = key + "=" + v;
    const int i = findKey(section, key);
    if (i >= 0) {
        // Keep the key as the file spells it.
        line = lines_[i].left(lines_[i].indexOf('=')) + "=" + v;
        if (lines_[i] != line) {
            lines_[i] = line;
            dirty_ = true;
        }
        return;
    }
    int h = findSection(section);
    if (h < 0) {
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty())
            lines_ << QString();
        lines_ << "[" + section + "]" << line;
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        int end = sectionEnd(h);
        while (end > h + 1 && lines_[end - 1].trimmed().isEmpty())
            --end;
        lines_.insert(end, line);
    }
    dirty_ = true;
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
    const int i = findKey(section, key);
    if (i >= 0) {
        lines_.removeAt(i);
        dirty_ = true;
    }
}

void IniFile::EraseSection(const QString& section)
{
    const int h = findSection(section);
    if (h < 0)
        return;
    const int end = sectionEnd(h);
    for (int i = end - 1; i >= h; --i)
        lines_.removeAt(i);
    dirty_ = true;
}

bool IniFile::Flush()
{
    if (!dirty_)
        return true;
    QByteArray data;
    for (const QString& l : lines_)
        data += l.toUtf8() + (crlf_ ? "\r\n" : "\n");
    if (!WriteFileSafely(path_, data).isEmpty())
        return false;
    dirty_ = false;
    return true;
}

} // namespace cardora
