#pragma once
#include "core/data_file.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace cardora {

class CardView;

// The field names the card's texts use, each once, in z-order.
QStringList CardFieldNames(const CardView& panel);

// Reads a data file to merge into the card on `panel`. The error names the
// file and line when it cannot be read, or the fields the card uses that the
// data lacks, so that nothing prints with a field left as typed.
QString LoadMergeData(const QString& path, const CardView& panel, TDataFile* data);
// The fields the card uses that `data` (read from `path`) lacks, as an
// error; empty when it has them all. Asked again before each print, as the
// card may have changed since the data was read.
QString MissingFieldsProblem(const TDataFile& data, const QString& path, const CardView& panel);

// Records A to B, 1-based and inclusive, as the batch tool and the print
// dialog take them.
struct TRecordRange {
    int First = 1;
    int Last = 1;
};

// "A-B" or "A"; nullopt with *error set when it is not a range.
std::optional<TRecordRange> ParseRecordRange(const QString& text, QString* error);
// Empty when the range lies within `records`, else why not.
QString RecordRangeProblem(const TRecordRange& range, qsizetype records);

} // namespace cardora
