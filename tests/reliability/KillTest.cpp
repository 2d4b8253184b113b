// A copy of the program killed in the middle of a backup or a restore: the
// target is the old file or a complete new one, never half of one.
#include "tests/support/Reliability.h"

#include "storage/Backup.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

void killAfter(QProcess &p, int milliseconds)
{
    p.waitForFinished(milliseconds);
    if (p.state() != QProcess::NotRunning) {
        p.kill(); // the engine does not stop on a polite request
        p.waitForFinished();
    }
}

// A company big enough that its backup and restore take a while, made once.
class KilledCopy : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        company_ = std::make_unique<CliCompany>(QStringLiteral("012008"));
        const CliRun r = company_->cli({"demo", "--employees", "300", "--months", "1", "--period", "012008"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite() { company_.reset(); }
    static std::unique_ptr<CliCompany> company_;
};
std::unique_ptr<CliCompany> KilledCopy::company_;

} // namespace

TEST_F(KilledCopy, RestoreIntoIsTheWholeCompanyOrNothing)
{
    CliCompany &c = *company_;
    const QString backup = c.dir() + "backup/kill.gbk";
    ASSERT_EQ(c.cli({"backup", backup}).status, 0);
    const qint64 employees = c.scalar("select count(*) from PERSONS022008");
    ASSERT_GT(employees, 0);

    int complete = 0;
    for (int moment : {0, 30, 80, 150, 250, 400, 5000}) {
        const QString target = c.dir() + QStringLiteral("restored%1.gdb").arg(moment);
        auto p = test::startCli(c.dir(), {"restore", backup, "--into", target, "--yes"});
        killAfter(*p, moment);
        if (!QFileInfo::exists(target))
            continue;
        // A restored file is a company with every employee.
        ++complete;
        test::TempProgramDir other;
        const CliRun r = test::runCli(other.path(), {"--db", target, "info"});
        ASSERT_EQ(r.status, 0) << moment << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("Служители: %1").arg(employees))) << moment << ": " << r.out.toStdString();
    }
    EXPECT_GE(complete, 1); // the run given time to finish did

    // What a killed run left under its temporary name is no obstacle.
    const QString again = c.dir() + "restored0.gdb";
    QFile::remove(again);
    c.db.dir.writeFile("restored0.gdb.part", QByteArray(5000, 'x'));
    const CliRun r = c.cli({"restore", backup, "--into", again, "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(storage::isDatabaseFile(again));
    EXPECT_FALSE(QFileInfo::exists(again + ".part"));
}

TEST_F(KilledCopy, BackupIsTheOldFileOrACompleteNewOne)
{
    CliCompany &c = *company_;
    const QString backup = c.dir() + "backup/old.gbk";
    ASSERT_EQ(c.cli({"backup", backup}).status, 0);
    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();
    // The company changes, so a new backup differs from the old one.
    ASSERT_EQ(c.cli({"employee", "add", "--number", "9999", "--name", "Нов Служител", "--egn", test::kEgn}).status, 0);

    for (int moment : {0, 20, 50, 90, 140}) {
        auto p = test::startCli(c.dir(), {"--yes", "backup", backup});
        killAfter(*p, moment);
        ASSERT_TRUE(QFileInfo::exists(backup)) << moment;
        QFile now(backup);
        ASSERT_TRUE(now.open(QIODevice::ReadOnly));
        const QByteArray bytes = now.readAll();
        if (bytes == old)
            continue;
        // Not the old one: then a backup that restores whole.
        const QString check = c.dir() + QStringLiteral("check%1.gdb").arg(moment);
        const CliRun r = c.cli({"restore", backup, "--into", check, "--yes"});
        EXPECT_EQ(r.status, 0) << moment << ": " << r.err.toStdString();
    }
}
