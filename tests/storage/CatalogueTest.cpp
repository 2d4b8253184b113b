#include "storage/Catalogue.h"
#include "storage/TableNames.h"

#include <gtest/gtest.h>

using namespace plavex;
using namespace plavex::storage;

TEST(Catalogue, EveryTableHasItsColumnCount)
{
    const std::pair<const char *, size_t> expected[] = {
        {"PERSONS", 71}, {"PERA", 19}, {"PERADEFS", 6}, {"FIRMA", 109}, {"CAL", 5},       {"DL", 5},
        {"GR", 2},       {"ZVENA", 3}, {"NOI", 76},     {"DOD", 4},     {"KAT", 3},       {"PRIL1", 13},
        {"NKID", 4},     {"NAP", 16},  {"BIN", 3},      {"OBS", 2},     {"GRAD", 3},      {"PERSDATA", 83},
        {"EMPL2000", 100}, {"MYPARAMS", 2}, {"PAYMAIL", 4}, {"USERS", 3}, {"SYSPARAMS", 1},
    };
    ASSERT_EQ(catalogue::tables().size(), std::size(expected));
    for (const auto &[base, count] : expected)
        EXPECT_EQ(catalogue::table(QString::fromLatin1(base)).columns.size(), count) << base;
    EXPECT_EQ(catalogue::indexes().size(), 23u);
}

TEST(Catalogue, ColumnDefinitionsKeepTypeAndExtras)
{
    const TableDef &persons = catalogue::table(u"PERSONS");
    EXPECT_EQ(persons.columns[1].definition(), QStringLiteral(" PERSON_IME CHARACTER  (50) NOT NULL "));
    EXPECT_EQ(persons.columns[0].definition(), QStringLiteral(" PERSON_ID INTEGER  NOT NULL "));
    EXPECT_EQ(persons.columnIndex(u"PERSON_SEMOBL"), 67);
    EXPECT_EQ(QString::fromUtf8(persons.columns[14].caption), QStringLiteral("ЕГН"));
    const TableDef &pera = catalogue::table(u"PERA");
    EXPECT_EQ(pera.columns[11].definition(), QStringLiteral(" PERO_SUMA NUMERIC  (12,2) "));
    EXPECT_EQ(catalogue::find(u"NOSUCH"), nullptr);
}

TEST(TableNames, FollowScopeAndTheOctober2007Rates)
{
    struct Case {
        const char *base;
        util::Period period;
        const char *name;
    } cases[] = {
        {"PERSONS", {2007, 12}, "PERSONS122007"}, {"PERA", {2006, 1}, "PERA012006"},
        {"DOD", {2004, 5}, "DOD2004"},            {"PERSDATA", {2004, 5}, "PERSDATA"},
        {"NOI", {2007, 9}, "NOI2007"},            {"NOI", {2007, 10}, "NOI200710"},
        {"NOI", {2007, 12}, "NOI200710"},         {"NOI", {2008, 1}, "NOI2008"},
        {"OBS", {2008, 1}, "OBS"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(names::table(QString::fromLatin1(c.base), c.period), QLatin1String(c.name)) << c.base;
}

TEST(Period, TextNextPreviousAndGarbage)
{
    const util::Period dec = *util::Period::fromText(u"122007");
    EXPECT_EQ(dec.next().text(), QStringLiteral("012008"));
    EXPECT_EQ(util::Period(2008, 1).previous().text(), QStringLiteral("122007"));
    EXPECT_EQ(dec.bytes()[0], 107);
    EXPECT_EQ(dec.bytes()[1], 12);
    EXPECT_EQ(dec.bytes()[2], 0);
    for (const char *bad : {"", "132007", "002007", "12207", "ab2007", "1220071"})
        EXPECT_FALSE(util::Period::fromText(QString::fromLatin1(bad))) << bad;
}
