#include "core/contact_card.h"
#include "core/data_file.h"
#include "core/data_file_rows.h"
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::Rows;

namespace {

// A card's lines joined by `end`, between BEGIN and END.
QByteArray Card(const QByteArray& version, const QList<QByteArray>& lines, const QByteArray& end = "\r\n")
{
    QByteArray out = "BEGIN:VCARD" + end;
    if (!version.isEmpty())
        out += "VERSION:" + version + end;
    for (const QByteArray& line : lines)
        out += line + end;
    return out + "END:VCARD" + end;
}

QString Field(const QByteArray& bytes, const char* name)
{
    const TDataFile file = ReadVCard(bytes, "people.vcf");
    if (!file.Ok())
        return "<" + file.error + ">";
    return file.records.value(0).ValueOr(name, "<missing>");
}

} // namespace

TEST(VCardReader, EveryRecordHoldsTheElevenNames)
{
    const TDataFile file = ReadVCard(Card("3.0", {"FN:Ana"}), "a.vcf");
    ASSERT_TRUE(file.Ok()) << file.error.toStdString();
    EXPECT_EQ(file.names, QStringList({"Name", "Company", "Title", "Address1", "Address2", "Address3", "Phone1",
                                       "Phone2", "Email", "Fax", "URL"}));
    EXPECT_EQ(Rows(file), "Ana||||||||||");
    EXPECT_EQ(file.records[0].Names(), file.names);
}

TEST(VCardReader, FieldsComeFromTheirProperties)
{
    const struct {
        const char* label;
        QByteArray bytes;
        const char* field;
        const char* value;
    } cases[] = {
        // Names.
        {"FN", Card("3.0", {"N:Núñez;Ana;;;", "FN:Ana Núñez"}), "Name", "Ana Núñez"},
        {"N when there is no FN", Card("3.0", {"N:Doe;John;Quincy;Mr.;Jr."}), "Name", "John Quincy Doe"},
        {"N when FN is empty", Card("4.0", {"FN:", "N:Doe;John;;;"}), "Name", "John Doe"},
        {"N without given name", Card("2.1", {"N:Acme Ltd"}), "Name", "Acme Ltd"},
        {"FN escapes", Card("3.0", {"FN:Doe\\, John \\\\ Jr\\;"}), "Name", "Doe, John \\ Jr;"},
        {"group prefix", Card("3.0", {"item1.FN:Ana"}), "Name", "Ana"},
        {"lower-case names", Card("3.0", {"fn:Ana", "org:Acme"}), "Company", "Acme"},
        // Company and title.
        {"ORG first part", Card("3.0", {"ORG:Acme\\, Inc.;Sales;East"}), "Company", "Acme, Inc."},
        {"TITLE with a line break", Card("3.0", {"TITLE:Head\\nof Sales"}), "Title", "Head\nof Sales"},
        {"TITLE \\N", Card("3.0", {"TITLE:A\\NB"}), "Title", "A\nB"},
        {"unknown escapes stay", Card("2.1", {"TITLE:C:\\temp"}), "Title", "C:\\temp"},
        // Phones.
        {"Phone1 work", Card("3.0", {"TEL;TYPE=HOME:1", "TEL;TYPE=WORK:2"}), "Phone1", "2"},
        {"Phone1 voice list", Card("3.0", {"TEL;TYPE=home:1", "TEL;TYPE=work,voice:2"}), "Phone1", "2"},
        {"Phone1 repeated TYPE", Card("3.0", {"TEL;TYPE=HOME:1", "TEL;TYPE=WORK;TYPE=VOICE:2"}), "Phone1", "2"},
        {"Phone1 2.1 bare types", Card("2.1", {"TEL;HOME:1", "TEL;WORK;VOICE:2"}), "Phone1", "2"},
        {"Phone1 4.0 quoted types", Card("4.0", {"TEL;TYPE=home:1", "TEL;TYPE=\"work,voice\";VALUE=uri:tel:+1-555"}),
         "Phone1", "+1-555"},
        {"Phone1 first of several work", Card("3.0", {"TEL;TYPE=WORK:2", "TEL;TYPE=VOICE:3"}), "Phone1", "2"},
        {"Phone1 falls back to other", Card("3.0", {"TEL;TYPE=CELL:9", "TEL;TYPE=FAX:8", "TEL;TYPE=HOME:1"}),
         "Phone1", "1"},
        {"Phone1 untyped", Card("3.0", {"TEL:1"}), "Phone1", "1"},
        {"Phone1 not a voice cell", Card("3.0", {"TEL;TYPE=CELL,VOICE:9", "TEL;TYPE=WORK:2"}), "Phone1", "2"},
        {"Phone1 not a work fax", Card("3.0", {"TEL;TYPE=WORK,FAX:8", "TEL;TYPE=WORK:2"}), "Phone1", "2"},
        {"Phone1 empty with only cell and fax", Card("3.0", {"TEL;TYPE=CELL:9", "TEL;TYPE=FAX:8"}), "Phone1", ""},
        {"Phone1 PREF parameter", Card("4.0", {"TEL;PREF=1;TYPE=work:2"}), "Phone1", "2"},
        {"Phone2 first cell", Card("3.0", {"TEL;TYPE=WORK:2", "TEL;TYPE=CELL:9", "TEL;TYPE=CELL:7"}), "Phone2", "9"},
        {"Phone2 2.1 CELL;PREF", Card("2.1", {"TEL;CELL;PREF:9"}), "Phone2", "9"},
        {"Phone2 mixed-case type", Card("3.0", {"TEL;type=Cell:9"}), "Phone2", "9"},
        {"Fax first fax", Card("3.0", {"TEL;TYPE=HOME,FAX:8", "TEL;TYPE=WORK,FAX:6"}), "Fax", "8"},
        {"Fax 4.0 uri", Card("4.0", {"TEL;VALUE=uri;TYPE=fax:TEL:+44 20"}), "Fax", "+44 20"},
        // E-mail and web.
        {"first EMAIL", Card("3.0", {"EMAIL;TYPE=INTERNET:a@x.org", "EMAIL:b@x.org"}), "Email", "a@x.org"},
        {"URL", Card("3.0", {"URL:https\\://x.org/a\\,b"}), "URL", "https://x.org/a,b"},
        {"URL with group", Card("3.0", {"item2.URL:https://x.org"}), "URL", "https://x.org"},
        // Addresses.
        {"street", Card("3.0", {"ADR;TYPE=WORK:;Suite 4;1 Main St;Springfield;IL;62701;USA"}), "Address1",
         "1 Main St"},
        {"locality region code", Card("3.0", {"ADR:;;1 Main St;Springfield;IL;62701;USA"}), "Address2",
         "Springfield IL 62701"},
        {"skips empty parts", Card("3.0", {"ADR:;;1 Main St;Paris;;75001;France"}), "Address2", "Paris 75001"},
        {"country", Card("3.0", {"ADR:;;1 Main St;Paris;;75001;France"}), "Address3", "France"},
        {"first ADR only", Card("3.0", {"ADR:;;1 Main;A;;;", "ADR:;;2 Side;B;;;X"}), "Address3", ""},
        {"street with escaped separators", Card("3.0", {"ADR:;;1 Main St\\, Apt 2\\;B;X;;;"}), "Address1",
         "1 Main St, Apt 2;B"},
        {"short ADR", Card("2.1", {"ADR:;;1 Main"}), "Address2", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Field(c.bytes, c.field), QString::fromUtf8(c.value)) << c.label;
}

TEST(VCardReader, LineEndsFoldingAndEncodings)
{
    const struct {
        const char* label;
        QByteArray bytes;
        const char* field;
        const char* value;
    } cases[] = {
        {"LF ends", Card("3.0", {"FN:Ana"}, "\n"), "Name", "Ana"},
        {"CR ends", Card("3.0", {"FN:Ana"}, "\r"), "Name", "Ana"},
        {"folded with space", Card("3.0", {"FN:Ana Ma", " ria"}), "Name", "Ana Maria"},
        {"folded with tab", Card("4.0", {"FN:Ana", "\t Maria"}), "Name", "Ana Maria"},
        {"folded in the name", Card("3.0", {"TE", " L;TYPE=CE", " LL:9"}), "Phone2", "9"},
        {"folded LF", Card("3.0", {"FN:Ana", " Maria"}, "\n"), "Name", "AnaMaria"},
        {"folded inside UTF-8 bytes", Card("4.0", {"FN:Nu\xC3", " \xB1" "ez"}), "Name", "Nuñez"},
        {"UTF-8", Card("3.0", {"FN:Jos\xC3\xA9"}), "Name", "José"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + Card("3.0", {"FN:Jos\xC3\xA9"}), "Name", "José"},
        {"Windows-1252 without charset", Card("2.1", {"FN:Jos\xE9 \x80"}), "Name", "José €"},
        {"2.1 quoted-printable UTF-8",
         Card("2.1", {"FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Jos=C3=A9 N=C3=BA=C3=B1ez"}), "Name",
         "José Núñez"},
        {"2.1 quoted-printable Latin-1", Card("2.1", {"FN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Jos=E9"}), "Name",
         "José"},
        {"2.1 quoted-printable soft line breaks",
         Card("2.1", {"ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;1 Main St=0D=0A=", "Building 2;Spring=", "field;;;"}),
         "Address1", "1 Main St\nBuilding 2"},
        {"soft break does not swallow the card's end",
         "BEGIN:VCARD\r\nFN;QUOTED-PRINTABLE:Ana=\r\nEND:VCARD\r\n", "Name", "Ana="},
        {"broken quoted-printable stays", Card("2.1", {"FN;QUOTED-PRINTABLE:a=ZZb=4"}), "Name", "a=ZZb=4"},
        {"quoted-printable escapes a semicolon", Card("2.1", {"ORG;QUOTED-PRINTABLE:A=3BB;C"}), "Company", "A"},
        {"charset KOI8-R", Card("2.1", {"FN;CHARSET=KOI8-R;QUOTED-PRINTABLE:=F0=C5=D4=D2"}), "Name", "Петр"},
        {"unknown charset falls back", Card("2.1", {"FN;CHARSET=X-NONE:Jos\xC3\xA9"}), "Name", "José"},
        {"UTF-16LE file", QByteArray("\xFF\xFE", 2) + [] {
             const QString t = "BEGIN:VCARD\r\nFN:José\r\nEND:VCARD\r\n";
             return QByteArray(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
         }(),
         "Name", "José"},
        {"quoted colon in a parameter", Card("4.0", {"ADR;LABEL=\"1 Main: St\";TYPE=work:;;1 Main St;;;;"}),
         "Address1", "1 Main St"},
        {"base64 photo skipped",
         Card("2.1", {"PHOTO;ENCODING=BASE64;TYPE=JPEG:", "  /9j/4AAQSkZJRgABAQ", "  AAAQABAAD", "", "FN:Ana"}),
         "Name", "Ana"},
        {"nested agent card ignored",
         Card("2.1", {"FN:Ana", "AGENT:", "BEGIN:VCARD", "FN:Bo", "TEL:1", "END:VCARD", "TEL:2"}), "Phone1", "2"},
        {"values trimmed", Card("3.0", {"FN:  Ana  "}), "Name", "Ana"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Field(c.bytes, c.field), QString::fromUtf8(c.value)) << c.label;
}

TEST(VCardReader, SeveralCardsOneRecordEach)
{
    const QByteArray bytes = Card("2.1", {"N:Doe;Jane", "TEL;WORK:1"}) + "\r\n" + Card("3.0", {"FN:Bo"}, "\n")
        + Card("4.0", {"FN:Cy", "EMAIL:c@x"});
    const TDataFile file = ReadVCard(bytes, "team.vcf");
    ASSERT_TRUE(file.Ok()) << file.error.toStdString();
    EXPECT_EQ(Rows(file), "Jane Doe||||||1||||/Bo||||||||||/Cy||||||||c@x||");
}

TEST(VCardReader, DamageNamesTheFileAndTheLine)
{
    const struct {
        const char* label;
        QByteArray bytes;
        int line;
        const char* says;
    } cases[] = {
        {"empty", "", 0, "no cards"},
        {"only blank lines", "\r\n\r\n", 0, "no cards"},
        {"BEGIN without END", "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\n", 4, "no END:VCARD"},
        {"missing END before the next card", "BEGIN:VCARD\nFN:A\nBEGIN:VCARD\nFN:B\nEND:VCARD\n", 1,
         "no END:VCARD"},
        {"END without BEGIN", "BEGIN:VCARD\nFN:A\nEND:VCARD\nEND:VCARD\n", 4, "without BEGIN"},
        {"text before the first card", "hello\nBEGIN:VCARD\nFN:A\nEND:VCARD\n", 1, "“hello” is not part of a card"},
        {"property outside a card", "BEGIN:VCARD\nEND:VCARD\n\nFN:B\n", 4, "“FN:B” is not part of a card"},
        {"a CSV file", "Name,Title\nAna,Boss\n", 1, "not part of a card"},
        {"other calendar object", "BEGIN:VCALENDAR\nEND:VCALENDAR\n", 1, "not part of a card"},
    };
    for (const auto& c : cases)
        cardora::test::ExpectDamage(ReadVCard(c.bytes, "/data/people.vcf"), "/data/people.vcf", c.line, c.says,
            c.label);
}

TEST(VCardReader, LongRunsOfFoldsReadInOnePass)
{
    // Each fold ends like a soft line break; no value starts before the end.
    QByteArray bytes = "BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE";
    for (int i = 0; i < 200000; ++i)
        bytes += "\r\n x=";
    bytes += ":a=\r\nb\r\nFN:Ana\r\nEND:VCARD\r\n";
    const TDataFile file = ReadVCard(bytes, "x.vcf");
    ASSERT_TRUE(file.Ok()) << file.error.toStdString();
    EXPECT_EQ(file.records.value(0).ValueOr("Name"), "Ana");
}

TEST(VCardReader, ReadsBackTheContactsTheProgramWrites)
{
    // Name|Company|Title|Address1|Address2|Address3|Phone1|Phone2|Email|Fax|URL
    const char* cases[] = {
        "Ana Núñez|Acme, Inc.; Sales|Head\nof Sales|1 Main St|Springfield IL|USA|+1 555|+1 556|a@x.org|+1 557|"
        "https://x.org/a,b;c",
        "Back\\slash||||||||||",
        "|||Quay 3|||||x@y||",
        "山田 太郎|株式会社|||||||||",
    };
    for (const char* written : cases) {
        const QStringList values = QString::fromUtf8(written).split('|');
        TFieldRecord record;
        for (int i = 0; i < VCardFieldNames().size(); ++i)
            record.Set(VCardFieldNames()[i], values.value(i));
        const TDataFile file = ReadVCard(VCardText(record).toUtf8(), "qr.vcf");
        ASSERT_TRUE(file.Ok()) << file.error.toStdString();
        EXPECT_EQ(Rows(file).toStdString(), written);
    }
}
