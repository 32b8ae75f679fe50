#include "core/data_file.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace cardora;

namespace {

const QByteArray kCsv = "Name,Title\nAna,Boss\n";
const QByteArray kVCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana\r\nTITLE:Boss\r\nEND:VCARD\r\n";

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

} // namespace

TEST(DataFile, KindFollowsTheNameElseTheContent)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        TDataKind kind;
    } cases[] = {
        {"staff.csv", kCsv, TDataKind::Csv},
        {"STAFF.CSV", kCsv, TDataKind::Csv},
        {"staff.tsv", "Name\tTitle\nAna\tBoss\n", TDataKind::Csv},
        {"staff.txt", kCsv, TDataKind::Csv},
        {"people.vcf", kVCard, TDataKind::VCard},
        {"people.VCard", kVCard, TDataKind::VCard},
        {"people.dat", kVCard, TDataKind::VCard},
        {"people", "\xEF\xBB\xBF\r\nbegin:vcard\r\nFN:Ana\r\nTITLE:Boss\r\nend:vcard\r\n", TDataKind::VCard},
        {"people.csv", kVCard, TDataKind::VCard}, // its content says so
        {"people.txt", kVCard, TDataKind::VCard},
        {"staff.dat", kCsv, TDataKind::Csv},
        {"staff", kCsv, TDataKind::Csv},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataKindOf(c.name, c.bytes), c.kind) << c.name;
        const TDataFile file = ReadDataFile(Write(dir, c.name, c.bytes));
        ASSERT_TRUE(file.Ok()) << c.name << ": " << file.error.toStdString();
        EXPECT_EQ(file.kind, c.kind) << c.name;
        EXPECT_EQ(file.records.value(0).ValueOr("Name"), "Ana") << c.name;
        EXPECT_EQ(file.records.value(0).ValueOr("Title"), "Boss") << c.name;
    }
    // A CSV file named .vcf is read as a vCard, and says why it fails.
    EXPECT_TRUE(ReadDataFile(Write(dir, "wrong.vcf", kCsv)).error.contains("wrong.vcf, line 1: this line is not part of a card"));
}

TEST(DataFile, UnreadableFilesAreRefusedWithTheirName)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = Write(dir, "big.csv", QByteArray());
    QFile(big).resize(kMaxDataFileBytes + 1);
    const struct {
        QString path;
        const char* says;
    } cases[] = {
        {dir.filePath("missing.csv"), "No such file"},
        {dir.path(), "it is a folder"},
        {fifo, "not a regular file"}, // refused without waiting for a writer
        {big, "too large"},
    };
    for (const auto& c : cases) {
        const TDataFile file = ReadDataFile(c.path);
        EXPECT_FALSE(file.Ok()) << c.says;
        EXPECT_TRUE(file.error.contains(c.path)) << file.error.toStdString();
        EXPECT_TRUE(file.error.contains(c.says)) << file.error.toStdString();
        EXPECT_TRUE(file.records.isEmpty());
    }
}

TEST(DataFile, RecordsStayInFileOrder)
{
    QByteArray csv = "No\n";
    for (int i = 1; i <= 1000; ++i)
        csv += QByteArray::number(i) + "\n";
    const TDataFile file = ReadDataBytes(csv, "n.csv");
    ASSERT_EQ(file.records.size(), 1000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(file.records[i].ValueOr("no"), QString::number(i + 1));
    EXPECT_TRUE(DataFileFilter().contains("*.vcf"));
    EXPECT_TRUE(DataFileFilter().contains("*.csv"));
}

TEST(DataFile, RecordsOfOneFileChangeIndependently)
{
    // Records share their names until one changes; a change stays in it.
    TDataFile file = ReadDataBytes("Name,Title\nAna,Boss\nBo,Clerk\n", "x.csv");
    ASSERT_EQ(file.records.size(), 2);
    TFieldRecord copy = file.records[0];
    copy.Set("title", "Chief");
    copy.Set("Phone", "555");
    file.records[1].Set("NAME", "Cy");
    EXPECT_EQ(ExpandFields("${Name} ${Title} ${Phone}", copy), "Ana Chief 555");
    EXPECT_EQ(ExpandFields("${Name} ${Title} ${Phone}", file.records[0]), "Ana Boss ${Phone}");
    EXPECT_EQ(ExpandFields("${Name} ${Title} ${Phone}", file.records[1]), "Cy Clerk ${Phone}");
    EXPECT_EQ(copy.Names(), QStringList({"Name", "Title", "Phone"}));
    EXPECT_EQ(file.records[1].Names(), QStringList({"Name", "Title"}));
}
