#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include "storage/UsersDatabase.h"
#include "storage/fb/Statement.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace plavex;

namespace {

test::CliRun cli(const QStringList &args) { return test::runCli(QString(), args); }

} // namespace

TEST(Cli, InitPeriodAndInfo)
{
    test::TempProgramDir dir;
    const QStringList base{QStringLiteral("--program-dir"), dir.path()};

    test::CliRun r = cli(base + QStringList{"info"});
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(QFile::exists(dir.databasePath()));

    r = cli(base + QStringList{"init", "--period", "112007"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.databasePath()));

    r = cli(base + QStringList{"period", "122007"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    r = cli(base + QStringList{"info"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Текущ месец: 122007"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Autocalc: 1")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Служители: 0")));
    EXPECT_TRUE(r.out.contains(dir.databasePath()));

    for (const char *bad : {"13200", "132007"}) {
        r = cli(base + QStringList{"period", QLatin1String(bad)});
        EXPECT_NE(r.status, 0) << bad;
        EXPECT_FALSE(r.err.trimmed().isEmpty());
    }
    EXPECT_EQ(cli(base + QStringList{"nosuchcommand"}).status, 2);
}


TEST(Cli, SecondProcessWorksOnAnOpenDatabase)
{
    test::TestDatabase t(util::Period(2008, 3));
    ASSERT_TRUE(t.open());
    // Keep a write of our own pending in the open transaction.
    t.data->insertValues(t.data->table(u"ZVENA"), QStringLiteral("ZVENO_COD,ZVENO_IME"), {1, QStringLiteral("Цех")});

    const test::CliRun r = cli({QStringLiteral("--program-dir"), t.dir.path(), QStringLiteral("info")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Текущ месец: 032008"))) << r.out.toStdString();
    t.data->commitRetaining();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from ZVENA032008")), 1);
}

TEST(Cli, UserSystemRequiresALogin)
{
    test::TempProgramDir dir;
    const QStringList base{QStringLiteral("--program-dir"), dir.path()};
    ASSERT_EQ(cli(base + QStringList{"init"}).status, 0);
    {
        util::RecordingPrompter prompter;
        storage::UsersDatabase users(prompter);
        ASSERT_TRUE(users.open(dir.path()));
        users.setUserSystem(true);
    }
    EXPECT_NE(cli(base + QStringList{"info"}).status, 0);
    EXPECT_NE(cli(base + QStringList{"--user", "SYSADMIN", "--password", "' or ''='", "info"}).status, 0);
    EXPECT_EQ(cli(base + QStringList{"--user", " SYSADMIN ", "--password", "vintaxeru", "info"}).status, 0);
}
