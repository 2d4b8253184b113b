// Months of 2025-2027 as a new user meets them through the command line:
// the law's days off in the default calendars, a year the program ships no
// figures for, a new employee's contributions and the minimum wage.
#include "tests/support/Reliability.h"

#include "items/Items.h"
#include "reference/Nomenclatures.h"
#include "storage/DataModule.h"
#include "storage/StatutoryFigures.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"
#include "util/CodePage.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

CliRun ok(const CliCompany &c, const QStringList &args)
{
    const CliRun r = c.cli(args);
    EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
    return r;
}

QVariant value(CliCompany &c, const QString &sql, const QVariantList &values = {})
{
    c.db.data->transaction().commitRetaining(); // what the commands committed
    return fb::Statement::scalar(c.db.data->transaction(), sql, values);
}

// An employee's items in the order they were made: code, type, percentage.
QStringList itemsOf(CliCompany &c, const QString &month, int number)
{
    c.db.data->transaction().commitRetaining();
    fb::Statement q(c.db.data->transaction(),
                    QStringLiteral("select PERO_COD, PERO_TYPE, PERO_SUMA1 from PERA%1 where PERO_PERSONID="
                                   "(select PERSON_ID from PERSONS%1 where PERSON_NOMER=?) order by PERO_PEROID")
                        .arg(month));
    q.bind(0, number);
    QStringList items;
    while (q.next())
        items << QStringLiteral("%1/%2/%3").arg(q.toInt(0)).arg(q.toInt(1)).arg(q.isNull(2) ? 0.0 : q.toDouble(2));
    return items;
}

} // namespace

TEST(CurrentLaw, InitShowsTheLawsWorkingDaysFrom2017AndTheFixedDaysBefore)
{
    test::TempProgramDir dir;
    test::copyShippedNoms(dir.path());
    const struct {
        const char *period;
        const char *calendars;
    } cases[] = {
        {"122026", "1 Петдневна – 20, 2 Шестдневна – 23"}, // 24, 25, 26 and 28 December off
        {"042026", "1 Петдневна – 20, 2 Шестдневна – 23"}, // Easter, Friday to Monday
        {"122025", "1 Петдневна – 19, 2 Шестдневна – 23"}, // with the decided 31st
        {"032008", "1 Петдневна – 20, 2 Шестдневна – 25"}, // as before: only 3 March
    };
    for (const auto &c : cases) {
        const CliRun r = test::runCli(dir.path(), {"init", "--period", c.period});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("Работни дни по календари: ") + QString::fromUtf8(c.calendars)))
            << c.period << ": " << r.out.toStdString();
    }
}

// December 2026 closed into January 2027, for which nothing is shipped: the
// year's tables take 2026's, the company row the law's last figures, and
// the program says so once; a file of 2027's own is read by the reseed.
TEST(CurrentLaw, AYearWithoutShippedFiguresCarriesTheLastAndSaysSo)
{
    CliCompany c(QStringLiteral("122026"));
    ok(c, {"employee", "add", "--number", "1", "--name", "Мария Иванова", "--egn", test::kEgn});
    ok(c, {"item", "add", "--employee", "1", "--code", "1", "--suma1", "1000"});
    const QString message = storage::carriedFiguresMessage(2027, 2026);
    EXPECT_EQ(message, QStringLiteral("Данните за 2027 г. не са доставени с програмата: прилагат се данните за 2026 г. Проверете ги."));

    const CliRun closing = ok(c, {"close-month", "--yes"});
    EXPECT_EQ(closing.err.count(message), 1) << closing.err.toStdString();
    EXPECT_FALSE(closing.err.contains(QStringLiteral("Няма данни за максималния осигурителен доход"))) << closing.err.toStdString();
    const CliRun totals = ok(c, {"recalc"});
    EXPECT_TRUE(totals.out.contains(QRegularExpression("1000\\.00 +137\\.80 +86\\.22 +775\\.98"))) << totals.out.toStdString();

    EXPECT_EQ(value(c, "select count(*) from DOD2027 where DOD_GOD=2027 and DOD_PROC=0.1").toInt(), 1);
    EXPECT_EQ(value(c, "select count(*) from NOI2027").toInt(), value(c, "select count(*) from NOI2026").toInt());
    EXPECT_DOUBLE_EQ(value(c, "select FIRMA_INDDOO from FIRMA012027").toDouble(), 2300.0);
    EXPECT_DOUBLE_EQ(value(c, "select FIRMA_MINSALARY from FIRMA012027").toDouble(), 620.20);

    // The next month of the year says nothing more; a year straight after
    // (no closing) is carried the same way.
    EXPECT_FALSE(ok(c, {"close-month", "--yes"}).err.contains(message));
    const CliRun later = ok(c, {"period", "032028"});
    EXPECT_EQ(later.err.count(storage::carriedFiguresMessage(2028, 2026)), 1) << later.err.toStdString();
    EXPECT_EQ(value(c, "select count(*) from DOD2028 where DOD_PROC=0.1").toInt(), 1);

    // The 2027 scale arrives: the reseed of the year's tables reads it.
    QFile scale(c.dir() + QStringLiteral("noms/DOD2027.csv"));
    ASSERT_TRUE(scale.open(QIODevice::WriteOnly));
    scale.write("2027;0;0;0.12\r\n");
    scale.close();
    c.db.data->changePeriod(2027, 2);
    reference::replaceServiceNomenclatures(*c.db.data);
    EXPECT_DOUBLE_EQ(value(c, "select DOD_PROC from DOD2027").toDouble(), 0.12);
    EXPECT_EQ(value(c, "select count(*) from NOI2027").toInt(), value(c, "select count(*) from NOI2026").toInt());
}

// A new company in February 2026: the new employee pays his contributions
// without a typed item, by his birth group; the standard items put back one
// that is missing.
TEST(CurrentLaw, ANewEmployeeCarriesHisContributions)
{
    CliCompany c(QStringLiteral("022026"));
    ok(c, {"employee", "add", "--number", "1", "--name", "Мария Иванова", "--egn", test::kEgn});
    ok(c, {"employee", "add", "--number", "2", "--name", "Иван Петров", "--egn", "5903030058"});
    ok(c, {"item", "add", "--employee", "1", "--code", "1", "--suma1", "1000"});
    const CliRun totals = ok(c, {"recalc"});
    EXPECT_TRUE(totals.out.contains(QRegularExpression("     1  Мария Иванова +1000\\.00 +137\\.80 +86\\.22 +775\\.98")))
        << totals.out.toStdString();

    // The four standard items first, in their order, then ДОО, ДЗПО, ЗО and
    // unemployment at the shares of those born after 1959.
    EXPECT_EQ(itemsOf(c, "022026", 1), (QStringList{"2010/201/0", "2000/200/0", "1000/100/0", "101/140/0", "102/139/7.98",
                                                     "103/139/2.2", "104/139/3.2", "105/139/0.4", "1/1/1000"}));
    // Born in 1959: the older shares and no supplementary pension.
    EXPECT_EQ(itemsOf(c, "022026", 2),
              (QStringList{"2010/201/0", "2000/200/0", "1000/100/0", "101/140/0", "102/139/10.18", "104/139/3.2", "105/139/0.4"}));

    const int id = static_cast<int>(value(c, "select PERSON_ID from PERSONS022026 where PERSON_NOMER=1").toInt());
    fb::Statement::run(c.db.data->transaction(), "delete from PERA022026 where PERO_PERSONID=? and PERO_COD=104", {id});
    c.db.data->changePeriod(2026, 2);
    EXPECT_EQ(items::addStandardItems(*c.db.data, id), 1);
    EXPECT_TRUE(itemsOf(c, "022026", 1).contains(QStringLiteral("104/139/3.2")));
    EXPECT_EQ(items::addStandardItems(*c.db.data, id), 0);
}

// Base salaries below the minimum wage of January 2026 (620.20 €) are
// named by recalc and in the closing's report; nothing is changed.
TEST(CurrentLaw, ABaseSalaryBelowTheMinimumWageIsNamed)
{
    CliCompany c(QStringLiteral("012026"));
    const struct {
        const char *number;
        const char *name;
        const char *salary;
        const char *paySystem;
        bool below;
    } staff[] = {
        {"1", "Под минималната", "603.33", "1", true},
        {"2", "На минималната", "620.20", "1", false},
        {"3", "Четири часа", "310.10", "6", false}, // half the minimum
        {"4", "Шест часа", "465.14", "7", true},    // below three quarters (465.15)
    };
    for (const auto &s : staff) {
        ok(c, {"employee", "add", "--number", s.number, "--name", s.name, "--egn", test::kEgn, QStringLiteral("SYSZ=%1").arg(s.paySystem)});
        ok(c, {"item", "add", "--employee", s.number, "--code", "1", "--suma1", s.salary});
    }
    const CliRun r = ok(c, {"recalc"});
    EXPECT_TRUE(r.out.contains(QStringLiteral("Основната заплата 603.33 е под минималната работна заплата 620.20.")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Основната заплата 465.14 е под минималната работна заплата за 6 часа работно време 465.15.")))
        << r.out.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("Основната заплата")), 2) << r.out.toStdString();

    const CliRun closing = ok(c, {"close-month", "--yes"});
    EXPECT_TRUE(closing.err.contains(QStringLiteral("Основната заплата на 2 служители е под минималната работна заплата")))
        << closing.err.toStdString();
    QFile endmes(c.dir() + QStringLiteral("ENDMES.TXT"));
    ASSERT_TRUE(endmes.open(QIODevice::ReadOnly));
    const QString report = util::fromCp1251(endmes.readAll());
    EXPECT_TRUE(report.contains(QStringLiteral("1 Под минималната: Основната заплата 603.33"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("4 Шест часа: Основната заплата 465.14"))) << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("На минималната"))) << report.toStdString();
    EXPECT_DOUBLE_EQ(value(c, "select PERO_SUMA1 from PERA022026 p join PERSONS022026 e on e.PERSON_ID=p.PERO_PERSONID "
                              "where e.PERSON_NOMER=1 and p.PERO_COD=1")
                         .toDouble(),
                     603.33);
}
