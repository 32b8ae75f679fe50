#include "core/data_file.h"
#include "core/data_file_support.h"
#include <QFileInfo>
#include <QHash>
#include <array>

namespace cardora {

namespace {

using data_file::Failure;
using data_file::Quoted;

// More columns than any address list has; a longer first line is damage.
constexpr int kMaxFields = 1000;

bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// The delimiter that occurs most often outside quotes in the first line:
// tab before semicolon before comma on a tie (a comma is likelier inside a
// name), a comma when the line holds none.
QChar FindDelimiter(const QString& text)
{
    const std::array<QChar, 3> candidates{ u'\t', u';', u',' };
    std::array<int, 3> counts{};
    bool quoted = false;
    qsizetype start = 0; // blank lines before the first are no line
    while (start < text.size() && (IsLineEnd(text[start]) || text[start] == u' '))
        ++start;
    for (qsizetype i = start; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && IsLineEnd(c))
            break;
        else if (!quoted)
            for (size_t k = 0; k < candidates.size(); ++k)
                counts[k] += c == candidates[k];
    }
    size_t best = 0;
    for (size_t k = 1; k < candidates.size(); ++k)
        if (counts[k] > counts[best])
            best = k;
    return counts[best] > 0 ? candidates[best] : QChar(u',');
}

// Splits the text into rows of values as RFC 4180 describes, counting lines
// so that a message can name the line a row or a quoted value starts on.
class TCsvScanner {
public:
    TCsvScanner(const QString& text, QChar delimiter, qsizetype start, int line)
        : text_(text), delimiter_(delimiter), at_(start), line_(line)
    {
    }

    // The next row into *values and its first line into *line; false at the
    // end of the text or on an error (then Error() is set).
    bool NextRow(QStringList* values, int* line);
    const QString& Error() const { return error_; }
    int ErrorLine() const { return errorLine_; }
    // How many values the last row had, also those past the limit that
    // were not kept.
    int RowSize() const { return rowSize_; }

private:
    bool ReadRow(QStringList* values, int* line);
    bool AtEnd() const { return at_ >= text_.size(); }
    QChar Peek() const { return text_[at_]; }
    // Spaces that may stand around a quoted value (not when they delimit).
    qsizetype SkipBlanks(qsizetype from) const;
    // Consumes one line end (CR LF, LF or CR).
    void EndLine();
    bool ReadQuoted(QString* value);
    void ReadPlain(QString* value);

    const QString& text_;
    const QChar delimiter_;
    qsizetype at_;
    int line_;
    QString error_;
    int errorLine_ = 0;
    int rowSize_ = 0;
    bool rowBlank_ = true; // the last row holds only blanks
};

qsizetype TCsvScanner::SkipBlanks(qsizetype from) const
{
    while (from < text_.size() && (text_[from] == u' ' || text_[from] == u'\t') && text_[from] != delimiter_)
        ++from;
    return from;
}

void TCsvScanner::EndLine()
{
    if (AtEnd())
        return;
    if (Peek() == u'\r' && at_ + 1 < text_.size() && text_[at_ + 1] == u'\n')
        ++at_;
    ++at_;
    ++line_;
}

bool TCsvScanner::ReadQuoted(QString* value)
{
    const int startLine = line_;
    ++at_; // the opening quote
    for (;;) {
        if (AtEnd()) {
            error_ = "a quoted value that starts here is not closed";
            errorLine_ = startLine;
            return false;
        }
        const QChar c = Peek();
        if (c == u'"') {
            if (at_ + 1 < text_.size() && text_[at_ + 1] == u'"') {
                *value += u'"';
                at_ += 2;
                continue;
            }
            ++at_;
            break;
        }
        if (IsLineEnd(c)) {
            // A line break inside quotes is part of the value, as one LF.
            EndLine();
            *value += u'\n';
            continue;
        }
        // Runs without quotes or line ends are copied at once.
        qsizetype end = at_ + 1;
        while (end < text_.size() && text_[end] != u'"' && !IsLineEnd(text_[end]))
            ++end;
        *value += QStringView(text_).mid(at_, end - at_);
        at_ = end;
    }
    // Spreadsheets read text after the closing quote as part of the value;
    // blanks before the delimiter are dropped.
    const qsizetype next = SkipBlanks(at_);
    if (next < text_.size() && text_[next] != delimiter_ && !IsLineEnd(text_[next]))
        ReadPlain(value);
    else
        at_ = next;
    return true;
}

void TCsvScanner::ReadPlain(QString* value)
{
    const qsizetype start = at_;
    while (!AtEnd() && Peek() != delimiter_ && !IsLineEnd(Peek()))
        ++at_;
    *value += QStringView(text_).mid(start, at_ - start);
}

bool TCsvScanner::NextRow(QStringList* values, int* line)
{
    // A row of nothing but blanks and delimiters (a blank line, a sheet's
    // empty rows) holds no record.
    for (;;) {
        if (!ReadRow(values, line))
            return false;
        if (!rowBlank_)
            return true;
    }
}

bool TCsvScanner::ReadRow(QStringList* values, int* line)
{
    values->clear();
    if (AtEnd() || !error_.isEmpty())
        return false;
    *line = line_;
    int count = 0;
    rowBlank_ = true;
    for (;;) {
        QString value;
        const qsizetype start = SkipBlanks(at_);
        if (start < text_.size() && text_[start] == u'"') {
            at_ = start;
            if (!ReadQuoted(&value))
                return false;
        } else {
            ReadPlain(&value);
        }
        if (rowBlank_ && !value.trimmed().isEmpty())
            rowBlank_ = false;
        // Past the limit values are only counted: the row is refused anyway.
        if (++count <= kMaxFields + 1)
            *values << value;
        if (AtEnd() || IsLineEnd(Peek())) {
            EndLine();
            rowSize_ = count;
            return true;
        }
        ++at_; // the delimiter
    }
}

} // namespace

TDataFile ReadCsv(const QByteArray& bytes, const QString& path)
{
    const QString text = data_file::DecodeText(bytes);
    QChar delimiter;
    qsizetype start = 0;
    int firstLine = 1;
    // Spreadsheets may name the delimiter in a line of its own: "sep=;".
    if (text.size() >= 5 && text.startsWith("sep=", Qt::CaseInsensitive) && text[4] != u'"' && !IsLineEnd(text[4])
        && (text.size() == 5 || IsLineEnd(text[5]))) {
        delimiter = text[4];
        start = text.mid(5, 2) == "\r\n" ? 7 : 6;
        firstLine = 2;
    } else if (QFileInfo(path).suffix().compare("tsv", Qt::CaseInsensitive) == 0) {
        delimiter = u'\t'; // the name says so
    } else {
        delimiter = FindDelimiter(text);
    }
    TCsvScanner scanner(text, delimiter, start, firstLine);
    auto failure = [&](int line, const QString& reason) { return Failure(path, line, reason); };
    auto scanFailure = [&] { return failure(scanner.ErrorLine(), scanner.Error()); };

    QStringList header;
    int line = 0;
    if (!scanner.NextRow(&header, &line))
        return scanner.Error().isEmpty() ? failure(0, "the file is empty (no records)") : scanFailure();
    if (header.size() > kMaxFields)
        return failure(line, QString("the first line names %1 fields, more than %2").arg(scanner.RowSize()).arg(kMaxFields));
    QHash<QString, int> seen;
    for (int i = 0; i < header.size(); ++i) {
        header[i] = header[i].trimmed();
        if (header[i].isEmpty())
            return failure(line, QString("field %1 of the first line has no name").arg(i + 1));
        const QString key = header[i].toCaseFolded();
        if (seen.contains(key))
            return failure(line, QString("the field name %1 appears twice (fields %2 and %3)")
                                     .arg(Quoted(header[i]))
                                     .arg(seen[key] + 1)
                                     .arg(i + 1));
        seen.insert(key, i);
    }

    TDataFile file;
    file.kind = TDataKind::Csv;
    file.names = header;
    const TFieldRecord empty = data_file::EmptyRecord(header);
    QStringList values;
    while (scanner.NextRow(&values, &line)) {
        if (values.size() > header.size())
            return failure(line, QString("the row has %1 values but the first line names %2 fields")
                                     .arg(scanner.RowSize())
                                     .arg(header.size()));
        if (qint64(file.records.size() + 1) * header.size() > kMaxDataValues)
            return failure(line, QString("the file holds more than %1 values").arg(kMaxDataValues));
        TFieldRecord record = empty;
        for (int i = 0; i < values.size(); ++i)
            record.Set(header[i], values[i]);
        file.records << record;
    }
    if (!scanner.Error().isEmpty())
        return scanFailure();
    if (file.records.isEmpty())
        return failure(0, "the file names fields but holds no records");
    return file;
}

} // namespace cardora
