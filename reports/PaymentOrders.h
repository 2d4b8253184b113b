#pragma once

#include "reports/engine/Canvas.h"
#include "reports/engine/Document.h"
#include "util/Period.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;
struct ReportRequest;

// One budget payment order, every value as the form writes it.
struct PaymentOrder {
    QString payerBank, payerBranch, payerAddress, placeOfIssue;
    QString payee;
    QString payeeAccount; // old form
    QString oldCode;      // old form's payment code
    QString paymentType;  // "Вид плащане"
    QString bin;          // old form
    QString payeeBankCode; // old form
    QString payeeBank;
    double amount = 0; // to the cent
    QString basis, explanations;
    QString documentType = QStringLiteral("9");
    QString documentNumber;
    QString periodFrom, periodTo; // ddmmyyyy
    QString payeeIban, payeeBic;
    QString payerIban, payerBic;
    QString obliged; // the company's name
    QString bulstat;
    QString egn;
    QString taxNumber; // old form
    QString payerAccount, payerBankCode; // old form
    QDate date;           // the order's date; none: the day it is printed
    util::Period paidIn;  // the month whose currency it pays in; none: the period's
};

// The contributions on advances of one insurance-type pair (the advance
// counterpart of the declaration-6 table, same pairs in the same order).
struct AdvanceBottom {
    QString insuredType;
    int variant = 0;
    double a1 = 0, a2 = 0, a5 = 0, a6 = 0, b1 = 0, h1 = 0, h2 = 0, d1 = 0;
};

// Per pair: the advances of its active employees (PERO_SUMA1 of the
// current month, PERO_SUMA2 of the next for monthIndex 1) of the items the
// condition picks, times the pair's rates. A failing sum is told to
// `failed` and counts 0.
std::vector<AdvanceBottom> advanceContributionTable(storage::DataModule &data, const QString &itemCondition,
                                                    const QVariantList &itemValues, int monthIndex,
                                                    const std::function<void(const QString &)> &failed = {});

// The new form: June to December from 2006, every month from 2009.
bool newPaymentForm(const util::Period &period);

// The orders of a run in print order: the month's (less what the advance
// orders paid, the income-tax order last) or the chosen advance's.
std::vector<PaymentOrder> paymentOrders(storage::DataModule &data, const ReportRequest &request,
                                        const std::function<void(const QString &)> &failed = {});

// "<<<<<1234.50": the whole part right-aligned in nine, the decimal point,
// the cents, "<" for blanks.
QString amountCells(double amount);

// The further explanations of the orders by birth group.
QString bornBeforeText(); // "родени преди 1960 г."
QString bornAfterText();  // "родени след 1959 г."

// What an order dated `date` for the month `period` pays in: the currency of
// its date, the euro from 2026 (the months to 2008 keep their leva as the
// program has always printed them). An amount of a leva month paid in euro
// is converted by the general rule.
util::Period paymentCurrencyPeriod(const util::Period &period, const QDate &date);
double paymentAmount(double amount, const util::Period &period, const util::Period &paidIn);

// The revenue agency's accounts for the whole country since 02.10.2023, one
// per kind of payment, at the national bank (BIC BNBGBGSD): what an order
// takes when its region's row has no account of the kind.
struct NationalAccounts {
    static constexpr const char *bic = "BNBGBGSD";
    static constexpr const char *bank = "Българска народна банка";
    static constexpr const char *taxes = "BG88BNBG96618000195001";
    static constexpr const char *socialSecurity = "BG97BNBG96618000112001";
    static constexpr const char *health = "BG16BNBG96618000112101";
    static constexpr const char *supplementaryPension = "BG65BNBG96618000111801";
};
// The amount in words in the period's currency; a negative one says so.
QString amountWords(double amount, const util::Period &period);

// One form with its origin at (x, y) cm.
void printPaymentOrder(Canvas &canvas, const PaymentOrder &order, bool newForm, const util::Period &period, double x,
                       double y);

PageSetup paymentOrdersPageSetup();
PageSetup paymentListPageSetup();

// The forms two to a page, after recalculating everyone.
Document buildPaymentOrders(storage::DataModule &data, const ReportRequest &request, ReportHost &host);
// The landscape list of the same orders.
Document buildPaymentList(storage::DataModule &data, const ReportRequest &request, ReportHost &host);

} // namespace plavex::reports
