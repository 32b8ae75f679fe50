#include "core/fields.h"
#include <gtest/gtest.h>

using namespace cardora;

namespace {

TFieldRecord Record(std::initializer_list<std::pair<const char*, const char*>> pairs)
{
    TFieldRecord r;
    for (const auto& [name, value] : pairs)
        r.Set(name, value);
    return r;
}

} // namespace

TEST(Fields, ExpandKnownFieldsLeaveOthersAsTyped)
{
    const TFieldRecord r = Record({{"Name", "Ana Núñez"}, {"Title", ""}, {"phone_1", "${Name}"}});
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"${Name}", "Ana Núñez"},
        {"${NAME} / ${name}", "Ana Núñez / Ana Núñez"},
        {"[${Title}]", "[]"},                    // known but empty
        {"${Unknown} ${Name}", "${Unknown} Ana Núñez"},
        {"${phone_1}", "${Name}"},               // values are not expanded again
        {"$Name {Name} ${Na me} ${}", "$Name {Name} ${Na me} ${}"},
        {"$${Name}}", "$Ana Núñez}"},
        {"", ""},
        {"no fields at all", "no fields at all"},
        {"${Name}\n${Name}", "Ana Núñez\nAna Núñez"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandFields(QString::fromUtf8(c.typed), r), QString::fromUtf8(c.shown)) << c.typed;
}

TEST(Fields, NamesAndMissingOnesAreFoundOnceEach)
{
    EXPECT_EQ(FieldNamesIn("${a} ${B} ${A} ${c_1} ${d-e}"), QStringList({"a", "B", "c_1"}));
    EXPECT_TRUE(HasFields("x ${y}"));
    EXPECT_FALSE(HasFields("x ${ y}"));
    const TFieldRecord r = Record({{"Name", "x"}});
    EXPECT_EQ(MissingFields({"${name} ${Title}", "${TITLE} ${Email}"}, r), QStringList({"Title", "Email"}));
    EXPECT_TRUE(MissingFields({"${NAME}"}, r).isEmpty());
}

TEST(Fields, PersonalInformationGoesByTenNames)
{
    const QStringList personal{"N", "C", "T", "A1", "A2", "A3", "P1", "P2", "E", "F"};
    const TFieldRecord r = PersonalRecord(personal);
    EXPECT_EQ(ExpandFields("${name}|${company}|${title}|${address1}|${address2}|${address3}|"
                           "${phone1}|${phone2}|${email}|${fax}",
                           r),
              personal.join('|'));
    // A short list still names every field, so no field stays as typed.
    EXPECT_EQ(ExpandFields("[${Fax}]", PersonalRecord({"N"})), "[]");
}
