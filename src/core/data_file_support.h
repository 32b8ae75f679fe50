#pragma once
#include "core/data_file.h"

// What the CSV and vCard readers share.
namespace cardora::data_file {

// Text of a data file: UTF-16 or UTF-8 after a byte-order mark; without one,
// UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodeText(const QByteArray& bytes);
// Bytes in one 8-bit encoding: UTF-8 when valid, else Windows-1252.
QString DecodeBytes(const QByteArray& bytes);

// A failed read: "Cannot read data file PATH, line N: reason" (without the
// line part for line 0).
TDataFile Failure(const QString& path, int line, const QString& reason);

// A record holding every name with an empty value; records copied from it
// share the list of names.
TFieldRecord EmptyRecord(const QStringList& names);

// A text from the file, quoted fit for a one-line message and cut short.
QString Quoted(const QString& text);

} // namespace cardora::data_file
