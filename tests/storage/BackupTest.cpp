#include "storage/Backup.h"
#include "storage/fb/Connection.h"
#include "storage/fb/Error.h"
#include "storage/fb/Transaction.h"
#include "tests/support/MonthFixture.h"

#include <QFile>
#include <QFileInfo>

using namespace plavex;

namespace {

class Backup : public test::MonthFixture {
protected:
    Backup() : MonthFixture(util::Period(2008, 1)) {}
    void SetUp() override
    {
        MonthFixture::SetUp();
        first = addPerson(1, QStringLiteral("Иванова"));
        addPerson(2, QStringLiteral("Петров"));
        addItem(first, 1000, 100, 1234.56, 0);
        backupFile = storage::defaultBackupFile(t.settings, data().period());
    }
    qint64 countIn(const QString &path, const QString &sql)
    {
        fb::Connection c;
        c.attach(path, t.settings.user, t.settings.password);
        fb::Transaction tx(c);
        const qint64 n = fb::Statement::scalar(tx, sql).toLongLong();
        tx.commit();
        return n;
    }

    int first = 0;
    QString backupFile;
};

} // namespace

TEST_F(Backup, RoundTripOverTheCurrentDatabase)
{
    EXPECT_EQ(backupFile, t.dir.path() + QStringLiteral("backup/012008back.gbk"));
    ASSERT_TRUE(storage::backupCurrent(data(), backupFile)) << t.prompter.messages.join(u'|').toStdString();
    ASSERT_GT(QFileInfo(backupFile).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(backupFile + QStringLiteral(".part")));

    // Changes after the backup, including a month made current.
    data().deleteRows(table(u"PERSONS"), QStringLiteral("PERSON_ID=?"), {first});
    data().changePeriod(2008, 3);
    data().commitRetaining();

    ASSERT_TRUE(storage::restoreOverCurrent(data(), backupFile)) << t.prompter.messages.join(u'|').toStdString();
    ASSERT_TRUE(data().isConnected());
    EXPECT_EQ(data().period(), util::Period(2008, 1)); // the restored database's own month
    EXPECT_EQ(rows(table(u"PERSONS")), 2);
    EXPECT_EQ(value(QStringLiteral("select PERO_SUMA from %1 where PERO_PERSONID=?").arg(table(u"PERA")), {first}).toDouble(),
              1234.56);
    EXPECT_EQ(value(QStringLiteral("select PERSON_IME from %1 where PERSON_ID=?").arg(table(u"PERSONS")), {first}).toString(),
              QStringLiteral("Иванова"));
    EXPECT_FALSE(QFileInfo::exists(data().databasePath() + QStringLiteral(".restore")));
    // The program goes on working on it.
    addPerson(3, QStringLiteral("Нов"));
    EXPECT_EQ(rows(table(u"PERSONS")), 3);
}

TEST_F(Backup, RestoreIntoAnotherFileLeavesTheCurrentOneAlone)
{
    ASSERT_TRUE(storage::backupCurrent(data(), backupFile));
    addPerson(3, QStringLiteral("След архива"));
    const QString other = t.dir.path() + QStringLiteral("other/copy.gdb");
    ASSERT_TRUE(storage::restoreInto(data(), backupFile, other)) << t.prompter.messages.join(u'|').toStdString();
    EXPECT_TRUE(data().isConnected());
    EXPECT_EQ(rows(table(u"PERSONS")), 3);
    EXPECT_EQ(countIn(other, QStringLiteral("select count(*) from ") + table(u"PERSONS")), 2);

    // An existing file is never overwritten.
    const QByteArray before = [&] {
        QFile f(other);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_FALSE(storage::restoreInto(data(), backupFile, other));
    EXPECT_TRUE(t.prompter.messages.last().contains(QStringLiteral("вече съществува"))) << t.prompter.messages.last().toStdString();
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(Backup, FailuresAreReportedAndChangeNothing)
{
    // A folder where the backup file should be: the backup cannot be written.
    const QString blocked = t.dir.path() + QStringLiteral("backup/blocked.gbk");
    t.dir.writeFile(QStringLiteral("backup/blocked.gbk/x"), "x");
    EXPECT_FALSE(storage::backupCurrent(data(), blocked));
    ASSERT_FALSE(t.prompter.messages.isEmpty());
    EXPECT_TRUE(t.prompter.messages.last().startsWith(QStringLiteral("Грешка при архивиране на базата данни.\n")))
        << t.prompter.messages.last().toStdString();
    EXPECT_TRUE(data().isConnected());

    // A failed backup keeps the older backup of that name whole.
    ASSERT_TRUE(storage::backupCurrent(data(), backupFile));
    const QByteArray older = [&] {
        QFile f(backupFile);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ASSERT_FALSE(older.isEmpty());
    EXPECT_THROW(storage::backupDatabase(backupFile, t.dir.path() + QStringLiteral("database/none.gdb"), t.settings.user,
                                         t.settings.password),
                 fb::Error);
    {
        QFile f(backupFile);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), older);
    }

    // A damaged backup over the current database: the database stays as it
    // was, with what changed since the backup.
    addPerson(3, QStringLiteral("След архива"));
    QFile file(backupFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() / 2);
    file.close();
    EXPECT_FALSE(storage::restoreOverCurrent(data(), backupFile));
    EXPECT_TRUE(t.prompter.messages.last().startsWith(QStringLiteral("Грешка при възстановяване на базата данни.\n")));
    ASSERT_TRUE(data().isConnected());
    EXPECT_EQ(rows(table(u"PERSONS")), 3);
    EXPECT_FALSE(QFileInfo::exists(data().databasePath() + QStringLiteral(".restore")));

    // Another program on the database: not replaced under its feet.
    ASSERT_TRUE(storage::backupCurrent(data(), backupFile));
    fb::Connection other;
    other.attach(data().databasePath(), t.settings.user, t.settings.password);
    EXPECT_FALSE(storage::restoreOverCurrent(data(), backupFile));
    EXPECT_TRUE(t.prompter.messages.last().contains(QStringLiteral("друга програма"))) << t.prompter.messages.last().toStdString();
    EXPECT_TRUE(data().isConnected());
}
