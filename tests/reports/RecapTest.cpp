// The recapitulation "Обща" and "На звено": the item totals, bases,
// contributions, head counts and days against the month's items and records.
#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "reports/Recapitulation.h"
#include "reports/ReportRun.h"
#include "tests/reports/SheetsFixture.h"
#include "tests/support/Cli.h"

#include <QDate>
#include <QProcess>

using namespace plavex;
using namespace plavex::reports;
using test::DocLine;
using test::fx;

namespace {

class RecapTest : public test::SheetsCompany {
protected:
    std::vector<DocLine> recap(RecapType type, int unit = 0)
    {
        ReportRequest r;
        r.kind = ReportKind::Recapitulation;
        r.recapType = type;
        r.unitCode = unit;
        ReportHost host;
        std::optional<Document> doc = buildRecapitulation(*d, r, host);
        EXPECT_TRUE(doc.has_value());
        document = doc ? *doc : Document{};
        return test::docLines(document);
    }
    // The final amounts of each code over the employees, type 198 left out.
    std::map<int, double> itemTotals(const std::vector<int> &ids)
    {
        std::map<int, double> totals;
        fb::Statement q(d->transaction(),
                        QStringLiteral("select PERO_PERSONID, PERO_COD, PERO_TYPE, PERO_SUMAFINAL from %1").arg(d->table(u"PERA")));
        while (q.next())
            if (std::find(ids.begin(), ids.end(), q.toInt(0)) != ids.end() && q.toInt(2) != 198)
                totals[static_cast<int>(q.toInt(1))] += q.toDouble(3);
        return totals;
    }
    double records(const std::vector<int> &ids, const char *column)
    {
        double s = 0;
        for (int id : ids)
            s += record(id, QString::fromLatin1(column));
        return s;
    }
    QString line(const std::vector<DocLine> &lines, const char *first, size_t from = 0)
    {
        const DocLine *l = test::lineStarting(lines, QString::fromUtf8(first), from);
        return l ? l->joined() : QStringLiteral("(none)");
    }
    size_t indexOf(const std::vector<DocLine> &lines, const char *first)
    {
        const DocLine *l = test::lineStarting(lines, QString::fromUtf8(first));
        return l ? static_cast<size_t>(l - lines.data()) : lines.size();
    }
    Document document;
};

QString contribution(const QString &label, double rate, double base)
{
    return label + u'|' + fx(rate, 7, 3) + QStringLiteral("%|( ") + fx(base, 7, 2) + QStringLiteral(" )|")
           + fx(rate * base / 100, 7, 2);
}

} // namespace

TEST_F(RecapTest, GeneralAndUnitFiguresAreTheMonthsSums)
{
    struct Case {
        RecapType type;
        int unit;
        std::vector<int> ids; // the active employees it covers
        int women;
        const char *title;
    } cases[] = {
        {RecapType::General, 0, {1, 2, 3, 5}, 2, "Рекапитулация обща за месец Януари 2008 г."},
        {RecapType::Unit, 1, {1, 2}, 1, "Рекапитулация за звено 1  Администрация  Януари 2008 г."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        const auto lines = recap(c.type, c.unit);
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(lines[0].joined(), QStringLiteral("Плавекс ООД|Стр: 1  от  ") + QString::number(document.pageCount()));
        EXPECT_EQ(lines[1].joined(), QString::fromUtf8(c.title) + QStringLiteral("|") + printingDate(QDate::currentDate()));
        EXPECT_EQ(lines[2].joined(), QStringLiteral("Суми в лева"));
        EXPECT_EQ(lines[3].joined(), QStringLiteral("Начисления|Удръжки"));

        // Items: earnings left, deductions right, the totals under both; no 198.
        const std::map<int, double> totals = itemTotals(c.ids);
        EXPECT_EQ(line(lines, "101"), QStringLiteral("101|Основна заплата|") + fx(totals.at(101), 1, 2) + QStringLiteral("|401|ДОО за сметка на лицето|")
                                          + fx(totals.at(401), 1, 2));
        EXPECT_EQ(line(lines, "Общо начисления"), QStringLiteral("Общо начисления|") + fx(totals.at(1000), 1, 2)
                                                      + QStringLiteral("|Общо удръжки|") + fx(totals.at(2000), 1, 2));
        EXPECT_EQ(line(lines, "ФРЗ"), QStringLiteral("ФРЗ|") + fx(records(c.ids, "PERSDATA_SFRZ"), 1, 2)
                                          + QStringLiteral("|Чиста сума за получаване|") + fx(totals.at(2010), 1, 2));
        for (const DocLine &l : lines)
            EXPECT_FALSE(l.texts().contains(QStringLiteral("Корекция"))) << l.joined().toStdString();
        EXPECT_EQ(line(lines, "Облагаема сума"), QStringLiteral("Облагаема сума|") + fx(records(c.ids, "PERSDATA_SOBL"), 1, 2));
        EXPECT_EQ(line(lines, "ДОО начисления"), QStringLiteral("ДОО начисления|") + fx(records(c.ids, "PERSDATA_SDOO"), 1, 2));
        EXPECT_EQ(line(lines, "Осигурителен доход"),
                  QStringLiteral("Осигурителен доход|") + fx(records(c.ids, "PERSDATA_WCOSUMA"), 1, 2));
        EXPECT_GT(records(c.ids, "PERSDATA_WCOSUMA"), 0);

        // The contributions: 11 is born before 1960, the others after.
        const std::vector<int> before{1};
        std::vector<int> after;
        for (int id : c.ids)
            if (id != 1)
                after.push_back(id);
        const double p1 = records(before, "PERSDATA_WCOSUMA32"), p2 = records(after, "PERSDATA_WCOSUMA32");
        EXPECT_GT(p2, 0);
        EXPECT_EQ(line(lines, "01 Работници"), QStringLiteral("01 Работници"));
        EXPECT_EQ(line(lines, "Ф. Пенсия "),
                  contribution(QStringLiteral("Ф. Пенсия "), 11.7, p1) + u'|' + contribution(QStringLiteral("Ф. Пенсия "), 8.9, p2));
        const size_t first = indexOf(lines, "ДОО вноска");
        EXPECT_EQ(line(lines, "ДОО вноска"),
                  contribution(QStringLiteral("ДОО вноска"), 14.4, p1) + u'|' + contribution(QStringLiteral("ДОО вноска"), 11.6, p2));
        EXPECT_EQ(line(lines, "ДОО вноска", first + 1),
                  contribution(QStringLiteral("ДОО вноска"), 15.1, p1) + u'|' + contribution(QStringLiteral("ДОО вноска"), 12.3, p2));
        EXPECT_EQ(line(lines, "ДЗПО"), contribution(QStringLiteral("ДЗПО"), 2.8, p2));
        const double soc1 = records(before, "PERSDATA_WCOSOC"), soc2 = records(after, "PERSDATA_WCOSOC");
        EXPECT_EQ(line(lines, "База - соц. разходи за ДОО"),
                  QStringLiteral("База - соц. разходи за ДОО|") + fx(soc1, 1, 2) + QStringLiteral("|База - соц. разходи за ДОО|")
                      + fx(soc2, 1, 2));
        EXPECT_EQ(line(lines, "ЗДРО"), contribution(QStringLiteral("ЗДРО"), 4.8, records(before, "PERSDATA_SZDR")) + u'|'
                                           + contribution(QStringLiteral("ЗДРО"), 4.8, records(after, "PERSDATA_SZDR")));
        // The guaranteed fund counts the fund's members only (11 and 21).
        std::vector<int> fund;
        for (int id : c.ids)
            if (id == 1 || id == 3)
                fund.push_back(id);
        EXPECT_EQ(line(lines, "Фонд \"Гарантирани вземания за работници и служители\""),
                  contribution(QStringLiteral("Фонд \"Гарантирани вземания за работници и служители\""), 0.5,
                               records(fund, "PERSDATA_WCOGARANT")));

        // Head counts and days.
        calc::Parameters params;
        params.reloadAll(*d);
        calc::PersonCalculator calculator(*d, params);
        const int workingDays = calculator.calculate(c.ids.back()).totals.workingDays;
        EXPECT_GT(workingDays, 0);
        const int people = static_cast<int>(c.ids.size());
        std::vector<int> women;
        for (int id : c.ids)
            if (id == 1 || id == 3)
                women.push_back(id);
        EXPECT_EQ(line(lines, "Брой хора"), QStringLiteral("Брой хора|%1").arg(people));
        EXPECT_EQ(line(lines, "От тях жени"), QStringLiteral("От тях жени|%1|ФРЗ жени|").arg(c.women)
                                                  + fx(records(women, "PERSDATA_SFRZ"), 7, 2));
        EXPECT_EQ(line(lines, "Работни дни"), QStringLiteral("Работни дни|%1").arg(workingDays));
        EXPECT_EQ(line(lines, "Лимитни човекодни"), QStringLiteral("Лимитни човекодни|%1").arg(workingDays * people));
        EXPECT_EQ(line(lines, "Отработени човекодни"),
                  QStringLiteral("Отработени човекодни|") + fx(records(c.ids, "PERSDATA_ODNI"), 7, 0));
        EXPECT_EQ(lines.back().joined(), QStringLiteral(" /Мария Стоева /| / Иван Петров /"));
    }
}

TEST_F(RecapTest, OnlyGeneralAndUnitArePrinted)
{
    struct Host : ReportHost {
        bool askRecapType(ReportRequest &r) override
        {
            r.recapType = type;
            r.unitCode = unit;
            return type != RecapType::None;
        }
        void output(Document &document) override { produced = document; ++outputs; }
        void message(const QString &text) override { messages << text; }
        RecapType type = RecapType::None;
        int unit = 0, outputs = 0;
        Document produced;
        QStringList messages;
    } host;
    ReportRequest r;
    r.kind = ReportKind::Recapitulation;
    for (RecapType type : {RecapType::Full, RecapType::Group, RecapType::FundRate, RecapType::Topics, RecapType::ForPeriod}) {
        host.type = type;
        EXPECT_EQ(startReport(*d, host, r).outcome, RunOutcome::Cancelled);
        EXPECT_EQ(host.messages.value(host.messages.size() - 1), QStringLiteral("Не е направена."));
    }
    host.type = RecapType::None; // the dialog cancelled
    EXPECT_EQ(startReport(*d, host, r).outcome, RunOutcome::Cancelled);
    EXPECT_EQ(host.outputs, 0);
    // A unit nobody works in has no items: nothing to print, and the user is told.
    host.type = RecapType::Unit;
    host.unit = 9;
    const RunResult empty = startReport(*d, host, r);
    EXPECT_EQ(empty.outcome, RunOutcome::Cancelled);
    EXPECT_EQ(host.outputs, 0);
    EXPECT_EQ(host.messages.back(), noRecapItemsMessage());
    host.unit = workshop;
    EXPECT_EQ(startReport(*d, host, r).outcome, RunOutcome::Done);
    EXPECT_EQ(host.outputs, 1);
    const auto lines = test::docLines(host.produced);
    EXPECT_EQ(lines[1].texts().front(), QStringLiteral("Рекапитулация за звено 2  Цех  Януари 2008 г."));
    // Only 21 works there: born after 1959, so the halves before 1960 are zero.
    EXPECT_EQ(test::lineStarting(lines, QStringLiteral("Брой хора"))->joined(), QStringLiteral("Брой хора|1"));
    const DocLine *pension = test::lineStarting(lines, QStringLiteral("Ф. Пенсия "));
    ASSERT_NE(pension, nullptr);
    EXPECT_EQ(pension->texts().mid(0, 4), contribution(QStringLiteral("Ф. Пенсия "), 11.7, 0).split(u'|'));
}

class RecapNovember2007 : public test::SheetsCompany {
protected:
    RecapNovember2007() : SheetsCompany(util::Period(2007, 11)) {}
};

TEST_F(RecapNovember2007, TheRatesComeFromTheOctoberTable)
{
    addRates(QStringLiteral("NOI2007"), 2.0); // the year's own table must not be read
    d->commitRetaining();
    ReportRequest r;
    r.kind = ReportKind::Recapitulation;
    r.recapType = RecapType::General;
    ReportHost host;
    const std::optional<Document> doc = buildRecapitulation(*d, r, host);
    ASSERT_TRUE(doc);
    const auto lines = test::docLines(*doc);
    const DocLine *pension = test::lineStarting(lines, QStringLiteral("Ф. Пенсия "));
    ASSERT_NE(pension, nullptr);
    EXPECT_EQ(pension->texts()[1], fx(11.7, 7, 3) + u'%');
}

TEST_F(RecapTest, FromTheCommandLine)
{
    d->commitRetaining();
    const QString dir = t.dir.path();
    const QString pdf = dir + QStringLiteral("recap.pdf");
    auto run = [&](const QStringList &args) {
        return test::runCli(dir, QStringList{QStringLiteral("--program-dir"), dir, QStringLiteral("report"),
                                             QStringLiteral("recap")}
                                     + args + QStringList{QStringLiteral("--out"), pdf});
    };
    const test::CliRun unit = run({QStringLiteral("--type"), QStringLiteral("unit"), QStringLiteral("--unit"), QStringLiteral("1")});
    ASSERT_EQ(unit.status, 0) << unit.err.toStdString();
    QProcess text;
    // As the page lays the lines out: a label and its figure on one line.
    text.start(QStringLiteral(PLAVEX_PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const char *w : {"Рекапитулация за звено 1 Администрация Януари 2008 г.", "Брой хора 2", "Гл. счетоводител"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(w))) << w << " in " << words.toStdString();
    // "На звено" needs its unit, as the dialog does.
    const test::CliRun missing = run({QStringLiteral("--type"), QStringLiteral("unit")});
    EXPECT_NE(missing.status, 0);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("номер на звено"))) << missing.err.toStdString();
}

TEST_F(RecapTest, AFullPageGoesOnUnderTheHeader)
{
    for (int code = 700; code < 790; ++code) {
        items::addDefinition(*d, items::makeDefinition(code, 30, QStringLiteral("Добавка %1").arg(code), QStringLiteral("1")));
        addItem(1, code, 30, 1);
    }
    d->commitRetaining();
    const auto lines = recap(RecapType::General);
    ASSERT_GE(document.pageCount(), 2);
    const QString pages = QString::number(document.pageCount());
    for (int page = 0; page < document.pageCount(); ++page) {
        std::vector<const DocLine *> on;
        for (const DocLine &l : lines)
            if (l.page == page)
                on.push_back(&l);
        ASSERT_GE(on.size(), 2u);
        EXPECT_EQ(on[0]->joined(), QStringLiteral("Плавекс ООД|Стр: %1  от  ").arg(page + 1) + pages);
        EXPECT_EQ(on[1]->texts().front(), QStringLiteral("Рекапитулация обща за месец Януари 2008 г."));
        EXPECT_LT(on.back()->y, document.setup.height() - 0.8);
    }
    // Every item is there once, the last ones on the next page.
    EXPECT_EQ(test::lineStarting(lines, QStringLiteral("789"))->page, 1);
    EXPECT_EQ(test::lineStarting(lines, QStringLiteral("Брой хора"))->joined(), QStringLiteral("Брой хора|4"));
}
