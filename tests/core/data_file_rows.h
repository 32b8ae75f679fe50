#pragma once
#include "core/data_file.h"
#include <gtest/gtest.h>

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

// A damaged file: nothing read, one line naming the file and the line (0:
// none) and saying `says`.
inline void ExpectDamage(const TDataFile& file, const QString& path, int line, const char* says, const char* label)
{
    EXPECT_FALSE(file.Ok()) << label;
    EXPECT_TRUE(file.records.isEmpty()) << label;
    EXPECT_EQ(file.errorLine, line) << label << ": " << file.error.toStdString();
    EXPECT_TRUE(file.error.startsWith("Cannot read data file " + path)) << file.error.toStdString();
    if (line > 0)
        EXPECT_TRUE(file.error.contains(QString(", line %1:").arg(line))) << file.error.toStdString();
    EXPECT_TRUE(file.error.contains(QString::fromUtf8(says))) << label << ": " << file.error.toStdString();
    EXPECT_FALSE(file.error.contains('\n')) << label;
}

} // namespace cardora::test
