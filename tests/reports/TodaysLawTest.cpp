// Months of 2025–2026 by the law in force: health insurance on the days the
// institute pays, the sick-leave slip against the payslip, the annual
// recomputation and the income certificate. The shipped service files.
#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "calc/YearSums.h"
#include "declarations/Declaration6.h"
#include "items/Definitions.h"
#include "reports/Payslips.h"
#include "reports/Recapitulation.h"
#include "reports/ReportRun.h"
#include "reports/SickSlip.h"
#include "reports/TaxCertificates.h"
#include "storage/fb/Statement.h"
#include "tests/reports/SheetsFixture.h"
#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace plavex;
using namespace plavex::reports;

namespace {

// A company opened on the shipped files, its employees added by hand.
class ShippedCompany : public ::testing::Test {
protected:
    explicit ShippedCompany(const util::Period &period) : t(period) {}
    void SetUp() override
    {
        test::copyShippedNoms(t.dir.path());
        ASSERT_TRUE(t.open());
        d = t.data.get();
    }
    void addEmployee(int id, int number, const char *name, const QDate &hired = {}, const QDate &left = {})
    {
        d->insertRow(d->table(u"PERSONS"),
                     QStringLiteral("(PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_EGN,PERSON_ACT,PERSON_KALENDAR,PERSON_SYSZ,"
                                    "PERSON_NOS,PERSON_NOSN,PERSON_DATANAZ,PERSON_DATAUWOL)"),
                     {id, number, QString::fromUtf8(name), QStringLiteral("850101%1").arg(1000 + id), left.isValid() ? 0 : 1, 1, 1,
                      QStringLiteral("01"), 1, hired.isValid() ? QVariant(hired) : QVariant(), left.isValid() ? QVariant(left) : QVariant()});
        for (const auto &[code, type] : {std::pair{1000, 100}, {2000, 200}, {2010, 201}})
            addItem(id, code, type);
    }
    int addItem(int person, int code, int type, double amount1 = 0, const QDate &begin = {}, const QDate &end = {})
    {
        const int id = d->getMaxValue(d->table(u"PERA"), QStringLiteral("PERO_PEROID")) + 1;
        d->insertRow(d->table(u"PERA"),
                     QStringLiteral("(PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1,PERO_BEGINDATE,PERO_ENDDATE)"),
                     {id, person, code, type, amount1, begin.isValid() ? QVariant(begin) : QVariant(),
                      end.isValid() ? QVariant(end) : QVariant()});
        return id;
    }
    double column(const char *sql, const QVariantList &values)
    {
        return fb::Statement::scalar(d->transaction(), QString::fromUtf8(sql).arg(d->table(u"PERA")), values).toDouble();
    }
    double net(int person) { return column("select PERO_SUMA from %1 where PERO_PERSONID=? and PERO_TYPE=201", {person}); }

    test::TestDatabase t;
    storage::DataModule *d = nullptr;
};

class February2026 : public ShippedCompany {
protected:
    February2026() : ShippedCompany(util::Period(2026, 2)) {}
};

// Two days of the employer's from Monday the 9th, then three of the
// institute's; 20 working days in the month.
TEST_F(February2026, SickDaysOnThePayslipTheSlipAndTheRecapitulation)
{
    addEmployee(1, 11, "Анна Петрова");
    addItem(1, 1, 1, 1500);
    const int employer = addItem(1, 20, 20, 0, QDate(2026, 2, 9), QDate(2026, 2, 10));
    addItem(1, 27, 27, 0, QDate(2026, 2, 11), QDate(2026, 2, 13));
    d->commitRetaining();

    ReportRequest r;
    r.kind = ReportKind::Recapitulation;
    r.recapType = RecapType::General;
    ReportHost host;
    const std::optional<Document> recap = buildRecapitulation(*d, r, host);
    ASSERT_TRUE(recap);
    // 3 x 550.66 / 20 at the employer's 4.8 %.
    const QString health = QStringLiteral("ЗДРО-бол.нои|") + test::fx(4.8, 7, 3) + QStringLiteral("%|( ") + test::fx(82.60, 7, 2)
                           + QStringLiteral(" )|") + test::fx(3.96, 7, 2);
    const std::vector<test::DocLine> lines = test::docLines(*recap);
    const test::DocLine *line = test::lineStarting(lines, QStringLiteral("ЗДРО - бол.нои"));
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->joined().endsWith(health)) << line->joined().toStdString();

    // The same base on the payslip, the same amount in declaration 6.
    ReportRequest slip;
    slip.kind = ReportKind::Payslip1;
    slip.fromNumber = slip.toNumber = 11;
    const std::vector<test::DocLine> payslip = test::docLines(buildPayslips(*d, slip, host));
    const test::DocLine *bases = test::lineStarting(payslip, QStringLiteral("Бази здр. осиг.:"));
    ASSERT_TRUE(bases);
    EXPECT_EQ(bases->texts().value(2).simplified(), QStringLiteral("Болн.: 82.60"));
    const std::vector<declarations::RecapBottom> table = declarations::buildContributionTable(*d);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_NEAR(table[0].h[10], 3.9648, 1e-9);

    // 0.7 x 1 125.00 / 15 for two days: the payslip's item and the slip's figure.
    const double paid = column("select PERO_SUMA from %1 where PERO_PEROID=?", {employer});
    EXPECT_DOUBLE_EQ(paid, 105.00);
    QStringList errors;
    const std::vector<SickSlip> slips = sickSlips(*d, &errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    ASSERT_EQ(slips.size(), 2u);
    ASSERT_TRUE(slips[0].employer);
    EXPECT_EQ(slips[0].employer->days, 2);
    EXPECT_DOUBLE_EQ(calc::r2(slips[0].employer->amount), paid);
    EXPECT_TRUE(slips[1].fundRule2015);
    EXPECT_DOUBLE_EQ(slips[1].benefit.rate, 0.8);

    const Document doc = buildSickSlips(*d, host);
    const std::vector<test::DocLine> slipLines = test::docLines(doc);
    const test::DocLine *days = test::lineStarting(slipLines, QStringLiteral("Ср. дневно брутно възн.:"));
    ASSERT_TRUE(days);
    EXPECT_EQ(days->texts().mid(1), (QStringList{"75.00", "Ср. дневно уговорено възн.:", "75.00", "70% =", "52.50",
                                                 "Дни от работодателя:", "2"}));
    const test::DocLine *sum = test::lineStarting(slipLines, QStringLiteral("Тр. стаж: 0 г. 0 м. 0 д."));
    ASSERT_TRUE(sum);
    EXPECT_EQ(sum->texts().last(), QStringLiteral("сума=105.00"));
}

class December2025 : public ShippedCompany {
protected:
    December2025() : ShippedCompany(util::Period(2025, 12)) {}
    void SetUp() override
    {
        ShippedCompany::SetUp();
        if (HasFatalFailure())
            return;
        addEmployee(1, 11, "Анна Петрова");
        addEmployee(2, 12, "Борис Колев", QDate(2019, 3, 1), QDate(2025, 11, 15));
        addEmployee(3, 13, "Васил Димов", QDate(2020, 5, 4));
        addItem(3, 1, 1, 1000);
        addItem(3, 101, 140);
        // The months before December, typed in: 7 698.24 and 769.80 withheld
        // for Anna, 5 000.00 for Boris who left, 1 000.00 and 140.00 for Vasil.
        auto month = [&](int person, int m, double sobl, double sdod) {
            d->insertRow(QStringLiteral("PERSDATA"),
                         QStringLiteral("(PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SOBL,PERSDATA_SDOD)"),
                         {person, 2025, m, sobl, sdod});
        };
        month(1, 3, 3849.12, 384.90);
        month(1, 4, 3849.12, 384.90);
        month(2, 5, 5000.00, 500.00);
        month(3, 6, 1000.00, 140.00);
        d->commitRetaining();
        calc::Parameters params;
        calc::recalculateAll(*d, params);
    }
};

TEST_F(December2025, TheAnnualTableCertificateAndRefund)
{
    const std::vector<calc::AnnualTaxRow> rows = calc::annualTaxRows(*d, 2025);
    ASSERT_EQ(rows.size(), 2u); // Boris left in November
    struct Expected {
        const char *number, *name;
        double taxable, withheld, recomputed, difference;
    } expected[] = {{"11", "Анна Петрова", 7698.24, 769.80, 769.82, 0.02}, {"13", "Васил Димов", 2000, 240, 200, -40}};
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].number, QLatin1String(expected[i].number));
        EXPECT_EQ(rows[i].name, QString::fromUtf8(expected[i].name));
        EXPECT_NEAR(rows[i].taxable, expected[i].taxable, 1e-9);
        EXPECT_NEAR(rows[i].withheld, expected[i].withheld, 1e-9);
        EXPECT_DOUBLE_EQ(rows[i].recomputed, expected[i].recomputed);
        EXPECT_DOUBLE_EQ(rows[i].difference, expected[i].difference);
    }

    // The chart's own deduction takes the differences; Vasil's refund is paid.
    const auto code = calc::annualTaxItemCode(items::loadDefinitions(*d));
    ASSERT_TRUE(code);
    const double before = net(3);
    ASSERT_EQ(insertAnnualTaxDifferences(*d, *code, rows), 2);
    calc::Parameters params;
    calc::recalculateAll(*d, params);
    EXPECT_NEAR(net(3) - before, 40.00, 1e-9);

    // The certificate states the table's figures, and the stored difference.
    const CertificateData anna = certificateData(*d, 1, 2025, QDate(2026, 12, 10));
    EXPECT_DOUBLE_EQ(anna.annual.recomputed, rows[0].recomputed);
    EXPECT_TRUE(anna.differenceInserted);
    const Document doc = printTaxCertificates({anna, certificateData(*d, 3, 2025, QDate(2026, 12, 10))});
    auto has = [&](int page, const char *text) {
        for (const Op &op : doc.pages[static_cast<size_t>(page)].ops)
            if (op.kind == Op::Kind::Text && op.text == QString::fromUtf8(text))
                return true;
        return false;
    };
    for (const char *figure : {"7698.24", "769.82", "769.80", "0.02", "10.12.2026"})
        EXPECT_TRUE(has(0, figure)) << figure;
    for (const char *figure : {"200.00", "240.00", "40.00"})
        EXPECT_TRUE(has(1, figure)) << figure;
}

// The command line takes the chart's deduction for the differences, never
// another type-145 code unless it is named.
TEST_F(December2025, TheCommandLineUsesTheDedicatedDeduction)
{
    const auto count = [&](int code) {
        return t.scalar(QStringLiteral("select count(*) from %1 where PERO_COD=?").arg(d->table(u"PERA")), {code});
    };
    d->commitRetaining();
    test::CliRun r = test::runCli(t.dir.path(), {QStringLiteral("--yes"), QStringLiteral("annual-tax"), QStringLiteral("--insert")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("2"));
    d->commitRetaining();
    EXPECT_EQ(count(146), 2);
    EXPECT_EQ(count(145), 0); // "Удръжка по запор" stays as it was

    fb::Statement::run(d->transaction(), QStringLiteral("delete from %1 where PERODEFS_COD=146").arg(d->table(u"PERADEFS")));
    d->commitRetaining();
    r = test::runCli(t.dir.path(), {QStringLiteral("--yes"), QStringLiteral("annual-tax"), QStringLiteral("--insert")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--item"))) << r.err.toStdString();
    d->commitRetaining();
    EXPECT_EQ(count(145), 0);
}

} // namespace
