#include "reports/PaymentOrders.h"

#include "calc/LawOfMonth.h"
#include "calc/MonthlyRecord.h"
#include "calc/Parameters.h"
#include "declarations/Declaration6.h"
#include "items/Definitions.h"
#include "reference/Company.h"
#include "reference/Rates.h"
#include "reports/CellRow.h"
#include "reports/RunProtocol.h"
#include "reports/Sheets.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/DateText.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"
#include "util/Rounding.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace plavex::reports {

namespace {

double r2(double v) { return util::roundHalfEven(v, 2); }
bool isZero(double v) { return std::llround(v * 100.0) == 0; }

// The texts of the revenue agency's row for the company's region and of
// the fund rows; a row that is not there leaves the texts of the one
// before, as the tables' cursors did.
struct Agency {
    QString directorate, bank, bankCode, bic, bankNew;
    QString account[5]; // by fund 1..4
    QString iban[5];
};

Agency agencyOf(storage::DataModule &data, const reference::Company &company)
{
    Agency a;
    const QVariant region = fb::Statement::scalar(
        data.transaction(), QStringLiteral("SELECT GRAD_OBSCOD FROM %1 WHERE GRAD_COD=?").arg(data.table(u"GRAD")),
        {company.townCode});
    fb::Statement q(data.transaction(),
                    QStringLiteral("SELECT NAP_COD, NAP_TD, NAP_BANK, NAP_BANKCODE, NAP_BIC, NAP_BANKNEW, NAP_DOO, NAP_NZOK, "
                                   "NAP_GARVZ, NAP_DZPO, NAP_IBANDOO, NAP_IBANNZOK, NAP_IBANGARVZ, NAP_IBANDZPO FROM %1 "
                                   "ORDER BY NAP_COD")
                        .arg(data.table(u"NAP")));
    q.execute();
    // The region's row; without the town or its region's row the table's
    // first row stands, as its cursor did.
    bool first = true;
    while (q.next()) {
        const bool match = region.isValid() && q.toInt(0) == region.toInt();
        if (!first && !match)
            continue;
        auto t = [&](int i) { return q.toText(i).trimmed(); };
        a.directorate = t(1);
        a.bank = t(2);
        a.bankCode = t(3);
        a.bic = t(4);
        a.bankNew = t(5);
        for (int f = 1; f <= 4; ++f) {
            a.account[f] = t(5 + f);
            a.iban[f] = t(9 + f);
        }
        first = false;
        if (match)
            break;
    }
    return a;
}

// Since 02.10.2023 the agency has one account per kind of payment for the
// whole country; a region without its own row (or a row without the
// account) pays there rather than to an empty account.
bool nationalAccountsIn(const util::Period &period) { return period >= util::Period(2023, 10); }

void fillNationalAccounts(Agency &a, const util::Period &period)
{
    if (!nationalAccountsIn(period))
        return;
    const char *national[5] = {nullptr, NationalAccounts::socialSecurity, NationalAccounts::health,
                               NationalAccounts::socialSecurity, NationalAccounts::supplementaryPension};
    bool filled = false;
    for (int f = 1; f <= 4; ++f)
        if (a.iban[f].isEmpty()) {
            a.iban[f] = QString::fromLatin1(national[f]);
            filled = true;
        }
    if (filled || a.bic.isEmpty()) {
        if (a.bic.isEmpty())
            a.bic = QString::fromLatin1(NationalAccounts::bic);
        if (a.bankNew.isEmpty())
            a.bankNew = QString::fromUtf8(NationalAccounts::bank);
    }
}

// "НАП - " and the directorate, or "НАП" alone without one.
QString agencyPayee(const QString &directorate)
{
    const QString d = directorate.trimmed();
    return d.isEmpty() ? QStringLiteral("НАП") : (QStringLiteral("НАП - ") + d).left(56).trimmed();
}

struct Fund {
    QString name, bin;
};

// BIN_NAME and BIN_BIN by fund; a missing fund keeps the texts of the last found.
std::vector<Fund> fundsOf(storage::DataModule &data)
{
    std::vector<Fund> funds(5);
    fb::Statement q(data.transaction(), QStringLiteral("SELECT BIN_COD, BIN_NAME, BIN_BIN FROM %1").arg(data.table(u"BIN")));
    q.execute();
    std::vector<bool> found(5, false);
    while (q.next()) {
        const int code = static_cast<int>(q.toInt(0));
        if (code >= 1 && code <= 4 && !found[static_cast<size_t>(code)]) {
            funds[static_cast<size_t>(code)] = {q.toText(1).trimmed(), q.toText(2).trimmed()};
            found[static_cast<size_t>(code)] = true;
        }
    }
    for (size_t f = 2; f <= 4; ++f)
        if (!found[f])
            funds[f] = funds[f - 1];
    return funds;
}

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

// The record with everything that is the same on every order of the run.
PaymentOrder companyOrder(storage::DataModule &data, const reference::Company &company, const util::Period &period)
{
    PaymentOrder o;
    o.payerBank = company.bankName;
    o.payerBranch = company.bankBranch;
    o.payerAddress = fb::Statement::scalar(data.transaction(),
                                           QStringLiteral("SELECT GRAD_IME FROM %1 WHERE GRAD_COD=?").arg(data.table(u"GRAD")),
                                           {company.townCode})
                         .toString()
                         .trimmed();
    o.placeOfIssue = o.payerAddress;
    const QString monthYear = twoDigits(period.month()) + QString::number(period.year());
    o.periodFrom = QStringLiteral("01") + monthYear;
    o.periodTo = twoDigits(period.daysInMonth()) + monthYear;
    o.payerIban = company.iban;
    o.payerBic = company.bic;
    o.obliged = company.name;
    o.bulstat = company.bulstat;
    o.taxNumber = company.taxNumber;
    o.payerAccount = company.bankAccount;
    o.payerBankCode = company.bankCode;
    return o;
}

struct Pair {
    QString type;
    int variant = 0;
};

std::vector<Pair> activePairs(storage::DataModule &data)
{
    std::vector<Pair> pairs;
    fb::Statement q(data.transaction(), QStringLiteral("select distinct PERSON_NOS ,PERSON_NOSN from %1 where person_act=1")
                                            .arg(data.table(u"PERSONS")));
    while (q.next())
        pairs.push_back({q.toText(0), static_cast<int>(q.toInt(1))});
    return pairs;
}

} // namespace

QString bornBeforeText() { return QStringLiteral("родени преди 1960 г."); }
QString bornAfterText() { return QStringLiteral("родени след 1959 г."); }

util::Period paymentCurrencyPeriod(const util::Period &period, const QDate &date)
{
    if (period.year() <= 2008 || !date.isValid())
        return period;
    const util::Period dated = util::Period::fromDate(date);
    return dated > period ? dated : period;
}

double paymentAmount(double amount, const util::Period &period, const util::Period &paidIn)
{
    return util::levaIntoEuro(period, paidIn) ? util::euroHalfUp(amount) : amount;
}

bool newPaymentForm(const util::Period &period)
{
    // From June of 2006 on, as the orders of those years were printed (so
    // January to May of 2007 and 2008 still take the old form); from 2009
    // the old form no longer exists and every month takes the new one.
    return (period.month() >= 6 && period.year() >= 2006) || period.year() >= 2009;
}

std::vector<AdvanceBottom> advanceContributionTable(storage::DataModule &data, const QString &itemCondition,
                                                    const QVariantList &itemValues, int monthIndex,
                                                    const std::function<void(const QString &)> &failed)
{
    const QString column = monthIndex == 1 ? QStringLiteral("PERO_SUMA2") : QStringLiteral("PERO_SUMA1");
    const auto rates = reference::loadRates(data);
    reference::Company company;
    reference::loadCompany(data, company);
    const double accident = company.accidentPercent;
    auto sum = [&](const Pair &p, const QString &age) -> double {
        const QString sql = QStringLiteral("SELECT SUM(%1) FROM %2 WHERE PERO_PERSONID IN (SELECT PERSON_ID FROM %3 WHERE "
                                           "PERSON_ACT=1 AND %4 AND PERSON_NOS=? AND PERSON_NOSN=?) AND %5 AND %1<>0")
                                .arg(column, data.table(u"PERA"), data.table(u"PERSONS"), age, itemCondition);
        try {
            return fb::Statement::scalar(data.transaction(), sql, QVariantList{p.type, p.variant} + itemValues).toDouble();
        } catch (const fb::Error &e) {
            if (failed)
                failed(storage::errorText(e));
            return 0.0;
        }
    };
    std::vector<AdvanceBottom> table;
    for (const Pair &p : activePairs(data)) {
        const reference::NoiType *rate = nullptr;
        for (const auto &r : rates)
            if (r.type == p.type.trimmed().toInt() && r.variant == p.variant)
                rate = &r;
        auto pct = [&](const char *c) { return rate ? rate->percent(QString::fromLatin1(c)) : 0.0; };
        const double a = sum(p, reference::sqlBornBefore1960());
        const double a60 = sum(p, reference::sqlBornAfter1959());
        AdvanceBottom row;
        row.insuredType = p.type;
        row.variant = p.variant;
        row.a1 = (pct("NOI_PENSI_FI") + pct("NOI_ZAB_FI") + pct("NOI_PKB_FI")) * a / 100;
        row.a2 = (pct("NOI_PENSI_FI60") + pct("NOI_ZAB_FI60") + pct("NOI_PKB_FI60")) * a60 / 100;
        row.a5 = accident * a / 100;
        row.a6 = accident * a60 / 100;
        row.b1 = pct("NOI_DZPO_FI60") * a60 / 100;
        row.h1 = pct("NOI_ZDR") * a / 100;
        row.h2 = pct("NOI_ZDR") * a60 / 100;
        row.d1 = pct("NOI_GRVZ") * (a + a60) / 100;
        table.push_back(row);
    }
    return table;
}

std::vector<PaymentOrder> paymentOrders(storage::DataModule &data, const ReportRequest &request,
                                        const std::function<void(const QString &)> &failed)
{
    const util::Period period = data.period();
    const bool newForm = request.newCodes;
    reference::Company company;
    reference::loadCompany(data, company);
    Agency agency = agencyOf(data, company);
    fillNationalAccounts(agency, period);
    // Every order of the run is dated alike and pays in that date's currency.
    const QDate date = request.issued.isValid() ? request.issued : QDate::currentDate();
    const std::vector<Fund> funds = fundsOf(data);
    const auto rates = reference::loadRates(data);
    // The next month's advance is paid for, and in, that month.
    const util::Period paidPeriod = request.advance ? advancePeriod(period, request.advanceMonth) : period;
    const PaymentOrder base = companyOrder(data, company, paidPeriod);

    std::vector<PaymentOrder> orders;
    auto add = [&](const reference::NoiType *rate, int fund, const QString &basis, const QString &explanations, double amount,
                   const char *oldCode, const char *paymentType) {
        amount = r2(amount);
        if (isZero(amount))
            return;
        PaymentOrder o = base;
        o.payee = agencyPayee(agency.directorate);
        o.payeeAccount = agency.account[fund];
        o.payeeIban = agency.iban[fund];
        o.payeeBic = agency.bic;
        o.payeeBankCode = agency.bankCode;
        o.payeeBank = newForm ? agency.bankNew : agency.bank;
        o.bin = funds[static_cast<size_t>(fund)].bin;
        o.oldCode = rate ? rate->code(QString::fromLatin1(oldCode)).trimmed() : QString();
        o.paymentType = rate ? rate->code(QString::fromLatin1(paymentType)).trimmed() : QString();
        o.basis = basis;
        o.explanations = explanations;
        o.amount = amount;
        o.date = date;
        o.paidIn = paymentCurrencyPeriod(paidPeriod, date);
        o.amount = paymentAmount(amount, period, o.paidIn);
        orders.push_back(std::move(o));
    };
    auto name = [&](int fund) { return QStringLiteral("Вноска ") + funds[static_cast<size_t>(fund)].name; };
    auto rateOf = [&](const QString &type, int variant) { return reference::findRate(rates, type.trimmed().toInt(), variant); };

    if (request.advance) {
        const util::Period paid = advancePeriod(period, request.advanceMonth);
        const QString text = QStringLiteral("аванс за ") + util::monthName(paid.month()) + QLatin1Char(' ')
                             + QString::number(paid.year()) + QStringLiteral("г ");
        const QString before = bornBeforeText(), after = bornAfterText();
        for (const AdvanceBottom &p : advanceContributionTable(data, QStringLiteral("PERO_COD=?"), {request.itemCode},
                                                               request.advanceMonth, failed)) {
            const reference::NoiType *rate = rateOf(p.insuredType, p.variant);
            add(rate, 1, name(1) + QStringLiteral(" общо"), text + before, r2(p.a1), "NOI_COD", "NOI_VPL");
            add(rate, 1, name(1) + QStringLiteral(" общо"), text + after, r2(p.a2), "NOI_COD60", "NOI_VPL60");
            add(rate, 2, name(2), text + before, r2(p.h1), "NOI_ZDR_COD", "NOI_ZDR_VPL");
            add(rate, 2, name(2), text + after, r2(p.h2), "NOI_ZDR_COD", "NOI_ZDR_VPL");
            add(rate, 3, name(3), text, r2(p.d1), "NOI_GRVZ_COD", "NOI_GARVZ_VPL");
            add(rate, 4, name(4), text + after, r2(p.b1), "NOI_DZPO_COD60", "NOI_DZPO_VPL60");
            add(rate, 1, name(1) + QStringLiteral(" трудова злополука"), before, r2(p.a5), "NOI_TRZLOP", "NOI_TRZLOP_VPL");
            add(rate, 1, name(1) + QStringLiteral(" трудова злополука"), after, r2(p.a6), "NOI_TRZLOP_COD60", "NOI_TRZLOP_VPL");
        }
        return orders;
    }

    // Each term to the cent first, as declaration 6 adds them up, so that
    // the orders of a fund pay what the declaration declares.
    const std::vector<declarations::RecapBottom> month = declarations::buildContributionTable(data);
    const std::vector<AdvanceBottom> advances =
        advanceContributionTable(data, QStringLiteral("PERO_TYPE=142"), {}, 0, failed);
    for (const declarations::RecapBottom &m : month) {
        AdvanceBottom paid;
        for (const AdvanceBottom &p : advances)
            if (p.insuredType == m.insuredType && p.variant == m.variant)
                paid = p;
        const reference::NoiType *rate = rateOf(m.insuredType, m.variant);
        auto a = [&](int n) { return r2(m.a[static_cast<size_t>(n - 1)]); };
        auto b = [&](int n) { return r2(m.b[static_cast<size_t>(n - 1)]); };
        auto h = [&](int n) { return r2(m.h[static_cast<size_t>(n - 1)]); };
        add(rate, 1, name(1) + QStringLiteral(" общо"), bornBeforeText(), a(1) - r2(paid.a1), "NOI_COD", "NOI_VPL");
        add(rate, 1, name(1) + QStringLiteral(" общо"), bornAfterText(), a(2) - r2(paid.a2), "NOI_COD60", "NOI_VPL60");
        add(rate, 3, name(3), QString(), r2(m.d1) - r2(paid.d1), "NOI_GRVZ_COD", "NOI_GARVZ_VPL");
        add(rate, 4, name(4), bornAfterText(), b(1) + b(2) - r2(paid.b1), "NOI_DZPO_COD60", "NOI_DZPO_VPL60");
        add(rate, 1, name(1) + QStringLiteral(" трудова злополука"), QString(), (a(5) - r2(paid.a5)) + (a(6) - r2(paid.a6)),
            "NOI_TRZLOP", "NOI_TRZLOP_VPL");
        add(rate, 2, name(2), QStringLiteral("от работодател"), (h(1) - r2(paid.h1)) + (h(2) - r2(paid.h2)), "NOI_ZDR_COD",
            "NOI_ZDR_VPL");
        add(rate, 2, name(2) + QStringLiteral(" майчинство от фирма"), QString(), h(5) + h(6), "NOI_ZDR_BOLN_COD",
            "NOI_ZDR_BOLN_VPL");
        add(rate, 2, name(2) + QStringLiteral(" неплатен отпуск"), QStringLiteral(" от работодател"), h(9) + h(10),
            "NOI_ZDR_NEPL_COD", "NOI_ZDR_NEWPL_VPL");
        // The health contribution on the days the institute pays is declared
        // with the benefits' and paid with them, at the same rate and code.
        add(rate, 2, name(2) + QStringLiteral(" болнични от фирма"), QString(), h(7) + h(8) + h(11), "NOI_ZDR_BOLN_COD",
            "NOI_ZDR_BOLN_VPL");
        add(rate, 2, name(2) + QStringLiteral(" здравни лично"), QString(), h(3) + h(4), "NOI_ZDL_COD", "NOI_ZDRL_VPL");
        add(rate, 1, name(1) + QStringLiteral(" соц. разходи"), bornBeforeText(), a(3), "NOI_SOC_COD", "NOI_SOC_VPL");
        add(rate, 1, name(1) + QStringLiteral(" соц. разходи"), bornAfterText(), a(4), "NOI_SOC_COD60",
            "NOI_SOC_VPL60");
    }

    // The income tax, always, also when there is none.
    PaymentOrder tax = base;
    tax.payee = agencyPayee(company.taxOfficeName);
    tax.payeeAccount = company.budgetAccount;
    tax.payeeIban = company.taxIban.trimmed();
    tax.payeeBic = company.taxBic.trimmed();
    tax.payeeBankCode = company.taxBankCode;
    tax.payeeBank = company.taxBankName.trimmed();
    tax.bin = company.bin;
    tax.paymentType = company.taxPaymentType;
    if (tax.payeeIban.isEmpty() && nationalAccountsIn(period)) {
        tax.payeeIban = QString::fromLatin1(NationalAccounts::taxes);
        tax.payeeBic = QString::fromLatin1(NationalAccounts::bic);
        tax.payeeBank = QString::fromUtf8(NationalAccounts::bank);
        // The code is optional on these accounts; the taxes' code as before.
        if (tax.paymentType.trimmed().isEmpty())
            tax.paymentType = QStringLiteral("110000");
    }
    tax.basis = QStringLiteral("Вноска ") + calc::incomeTaxName(period) + QStringLiteral(" за месец ")
                + util::monthName(period.month()) + QLatin1Char(' ') + QString::number(period.year()) + QStringLiteral("г");
    tax.date = date;
    tax.paidIn = paymentCurrencyPeriod(period, date);
    tax.amount = paymentAmount(r2(calc::sumOfActive(data, QStringLiteral("PERSDATA_SDOD"), QStringLiteral("PERSON_ACT=1"))),
                               period, tax.paidIn);
    orders.push_back(std::move(tax));
    return orders;
}

PageSetup paymentOrdersPageSetup()
{
    PageSetup s;
    s.copies = 2;
    return s;
}

PageSetup paymentListPageSetup()
{
    PageSetup s = paymentOrdersPageSetup();
    s.orientation = Orientation::Landscape;
    return s;
}

namespace {

std::vector<PaymentOrder> ordersOfRun(storage::DataModule &data, const ReportRequest &request, ReportHost &host)
{
    calc::Parameters params;
    params.reloadAll(data);
    // Contributions on another kind of item would be paid as if on an advance.
    if (request.advance) {
        bool advance = false;
        for (const items::Definition &d : params.definitions)
            advance |= d.code == request.itemCode && d.type == 142;
        if (!advance)
            throw std::runtime_error(QStringLiteral("Перо %1 не е аванс (тип 142).").arg(request.itemCode).toStdString());
    }
    recalculateForReport(data, params, host);
    data.lockPeriod();
    return paymentOrders(data, request, [&host](const QString &why) { host.message(why); });
}

} // namespace

Document buildPaymentOrders(storage::DataModule &data, const ReportRequest &request, ReportHost &host)
{
    const std::vector<PaymentOrder> orders = ordersOfRun(data, request, host);
    Document doc;
    doc.title = QString::fromUtf8(kindInfo(request.kind).caption);
    doc.setup = paymentOrdersPageSetup();
    Canvas c(doc);
    c.setPrinterMargins(host.printerMargins());
    c.raiseMarginsToPrinter();
    c.onNewPage = [&](Canvas &canvas) { announcePage(canvas, host, PageStatus::EngineWords); };
    c.begin();
    const util::Period period = data.period();
    // Two to a page: the odd ones at the top, the even ones in the lower half.
    auto unit = [&](Canvas &canvas, int i) {
        const int counter = i + 1;
        if (counter % 2 == 1 && counter >= 3)
            canvas.newPage();
        printPaymentOrder(canvas, orders[static_cast<size_t>(i)], request.newCodes, period, 2.5,
                          counter % 2 == 1 ? 0.5 : 15.0);
    };
    if (!printRows(c, static_cast<int>(orders.size()), unit, host))
        throw RunAborted{};
    c.finish();
    return doc;
}

Document buildPaymentList(storage::DataModule &data, const ReportRequest &request, ReportHost &host)
{
    const std::vector<PaymentOrder> orders = ordersOfRun(data, request, host);
    reference::Company company;
    reference::loadCompany(data, company);
    const util::Period period = data.period();

    Document doc;
    doc.title = QString::fromUtf8(kindInfo(request.kind).caption);
    doc.setup = paymentListPageSetup();
    Canvas c(doc);
    c.setPrinterMargins(host.printerMargins());
    c.raiseMarginsToPrinter();
    c.setFontSize(10);
    c.onNewPage = [&](Canvas &canvas) { announcePage(canvas, host, PageStatus::EngineWords); };
    c.begin();
    auto day = [](const QDate &d) { return util::documentDate(d); };
    const util::Period paidFor = request.advance ? advancePeriod(period, request.advanceMonth) : period;
    const QDate first = paidFor.firstDay();
    const QString title = (request.advance ? QStringLiteral("Списък на сумите за платежни аванс към бюджета за периода ")
                                           : QStringLiteral("Списък на сумите за платежни към бюджета за периода "))
                          + day(first) + QStringLiteral(" - ") + day(first.addDays(paidFor.daysInMonth() - 1));
    const double middle = c.pageWidth() / 2;
    c.setBold(true);
    c.textAt(title, middle, 2.0 + 0.35, Justify::Center);
    c.setBold(false);
    c.textAt(QStringLiteral("За фирма ") + employerText(company.name, company.bulstat), middle, 2.5 + 0.35, Justify::Center);
    // The orders of a run pay in one currency: the first one's, or the month's.
    const util::Period paidIn = orders.empty() ? paymentCurrencyPeriod(period, request.issued.isValid() ? request.issued
                                                                                                       : QDate::currentDate())
                                               : orders.front().paidIn;
    c.textAt(util::currencyOf(paidIn).caption, middle, 3.0 + 0.35, Justify::Center);

    const double widths[] = {4.5, 2, 2, 9, 6, 2};
    auto stops = [&](bool heading) {
        c.clearTabs();
        for (int i = 0; i < 6; ++i)
            c.setTab(i == 0 ? 2.0 : -1, heading ? Justify::Center : (i == 5 ? Justify::Right : Justify::Left), widths[i], 10,
                     BoxAll);
    };
    const QStringList headings{QStringLiteral("IBAN"), QStringLiteral("Вид пл."), QStringLiteral("BIC"),
                               QStringLiteral("Основание за плащане"), QStringLiteral("Име на банката"), QStringLiteral("Сума")};
    auto heading = [&] {
        stops(true);
        c.setXPos(2.0);
        printRow(c, headings);
        stops(false);
    };
    // A page the rows run on to starts with the headings again.
    auto row = [&](const QStringList &cells) {
        if (c.linesLeft() < 1) {
            c.newPage();
            heading();
        }
        c.setXPos(2.0);
        printRow(c, cells);
    };
    c.gotoXY(2.0, 3.5);
    heading();
    auto unit = [&](Canvas &, int i) {
        const PaymentOrder &o = orders[static_cast<size_t>(i)];
        row({o.payeeIban, o.paymentType, o.payeeBic, o.basis + QLatin1Char(' ') + o.explanations, o.payeeBank,
             util::fixedNumber(o.amount, 1, 2)});
    };
    if (!printRows(c, static_cast<int>(orders.size()), unit, host))
        throw RunAborted{};
    double total = 0;
    for (const PaymentOrder &o : orders)
        total += o.amount;
    if (c.linesLeft() < 1) {
        c.newPage();
        heading();
    }
    c.setXPos(2.0);
    c.setBold(true);
    printRow(c, {QString(), QString(), QString(), QStringLiteral("Общо"), QString(), util::fixedNumber(util::roundHalfEven(total, 2), 1, 2)});
    c.setBold(false);
    c.finish();
    return doc;
}

} // namespace plavex::reports
