// Work that must be one unit, cut off by a kill or raced by a second copy of
// the program: a new year's tables, a new company, a bulk change. Each is
// found before or after, never between, and the next run finishes it.
#include "tests/support/Reliability.h"

#include "util/CodePage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

void kill(QProcess &p)
{
    if (p.state() != QProcess::NotRunning) {
        p.kill(); // the engine does not stop on a polite request
        p.waitForFinished();
    }
}

// Kills the process as soon as `seen` holds (looked at every few
// milliseconds), then `after` milliseconds later; false when it ended first.
bool killWhen(QProcess &p, const std::function<bool()> &seen, int after = 0)
{
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 120000) {
        if (seen()) {
            if (after > 0)
                p.waitForFinished(after);
            const bool running = p.state() != QProcess::NotRunning;
            kill(p);
            return running;
        }
        p.waitForFinished(3);
    }
    kill(p);
    return false;
}

// The "Общо" line of `recalc`: gross, contributions, tax, net.
std::vector<double> totals(const CliRun &r)
{
    for (const QString &line : r.out.split(u'\n')) {
        if (!line.contains(QStringLiteral("Общо")))
            continue;
        QStringList fields = line.section(u')', 1).split(u' ', Qt::SkipEmptyParts);
        std::vector<double> v;
        for (const QString &f : fields)
            v.push_back(QString(f).remove(u' ').replace(u',', u'.').toDouble());
        return v;
    }
    return {};
}

QString currentMonth(const CliCompany &c)
{
    const CliRun r = c.cli({"info"});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Текущ месец: (\\d{6})")).match(r.out);
    return m.hasMatch() ? m.captured(1) : r.err;
}

qint64 rows(CliCompany &c, const QString &table)
{
    c.db.data->transaction().commitRetaining();
    return c.scalar(QStringLiteral("select count(*) from %1").arg(table));
}

bool tableSeen(CliCompany &c, const QString &table)
{
    c.db.data->transaction().commitRetaining();
    return c.scalar("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME=?", {table}) > 0;
}

void addPaidEmployees(const CliCompany &c, int count, int pay)
{
    for (int n = 1; n <= count; ++n) {
        const CliRun a = c.cli({"employee", "add", "--number", QString::number(n), "--name",
                                QStringLiteral("Служител %1").arg(n), "--egn", test::kEgn});
        ASSERT_EQ(a.status, 0) << a.err.toStdString();
        const CliRun p = c.cli({"item", "add", "--employee", QString::number(n), "--code", "1", "--suma1", QString::number(pay)});
        ASSERT_EQ(p.status, 0) << p.err.toStdString();
    }
}

// An engine's own words reach nobody: a refusal is one Bulgarian line.
void expectOwnMessage(const CliRun &r, const std::string &what)
{
    EXPECT_TRUE(r.err.contains(QRegularExpression(QStringLiteral("[А-Яа-я]")))) << what << ": " << r.err.toStdString();
    for (const char *engine : {"unsuccessful", "Column unknown", "metadata", "too many keys", "Unknown error"})
        EXPECT_FALSE(r.err.contains(QLatin1String(engine))) << what << ": " << r.err.toStdString();
}

} // namespace

// Killed the moment the new year's tables are there: the next closing makes
// them whole, and January is taxed.
TEST(WholeUnits, AClosingKilledAsItMakesTheNewYear)
{
    int killed = 0;
    for (const int after : {0, 40, 200}) {
        CliCompany c(QStringLiteral("122025"));
        addPaidEmployees(c, 3, 2000);
        auto p = test::startCli(c.dir(), {"close-month", "--yes"});
        killed += killWhen(*p, [&] { return tableSeen(c, "DOD2026"); }, after);

        if (currentMonth(c) == QLatin1String("122025")) {
            const CliRun again = c.cli({"close-month", "--yes"});
            ASSERT_EQ(again.status, 0) << after << ": " << again.err.toStdString();
        }
        ASSERT_EQ(currentMonth(c), QStringLiteral("012026")) << after;
        EXPECT_GT(rows(c, "DOD2026"), 0) << after;
        EXPECT_GT(rows(c, "NOI2026"), 0) << after;
        EXPECT_GT(rows(c, "NKID2026"), 0) << after;
        const CliRun r = c.cli({"recalc"});
        ASSERT_EQ(r.status, 0) << after << ": " << r.err.toStdString();
        const std::vector<double> t = totals(r);
        ASSERT_EQ(t.size(), 4u) << r.out.toStdString();
        EXPECT_GT(t[2], 100) << after << ": January untaxed\n" << r.out.toStdString();
    }
    EXPECT_GE(killed, 1); // at least one kill came while the closing ran
}

// Two copies closing December at once (or one opening January beside the
// closing), 20 times: one makes the year, the other waits for it or says
// busy, and the year's tables are full every time.
TEST(WholeUnits, TwoCopiesCrossIntoANewYear)
{
    qint64 dod = 0;
    qint64 noi = 0;
    for (int round = 0; round < 20; ++round) {
        CliCompany c(QStringLiteral("122025"));
        ASSERT_EQ(c.cli({"employee", "add", "--number", "1", "--name", "Служител", "--egn", test::kEgn}).status, 0);
        const QStringList second = round % 4 == 3 ? QStringList{"period", "012026"} : QStringList{"close-month", "--yes"};
        test::LaneStep a{{"close-month", "--yes"}, {}};
        test::LaneStep b{second, {}};
        test::runLanes(c.dir(), {{&a}, {&b}});
        const std::string what = QStringLiteral("round %1").arg(round).toStdString();
        EXPECT_TRUE(a.result.status == 0 || b.result.status == 0)
            << what << ": " << a.result.err.toStdString() << " | " << b.result.err.toStdString();
        for (const test::LaneStep *s : {&a, &b}) {
            if (s->result.status != 0)
                expectOwnMessage(s->result, what);
        }
        if (round == 0) {
            dod = rows(c, "DOD2026");
            noi = rows(c, "NOI2026");
            ASSERT_GT(dod, 0);
            ASSERT_GT(noi, 0);
        }
        EXPECT_EQ(rows(c, "DOD2026"), dod) << what;
        EXPECT_EQ(rows(c, "NOI2026"), noi) << what;
        if (second.first() == QLatin1String("close-month")) {
            // Two closings that did not meet (a loaded machine starts one
            // late) close December and then January, each whole.
            const bool both = a.result.status == 0 && b.result.status == 0;
            EXPECT_EQ(currentMonth(c), both ? QStringLiteral("022026") : QStringLiteral("012026")) << what;
            EXPECT_EQ(rows(c, "PERSONS012026"), 1) << what;
            if (both) {
                EXPECT_EQ(rows(c, "PERSONS022026"), 1) << what;
            }
        }
    }
}

// A bulk addition killed at any moment left no item, or every item
// calculated; run again after a kill that left none, each gets one bonus.
TEST(WholeUnits, AKilledBulkAdditionRunAgain)
{
    CliCompany c(QStringLiteral("022025"));
    const CliRun demo = c.cli({"demo", "--employees", "40", "--months", "0", "--period", "022025"});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();
    const qint64 employees = rows(c, "PERSONS022025");
    ASSERT_GT(employees, 0);
    const QString bonuses = QStringLiteral("select count(*) from PERA022025 where PERO_COD=6");
    const QStringList add{"bulk", "add-item", "--code", "6", "--suma1", "150", "--yes"};
    auto calculated = [&] {
        const QByteArray before = c.digest();
        EXPECT_EQ(c.cli({"recalc"}).status, 0);
        return c.digest() == before;
    };
    int killed = 0;
    for (const int moment : {60, 150, 300, 500, 800, 1200}) {
        const qint64 base = c.scalar(bonuses);
        auto p = test::startCli(c.dir(), add);
        p->waitForFinished(moment);
        killed += p->state() != QProcess::NotRunning;
        kill(*p);
        c.db.data->transaction().commitRetaining();
        const qint64 left = c.scalar(bonuses) - base;
        ASSERT_TRUE(left == 0 || left == employees) << moment << ": " << left;
        if (left == 0) {
            const CliRun r = c.cli(add);
            ASSERT_EQ(r.status, 0) << r.err.toStdString();
            c.db.data->transaction().commitRetaining();
        }
        EXPECT_EQ(c.scalar(bonuses) - base, employees) << moment;
        EXPECT_TRUE(calculated()) << moment << ": items left without amounts";
        ASSERT_EQ(c.cli({"bulk", "delete-code", "6", "--yes"}).status, 0);
        EXPECT_TRUE(calculated()) << moment << ": stale nets after a deletion";
    }
    EXPECT_GE(killed, 1);
}

// The annual tax differences come in calculated; a second insertion gives
// the same month.
TEST(WholeUnits, AnnualTaxInsertionIsCalculated)
{
    CliCompany c(QStringLiteral("012008"));
    const CliRun demo = c.cli({"demo", "--employees", "6", "--months", "11", "--period", "012008"});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();
    ASSERT_EQ(currentMonth(c), QStringLiteral("122008"));
    const QStringList insert{"annual-tax", "--insert", "--item", "146", "--yes"};
    const CliRun first = c.cli(insert);
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    ASSERT_GT(first.out.trimmed().toInt(), 0) << first.out.toStdString();
    const QByteArray inserted = c.digest();
    ASSERT_EQ(c.cli({"recalc"}).status, 0);
    EXPECT_EQ(c.digest().toStdString(), inserted.toStdString());
    ASSERT_EQ(c.cli(insert).status, 0);
    EXPECT_EQ(c.digest().toStdString(), inserted.toStdString());
}

// A first `init` killed at any moment: the next one makes a whole company
// (a salary there is taxed) or says why.
TEST(WholeUnits, AKilledInitThenInitAgain)
{
    int killed = 0;
    for (const int moment : {30, 100, 200, 350, 600, 1000, 1600}) {
        test::TempProgramDir dir;
        test::copyShippedNoms(dir.path());
        auto p = test::startCli(dir.path(), {"init", "--period", "032025"});
        p->waitForFinished(moment);
        killed += p->state() != QProcess::NotRunning;
        kill(*p);

        const CliRun again = test::runCli(dir.path(), {"init", "--period", "032025"});
        if (again.status != 0) {
            expectOwnMessage(again, std::to_string(moment));
            continue;
        }
        ASSERT_EQ(test::runCli(dir.path(), {"employee", "add", "--number", "1", "--name", "Служител", "--egn", test::kEgn}).status, 0)
            << moment;
        ASSERT_EQ(test::runCli(dir.path(), {"item", "add", "--employee", "1", "--code", "1", "--suma1", "2000"}).status, 0) << moment;
        const CliRun r = test::runCli(dir.path(), {"recalc"});
        ASSERT_EQ(r.status, 0) << moment << ": " << r.err.toStdString();
        const std::vector<double> t = totals(r);
        ASSERT_EQ(t.size(), 4u) << r.out.toStdString();
        EXPECT_GT(t[2], 100) << moment << ": a salary of 2000 untaxed\n" << r.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.databasePath() + ".part")) << moment;
    }
    EXPECT_GE(killed, 3);
}

namespace {

void spoil(const QString &path, const std::function<QByteArray(const QByteArray &)> &change)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = change(f.readAll());
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

// A new company or a new year made from service files it cannot read whole
// is refused, naming the file, and nothing is made.
TEST(ServiceFiles, ARefusalNamesTheFileAndMakesNothing)
{
    // Saved again by an editor that writes UTF-8.
    const auto utf8 = [](const QByteArray &b) { return util::fromCp1251(b).toUtf8(); };
    const auto dosToUtf8 = [](const QByteArray &b) { return util::fromCp1251(util::dosToCp1251(b)).toUtf8(); };
    struct Case {
        const char *what;
        QString file; // in noms/; empty: the folder itself
        std::function<QByteArray(const QByteArray &)> change; // none: removed
        QStringList says;
    };
    const std::vector<Case> cases = {
        {"no service folder", QString(), {}, {"noms", "липсва"}},
        {"no item chart", "DATA3.TXT", {}, {"DATA3.TXT", "липсва"}},
        {"a bad tax scale line", "DOD2025.csv", [](const QByteArray &b) { return b + "2025;abc;0;0.10\r\n"; }, {"DOD2025.csv", "ред"}},
        {"a bad rates line", "noi_proc2025.csv", [](const QByteArray &b) { return b + "01;1;nan;1;1;1\r\n"; }, {"noi_proc2025.csv", "ред"}},
        {"rates in UTF-8", "noi_proc2025.csv", utf8, {"noi_proc2025.csv", "UTF-8"}},
        {"a byte outside the code page", "nkid.csv", [](const QByteArray &b) { return b + "\x98\r\n"; }, {"nkid.csv", "Windows-1251"}},
        {"an item chart in UTF-8", "DATA3.TXT", dosToUtf8, {"DATA3.TXT", "UTF-8"}},
    };
    for (const Case &k : cases) {
        test::TempProgramDir dir;
        test::copyShippedNoms(dir.path());
        const QString noms = dir.path() + "noms/";
        if (k.file.isEmpty())
            ASSERT_TRUE(QDir(noms).removeRecursively());
        else if (!k.change)
            ASSERT_TRUE(QFile::remove(noms + k.file));
        else
            spoil(noms + k.file, k.change);
        const CliRun r = test::runCli(dir.path(), {"init", "--period", "032025"});
        EXPECT_EQ(r.status, 1) << k.what << ": " << r.err.toStdString();
        for (const QString &part : k.says)
            EXPECT_TRUE(r.err.contains(part)) << k.what << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("plavex.")) << k.what << ": " << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.databasePath())) << k.what;
    }
}

// A closing into a year whose tax scale is broken stops and changes
// nothing; mended, the same closing makes the year whole.
TEST(ServiceFiles, AClosingIntoABrokenYearChangesNothing)
{
    CliCompany c(QStringLiteral("122025"));
    addPaidEmployees(c, 2, 2000);
    const QString dod = c.dir() + "noms/DOD2026.csv";
    QFile f(dod);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    const std::string before = c.digest().toStdString();
    for (const QByteArray &bad : {good + "2026;0.00;x;0.10\r\n", util::fromCp1251(good).toUtf8()}) {
        spoil(dod, [&](const QByteArray &) { return bad; });
        const CliRun r = c.cli({"close-month", "--yes"});
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("DOD2026.csv")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("plavex.")) << r.err.toStdString();
        EXPECT_EQ(currentMonth(c), QStringLiteral("122025"));
        EXPECT_EQ(c.digest().toStdString(), before);
        EXPECT_FALSE(tableSeen(c, "DOD2026"));
    }
    spoil(dod, [&](const QByteArray &) { return good; });
    const CliRun r = c.cli({"close-month", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_GT(rows(c, "DOD2026"), 0);
    const std::vector<double> t = totals(c.cli({"recalc"}));
    ASSERT_EQ(t.size(), 4u);
    EXPECT_GT(t[2], 100);
}

// A closing that cannot write the files it leaves beside the database
// stops before it changes anything, naming the file.
TEST(Messages, AClosingThatCannotWriteItsFilesSaysWhich)
{
    CliCompany c(QStringLiteral("122025"));
    addPaidEmployees(c, 1, 2000);
    // The new year's tables may be made first; they are made whole.
    auto old = [](const QString &t) { return !t.endsWith(QLatin1String("2026")); };
    const std::string before = c.digest(old).toStdString();
    for (const char *file : {"ENDMES.TXT", "EURO.TXT"}) {
        ASSERT_TRUE(QDir(c.dir()).mkdir(file)); // nothing can write a file there
        const CliRun r = c.cli({"close-month", "--yes"});
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_TRUE(r.err.contains(file)) << file << ": " << r.err.toStdString();
        EXPECT_EQ(currentMonth(c), QStringLiteral("122025")) << file;
        EXPECT_EQ(c.digest(old).toStdString(), before) << file;
        ASSERT_TRUE(QDir(c.dir()).rmdir(file));
    }
    const CliRun r = c.cli({"close-month", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(c.dir() + "EURO.TXT").isFile());
}

// What the user reads when something outside the data fails.
TEST(Messages, SayWhatAndWhere)
{
    CliCompany c(QStringLiteral("022025"));
    // A users database that is not one: the message names it.
    c.db.dir.writeFile("users.gdb", QByteArray(8192, 'x'));
    const CliRun users = c.cli({"recalc"});
    EXPECT_EQ(users.status, 1);
    EXPECT_TRUE(users.err.contains("users.gdb")) << users.err.toStdString();
    ASSERT_TRUE(QFile::remove(c.dir() + "users.gdb"));

    // A file name the system's encoding cannot hold is refused, not altered.
    QProcess sh;
    sh.start("/bin/sh", {"-c", QStringLiteral("exec \"$0\" --program-dir \"$1\" report definitions --out \"$1$(printf 'a\\377b.pdf')\""),
                         QStringLiteral(PLAVEX_CLI_PATH), c.dir()});
    ASSERT_TRUE(sh.waitForFinished(60000));
    EXPECT_EQ(sh.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(sh.readAllStandardError()).contains(QStringLiteral("кодировката"))) << "";
    EXPECT_TRUE(QDir(c.dir()).entryList({"a*b.pdf"}, QDir::Files).isEmpty());
}
