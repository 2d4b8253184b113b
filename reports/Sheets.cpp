#include "reports/Sheets.h"

#include "calc/Parameters.h"
#include "reference/Rates.h"
#include "reports/CellRow.h"
#include "reports/RunProtocol.h"
#include "reports/SectionLayout.h"
#include "reports/engine/Canvas.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/DateText.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"

#include <QDate>

#include <cmath>
#include <stdexcept>

namespace plavex::reports {

namespace {

using J = Justify;
using declarations::AgeGroup;

constexpr quint8 kSides = BoxLeft | BoxRight;

QString money(double v) { return util::fixedNumber(v, 2, 2); }
QString money7(double v) { return util::fixedNumber(v, 7, 2); }

QString sheetDate(const QDate &d) { return util::documentDate(d); }

QString signatureLine(bool manager)
{
    return manager ? QStringLiteral("Управител/Председател:....................")
                   : QStringLiteral("Гл. счетоводител:....................");
}

struct SheetContext {
    QString company, accountant, director;
    QString currency; // "Суми в лева"
    QString title; // the underlined caption of the header
    double left = 0;
};

// The company box and the caption with the page: on each unit's first page
// and on every page a unit goes on to.
void printHeader(Canvas &c, const SheetContext &s)
{
    c.setFontSize(layout::kFontSize);
    c.setLineHeight(layout::lineHeight());
    setCells(c, s.left, {{14.5, J::Left, BoxLeft | BoxTop}, {3, J::Right, BoxRight | BoxTop}});
    printRow(c, {s.company, s.currency});
    setCells(c, s.left, {{14.5, J::Left, BoxLeft | BoxBottom}, {3, J::Right, BoxRight | BoxBottom}});
    printRow(c, {s.title, pageOfText(c)});
    c.newLine();
}

struct Column {
    double width;
    Justify justify;
    const char *heading;
};

// A unit's table: the heading row, rows of double height with room for the
// signature, a page turn that closes the table and opens it again under the
// header, and the unit's totals under the last row.
class UnitTable {
public:
    UnitTable(Canvas &c, const SheetContext &s, std::vector<Column> columns) : c_(c), s_(s), columns_(std::move(columns)) {}

    void heading()
    {
        c_.setLineHeight(layout::lineHeight());
        setStops(BoxAll, true);
        QStringList texts;
        for (const Column &col : columns_)
            texts << QString::fromUtf8(col.heading);
        printRow(c_, texts);
    }
    void row(const QStringList &texts, bool last)
    {
        // The last row keeps its unit's totals with it.
        if (c_.linesLeft() < 2 + (last ? 1 : 0))
            turnPage();
        c_.setLineHeight(2 * layout::lineHeight());
        setStops(kSides, false);
        // The texts a little above the row's foot, clear of the line under the last row.
        printRow(c_, texts, true, layout::lineHeight() + 0.2);
        c_.setLineHeight(layout::lineHeight());
    }
    double right() const
    {
        double r = s_.left;
        for (const Column &col : columns_)
            r += col.width;
        return r;
    }

private:
    void setStops(quint8 boxes, bool centred)
    {
        c_.clearTabs();
        bool first = true;
        for (const Column &col : columns_) {
            c_.setTab(first ? s_.left : -1, centred ? J::Center : col.justify, col.width, kRowCellMargin, boxes);
            first = false;
        }
    }
    void turnPage()
    {
        c_.line(s_.left, c_.yPos(), right(), c_.yPos());
        c_.newPage();
        printHeader(c_, s_);
        heading();
    }

    Canvas &c_;
    const SheetContext &s_;
    std::vector<Column> columns_;
};

// Turns the page (with the header) when fewer than `lines` are left.
void keepLines(Canvas &c, const SheetContext &s, int lines)
{
    if (c.linesLeft() >= lines)
        return;
    c.newPage();
    printHeader(c, s);
}

void printSignatures(Canvas &c, const SheetContext &s, double firstWidth, double secondWidth)
{
    keepLines(c, s, 3 + static_cast<int>(1.0 / layout::lineHeight()) + 1);
    c.setYPos(c.yPos() + 1.0);
    setCells(c, s.left, {{firstWidth, J::Left}, {secondWidth, J::Left}});
    printRow(c, {signatureLine(false), signatureLine(true)});
    setCells(c, s.left, {{firstWidth, J::Center}, {secondWidth, J::Center}});
    printRow(c, {QStringLiteral(" /") + s.accountant + QStringLiteral(" /"), QStringLiteral(" / ") + s.director + QStringLiteral(" /")});
}

SheetContext contextOf(const calc::Parameters &params, const QString &title, const util::Period &money, const Canvas &c)
{
    return {employerText(params.company.name, params.company.bulstat), params.company.chiefAccountant.trimmed(),
            params.company.director.trimmed(), util::currencyOf(money).caption, title, c.marginLeft()};
}

void startCanvas(Canvas &c, Document &doc, ReportHost &host)
{
    layout::setSectionMargins(c, doc.setup);
    c.setFontSize(layout::kFontSize);
    c.setLineHeight(layout::lineHeight());
    c.setPen(Pen{});
    c.onNewPage = [&host](Canvas &canvas) { announcePage(canvas, host); };
    c.begin();
}

// Before a unit's first page: a new page unless nothing is printed yet.
void unitPage(Canvas &c, const SheetContext &s, bool &printed)
{
    if (printed)
        c.newPage();
    printed = true;
    printHeader(c, s);
}

bool owes(double toPay) { return std::llround(toPay * 100.0) < 0; }

const char *const kOrderedUnits = "select distinct person_zveno from %1 where person_act=1 group by person_zveno";

} // namespace

std::vector<AdvanceItem> advanceItems(storage::DataModule &data)
{
    std::vector<AdvanceItem> list;
    fb::Statement q(data.transaction(), QStringLiteral("select PERODEFS_COD,PERODEFS_IME FROM %1 WHERE PERODEFS_TYP=142")
                                            .arg(data.table(u"PERADEFS")));
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), q.toText(1).trimmed()});
    return list;
}

util::Period advancePeriod(const util::Period &period, int monthIndex) { return monthIndex == 1 ? period.next() : period; }

QStringList advanceMonths(const util::Period &period)
{
    QStringList list;
    for (const util::Period &p : {period, period.next()})
        list << util::monthName(p.month()) + QLatin1Char(' ') + QString::number(p.year()) + QStringLiteral("г.");
    return list;
}

QString checkAdvanceItem(const QString &itemText)
{
    bool ok = false;
    const int code = itemText.trimmed().toInt(&ok);
    if (!ok || code <= 0)
        return QStringLiteral("Няма избрано перо аванс. Дефинирайте перо от тип 142 (\"Редовен аванс\") и опитайте отново.");
    return {};
}

std::vector<int> sheetUnits(storage::DataModule &data)
{
    std::vector<int> units;
    fb::Statement q(data.transaction(), QString::fromLatin1(kOrderedUnits).arg(data.table(u"PERSONS")));
    while (q.next())
        units.push_back(static_cast<int>(q.toInt(0)));
    return units;
}

QString unitName(storage::DataModule &data, int unit)
{
    return fb::Statement::scalar(data.transaction(),
                                 QStringLiteral("select ZVENO_IME from %1 where ZVENO_COD=?").arg(data.table(u"ZVENA")), {unit})
        .toString()
        .trimmed();
}

std::vector<PaySheetRow> paySheetRows(storage::DataModule &data, int unit)
{
    const QString pera = data.table(u"PERA");
    fb::Statement q(data.transaction(),
                    QStringLiteral("select pers.person_zveno,pers.person_nomer,pers.person_ime,pero1.pero_suma,pero2.pero_suma,"
                                   "pero3.pero_suma from %1 pers"
                                   " left join %2 pero1 on pero1.pero_personid=pers.person_id"
                                   " left join %2 pero2 on pero2.pero_personid=pers.person_id"
                                   " left join %2 pero3 on pero3.pero_personid=pers.person_id"
                                   " where (pers.person_zveno=?) and (pers.person_act=1) and ((pero1.pero_type=100) and "
                                   "(pero2.pero_type=200) and  (pero3.pero_type=201)) order by pers.person_nomer")
                        .arg(data.table(u"PERSONS"), pera));
    q.bind(0, unit);
    std::vector<PaySheetRow> rows;
    while (q.next())
        rows.push_back({static_cast<int>(q.toInt(1)), q.toText(2).trimmed(), q.toDouble(3), q.toDouble(4), q.toDouble(5)});
    return rows;
}

std::vector<AdvanceSheetRow> advanceSheetRows(storage::DataModule &data, int unit, int itemCode, int monthIndex)
{
    const QString column = monthIndex == 1 ? QStringLiteral("pero_suma2") : QStringLiteral("pero_suma1");
    fb::Statement q(data.transaction(),
                    QStringLiteral("select pers.person_zveno,pers.person_nomer,pers.person_ime,pero1.pero_cod,pero1.%3 pero_suma "
                                   "from %1 pers left join %2 pero1 on pero1.pero_personid=pers.person_id"
                                   " where (pers.person_zveno=?) and (pers.person_act=1) and (pero1.pero_cod=?) and "
                                   "(pero1.%3<>0) order by pers.person_nomer")
                        .arg(data.table(u"PERSONS"), data.table(u"PERA"), column));
    q.bindAll({unit, itemCode});
    std::vector<AdvanceSheetRow> rows;
    while (q.next())
        rows.push_back({static_cast<int>(q.toInt(1)), q.toText(2).trimmed(), static_cast<int>(q.toInt(3)), q.toDouble(4)});
    return rows;
}

double advanceSum(storage::DataModule &data, const declarations::InsurancePair &pair, AgeGroup group, int itemCode,
                  int monthIndex, const std::function<double(double)> &each)
{
    const QString column = monthIndex == 1 ? QStringLiteral("PERO_SUMA2") : QStringLiteral("PERO_SUMA1");
    QVariantList values;
    const QString condition = declarations::pairCondition(pair, group, std::nullopt, values);
    values << itemCode;
    const QString from = QStringLiteral(" FROM %2 WHERE PERO_PERSONID IN (SELECT PERSON_ID FROM %3 WHERE PERSON_ACT=1 AND %4) "
                                        "AND PERO_COD=? AND %1<>0")
                             .arg(column, data.table(u"PERA"), data.table(u"PERSONS"), condition);
    if (!each)
        return fb::Statement::scalar(data.transaction(), QStringLiteral("SELECT SUM(%1)").arg(column) + from, values).toDouble();
    // Each amount on its own, as the sheet's rows print them.
    fb::Statement q(data.transaction(), QStringLiteral("SELECT %1").arg(column) + from);
    q.bindAll(values);
    q.execute();
    double sum = 0;
    while (q.next())
        sum += each(q.toDouble(0));
    return sum;
}

PageSetup sheetPageSetup() { return PageSetup{}; }

Document buildPaySheet(storage::DataModule &data, const ReportRequest &, ReportHost &host)
{
    recalculateForReport(data, host);
    calc::Parameters params;
    params.reloadAll(data);
    const util::Period period = data.period();

    Document doc;
    doc.title = QStringLiteral("Ведомост по звена");
    doc.setup = sheetPageSetup();
    Canvas c(doc);
    startCanvas(c, doc, host);
    const SheetContext s = contextOf(params,
                                     QStringLiteral("Ведомост заплати за месец  ") + monthCaption(period.month(), period.year())
                                         + QStringLiteral("г. ") + QStringLiteral(" - дата ") + sheetDate(QDate::currentDate()),
                                     period, c);
    // The amounts' columns hold the company's totals at the body's size.
    const std::vector<Column> columns{{1.5, J::Right, "Номер"},      {7.6, J::Left, "Име"},
                                      {2.2, J::Right, "Начисления"}, {2.2, J::Right, "Удръжки"},
                                      {2.0, J::Right, "Сума"},       {2.0, J::Center, "Подпис"}};
    const std::initializer_list<Cell> totalCells{{9.1, J::Left, BoxAll}, {2.2, J::Right, BoxAll}, {2.2, J::Right, BoxAll},
                                                 {2.0, J::Right, BoxAll}, {2.0, J::Right, BoxAll}};
    double earnings = 0, deductions = 0, toPay = 0;
    bool printed = false;
    for (int unit : sheetUnits(data)) {
        const std::vector<PaySheetRow> rows = paySheetRows(data, unit);
        if (rows.empty())
            continue;
        unitPage(c, s, printed);
        UnitTable table(c, s, columns);
        table.heading();
        double e = 0, d = 0, p = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            const PaySheetRow &r = rows[i];
            // Who is owed nothing but owes signs for no sum: the row says what is owed.
            table.row({QString::number(r.number), r.name, money(r.earnings), money(r.deductions), money(r.toPay),
                       owes(r.toPay) ? QStringLiteral("дължи ") + money(-r.toPay) : QStringLiteral("..................")},
                      i + 1 == rows.size());
            e += r.earnings;
            d += r.deductions;
            p += r.toPay;
        }
        setCells(c, s.left, totalCells);
        printRow(c, {QStringLiteral("Общо за звено ") + unitName(data, unit), money(e), money(d), money(p), QString()});
        earnings += e;
        deductions += d;
        toPay += p;
    }
    // The company's totals close the sheet whichever unit printed last; a
    // month with nobody to pay still shows its (zero) totals.
    if (!printed)
        unitPage(c, s, printed);
    keepLines(c, s, 1);
    setCells(c, s.left, totalCells);
    printRow(c, {QStringLiteral("Общо "), money(earnings), money(deductions), money(toPay), QString()});
    printSignatures(c, s, 8.5, 8.5);
    c.finish();
    return doc;
}

Document buildAdvanceSheet(storage::DataModule &data, const ReportRequest &request, ReportHost &host)
{
    const QString why = checkAdvanceItem(request.itemText.isEmpty() ? QString::number(request.itemCode) : request.itemText);
    if (!why.isEmpty())
        throw std::runtime_error(why.toStdString());
    const int code = request.itemText.isEmpty() ? request.itemCode : request.itemText.trimmed().toInt();
    const int month = request.advanceMonth == 1 ? 1 : 0;
    recalculateForReport(data, host);
    calc::Parameters params;
    params.reloadAll(data);
    const util::Period paid = advancePeriod(data.period(), month);

    Document doc;
    doc.title = QStringLiteral("Ведомост аванс");
    doc.setup = sheetPageSetup();
    Canvas c(doc);
    startCanvas(c, doc, host);
    const SheetContext s = contextOf(params,
                                     QStringLiteral("Ведомост аванс за месец  ") + monthCaption(paid.month(), paid.year())
                                         + QStringLiteral("г. ") + QStringLiteral(" - дата ") + sheetDate(QDate::currentDate()),
                                     paid, c);
    // The next month's advance is paid in that month's currency: leva of
    // December paid in January are euro, by the rule of pay.
    const bool toEuro = util::levaIntoEuro(data.period(), paid);
    auto inPaidMoney = [toEuro](double v) { return toEuro ? util::euroRoundingUp(v) : v; };
    const std::vector<Column> columns{{1.5, J::Right, "Номер"}, {10, J::Left, "Име"}, {2, J::Right, "Перо"},
                                      {2, J::Right, "Сума"}, {2, J::Center, "Подпис"}};
    double company = 0;
    bool printed = false;
    for (int unit : sheetUnits(data)) {
        const std::vector<AdvanceSheetRow> rows = advanceSheetRows(data, unit, code, month);
        if (rows.empty())
            continue;
        unitPage(c, s, printed);
        UnitTable table(c, s, columns);
        table.heading();
        double total = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            const AdvanceSheetRow &r = rows[i];
            const double amount = inPaidMoney(r.amount);
            table.row({QString::number(r.number), r.name, QString::number(r.code), money(amount),
                       QStringLiteral("................")},
                      i + 1 == rows.size());
            total += amount;
        }
        setCells(c, s.left, {{11.5, J::Left, BoxAll}, {2, J::Right, BoxAll}, {2, J::Right, BoxAll}, {2, J::Right, BoxAll}});
        printRow(c, {QStringLiteral("Общо за звено ") + unitName(data, unit), QString(), money(total), QString()});
        company += total;
    }

    // The company page, on a page of its own.
    unitPage(c, s, printed);
    setCells(c, s.left, {{11.5, J::Left, BoxTop}, {2, J::Right, BoxTop}, {2, J::Right, BoxTop}, {2, J::Right, BoxTop}});
    printRow(c, {});
    setCells(c, s.left, {{11.5, J::Left}, {2, J::Right}, {2, J::Right}, {2, J::Right}});
    printRow(c, {QStringLiteral("Общо за фирмата"), QString(), money(company), QString()});
    c.newLine();

    // Every line of the contributions keeps to the page; a full page goes on under the header.
    auto line = [&](const QStringList &texts) {
        keepLines(c, s, 1);
        printRow(c, texts);
    };
    auto caption = [&](const QString &text) {
        setCells(c, s.left, {{11, J::Left}});
        line({text});
    };
    auto empty = [&] { line({}); };
    const double accident = params.company.accidentPercent;
    auto contribution = [&](const char *label, double rate, double base) {
        setCells(c, s.left, {{3.0, J::Left}, {2, J::Right}, {2.0, J::Left}, {2, J::Right}, {2, J::Right}});
        line({QString::fromUtf8(label), util::fixedNumber(rate, 7, 3), QStringLiteral("% върху"),
              QStringLiteral("( ") + money7(base) + QStringLiteral(" )"), money7(rate * base / 100)});
    };
    const auto rates = reference::loadRates(data);
    for (const declarations::InsurancePair &pair : declarations::insurancePairs(data)) {
        const reference::NoiType *rate = declarations::pairRate(rates, pair);
        if (!rate)
            continue;
        auto pct = [&](const char *column) { return rate->percent(QString::fromLatin1(column)); };
        const std::function<double(double)> each = toEuro ? std::function<double(double)>(inPaidMoney) : nullptr;
        const double before = advanceSum(data, pair, AgeGroup::Before1960, code, month, each);
        const double after = advanceSum(data, pair, AgeGroup::After1959, code, month, each);
        // Which insurance type the block is for, when the company has more than one.
        caption(QString::number(rate->type).rightJustified(2, QLatin1Char('0')) + QLatin1Char(' ') + rate->name);
        caption(QStringLiteral("Осигуровки върху аванса на родените до 01.01.1960 г."));
        empty();
        const double total = pct("NOI_PENSI_FI") + pct("NOI_ZAB_FI") + pct("NOI_PKB_FI");
        contribution("ДОО пенсия", pct("NOI_PENSI_FI"), before);
        contribution("ДОО ОЗиМ", pct("NOI_ZAB_FI"), before);
        contribution("ПКБ", pct("NOI_PKB_FI"), before);
        contribution("ДОО общо", total, before);
        contribution("ДОО ТЗ", accident, before);
        contribution("ЗДРО", pct("NOI_ZDR"), before);
        empty();
        caption(QStringLiteral("Осигуровки върху аванса на родените след 31.12.1959 г."));
        empty();
        const double total60 = pct("NOI_PENSI_FI60") + pct("NOI_ZAB_FI60") + pct("NOI_PKB_FI60");
        contribution("ДОО пенсия", pct("NOI_PENSI_FI60"), after);
        contribution("ДОО ОЗиМ", pct("NOI_ZAB_FI60"), after);
        contribution("ПКБ", pct("NOI_PKB_FI60"), after);
        contribution("ДОО общо", total60, after);
        contribution("ДОО ТЗ", accident, after);
        contribution("ДЗПО", pct("NOI_DZPO_FI60"), after);
        contribution("ЗДРО", pct("NOI_ZDR"), after);
        empty();
        contribution("Гарант. вземания", pct("NOI_GRVZ"), before + after);
        empty();
    }
    printSignatures(c, s, 9, 8.5);
    c.finish();
    return doc;
}

} // namespace plavex::reports
