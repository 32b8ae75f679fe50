#pragma once
#include "core/fields.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace cardora {

enum class TDataKind { Csv, VCard };

// The records of a data file that fill a card's ${Name} fields: a CSV file
// whose first line names the fields, or a vCard file (one record per card,
// under the names of VCardFieldNames()). Every record holds every name, an
// absent value as an empty text.
struct TDataFile {
    QStringList names;              // the field names, in the file's order
    QVector<TFieldRecord> records;  // in the file's order
    QString error;                  // empty when the file was read
    int errorLine = 0;              // 1-based line the error names, 0 for none
    TDataKind kind = TDataKind::Csv; // what the file was read as, when read

    bool Ok() const { return error.isEmpty(); }
};

// Files larger than this are refused before they are read.
inline constexpr qint64 kMaxDataFileBytes = 16 * 1024 * 1024;
// Records times fields; more is refused, so memory stays bounded.
inline constexpr qint64 kMaxDataValues = 2'000'000;

// Reads a data file: a vCard when it starts as one or is named .vcf or
// .vcard, else CSV (.csv, .tsv, .txt or any other name). Folders, devices and files over the limit are
// refused. On failure the records are empty and `error` names the file and,
// where there is one, the line.
TDataFile ReadDataFile(const QString& path);
// The same on bytes already read; `path` names the file in messages and
// chooses the kind.
TDataFile ReadDataBytes(const QByteArray& bytes, const QString& path);
TDataKind DataKindOf(const QString& path, const QByteArray& bytes);

// For an open dialog: "Data files (*.csv ...);;CSV files (...);;...".
QString DataFileFilter();

// The names a vCard record fills: the ten personal names and URL.
const QStringList& VCardFieldNames();

// The kinds, for tests and fuzzing; ReadDataBytes chooses between them.
TDataFile ReadCsv(const QByteArray& bytes, const QString& path);
TDataFile ReadVCard(const QByteArray& bytes, const QString& path);

} // namespace cardora
