#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace plavex;

namespace {

class MonthCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The shipped item chart and 2008 service files, as a program folder has them.
        test::copyShippedNoms(dir.path());
    }
    test::CliRun cli(const QStringList &args) { return test::runCli(dir.path(), args); }
    test::TempProgramDir dir;
};

} // namespace

TEST_F(MonthCli, DemoCloseMonthAndTheSwitch)
{
    test::CliRun r = cli({"demo", "--employees", "12", "--months", "2"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Текущ месец: 032008"))) << r.out.toStdString();

    // March exists now: closing February again needs the answer, and the
    // closing itself is asked for first, as the window asks.
    ASSERT_EQ(cli({"period", "022008"}).status, 0);
    r = cli({"close-month"});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Сигурни ли сте?"))) << r.err.toStdString();
    EXPECT_TRUE(cli({"info"}).out.contains(QStringLiteral("Текущ месец: 022008")));
    r = cli({"close-month", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("032008"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("100%")));

    r = cli({"negative-net"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();

    ASSERT_EQ(cli({"autocalc", "off"}).status, 0);
    EXPECT_TRUE(cli({"info"}).out.contains(QStringLiteral("Autocalc: 0")));
    EXPECT_NE(cli({"autocalc", "maybe"}).status, 0);
    EXPECT_NE(cli({"demo", "--employees", "5", "--months", "1"}).status, 0); // not into a company that has employees
}

TEST_F(MonthCli, BulkCommands)
{
    ASSERT_EQ(cli({"init", "--period", "012008"}).status, 0);
    ASSERT_EQ(cli({"employee", "add", "--number", "101", "--name", "Иванов", "--egn", "7501020018"}).status, 0);
    ASSERT_EQ(cli({"employee", "add", "--number", "102", "--name", "Петров", "--egn", "7501020023"}).status, 0);

    test::CliRun r = cli({"bulk", "add-item", "--code", "6", "--suma1", "120"});
    EXPECT_NE(r.status, 0); // asks
    r = cli({"bulk", "add-item", "--code", "6", "--suma1", "120", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("2"));

    r = cli({"bulk", "change-percent", "--code", "102", "--old", "0"});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("3-те полета"))) << r.err.toStdString();
    r = cli({"bulk", "change-percent", "--code", "6", "--old", "120", "--new", "130.5", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("2"));

    EXPECT_EQ(cli({"bulk", "correct-percents"}).status, 0);
    r = cli({"bulk", "delete-code", "6", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("2"));
    EXPECT_NE(cli({"bulk", "delete-code", "abc", "--yes"}).status, 0);
}

TEST_F(MonthCli, BackupAndRestore)
{
    ASSERT_EQ(cli({"init", "--period", "012008"}).status, 0);
    ASSERT_EQ(cli({"employee", "add", "--number", "101", "--name", "Иванов", "--egn", "7501020018"}).status, 0);
    test::CliRun r = cli({"backup"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString file = dir.path() + QStringLiteral("backup/012008back.gbk");
    EXPECT_EQ(r.out.trimmed(), file);
    ASSERT_TRUE(QFile::exists(file));

    ASSERT_EQ(cli({"employee", "add", "--number", "102", "--name", "Петров", "--egn", "7501020023"}).status, 0);
    r = cli({"restore", file});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--yes")));
    EXPECT_TRUE(cli({"info"}).out.contains(QStringLiteral("Служители: 2")));

    const QString other = dir.path() + QStringLiteral("copy.gdb");
    r = cli({"restore", file, "--into", other, "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(cli({"--db", other, "info"}).out.contains(QStringLiteral("Служители: 1")));
    r = cli({"restore", file, "--into", other, "--yes"});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("вече съществува"))) << r.err.toStdString();

    r = cli({"restore", file, "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(cli({"info"}).out.contains(QStringLiteral("Служители: 1")));
}
