// The calculation end to end on a real database.
#include "calc/CalcPerson.h"
#include "calc/History.h"
#include "calc/MonthlyRecord.h"
#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "reference/Company.h"
#include "storage/fb/Statement.h"
#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace plavex;

namespace {

class CalcDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.dir.writeNom(QStringLiteral("DOD2008.csv"), {QStringLiteral("2008;0;0;0.10")});
        ASSERT_TRUE(t.open());
        d = t.data.get();
        params.attach(*d);
        params.reloadAll(*d);
        reference::postCompany(*d, {{QStringLiteral("FIRMA_INDDOO"), 2000.0},
                                    {QStringLiteral("FIRMA_MINDOH"), 220.0},
                                    {QStringLiteral("FIRMA_MINSALARY"), 180.0}});
        for (const auto &[code, type, hars] : {std::tuple{101, 1, "1"}, {401, 139, "0"}, {501, 140, "0"}, {301, 11, "0"}})
            items::addDefinition(*d, items::makeDefinition(code, type, QStringLiteral("Перо %1").arg(code), QLatin1String(hars)));
    }

    void addEmployee(int id, int number, int active = 1)
    {
        d->insertRow(d->table(u"PERSONS"),
                     QStringLiteral("(PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_EGN,PERSON_ACT,PERSON_KALENDAR,PERSON_SYSZ,"
                                    "PERSON_NOS,PERSON_NOSN)"),
                     {id, number, QStringLiteral("Служител %1").arg(number), QStringLiteral("7501010000"), active, 1, 1,
                      QStringLiteral("01"), 1});
    }

    int addItem(int person, int code, int type, double amount1 = 0, const QDate &begin = {}, const QDate &end = {}, int d0 = 0)
    {
        const int id = d->getMaxValue(d->table(u"PERA"), QStringLiteral("PERO_PEROID")) + 1;
        d->insertRow(d->table(u"PERA"),
                     QStringLiteral("(PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1,PERO_D,PERO_BEGINDATE,PERO_ENDDATE)"),
                     {id, person, code, type, amount1, d0, begin.isValid() ? QVariant(begin) : QVariant(),
                      end.isValid() ? QVariant(end) : QVariant()});
        return id;
    }

    // Salary, 12 % pension, tax and the three totals.
    void addStandardItems(int person, double salary)
    {
        addItem(person, 101, 1, salary);
        addItem(person, 401, 139, 12);
        addItem(person, 501, 140);
        addItem(person, 1000, 100);
        addItem(person, 2000, 200);
        addItem(person, 2010, 201);
    }

    double final(int person, int code)
    {
        return fb::Statement::scalar(d->transaction(),
                                     QStringLiteral("select PERO_SUMAFINAL from PERA012008 where PERO_PERSONID=? and PERO_COD=?"),
                                     {person, code})
            .toDouble();
    }

    QVariant summary(int person, const char *column)
    {
        return fb::Statement::scalar(d->transaction(),
                                     QStringLiteral("select %1 from PERSDATA where PERSDATA_PERSONID=? and PERSDATA_GOD=2008 "
                                                    "and PERSDATA_MES=1").arg(QLatin1String(column)),
                                     {person});
    }

    test::TestDatabase t{util::Period(2008, 1)};
    storage::DataModule *d = nullptr;
    calc::Parameters params;
};

TEST_F(CalcDb, RecalculatingWritesOnlyWhatChanged)
{
    addEmployee(1, 11);
    addStandardItems(1, 1100);

    calc::Calculation r = calc::calcPerson(*d, params, 1);
    ASSERT_EQ(r.outcome, calc::Outcome::Calculated);
    EXPECT_EQ(r.itemsWritten, 6);
    EXPECT_TRUE(r.summaryWritten);
    EXPECT_DOUBLE_EQ(final(1, 101), 1100.00);
    EXPECT_DOUBLE_EQ(final(1, 401), 132.00);
    EXPECT_DOUBLE_EQ(final(1, 501), 96.80);
    EXPECT_DOUBLE_EQ(final(1, 2010), 871.20);
    EXPECT_DOUBLE_EQ(summary(1, "PERSDATA_SPOL").toDouble(), 871.20);
    EXPECT_DOUBLE_EQ(summary(1, "PERSDATA_SOBL").toDouble(), 968.00);
    EXPECT_EQ(summary(1, "PERSDATA_RABDNI").toInt(), 22);
    EXPECT_EQ(summary(1, "PERSDATA_RR").toInt(), 101);
    EXPECT_EQ(summary(1, "PERSDATA_KORKOEF").toInt(), 1);
    EXPECT_EQ(params.calendar.workingDays, 22);

    // Nothing changed: nothing written.
    r = calc::calcPerson(*d, params, 1);
    EXPECT_EQ(r.itemsWritten, 0);
    EXPECT_FALSE(r.summaryWritten);

    fb::Statement::run(d->transaction(), QStringLiteral("update PERA012008 set PERO_SUMA1=1210 where PERO_COD=101"));
    r = calc::calcPerson(*d, params, 1);
    EXPECT_EQ(r.itemsWritten, 6);
    EXPECT_TRUE(r.summaryWritten);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERSDATA where PERSDATA_PERSONID=1")), 1);
    EXPECT_DOUBLE_EQ(summary(1, "PERSDATA_SNACH").toDouble(), 1210.00);
}

TEST_F(CalcDb, InactiveAndAutocalcOffKeepTheirRules)
{
    addEmployee(1, 11);
    addStandardItems(1, 1100);
    const int leave = addItem(1, 301, 11, 0, QDate(2008, 1, 21), QDate(2008, 1, 25), 2);
    calc::calcPerson(*d, params, 1);
    const double leavePay = final(1, 301);
    EXPECT_DOUBLE_EQ(leavePay, 250.00);

    // Autocalc off: the stale day count follows the calendar, amounts stay.
    d->setAutocalc(false);
    fb::Statement::run(d->transaction(), QStringLiteral("update PERA012008 set PERO_D=2, PERO_SUMA1=5000 where PERO_PEROID=?"), {leave});
    fb::Statement::run(d->transaction(), QStringLiteral("update PERA012008 set PERO_SUMA1=5000 where PERO_COD=101"));
    calc::Calculation r = calc::calcPerson(*d, params, 1);
    EXPECT_EQ(r.outcome, calc::Outcome::AutocalcOff);
    EXPECT_EQ(r.itemsWritten, 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select PERO_D from PERA012008 where PERO_PEROID=?"), {leave}), 5);
    EXPECT_DOUBLE_EQ(final(1, 101), 850.00);
    EXPECT_DOUBLE_EQ(final(1, 301), leavePay);

    // Dismissed: every amount 0 and no monthly record.
    d->setAutocalc(true);
    addEmployee(2, 12, 0);
    addStandardItems(2, 900);
    fb::Statement::run(d->transaction(), QStringLiteral("update PERA012008 set PERO_SUMA=9, PERO_SUMAFINAL=9 where PERO_PERSONID=2"));
    r = calc::calcPerson(*d, params, 2);
    EXPECT_EQ(r.outcome, calc::Outcome::Inactive);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERA012008 where PERO_PERSONID=2 and (PERO_SUMA<>0 or PERO_SUMAFINAL<>0)")), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERSDATA where PERSDATA_PERSONID=2")), 0);
}

TEST_F(CalcDb, EarlierMonthsFeedTheLeaveAverage)
{
    addEmployee(1, 11);
    addStandardItems(1, 1100);
    addItem(1, 301, 11, 0, QDate(2008, 1, 21), QDate(2008, 1, 25));
    test::TestDatabase &db = t;

    ASSERT_TRUE(calc::addEarlierMonth(*d, db.prompter, 1, util::Period(2007, 12)));
    EXPECT_FALSE(calc::addEarlierMonth(*d, db.prompter, 1, util::Period(2007, 12)));
    ASSERT_EQ(db.prompter.messages.size(), 1);
    EXPECT_EQ(db.prompter.messages.front(), QStringLiteral("В базата данни вече съществува запис за това лице за месец декември 2007 г"));

    calc::HistoryRow row = calc::earlierMonths(*d, 1).front();
    row.rabdni = 21;
    row.odni = 21;
    row.bot12 = 1050;
    calc::updateEarlierMonth(*d, row);

    calc::calcPerson(*d, params, 1);
    EXPECT_DOUBLE_EQ(final(1, 301), 238.64); // 5 x 21/22 x 1050/21

    const std::vector<calc::HistoryRow> list = calc::earlierMonths(*d, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].period(), util::Period(2008, 1));
    EXPECT_EQ(list[1].period(), util::Period(2007, 12));
    EXPECT_EQ(list[0].days(), 22); // 17 worked + 5 of leave, no absence

    util::RecordingPrompter no(false);
    EXPECT_FALSE(calc::deleteEarlierMonth(*d, no, 1, util::Period(2007, 12)));
    EXPECT_EQ(no.questions.front(), QStringLiteral("Сигурни ли сте, че искате да изтриете данните за месец декември 2007 г ?"));
    EXPECT_TRUE(calc::deleteEarlierMonth(*d, db.prompter, 1, util::Period(2007, 12)));
    EXPECT_EQ(calc::earlierMonths(*d, 1).size(), 1u);
}

TEST_F(CalcDb, HistoryWindowsWithinAndAcrossAYear)
{
    for (const util::Period &p : {util::Period(2007, 6), util::Period(2007, 8), util::Period(2007, 12), util::Period(2008, 1),
                                  util::Period(2008, 2), util::Period(2008, 3), util::Period(2008, 4)})
        d->insertValues(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SDNI"),
                        {1, p.year(), p.month(), p.month()});
    d->insertValues(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES"), {2, 2007, 12});
    calc::DatabaseHistory history(*d);
    auto months = [](const std::vector<calc::HistoryRow> &rows) {
        std::vector<int> m;
        for (const auto &r : rows)
            m.push_back(r.year * 100 + r.month);
        std::sort(m.begin(), m.end());
        return m;
    };
    EXPECT_EQ(months(history.window(1, util::Period(2007, 8), util::Period(2008, 1))), (std::vector<int>{200708, 200712, 200801}));
    EXPECT_EQ(months(history.window(1, util::Period(2008, 2), util::Period(2008, 3))), (std::vector<int>{200802, 200803}));
    // The fund's eighteen months may span three years: the one between counts too.
    d->insertValues(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES"), {1, 2006, 11});
    EXPECT_EQ(months(history.window(1, util::Period(2006, 11), util::Period(2008, 2))),
              (std::vector<int>{200611, 200706, 200708, 200712, 200801, 200802}));
    EXPECT_EQ(history.month(1, util::Period(2007, 12))->sdni, 12);
    EXPECT_FALSE(history.month(1, util::Period(2007, 7)));
    EXPECT_EQ(history.earlierMonths(1).front().period(), util::Period(2008, 4));
}

TEST_F(CalcDb, ReportSumsCountActiveEmployeesOnly)
{
    addEmployee(1, 11);
    addStandardItems(1, 1100);
    addEmployee(2, 12);
    addStandardItems(2, 550);
    calc::calcPerson(*d, params, 1);
    calc::calcPerson(*d, params, 2);
    fb::Statement::run(d->transaction(), QStringLiteral("update PERSONS012008 set PERSON_ACT=0 where PERSON_ID=2"));

    EXPECT_DOUBLE_EQ(calc::sumOfActive(*d, QStringLiteral("PERSDATA_SNACH")), 1100.00);
    EXPECT_DOUBLE_EQ(calc::sumOfActive(*d, QStringLiteral("PERSDATA_SNACH"), QStringLiteral("PERSON_NOMER=?"), {12}), 0.0);
    EXPECT_DOUBLE_EQ(calc::workedDaysOfCode(*d, 101), 22);
    const calc::BaseSums sums = calc::baseSums(*d);
    EXPECT_DOUBLE_EQ(sums.taxBase, 968.00);
    EXPECT_DOUBLE_EQ(sums.insurable, 1100.00);
    EXPECT_DOUBLE_EQ(calc::baseSums(*d, 99).insurable, 0.0);
    EXPECT_THROW(calc::sumOfActive(*d, QStringLiteral("PERSDATA_SNACH) from persdata; --")), std::exception);
}

TEST_F(CalcDb, RecalculateAllFromTheCommandLine)
{
    addEmployee(1, 11);
    addStandardItems(1, 1100);
    addEmployee(2, 12);
    addStandardItems(2, 550);
    addEmployee(3, 13, 0);
    addStandardItems(3, 700);
    d->storeCurDate();

    auto cli = [this](const QStringList &args) {
        const test::CliRun r = test::runCli(t.dir.path(), args);
        return std::tuple{r.status, r.out, r.err};
    };
    auto [status, out, err] = cli({QStringLiteral("recalc")});
    ASSERT_EQ(status, 0) << err.toStdString();
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("    11  Служител 11"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("1100.00       132.00        96.80         871.20"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[3].contains(QStringLiteral("уволнен")));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("Общо (2 служители)")));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("1650.00       198.00       145.20        1306.80"))) << lines[4].toStdString();

    std::tie(status, out, err) = cli({QStringLiteral("recalc"), QStringLiteral("--employee"), QStringLiteral("12")});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Общо (1 служители)")));

    std::tie(status, out, err) = cli({QStringLiteral("recalc"), QStringLiteral("--employee"), QStringLiteral("99")});
    EXPECT_NE(status, 0);
    EXPECT_EQ(err.trimmed(), QStringLiteral("Няма служител с номер 99 в месец 012008."));

    // The command's writes are committed: this connection sees them.
    d->commitRetaining();
    EXPECT_DOUBLE_EQ(final(2, 2010), 435.60);
}

} // namespace

TEST_F(CalcDb, OneEmployeesWritesStandOrFallTogetherAndTheWalkGoesOn)
{
    for (int id : {1, 2, 3}) {
        addEmployee(id, 10 + id);
        addStandardItems(id, 1100);
    }
    // The monthly record of the second employee cannot be written: his
    // amounts, written just before, must go with it.
    fb::Statement::run(d->transaction(), QStringLiteral("create exception PLAVEX_TEST_REFUSED 'refused'"));
    fb::Statement::run(d->transaction(), QStringLiteral("create trigger PLAVEX_TEST_REFUSE for PERSDATA before insert or update as "
                                                        "begin if (new.PERSDATA_PERSONID = 2) then exception PLAVEX_TEST_REFUSED; end"));
    d->commitRetaining();

    std::vector<calc::Calculation> results;
    calc::recalculateAll(*d, params, [&](const calc::Calculation &r, int, int) { results.push_back(r); });
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].error.isEmpty());
    EXPECT_FALSE(results[1].error.isEmpty());
    EXPECT_TRUE(results[2].error.isEmpty());
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERA012008 where PERO_PERSONID=2 and PERO_SUMAFINAL<>0")), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERSDATA where PERSDATA_PERSONID=2")), 0);
    for (int id : {1, 3}) {
        EXPECT_DOUBLE_EQ(final(id, 2010), 871.20) << id;
        EXPECT_DOUBLE_EQ(summary(id, "PERSDATA_SPOL").toDouble(), 871.20) << id;
    }
}

TEST_F(CalcDb, RecalculateAllWithAutocalcOffAndAMissingCalendar)
{
    // Recalculating everybody is asked for by name: it computes with the switch off too.
    d->setAutocalc(false);
    addEmployee(1, 11);
    addStandardItems(1, 1100);
    // A calendar the month does not have: the month's first one serves.
    fb::Statement::run(d->transaction(), QStringLiteral("update PERSONS012008 set PERSON_KALENDAR=99 where PERSON_ID=1"));
    std::vector<calc::Calculation> results;
    calc::recalculateAll(*d, params, [&](const calc::Calculation &r, int, int) { results.push_back(r); });
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].error.isEmpty()) << results[0].error.toStdString();
    EXPECT_EQ(results[0].outcome, calc::Outcome::Calculated);
    EXPECT_DOUBLE_EQ(final(1, 2010), 871.20);
    EXPECT_EQ(summary(1, "PERSDATA_RABDNI").toInt(), 22);
    EXPECT_FALSE(d->autocalc());
}

// The walk reads the month ahead in a few statements; what it calculates
// and writes is what each employee calculated alone gives, whatever order
// the rows lie in.
TEST_F(CalcDb, TheWalkReadsAheadWhatEachEmployeeReadsAlone)
{
    addEmployee(1, 12);
    addEmployee(2, 11);
    // The items of the two lie interleaved, a later type before an earlier one.
    for (int person : {1, 2}) {
        addItem(person, 2010, 201);
        addItem(person, 501, 140);
    }
    for (int person : {2, 1}) {
        addItem(person, 301, 11, 0, QDate(2008, 1, 21), QDate(2008, 1, 25), 5);
        addItem(person, 101, 1, 1000.0 + 100 * person);
        addItem(person, 401, 139, 12);
        addItem(person, 1000, 100);
        addItem(person, 2000, 200);
    }
    fb::Statement::run(d->transaction(), QStringLiteral("update PERA012008 set PERO_PARTIDA='П-7', PERO_BOLNN=NULL where PERO_COD=301 "
                                                        "and PERO_PERSONID=1"));
    // Earlier months feed the leave; the month's own stale record must be rewritten.
    for (const auto &[person, bot12] : {std::pair{1, 1050.0}, {2, 1470.0}})
        d->insertValues(QStringLiteral("PERSDATA"),
                        QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_RABDNI,PERSDATA_ODNI,PERSDATA_BOT12"),
                        {person, 2007, 12, 21, 21, bot12});
    d->insertValues(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SPOL"),
                    {1, 2008, 1, 5.0});
    d->commitRetaining();

    std::vector<calc::Calculation> walked;
    calc::recalculateAll(*d, params, [&](const calc::Calculation &r, int, int) { walked.push_back(r); });
    ASSERT_EQ(walked.size(), 2u);
    EXPECT_EQ(walked[0].employee.number, 11);
    EXPECT_EQ(walked[1].employee.number, 12);
    EXPECT_TRUE(walked[1].summaryWritten);
    EXPECT_DOUBLE_EQ(final(1, 301), 238.64); // 5 x 21/22 x 1050/21
    for (const calc::Calculation &w : walked) {
        ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
        const calc::Calculation alone = calc::calcPerson(*d, params, w.employee.id);
        EXPECT_EQ(alone.itemsWritten, 0) << w.employee.number;
        EXPECT_FALSE(alone.summaryWritten) << w.employee.number;
        EXPECT_DOUBLE_EQ(alone.totals.spol, w.totals.spol);
        ASSERT_EQ(alone.items.size(), w.items.size());
        for (size_t i = 0; i < w.items.size(); ++i) {
            EXPECT_EQ(alone.items[i].id, w.items[i].id) << w.employee.number << " item " << i;
            EXPECT_DOUBLE_EQ(alone.items[i].final, w.items[i].final) << w.items[i].code;
            EXPECT_EQ(alone.items[i].partida, w.items[i].partida);
            EXPECT_EQ(alone.items[i].certificate.isNull(), w.items[i].certificate.isNull());
            EXPECT_EQ(alone.items[i].begin, w.items[i].begin);
        }
    }
    EXPECT_EQ(walked[1].items.front().type, 1);
}
