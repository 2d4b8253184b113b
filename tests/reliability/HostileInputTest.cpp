// What a script or a careless user may hand the command line: each is
// refused with a message, and the database stays exactly as it was.
#include "tests/support/Reliability.h"

#include "storage/Backup.h"
#include "storage/ColumnValue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

TEST(HostileInput, EveryRefusalLeavesTheDatabaseAsItWas)
{
    CliCompany c;
    const QStringList add{"employee", "add", "--number", "1002", "--name", "Иван Петров", "--egn", test::kEgn};
    ASSERT_EQ(c.cli({"employee", "add", "--number", "1001", "--name", "Мария Иванова", "--egn", test::kEgn}).status, 0);
    ASSERT_EQ(c.cli({"backup", c.dir() + "backup/b.gbk"}).status, 0);
    QDir().mkpath(c.dir() + "out");
    c.db.dir.writeFile("out/afile.txt", "x");
    const std::string before = c.digest().toStdString();
    const qint64 tablesBefore = c.scalar("select count(*) from RDB$RELATIONS where RDB$SYSTEM_FLAG=0");

    const QString pay = "item add --employee 1001 --code 1";
    struct Case {
        QStringList args;
        QString says; // a part of the message
    };
    const std::vector<Case> cases = {
        // The id is never the caller's; the number only through its check.
        {add + QStringList{"PERSON_ID=1"}, "PERSON_ID"},
        {add + QStringList{"NOMER=1001"}, "--number"},
        {{"employee", "add", "--number", "1001", "--name", "Друг", "--egn", test::kEgn}, "вече съществува служител"},
        {{"employee", "add", "--number", "99999999999", "--name", "Друг", "--egn", test::kEgn}, "цифри"},
        {add + QStringList{"ADDR=" + QString(60, 'a')}, "побира 50"},
        {{"employee", "add", "--number", "1003", "--name", QString(51, QChar(0x0416)), "--egn", test::kEgn}, "побира 50"},
        {{"employee", "add", "--number", "1003", "--name", "Иван \U0001F600", "--egn", test::kEgn}, "знаци"},
        {add + QStringList{"DECA=1e10"}, "цяло число"},
        {add + QStringList{"DECA=nan"}, "цяло число"},
        {add + QStringList{"DECA=40000"}, "извън"},
        {add + QStringList{"DATANAZ=31.02.2025"}, "дата"},
        {add + QStringList{"ADDR=ok", "SYSZ=x"}, "цяло число"}, // one bad field among good ones: nothing is written
        // Amounts and days that are not finite or do not fit.
        {pay.split(' ') + QStringList{"--suma1", "nan"}, "число"},
        {pay.split(' ') + QStringList{"--suma1", "inf"}, "число"},
        {pay.split(' ') + QStringList{"--suma1", "1e12"}, "число"},
        {pay.split(' ') + QStringList{"--suma1", "2000000000"}, "извън"},
        {pay.split(' ') + QStringList{"--d", "1e10"}, "цяло число"},
        {pay.split(' ') + QStringList{"--d", "99999999999"}, "извън"},
        {pay.split(' ') + QStringList{"--partida", QString(21, 'p')}, "побира 20"},
        // Periods outside 1990-2099 make no tables.
        {{"period", "011899"}, "1990"},
        {{"period", "019999"}, "1990"},
        {{"init", "--period", "011899"}, "1990"},
        // What the window confirms needs --yes.
        {{"close-month"}, "Сигурни ли сте?"},
        {{"bulk", "delete-code", "1"}, "Сигурни ли сте"},
        {{"restore", c.dir() + "backup/b.gbk"}, "Сигурни ли сте"},
        // Folders that are not folders.
        {{"decl1", "--out", c.dir() + "out/afile.txt"}, "е файл"},
        {{"decl1", "--out", ""}, "Посочете папка"},
        {{"decl6", "--out", c.dir() + "nowhere"}, "не съществува"},
        // A backup never replaces a database, nor the open one; a restore never goes into the open one.
        {{"backup", c.path()}, "е база данни"},
        {{"backup", c.dir() + "users.gdb"}, "е база данни"},
        {{"backup", c.dir() + "out"}, "папка"},
        {{"restore", c.dir() + "backup/b.gbk", "--into", c.path(), "--yes"}, "текущата база"},
    };
    for (const Case &k : cases) {
        const CliRun r = c.cli(k.args);
        const std::string what = k.args.join(' ').left(120).toStdString();
        EXPECT_EQ(r.status, 1) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(k.says)) << what << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.trimmed().count('\n'), 0) << what << ": " << r.err.toStdString();
        EXPECT_EQ(c.digest().toStdString(), before) << what;
    }
    EXPECT_EQ(c.scalar("select count(*) from RDB$RELATIONS where RDB$SYSTEM_FLAG=0"), tablesBefore);
    EXPECT_TRUE(storage::isDatabaseFile(c.path()));
    EXPECT_FALSE(storage::isDatabaseFile(c.dir() + "backup/b.gbk"));

    // What is allowed still is: the same fields with values that fit.
    const CliRun ok = c.cli(add + QStringList{"ADDR=ул. \"Шипка\" 5", "DECA=2", "DATANAZ=01.02.2025", "SYSZ=1"});
    EXPECT_EQ(ok.status, 0) << ok.err.toStdString();
    const CliRun money = c.cli(pay.split(' ') + QStringList{"--suma1", "1234,5", "--d", "3"});
    EXPECT_EQ(money.status, 0) << money.err.toStdString();
}

TEST(HostileInput, ARefusedDemoLeavesNoDatabase)
{
    test::TempProgramDir dir;
    test::copyShippedNoms(dir.path());
    const QString fresh = dir.path() + "fresh.gdb";
    for (const QStringList &counts : {QStringList{"0", "1"}, QStringList{"5", "-1"}, QStringList{"99999999", "1"}}) {
        const CliRun r = test::runCli(dir.path(), {"--db", fresh, "demo", "--employees", counts[0], "--months", counts[1]});
        EXPECT_EQ(r.status, 1) << counts.join(' ').toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(fresh)) << counts.join(' ').toStdString();
    }
}

TEST(HostileInput, ARatesFileThatStopsFailsTheCommand)
{
    test::TempProgramDir dir;
    test::copyShippedNoms(dir.path());
    QFile rates(dir.path() + "noms/noi_proc2025.csv");
    ASSERT_TRUE(rates.open(QIODevice::Append));
    rates.write("01;1;nan;1;1;1\r\n");
    rates.close();
    const CliRun r = test::runCli(dir.path(), {"init", "--period", "032025"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("noi_proc2025.csv")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QRegularExpression("ред \\d+"))) << r.err.toStdString();
}

TEST(ColumnValue, TypedTextIsReadAsTheColumnHoldsIt)
{
    const auto &amount = storage::catalogueColumn(u"PERA", "PERO_SUMA1"); // NUMERIC(12,3)
    const auto &days = storage::catalogueColumn(u"PERA", "PERO_D");       // INTEGER
    const auto &children = storage::catalogueColumn(u"PERSONS", "PERSON_DECA"); // SMALLINT
    const auto &minimumWage = storage::catalogueColumn(u"FIRMA", "FIRMA_MINSALARY");
    struct Case {
        const storage::ColumnDef &column;
        QString text;
        QVariant value; // invalid: refused
    };
    const std::vector<Case> cases = {
        {amount, " 12 ", 12.0},      {amount, "1234,5", 1234.5},  {amount, ".5", 0.5},      {amount, "-0.001", -0.001},
        {amount, "999999999.999", 999999999.999}, {amount, "1000000000", {}}, {amount, "1e3", {}}, {amount, "nan", {}},
        {amount, "-inf", {}},        {amount, "12a", {}},         {amount, "", QVariant()},  {days, "+3", qint64(3)},
        {days, "2147483647", qint64(2147483647)}, {days, "2147483648", {}}, {days, "1.5", {}}, {children, "32767", qint64(32767)},
        {children, "32768", {}},
        // A narrow NUMERIC holds what the engine stores for it: a minimum wage in NUMERIC(5,4).
        {minimumWage, "780.00", 780.0}, {minimumWage, "300000", {}},
    };
    for (const Case &k : cases) {
        QVariant v;
        const QString problem = storage::parseColumnValue(k.column, k.text, v);
        if (k.value.isValid() || k.text.isEmpty()) {
            EXPECT_TRUE(problem.isEmpty()) << k.text.toStdString() << ": " << problem.toStdString();
            EXPECT_EQ(v, k.value) << k.text.toStdString();
        } else {
            EXPECT_FALSE(problem.isEmpty()) << k.text.toStdString();
            EXPECT_TRUE(problem.contains(QLatin1String(k.column.name))) << problem.toStdString();
        }
    }
}
