#include "core/contact_card.h"
#include "core/fields.h"
#include <gtest/gtest.h>

using namespace cardora;

namespace {
TFieldRecord record(std::initializer_list<std::pair<const char*, QString>> values)
{
    TFieldRecord r;
    for (const auto& [name, value] : values)
        r.Set(QString::fromLatin1(name), value);
    return r;
}
const QString kEnd = QStringLiteral("\r\n");
} // namespace

TEST(ContactCard, EveryFieldHasItsLineInOrder)
{
    const TFieldRecord r = record({ { "Name", "Jane Q. Example" }, { "Company", "Acme Widgets" },
        { "Title", "Director" }, { "Phone1", "+1 555 0100" }, { "Phone2", "+1 555 0199" }, { "Fax", "+1 555 0101" },
        { "Email", "jane@example.com" }, { "Address1", "1 Main Road" }, { "Address2", "Springfield" },
        { "Address3", "USA" }, { "URL", "https://example.com/jane" } });
    EXPECT_EQ(VCardText(r),
        QStringList({ "BEGIN:VCARD", "VERSION:3.0", "N:Example;Jane Q.;;;", "FN:Jane Q. Example", "ORG:Acme Widgets",
            "TITLE:Director", "TEL;TYPE=WORK,VOICE:+1 555 0100", "TEL;TYPE=CELL:+1 555 0199",
            "TEL;TYPE=FAX:+1 555 0101", "EMAIL;TYPE=INTERNET:jane@example.com",
            "ADR;TYPE=WORK:;;1 Main Road;Springfield;;;USA", "URL:https://example.com/jane", "END:VCARD" })
                .join(kEnd)
            + kEnd);
    EXPECT_EQ(MeCardText(r),
        "MECARD:N:Example,Jane Q.;ORG:Acme Widgets;TEL:+1 555 0100;TEL:+1 555 0199;EMAIL:jane@example.com;"
        "ADR:1 Main Road, Springfield, USA;URL:https\\://example.com/jane;NOTE:Director;;");
}

// Each special character, in a name and elsewhere, as both forms write it.
TEST(ContactCard, SpecialCharactersAreEscaped)
{
    struct Case {
        QString company;
        QString vcard; // the ORG line's value
        QString mecard;
    };
    const Case cases[] = {
        { "Smith, Jones & Co", "Smith\\, Jones & Co", "Smith, Jones & Co" },
        { "A;B", "A\\;B", "A\\;B" },
        { "C:\\Share", "C:\\\\Share", "C\\:\\\\Share" },
        { "Line one\nLine two", "Line one\\nLine two", "Line one\\nLine two" },
        { "Windows\r\nbreak", "Windows\\nbreak", "Windows\\nbreak" },
        { "\"Quoted\"", "\"Quoted\"", "\"Quoted\"" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.company.toStdString());
        const TFieldRecord r = record({ { "Company", c.company } });
        EXPECT_TRUE(VCardText(r).contains(kEnd + "ORG:" + c.vcard + kEnd)) << VCardText(r).toStdString();
        EXPECT_EQ(MeCardText(r), "MECARD:ORG:" + c.mecard + ";;");
    }
    // A name with a comma and a semicolon keeps its parts apart.
    const TFieldRecord named = record({ { "Name", "Jean;Luc O,Neil" } });
    EXPECT_TRUE(VCardText(named).contains("N:O\\,Neil;Jean\\;Luc;;;" + kEnd));
    EXPECT_TRUE(VCardText(named).contains("FN:Jean\\;Luc O\\,Neil" + kEnd));
    EXPECT_EQ(MeCardText(named), "MECARD:N:O,Neil,Jean\\;Luc;;");
}

TEST(ContactCard, NonAsciiIsKeptAsCharacters)
{
    const TFieldRecord r = record({ { "Name", QString::fromUtf8("Zoë Øster-Müller") },
        { "Company", QString::fromUtf8("株式会社サンプル") }, { "Address1", QString::fromUtf8("Straße 5, Köln") } });
    const QString v = VCardText(r);
    EXPECT_TRUE(v.contains(QString::fromUtf8("N:Øster-Müller;Zoë;;;")));
    EXPECT_TRUE(v.contains(QString::fromUtf8("ORG:株式会社サンプル")));
    EXPECT_TRUE(v.contains(QString::fromUtf8("ADR;TYPE=WORK:;;Straße 5\\, Köln;;;;")));
}

// Empty and blank fields leave no line; FN stays, as vCard requires it.
TEST(ContactCard, EmptyFieldsAreLeftOut)
{
    struct Case {
        TFieldRecord record;
        QString vcard;
        QString mecard;
    };
    const QString head = "BEGIN:VCARD" + kEnd + "VERSION:3.0" + kEnd;
    const Case cases[] = {
        { TFieldRecord(), head + "N:;;;;" + kEnd + "FN:" + kEnd + "END:VCARD" + kEnd, "MECARD:;" },
        { record({ { "Name", "  " }, { "Email", "a@b.c" }, { "Phone2", "" } }),
            head + "N:;;;;" + kEnd + "FN:" + kEnd + "EMAIL;TYPE=INTERNET:a@b.c" + kEnd + "END:VCARD" + kEnd,
            "MECARD:EMAIL:a@b.c;;" },
        { record({ { "Name", "Cher" }, { "Address2", "Only the second line" } }),
            head + "N:Cher;;;;" + kEnd + "FN:Cher" + kEnd + "ADR;TYPE=WORK:;;;Only the second line;;;" + kEnd
                + "END:VCARD" + kEnd,
            "MECARD:N:Cher;ADR:Only the second line;;" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VCardText(c.record), c.vcard);
        EXPECT_EQ(MeCardText(c.record), c.mecard);
    }
}

// A web address is not text: its separators stay, line breaks go.
TEST(ContactCard, WebAddressKeepsItsSeparators)
{
    const TFieldRecord r = record({ { "URL", "https://example.com/a,b;c?x=\\y\n" } });
    EXPECT_TRUE(VCardText(r).contains("\r\nURL:https://example.com/a,b;c?x=\\y\r\n"));
    EXPECT_EQ(MeCardText(r), "MECARD:URL:https\\://example.com/a,b\\;c?x=\\\\y;;");
}
