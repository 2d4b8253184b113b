// Two copies of the program on one database: real processes at once.
#include "tests/reliability/Reliability.h"

#include "storage/Locks.h"
#include "storage/fb/Statement.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <deque>
#include <iostream>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

struct Step {
    QStringList args;
    int lane = 0;
    int number = 0; // the employee it is about
    CliRun result;
};

// Runs each lane's steps in order, the lanes side by side, and counts the
// lock conflicts the processes waited out (their log category says so).
int runLanes(const QString &programDir, std::vector<std::deque<Step *>> lanes)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("plavex.storage.locks.info=true"));
    std::vector<std::unique_ptr<QProcess>> running(lanes.size());
    std::vector<Step *> current(lanes.size(), nullptr);
    int retries = 0;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool busy = false;
        for (size_t l = 0; l < lanes.size(); ++l) {
            if (!current[l] && !lanes[l].empty()) {
                current[l] = lanes[l].front();
                lanes[l].pop_front();
                running[l] = test::startCli(programDir, current[l]->args, env);
            }
            if (current[l]) {
                busy = true;
                if (running[l]->waitForFinished(5) || running[l]->state() == QProcess::NotRunning) {
                    current[l]->result = test::finishCli(*running[l]);
                    retries += static_cast<int>(current[l]->result.err.count(QStringLiteral("busy, trying again")));
                    current[l] = nullptr;
                }
            }
        }
        if (!busy || clock.elapsed() > 240000)
            break;
    }
    return retries;
}

QStringList addEmployee(int number)
{
    return {QStringLiteral("employee"), QStringLiteral("add"), QStringLiteral("--number"), QString::number(number),
            QStringLiteral("--name"), QStringLiteral("Служител %1").arg(number), QStringLiteral("--egn"), test::kEgn};
}

// Every employee's base pay tells whose it is: 1000 + the number.
QStringList addPay(int number)
{
    return {QStringLiteral("item"), QStringLiteral("add"), QStringLiteral("--employee"), QString::number(number),
            QStringLiteral("--code"), QStringLiteral("1"), QStringLiteral("--suma1"), QString::number(1000 + number)};
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
    // No item paid to another employee than the one it was added for.
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from %1 a join %2 p on p.PERSON_ID=a.PERO_PERSONID "
                                      "where a.PERO_COD=1 and p.PERSON_NOMER>=? and a.PERO_SUMA1<>1000+p.PERSON_NOMER")
                           .arg(pera, persons),
                       {first}),
              0);
}

qint64 inMonth(CliCompany &c, const QString &period, int number)
{
    return c.scalar(QStringLiteral("select count(*) from PERSONS%1 where PERSON_NOMER=?").arg(period), {number});
}

} // namespace

TEST(TwoCopies, ParallelAddsNeverShareAKey)
{
    CliCompany c;
    std::vector<Step> steps;
    steps.reserve(200);
    for (int lane = 0; lane < 2; ++lane)
        for (int k = 1; k <= 50; ++k) {
            const int number = (lane + 1) * 1000 + k;
            steps.push_back({addEmployee(number), lane, number, {}});
            steps.push_back({addPay(number), lane, number, {}});
        }
    std::vector<std::deque<Step *>> lanes(2);
    for (Step &s : steps)
        lanes[static_cast<size_t>(s.lane)].push_back(&s);

    const int retries = runLanes(c.dir(), lanes);
    std::cout << "parallel operations: " << steps.size() << ", conflicts waited out and retried: " << retries << std::endl;

    for (const Step &s : steps)
        ASSERT_EQ(s.result.status, 0) << s.args.join(' ').toStdString() << ": " << s.result.err.toStdString();
    c.db.data->commitRetaining();
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERSONS022025")), 100);
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERA022025")), 500); // four standard items and the pay each
    expectKeysUnique(c, QStringLiteral("022025"), 1000);
}

TEST(TwoCopies, ClosingBesideAddsLeavesNobodyBehind)
{
    // Enough employees that the closing takes a while beside the adds.
    CliCompany c;
    const CliRun demo = c.cli({"demo", "--employees", "400", "--months", "0", "--period", "022025"});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();
    std::vector<Step> steps;
    steps.reserve(41);
    for (int k = 1; k <= 20; ++k) {
        steps.push_back({addEmployee(90000 + k), 0, 90000 + k, {}});
        steps.push_back({addPay(90000 + k), 0, 90000 + k, {}});
    }
    Step closing{{QStringLiteral("close-month"), QStringLiteral("--yes")}, 1, 0, {}};
    std::vector<std::deque<Step *>> lanes(2);
    for (Step &s : steps)
        lanes[0].push_back(&s);
    // The closing starts while the adds are under way.
    Step wait{{QStringLiteral("info")}, 1, 0, {}};
    for (int k = 0; k < 3; ++k)
        lanes[1].push_back(&wait);
    lanes[1].push_back(&closing);
    const int retries = runLanes(c.dir(), lanes);
    std::cout << "operations beside the closing: " << steps.size() + 1 << ", conflicts waited out and retried: " << retries
              << std::endl;

    ASSERT_EQ(closing.result.status, 0) << closing.result.err.toStdString();
    c.db.data->commitRetaining();
    int refused = 0;
    for (size_t i = 0; i < steps.size(); i += 2) {
        const Step &add = steps[i];
        const Step &pay = steps[i + 1];
        const qint64 inOld = inMonth(c, QStringLiteral("022025"), add.number);
        const qint64 inNew = inMonth(c, QStringLiteral("032025"), add.number);
        if (add.result.status == 0) {
            // Added before the closing (and carried) or after it (in the new month): always in the new month.
            EXPECT_EQ(inNew, 1) << add.number;
        } else {
            ++refused;
            EXPECT_FALSE(add.result.err.trimmed().isEmpty());
            EXPECT_EQ(inOld + inNew, 0) << add.number << ": " << add.result.err.toStdString();
        }
        if (pay.result.status == 0) {
            EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERA032025 a join PERSONS032025 p on p.PERSON_ID=a.PERO_PERSONID "
                                              "where p.PERSON_NOMER=? and a.PERO_COD=1"),
                               {pay.number}),
                      1)
                << pay.number;
        } else {
            EXPECT_FALSE(pay.result.err.trimmed().isEmpty()) << pay.number;
        }
    }
    std::cout << "adds refused with a message: " << refused << std::endl;
    // Nobody of the closed month is missing from the new one.
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERSONS022025 o where not exists "
                                      "(select 1 from PERSONS032025 n where n.PERSON_ID=o.PERSON_ID)")),
              0);
    expectKeysUnique(c, QStringLiteral("022025"), 90001);
    expectKeysUnique(c, QStringLiteral("032025"), 90001);
}
