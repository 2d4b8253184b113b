// The pay sheet and the advance sheet of a company of two units: every row
// against the employee's items, the unit and company totals, the pages.
#include "reports/ReportRun.h"
#include "reports/Sheets.h"
#include "reports/engine/FontMetrics.h"
#include "tests/reports/SheetsFixture.h"
#include "tests/support/Cli.h"
#include "util/MonthNames.h"

#include <QDate>
#include <QProcess>

using namespace plavex;
using namespace plavex::reports;
using test::DocLine;
using test::fx;

namespace {

class SheetsTest : public test::SheetsCompany {
protected:
    Document paySheet()
    {
        ReportRequest r;
        r.kind = ReportKind::Sheet;
        ReportHost host;
        return buildPaySheet(*d, r, host);
    }
    Document advanceSheet(int code, int month)
    {
        ReportRequest r;
        r.kind = ReportKind::AdvanceSheet;
        r.itemText = QString::number(code);
        r.advanceMonth = month;
        ReportHost host;
        return buildAdvanceSheet(*d, r, host);
    }
    QString dated(const QString &caption)
    {
        return caption + QStringLiteral("г.  - дата ") + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    }
};

double lh() { return 10 * 1.2 / 72 * 2.54; }
double margin() { return 0.2 * FontMetrics::height(Font{}); }
double rightEnd(const Op &op) { return op.x + FontMetrics::width(op.font, op.text); }

} // namespace

TEST_F(SheetsTest, PaySheetRowsAndTotalsAreTheItems)
{
    const Document doc = paySheet();
    // Unit 3 (nobody with all three totals) forces no page; the company totals follow unit 2.
    ASSERT_EQ(doc.pageCount(), 2);
    const auto lines = test::docLines(doc);
    const QString title = dated(QStringLiteral("Ведомост заплати за месец  Януари 2008"));

    auto row = [&](int id, const char *number, const char *name) {
        return QStringList{QLatin1String(number), QString::fromUtf8(name), fx(stored(id, 100), 2, 2), fx(stored(id, 200), 2, 2),
                           fx(stored(id, 201), 2, 2), QStringLiteral("..................")}
            .join(u'|');
    };
    // The calculation has run: the amount to pay is what is left of the earnings.
    for (int id : {1, 2, 3}) {
        EXPECT_GT(stored(id, 100), 0);
        EXPECT_NEAR(stored(id, 201), stored(id, 100) - stored(id, 200), 0.005);
    }
    auto total = [&](std::initializer_list<int> ids, int type) {
        double s = 0;
        for (int id : ids)
            s += stored(id, type);
        return fx(s, 2, 2);
    };
    const QString heading = QStringLiteral("Номер|Име|Начисления|Удръжки|Сума|Подпис");
    const std::vector<QString> want = {
        QStringLiteral("Плавекс ООД|Суми в лева"),
        title + QStringLiteral("|Стр: 1  от  2"),
        heading,
        row(1, "11", "Анна Иванова Петрова"),
        row(2, "12", "Борис Стоянов Колев"),
        QStringLiteral("Общо за звено Администрация|") + total({1, 2}, 100) + u'|' + total({1, 2}, 200) + u'|'
            + total({1, 2}, 201),
        QStringLiteral("Плавекс ООД|Суми в лева"),
        title + QStringLiteral("|Стр: 2  от  2"),
        heading,
        row(3, "21", "Вера Данова"),
        QStringLiteral("Общо за звено Цех|") + total({3}, 100) + u'|' + total({3}, 200) + u'|' + total({3}, 201),
        QStringLiteral("Общо |") + total({1, 2, 3}, 100) + u'|' + total({1, 2, 3}, 200) + u'|' + total({1, 2, 3}, 201),
        QStringLiteral("Гл. счетоводител:....................|Управител/Председател:...................."),
        QStringLiteral(" /Мария Стоева /| / Иван Петров /"),
    };
    ASSERT_EQ(lines.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(lines[i].joined().toStdString(), want[i].toStdString()) << "line " << i;
    EXPECT_EQ(lines[9].page, 1);

    // Columns: number right in 1.5 cm from 2 cm, the name after it, the amount to pay at 17.2 cm.
    const DocLine &first = lines[3];
    EXPECT_NEAR(rightEnd(*first.ops[0]), 3.5 - margin(), 1e-6);
    EXPECT_NEAR(first.ops[1]->x, 3.5 + margin(), 1e-6);
    EXPECT_NEAR(rightEnd(*first.ops[4]), 17.5 - margin(), 1e-6);
    // Rows of double height with the text low, 0.1 cm clear of the row's
    // foot; the totals right under the last row.
    EXPECT_NEAR(lines[4].y - lines[3].y, 2 * lh(), 1e-6);
    EXPECT_NEAR(lines[3].y - lines[2].y, 2 * lh() - 0.1, 1e-6);
    EXPECT_NEAR(lines[5].y - lines[4].y, lh() + 0.1, 1e-6);
}

TEST_F(SheetsTest, AdvanceSheetOfEitherMonth)
{
    struct Case {
        int month;
        const char *caption;
        std::vector<QString> rows; // the unit rows and totals, in order
        double before, after;      // the company page's bases
        int pages;
    } cases[] = {
        // This month reads PERO_SUMA1: 21's advance is for the next month only.
        {0, "Ведомост аванс за месец  Януари 2008",
         {QStringLiteral("11|Анна Иванова Петрова|601|100.00|................"),
          QStringLiteral("12|Борис Стоянов Колев|601|120.00|................"),
          QStringLiteral("Общо за звено Администрация|220.00")},
         100, 120, 2},
        // The next month reads PERO_SUMA2: 12 (zero there) is left out, 21 prints.
        {1, "Ведомост аванс за месец  Февруари 2008",
         {QStringLiteral("11|Анна Иванова Петрова|601|150.00|................"),
          QStringLiteral("Общо за звено Администрация|150.00"),
          QStringLiteral("21|Вера Данова|601|90.00|................"), QStringLiteral("Общо за звено Цех|90.00")},
         150, 90, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.month);
        const Document doc = advanceSheet(601, c.month);
        EXPECT_EQ(doc.pageCount(), c.pages);
        const auto lines = test::docLines(doc);
        ASSERT_GT(lines.size(), 2u);
        EXPECT_EQ(lines[1].texts().front(), dated(QString::fromUtf8(c.caption)));
        std::vector<QString> rows;
        for (const DocLine &l : lines)
            if (l.page < c.pages - 1 && l.ops.size() >= 2 && l.texts()[0] != QStringLiteral("Номер")
                && l.texts()[0] != QStringLiteral("Плавекс ООД") && !l.texts()[1].startsWith(QStringLiteral("Стр:")))
                rows.push_back(l.joined());
        EXPECT_EQ(rows, c.rows);

        // The company page: its total, then per age group the contributions on the advance.
        const int last = c.pages - 1;
        const DocLine *company = test::lineStarting(lines, QStringLiteral("Общо за фирмата"));
        ASSERT_NE(company, nullptr);
        EXPECT_EQ(company->page, last);
        EXPECT_EQ(company->joined(), QStringLiteral("Общо за фирмата|") + fx(c.before + c.after, 2, 2));
        auto contribution = [&](const char *label, double rate, double base) {
            return QString::fromUtf8(label) + u'|' + fx(rate, 7, 3) + QStringLiteral("|% върху|( ") + fx(base, 7, 2)
                   + QStringLiteral(" )|") + fx(rate * base / 100, 7, 2);
        };
        const QString block = [&] {
            QStringList l;
            bool in = false;
            for (const DocLine &line : lines) {
                if (line.page != last)
                    continue;
                if (line.texts().front() == QStringLiteral("01 Работници"))
                    in = true;
                if (line.texts().front().startsWith(QStringLiteral("Гл. счетоводител")))
                    in = false;
                if (in)
                    l << line.joined();
            }
            return l.join(u'\n');
        }();
        const QStringList expected{
            QStringLiteral("01 Работници"),
            QStringLiteral("Осигуровки върху аванса на родените до 01.01.1960 г."),
            contribution("ДОО пенсия", 11.7, c.before),
            contribution("ДОО ОЗиМ", 2.1, c.before),
            contribution("ПКБ", 0.6, c.before),
            contribution("ДОО общо", 14.4, c.before),
            contribution("ДОО ТЗ", 0.7, c.before),
            contribution("ЗДРО", 4.8, c.before),
            QStringLiteral("Осигуровки върху аванса на родените след 31.12.1959 г."),
            contribution("ДОО пенсия", 8.9, c.after),
            contribution("ДОО ОЗиМ", 2.1, c.after),
            contribution("ПКБ", 0.6, c.after),
            contribution("ДОО общо", 11.6, c.after),
            contribution("ДОО ТЗ", 0.7, c.after),
            contribution("ДЗПО", 2.8, c.after),
            contribution("ЗДРО", 4.8, c.after),
            contribution("Гарант. вземания", 0.5, c.before + c.after),
        };
        EXPECT_EQ(block.toStdString(), expected.join(u'\n').toStdString());
        EXPECT_EQ(lines.back().joined(), QStringLiteral(" /Мария Стоева /| / Иван Петров /"));
    }

    // An advance nobody has: no unit page, the company page alone with 0.00.
    const Document none = advanceSheet(602, 0);
    EXPECT_EQ(none.pageCount(), 1);
    const auto lines = test::docLines(none);
    const DocLine *company = test::lineStarting(lines, QStringLiteral("Общо за фирмата"));
    ASSERT_NE(company, nullptr);
    EXPECT_EQ(company->joined(), QStringLiteral("Общо за фирмата|0.00"));
}

TEST(SheetsDialog, TheNextMonthOfDecemberIsJanuary)
{
    EXPECT_EQ(advanceMonths(util::Period(2008, 12)),
              (QStringList{QStringLiteral("Декември 2008г."), QStringLiteral("Януари 2009г.")}));
    EXPECT_EQ(advanceMonths(util::Period(2008, 3)), (QStringList{QStringLiteral("Март 2008г."), QStringLiteral("Април 2008г.")}));
    EXPECT_FALSE(checkAdvanceItem(QString()).isEmpty());
    EXPECT_FALSE(checkAdvanceItem(QStringLiteral("0")).isEmpty());
    EXPECT_TRUE(checkAdvanceItem(QStringLiteral(" 601 ")).isEmpty());
}

TEST_F(SheetsTest, WithoutAnAdvanceItemTheRunSaysSoAndPrintsNothing)
{
    // The dialog of a period without a type-142 item returns no code.
    struct Host : ReportHost {
        bool askAdvance(ReportRequest &r) override
        {
            r.itemText.clear();
            return true;
        }
        void output(Document &) override { printed = true; }
        void message(const QString &text) override { messages << text; }
        bool printed = false;
        QStringList messages;
    } host;
    ReportRequest r;
    r.kind = ReportKind::AdvanceSheet;
    const RunResult result = startReport(*d, host, r);
    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    EXPECT_FALSE(host.printed);
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_TRUE(host.messages[0].contains(QStringLiteral("тип 142"))) << host.messages[0].toStdString();
}

class SheetsNovember2007 : public test::SheetsCompany {
protected:
    SheetsNovember2007() : SheetsCompany(util::Period(2007, 11)) {}
};

TEST_F(SheetsNovember2007, TheAdvancePageReadsTheOctoberRates)
{
    ASSERT_EQ(d->table(u"NOI"), QStringLiteral("NOI200710"));
    // The year's own table holds other rates, which must not be read.
    ASSERT_EQ(t.scalar(QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME='NOI2007'")), 1);
    addRates(QStringLiteral("NOI2007"), 2.0);
    d->commitRetaining();
    ReportRequest r;
    r.kind = ReportKind::AdvanceSheet;
    r.itemText = QStringLiteral("601");
    ReportHost host;
    const Document doc = buildAdvanceSheet(*d, r, host);
    const auto lines = test::docLines(doc);
    const DocLine *pension = test::lineStarting(lines, QStringLiteral("ДОО пенсия"));
    ASSERT_NE(pension, nullptr);
    EXPECT_EQ(pension->texts()[1], fx(11.7, 7, 3));
}

TEST_F(SheetsTest, FromTheCommandLine)
{
    d->commitRetaining();
    const QString dir = t.dir.path();
    struct Case {
        QStringList args;
        std::vector<const char *> words;
        int pages;
    } cases[] = {
        {{QStringLiteral("sheet")}, {"Ведомост заплати за месец Януари 2008г.", "Общо за звено Цех", "Управител/Председател"}, 2},
        {{QStringLiteral("advance-sheet"), QStringLiteral("--next-month")},
         {"Ведомост аванс за месец Февруари 2008г.", "Вера Данова", "Общо за фирмата 240.00"}, 3},
        {{QStringLiteral("advance-sheet"), QStringLiteral("--item"), QStringLiteral("602")}, {"Общо за фирмата 0.00"}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const QString pdf = dir + QStringLiteral("sheet.pdf");
        const test::CliRun run = test::runCli(
            dir, QStringList{QStringLiteral("--program-dir"), dir, QStringLiteral("report")} + c.args
                     + QStringList{QStringLiteral("--out"), pdf});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QProcess text;
        text.start(QStringLiteral(PLAVEX_PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished(30000));
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        EXPECT_EQ(words.count(QChar(u'\f')), c.pages);
        for (const char *w : c.words)
            EXPECT_TRUE(words.simplified().contains(QString::fromUtf8(w))) << w << " in " << words.toStdString();
    }
}
