#include "reports/Payslips.h"

#include "calc/CalcPerson.h"
#include "calc/ItemText.h"
#include "calc/Parameters.h"
#include "items/ItemTypes.h"
#include "items/Items.h"
#include "reference/Rates.h"
#include "reports/CellRow.h"
#include "reports/RunProtocol.h"
#include "reports/SectionLayout.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"
#include "util/Rounding.h"


#include <algorithm>
#include <unordered_map>

namespace plavex::reports {

namespace {

using J = Justify;

// The section's left edge: where every payslip's first stop sits.
constexpr double kLeft = 2.0;
constexpr double kSmallFontSize = 8.0;
constexpr double kGap = 1.0; // between payslips on one page
constexpr int kDescriptionLength = 50;
// From this many payslips on, the month is read ahead in a few statements.
constexpr size_t kPreloadFrom = 50;

QString fixed(double value, int width, int decimals) { return util::fixedNumber(value, width, decimals); }

// The frame around one payslip: its top line where it starts, both edges
// and the bottom line where it ends, closed and opened again when a
// payslip longer than a page turns it.
class Frame {
public:
    Frame(Canvas &c, double width) : c_(c), right_(kLeft + width)
    {
        c_.setPen(Pen{});
        open();
    }

    // Before each row: a row that does not fit goes to the next page.
    void row()
    {
        if (c_.linesLeft() >= 1)
            return;
        close();
        c_.newPage();
        c_.setPen(Pen{});
        open();
    }
    void rule() { c_.line(kLeft, c_.yPos(), right_, c_.yPos()); }
    void close()
    {
        const double y = c_.yPos();
        c_.line(kLeft, top_, kLeft, y);
        c_.line(right_, top_, right_, y);
        c_.line(kLeft, y, right_, y);
    }

private:
    void open()
    {
        top_ = c_.yPos();
        c_.line(kLeft, top_, right_, top_);
    }

    Canvas &c_;
    double right_;
    double top_ = 0;
};

// The cells of the next rows, the first at the payslip's left edge.
void setTabs(Canvas &c, std::initializer_list<Cell> cells) { setCells(c, kLeft, cells); }

// One row inside the frame; `sizes` gives a cell its own font size.
void cells(Canvas &c, Frame &frame, const QStringList &texts, std::vector<double> sizes = {})
{
    frame.row();
    printRow(c, texts, RowFit{false, 0, std::move(sizes), false});
}

QString percent(double rate) { return fixed(rate, 5, 3) + QLatin1Char('%'); }

QStringList guaranteedCells(const Payslip &s)
{
    if (s.guaranteed < 1)
        return {QString(), QString()};
    const double base = s.totals.wcogarant;
    return {QStringLiteral("Гар. вземания: ") + fixed(s.guaranteedRate, 1, 3) + QLatin1Char('%'),
            QStringLiteral("в/у ") + fixed(base, 1, 2) + QLatin1Char('=') + fixed(base * s.guaranteedRate / 100, 6, 2)};
}

void printHeader(Canvas &c, Frame &frame, const Payslip &s, ReportKind kind, const util::Period &period)
{
    const bool one = kind == ReportKind::Payslip1;
    setTabs(c, {{5, J::Left}, {6, J::Left}, {one ? 4.0 : 6.0, J::Right}});
    cells(c, frame, {s.company, bulstatText(s.bulstat), util::currencyOf(period).caption});
    setTabs(c, {{2.5, J::Left}, {7.5, J::Left}, {one ? 5.0 : 7.0, J::Right}});
    cells(c, frame, {QString::number(s.number), s.name, QStringLiteral("ЕГН: ") + s.egn});
    cells(c, frame, {QStringLiteral("Длъжност: "), s.position, QStringLiteral(" ")});
    cells(c, frame,
          {QStringLiteral("Дог. заплата"),
           util::monthName(period.month()) + QLatin1Char(' ') + QString::number(period.year()) + QStringLiteral(": ")
               + fixed(s.totals.zapl, 5, 2),
           QStringLiteral("Тр. стаж: %1 г. %2 м. %3 д.").arg(s.seniorityYears).arg(s.seniorityMonths).arg(s.seniorityDays)});
    frame.rule();
}

void printSignature(Canvas &c, Frame &frame, ReportKind kind)
{
    const double half = kind == ReportKind::Payslip1 ? 7.5 : 8.5;
    setTabs(c, {{half, J::Left}, {half, J::Right}});
    cells(c, frame, {QString(), QString()});
    cells(c, frame, {QStringLiteral("Plavex V1.00"), QStringLiteral("Подпис:................................")},
          {kSmallFontSize, layout::kFontSize});
}

void printType1(Canvas &c, Frame &frame, const Payslip &s)
{
    // Wide enough for a three-digit code and an amount of millions.
    setTabs(c, {{0.9, J::Right}, {5.6, J::Left}, {6.5, J::Right}, {2.0, J::Right}});
    for (const PayslipRow &r : s.rows) {
        const bool total = items::isTotal(r.type);
        cells(c, frame,
              {total ? QString() : QString::number(r.code), total ? QString() : r.name, r.description.trimmed(),
               fixed(r.amount, 5, 2)});
    }

    const calc::Totals &t = s.totals;
    setTabs(c, {{3.75, J::Left}, {3.75, J::Left}, {3.75, J::Left}, {3.75, J::Left}});
    cells(c, frame,
          {QStringLiteral("ФРЗ: ") + fixed(t.sfrz, 6, 2), QStringLiteral("Осиг. доход: ") + fixed(t.wcosuma, 6, 2),
           QStringLiteral("Болн.: ") + fixed(t.sbol, 6, 2), QStringLiteral("Социални: ") + fixed(t.ssoc, 6, 2)});
    const bool before = bornBefore1960(s.egn);
    const double pension = before ? s.pensionRate : s.pensionRate60;
    const QString base32 = fixed(t.wcosuma32, 6, 2);
    QStringList pensionRow{QStringLiteral("ДОО: ") + percent(pension),
                           QStringLiteral("в/у ") + base32 + QStringLiteral(" =   ")
                               + fixed(pension * t.wcosuma32 / 100, 6, 2)};
    if (before)
        pensionRow << QString() << QString();
    else
        pensionRow << QStringLiteral("ДЗПО: ") + percent(s.supplementaryRate)
                   << QStringLiteral("в/у ") + base32 + QLatin1Char('=') + fixed(s.supplementaryRate * t.wcosuma32 / 100, 6, 2);
    cells(c, frame, pensionRow);
    const double social = before ? s.socialRate : s.socialRate60;
    cells(c, frame,
          QStringList{QStringLiteral("ДОО в/у соц. р ") + percent(social),
                      QStringLiteral("в/у ") + fixed(t.wcosoc, 6, 2) + QStringLiteral(" =   ")
                          + fixed(social * t.wcosoc / 100, 6, 2)}
              + guaranteedCells(s));
    // Where the rates carry a health percentage for sick days, the days the
    // institute pays are insured on their own base (ЗЗО art. 40 (1) 5):
    // it joins the sick days' base.
    const double sickBase = s.sickHealthRate > 0 ? t.s6zdr + t.bolnNoi : t.s6zdr;
    cells(c, frame,
          {QStringLiteral("Бази здр. осиг.:"), QStringLiteral("Ос. доход:    ") + fixed(t.szdr, 6, 2),
           QStringLiteral("Болн.: ") + fixed(sickBase, 6, 2), QStringLiteral("Непл.отпуск: ") + fixed(t.szdrn, 6, 2)});
}

void printType2(Canvas &c, Frame &frame, const Payslip &s)
{
    const calc::Totals &t = s.totals;
    // The amounts' cells hold millions and the codes three digits.
    setTabs(c, {{0.85, J::Right}, {6.3, J::Left}, {1.9, J::Right}, {0.85, J::Right}, {5.25, J::Left}, {1.85, J::Right}});
    cells(c, frame,
          {QString(), QStringLiteral("Начисления (осн. запл.") + fixed(t.zapl, 5, 2) + QLatin1Char(')'), QString(), QString(),
           QStringLiteral("Удръжки (обл. сума ") + fixed(t.sobl, 1, 2) + QLatin1Char(')'), QString()});

    // Earnings and deductions are two columns that start at the same
    // height; the totals go under the longer one.
    std::vector<const PayslipRow *> earnings, deductions;
    const PayslipRow *earningsTotal = nullptr, *deductionsTotal = nullptr, *toPay = nullptr;
    for (const PayslipRow &r : s.rows) {
        if (items::isEarning(r.type))
            earnings.push_back(&r);
        else if (items::isDeduction(r.type))
            deductions.push_back(&r);
        else if (r.type == 100)
            earningsTotal = &r;
        else if (r.type == 200)
            deductionsTotal = &r;
        else if (r.type == 201)
            toPay = &r;
    }
    const size_t rows = std::max(earnings.size(), deductions.size());
    for (size_t i = 0; i < rows; ++i) {
        QStringList row;
        if (i < earnings.size())
            row << QString::number(earnings[i]->code) << earningText(*earnings[i]) << fixed(earnings[i]->amount, 1, 2);
        else
            row << QString() << QString() << QString();
        if (i < deductions.size()) {
            const PayslipRow &d = *deductions[i];
            QString name = d.name.trimmed();
            if (d.type == 198)
                name += QLatin1Char(' ') + d.description;
            row << QString::number(d.code) << name << fixed(d.amount, 1, 2);
        }
        cells(c, frame, row);
    }

    if (deductionsTotal || toPay)
        setTabs(c, {{6.35, J::Left}, {3, J::Right}, {0.15, J::Right}, {5.5, J::Left}, {2, J::Right}});
    if (deductionsTotal)
        cells(c, frame,
              {earningsTotal ? earningsTotal->name.trimmed() : QString(),
               earningsTotal ? fixed(earningsTotal->amount, 1, 2) : QString(), QString(), deductionsTotal->name.trimmed(),
               fixed(deductionsTotal->amount, 1, 2)});
    if (toPay)
        cells(c, frame, {toPay->name.trimmed(), fixed(toPay->amount, 1, 2), QString(), QString(), QString()});

    setTabs(c, {{5, J::Left}, {5, J::Left}, {4, J::Left}, {3, J::Left}});
    cells(c, frame,
          {QStringLiteral("ФРЗ: ") + fixed(t.sfrz, 6, 2), QStringLiteral("Осиг. доход: ") + fixed(t.wcosuma, 6, 2),
           QStringLiteral("Болн.: ") + fixed(t.sbol, 6, 2), QStringLiteral("Социални: ") + fixed(t.ssoc, 6, 2)});
    // Type 2 takes the pension fund on the insurable income itself.
    const bool before = bornBefore1960(s.egn);
    const double pension = before ? s.pensionRate : s.pensionRate60;
    QStringList pensionRow{QStringLiteral("ДОО: ") + percent(pension),
                           QStringLiteral("в/у ") + fixed(t.wcosuma, 6, 2) + QStringLiteral(" =   ")
                               + fixed(pension * t.wcosuma / 100, 6, 2)};
    if (before)
        pensionRow << QString() << QString();
    else
        pensionRow << QStringLiteral("ДЗПО: ") + percent(s.supplementaryRate)
                   << QStringLiteral("в/у ") + fixed(t.wcosuma32, 6, 2) + QLatin1Char('=')
                          + fixed(s.supplementaryRate * t.wcosuma32 / 100, 6, 2);
    cells(c, frame, pensionRow);
    cells(c, frame, QStringList{QString(), QStringLiteral("  ")} + guaranteedCells(s));
}

struct Selected {
    int id = 0;
    int number = 0;
    QString name, egn;
    int position = 0;
    int years = 0, months = 0, days = 0;
    int guaranteed = 0;
};

// The active employees of the range, by number.
std::vector<Selected> selectEmployees(storage::DataModule &data, int from, int to)
{
    fb::Statement q(data.transaction(),
                    QStringLiteral("SELECT PERSON_ID, PERSON_NOMER, PERSON_IME, PERSON_EGN, PERSON_DLUV, PERSON_STAV1Y, "
                                   "PERSON_STAV1M, PERSON_STAV1D, PERSON_GARVZ FROM %1 "
                                   "WHERE (PERSON_NOMER>=? AND PERSON_NOMER<=?) AND PERSON_ACT=1 ORDER BY PERSON_NOMER")
                        .arg(data.table(u"PERSONS")));
    q.bindAll({from, to});
    q.execute();
    std::vector<Selected> list;
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)), q.toText(2).trimmed(),
                        q.toText(3).trimmed(), static_cast<int>(q.toInt(4)), static_cast<int>(q.toInt(5)),
                        static_cast<int>(q.toInt(6)), static_cast<int>(q.toInt(7)), static_cast<int>(q.toInt(8))});
    return list;
}

const items::Definition *definitionOf(const std::vector<items::Definition> &definitions, int code)
{
    for (const items::Definition &d : definitions)
        if (d.code == code)
            return &d;
    return nullptr;
}

// The currency sign after an amount (a blank before it, a blank or the end
// after it) taken out, its blank before kept.
QString withoutSign(QString text, const QString &sign)
{
    if (sign.isEmpty())
        return text;
    const QString mark = QLatin1Char(' ') + sign;
    qsizetype at = 0;
    while ((at = text.indexOf(mark, at)) >= 0) {
        const qsizetype after = at + mark.size();
        if (after == text.size() || text.at(after) == QLatin1Char(' '))
            text.remove(at + 1, sign.size());
        else
            at = after;
    }
    return text;
}

// makefish1: the buffer of one employee from the calculation just made.
Payslip makePayslip(const calc::Parameters &params, const Selected &e,
                    const calc::Calculation &calculation, const util::Period &period)
{
    Payslip s;
    s.company = params.company.name;
    s.bulstat = params.company.bulstat.trimmed();
    s.number = e.number;
    s.name = e.name;
    s.egn = e.egn;
    for (const reference::Position &p : params.positions)
        if (p.code == e.position) {
            s.position = p.name.trimmed();
            break;
        }
    s.seniorityYears = e.years;
    s.seniorityMonths = e.months;
    s.seniorityDays = e.days;
    s.guaranteed = e.guaranteed;
    s.totals = calculation.totals;
    if (const reference::NoiType *rate =
            reference::findRate(params.rates, calculation.employee.insuranceType, calculation.employee.insuranceVariant)) {
        s.pensionRate = rate->percent(u"NOI_PROC_FI");
        s.socialRate = rate->percent(u"NOI_SOC_FI");
        s.pensionRate60 = rate->percent(u"NOI_PROC_FI60");
        s.supplementaryRate = rate->percent(u"NOI_DZPO_FI60");
        s.socialRate60 = rate->percent(u"NOI_SOC_FI60");
        s.sickHealthRate = rate->percent(u"NOI_ZD_BOLN");
    }
    s.guaranteedRate = params.company.guaranteedPercent;
    const QChar separator = u'.';
    const QString sign = util::currencyOf(period).sign;
    // The calculation's items as it stored them, in type and code order.
    std::vector<const items::ItemRecord *> printed;
    for (const items::ItemRecord &item : calculation.items)
        if (items::printsOnPayslip(item))
            printed.push_back(&item);
    std::stable_sort(printed.begin(), printed.end(), [](const items::ItemRecord *a, const items::ItemRecord *b) {
        return a->type != b->type ? a->type < b->type : a->code < b->code;
    });
    for (const items::ItemRecord *p : printed) {
        const items::ItemRecord &item = *p;
        PayslipRow r;
        r.code = item.code;
        r.type = item.type;
        r.amount = util::roundHalfEven(item.amount, 2);
        // The heading says the currency once: no amount of the slip carries its own sign.
        r.description = withoutSign(calc::itemDescription(item, params.definitions, s.totals, calculation.employee.paySystem,
                                                          period, separator),
                                    sign)
                            .left(kDescriptionLength);
        if (const items::Definition *d = definitionOf(params.definitions, item.code))
            r.name = d->name.left(kDescriptionLength);
        s.rows.push_back(std::move(r));
    }
    return s;
}

} // namespace

bool bornBefore1960(const QString &egn) { return reference::bornBefore1960(egn); }

// The engine's own page: A4 portrait, 1 cm margins, one copy, preview at 150 %.
PageSetup payslipPageSetup() { return PageSetup{}; }

QString earningText(const PayslipRow &row)
{
    const int t = row.type;
    const int tail = t == 1 ? 8 : ((t >= 11 && t <= 15) || (t >= 20 && t <= 28)) ? 7 : 10;
    // The cut never falls inside a number or a word: "1420.00 лв" stays whole.
    const QString &d = row.description;
    qsizetype start = std::max<qsizetype>(0, d.size() - tail);
    while (start > 0 && !d[start - 1].isSpace() && !d[start].isSpace())
        --start;
    return row.name.trimmed() + QLatin1Char(' ') + d.mid(start);
}

int payslipLines(const Payslip &slip, ReportKind kind)
{
    const int rows = static_cast<int>(slip.rows.size());
    // Company, employee (3), bases and the signature (2) around the items.
    if (kind == ReportKind::Payslip1)
        return 1 + 3 + rows + 4 + 2;
    int earnings = 0, deductions = 0, totals = 0;
    for (const PayslipRow &r : slip.rows) {
        earnings += items::isEarning(r.type);
        deductions += items::isDeduction(r.type);
        totals += r.type == 200 || r.type == 201;
    }
    return 1 + 3 + 1 + std::max(earnings, deductions) + totals + 2 + 2;
}

void printPayslip(Canvas &c, const Payslip &slip, ReportKind kind, const util::Period &period)
{
    const bool one = kind == ReportKind::Payslip1;
    Frame frame(c, one ? 15.0 : 17.0);
    printHeader(c, frame, slip, kind, period);
    if (one)
        printType1(c, frame, slip);
    else
        printType2(c, frame, slip);
    printSignature(c, frame, kind);
    frame.close();
}

Document buildPayslips(storage::DataModule &data, const ReportRequest &request, ReportHost &host, QStringList *errors)
{
    const ReportKind kind = request.kind;
    const util::Period period = data.period();
    // The figures are computed whatever the autocalc switch says: a payslip
    // prints fresh figures, never the zeros of a calculation switched off.
    calc::Parameters params;
    params.reloadAll(data);
    calc::PersonCalculator calculator(data, params);
    calculator.autocalc = true;
    // Taken once: a month another copy is writing stops the run here
    // rather than failing every payslip in turn.
    data.lockPeriod();
    const std::vector<Selected> employees = selectEmployees(data, request.fromNumber, request.toNumber);
    // Many payslips are calculated as a recalculation of everyone is: the
    // month read in a few statements, not a few for each employee.
    std::unordered_map<int, calc::Employee> preloaded;
    if (employees.size() >= kPreloadFrom) {
        calculator.preload();
        for (calc::Employee &e : calculator.employees())
            preloaded.emplace(e.id, std::move(e));
    }
    auto calculated = [&](int id) {
        const auto found = preloaded.find(id);
        return found == preloaded.end() ? calculator.calculate(id) : calculator.calculate(found->second);
    };

    Document doc;
    doc.title = QString::fromUtf8(kindInfo(kind).caption);
    doc.setup = payslipPageSetup();
    Canvas c(doc);
    layout::setSectionMargins(c, doc.setup);
    c.setFontSize(layout::kFontSize);
    // The 8-point cell of the signature row sits in the same line.
    c.setLineHeight(layout::lineHeight());
    c.onNewPage = [&](Canvas &canvas) { announcePage(canvas, host); };
    c.begin();

    auto unit = [&](Canvas &canvas, int i) {
        const Selected &e = employees[static_cast<size_t>(i)];
        // Made in full before anything is drawn: a failing employee leaves no half payslip.
        const Payslip slip = makePayslip(params, e, calculated(e.id), period);
        const bool top = canvas.yPos() <= canvas.marginTop() + 1e-9;
        if (i > 0 && !top) {
            if (request.newPagePerSlip)
                canvas.newPage();
            else
                canvas.setYPos(canvas.yPos() + kGap);
        }
        canvas.setFontSize(layout::kFontSize);
        const int needed = std::max(static_cast<int>(slip.rows.size()) + 9, payslipLines(slip, kind));
        if (!request.newPagePerSlip && canvas.linesLeft() < needed && canvas.yPos() > canvas.marginTop() + 1e-9)
            canvas.newPage();
        canvas.gotoXY(kLeft, canvas.yPos());
        printPayslip(canvas, slip, kind, period);
    };
    // The recalculated months are kept, as recalculating everyone keeps
    // them, also when the run is cancelled half way (a page turn included).
    bool done = false;
    try {
        done = printRows(c, static_cast<int>(employees.size()), unit, host, errors);
    } catch (const RunAborted &) {
        data.commitRetaining();
        throw;
    }
    data.commitRetaining();
    if (!done)
        throw RunAborted{};
    c.finish();
    return doc;
}

} // namespace plavex::reports
