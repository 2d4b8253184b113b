#include "reports/PaymentOrders.h"

#include "calc/CalcPerson.h"
#include "calc/MonthlyRecord.h"
#include "calc/Parameters.h"
#include "declarations/Declaration6.h"
#include "items/Definitions.h"
#include "reference/Company.h"
#include "reference/Rates.h"
#include "reports/CellRow.h"
#include "reports/ReportRun.h"
#include "reports/Sheets.h"
#include "storage/DataModule.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"
#include "util/NumberWords.h"
#include "util/Rounding.h"
#include "util/Separators.h"

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

bool newPaymentForm(const util::Period &period)
{
    // The new form came in June 2006 and stayed: the months before June of
    // the later years print it too.
    return period >= util::Period(2006, 6);
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
                failed(e.message());
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
    const Agency agency = agencyOf(data, company);
    const std::vector<Fund> funds = fundsOf(data);
    const auto rates = reference::loadRates(data);
    const PaymentOrder base = companyOrder(data, company, period);

    std::vector<PaymentOrder> orders;
    auto add = [&](const reference::NoiType *rate, int fund, const QString &basis, const QString &explanations, double amount,
                   const char *oldCode, const char *paymentType) {
        amount = r2(amount);
        if (isZero(amount))
            return;
        PaymentOrder o = base;
        o.payee = (QStringLiteral("НАП - ") + agency.directorate).trimmed();
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
        orders.push_back(std::move(o));
    };
    auto name = [&](int fund) { return QStringLiteral("Вноска ") + funds[static_cast<size_t>(fund)].name; };
    auto rateOf = [&](const QString &type, int variant) { return reference::findRate(rates, type.trimmed().toInt(), variant); };

    if (request.advance) {
        const util::Period paid = advancePeriod(period, request.advanceMonth);
        const QString text = QStringLiteral("аванс за ") + util::monthName(paid.month()) + QLatin1Char(' ')
                             + QString::number(paid.year()) + QStringLiteral("г ");
        const QString before = QStringLiteral("до 60г."), after = QStringLiteral("след 60г.");
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
        add(rate, 1, name(1) + QStringLiteral(" общо"), QStringLiteral("до 60г."), a(1) - r2(paid.a1), "NOI_COD", "NOI_VPL");
        add(rate, 1, name(1) + QStringLiteral(" общо"), QStringLiteral("след 60г."), a(2) - r2(paid.a2), "NOI_COD60", "NOI_VPL60");
        add(rate, 3, name(3), QString(), r2(m.d1) - r2(paid.d1), "NOI_GRVZ_COD", "NOI_GARVZ_VPL");
        add(rate, 4, name(4), QStringLiteral("след 60г."), b(1) + b(2) - r2(paid.b1), "NOI_DZPO_COD60", "NOI_DZPO_VPL60");
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
        add(rate, 1, name(1) + QStringLiteral(" соц. разходи"), QStringLiteral("до 60г."), a(3), "NOI_SOC_COD", "NOI_SOC_VPL");
        add(rate, 1, name(1) + QStringLiteral(" соц. разходи"), QStringLiteral("след 60г."), a(4), "NOI_SOC_COD60",
            "NOI_SOC_VPL60");
    }

    // The income tax, always, also when there is none.
    PaymentOrder tax = base;
    tax.payee = (QStringLiteral("НАП - ") + company.taxOfficeName).left(56).trimmed();
    tax.payeeAccount = company.budgetAccount;
    tax.payeeIban = company.taxIban;
    tax.payeeBic = company.taxBic;
    tax.payeeBankCode = company.taxBankCode;
    tax.payeeBank = company.taxBankName;
    tax.bin = company.bin;
    tax.paymentType = company.taxPaymentType;
    tax.basis = QStringLiteral("Вноска ДОД за месец ") + util::monthName(period.month()) + QLatin1Char(' ')
                + QString::number(period.year()) + QStringLiteral("г");
    tax.amount = r2(calc::sumOfActive(data, QStringLiteral("PERSDATA_SDOD"), QStringLiteral("PERSON_ACT=1")));
    orders.push_back(std::move(tax));
    return orders;
}

QString amountCells(double amount)
{
    const long long cents = std::llround(r2(amount) * 100.0);
    const long long whole = std::llabs(cents) / 100;
    const QString lev = (cents < 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
    QString text = lev.rightJustified(10) + QStringLiteral("%1").arg(std::llabs(cents) % 100, 2, 10, QLatin1Char('0'));
    text.replace(QLatin1Char(' '), QLatin1Char('<'));
    return text;
}

QString amountWords(double amount, const util::Period &period)
{
    const QString words = util::amountInWords(amount, period).trimmed();
    return std::llround(r2(amount) * 100.0) < 0 ? QStringLiteral("минус ") + words : words;
}

namespace {

constexpr double kNewPitch = 0.45, kOldPitch = 0.5;
constexpr int kNewCells = 35, kOldCells = 26;
constexpr double kCellColumn = 0.9;
constexpr double kValueSize = 12, kCaptionSize = 5;

// Draws one form at its origin: the values in their cells, the captions
// above them and the frame around.
class Form {
public:
    Form(Canvas &c, bool newForm, double x, double y) : c_(c), newForm_(newForm), x_(x), y_(y) {}

    double pitch() const { return newForm_ ? kNewPitch : kOldPitch; }
    int cells() const { return newForm_ ? kNewCells : kOldCells; }
    double cellsRight() const { return kCellColumn + cells() * pitch(); }

    // A value one character per cell from `at` (cm from the origin); longer
    // than `limit` cells it goes as one text.
    void cellText(double at, double row, const QString &value, int limit)
    {
        value_();
        if (value.size() > limit) {
            c_.textAt(value, x_ + at, y_ + row);
            return;
        }
        for (qsizetype i = 0; i < value.size(); ++i)
            if (!value[i].isSpace())
                c_.textAt(QString(value[i]), x_ + at + (static_cast<double>(i) + 0.5) * pitch(), y_ + row, Justify::Center);
    }
    void cellText(double row, const QString &value, int limit = 0) { cellText(kCellColumn, row, value, limit ? limit : cells()); }
    void plain(double at, double row, const QString &value)
    {
        value_();
        c_.textAt(value, x_ + at, y_ + row);
    }

    // The row of `count` cells from `from` (cells from the cell column):
    // a line under it and a tick between cells.
    void cellRow(double row, int from = 0, int count = -1)
    {
        if (count < 0)
            count = cells() - from;
        c_.setPen(Pen{});
        const double left = x_ + kCellColumn + from * pitch();
        const double bottom = y_ + row + 0.12;
        c_.line(left, bottom, left + count * pitch(), bottom);
        for (int i = 0; i <= count; ++i) {
            const double tx = left + i * pitch();
            c_.line(tx, bottom, tx, bottom - ((i == 0 || i == count) ? 0.5 : 0.15));
        }
    }
    // A caption above its row, `at` cells from the cell column.
    void caption(double row, const QString &text, double cell = 0)
    {
        caption(kCellColumn + cell * pitch() + 0.04, row, text, true);
    }
    void caption(double at, double row, const QString &text, bool)
    {
        c_.setBold(false);
        c_.setFontSize(kCaptionSize);
        c_.textAt(text, x_ + at, y_ + row - 0.42);
    }
    void label(double at, double row, const QString &text, double size, bool bold = false)
    {
        c_.setBold(bold);
        c_.setFontSize(size);
        c_.textAt(text, x_ + at, y_ + row);
    }
    void hline(double from, double to, double row)
    {
        c_.setPen(Pen{});
        c_.line(x_ + from, y_ + row, x_ + to, y_ + row);
    }
    void frame(double height)
    {
        c_.setPen(Pen{});
        c_.setBrush(Brush{});
        c_.rectangle(x_, y_, x_ + cellsRight() + 0.2, y_ + height);
    }

private:
    void value_()
    {
        c_.setBold(true);
        c_.setFontSize(kValueSize);
    }

    Canvas &c_;
    bool newForm_;
    double x_, y_;
};

QString issueDate()
{
    const QChar sep = util::Separators::current().date;
    const QDate today = QDate::currentDate();
    return QString(8, QLatin1Char(' ')) + sep + twoDigits(today.month()) + sep + QString::number(today.year());
}

void drawNewForm(Form &f, const PaymentOrder &o, const util::Period &period)
{
    const double r0 = 0.55, r1 = r0 + 0.78, r2_ = r1 + 0.7, r3 = r2_ + 1.2;
    double row[16];
    row[3] = r3;
    for (int i = 4; i < 16; ++i)
        row[i] = row[i - 1] + 0.75;
    const double p = kNewPitch;

    // The top: payer's bank, branch, address, the date and the signature.
    f.label(0.1, r0, QStringLiteral("До"), 7);
    f.caption(1.4, r0 + 0.55, QStringLiteral("банка"), true);
    f.hline(1.3, 8.6, r0 + 0.12);
    f.caption(9.0, r0 - 0.05, QStringLiteral("уникален регистрационен номер"), true);
    f.hline(9.0, f.cellsRight(), r0 + 0.12);
    f.label(0.1, r1 - 0.3, QStringLiteral("Клон"), 7);
    f.hline(0.05, 8.6, r1 + 0.12);
    f.caption(9.0, r1 + 0.55, QStringLiteral("дата не представяне"), true);
    f.hline(9.0, 13.0, r1 + 0.12);
    f.label(0.1, r2_ - 0.32, QStringLiteral("Адрес"), 7);
    f.hline(0.05, 8.6, r2_ + 0.12);
    f.caption(10.0, r2_ + 0.55, QStringLiteral("подпис на наредителя"), true);
    f.hline(9.5, f.cellsRight(), r2_ + 0.12);

    f.plain(1.4, r0, o.payerBank);
    f.plain(0.05, r1, o.payerBranch);
    f.plain(9.0, r1, issueDate());
    f.plain(0.2, r2_, o.payerAddress);

    f.caption(row[3], QStringLiteral("Платете на - име на получателя"));
    f.caption(f.cellsRight() - 2.2, row[3] - 0.1, QStringLiteral("Чуждестранно лице"), true);
    f.caption(f.cellsRight() - 2.2, row[3] + 0.08, QStringLiteral("по смисъла на"), true);
    f.caption(f.cellsRight() - 2.2, row[3] + 0.26, QStringLiteral("Валутния закон"), true);
    f.cellRow(row[3], 0, 30);
    f.cellText(row[3], o.payee, 30);

    f.caption(row[4], QStringLiteral("IBAN на получателя"));
    f.caption(row[4], QStringLiteral("BIC на банката на получателя"), 22);
    f.cellRow(row[4]);
    f.cellText(row[4], o.payeeIban.leftJustified(22) + o.payeeBic.rightJustified(13));

    f.caption(row[5], QStringLiteral("При банка - име на банката на получателя"));
    f.caption(row[5], QStringLiteral("Вид плащане"), 29);
    f.cellRow(row[5]);
    f.cellText(row[5], o.payeeBank.leftJustified(29), 29);
    f.cellText(kCellColumn + 29 * p, row[5], o.paymentType.rightJustified(6), 6);

    f.label(0.3, row[6] - 0.3, QStringLiteral("ПЛАТЕЖНО НАРЕЖДАНЕ/ВНОСНА БЕЛЕЖКА"), 8, true);
    f.label(0.3, row[6] + 0.05, QStringLiteral("ЗА ПЛАЩАНЕ OT/КЪМ БЮДЖЕТА"), 8, true);
    f.caption(9.85 + 0.04, row[6], QStringLiteral("Вид валута"), true);
    f.caption(9.85 + 3 * p + 0.04, row[6], QStringLiteral("Сума"), true);
    f.cellRow(row[6], 20, 15);
    f.cellText(9.85, row[6], util::currencyOf(period).code + amountCells(o.amount), 15);

    f.caption(row[7], QStringLiteral("Сума с думи"));
    f.cellRow(row[7]);
    f.cellText(row[7], amountWords(o.amount, period));
    f.caption(row[8], QStringLiteral("Основание за плащане"));
    f.cellRow(row[8]);
    f.cellText(row[8], o.basis);
    f.caption(row[9], QStringLiteral("Още пояснения"));
    f.cellRow(row[9]);
    f.cellText(row[9], o.explanations);

    f.caption(row[10], QStringLiteral("Вид и"));
    f.caption(row[10], QStringLiteral("номер на документ, който се плаща"), 2);
    f.caption(row[10], QStringLiteral("Дата (ддммгггг) на документа"), 27);
    f.cellRow(row[10]);
    f.cellText(row[10], o.documentType.leftJustified(18) + o.documentNumber.rightJustified(17));

    f.caption(row[11], QStringLiteral("Период за който се плаща"));
    f.caption(row[11], QStringLiteral("От дата /ддммгггг/"), 7);
    f.caption(row[11], QStringLiteral("До дата /ддммгггг/"), 27);
    f.cellRow(row[11]);
    f.cellText(row[11], o.periodFrom.rightJustified(15) + o.periodTo.rightJustified(20));

    f.caption(row[12], QStringLiteral("Задължено лице - наименование на юридическо лице или трите имена на физическо лице"));
    f.cellRow(row[12]);
    f.cellText(row[12], o.obliged, 30);

    f.caption(row[13], QStringLiteral("БУЛСТАТ на задълженото лице"));
    f.caption(row[13], QStringLiteral("ЕГН на задълженото лице"), 14);
    f.caption(row[13], QStringLiteral("ЛНЧ на задълженото лице"), 25);
    f.cellRow(row[13]);
    f.cellText(row[13], o.bulstat.leftJustified(14) + o.egn);

    f.caption(row[14], QStringLiteral("Наредител - наименование на юридическото лице или трите имена на физическото лице"));
    f.cellRow(row[14]);
    f.cellText(row[14], o.obliged);

    f.caption(row[15], QStringLiteral("IBAN на наредителя"));
    f.caption(row[15], QStringLiteral("BIC на банката наредителя"), 22);
    f.cellRow(row[15]);
    f.cellText(row[15], o.payerIban.leftJustified(22) + o.payerBic.rightJustified(13));

    const double bottom = row[15] + 0.75;
    f.caption(bottom, QStringLiteral("Платежна система"));
    f.caption(bottom, QStringLiteral("Такси"), 12);
    f.caption(bottom, QStringLiteral("Дата на изпълнение"), 24);
    f.cellRow(bottom);
    f.label(0.3, bottom + 0.6, QStringLiteral("Счетоводител:"), 7);
    f.label(9.0, bottom + 0.6, QStringLiteral("Касиер:"), 7);
    f.frame(bottom + 0.85);
}

void drawOldForm(Form &f, const PaymentOrder &o, const util::Period &period)
{
    const double r0 = 0.6, r1 = r0 + 0.4, r2_ = r1 + 0.4, r3 = r2_ + 0.45;
    double row[17];
    row[4] = r3 + 1.3;
    for (int i = 5; i < 17; ++i)
        row[i] = row[i - 1] + 0.78;
    const double p = kOldPitch;

    f.label(0.1, r0, QStringLiteral("До"), 7);
    f.hline(1.3, 7.2, r0 + 0.1);
    f.caption(1.4, r0 + 0.3, QStringLiteral("банка"), true);
    f.caption(7.4, r0 - 0.05, QStringLiteral("номер и дата на издаване"), true);
    f.hline(7.4, f.cellsRight(), r0 + 0.1);
    f.label(0.1, r1 + 0.1, QStringLiteral("Клон"), 6);
    f.hline(1.3, 7.2, r1 + 0.1);
    f.label(0.1, r2_ + 0.1, QStringLiteral("Адрес"), 6);
    f.hline(1.3, 7.2, r2_ + 0.1);
    f.label(0.1, r3 + 0.1, QStringLiteral("Място на издаване"), 6);
    f.hline(3.2, 7.2, r3 + 0.1);
    f.caption(8.4, r3 + 0.55, QStringLiteral("подписи на наредителя/вносителя"), true);
    f.hline(8.0, f.cellsRight(), r3 + 0.1);

    f.plain(1.4, r0, o.payerBank);
    f.plain(7.4, r0, issueDate());
    f.plain(1.45, r1, o.payerBranch);
    f.plain(1.5, r2_, o.payerAddress);
    f.plain(3.4, r3, o.placeOfIssue);

    f.caption(row[4], QStringLiteral("Платете на - име на получателя"));
    f.cellRow(row[4]);
    f.cellText(row[4], o.payee);

    f.caption(row[5], QStringLiteral("Сметка № на получателя"));
    f.caption(row[5], QStringLiteral("Параграф на НАП"), 10);
    f.caption(row[5], QStringLiteral("БИН на получателя"), 16);
    f.cellRow(row[5]);
    f.cellText(row[5], o.payeeAccount.leftJustified(10) + o.oldCode.leftJustified(6) + o.bin);

    f.caption(row[6], QStringLiteral("Код на банка/клон на получателя"));
    f.caption(row[6], QStringLiteral("При банка - наименование банка/клон на получателя"), 8);
    f.cellRow(row[6]);
    f.cellText(row[6], o.payeeBankCode.leftJustified(8) + o.payeeBank);

    f.label(0.3, row[7] - 0.41, QStringLiteral("ПЛАТЕЖНО НАРЕЖДАНЕ"), 8, true);
    f.label(0.3, row[7] - 0.125, QStringLiteral("(ВНОСНА БЕЛЕЖКА) ЗА"), 8, true);
    f.label(0.3, row[7] + 0.16, QStringLiteral("ПЛАЩАНЕ КЪМ БЮДЖЕТА"), 8, true);
    f.caption(6.4 + 0.04, row[7], QStringLiteral("Вид валута"), true);
    f.caption(6.4 + 3 * p + 0.04, row[7], QStringLiteral("Сума"), true);
    f.cellRow(row[7], 11, 15);
    f.cellText(6.4, row[7], util::currencyOf(period).code + amountCells(o.amount), 15);

    f.caption(row[8], QStringLiteral("Сума с думи"));
    f.cellRow(row[8]);
    f.cellText(row[8], amountWords(o.amount, period));
    f.caption(row[9], QStringLiteral("Основание за плащане/внасяне на данък, такса, осигуровка, мито, лихва ..."));
    f.cellRow(row[9]);
    f.cellText(row[9], o.basis);
    f.caption(row[10], QStringLiteral("Още пояснения"));
    f.cellRow(row[10]);
    f.cellText(row[10], o.explanations);

    f.caption(row[11], QStringLiteral("Вид и"));
    f.caption(row[11], QStringLiteral("номер на документ, който се плаща"), 2);
    f.caption(row[11], QStringLiteral("Дата /ддммгггг/ на документ, който се плаща"), 17);
    f.cellRow(row[11]);
    f.cellText(row[11], o.documentType.leftJustified(18) + o.documentNumber);

    f.caption(row[12], QStringLiteral("Период за който се отнася плащането /ддммгггг/"));
    // After the long caption of the line, over the end of the date.
    f.caption(row[12], QStringLiteral("От дата /ддммгггг/"), 10);
    f.caption(row[12], QStringLiteral("До дата /ддммгггг/"), 18);
    f.cellRow(row[12]);
    f.cellText(row[12], QString(5, QLatin1Char(' ')) + o.periodFrom.leftJustified(13) + o.periodTo);

    f.caption(row[13], QStringLiteral("Задължено лице - наименование на юридическо лице или трите имена на физическо лице"));
    f.cellRow(row[13]);
    f.cellText(row[13], o.obliged);
    f.caption(row[14], QStringLiteral("БУЛСТАТ на задълженото лице"));
    f.caption(row[14], QStringLiteral("ЕГН на задълженото лице"), 14);
    f.cellRow(row[14]);
    f.cellText(row[14], o.bulstat);
    f.caption(row[15], QStringLiteral("Данъчен номер на задълженото лице"));
    f.caption(row[15], QStringLiteral("БИН на наредителя"), 14);
    f.cellRow(row[15]);
    f.cellText(row[15], o.taxNumber);
    f.caption(row[16], QStringLiteral("Сметка № на наредителя"));
    f.caption(row[16], QStringLiteral("Код на банка/клон на наредителя/вносителя"), 17);
    f.cellRow(row[16]);
    f.cellText(row[16], o.payerAccount.leftJustified(18) + o.payerBankCode);

    const double bottom = row[16] + 0.7;
    f.label(0.3, bottom, QStringLiteral("Счетоводител:"), 7);
    f.label(8.0, bottom, QStringLiteral("Касиер:"), 7);
    f.frame(bottom + 0.3);
}

} // namespace

void printPaymentOrder(Canvas &c, const PaymentOrder &order, bool newForm, const util::Period &period, double x, double y)
{
    Form form(c, newForm, x, y);
    if (newForm)
        drawNewForm(form, order, period);
    else
        drawOldForm(form, order, period);
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
    calc::recalculateAll(data, params);
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
    c.onNewPage = [&](Canvas &canvas) {
        host.status(QStringLiteral("Generating page %1").arg(canvas.pageNumber()));
        host.processEvents();
    };
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
    c.onNewPage = [&](Canvas &canvas) {
        host.status(QStringLiteral("Generating page %1").arg(canvas.pageNumber()));
        host.processEvents();
    };
    c.begin();
    const QChar sep = util::Separators::current().date;
    auto day = [&](const QDate &d) { return d.toString(QStringLiteral("dd%1MM%1yyyy").arg(sep)); };
    const QDate first = period.firstDay();
    const QString title = (request.advance ? QStringLiteral("Списък на сумите за платежни аванс към бюджета за периода ")
                                           : QStringLiteral("Списък на сумите за платежни към бюджета за периода "))
                          + day(first) + QStringLiteral(" - ") + day(first.addDays(period.daysInMonth() - 1));
    const double middle = c.pageWidth() / 2;
    c.setBold(true);
    c.textAt(title, middle, 2.0 + 0.35, Justify::Center);
    c.setBold(false);
    c.textAt(QStringLiteral("За фирма ") + company.name, middle, 2.5 + 0.35, Justify::Center);

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
    c.finish();
    return doc;
}

} // namespace plavex::reports
