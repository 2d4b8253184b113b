// What an accountant needs before signing or paying a document of December
// 2025: the employer and the currency on every document, payable tax
// orders in the currency of their date, and no signature for a sum owed.
#include "calc/Parameters.h"
#include "operations/BulkOperations.h"
#include "reports/ItemList.h"
#include "reports/PaymentOrders.h"
#include "reports/Payslips.h"
#include "reports/Recapitulation.h"
#include "reports/RunProtocol.h"
#include "reports/Sheets.h"
#include "reports/SickSlip.h"
#include "reports/TaxCertificates.h"
#include "tests/reports/SheetsFixture.h"
#include "calc/MonthlyRecord.h"
#include "util/Currency.h"
#include "util/DateText.h"
#include "util/Rounding.h"

using namespace plavex;
using namespace plavex::reports;

namespace {

class SignableDocumentsTest : public test::SheetsCompany {
protected:
    SignableDocumentsTest() : test::SheetsCompany(util::Period(2025, 12)) {}
    void SetUp() override
    {
        test::SheetsCompany::SetUp();
        reference::postCompany(*d, {{QStringLiteral("FIRMA_BULSTAT"), QStringLiteral("175074752")}});
        d->commitRetaining();
    }
    static ReportRequest request(ReportKind kind)
    {
        ReportRequest r;
        r.kind = kind;
        r.fromNumber = 1;
        r.toNumber = 99;
        r.newCodes = true;
        return r;
    }
};

QStringList textsOf(const Document &doc)
{
    QStringList texts;
    for (const Page &page : doc.pages)
        for (const Op &op : page.ops)
            if (op.kind == Op::Kind::Text)
                texts << op.text;
    return texts;
}

bool mentions(const Document &doc, const QString &text)
{
    for (const QString &t : textsOf(doc))
        if (t.contains(text))
            return true;
    return false;
}

// A form's character cells of 12 points, read as one text per page.
QString cellsOf(const Document &doc)
{
    QString all;
    for (const Page &page : doc.pages)
        for (const Op &op : page.ops)
            if (op.kind == Op::Kind::Text && op.text.size() == 1 && op.font.size == 12)
                all += op.text;
    return all;
}

} // namespace

TEST_F(SignableDocumentsTest, EveryDocumentNamesTheEmployerAndTheCurrency)
{
    ReportHost host;
    ReportRequest recap = request(ReportKind::Recapitulation);
    recap.recapType = RecapType::General;
    ReportRequest advance = request(ReportKind::AdvanceSheet);
    advance.itemText = QStringLiteral("601");
    ReportRequest nextAdvance = advance;
    nextAdvance.advanceMonth = 1;
    ReportRequest items = request(ReportKind::ItemList);
    items.itemCode = 601;
    ReportRequest list = request(ReportKind::PaymentList);
    list.issued = QDate(2025, 12, 20);
    const std::pair<const char *, Document> documents[] = {
        {"payslip 1", buildPayslips(*d, request(ReportKind::Payslip1), host)},
        {"payslip 2", buildPayslips(*d, request(ReportKind::Payslip2), host)},
        {"pay sheet", buildPaySheet(*d, request(ReportKind::Sheet), host)},
        {"advance sheet", buildAdvanceSheet(*d, advance, host)},
        {"recapitulation", *buildRecapitulation(*d, recap, host)},
        {"item list", buildItemList(*d, items, host)},
        {"payment list", buildPaymentList(*d, list, host)},
        {"annual tax", buildAnnualTax(*d, 2025, host)},
    };
    for (const auto &[name, doc] : documents) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(mentions(doc, QStringLiteral("Плавекс ООД")));
        EXPECT_TRUE(mentions(doc, QStringLiteral("ЕИК 175074752")));
        // The item list says it in its amount column's caption.
        EXPECT_TRUE(mentions(doc, QStringLiteral("Суми в лева")) || mentions(doc, QStringLiteral("Сума лв.")));
        EXPECT_FALSE(mentions(doc, QStringLiteral("евро")));
    }
    // January's advance, listed in December, is paid in euro: each amount by the rule of pay.
    const Document january = buildAdvanceSheet(*d, nextAdvance, host);
    EXPECT_TRUE(mentions(january, QStringLiteral("Суми в евро")));
    EXPECT_TRUE(mentions(january, QStringLiteral("Ведомост аванс за месец  Януари 2026г.")));
    EXPECT_TRUE(mentions(january, util::fixedNumber(util::euroRoundingUp(150), 2, 2)));
    EXPECT_FALSE(mentions(january, QStringLiteral("150.00")));
    // Its orders are for January and in euro, whenever they are printed.
    ReportRequest orders = request(ReportKind::AdvancePaymentList);
    orders.advance = true;
    orders.itemCode = 601;
    orders.advanceMonth = 1;
    orders.issued = QDate(2025, 12, 20);
    const Document advanceList = buildPaymentList(*d, orders, host);
    EXPECT_TRUE(mentions(advanceList, QStringLiteral("за периода 01.01.2026 - 31.01.2026")));
    EXPECT_TRUE(mentions(advanceList, QStringLiteral("Суми в евро")));
    const std::vector<PaymentOrder> paid = paymentOrders(*d, orders);
    ASSERT_FALSE(paid.empty());
    EXPECT_EQ(paid.front().explanations, QStringLiteral("аванс за Януари 2026г родени преди 1960 г."));
    for (const PaymentOrder &o : paid) {
        EXPECT_EQ(o.periodFrom, QStringLiteral("01012026"));
        EXPECT_EQ(o.periodTo, QStringLiteral("31012026"));
    }
}

TEST_F(SignableDocumentsTest, TheTaxOrderIsPayableAndPaysInTheCurrencyOfItsDate)
{
    struct Case {
        QDate issued;
        const char *currency;
    };
    for (const Case &c : {Case{QDate(2025, 12, 20), "BGN"}, Case{QDate(2026, 1, 12), "EUR"}}) {
        SCOPED_TRACE(c.currency);
        ReportRequest r = request(ReportKind::PaymentOrders);
        r.issued = c.issued;
        ReportHost host;
        const Document forms = buildPaymentOrders(*d, r, host); // after recalculating everyone
        const std::vector<PaymentOrder> orders = paymentOrders(*d, r);
        ASSERT_FALSE(orders.empty());
        // No row of the region: the agency's accounts for the whole country.
        const PaymentOrder &tax = orders.back();
        EXPECT_EQ(tax.basis, QStringLiteral("Вноска ДДФЛ за месец Декември 2025г"));
        EXPECT_EQ(tax.payee, QStringLiteral("НАП"));
        EXPECT_EQ(tax.payeeIban, QStringLiteral("BG88BNBG96618000195001"));
        EXPECT_EQ(tax.payeeBic, QStringLiteral("BNBGBGSD"));
        EXPECT_EQ(tax.paymentType, QStringLiteral("110000"));
        EXPECT_EQ(tax.bulstat.trimmed(), QStringLiteral("175074752"));
        for (const PaymentOrder &o : orders) {
            EXPECT_FALSE(o.payeeIban.isEmpty()) << o.basis.toStdString();
            EXPECT_EQ(o.payeeBic, QStringLiteral("BNBGBGSD"));
        }
        const PaymentOrder &doo = orders.front();
        EXPECT_EQ(doo.payeeIban, QStringLiteral("BG97BNBG96618000112001"));
        EXPECT_EQ(doo.explanations, QStringLiteral("родени преди 1960 г."));

        // The amounts of a leva month in euro when the order is dated in 2026.
        const double leva = calc::sumOfActive(*d, QStringLiteral("PERSDATA_SDOD"), QStringLiteral("PERSON_ACT=1"));
        EXPECT_GT(leva, 0);
        const bool euro = QLatin1String(c.currency) == QLatin1String("EUR");
        EXPECT_DOUBLE_EQ(tax.amount, euro ? util::euroHalfUp(leva) : util::roundHalfEven(leva, 2));

        EXPECT_TRUE(mentions(forms, util::documentDate(c.issued)));
        const QString cells = cellsOf(forms);
        EXPECT_TRUE(cells.contains(QLatin1String(c.currency) + amountCells(tax.amount))) << cells.toStdString();
        EXPECT_TRUE(amountCells(tax.amount).contains(u'.'));
        EXPECT_TRUE(cells.contains(QStringLiteral("175074752")));
    }
}

TEST(PaymentOrderForm, TheAmountCellsHaveTheirDecimalPoint)
{
    const std::pair<double, const char *> cases[] = {
        {1234.5, "<<<<<1234.50"}, {0.07, "<<<<<<<<0.07"}, {398139, "<<<398139.00"}, {-12.3, "<<<<<<-12.30"}};
    for (const auto &[amount, cells] : cases)
        EXPECT_EQ(amountCells(amount), QLatin1String(cells)) << amount;
}

TEST_F(SignableDocumentsTest, WhoOwesIsNotAskedToSign)
{
    // An advance larger than the month's pay.
    fb::Statement::run(d->transaction(),
                       QStringLiteral("update %1 set PERO_SUMA1=5000 where PERO_PERSONID=3 and PERO_COD=601").arg(d->table(u"PERA")));
    d->commitRetaining();
    ReportHost host;
    const Document sheet = buildPaySheet(*d, request(ReportKind::Sheet), host);
    const double toPay = stored(3, 201);
    ASSERT_LT(toPay, 0);
    const auto lines = test::docLines(sheet);
    const test::DocLine *row = test::lineStarting(lines, QStringLiteral("21"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->texts().back(), QStringLiteral("дължи ") + util::fixedNumber(-toPay, 2, 2));
    EXPECT_EQ(test::lineStarting(lines, QStringLiteral("11"))->texts().back(), QStringLiteral(".................."));

    // The list of negative nets names the same people.
    calc::Parameters params;
    params.reloadAll(*d);
    QStringList owing;
    for (const operations::NegativeNet &n : operations::negativeNets(*d, params))
        owing << QString::number(n.number);
    QStringList unsigned_;
    for (const test::DocLine &l : lines)
        if (l.texts().back().startsWith(QStringLiteral("дължи ")))
            unsigned_ << l.texts().front();
    EXPECT_EQ(owing, unsigned_);
}
