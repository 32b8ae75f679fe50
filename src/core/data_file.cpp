#include "core/data_file.h"
#include "core/data_file_support.h"
#include "core/ini_file.h"
#include "core/printable_text.h"
#include "core/safe_file.h"
#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace cardora {

namespace data_file {

QString DecodeBytes(const QByteArray& bytes)
{
    if (QByteArrayView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    return IniFile::FromWindows1252(bytes);
}

QString DecodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    // Spreadsheets save "Unicode text" as UTF-16 with a mark.
    for (const auto& [mark, encoding] : { std::pair{ "\xFF\xFE", QStringConverter::Utf16LE },
             std::pair{ "\xFE\xFF", QStringConverter::Utf16BE } }) {
        if (bytes.startsWith(mark)) {
            QStringDecoder decode(encoding);
            return decode(QByteArrayView(bytes).sliced(2));
        }
    }
    return DecodeBytes(bytes);
}

TDataFile Failure(const QString& path, int line, const QString& reason)
{
    TDataFile file;
    file.errorLine = line;
    file.error = "Cannot read data file " + QDir::toNativeSeparators(path);
    if (line > 0)
        file.error += ", line " + QString::number(line);
    file.error += ": " + reason;
    return file;
}

TFieldRecord EmptyRecord(const QStringList& names)
{
    TFieldRecord record;
    for (const QString& name : names)
        record.Set(name, QString());
    return record;
}

QString Quoted(const QString& text)
{
    constexpr int kLongest = 40;
    QString shown = PrintableText(text.left(kLongest));
    if (text.size() > kLongest)
        shown += QChar(0x2026);
    return QChar(0x201C) + shown + QChar(0x201D);
}

} // namespace data_file

const QStringList& VCardFieldNames()
{
    static const QStringList names = PersonalFieldNames() + QStringList{ "URL" };
    return names;
}

TDataKind DataKindOf(const QString& path, const QByteArray& bytes)
{
    // A vCard starts with its BEGIN line, whatever the file is called (a
    // CSV file with that first line would name one useless field).
    const QString start = data_file::DecodeText(bytes.left(4096)).trimmed();
    if (start.startsWith("BEGIN:VCARD", Qt::CaseInsensitive))
        return TDataKind::VCard;
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "vcf" || suffix == "vcard" ? TDataKind::VCard : TDataKind::Csv;
}

TDataFile ReadDataBytes(const QByteArray& bytes, const QString& path)
{
    return DataKindOf(path, bytes) == TDataKind::VCard ? ReadVCard(bytes, path) : ReadCsv(bytes, path);
}

TDataFile ReadDataFile(const QString& path)
{
    QByteArray bytes;
    if (const QString refusal = ReadInputFile(path, kMaxDataFileBytes, &bytes); !refusal.isEmpty()) {
        TDataFile file;
        file.error = refusal;
        return file;
    }
    return ReadDataBytes(bytes, path);
}

QString DataFileFilter()
{
    return QStringLiteral("Data files (*.csv *.tsv *.txt *.vcf *.vcard);;"
                          "CSV files (*.csv *.tsv *.txt);;vCard files (*.vcf *.vcard);;All files (*)");
}

} // namespace cardora
