#include "core/ini_file.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <iterator>

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

namespace {
// Bytes 0x80..0x9F of Windows-1252; the rest is Latin-1.
constexpr char16_t kHighControls[32] = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

bool validUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}
} // namespace

QString IniFile::FromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return text;
}

QByteArray IniFile::ToWindows1252(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes[i] = char(c);
            continue;
        }
        const auto* at = std::find(std::begin(kHighControls), std::end(kHighControls), c);
        if (at == std::end(kHighControls))
            return QByteArray();
        bytes[i] = char(0x80 + (at - std::begin(kHighControls)));
    }
    return bytes;
}

IniFile::IniFile(const QString& path) : path_(path)
{
    QFile f(path);
    if (!QFileInfo::exists(path))
        return;
    // A FIFO or device would block; a file that cannot be read must not be
    // replaced by the few keys written later.
    if (!CheckInputFile(path).isEmpty() || !f.open(QIODevice::ReadOnly)) {
        readable_ = false;
        return;
    }
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        readable_ = false;
        return;
    }
    if (data.startsWith("\xEF\xBB\xBF")) {
        bom_ = data.left(3);
        data.remove(0, 3);
    }
    bool crlf = false;
    qsizetype at = 0;
    while (at < data.size()) {
        qsizetype nl = data.indexOf('\n', at);
        Line line;
        if (nl < 0) {
            line.raw = data.mid(at);
            at = data.size();
        } else {
            line.raw = data.mid(at, nl - at);
            line.end = "\n";
            if (line.raw.endsWith('\r')) {
                line.raw.chop(1);
                line.end = "\r\n";
                crlf = true;
            }
            at = nl + 1;
        }
        if (validUtf8(line.raw)) {
            line.text = QString::fromUtf8(line.raw);
        } else {
            line.text = FromWindows1252(line.raw);
            windows1252_ = true;
        }
        lines_ << line;
    }
    if (crlf)
        eol_ = "\r\n";
}

void IniFile::setLine(int index, const QString& text)
{
    if (lines_[index].text == text)
        return;
    lines_[index].text = text;
    lines_[index].raw = QByteArray();
    dirty_ = true;
}

void IniFile::insertLine(int index, const QString& text)
{
    Line line;
    line.text = text;
    line.end = eol_;
    lines_.insert(index, line);
    dirty_ = true;
}

IniFile::~IniFile() { Flush(); }

int IniFile::findSection(const QString& section) const
{
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (isHeader(lines_[i].text, &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniFile::sectionEnd(int headerLine) const
{
    int i = headerLine + 1;
    while (i < lines_.size() && !isHeader(lines_[i].text))
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
        if (splitKey(lines_[i].text, &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const int i = findKey(section, key);
    if (i < 0)
        return def;
    QString k, v;
    splitKey(lines_[i].text, &k, &v);
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
        if (splitKey(lines_[i].text, &k, nullptr))
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
        const QString& old = lines_[i].text;
        setLine(i, old.left(old.indexOf('=')) + "=" + v);
        return;
    }
    int h = findSection(section);
    if (h < 0) {
        if (!lines_.isEmpty() && !lines_.last().text.trimmed().isEmpty())
            insertLine(lines_.size(), QString());
        insertLine(lines_.size(), "[" + section + "]");
        insertLine(lines_.size(), line);
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        int end = sectionEnd(h);
        while (end > h + 1 && lines_[end - 1].text.trimmed().isEmpty())
            --end;
        insertLine(end, line);
    }
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
    if (!readable_) {
        report("The settings file " + QDir::toNativeSeparators(path_)
            + " could not be read, so it was left as it is and settings are not saved");
        return false;
    }
    QByteArray data = bom_;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (!l.raw.isNull()) {
            data += l.raw;
        } else {
            QByteArray bytes = windows1252_ ? ToWindows1252(l.text) : QByteArray();
            data += bytes.isNull() ? l.text.toUtf8() : bytes;
        }
        // A last line without a line end gets one when lines follow it.
        data += l.end.isEmpty() && i + 1 < lines_.size() ? eol_ : l.end;
    }
    const QString error = WriteFileSafely(path_, data);
    if (!error.isEmpty()) {
        report(error);
        return false;
    }
    for (Line& l : lines_)
        if (l.raw.isNull())
            l.raw = windows1252_ && !ToWindows1252(l.text).isNull() ? ToWindows1252(l.text) : l.text.toUtf8();
    dirty_ = false;
    return true;
}

void IniFile::report(const QString& message) const
{
    // Once for each file: every later write would fail the same way.
    static QSet<QString> told;
    if (told.contains(path_))
        return;
    told.insert(path_);
    Inform(message);
}

} // namespace cardora
