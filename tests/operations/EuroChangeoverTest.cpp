// A company in leva closed from December 2025 into January 2026 by the
// command line, as an accountant would: what the closing carries, what it
// converts and how, and January calculated in euro.
#include "tests/support/Reliability.h"

#include "operations/MonthClosing.h"
#include "reports/engine/Snapshot.h"
#include "storage/StatutoryFigures.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"
#include "util/CodePage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>

using namespace plavex;
using test::CliCompany;
using test::CliRun;

namespace {

class EuroChangeover : public ::testing::Test {
protected:
    EuroChangeover() : c(QStringLiteral("122025")) {}

    void run(const QStringList &args)
    {
        const CliRun r = c.cli(args);
        ASSERT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        last = r;
    }
    QVariant value(const QString &sql, const QVariantList &values = {})
    {
        c.db.data->transaction().commitRetaining(); // what the commands committed
        return fb::Statement::scalar(c.db.data->transaction(), sql, values);
    }
    double amount(const char *column, int code, const QString &month)
    {
        return value(QStringLiteral("select %1 from PERA%2 where PERO_COD=?").arg(QLatin1String(column), month), {code}).toDouble();
    }
    double company(const char *column, const QString &month)
    {
        return value(QStringLiteral("select %1 from FIRMA%2").arg(QLatin1String(column), month)).toDouble();
    }
    void item(const QStringList &options) { run(QStringList{"item", "add", "--employee", "1"} + options); }

    // An employee born in 1980 on 1650.00 лв with a 3.6 % class, the four
    // contributions of the chart, a fixed deduction of 50.00 лв and an
    // advance of 300.00 лв this month and next.
    void hire()
    {
        run({"employee", "add", "--number", "1", "--name", "Иван Петров", "--egn", test::kEgn});
        item({"--code", "1", "--suma1", "1650"});
        item({"--code", "3", "--suma1", "3.6", "--d", "3"});
        // The contribution items (102-105: 7.98, 2.2, 3.2 and 0.4 %) came with him.
        item({"--code", "145", "--suma1", "50"});
        item({"--code", "142", "--suma1", "300", "--suma2", "300"});
        run({"recalc"});
    }

    CliCompany c;
    CliRun last;
};

} // namespace

TEST_F(EuroChangeover, DecemberIntoJanuaryConvertsEveryCarriedAmountByItsRule)
{
    hire();
    // December's company row came from the law of the year (from April 2025).
    EXPECT_DOUBLE_EQ(company("FIRMA_INDDOO", "122025"), 4130.0);
    EXPECT_DOUBLE_EQ(company("FIRMA_MINSALARY", "122025"), 1077.0);
    EXPECT_NEAR(amount("PERO_SUMAFINAL", 2010, "122025"), 1709.40 - 235.56 - 147.38 - 50.0 - 300.0, 1e-6);

    run({"--yes", "close-month"});
    EXPECT_TRUE(last.err.contains("EURO.TXT")) << last.err.toStdString();

    // Pay rounds up, deductions half up; percentages and days stay.
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA1", 1, "012026"), 843.64);  // 843.6317
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA1", 3, "012026"), 3.6);
    EXPECT_EQ(value("select PERO_D from PERA012026 where PERO_COD=3").toInt(), 3);
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA1", 102, "012026"), 7.98);
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA1", 145, "012026"), 25.56); // 25.5646
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA1", 142, "012026"), 153.39); // 153.3876
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA2", 142, "012026"), 153.39);
    // December stays in leva.
    EXPECT_DOUBLE_EQ(amount("PERO_SUMA1", 1, "122025"), 1650.0);

    // The company row: converted, then the law's figures of January 2026.
    EXPECT_DOUBLE_EQ(company("FIRMA_MINSALARY", "012026"), 620.20);
    EXPECT_DOUBLE_EQ(company("FIRMA_INDDOO", "012026"), 2111.64);
    EXPECT_DOUBLE_EQ(company("FIRMA_MINDOH", "012026"), 550.66);
    EXPECT_DOUBLE_EQ(company("FIRMA_OBMAJKI", "012026"), 398.81);

    QFile list(c.dir() + "EURO.TXT");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString text = util::fromCp1251(list.readAll());
    EXPECT_TRUE(text.contains(QRegularExpression("1 Иван Петров +1 Основна заплата +1650\\.00 +843\\.64\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Фирма +Обезщетение майки +780\\.00 +398\\.81"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("ДОО - лична"))) << "a percentage is no amount";

    // Five days of leave in January (20 working days: 1 January a holiday,
    // the 2nd a decided day off), their average from December in leva (20
    // working days, all worked): 5 × (20 / 20) × (874.00 / 20), 1709.40 лв
    // being 874.00 €.
    item({"--code", "11", "--d", "5", "--begin", "05.01.2026", "--end", "09.01.2026"});
    run({"recalc"});
    EXPECT_DOUBLE_EQ(amount("PERO_SUMAFINAL", 1, "012026"), 632.73);  // 15 × 843.64 / 20
    EXPECT_DOUBLE_EQ(amount("PERO_SUMAFINAL", 3, "012026"), 22.78);   // 3.6 % of it
    EXPECT_DOUBLE_EQ(amount("PERO_SUMAFINAL", 11, "012026"), 218.50);
    EXPECT_DOUBLE_EQ(amount("PERO_SUMAFINAL", 1000, "012026"), 874.01);
    // 13.78 % of 874.01 by fund, the tax on the rest, the deductions.
    EXPECT_NEAR(amount("PERO_SUMAFINAL", 102, "012026") + amount("PERO_SUMAFINAL", 103, "012026")
                         + amount("PERO_SUMAFINAL", 104, "012026") + amount("PERO_SUMAFINAL", 105, "012026"),
                     69.75 + 19.23 + 27.97 + 3.50, 1e-6);
    EXPECT_DOUBLE_EQ(amount("PERO_SUMAFINAL", 101, "012026"), 75.36);
    EXPECT_NEAR(amount("PERO_SUMAFINAL", 2010, "012026"), 874.01 - 120.45 - 75.36 - 25.56 - 153.39, 1e-6);

    // The payslip of January says its amounts are in euro; declaration 1 states the euro.
    const QString slip = c.dir() + "slip.ndr";
    run({"report", "payslip1", "--out", slip});
    const auto doc = reports::readSnapshot(slip);
    ASSERT_TRUE(doc);
    QStringList texts;
    for (const auto &page : doc->pages)
        for (const auto &op : page.ops)
            texts << op.text;
    EXPECT_TRUE(texts.contains(QStringLiteral("Суми в евро"))) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts.join('\n').contains(QStringLiteral("843.64"))) << texts.join('\n').toStdString();
    EXPECT_FALSE(texts.join('\n').contains(QStringLiteral("лв")));

    QDir().mkpath(c.dir() + "decl");
    run({"decl1", "--out", c.dir() + "decl"});
    QStringList files = QDir(c.dir() + "decl").entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    QFile decl(c.dir() + "decl/" + files.first());
    ASSERT_TRUE(decl.open(QIODevice::ReadOnly));
    const QByteArray declaration = decl.readAll();
    EXPECT_TRUE(declaration.contains("874.01")) << declaration.toStdString();
    EXPECT_FALSE(declaration.contains("1709.40"));
}

// Killed at any moment of its work, the closing of December leaves
// December current and every table of it as it was.
TEST_F(EuroChangeover, AClosingKilledMidwayLeavesDecemberAsItWas)
{
    run({"demo", "--employees", "300", "--months", "0", "--period", "122025"});
    // The tables of 2026 are not read while the closings run: a table this
    // process has read is in use, and the closing could not index it.
    auto december = [this] { return c.digest([](const QString &table) { return !table.contains(QLatin1String("2026")); }); };
    const QByteArray before = december();
    bool closed = false;
    for (int moment : {100, 400, 800, 1300, 2500}) {
        auto p = test::startCli(c.dir(), {"--yes", "close-month"});
        p->waitForFinished(moment);
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished();
        } else {
            // Ended by itself: closed, or refused with its reason (a copy
            // killed a moment ago may still hold a table of the new year).
            const CliRun r = test::finishCli(*p);
            if (r.status == 0) {
                closed = true;
                break;
            }
            EXPECT_TRUE(r.err.contains(QStringLiteral("Месецът не е приключен."))) << r.err.toStdString();
        }
        EXPECT_EQ(value("select PAR_CURDATE from MYPARAMS").toString().trimmed(), QStringLiteral("122025")) << moment;
        EXPECT_EQ(december(), before) << "stopped after " << moment << " ms";
    }
    // And let run, it closes (tried again, as a user would, if a killed copy was still in the way).
    for (int attempt = 0; !closed && attempt < 3; ++attempt) {
        const CliRun r = c.cli({"--yes", "close-month"});
        closed = r.status == 0;
        if (!closed) {
            EXPECT_EQ(december(), before) << r.err.toStdString();
        }
        std::cout << "closing attempt " << attempt + 1 << ": " << r.status << " " << r.err.toStdString() << std::endl;
    }
    EXPECT_TRUE(closed);
    EXPECT_EQ(value("select PAR_CURDATE from MYPARAMS").toString().trimmed(), QStringLiteral("012026"));
    EXPECT_GT(value("select count(*) from PERA012026").toInt(), 0);
}

TEST(StatutoryFigures, TheShippedMonthsOfTheLaw)
{
    const QString dir = QStringLiteral(PLAVEX_SOURCE_DIR "/noms/");
    const auto rows = storage::readStatutoryFigures(storage::statutoryFiguresFile(dir));
    ASSERT_FALSE(rows.empty());
    const struct {
        util::Period period;
        std::optional<double> minSalary, maxInsurable, minInsurable;
    } cases[] = {
        {{2007, 11}, 180.0, 1400.0, 220.0}, // October's new rates leave the company figures
        {{2008, 6}, 220.0, 2000.0, 240.0},
        {{2025, 3}, 1077.0, 3750.0, 933.0},
        {{2025, 4}, 1077.0, 4130.0, 1077.0},
        {{2026, 7}, 620.20, 2111.64, 550.66},
        {{2026, 8}, 620.20, 2300.0, 550.66}, // the new minimum has no source yet: January's stays
    };
    for (const auto &c : cases) {
        const auto f = storage::statutoryFiguresFor(rows, c.period);
        ASSERT_TRUE(f) << c.period.text().toStdString();
        EXPECT_EQ(f->minSalary, c.minSalary) << c.period.text().toStdString();
        EXPECT_EQ(f->maxInsurable, c.maxInsurable) << c.period.text().toStdString();
        EXPECT_EQ(f->minInsurable, c.minInsurable) << c.period.text().toStdString();
    }
    // No guess from another year.
    EXPECT_FALSE(storage::statutoryFiguresFor(rows, util::Period(2024, 5)));
    EXPECT_FALSE(storage::statutoryFiguresFor(rows, util::Period(2009, 1)));
}

// A new company in March 2025 and the published example: 1000.00 лв,
// born after 1959, the year's employee shares (7.98 + 2.2 + 3.2 + 0.4),
// which the new employee carries without a typed item.
TEST(StatutoryFigures, ANewCompanyTakesTheLawOfItsMonth)
{
    CliCompany c(QStringLiteral("032025"));
    auto ok = [&c](const QStringList &args) {
        const CliRun r = c.cli(args);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return r;
    };
    ok({"employee", "add", "--number", "1", "--name", "Мария Иванова", "--egn", test::kEgn});
    ok({"item", "add", "--employee", "1", "--code", "1", "--suma1", "1000"});
    const CliRun totals = ok({"recalc"});
    EXPECT_TRUE(totals.out.contains(QRegularExpression("1000\\.00 +137\\.80 +86\\.22 +775\\.98"))) << totals.out.toStdString();

    // A company opened in 2026 starts in euro.
    CliCompany euro(QStringLiteral("012026"));
    auto firma = [&euro](const char *column) {
        return fb::Statement::scalar(euro.db.data->transaction(), QStringLiteral("select %1 from FIRMA012026").arg(QLatin1String(column)))
            .toDouble();
    };
    EXPECT_DOUBLE_EQ(firma("FIRMA_MINSALARY"), 620.20);
    EXPECT_DOUBLE_EQ(firma("FIRMA_INDDOO"), 2111.64);
    EXPECT_DOUBLE_EQ(firma("FIRMA_MINDOH"), 550.66);
    EXPECT_EQ(euro.scalar("select count(*) from NOI2026"), 4);

    // A year with no figures says so rather than calculate with 0 unseen.
    test::TempProgramDir dir;
    test::copyShippedNoms(dir.path());
    const CliRun r = test::runCli(dir.path(), {"init", "--period", "052024"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.count(QStringLiteral("Няма данни за максималния осигурителен доход за 2024 г. — попълнете данните на фирмата.")), 1)
        << r.err.toStdString();
}

// The law changes a figure within the year (August 2026): the closing
// shows it and takes it only when the user says so.
TEST(StatutoryFigures, AChangeWithinTheYearIsOfferedAtTheClosing)
{
    for (const bool take : {false, true}) {
        test::TestDatabase t(util::Period(2026, 7));
        test::copyShippedNoms(t.dir.path());
        ASSERT_TRUE(t.open());
        EXPECT_DOUBLE_EQ(fb::Statement::scalar(t.data->transaction(), "select FIRMA_INDDOO from FIRMA072026").toDouble(), 2111.64);
        util::RecordingPrompter answer(take);
        ASSERT_EQ(operations::closeMonth(*t.data, answer, {}), operations::ClosingResult::Closed);
        ASSERT_EQ(answer.questions.size(), 1);
        EXPECT_TRUE(answer.questions[0].contains(QStringLiteral("Максимален осигурителен доход: 2111.64 → 2300.00")))
            << answer.questions[0].toStdString();
        EXPECT_DOUBLE_EQ(fb::Statement::scalar(t.data->transaction(), "select FIRMA_INDDOO from FIRMA082026").toDouble(),
                         take ? 2300.0 : 2111.64);
        // A figure with no source is not touched.
        EXPECT_DOUBLE_EQ(fb::Statement::scalar(t.data->transaction(), "select FIRMA_MINDOH from FIRMA082026").toDouble(), 550.66);
    }
}

// Two copies on one file at the change-over: additions beside the closing
// of December 2025 are carried (and converted) or refused, never lost.
TEST(EuroChangeoverTwoCopies, ClosingIntoTheEuroBesideAddsLeavesNobodyBehind)
{
    CliCompany c(QStringLiteral("122025"));
    test::expectClosingBesideAddsLeavesNobodyBehind(c);
    // Every pay carried from December is December's in euro, up to the next cent.
    const QString carried = QStringLiteral("select count(*) from PERA012026 n join PERA122025 o on o.PERO_PEROID=n.PERO_PEROID "
                                           "where n.PERO_COD=1");
    EXPECT_GT(c.scalar(carried), 400);
    EXPECT_EQ(c.scalar(carried + QStringLiteral(" and (n.PERO_SUMA1 < o.PERO_SUMA1 / 1.95583 or n.PERO_SUMA1 >= o.PERO_SUMA1 / 1.95583 + 0.01)")), 0);
}
