#include "core/data_file.h"
#include "core/data_file_support.h"
#include "core/ini_file.h"
#include <QSet>
#include <QStringDecoder>
#include <optional>

namespace cardora {

namespace {

using data_file::Failure;

// One property after unfolding, as bytes until its value is needed (most
// are never: photos, notes, revision stamps).
struct TProperty {
    QByteArray name; // upper case, without the group
    QSet<QByteArray> types; // TYPE values and bare parameters, lower case
    QByteArray encoding;    // upper case; empty for none
    QByteArray charset;
    QByteArray value;
    int line = 0;
};

// The bytes as lines, each with its 1-based number; CR LF, LF and CR end a
// line.
struct TPhysicalLine {
    QByteArrayView text;
    int number;
};

QVector<TPhysicalLine> SplitLines(const QByteArray& bytes)
{
    QVector<TPhysicalLine> lines;
    qsizetype at = 0;
    int number = 1;
    while (at < bytes.size()) {
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        lines.append({ QByteArrayView(bytes).sliced(at, end - at), number++ });
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        at = end + 1;
    }
    return lines;
}

// Where the name and parameters end: the first colon outside double quotes
// (a 4.0 parameter value may quote a colon); -1 for none.
qsizetype ValueStart(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

// A property's line as it grows by unfolding, with where its value starts
// found once, so that a long run of folds costs no more than reading it.
class TLogicalLine {
public:
    void Start(QByteArrayView text)
    {
        *this = TLogicalLine();
        Append(text);
    }
    void Append(QByteArrayView text) { text_.append(text); }
    void Chop() { text_.chop(1); }
    const QByteArray& Text() const { return text_; }
    // A 2.1 value whose soft line break ('=' at the end) goes on with the next line.
    bool EndsInSoftBreak()
    {
        return text_.endsWith('=') && Colon() > 0 && text_.first(colon_).toUpper().contains("QUOTED-PRINTABLE");
    }

private:
    qsizetype Colon()
    {
        for (; colon_ < 0 && scanned_ < text_.size(); ++scanned_) {
            if (text_[scanned_] == '"')
                quoted_ = !quoted_;
            else if (text_[scanned_] == ':' && !quoted_)
                colon_ = scanned_;
        }
        return colon_;
    }

    QByteArray text_;
    qsizetype colon_ = -1;
    qsizetype scanned_ = 0;
    bool quoted_ = false;
};

// Splits at `separator` outside double quotes.
QList<QByteArray> SplitOutsideQuotes(const QByteArray& text, char separator)
{
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts << text.mid(start, i - start);
            start = i + 1;
        }
    }
    parts << text.mid(start);
    return parts;
}

QByteArray Unquoted(QByteArray text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        text = text.mid(1, text.size() - 2);
    return text;
}

TProperty ParseProperty(const QByteArray& line, int number)
{
    TProperty property;
    property.line = number;
    const qsizetype colon = ValueStart(line);
    property.value = line.mid(colon + 1);
    const QList<QByteArray> head = SplitOutsideQuotes(line.left(colon), ';');
    property.name = head.first().trimmed().toUpper();
    // item1.TEL: the group only ties properties together for display.
    if (const qsizetype dot = property.name.lastIndexOf('.'); dot >= 0)
        property.name = property.name.mid(dot + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        const qsizetype equals = head[i].indexOf('=');
        const QByteArray key = equals < 0 ? QByteArray() : head[i].left(equals).trimmed().toUpper();
        const QByteArray value = equals < 0 ? Unquoted(head[i]) : head[i].mid(equals + 1);
        if (key == "ENCODING") {
            property.encoding = Unquoted(value).toUpper();
        } else if (key == "CHARSET") {
            property.charset = Unquoted(value);
        } else if (key == "PREF") {
            property.types.insert("pref");
        } else if (key.isEmpty() || key == "TYPE") {
            // 2.1 writes bare types (WORK;VOICE) and bare encodings.
            for (const QByteArray& type : Unquoted(value).split(','))
                property.types.insert(type.trimmed().toLower());
            const QByteArray bare = Unquoted(value).toUpper();
            if (key.isEmpty() && (bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "8BIT"))
                property.encoding = bare;
        }
    }
    return property;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// =XX sequences to bytes; a broken one stays as written.
QByteArray DecodeQuotedPrintable(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString DecodeCharset(const QByteArray& bytes, const QByteArray& charset)
{
    const QByteArray name = charset.toLower();
    if (name.isEmpty() || name == "utf-8" || name == "utf8")
        return data_file::DecodeBytes(bytes);
    // Latin-1 files are Windows-1252 in practice (quotes, the euro sign).
    if (name == "iso-8859-1" || name == "latin1" || name == "windows-1252" || name == "cp1252"
        || name == "us-ascii" || name == "ascii")
        return IniFile::FromWindows1252(bytes);
    QStringDecoder decode(name.constData());
    if (!decode.isValid())
        return data_file::DecodeBytes(bytes);
    return decode(bytes);
}

// The text of a value part: \n, \N, \, \; \: and \\ as the characters they
// stand for; any other backslash stays (2.1 values such as paths).
QString Unescaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[i + 1];
        if (next == u'n' || next == u'N') {
            out += u'\n';
            ++i;
        } else if (next == u',' || next == u';' || next == u':' || next == u'\\') {
            out += next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// A value's parts split at semicolons that are not escaped.
QStringList Parts(const QString& value)
{
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            part += value[i];
            part += value[++i];
        } else if (value[i] == u';') {
            parts << part;
            part.clear();
        } else {
            part += value[i];
        }
    }
    parts << part;
    for (QString& p : parts)
        p = Unescaped(p).trimmed();
    return parts;
}

QString Text(const TProperty& property)
{
    QByteArray bytes = property.value;
    if (property.encoding == "QUOTED-PRINTABLE")
        bytes = DecodeQuotedPrintable(bytes);
    // Line breaks inside a value, as in CSV values: one LF each.
    QString text = DecodeCharset(bytes, property.charset);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString Single(const TProperty& property)
{
    return Unescaped(Text(property)).trimmed();
}

QString JoinNonEmpty(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts)
        if (!part.isEmpty())
            kept << part;
    return kept.join(u' ');
}

// The fields of one card from its properties, as the field names promise.
class TCardFields {
public:
    void Add(const TProperty& property);
    TFieldRecord Record(const TFieldRecord& empty) const;

private:
    QString fn_, n_, org_, title_, email_, url_;
    std::optional<QStringList> adr_;
    QString workOrVoice_, otherPhone_, cell_, fax_;
};

void TCardFields::Add(const TProperty& p)
{
    auto first = [&](QString& field, const QString& value) {
        if (field.isEmpty())
            field = value;
    };
    const QByteArray& name = p.name;
    if (name == "FN") {
        first(fn_, Single(p));
    } else if (name == "N") {
        const QStringList n = Parts(Text(p)); // family;given;additional;prefix;suffix
        first(n_, JoinNonEmpty({ n.value(1), n.value(2), n.value(0) }));
    } else if (name == "ORG") {
        first(org_, Parts(Text(p)).value(0));
    } else if (name == "TITLE") {
        first(title_, Single(p));
    } else if (name == "EMAIL") {
        first(email_, Single(p));
    } else if (name == "URL") {
        first(url_, Single(p));
    } else if (name == "ADR") {
        if (!adr_)
            adr_ = Parts(Text(p)); // box;extended;street;locality;region;code;country
    } else if (name == "TEL") {
        QString number = Single(p);
        if (number.startsWith("tel:", Qt::CaseInsensitive))
            number = number.mid(4).trimmed();
        const bool fax = p.types.contains("fax");
        const bool cell = p.types.contains("cell");
        // A mobile or fax number marked voice or work still goes to its own
        // field, so that no number shows twice.
        if (fax)
            first(fax_, number);
        if (cell)
            first(cell_, number);
        if (!fax && !cell) {
            if (p.types.contains("work") || p.types.contains("voice"))
                first(workOrVoice_, number);
            first(otherPhone_, number);
        }
    }
}

TFieldRecord TCardFields::Record(const TFieldRecord& empty) const
{
    TFieldRecord record = empty;
    const QStringList adr = adr_.value_or(QStringList());
    const QString values[] = {
        fn_.isEmpty() ? n_ : fn_, org_, title_, adr.value(2), JoinNonEmpty({ adr.value(3), adr.value(4), adr.value(5) }),
        adr.value(6), workOrVoice_.isEmpty() ? otherPhone_ : workOrVoice_, cell_, email_, fax_, url_,
    };
    const QStringList& names = VCardFieldNames();
    for (int i = 0; i < names.size(); ++i)
        record.Set(names[i], values[i]);
    return record;
}

bool IsCardBoundary(const TProperty& property, const char* name)
{
    return property.name == name && property.value.trimmed().toUpper() == "VCARD";
}

TDataFile OutsideCard(const QString& path, int line, const QByteArray& text)
{
    return Failure(path, line, data_file::Quoted(data_file::DecodeBytes(text)) + " is not part of a card");
}

} // namespace

TDataFile ReadVCard(const QByteArray& input, const QString& path)
{
    QByteArray bytes = input;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        bytes = data_file::DecodeText(bytes).toUtf8();
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);

    TDataFile file;
    file.kind = TDataKind::VCard;
    file.names = VCardFieldNames();
    const TFieldRecord empty = data_file::EmptyRecord(file.names);
    const QVector<TPhysicalLine> lines = SplitLines(bytes);
    int depth = 0; // cards inside cards (a 2.1 AGENT) are skipped whole
    int cardLine = 0;
    TCardFields card;
    TLogicalLine logical;
    for (qsizetype i = 0; i < lines.size();) {
        const int number = lines[i].number;
        logical.Start(lines[i++].text);
        // Folded lines go on with a space or tab; quoted-printable ones
        // after a soft line break.
        for (;;) {
            // A card's end is never part of a value, however the line before ends.
            if (i < lines.size() && logical.EndsInSoftBreak()
                && !lines[i].text.trimmed().toByteArray().toUpper().startsWith("END:VCARD")) {
                logical.Chop();
                logical.Append(lines[i++].text);
            } else if (i < lines.size() && !lines[i].text.isEmpty()
                       && (lines[i].text[0] == ' ' || lines[i].text[0] == '\t')) {
                logical.Append(lines[i++].text.sliced(1));
            } else {
                break;
            }
        }
        const QByteArray& line = logical.Text();
        if (line.trimmed().isEmpty())
            continue;
        if (ValueStart(line) < 0) {
            if (depth == 0)
                return OutsideCard(path, number, line);
            continue; // inside a card, a line that is no property is skipped
        }
        const TProperty property = ParseProperty(line, number);
        if (IsCardBoundary(property, "BEGIN")) {
            if (depth++ == 0) {
                cardLine = number;
                card = TCardFields();
            }
        } else if (IsCardBoundary(property, "END")) {
            if (depth == 0)
                return Failure(path, number, "END:VCARD without BEGIN:VCARD");
            if (--depth == 0) {
                if (qint64(file.records.size() + 1) * file.names.size() > kMaxDataValues)
                    return Failure(path, number, QString("the file holds more than %1 values").arg(kMaxDataValues));
                file.records << card.Record(empty);
            }
        } else if (depth == 0) {
            return OutsideCard(path, number, line);
        } else if (depth == 1) {
            card.Add(property);
        }
    }
    if (depth > 0)
        return Failure(path, cardLine, "the card that starts here has no END:VCARD");
    if (file.records.isEmpty())
        return Failure(path, 0, "the file holds no cards (no records)");
    return file;
}

} // namespace cardora
