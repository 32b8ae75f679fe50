// Data files other programs wrote (scripts/make_merge_samples).
#include "core/data_file.h"
#include "core/data_file_rows.h"
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::Rows;

namespace {

QString Sample(const char* name)
{
    return QString(CARDORA_TEST_DATA) + "/merge/" + name;
}

} // namespace

TEST(MergeSamples, SpreadsheetSavedInEveryDialectReadsTheSame)
{
    const QString staff = QString::fromUtf8("José Núñez|Head of Sales, East|Acme; Sons|0123 555|jose@example.com|"
                                            "1 Main St\nBuilding 2|101/"
                                            "Zoë Ørsted|Chief \"Fixer\"|Ørsted ApS|+45 33 12 34 56|zoe@example.dk||7/"
                                            "Ann O'Neil|Budget € 5 “Q1”|||ann@example.ie|Quay 3|/"
                                            "Bo Li|  Spaced  |Li & Co||||12");
    const QString world = QString::fromUtf8("Łukasz Żółw|Kierownik/Ελένη Παπαδοπούλου|Διευθύντρια/山田 太郎|部長");
    const struct {
        const char* file;
        const char* names;
        const QString& rows;
    } cases[] = {
        {"lo_comma_utf8.csv", "Name|Title|Company|Phone1|Email|Address1|Ext", staff},
        {"lo_comma_quoted_utf8.csv", "Name|Title|Company|Phone1|Email|Address1|Ext", staff},
        {"lo_semicolon_1252.csv", "Name|Title|Company|Phone1|Email|Address1|Ext", staff},
        {"lo_tab_utf8.tsv", "Name|Title|Company|Phone1|Email|Address1|Ext", staff},
        {"lo_tab_utf16.txt", "Name|Title|Company|Phone1|Email|Address1|Ext", staff},
        {"lo_world_utf8.csv", "Name|Title", world},
        {"lo_world_utf16.csv", "Name|Title", world},
    };
    for (const auto& c : cases) {
        const TDataFile file = ReadDataFile(Sample(c.file));
        ASSERT_TRUE(file.Ok()) << c.file << ": " << file.error.toStdString();
        EXPECT_EQ(file.names.join('|'), c.names) << c.file;
        EXPECT_EQ(Rows(file), c.rows) << c.file;
    }
}

TEST(MergeSamples, AddressBookVCardsFillTheirFields)
{
    // Name|Company|Title|Address1|Address2|Address3|Phone1|Phone2|Email|Fax|URL
    const struct {
        const char* file;
        const char* rows;
    } cases[] = {
        {"abook.vcf", // 2.1 with bare types and no VERSION line
         "José Núñez|||1 Main St|Springfield IL 62701|USA|+1 555 0101|+1 555 0142|jose@example.com|+1 555 0199|"
         "https://example.com/jose/"
         "Zoë Ørsted|||||||+45 20 12 34 56|zoe@example.dk||/"
         "Ann O'Neil||||||+353 1 555 0100||||"},
        {"vobject.vcf", // 3.0, folded and escaped
         "Ana María Núñez, PhD|Acme; Sons, Inc.|Head of Sales\nEast & West|1 Main St, Building 2|"
         "Springfield IL 62701|USA|+1 555 0100|+1 555 0142|ana@example.com|+1 555 0199|"
         "https://example.com/people/ana-maria-nunez/a-rather-long-address-that-folds/"
         "Łukasz Żółw||||||+48 22 555 01 00||||/"
         "山田 太郎|株式会社 山田|部長||||||||"},
    };
    for (const auto& c : cases) {
        const TDataFile file = ReadDataFile(Sample(c.file));
        ASSERT_TRUE(file.Ok()) << c.file << ": " << file.error.toStdString();
        EXPECT_EQ(file.names, VCardFieldNames());
        EXPECT_EQ(Rows(file), QString::fromUtf8(c.rows)) << c.file;
    }
}

TEST(MergeSamples, HeaderlessCsvIsRefusedAtItsFirstLine)
{
    // The address book's CSV has no line of names: its first record's empty
    // last value cannot name a field.
    const TDataFile file = ReadDataFile(Sample("abook.csv"));
    EXPECT_FALSE(file.Ok());
    EXPECT_EQ(file.errorLine, 1);
    EXPECT_TRUE(file.error.contains("abook.csv, line 1: field 5 of the first line has no name")) << file.error.toStdString();
}
