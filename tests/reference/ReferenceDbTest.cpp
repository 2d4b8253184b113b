#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "reference/Calendar.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace plavex;
using plavex::test::TestDatabase;

namespace {

double limitOf(TestDatabase &t, int category)
{
    return fb::Statement::scalar(t.data->transaction(), QStringLiteral("select KAT_LIMIT from KAT2008 where KAT_COD=?"), {category})
        .toDouble();
}

} // namespace

TEST(ReferenceDb, MinimumIncomeRefreshWritesEachUsedCategory)
{
    TestDatabase t(util::Period(2008, 3));
    t.dir.writeNom(QStringLiteral("priloj1_2008.csv"), {"7;;10;Добив;594;484;462;330;286;220;462;418;308",
                                                        "8;;11;Добив на нефт;600;;400;300;200;250;350;450;220"});
    ASSERT_TRUE(t.open());
    storage::DataModule &d = *t.data;
    const int a = reference::addPosition(d, QStringLiteral("Оператор"), 8, QStringLiteral("0111"), 1);
    reference::addPosition(d, QStringLiteral("Миньор"), 8, QStringLiteral("0111"), 1);
    reference::addPosition(d, QStringLiteral("Управител"), 1, QStringLiteral("0111"), 1);
    reference::addPosition(d, QStringLiteral("Без категория"), 0, QStringLiteral("0111"), 1);

    // No row for the activity: nothing changes (a limit already there stays).
    fb::Statement::run(d.transaction(), QStringLiteral("update KAT2008 set KAT_LIMIT=77 where KAT_COD=8"));
    reference::refreshMinimumIncome(d, QStringLiteral("0899"), QStringLiteral("9"));
    EXPECT_EQ(limitOf(t, 8), 77.0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from DL032008 where DL_PORNOMER=9")), 4);

    reference::activitySelected(d, QStringLiteral("0610"), QStringLiteral("07"));
    EXPECT_EQ(limitOf(t, 8), 418.0);
    EXPECT_EQ(limitOf(t, 1), 594.0);
    EXPECT_EQ(limitOf(t, 2), 0.0); // no position of that category
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from DL032008 where DL_SHIFAR='0610' and DL_PORNOMER=7")), 4);
    EXPECT_EQ(fb::Statement::scalar(d.transaction(), QStringLiteral("select FIRMA_KID2 from FIRMA032008")).toString(),
              QStringLiteral("7"));

    // A row without a figure for the category leaves its limit as it was.
    fb::Statement::run(d.transaction(), QStringLiteral("update KAT2008 set KAT_LIMIT=123 where KAT_COD=2"));
    reference::setPositionCategory(d, a, 2);
    reference::refreshMinimumIncome(d, QStringLiteral("0620"), QStringLiteral("8"), a);
    EXPECT_EQ(limitOf(t, 2), 123.0);
}

TEST(ReferenceDb, ParametersFollowTheTableEvents)
{
    TestDatabase t(util::Period(2007, 2));
    calc::Parameters params;
    ASSERT_TRUE(t.open());
    params.attach(*t.data);
    params.reloadAll(*t.data);
    EXPECT_EQ(params.definitions.size(), 3u);
    EXPECT_EQ(params.company.workingWeek, 5);
    // The empty calendar table got its two default calendars.
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from CAL022007")), 2);
    ASSERT_TRUE(params.loadCalendar(*t.data, 1));
    EXPECT_EQ(params.calendar.workingDays, 20);
    EXPECT_EQ(params.calendar.name, QStringLiteral("Петдневна"));

    reference::postCompany(*t.data, {{QStringLiteral("FIRMA_IME"), QStringLiteral("„Орел“ ООД")},
                                     {QStringLiteral("FIRMA_INDDOO"), 2000.0}});
    EXPECT_EQ(params.company.name, QStringLiteral("„Орел“ ООД"));
    EXPECT_EQ(params.company.maxInsurable, 2000.0);

    items::addDefinition(*t.data, items::makeDefinition(101, 1, QStringLiteral("Основна заплата"), QStringLiteral("1")));
    EXPECT_EQ(params.definitions.size(), 4u);
    EXPECT_EQ(items::findDefinition(params.definitions, 101).hars, QStringLiteral("1000000000"));
    EXPECT_EQ(items::findDefinition(params.definitions, 999).code, params.definitions.front().code);

    const int code = reference::newCalendar(*t.data);
    QString error;
    EXPECT_FALSE(reference::setWorkingDays(*t.data, code, QStringLiteral("12"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(reference::setWorkingDays(*t.data, code, QString(31, QLatin1Char('1')), &error));
    ASSERT_TRUE(params.loadCalendar(*t.data, code));
    EXPECT_EQ(params.calendar.workingDays, 28);
}

TEST(ReferenceDb, DefinitionTypeChangeAndDeleteFollowCodeAndType)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    storage::DataModule &d = *t.data;
    items::addDefinition(d, items::makeDefinition(301, 145, QStringLiteral("Наем"), {}));
    const QString pera = d.table(u"PERA");
    d.insertValues(pera, QStringLiteral("PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1"), {1, 1, 301, 145, 50.0});

    util::RecordingPrompter no(false);
    EXPECT_FALSE(items::deleteDefinition(d, 301, no));
    EXPECT_EQ(no.questions.value(0), QStringLiteral("Сигурни ли сте, че искате да изтриете дефиницията на перо 301 Наем ?"));

    util::RecordingPrompter yes(true);
    EXPECT_FALSE(items::deleteDefinition(d, 301, yes));
    EXPECT_EQ(yes.messages.value(0), QStringLiteral("Перо 301 Наем не може да бъде изтрито?"));

    // The type change reaches the month's items, so the check matches again only by the new type.
    items::editDefinition(d, 301, 145, items::makeDefinition(301, 146, QStringLiteral("Наем"), {}));
    EXPECT_EQ(t.scalar(QStringLiteral("select PERO_TYPE from %1").arg(pera)), 146);
    EXPECT_EQ(items::definitionType(d, 301), 146);
    EXPECT_EQ(items::definitionType(d, 999), 0);

    // An item of the code under another type does not keep the definition.
    fb::Statement::run(d.transaction(), QStringLiteral("update %1 set PERO_TYPE=6").arg(pera));
    EXPECT_TRUE(items::deleteDefinition(d, 301, yes));
    EXPECT_EQ(items::definitionType(d, 301), 0);

    EXPECT_FALSE(items::checkNewCode(d, QString()).isEmpty());
    EXPECT_EQ(items::checkNewCode(d, QStringLiteral("1000")), QStringLiteral("Моля въведете друг код или натиснете бутона \"ОТКАЗ\""));
    EXPECT_TRUE(items::checkNewCode(d, QStringLiteral("1001")).isEmpty());

    d.insertValues(d.table(u"PERADEFS"), QStringLiteral("PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS"),
                   {77, 0, QStringLiteral("недовършено"), QStringLiteral("0000000000")});
    items::removeUnfinishedDefinitions(d);
    EXPECT_EQ(items::definitionType(d, 77), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from %1 where PERODEFS_COD=77").arg(d.table(u"PERADEFS"))), 0);

    items::addDefinition(d, items::makeDefinition(5, 1, QString(), {}));
    const auto any = items::pickerDefinitions(d, 0);
    EXPECT_TRUE(std::none_of(any.begin(), any.end(), [](const items::Definition &x) { return x.type >= 200 || x.type == 100 || x.code == 5; }));
    EXPECT_EQ(items::flagCaption(139, 3), QStringLiteral("Здравна осигуровка"));
    EXPECT_EQ(items::flagCaption(1, 3), QStringLiteral("База болнични"));
    EXPECT_EQ(items::flagMark(QStringLiteral("11"), 2), QStringLiteral("д"));
    EXPECT_EQ(items::flagMark(QString(), 1), QStringLiteral("н"));
}

TEST(ReferenceDb, NomenclatureChecks)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    storage::DataModule &d = *t.data;
    const int unit = reference::addUnit(d, QStringLiteral("Цех \"Север\""), 0);
    EXPECT_EQ(unit, 1);
    EXPECT_EQ(reference::checkUnitCode(d, QStringLiteral("1")),
              QStringLiteral("В базата данни вече съществува звено с код 1.\nМоля въведете друг номер или натиснете бутона \"ОТКАЗ\""));
    EXPECT_TRUE(reference::checkUnitCode(d, QStringLiteral("2")).isEmpty());
    EXPECT_FALSE(reference::checkUnit(QStringLiteral("3"), QStringLiteral(" ")).isEmpty());

    const int pos = reference::addPosition(d, QStringLiteral("Счетоводител"), 3, QStringLiteral("6920"), 0);
    EXPECT_TRUE(reference::checkPositionCode(d, QString::number(pos), QString::number(pos)).isEmpty());
    EXPECT_FALSE(reference::checkPositionCode(d, QString::number(pos), QStringLiteral("9")).isEmpty());
    EXPECT_FALSE(reference::checkPosition(QStringLiteral("1"), QStringLiteral("x"), QStringLiteral("3"), QString(), QStringLiteral("1")).isEmpty());

    EXPECT_FALSE(reference::checkTown(QStringLiteral("  ")).isEmpty());
    EXPECT_EQ(reference::addTown(d, QStringLiteral("Бяла"), 18), 1);
    EXPECT_EQ(reference::addTown(d, QStringLiteral("Д'Арк"), 0), 2);
    EXPECT_EQ(fb::Statement::scalar(d.transaction(), QStringLiteral("select GRAD_IME from GRAD where GRAD_COD=2")).toString(),
              QStringLiteral("Д'Арк"));
}

// Born after 1959: as text after "6001010000", and everybody born since 2000
// (month + 40) although such numbers sort first. "6000000000" is in neither group.
TEST(ReferenceDb, AgeGroupsCountThoseBornSince2000AmongTheYoung)
{
    struct Case {
        const char *egn;
        bool after1959;
        bool before1960;
    };
    const Case cases[] = {
        {"5905010005", false, true}, {"6101010008", true, false}, {"9912310004", true, false},
        {"0545010003", true, false}, {"0012310000", false, true}, {"6000000000", false, false},
    };
    TestDatabase t(util::Period(2025, 3));
    ASSERT_TRUE(t.open());
    int id = 0;
    for (const Case &c : cases) {
        EXPECT_EQ(reference::bornAfter1959(QString::fromLatin1(c.egn)), c.after1959) << c.egn;
        EXPECT_EQ(reference::bornBefore1960(QString::fromLatin1(c.egn)), c.before1960) << c.egn;
        t.data->insertValues(t.data->table(u"PERSONS"), QStringLiteral("PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_EGN"),
                             {++id, id, QStringLiteral("Служител"), QString::fromLatin1(c.egn)});
    }
    // The conditions the sums use split the same way.
    auto count = [&](const QString &condition) {
        return t.scalar(QStringLiteral("select count(*) from %1 where %2").arg(t.data->table(u"PERSONS"), condition));
    };
    EXPECT_EQ(count(reference::sqlBornAfter1959()), 3);
    EXPECT_EQ(count(reference::sqlBornBefore1960()), 2);
}
