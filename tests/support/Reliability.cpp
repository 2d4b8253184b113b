#include "tests/support/Reliability.h"

#include "storage/fb/Statement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <stdexcept>

namespace plavex::test {

std::optional<TestServer> TestServer::fromFile(const QString &envFile)
{
    QFile f(envFile);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    TestServer s;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const int eq = static_cast<int>(line.indexOf('='));
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1)).trimmed();
        if (key == "PLAVEX_TEST_SERVER")
            s.host = value;
        else if (key == "PLAVEX_TEST_SERVER_DB_DIR")
            s.dbDir = value;
        else if (key == "PLAVEX_TEST_SERVER_USER")
            s.user = value;
        else if (key == "PLAVEX_TEST_SERVER_PASSWORD")
            s.password = value;
    }
    if (s.host.isEmpty() || s.dbDir.isEmpty())
        return std::nullopt;
    return s;
}

CliCompany::CliCompany(const QString &period, const std::optional<TestServer> &server, const QString &name)
{
    copyShippedNoms(db.dir.path());
    if (server) {
        db.settings.database = server->database(QStringLiteral("%1-%2").arg(QFileInfo(db.dir.path().chopped(1)).fileName(), name));
        db.settings.user = server->user;
        db.settings.password = server->password;
        globalArgs = {QStringLiteral("--db"), db.settings.database, QStringLiteral("--db-user"), server->user,
                      QStringLiteral("--db-password"), server->password};
    }
    const CliRun r = runCli(db.dir.path(), globalArgs + QStringList{QStringLiteral("init"), QStringLiteral("--period"), period});
    if (r.status != 0)
        throw std::runtime_error("init: " + r.err.toStdString());
    if (!db.open())
        throw std::runtime_error("cannot open the test company");
}

QByteArray CliCompany::digest(const std::function<bool(const QString &)> &keep)
{
    fb::Transaction &tx = db.data->transaction();
    tx.commitRetaining(); // read what the other processes committed
    QStringList tables;
    {
        fb::Statement q(tx, QStringLiteral("select RDB$RELATION_NAME from RDB$RELATIONS where RDB$SYSTEM_FLAG=0 "
                                           "and RDB$VIEW_BLR is null order by RDB$RELATION_NAME"));
        while (q.next())
            tables << q.toText(0).trimmed();
    }
    tables.removeAll(QStringLiteral("LOCKS"));
    if (keep)
        tables.removeIf([&keep](const QString &t) { return !keep(t); });
    QByteArray digests;
    for (const QString &t : tables) {
        fb::Statement q(tx, QStringLiteral("select * from ") + t);
        QStringList rows;
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.columnCount(); ++i)
                values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            rows << values.join(QLatin1Char('|'));
        }
        std::sort(rows.begin(), rows.end());
        // Per table, so that a difference says where it is.
        digests += t.toUtf8() + ' '
                   + QCryptographicHash::hash(rows.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1).toHex().left(12) + '\n';
    }
    return digests;
}

namespace {

QStringList addEmployee(const CliCompany &c, int number)
{
    return c.globalArgs + QStringList{QStringLiteral("employee"), QStringLiteral("add"), QStringLiteral("--number"),
                                      QString::number(number), QStringLiteral("--name"), QStringLiteral("Служител %1").arg(number),
                                      QStringLiteral("--egn"), kEgn};
}

// Every employee's base pay tells whose it is: 1000 + the number.
QStringList addPay(const CliCompany &c, int number)
{
    return c.globalArgs + QStringList{QStringLiteral("item"), QStringLiteral("add"), QStringLiteral("--employee"),
                                      QString::number(number), QStringLiteral("--code"), QStringLiteral("1"),
                                      QStringLiteral("--suma1"), QString::number(1000 + number)};
}

// Keys once each; the pay of the test's own employees (numbers from `first` on) theirs.
void expectKeysUnique(CliCompany &c, const QString &period, int first)
{
    const QString persons = QStringLiteral("PERSONS") + period;
    const QString pera = QStringLiteral("PERA") + period;
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from %1").arg(persons)),
              c.scalar(QStringLiteral("select count(distinct PERSON_ID) from %1").arg(persons)));
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from %1").arg(persons)),
              c.scalar(QStringLiteral("select count(distinct PERSON_NOMER) from %1").arg(persons)));
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from %1").arg(pera)),
              c.scalar(QStringLiteral("select count(distinct PERO_PEROID) from %1").arg(pera)));
    // No item paid to another employee than the one it was added for (a
    // pay carried into the euro is that pay converted, rounded up).
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from %1 a join %2 p on p.PERSON_ID=a.PERO_PERSONID "
                                      "where a.PERO_COD=1 and p.PERSON_NOMER>=? and a.PERO_SUMA1<>1000+p.PERSON_NOMER "
                                      "and a.PERO_SUMA1<>CEILING((1000+p.PERSON_NOMER)*100/1.95583)/100.00")
                           .arg(pera, persons),
                       {first}),
              0);
}

qint64 inMonth(CliCompany &c, const QString &period, int number)
{
    return c.scalar(QStringLiteral("select count(*) from PERSONS%1 where PERSON_NOMER=?").arg(period), {number});
}

} // namespace

void expectParallelAddsNeverShareAKey(CliCompany &c)
{
    std::vector<std::pair<int, LaneStep>> steps; // the employee's number, the command
    steps.reserve(200);
    std::vector<std::vector<LaneStep *>> lanes(2);
    for (int lane = 0; lane < 2; ++lane)
        for (int k = 1; k <= 50; ++k) {
            const int number = (lane + 1) * 1000 + k;
            steps.push_back({number, {addEmployee(c, number), {}}});
            steps.push_back({number, {addPay(c, number), {}}});
        }
    for (size_t i = 0; i < steps.size(); ++i)
        lanes[i < 100 ? 0 : 1].push_back(&steps[i].second);

    const int retries = runLanes(c.dir(), lanes);
    std::cout << "parallel operations: " << steps.size() << ", conflicts waited out and retried: " << retries << std::endl;

    for (const auto &[number, s] : steps)
        ASSERT_EQ(s.result.status, 0) << s.args.join(' ').toStdString() << ": " << s.result.err.toStdString();
    c.db.data->commitRetaining();
    const QString period = c.db.data->period().text();
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERSONS%1").arg(period)), 100);
    // Four standard items, his four contributions and the pay each.
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERA%1").arg(period)), 900);
    expectKeysUnique(c, period, 1000);
}

void expectClosingBesideAddsLeavesNobodyBehind(CliCompany &c)
{
    const util::Period old = c.db.data->period();
    const QString o = old.text();
    const QString n = old.next().text();
    // Enough employees that the closing takes a while beside the adds.
    const CliRun demo = c.cli({QStringLiteral("demo"), QStringLiteral("--employees"), QStringLiteral("400"), QStringLiteral("--months"),
                               QStringLiteral("0"), QStringLiteral("--period"), o});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();

    std::vector<std::pair<int, LaneStep>> steps;
    steps.reserve(40);
    for (int k = 1; k <= 20; ++k) {
        steps.push_back({90000 + k, {addEmployee(c, 90000 + k), {}}});
        steps.push_back({90000 + k, {addPay(c, 90000 + k), {}}});
    }
    // The closing starts while the adds are under way.
    LaneStep wait{c.globalArgs + QStringList{QStringLiteral("info")}, {}};
    LaneStep closing{c.globalArgs + QStringList{QStringLiteral("close-month"), QStringLiteral("--yes")}, {}};
    std::vector<std::vector<LaneStep *>> lanes(2);
    for (auto &step : steps)
        lanes[0].push_back(&step.second);
    lanes[1] = {&wait, &wait, &wait, &closing};
    const int retries = runLanes(c.dir(), lanes);
    std::cout << "operations beside the closing: " << steps.size() + 1 << ", conflicts waited out and retried: " << retries
              << std::endl;

    ASSERT_EQ(closing.result.status, 0) << closing.result.err.toStdString();
    c.db.data->commitRetaining();
    int refused = 0;
    for (size_t i = 0; i < steps.size(); i += 2) {
        const auto &[number, add] = steps[i];
        const LaneStep &pay = steps[i + 1].second;
        const qint64 inOld = inMonth(c, o, number);
        const qint64 inNew = inMonth(c, n, number);
        if (add.result.status == 0) {
            // Added before the closing (and carried) or after it (in the new month): always in the new month.
            EXPECT_EQ(inNew, 1) << number;
        } else {
            ++refused;
            EXPECT_FALSE(add.result.err.trimmed().isEmpty());
            EXPECT_EQ(inOld + inNew, 0) << number << ": " << add.result.err.toStdString();
        }
        if (pay.result.status == 0) {
            EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERA%1 a join PERSONS%1 p on p.PERSON_ID=a.PERO_PERSONID "
                                              "where p.PERSON_NOMER=? and a.PERO_COD=1").arg(n),
                               {number}),
                      1)
                << number;
        } else {
            EXPECT_FALSE(pay.result.err.trimmed().isEmpty()) << number;
        }
    }
    std::cout << "adds refused with a message: " << refused << std::endl;
    // Nobody of the closed month is missing from the new one.
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERSONS%1 o where not exists "
                                      "(select 1 from PERSONS%2 n where n.PERSON_ID=o.PERSON_ID)").arg(o, n)),
              0);
    expectKeysUnique(c, o, 90001);
    expectKeysUnique(c, n, 90001);
}

} // namespace plavex::test
