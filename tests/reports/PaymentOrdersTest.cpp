// Budget payment orders and their list on a small company: the amounts
// against the declaration-6 totals less the advances, the pages, the cells
// and the words, the two forms.
#include "calc/CalcPerson.h"
#include "calc/MonthlyRecord.h"
#include "calc/Parameters.h"
#include "declarations/Declaration6.h"
#include "items/Definitions.h"
#include "reference/Company.h"
#include "reports/PaymentOrders.h"
#include "reports/ReportRun.h"
#include "reports/engine/FontMetrics.h"
#include "storage/NomLoader.h"
#include "storage/fb/Statement.h"
#include "tests/support/Cli.h"
#include "tests/support/MonthRows.h"
#include "tests/support/TestDatabase.h"
#include "util/NumberText.h"
#include "util/NumberWords.h"
#include "util/Rounding.h"
#include "util/Separators.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>

using namespace plavex;
using namespace plavex::reports;

namespace {

const QString kDoo = QStringLiteral("BG97BNBG96618000112001");
const QString kNzok = QStringLiteral("BG16BNBG96618000112101");
const QString kGarvz = QStringLiteral("BG11BNBG96618000112001");
const QString kDzpo = QStringLiteral("BG65BNBG96618000111801");

double r2(double v) { return util::roundHalfEven(v, 2); }

bool hasText(const Document &doc, int page, const QString &text)
{
    for (const Op &op : doc.pages[static_cast<size_t>(page)].ops)
        if (op.kind == Op::Kind::Text && op.text == text)
            return true;
    return false;
}

class PaymentOrdersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.dir.writeNom(QStringLiteral("DOD2008.csv"), {QStringLiteral("2008;0;0;0.10")});
        ASSERT_TRUE(t.open());
        d = t.data.get();
        d->insertRow(d->table(u"GRAD"), QStringLiteral("(GRAD_COD,GRAD_IME,GRAD_OBSCOD)"), {7, QStringLiteral("Габрово"), 7});
        d->insertRow(d->table(u"NAP"),
                     QStringLiteral("(NAP_COD,NAP_TD,NAP_BANK,NAP_BANKCODE,NAP_BIC,NAP_IBANDOO,NAP_IBANNZOK,NAP_IBANGARVZ,"
                                    "NAP_IBANDZPO,NAP_BANKNEW,NAP_DOO)"),
                     {7, QStringLiteral("Габрово"), QStringLiteral("БНБ стара"), QStringLiteral("66196611"),
                      QStringLiteral("BNBGBGSD"), kDoo, kNzok, kGarvz, kDzpo, QStringLiteral("Българска народна банка"),
                      QStringLiteral("8000112001")});
        for (const auto &[code, name] : {std::pair{1, "ДОО"}, {2, "ЗО"}, {3, "ГВРС"}, {4, "ДЗПО"}})
            d->insertRow(d->table(u"BIN"), QStringLiteral("(BIN_COD,BIN_NAME,BIN_BIN)"),
                         {code, QString::fromUtf8(name), QStringLiteral("1000%1").arg(code)});
        reference::postCompany(*d, {{QStringLiteral("FIRMA_IME"), QStringLiteral("Плавекс ООД")},
                                    {QStringLiteral("FIRMA_INDDOO"), 2000.0},
                                    {QStringLiteral("FIRMA_MINDOH"), 220.0},
                                    {QStringLiteral("FIRMA_MINSALARY"), 180.0},
                                    {QStringLiteral("FIRMA_DOOPROCF3"), 0.7},
                                    {QStringLiteral("FIRMA_GRADCOD"), 7},
                                    {QStringLiteral("FIRMA_BANKAIME"), QStringLiteral("Банка ДСК")},
                                    {QStringLiteral("FIRMA_IBAN"), QStringLiteral("BG80BNBG96611020345678")},
                                    {QStringLiteral("FIRMA_BIC"), QStringLiteral("STSABGSF")},
                                    {QStringLiteral("FIRMA_BULSTAT"), QStringLiteral("123456789")},
                                    {QStringLiteral("FIRMA_DPIME"), QStringLiteral("ТД Габрово")},
                                    {QStringLiteral("FIRMA_DPIBAN"), QStringLiteral("BG88BNBG96618000195001")},
                                    {QStringLiteral("FIRMA_DPBIC"), QStringLiteral("BNBGBGSD")},
                                    {QStringLiteral("FIRMA_DPVVP"), QStringLiteral("110000")}});
        d->insertValues(d->table(u"NOI"),
                        QStringLiteral("NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PROC,NOI_PENSI_FI,NOI_ZAB_FI,NOI_PKB_FI,"
                                       "NOI_PENSI_FI60,NOI_ZAB_FI60,NOI_PKB_FI60,NOI_DZPO_FI60,NOI_ZDR,NOI_GRVZ,NOI_VPL,NOI_VPL60,"
                                       "NOI_ZDR_VPL,NOI_TRZLOP_VPL,NOI_COD"),
                        {1, 1, QStringLiteral("Работници"), 30.0, 12.65, 2.1, 0.8, 9.65, 2.1, 0.8, 2.8, 4.8, 0.1,
                         QStringLiteral("551111"), QStringLiteral("551112"), QStringLiteral("561111"),
                         QStringLiteral("551113"), QStringLiteral("8110")});
        for (const auto &[code, type, name] : {std::tuple{101, 1, "Основна заплата"}, {650, 142, "Аванс"},
                                               {501, 140, "ДОД"}})
            items::addDefinition(*d, items::makeDefinition(code, type, QString::fromUtf8(name), QStringLiteral("1")));
        addEmployee(1, 11, "5901010005", 1); // before 1960
        addItem(1, 101, 1, 1000);
        addItem(1, 501, 140);
        addTotals(1);
        addEmployee(2, 12, "6101010008", 0); // after 1959, taken on in the second step
        addItem(2, 101, 1, 1200);
        addItem(2, 650, 142, 5000); // more than the month's contributions on 1200
        addItem(2, 501, 140);
        addTotals(2);
        d->commitRetaining();
        recalculate();
        // An advance of exactly the month's pension base leaves nothing of
        // the contributions on it.
        p1 = calc::sumOfActive(*d, QStringLiteral("PERSDATA_WCOSUMA32"));
        ASSERT_GT(p1, 0);
        addItem(1, 650, 142, p1);
        d->commitRetaining();
    }

    void addEmployee(int id, int number, const char *egn, int active)
    {
        test::insertEmployee(*d, {{"PERSON_ID", id}, {"PERSON_NOMER", number}, {"PERSON_IME", QStringLiteral("Служител %1").arg(number)},
                                  {"PERSON_EGN", QLatin1String(egn)}, {"PERSON_ACT", active}, {"PERSON_KALENDAR", 1},
                                  {"PERSON_SYSZ", 1}, {"PERSON_NOS", "01"}, {"PERSON_NOSN", 1}, {"PERSON_GARVZ", 1}});
    }
    void addItem(int person, int code, int type, double amount1 = 0)
    {
        test::insertItem(*d, person, code, type, {{"PERO_SUMA1", amount1}});
    }
    void addTotals(int person) { test::insertTotals(*d, person); }
    void recalculate()
    {
        calc::Parameters params;
        params.reloadAll(*d);
        calc::recalculateAll(*d, params);
    }
    std::vector<PaymentOrder> orders(bool advance = false, int month = 0)
    {
        recalculate();
        ReportRequest r;
        r.kind = advance ? ReportKind::AdvancePaymentOrders : ReportKind::PaymentOrders;
        r.advance = advance;
        r.itemCode = 650;
        r.advanceMonth = month;
        r.newCodes = newPaymentForm(d->period());
        return paymentOrders(*d, r);
    }
    static double fundSum(const std::vector<PaymentOrder> &list, const QString &iban)
    {
        double s = 0;
        for (const PaymentOrder &o : list)
            if (o.payeeIban == iban)
                s += o.amount;
        return s;
    }

    test::TestDatabase t{util::Period(2008, 7)};
    storage::DataModule *d = nullptr;
    double p1 = 0;
};

} // namespace

TEST_F(PaymentOrdersTest, EachFundPaysTheDeclarationLessTheAdvances)
{
    for (const int active : {0, 1}) {
        SCOPED_TRACE(active ? "both employees" : "the one born before 1960");
        fb::Statement::run(d->transaction(), QStringLiteral("UPDATE %1 SET PERSON_ACT=? WHERE PERSON_ID=2").arg(d->table(u"PERSONS")),
                           {active});
        const std::vector<PaymentOrder> list = orders();
        const auto totals = declarations::totalsOf(declarations::buildContributionTable(*d));
        // The advances' contributions by hand: the rates times what was paid.
        const double a = p1, a60 = active ? 5000.0 : 0.0;
        const double fund1 = r2((12.65 + 2.1 + 0.8) * a / 100) + r2((9.65 + 2.1 + 0.8) * a60 / 100) + r2(0.7 * a / 100)
                             + r2(0.7 * a60 / 100);
        EXPECT_NEAR(fundSum(list, kDoo), totals.a - fund1, 0.001);
        EXPECT_NEAR(fundSum(list, kNzok), totals.h - r2(4.8 * a / 100) - r2(4.8 * a60 / 100), 0.001);
        EXPECT_NEAR(fundSum(list, kGarvz), totals.d - r2(0.1 * (a + a60) / 100), 0.001);
        EXPECT_NEAR(fundSum(list, kDzpo), totals.b - r2(2.8 * a60 / 100), 0.001);

        // A remainder of exactly nothing is no order; the tax order is always last.
        for (const PaymentOrder &o : list) {
            if (&o == &list.back())
                continue;
            EXPECT_NE(std::llround(o.amount * 100), 0) << o.basis.toStdString() << o.explanations.toStdString();
        }
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.back().basis, QStringLiteral("Вноска ДДФЛ за месец Юли 2008г"));
        EXPECT_EQ(list.back().payee, QStringLiteral("НАП - ТД Габрово"));
        EXPECT_EQ(list.back().payeeIban, QStringLiteral("BG88BNBG96618000195001"));
        EXPECT_NEAR(list.back().amount, r2(calc::sumOfActive(*d, QStringLiteral("PERSDATA_SDOD"), QStringLiteral("PERSON_ACT=1"))),
                    0.001);
        bool accident = false, negative = false;
        for (const PaymentOrder &o : list) {
            accident |= o.basis == QStringLiteral("Вноска ДОО трудова злополука");
            negative |= o.amount < 0 && o.explanations == QStringLiteral("родени след 1959 г.") && o.paymentType == u"551112";
            EXPECT_EQ(o.periodFrom, QStringLiteral("01072008"));
            EXPECT_EQ(o.periodTo, QStringLiteral("31072008"));
        }
        // The pension base paid as advance leaves no accident contribution.
        EXPECT_EQ(accident, active == 1);
        // An advance larger than the month gives a negative order.
        EXPECT_EQ(negative, active == 1);
        EXPECT_EQ(list.front().payee, QStringLiteral("НАП - Габрово"));
        EXPECT_EQ(list.front().payerAddress, QStringLiteral("Габрово"));
    }
}

TEST_F(PaymentOrdersTest, AdvanceOrdersAreTheRatesOfTheChosenAdvanceAndThreeGiveTwoPages)
{
    fb::Statement::run(d->transaction(), QStringLiteral("UPDATE %1 SET NOI_GRVZ=0").arg(d->table(u"NOI")));
    const std::vector<PaymentOrder> list = orders(true);
    // Only the one born before 1960 is active: the pension, health and accident orders.
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].basis, QStringLiteral("Вноска ДОО общо"));
    EXPECT_EQ(list[0].explanations, QStringLiteral("аванс за Юли 2008г родени преди 1960 г."));
    EXPECT_NEAR(list[0].amount, r2((12.65 + 2.1 + 0.8) * p1 / 100), 0.001);
    EXPECT_EQ(list[1].payeeIban, kNzok);
    EXPECT_NEAR(list[1].amount, r2(4.8 * p1 / 100), 0.001);
    EXPECT_EQ(list[2].explanations, QStringLiteral("родени преди 1960 г."));
    EXPECT_NEAR(list[2].amount, r2(0.7 * p1 / 100), 0.001);
    // The next month's advance is its second amount: none here.
    EXPECT_TRUE(orders(true, 1).empty());
    // A region without its own row takes the agency's first one.
    fb::Statement::run(d->transaction(), QStringLiteral("UPDATE %1 SET GRAD_OBSCOD=9").arg(d->table(u"GRAD")));
    EXPECT_EQ(orders(true).front().payeeIban, kDoo);
    fb::Statement::run(d->transaction(), QStringLiteral("UPDATE %1 SET GRAD_OBSCOD=7").arg(d->table(u"GRAD")));

    ReportRequest r;
    r.kind = ReportKind::AdvancePaymentOrders;
    r.advance = true;
    r.itemCode = 650;
    r.newCodes = true;
    ReportHost host;
    const Document doc = buildPaymentOrders(*d, r, host);
    ASSERT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(doc.setup.copies, 2);
    // Two on the first page, one at the top of the second: each form's title.
    auto titles = [&](int page) {
        std::vector<double> ys;
        for (const Op &op : doc.pages[static_cast<size_t>(page)].ops)
            if (op.kind == Op::Kind::Text && op.text == u"ПЛАТЕЖНО НАРЕЖДАНЕ/ВНОСНА БЕЛЕЖКА")
                ys.push_back(op.y);
        return ys;
    };
    ASSERT_EQ(titles(0).size(), 2u);
    EXPECT_LT(titles(0)[0], 15.0);
    EXPECT_GT(titles(0)[1], 15.0);
    ASSERT_EQ(titles(1).size(), 1u);
    EXPECT_NEAR(titles(1)[0], titles(0)[0], 1e-9);
}

TEST(PaymentOrderForm, AmountInCellsAndWordsAndTheCompanyNameRule)
{
    EXPECT_EQ(amountCells(1234.5), QStringLiteral("<<<<<1234.50"));
    EXPECT_EQ(amountCells(123.45), QStringLiteral("<<<<<<123.45"));
    EXPECT_EQ(amountCells(-7.1), QStringLiteral("<<<<<<<-7.10"));
    const util::Period july(2008, 7);
    EXPECT_EQ(amountWords(1234.5, july), QStringLiteral("хиляда двеста тридесет и четири лв. и 50 ст."));
    EXPECT_EQ(amountWords(-7.1, july), QStringLiteral("минус седем лв. и 10 ст."));
    EXPECT_EQ(amountWords(0.5, july), QStringLiteral("нула лв. и 50 ст."));
    {
        // A euro month writes its own currency in the cells and the words.
        const util::Period february(2026, 2);
        PaymentOrder o;
        o.amount = 1234.5;
        Document doc;
        Canvas c(doc);
        c.begin();
        printPaymentOrder(c, o, true, february, 2.5, 0.5);
        c.finish();
        EXPECT_TRUE(hasText(doc, 0, util::amountInWords(1234.5, february)));
        // Long words stay inside the form.
        o.amount = 2345.99;
        Document wide;
        Canvas w(wide);
        w.begin();
        printPaymentOrder(w, o, true, february, 2.5, 0.5);
        w.finish();
        bool found = false;
        for (const Op &op : wide.pages[0].ops)
            if (op.text == util::amountInWords(2345.99, february)) {
                found = true;
                EXPECT_LE(op.x + FontMetrics::width(op.font, op.text), 2.5 + 0.9 + 35 * 0.45 + 1e-6);
            }
        EXPECT_TRUE(found);
        EXPECT_TRUE(hasText(doc, 0, QStringLiteral("E")) && hasText(doc, 0, QStringLiteral("U")));
        EXPECT_FALSE(hasText(doc, 0, QStringLiteral("G")));
    }

    for (const bool newForm : {true, false}) {
        SCOPED_TRACE(newForm ? "new form" : "old form");
        for (const QString &company : {QStringLiteral("Плавекс ООД"), QStringLiteral("Плавекс Софтуер и Счетоводство ООД")}) {
            PaymentOrder o;
            o.amount = 1234.5;
            o.obliged = company;
            Document doc;
            Canvas c(doc);
            c.begin();
            printPaymentOrder(c, o, newForm, july, 2.5, 15.0);
            c.finish();
            // The currency and the amount one character to a cell.
            const double pitch = newForm ? 0.45 : 0.5;
            const double amountX = 2.5 + (newForm ? 9.85 : 6.4);
            std::vector<const Op *> cells;
            for (const Op &op : doc.pages[0].ops)
                if (op.kind == Op::Kind::Text && op.x >= amountX - 0.2 && op.text.size() == 1 && op.font.size == 12
                    && (op.text == u"B" || !cells.empty()) && (cells.empty() || std::abs(op.y - cells[0]->y) < 1e-6))
                    cells.push_back(&op);
            QString written;
            for (const Op *op : cells)
                written += op->text;
            EXPECT_EQ(written, QStringLiteral("BGN<<<<<1234.50"));
            ASSERT_GE(cells.size(), 2u);
            EXPECT_NEAR(cells[1]->x - cells[0]->x, pitch, 0.1);
            EXPECT_TRUE(hasText(doc, 0, QStringLiteral("хиляда двеста тридесет и четири лв. и 50 ст.")));
            // The obliged person: in cells up to 30 characters on the new form.
            const bool plain = hasText(doc, 0, company);
            EXPECT_EQ(plain, company.size() > (newForm ? 30 : 26)) << company.size();
            EXPECT_EQ(hasText(doc, 0, QStringLiteral("Параграф на НАП")), !newForm);
            EXPECT_EQ(hasText(doc, 0, QStringLiteral("Вид плащане")), newForm);
        }
    }
}

TEST(PaymentOrderForm, TheNewFormFromJune2006)
{
    const std::pair<util::Period, bool> cases[] = {
        {util::Period(2006, 5), false}, {util::Period(2006, 6), true}, {util::Period(2008, 5), false},
        {util::Period(2008, 7), true},  {util::Period(2005, 12), false}, {util::Period(2009, 1), true},
        {util::Period(2025, 1), true},  {util::Period(2026, 5), true},
    };
    for (const auto &[period, expected] : cases)
        EXPECT_EQ(newPaymentForm(period), expected) << period.text().toStdString();
}

TEST_F(PaymentOrdersTest, TheListHasARowPerOrder)
{
    const std::vector<PaymentOrder> list = orders();
    ReportRequest r;
    r.kind = ReportKind::PaymentList;
    r.newCodes = true;
    ReportHost host;
    const Document doc = buildPaymentList(*d, r, host);
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_TRUE(doc.setup.landscape());
    EXPECT_TRUE(hasText(doc, 0, QStringLiteral("Списък на сумите за платежни към бюджета за периода 01.07.2008 - 31.07.2008")));
    EXPECT_TRUE(hasText(doc, 0, QStringLiteral("За фирма Плавекс ООД, ЕИК 123456789")));
    EXPECT_TRUE(hasText(doc, 0, QStringLiteral("Суми в лева")));
    // Heading and rows: each row's texts in order.
    std::vector<QStringList> rows;
    std::map<double, QStringList> byY;
    for (const Op &op : doc.pages[0].ops)
        if (op.kind == Op::Kind::Text && op.y > 3.5)
            byY[std::round(op.y * 100) / 100] << op.text;
    for (const auto &[y, texts] : byY)
        rows.push_back(texts);
    // The heading, a row per order and the grand total.
    ASSERT_EQ(rows.size(), list.size() + 2);
    EXPECT_EQ(rows[0], (QStringList{"IBAN", "Вид пл.", "BIC", "Основание за плащане", "Име на банката", "Сума"}));
    for (size_t i = 0; i < list.size(); ++i) {
        const PaymentOrder &o = list[i];
        QStringList want;
        for (const QString &s : {o.payeeIban, o.paymentType, o.payeeBic, o.basis + u' ' + o.explanations, o.payeeBank,
                                 util::fixedNumber(o.amount, 1, 2)})
            if (!s.isEmpty())
                want << s;
        EXPECT_EQ(rows[i + 1], want) << i;
    }
    double total = 0;
    for (const PaymentOrder &o : list)
        total += o.amount;
    EXPECT_EQ(rows.back(), (QStringList{"Общо", util::fixedNumber(total, 1, 2)}));
}

TEST(ShippedNoms, TheRevenueAgencyAccountsLoad)
{
    for (const int year : {2024, 2025, 2026}) {
        SCOPED_TRACE(year);
        test::TestDatabase t{util::Period(year, 3)};
        test::copyShippedNoms(t.dir.path());
        ASSERT_TRUE(t.open());
        EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NAP%1").arg(year)), 28);
        EXPECT_EQ(t.scalar(QStringLiteral("select count(distinct NAP_IBANDOO) from NAP%1").arg(year)), 1);
        const QString doo = fb::Statement::scalar(t.data->transaction(),
                                                  QStringLiteral("select NAP_IBANDOO from NAP%1 where NAP_COD=22").arg(year))
                                .toString()
                                .trimmed();
        EXPECT_EQ(doo, QStringLiteral("BG97BNBG96618000112001"));
        EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from BIN%1").arg(year)), 4);
        // No file line was refused (2024 also says it has no company figures of the law).
        const QStringList problems = t.prompter.messages.filter(QStringLiteral("Файл "));
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    }
}

TEST_F(PaymentOrdersTest, CommandLineFilesEachDocument)
{
    d->commitRetaining();
    const QString dir = t.dir.path();
    const QString pdf = dir + QStringLiteral("out.pdf");
    auto run = [&](const QStringList &args) {
        return test::runCli(dir, QStringList{QStringLiteral("--program-dir"), dir, QStringLiteral("report")} + args
                                     + QStringList{QStringLiteral("--out"), pdf});
    };
    auto words = [&] {
        QProcess text;
        text.start(QStringLiteral(PLAVEX_PDFTOTEXT), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.waitForFinished(30000));
        return QString::fromUtf8(text.readAllStandardOutput()).simplified();
    };
    const std::pair<QStringList, const char *> documents[] = {
        {{QStringLiteral("payment-orders")}, "ПЛАТЕЖНО НАРЕЖДАНЕ/ВНОСНА БЕЛЕЖКА"},
        {{QStringLiteral("payment-orders"), QStringLiteral("--advance"), QStringLiteral("--item"), QStringLiteral("650")},
         "ЗА ПЛАЩАНЕ ОТ/КЪМ БЮДЖЕТА"},
        {{QStringLiteral("payment-list"), QStringLiteral("--advance"), QStringLiteral("--item"), QStringLiteral("650")},
         "Вноска ДОО общо аванс за Юли 2008г родени преди 1960 г."},
        {{QStringLiteral("payment-list")}, "Вноска ДДФЛ за месец Юли 2008г"},
        {{QStringLiteral("item-list"), QStringLiteral("--item"), QStringLiteral("650")}, "650 Аванс"},
    };
    for (const auto &[args, text] : documents) {
        QFile::remove(pdf);
        const test::CliRun r = run(args);
        EXPECT_EQ(r.status, 0) << args.join(u' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(pdf)) << args.join(u' ').toStdString();
        if (*text) {
            EXPECT_TRUE(words().contains(QString::fromUtf8(text))) << text;
        }
    }
    // A month without sick leave says so rather than print an empty page.
    QFile::remove(pdf);
    const test::CliRun noSlip = run({QStringLiteral("sick-slip")});
    EXPECT_NE(noSlip.status, 0);
    EXPECT_TRUE(noSlip.err.contains(QStringLiteral("Няма болнични през месец 07.2008."))) << noSlip.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    const test::CliRun noItem = run({QStringLiteral("item-list")});
    EXPECT_NE(noItem.status, 0);
    EXPECT_TRUE(noItem.err.contains(QStringLiteral("--item"))) << noItem.err.toStdString();
    const test::CliRun notAdvance =
        run({QStringLiteral("payment-orders"), QStringLiteral("--advance"), QStringLiteral("--item"), QStringLiteral("101")});
    EXPECT_NE(notAdvance.status, 0);
    EXPECT_TRUE(notAdvance.err.contains(QStringLiteral("Перо 101 не е аванс (тип 142)."))) << notAdvance.err.toStdString();
    const test::CliRun unknown = run({QStringLiteral("item-list"), QStringLiteral("--item"), QStringLiteral("999")});
    EXPECT_NE(unknown.status, 0);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Няма перо с код 999."))) << unknown.err.toStdString();
}
