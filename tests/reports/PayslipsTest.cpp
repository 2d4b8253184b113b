// Payslips of both types on a small company: every figure against the
// calculation, the columns, the selection and the page fill.
#include "calc/CalcPerson.h"
#include "calc/ItemText.h"
#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "items/Items.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reports/Payslips.h"
#include "reports/ReportRun.h"
#include "reports/engine/FontMetrics.h"
#include "storage/fb/Statement.h"
#include "tests/support/Cli.h"
#include "tests/support/MonthRows.h"
#include "tests/support/TestDatabase.h"
#include "util/NumberText.h"

#include <QProcess>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

using namespace plavex;
using namespace plavex::reports;

namespace {

QString fx(double v, int w, int d) { return util::fixedNumber(v, w, d); }

// The texts of a document grouped into lines (same page, same baseline), in
// the order they were printed.
struct Line {
    int page = 0;
    double y = 0;
    std::vector<const Op *> ops;
    QStringList texts() const
    {
        QStringList t;
        for (const Op *op : ops)
            t << op->text;
        return t;
    }
};

std::vector<Line> linesOf(const Document &doc)
{
    std::vector<Line> lines;
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const Op &op : doc.pages[p].ops) {
            if (op.kind != Op::Kind::Text)
                continue;
            // The 8-point cell of the signature row sits a little higher.
            if (lines.empty() || lines.back().page != p || std::abs(lines.back().y - op.y) > 0.1)
                lines.push_back({p, op.y, {}});
            lines.back().ops.push_back(&op);
        }
    return lines;
}

// The lines of each payslip, from its company row to its signature row.
std::vector<std::vector<Line>> slipsOf(const Document &doc)
{
    std::vector<std::vector<Line>> slips;
    for (const Line &l : linesOf(doc)) {
        if (l.texts().value(0) == QStringLiteral("Плавекс ООД"))
            slips.emplace_back();
        if (!slips.empty())
            slips.back().push_back(l);
    }
    return slips;
}

double rightEnd(const Op &op) { return op.x + FontMetrics::width(op.font, op.text); }

// What keeps a cell's text off its edges.
double cellMargin() { return 0.2 * FontMetrics::height(Font{}); }

// Frame lines of one page: vertical edges and horizontal rules.
std::vector<const Op *> linesOnPage(const Document &doc, int page)
{
    std::vector<const Op *> out;
    for (const Op &op : doc.pages[page].ops)
        if (op.kind == Op::Kind::Line)
            out.push_back(&op);
    return out;
}

class PayslipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.dir.writeNom(QStringLiteral("DOD2008.csv"), {QStringLiteral("2008;0;0;0.10")});
        ASSERT_TRUE(t.open());
        d = t.data.get();
        reference::postCompany(*d, {{QStringLiteral("FIRMA_IME"), QStringLiteral("Плавекс ООД")},
                                    {QStringLiteral("FIRMA_INDDOO"), 2000.0},
                                    {QStringLiteral("FIRMA_MINDOH"), 220.0},
                                    {QStringLiteral("FIRMA_MINSALARY"), 180.0},
                                    {QStringLiteral("FIRMA_DATA3"), 0.5}});
        d->insertValues(d->table(u"NOI"),
                        QStringLiteral("NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PROC,NOI_PROC_FI,NOI_SOC_FI,NOI_PROC_FI60,"
                                       "NOI_DZPO_FI60,NOI_SOC_FI60"),
                        {1, 1, QStringLiteral("Работници"), 20.0, 16.7, 2.1, 12.7, 2.8, 1.9});
        position = reference::addPosition(*d, QStringLiteral("Счетоводител"), 1, QString(), 0);
        for (const auto &[code, type, name, hars] :
             {std::tuple{101, 1, "Основна заплата", "1"}, {121, 21, "Болнични от НОИ", "0"},
              {130, 30, "Премия", "1"}, {131, 30, "Добавка", "1"}, {401, 139, "ДОО за сметка на лицето", "0"},
              {402, 139, "ЗО за сметка на лицето", "0"}, {501, 140, "ДОД", "0"}, {601, 141, "Аванс", "0"}})
            items::addDefinition(*d, items::makeDefinition(code, type, QString::fromUtf8(name), QLatin1String(hars)));
        // 11: born 1959, more deductions than earnings, in the guaranteed-receivables fund.
        addEmployee(1, 11, "Анна Иванова Петрова", "5901010005", 1, 1);
        addItem(1, 101, 1, 1100);
        addItem(1, 121, 21);     // zero and printed
        addItem(1, 130, 30);     // zero and not printed
        addItem(1, 401, 139, 12);
        addItem(1, 402, 139, 3.2);
        addItem(1, 501, 140);
        addItem(1, 601, 141, 100);
        addTotals(1);
        // 12: born 1961, more earnings than deductions, outside the fund.
        addEmployee(2, 12, "Борис Стоянов Колев", "6101010008", 1, 0);
        addItem(2, 101, 1, 1500);
        addItem(2, 130, 30, 200);
        addItem(2, 131, 30, 50);
        addItem(2, 401, 139, 12);
        addItem(2, 501, 140);
        addTotals(2);
        // 13: inactive.
        addEmployee(3, 13, "Васил Неактивен", "7001010006", 0, 0);
        addItem(3, 101, 1, 900);
        addTotals(3);
        d->commitRetaining();
        params.reloadAll(*d);
    }

    void addEmployee(int id, int number, const char *name, const char *egn, int active, int garvz)
    {
        test::insertEmployee(*d, {{"PERSON_ID", id}, {"PERSON_NOMER", number}, {"PERSON_IME", QString::fromUtf8(name)},
                                  {"PERSON_EGN", QLatin1String(egn)}, {"PERSON_ACT", active}, {"PERSON_KALENDAR", 1},
                                  {"PERSON_SYSZ", 1}, {"PERSON_NOS", "01"}, {"PERSON_NOSN", 1}, {"PERSON_DLUV", position},
                                  {"PERSON_STAV1Y", 10 + id}, {"PERSON_STAV1M", 2}, {"PERSON_STAV1D", 3}, {"PERSON_GARVZ", garvz}});
    }
    void addItem(int person, int code, int type, double amount1 = 0)
    {
        test::insertItem(*d, person, code, type, {{"PERO_SUMA1", amount1}});
    }
    void addTotals(int person) { test::insertTotals(*d, person); }

    Document build(ReportKind kind, int from, int to, bool newPage = false, QStringList *errors = nullptr)
    {
        ReportRequest r;
        r.kind = kind;
        r.fromNumber = from;
        r.toNumber = to;
        r.newPagePerSlip = newPage;
        ReportHost host;
        return buildPayslips(*d, r, host, errors);
    }

    // What the calculation gives now (the payslip has just made the same).
    calc::Calculation calculation(int id)
    {
        calc::PersonCalculator c(*d, params);
        c.autocalc = true;
        return c.calculate(id);
    }
    double amountOf(const calc::Calculation &c, int code)
    {
        for (const items::ItemRecord &it : c.items)
            if (it.code == code)
                return it.amount;
        ADD_FAILURE() << "no item " << code;
        return 0;
    }
    QString description(const calc::Calculation &c, int code)
    {
        for (const items::ItemRecord &it : c.items)
            if (it.code == code)
                // The slip's heading states the currency; its descriptions do not.
                return calc::itemDescription(it, params.definitions, c.totals, c.employee.paySystem, util::Period(2008, 1), u'.')
                    .replace(QRegularExpression(QStringLiteral(" лв(?= |$)")), QStringLiteral(" "));
        return {};
    }

    test::TestDatabase t{util::Period(2008, 1)};
    storage::DataModule *d = nullptr;
    calc::Parameters params;
    int position = 0;
};

} // namespace

TEST_F(PayslipsTest, TypeOneFiguresAreTheCalculations)
{
    const Document doc = build(ReportKind::Payslip1, 11, 13);
    const auto slips = slipsOf(doc);
    ASSERT_EQ(slips.size(), 2u); // the inactive 13 prints nothing

    const calc::Calculation a = calculation(1), b = calculation(2);
    ASSERT_EQ(a.outcome, calc::Outcome::Calculated);
    ASSERT_GT(a.totals.wcosuma32, 0);
    ASSERT_GT(amountOf(a, 401), 0);

    auto expected = [&](const calc::Calculation &c, const char *number, const char *name, const char *egn,
                        const char *seniority, std::initializer_list<int> codes, bool before, bool fund) {
        const calc::Totals &x = c.totals;
        std::vector<QStringList> lines{
            {QStringLiteral("Плавекс ООД"), QStringLiteral("Суми в лева")},
            {QLatin1String(number), QString::fromUtf8(name), QStringLiteral("ЕГН: ") + QLatin1String(egn)},
            {QStringLiteral("Длъжност: "), QStringLiteral("Счетоводител"), QStringLiteral(" ")},
            {QStringLiteral("Дог. заплата"), QStringLiteral("Януари 2008: ") + fx(x.zapl, 5, 2),
             QString::fromUtf8(seniority)}};
        for (int code : codes) {
            const bool total = code >= 1000;
            QStringList row;
            for (const items::Definition &def : params.definitions)
                if (def.code == code && !total)
                    row << QString::number(code) << def.name;
            row << description(c, code).trimmed() << fx(amountOf(c, code), 5, 2);
            lines.push_back(row);
        }
        const double pension = before ? 16.7 : 12.7, social = before ? 2.1 : 1.9;
        lines.push_back({QStringLiteral("ФРЗ: ") + fx(x.sfrz, 6, 2), QStringLiteral("Осиг. доход: ") + fx(x.wcosuma, 6, 2),
                         QStringLiteral("Болн.: ") + fx(x.sbol, 6, 2), QStringLiteral("Социални: ") + fx(x.ssoc, 6, 2)});
        QStringList pensionRow{QStringLiteral("ДОО: ") + fx(pension, 5, 3) + u'%',
                               QStringLiteral("в/у ") + fx(x.wcosuma32, 6, 2) + QStringLiteral(" =   ")
                                   + fx(pension * x.wcosuma32 / 100, 6, 2)};
        if (!before)
            pensionRow << QStringLiteral("ДЗПО: 2.800%")
                       << QStringLiteral("в/у ") + fx(x.wcosuma32, 6, 2) + u'=' + fx(2.8 * x.wcosuma32 / 100, 6, 2);
        lines.push_back(pensionRow);
        QStringList socialRow{QStringLiteral("ДОО в/у соц. р ") + fx(social, 5, 3) + u'%',
                              QStringLiteral("в/у ") + fx(x.wcosoc, 6, 2) + QStringLiteral(" =   ")
                                  + fx(social * x.wcosoc / 100, 6, 2)};
        if (fund)
            socialRow << QStringLiteral("Гар. вземания: 0.500%")
                      << QStringLiteral("в/у ") + fx(x.wcogarant, 1, 2) + u'=' + fx(x.wcogarant * 0.5 / 100, 6, 2);
        lines.push_back(socialRow);
        lines.push_back({QStringLiteral("Бази здр. осиг.:"), QStringLiteral("Ос. доход:    ") + fx(x.szdr, 6, 2),
                         QStringLiteral("Болн.: ") + fx(x.s6zdr, 6, 2), QStringLiteral("Непл.отпуск: ") + fx(x.szdrn, 6, 2)});
        lines.push_back({QStringLiteral("Plavex V1.00"), QStringLiteral("Подпис:................................")});
        return lines;
    };

    // Items by type, then code: type 21 prints at zero, type 30 at zero does not.
    const auto wantA = expected(a, "11", "Анна Иванова Петрова", "5901010005", "Тр. стаж: 11 г. 2 м. 3 д.",
                                {101, 121, 1000, 401, 402, 501, 601, 2000, 2010}, true, true);
    const auto wantB = expected(b, "12", "Борис Стоянов Колев", "6101010008", "Тр. стаж: 12 г. 2 м. 3 д.",
                                {101, 130, 131, 1000, 401, 501, 2000, 2010}, false, false);
    // The same items as the stored items' query selects.
    std::vector<int> stored;
    for (const items::ItemRecord &it : items::payslipItems(*d, 1))
        stored.push_back(it.code);
    EXPECT_EQ(stored, (std::vector<int>{101, 121, 1000, 401, 402, 501, 601, 2000, 2010}));
    for (const auto &[slip, want] : {std::pair{&slips[0], &wantA}, {&slips[1], &wantB}}) {
        ASSERT_EQ(slip->size(), want->size());
        for (size_t i = 0; i < want->size(); ++i)
            EXPECT_EQ((*slip)[i].texts().join(u'|').toStdString(), (*want)[i].join(u'|').toStdString()) << "line " << i;
    }
    EXPECT_EQ(fx(amountOf(a, 2010), 5, 2), fx(1100 - amountOf(a, 401) - amountOf(a, 402) - amountOf(a, 501) - 100, 5, 2));

    // Cells: the code right-aligned in its 0.9 cm, the amount at the frame's right edge.
    const Line &salary = slips[0][4];
    EXPECT_NEAR(rightEnd(*salary.ops[0]), 2.9 - cellMargin(), 1e-6);
    EXPECT_NEAR(salary.ops[1]->x, 2.9 + cellMargin(), 1e-6);
    EXPECT_NEAR(rightEnd(*salary.ops.back()), 17.0 - cellMargin(), 1e-6);
    // The frame: edges at 2 and 17 cm, a rule under the "Дог. заплата" row.
    const auto frame = linesOnPage(doc, 0);
    auto hasLine = [&](double x1, double y1, double x2, double y2) {
        return std::any_of(frame.begin(), frame.end(), [&](const Op *l) {
            return std::abs(l->x - x1) < 1e-6 && std::abs(l->y - y1) < 1e-6 && std::abs(l->x2 - x2) < 1e-6
                   && std::abs(l->y2 - y2) < 1e-6;
        });
    };
    const double lh = 10 * 1.2 / 72 * 2.54;
    const double top = 1.5; // margins and section
    EXPECT_TRUE(hasLine(2, top, 17, top));
    EXPECT_TRUE(hasLine(2, top + 4 * lh, 17, top + 4 * lh));
    const double bottom = top + (wantA.size() + 1) * lh; // the empty row before the signature
    EXPECT_TRUE(hasLine(2, top, 2, bottom));
    EXPECT_TRUE(hasLine(17, top, 17, bottom));
    EXPECT_TRUE(hasLine(2, bottom, 17, bottom));
    // The next payslip 1 cm below, on the same page.
    EXPECT_EQ(slips[1][0].page, 0);
    EXPECT_TRUE(hasLine(2, bottom + 1.0, 17, bottom + 1.0));
    for (const Line &l : slips[1])
        for (const Op *op : l.ops)
            EXPECT_LE(rightEnd(*op), 17.0 + 1e-6) << op->text.toStdString();
}

TEST_F(PayslipsTest, TypeTwoColumnsAndTotals)
{
    const Document doc = build(ReportKind::Payslip2, 11, 12);
    const auto slips = slipsOf(doc);
    ASSERT_EQ(slips.size(), 2u);
    const calc::Calculation a = calculation(1), b = calculation(2);
    const double lh = 10 * 1.2 / 72 * 2.54;

    struct Case {
        const calc::Calculation *calc;
        const std::vector<Line> *slip;
        std::vector<QStringList> items; // the column rows, each as printed
        QString pensionBase;
        bool before;
    };
    const QString desc101a = description(a, 101), desc101b = description(b, 101);
    const Case cases[] = {
        {&a, &slips[0],
         {{QStringLiteral("101"), QStringLiteral("Основна заплата ") + desc101a.right(8), fx(amountOf(a, 101), 1, 2),
           QStringLiteral("401"), QStringLiteral("ДОО за сметка на лицето"), fx(amountOf(a, 401), 1, 2)},
          {QStringLiteral("121"), QStringLiteral("Болнични от НОИ ") + description(a, 121).right(7), QStringLiteral("0.00"),
           QStringLiteral("402"), QStringLiteral("ЗО за сметка на лицето"), fx(amountOf(a, 402), 1, 2)},
          {QStringLiteral("501"), QStringLiteral("ДОД"), fx(amountOf(a, 501), 1, 2)},
          {QStringLiteral("601"), QStringLiteral("Аванс"), QStringLiteral("100.00")}},
         fx(a.totals.wcosuma, 6, 2), true},
        {&b, &slips[1],
         {{QStringLiteral("101"), QStringLiteral("Основна заплата ") + desc101b.right(8), fx(amountOf(b, 101), 1, 2),
           QStringLiteral("401"), QStringLiteral("ДОО за сметка на лицето"), fx(amountOf(b, 401), 1, 2)},
          {QStringLiteral("130"), QStringLiteral("Премия ") + description(b, 130).right(10), QStringLiteral("200.00"),
           QStringLiteral("501"), QStringLiteral("ДОД"), fx(amountOf(b, 501), 1, 2)},
          {QStringLiteral("131"), QStringLiteral("Добавка ") + description(b, 131).right(10), QStringLiteral("50.00")}},
         fx(b.totals.wcosuma, 6, 2), false},
    };
    for (const Case &c : cases) {
        const auto &s = *c.slip;
        const calc::Totals &x = c.calc->totals;
        ASSERT_EQ(s.size(), 4 + 1 + c.items.size() + 2 + 2 + 2);
        EXPECT_EQ(s[4].texts().join(u'|'),
                  QStringLiteral("Начисления (осн. запл.") + fx(x.zapl, 5, 2) + QStringLiteral(")|Удръжки (обл. сума ")
                      + fx(x.sobl, 1, 2) + u')');
        for (size_t i = 0; i < c.items.size(); ++i) {
            const Line &row = s[5 + i];
            EXPECT_EQ(row.texts().join(u'|').toStdString(), c.items[i].join(u'|').toStdString()) << i;
            EXPECT_NEAR(row.y - s[4].y, (i + 1) * lh, 1e-6);
        }
        // The totals row right under the longer column.
        const Line &totals = s[5 + c.items.size()];
        EXPECT_NEAR(totals.y - s[4].y, (c.items.size() + 1) * lh, 1e-6);
        EXPECT_EQ(totals.texts().join(u'|'),
                  QStringLiteral("Общо начисления|") + fx(amountOf(*c.calc, 1000), 1, 2) + QStringLiteral("|Общо удръжки|")
                      + fx(amountOf(*c.calc, 2000), 1, 2));
        EXPECT_EQ(s[6 + c.items.size()].texts().join(u'|'),
                  QStringLiteral("Чиста сума за получаване|") + fx(amountOf(*c.calc, 2010), 1, 2));
        const double pension = c.before ? 16.7 : 12.7;
        QStringList pensionRow{QStringLiteral("ДОО: ") + fx(pension, 5, 3) + u'%',
                               QStringLiteral("в/у ") + c.pensionBase + QStringLiteral(" =   ")
                                   + fx(pension * x.wcosuma / 100, 6, 2)};
        if (!c.before)
            pensionRow << QStringLiteral("ДЗПО: 2.800%")
                       << QStringLiteral("в/у ") + fx(x.wcosuma32, 6, 2) + u'=' + fx(2.8 * x.wcosuma32 / 100, 6, 2);
        EXPECT_EQ(s[8 + c.items.size()].texts().join(u'|').toStdString(), pensionRow.join(u'|').toStdString());
        // The third row: "  " then the fund's cells, only inside the fund.
        const QStringList third = s[9 + c.items.size()].texts();
        if (c.before)
            EXPECT_EQ(third.join(u'|'), QStringLiteral("  |Гар. вземания: 0.500%|в/у ") + fx(x.wcogarant, 1, 2) + u'='
                                            + fx(x.wcogarant * 0.5 / 100, 6, 2));
        else
            EXPECT_EQ(third.join(u'|'), QStringLiteral("  "));
        // Deductions in the right cells: the code right-aligned at 11.9 cm, amounts at 19 cm.
        const Line &first = s[5];
        EXPECT_NEAR(rightEnd(*first.ops[3]), 11.9 - cellMargin(), 1e-6);
        EXPECT_NEAR(rightEnd(*first.ops[5]), 19.0 - cellMargin(), 1e-6);
        EXPECT_NEAR(rightEnd(*first.ops[2]), 11.05 - cellMargin(), 1e-6);
    }
    // A deduction alone on its row sits in the right column.
    EXPECT_NEAR(rightEnd(*slips[0][7].ops[0]), 11.9 - cellMargin(), 1e-6);
}

TEST_F(PayslipsTest, SelectionAndPages)
{
    // Three more like 12, so that four payslips of type 1 overfill a page.
    for (int id = 4; id <= 6; ++id) {
        addEmployee(id, 10 + id, "Борис Стоянов Колев", "6101010008", 1, 0);
        addItem(id, 101, 1, 1000 + id);
        addItem(id, 130, 30, 200);
        addItem(id, 401, 139, 12);
        addTotals(id);
    }
    struct Case {
        int from, to;
        bool newPage;
        size_t slips;
        int pages;
    } cases[] = {
        {13, 13, false, 0, 1}, // inactive only: an empty document
        {5, 3, false, 0, 1},   // from above to
        {20, 30, false, 0, 1}, // nobody there
        {11, 12, true, 2, 2},
        {11, 16, true, 5, 5},
        {11, 16, false, 5, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << ".." << c.to << (c.newPage ? " new page" : ""));
        const Document doc = build(ReportKind::Payslip1, c.from, c.to, c.newPage);
        const auto slips = slipsOf(doc);
        EXPECT_EQ(slips.size(), c.slips);
        EXPECT_EQ(doc.pageCount(), c.pages);
        if (c.slips == 0) {
            EXPECT_TRUE(linesOf(doc).empty());
        }
        const double lh = 10 * 1.2 / 72 * 2.54;
        const double bottom = doc.setup.height() - 1.5;
        for (size_t i = 0; i < slips.size(); ++i) {
            // Never across a page, nothing under the bottom margin.
            EXPECT_EQ(slips[i].front().page, slips[i].back().page);
            EXPECT_LE(slips[i].back().y, bottom);
            if (c.newPage) {
                EXPECT_EQ(slips[i].front().page, static_cast<int>(i));
            }
            if (i == 0 || slips[i].front().page == slips[i - 1].back().page)
                continue;
            // A payslip starts a page only when it did not fit under the one before.
            const double baselineBelowTop = slips[i].front().y - 1.5;
            const double next = slips[i - 1].back().y - baselineBelowTop + lh + 1.0; // under the frame and the gap
            if (!c.newPage) {
                EXPECT_LT(bottom - next, (slips[i].size() + 1) * lh);
            }
        }
    }
}

TEST_F(PayslipsTest, APayslipLongerThanAPageGoesOnInItsFrame)
{
    addEmployee(7, 17, "Дълъг Фиш", "7001010006", 1, 0);
    addItem(7, 101, 1, 1000);
    for (int code = 700; code < 770; ++code) {
        items::addDefinition(*d, items::makeDefinition(code, 30, QStringLiteral("Добавка %1").arg(code), QStringLiteral("1")));
        addItem(7, code, 30, 1);
    }
    addTotals(7);
    params.reloadAll(*d);
    const Document doc = build(ReportKind::Payslip1, 17, 17);
    ASSERT_EQ(doc.pageCount(), 2);
    const auto slips = slipsOf(doc);
    ASSERT_EQ(slips.size(), 1u);
    const double bottom = doc.setup.height() - 1.5;
    for (const Line &l : slips[0])
        EXPECT_LT(l.y, bottom) << l.texts().join(u'|').toStdString();
    EXPECT_EQ(slips[0].back().texts().front(), QStringLiteral("Plavex V1.00"));
    EXPECT_EQ(slips[0].back().page, 1);
    // Page 1 closes the frame at its last row, page 2 opens it at the top.
    const double lh = 10 * 1.2 / 72 * 2.54;
    for (int page : {0, 1}) {
        double lowest = 0, highest = 100;
        for (const Op *l : linesOnPage(doc, page))
            if (l->y == l->y2 && l->x == 2 && l->x2 == 17) {
                lowest = std::max(lowest, l->y);
                highest = std::min(highest, l->y);
            }
        EXPECT_NEAR(highest, 1.5, 1e-9);
        EXPECT_LE(lowest, bottom + 1e-9);
        if (page == 0) {
            EXPECT_GT(lowest, bottom - lh);
        }
    }
}

TEST_F(PayslipsTest, RunFromTheEmployeeAndTheCommandLine)
{
    // With an employee id the run prints that employee only, without the range dialog.
    struct Host : ReportHost {
        bool askRange(ReportRequest &) override
        {
            asked = true;
            return true;
        }
        void output(Document &document) override { produced = document; }
        bool asked = false;
        Document produced;
    } host;
    ReportRequest r;
    r.kind = ReportKind::Payslip2;
    r.employeeId = 2;
    const RunResult result = startReport(*d, host, r);
    EXPECT_EQ(result.outcome, RunOutcome::Done);
    EXPECT_FALSE(host.asked);
    const auto slips = slipsOf(host.produced);
    ASSERT_EQ(slips.size(), 1u);
    EXPECT_EQ(slips[0][1].texts().join(u'|'), QStringLiteral("12|Борис Стоянов Колев|ЕГН: 6101010008"));
    // The inactive employee's own button prints nothing.
    r.employeeId = 3;
    startReport(*d, host, r);
    EXPECT_TRUE(slipsOf(host.produced).empty());
    d->commitRetaining();

    const QString dir = t.dir.path();
    const QString pdf = dir + QStringLiteral("fish.pdf");
    const test::CliRun run = test::runCli(dir, {QStringLiteral("--program-dir"), dir, QStringLiteral("report"),
                                                QStringLiteral("payslip1"), QStringLiteral("--from"), QStringLiteral("11"),
                                                QStringLiteral("--to"), QStringLiteral("12"), QStringLiteral("--new-page"),
                                                QStringLiteral("--out"), pdf});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QProcess text;
    text.start(QStringLiteral(PLAVEX_PDFTOTEXT), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_EQ(words.count(QChar(u'\f')), 2); // one payslip a page
    for (const char *w : {"ЕГН: 5901010005", "Гар. вземания: 0.500%", "ЕГН: 6101010008", "ДЗПО: 2.800%"})
        EXPECT_TRUE(words.simplified().contains(QString::fromUtf8(w))) << w << " in " << words.toStdString();

    // An employee number nobody has is refused.
    const test::CliRun bad = test::runCli(dir, {QStringLiteral("--program-dir"), dir, QStringLiteral("report"),
                                                QStringLiteral("payslip2"), QStringLiteral("--employee"),
                                                QStringLiteral("99"), QStringLiteral("--out"), pdf});
    EXPECT_NE(bad.status, 0);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Няма служител с номер 99"))) << bad.err.toStdString();
}
