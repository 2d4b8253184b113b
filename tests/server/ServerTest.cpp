// The company database on a Firebird server: the private server the test
// run starts (scripts/test-server), reached on loopback like any server.
#include "tests/support/Reliability.h"

#include "storage/fb/Connection.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

class Server : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = test::TestServer::fromFile(QStringLiteral(PLAVEX_TEST_SERVER_ENV));
        ASSERT_TRUE(server) << "no test server (scripts/test-server start) at " PLAVEX_TEST_SERVER_ENV;
    }
    // A database on the server, made (empty) by the engine itself.
    QString emptyDatabase(const QString &name)
    {
        const QString path = server->database(name);
        fb::Connection::createDatabase(path, server->user, server->password);
        return path;
    }
    std::optional<test::TestServer> server;
};

} // namespace

TEST_F(Server, AMonthOnTheServerFromInitToBackup)
{
    CliCompany c(QStringLiteral("022025"), server, QStringLiteral("month.gdb"));
    ASSERT_TRUE(c.cli({"info"}).out.contains(QStringLiteral("Текущ месец: 022025")));
    ASSERT_EQ(c.cli({"employee", "add", "--number", "101", "--name", "Иван Петров", "--egn", test::kEgn}).status, 0);
    const CliRun pay = c.cli({"item", "add", "--employee", "101", "--code", "1", "--suma1", "1500"});
    ASSERT_EQ(pay.status, 0) << pay.err.toStdString();
    const CliRun recalc = c.cli({"recalc"});
    ASSERT_EQ(recalc.status, 0) << recalc.err.toStdString();
    EXPECT_TRUE(recalc.out.contains(QStringLiteral("1500.00"))) << recalc.out.toStdString();

    QTemporaryDir out;
    const CliRun decl = c.cli({"decl1", "--out", out.path()});
    EXPECT_EQ(decl.status, 0) << decl.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out.path() + "/EMPL2000.TXT"));
    const CliRun report = c.cli({"report", "units", "--out", out.path() + "/units.pdf"});
    EXPECT_EQ(report.status, 0) << report.err.toStdString();

    // The backup is the server's file, beside the database; the message says so.
    const CliRun backup = c.cli({"backup"});
    ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
    EXPECT_EQ(backup.out.trimmed(), server->host + ":" + server->dbDir + "/022025back.gbk");
    const QString copy = server->database("month-copy.gdb");
    const CliRun restore = c.cli({"restore", server->dbDir + "/022025back.gbk", "--into", copy, "--yes"});
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString();
    const CliRun restored = test::runCli(c.dir(), {"--db", copy, "--db-user", server->user, "--db-password", server->password, "info"});
    EXPECT_TRUE(restored.out.contains(QStringLiteral("Служители: 1"))) << restored.out.toStdString() << restored.err.toStdString();

    const CliRun closing = c.cli({"close-month", "--yes"});
    ASSERT_EQ(closing.status, 0) << closing.err.toStdString();
    EXPECT_EQ(closing.out.trimmed(), QStringLiteral("032025"));
    EXPECT_EQ(c.scalar("select count(*) from PERSONS032025"), 1);
}

TEST_F(Server, TwoClientsAtOnce)
{
    CliCompany adds(QStringLiteral("022025"), server, QStringLiteral("adds.gdb"));
    test::expectParallelAddsNeverShareAKey(adds);
    CliCompany closing(QStringLiteral("022025"), server, QStringLiteral("closing.gdb"));
    test::expectClosingBesideAddsLeavesNobodyBehind(closing);
}

TEST_F(Server, AnEmptyDatabaseBecomesACompanyAndAForeignOneIsLeftAlone)
{
    test::TempProgramDir dir;
    test::copyShippedNoms(dir.path());
    const QStringList login{"--db-user", server->user, "--db-password", server->password};

    const QString empty = emptyDatabase("empty.gdb");
    CliRun r = test::runCli(dir.path(), QStringList{"--db", empty} + login + QStringList{"init", "--period", "022025"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = test::runCli(dir.path(), QStringList{"--db", empty} + login + QStringList{"info"});
    EXPECT_TRUE(r.out.contains(QStringLiteral("Текущ месец: 022025"))) << r.out.toStdString();

    const QString foreign = emptyDatabase("foreign.gdb");
    {
        fb::Connection c;
        c.attach(foreign, server->user, server->password);
        fb::Transaction tx(c);
        fb::Statement::run(tx, "create table INVOICES (ID integer)");
        tx.commit();
    }
    r = test::runCli(dir.path(), QStringList{"--db", foreign} + login + QStringList{"init"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("не е на програмата"))) << r.err.toStdString();
    fb::Connection c;
    c.attach(foreign, server->user, server->password);
    fb::Transaction tx(c);
    EXPECT_EQ(fb::Statement::scalar(tx, "select count(*) from RDB$RELATIONS where RDB$SYSTEM_FLAG=0").toLongLong(), 1);
    tx.commit();
}

TEST_F(Server, TheLoginComesFromTheEnvironmentOrTheCommandLineAndARefusalSaysWhatToSet)
{
    CliCompany c(QStringLiteral("022025"), server, QStringLiteral("login.gdb"));
    const QString path = c.path();

    // ISC_USER and ISC_PASSWORD, as every Firebird tool reads them.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ISC_USER", server->user);
    env.insert("ISC_PASSWORD", server->password);
    auto p = test::startCli(c.dir(), {"--db", path, "info"}, env);
    CliRun r = test::finishCli(*p);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();

    // The command line wins over the environment; a refusal names what to set, never the password.
    p = test::startCli(c.dir(), {"--db", path, "--db-password", "wrong-secret", "info"}, env);
    r = test::finishCli(*p);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("--db-user")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("ISC_PASSWORD")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("wrong-secret"));
    EXPECT_FALSE(r.err.contains(server->password));
}

TEST_F(Server, AServerThatIsNotThereIsSaidWithinSeconds)
{
    test::TempProgramDir dir;
    QElapsedTimer clock;
    clock.start();
    const CliRun r = test::runCli(dir.path(), {"--db", "127.0.0.1/1:/srv/none.gdb", "--db-user", "SYSDBA", "--db-password", "x", "info"});
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Сървърът не отговаря"))) << r.err.toStdString();
}
