#pragma once
#include "core/data_file.h"

namespace cardora::test {

// Records as one text for table tests: records joined by '/', each record's
// values in name order joined by '|'.
inline QString Rows(const TDataFile& file)
{
    QStringList rows;
    for (const TFieldRecord& record : file.records) {
        QStringList values;
        for (const QString& name : file.names)
            values << record.ValueOr(name, "<missing>");
        rows << values.join('|');
    }
    return rows.join('/');
}

} // namespace cardora::test
