#include "core/data_file.h"
#include "core/data_file_rows.h"
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::Rows;

// Bytes as they come from a file; `"\xE9"` etc. stay bytes.
TEST(CsvReader, ReadsFieldsAndRecordsInEveryDialect)
{
    const struct {
        const char* label;
        QByteArray bytes;
        const char* names;   // joined by |
        const char* records; // records joined by /, values by |
    } cases[] = {
        {"comma LF", "Name,Title\nAna,Boss\nBo,Clerk\n", "Name|Title", "Ana|Boss/Bo|Clerk"},
        {"comma CRLF, no last line end", "Name,Title\r\nAna,Boss\r\nBo,Clerk", "Name|Title", "Ana|Boss/Bo|Clerk"},
        {"old Mac CR", "Name,Title\rAna,Boss\rBo,Clerk\r", "Name|Title", "Ana|Boss/Bo|Clerk"},
        {"semicolon, commas in values", "Name;Title\nNúñez, Ana;Boss, Sales\n", "Name|Title",
         "Núñez, Ana|Boss, Sales"},
        {"tab, commas and semicolons in values", "Name\tTitle\na,b;c\td\n", "Name|Title", "a,b;c|d"},
        {"one field, no delimiter", "Name\nAna\nBo\n", "Name", "Ana/Bo"},
        {"quoted delimiter and doubled quote", "Name,Title\n\"Ana, \"\"Boss\"\"\",x\n", "Name|Title",
         "Ana, \"Boss\"|x"},
        {"line breaks inside quotes become LF", "Name,Address\r\nAna,\"1 Main St\r\nSpringfield\nUSA\"\r\n",
         "Name|Address", "Ana|1 Main St\nSpringfield\nUSA"},
        {"quoted header with the delimiter", "\"Name, full\";Title\nAna;Boss\n", "Name, full|Title", "Ana|Boss"},
        {"delimiter inside quotes of the first line is not counted", "\"a,b,c\";x\n1;2\n", "a,b,c|x", "1|2"},
        {"fewer values fill empty", "A,B,C\n1\n1,2\n", "A|B|C", "1||/1|2|"},
        {"blank lines and empty rows are no records", "\n\nA,B\n\n1,2\n,\n  \n ,  ,\n\n3,4\n\n\n", "A|B",
         "1|2/3|4"},
        {"quoted empty values", "A,B\n\"\",x\n", "A|B", "|x"},
        {"blanks around quotes dropped, inside kept", "A,B\n  \" x \"  , y \n", "A|B", " x | y "},
        {"text after a closing quote joins the value", "A,B\n\"5\"\" disk\"s,x\n", "A|B", "5\" disks|x"},
        {"a quote inside a plain value is a character", "A,B\n5\" disk,x\n", "A|B", "5\" disk|x"},
        {"blank lines before the header", "\r\n  \r\nA;B\r\n1;2\r\n", "A|B", "1|2"},
        {"spreadsheet's delimiter line", "sep=;\r\nA,x;B\r\n1,2;3\r\n", "A,x|B", "1,2|3"},
        {"delimiter line names tab", "SEP=\t\nA,B\tC\n1\t2\n", "A,B|C", "1|2"},
        {"a field named sep= is no delimiter line", "sep=x,B\n1,2\n", "sep=x|B", "1|2"},
        {"header names trimmed", " Name , Title \nAna,Boss\n", "Name|Title", "Ana|Boss"},
        {"empty last value", "A,B\n1,\n", "A|B", "1|"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFName\nJos\xC3\xA9\n", "Name", "José"},
        {"UTF-8 without mark", "Name\n\xE2\x82\xAC 5\n", "Name", "€ 5"},
        {"Windows-1252", "Name;Note\nJos\xE9;\x80 5 \x93q\x94\n", "Name|Note", "José|€ 5 “q”"},
        {"UTF-16LE with a mark (spreadsheet unicode text)",
         QByteArray("\xFF\xFEN\0a\0m\0e\0\t\0T\0\n\0J\0o\0s\0\xE9\0\t\0x\0\n\0", 28), "Name|T", "José|x"},
        {"tab wins a tie over comma", "a,b\tc\n1,2\t3\n", "a,b|c", "1,2|3"},
        {"semicolon wins over fewer commas", "a,b;c;d\n1;2;3\n", "a,b|c|d", "1|2|3"},
    };
    for (const auto& c : cases) {
        const TDataFile file = ReadCsv(c.bytes, "staff.csv");
        ASSERT_TRUE(file.Ok()) << c.label << ": " << file.error.toStdString();
        EXPECT_EQ(file.names.join('|'), QString::fromUtf8(c.names)) << c.label;
        EXPECT_EQ(Rows(file), QString::fromUtf8(c.records)) << c.label;
    }
}

TEST(CsvReader, TsvNameMeansTabs)
{
    const QByteArray bytes = "Name, Title,Dept\tPhone\nAna,Bo\t1\n";
    const TDataFile tsv = ReadCsv(bytes, "x.TSV");
    EXPECT_EQ(tsv.names, QStringList({"Name, Title,Dept", "Phone"}));
    EXPECT_EQ(Rows(tsv), "Ana,Bo|1");
    EXPECT_EQ(ReadCsv(bytes, "x.csv").names.size(), 3); // commas outnumber the tab
    EXPECT_EQ(ReadCsv("Name\nAna,Bo\n", "x.tsv").records.value(0).ValueOr("Name"), "Ana,Bo");
}

TEST(CsvReader, DamageNamesTheFileAndTheLine)
{
    const struct {
        const char* label;
        QByteArray bytes;
        int line;
        const char* says;
    } cases[] = {
        {"empty file", "", 0, "no records"},
        {"only blank lines", "\r\n\n  \n", 0, "no records"},
        {"header only", "Name,Title\n", 0, "no records"},
        {"header and empty rows", "Name,Title\n,\n\n", 0, "no records"},
        {"too many values", "A,B\n1,2\n1,2,3\n", 3, "3 values but the first line names 2"},
        {"too many values on a CR LF file", "A;B\r\n1;2\r\n\r\n1;2;3\r\n", 4, "3 values"},
        {"too many values after a quoted line break", "A,B\n\"1\n2\",2\n1,2,3\n", 4, "3 values"},
        {"row starting after a quoted line break", "A,B\n\"x\ny\",\"1\n2\",3\n", 2, "3 values"},
        {"unclosed quote names where it opened", "A,B\n1,2\n3,\"four\n5,6\n7,8\n", 3, "not closed"},
        {"unclosed quote in the header", "\"A,B\n1,2\n", 1, "not closed"},
        {"empty header name", "A,,C\n1,2,3\n", 1, "field 2 of the first line has no name"},
        {"blank header name", "A, \n1,2\n", 1, "field 2 "},
        {"duplicate header names", "Name,Title,name\n1,2,3\n", 1, "“name” appears twice (fields 1 and 3)"},
        {"header after blank lines", "\n\nA;A\n1;2\n", 3, "appears twice"},
        {"lines count from the delimiter line", "sep=,\nA,B\n1,2,3\n", 3, "3 values"},
    };
    for (const auto& c : cases)
        cardora::test::ExpectDamage(ReadCsv(c.bytes, "/data/staff.csv"), "/data/staff.csv", c.line, c.says, c.label);
}

TEST(CsvReader, HostileShapesAreRefusedNotExpanded)
{
    // A first line of many fields, and a row of many values.
    const TDataFile names = ReadCsv("a" + QByteArray(5000, ',') + "\n1\n", "x.csv");
    EXPECT_TRUE(names.error.contains("line 1: the first line names 5001 fields, more than 1000")) << names.error.toStdString();
    const TDataFile wide = ReadCsv("A\n1\n" + QByteArray(100000, ',') + "x\n2\n", "x.csv");
    EXPECT_TRUE(wide.error.contains("line 3: the row has 100001 values")) << wide.error.toStdString();
    // A row of nothing but delimiters is an empty row, however long.
    EXPECT_EQ(ReadCsv("A\n1\n" + QByteArray(100000, ',') + "\n2\n", "x.csv").records.size(), 2);
    // Many records of many fields: bounded by the number of values.
    QStringList header;
    for (int i = 0; i < 1000; ++i)
        header << QString("f%1").arg(i);
    QByteArray many = header.join(',').toUtf8() + "\n";
    for (int i = 0; i < 2100; ++i)
        many += "1\n";
    const TDataFile big = ReadCsv(many, "x.csv");
    EXPECT_TRUE(big.error.contains("line 2002: the file holds more than 2000000 values")) << big.error.toStdString();
    // A value's control characters are shown as escapes in the message.
    const TDataFile dup = ReadCsv("a\x1B[2J,A\x1B[2J\n1,2\n", "x.csv");
    EXPECT_TRUE(dup.error.contains("\\x1B[2J")) << dup.error.toStdString();
}

TEST(CsvReader, RecordsAnswerEveryNameCaseInsensitively)
{
    const TDataFile file = ReadCsv("Name,Phone_1,Title\nAna,555\n", "x.csv");
    ASSERT_EQ(file.records.size(), 1);
    const TFieldRecord& r = file.records[0];
    EXPECT_EQ(r.Names(), QStringList({"Name", "Phone_1", "Title"}));
    EXPECT_EQ(ExpandFields("${NAME}/${phone_1}/[${title}]", r), "Ana/555/[]");
}
