#include "reports/SickSlip.h"

#include "calc/CalcPerson.h"
#include "calc/LawOfMonth.h"
#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "reports/CellRow.h"
#include "reports/RunProtocol.h"
#include "reports/engine/Canvas.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/DateText.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>

namespace plavex::reports {

namespace {

using J = Justify;

// Numbers sit right-aligned in their cells: the width of the figures only.
QString fx(double v, int w, int d) { return util::fixedNumber(v, w, d).trimmed(); }
QString days3(double v) { return util::fixedNumber(v, 3, 0).trimmed(); }

struct PendingItem {
    int itemId = 0;
    int personId = 0;
};

std::vector<PendingItem> sicknessItems(storage::DataModule &data)
{
    std::vector<PendingItem> list;
    fb::Statement q(data.transaction(),
                    QStringLiteral("SELECT PERO_PEROID, PERO_PERSONID FROM %1 WHERE PERO_TYPE IN  (20,21,22,23,24,25,26,27,28) "
                                   "ORDER BY PERO_PERSONID, PERO_PEROID")
                        .arg(data.table(u"PERA")));
    q.execute();
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1))});
    return list;
}

// The calculation of each slip's employee, made once per employee.
class SlipMaker {
public:
    SlipMaker(storage::DataModule &data, ReportHost &host) : data_(data)
    {
        params_.reloadAll(data);
        recalculateForReport(data, params_, host);
        data.lockPeriod();
        calculator_ = std::make_unique<calc::PersonCalculator>(data, params_);
        calculator_->autocalc = true;
    }

    SickSlip make(const PendingItem &pending)
    {
        auto found = calculations_.find(pending.personId);
        if (found == calculations_.end())
            found = calculations_.emplace(pending.personId, calculator_->calculate(pending.personId)).first;
        const calc::Calculation &calculation = found->second;
        const items::ItemRecord *item = nullptr;
        for (const items::ItemRecord &it : calculation.items)
            if (it.id == pending.itemId)
                item = &it;
        const auto average = calculation.sickAverages.find(pending.itemId);
        if (!item || average == calculation.sickAverages.end())
            throw std::runtime_error("перо " + std::to_string(pending.itemId) + " не е намерено");

        SickSlip s;
        fb::Statement q(data_.transaction(), QStringLiteral("SELECT PERSON_NOMER, PERSON_IME, PERSON_STAV1Y, PERSON_STAV1M, "
                                                            "PERSON_STAV1D FROM %1 WHERE PERSON_ID=?")
                                                 .arg(data_.table(u"PERSONS")));
        q.bind(0, pending.personId);
        q.execute();
        if (q.next()) {
            s.number = static_cast<int>(q.toInt(0));
            s.company = employerText(params_.company.name, params_.company.bulstat);
            s.name = q.toText(1).trimmed();
            s.years = static_cast<int>(q.toInt(2));
            s.months = static_cast<int>(q.toInt(3));
            s.days = static_cast<int>(q.toInt(4));
        }
        for (const reference::Position &p : params_.positions)
            if (p.code == calculation.employee.position)
                s.position = p.name.trimmed();
        // The slip's own employee's latest month, not whoever the main window shows.
        s.baseSalary = calculation.totals.zapl;
        s.type = item->type;
        for (const items::Definition &d : params_.definitions)
            if (d.code == item->code) {
                s.itemName = d.name.trimmed();
                break;
            }
        s.begin = item->hasBegin() ? item->begin : QDate();
        s.end = item->hasEnd() ? item->end : QDate();
        s.itemDays = item->d;
        const auto fund = calculation.fundAverages.find(pending.itemId);
        s.fundRule2015 = fund != calculation.fundAverages.end();
        if (!item->beginPacked.isEmpty())
            s.history = slipHistory(data_, pending.personId,
                                    util::Period(item->beginPacked.year + 1900, item->beginPacked.month),
                                    s.fundRule2015 ? calc::kFundBenefitMonths : 6);
        if (const auto paid = calculation.employerSick.find(pending.itemId);
            paid != calculation.employerSick.end() && !paid->second.olderRule())
            s.employer = paid->second;
        if (s.fundRule2015)
            s.benefit = fundSlipBenefit(item->type, item->d, fund->second.daily, fund->second.net);
        else
            s.benefit = slipBenefit(item->type, item->d, average->second.benefit, average->second.net);
        return s;
    }

private:
    storage::DataModule &data_;
    calc::Parameters params_;
    std::unique_ptr<calc::PersonCalculator> calculator_;
    std::map<int, calc::Calculation> calculations_;
};

} // namespace

SlipBenefit slipBenefit(int type, int days, double basis, double dailyNet)
{
    SlipBenefit b;
    b.rate = (type == 21 || type == 23) ? 0.9 : type == 26 ? 0.8 : 1.0;
    b.daily = days != 0 ? basis / days : basis;
    b.net = dailyNet;
    b.benefit = b.rate * basis;
    const double capped = days * dailyNet;
    if (type != 21 && capped > 0.01 && capped < b.benefit)
        b.benefit = capped;
    return b;
}

SlipBenefit fundSlipBenefit(int type, int days, double daily, double dailyNet)
{
    SlipBenefit b;
    b.rate = calc::fundBenefitRate(type);
    b.daily = daily;
    b.net = dailyNet;
    const double perDay = dailyNet > 0.01 ? std::min(b.rate * daily, dailyNet) : b.rate * daily;
    b.benefit = perDay * days;
    return b;
}

std::vector<SlipMonth> slipHistory(storage::DataModule &data, int personId, const util::Period &began, int months)
{
    util::Period first = began;
    for (int i = 0; i < months; ++i)
        first = first.previous();
    const util::Period last = began.previous();
    QString window;
    QVariantList values{personId};
    if (first.year() + 1 < last.year()) {
        window = QStringLiteral(" AND PERSDATA_GOD*12+PERSDATA_MES>=? AND PERSDATA_GOD*12+PERSDATA_MES<=?");
        values << first.year() * 12 + first.month() << last.year() * 12 + last.month();
    } else if (first.year() == last.year()) {
        window = QStringLiteral(" AND PERSDATA_GOD=? AND PERSDATA_MES>=? AND PERSDATA_MES<=?");
        values << first.year() << first.month() << last.month();
    } else {
        window = QStringLiteral(" AND ( ((PERSDATA_GOD=? ) AND ( PERSDATA_MES>=? ))  OR ((PERSDATA_GOD=? ) AND ( PERSDATA_MES<=?) ))");
        values << first.year() << first.month() << last.year() << last.month();
    }
    fb::Statement q(data.transaction(),
                    QStringLiteral("select PERSDATA_GOD, PERSDATA_MES, PERSDATA_RABDNI, PERSDATA_BDOO, PERSDATA_ONPL, "
                                   "PERSDATA_DBOL, PERSDATA_SBOL, PERSDATA_WSDOOLI, PERSDATA_SUDZPO, PERSDATA_SUPKB, "
                                   "PERSDATA_SUZDR, PERSDATA_SUSOCR, PERSDATA_SDOD, PERSDATA_SFRZ, PERSDATA_SDNI, PERSDATA_ODOO "
                                   "from %1 WHERE PERSDATA_PERSONID=?%2 ORDER BY PERSDATA_GOD,PERSDATA_MES DESC")
                        .arg(data.table(u"PERSDATA"), window));
    q.bindAll(values);
    q.execute();
    std::vector<SlipMonth> rows;
    while (q.next()) {
        const util::Period month(static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)));
        // A month in leva is shown in the euro of the slip, as the calculation reads it.
        const bool leva = util::levaIntoEuro(month, data.period());
        auto d = [&](int i) { return leva ? util::euroHalfUp(q.toDouble(i)) : q.toDouble(i); };
        SlipMonth m;
        m.year = month.year();
        m.month = month.month();
        m.workedDays = static_cast<int>(q.toInt(2));
        m.base = d(3);
        m.unpaidDays = static_cast<int>(q.toInt(4));
        m.sickDays = static_cast<int>(q.toInt(5));
        m.sickAmount = d(6);
        m.personal = d(7) + d(8) + d(9) + d(10) + d(11);
        m.tax = d(12);
        m.net = d(13) - (d(12) + d(7) + d(9) + d(10) + d(8) + d(11));
        m.daysWorked = static_cast<int>(q.toInt(14) - q.toInt(15));
        rows.push_back(m);
    }
    return rows;
}

std::vector<SickSlip> sickSlips(storage::DataModule &data, QStringList *errors)
{
    const std::vector<PendingItem> pending = sicknessItems(data);
    ReportHost quiet; // no window to show the walk or to cancel it
    SlipMaker maker(data, quiet);
    std::vector<SickSlip> slips;
    for (const PendingItem &p : pending) {
        try {
            slips.push_back(maker.make(p));
        } catch (const std::exception &e) {
            if (errors)
                errors->append(QStringLiteral("Грешка ") + QString::fromUtf8(e.what()));
        }
    }
    return slips;
}

PageSetup sickSlipPageSetup()
{
    PageSetup s;
    s.orientation = Orientation::Landscape;
    s.zoom = 125;
    return s;
}

namespace {

constexpr double kMargin = 10; // percent of the font height
// The history table's thirteen columns (cm).
constexpr double kWidths[13] = {2.4, 1.3, 1.6, 2.4, 1.6, 2.0, 1.6, 2.2, 2.2, 2.0, 2.0, 2.4, 1.6};

void stops(Canvas &c, std::initializer_list<std::pair<int, int>> spans, quint8 boxes, bool numbers)
{
    c.clearTabs();
    bool first = true;
    for (const auto &[from, count] : spans) {
        double width = 0;
        for (int i = from; i < from + count; ++i)
            width += kWidths[i];
        c.setTab(first ? c.marginLeft() : -1, numbers && from >= 2 ? J::Right : (numbers ? J::Left : J::Center), width, kMargin,
                 boxes);
        first = false;
    }
}

void allColumns(Canvas &c, quint8 boxes)
{
    stops(c, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}}, boxes,
          true);
}

QString seniorityText(const SickSlip &s)
{
    return QStringLiteral("Тр. стаж: %1 г. %2 м. %3 д.").arg(s.years).arg(s.months).arg(s.days);
}

// The rule of the month on two lines of the slip's width.
void printRule(Canvas &c, const QString &first, const QString &second)
{
    c.clearTabs();
    c.setTab(c.marginLeft(), J::Left, 24, kMargin);
    if (c.linesLeft() < 4)
        c.newPage();
    printRow(c, {first});
    printRow(c, {second});
}

// The employer's days of a sickness from 07.2010, as the calculation paid them.
void printEmployerDays(Canvas &c, const SickSlip &s, const QString &dateFormat)
{
    const calc::EmployerSickPay &p = *s.employer;
    const QString rate = fx(p.rate * 100, 3, 0) + QLatin1Char('%');
    printRule(c,
              QStringLiteral("От работодателя (чл. 40, ал. 5 КСО): първите %1 работни дни от началото на неработоспособността,")
                  .arg(p.lawDays),
              QStringLiteral("%1 от средното дневно брутно възнаграждение за %2.%3, но не по-малко от %1 от средното дневно уговорено")
                  .arg(rate)
                  .arg(p.onset.month(), 2, 10, QLatin1Char('0'))
                  .arg(p.onset.year()));
    c.clearTabs();
    for (const auto &[width, justify] : std::initializer_list<std::pair<double, J>>{
             {4.6, J::Left}, {2.0, J::Right}, {4.6, J::Left}, {2.0, J::Right}, {1.6, J::Right}, {2.0, J::Right}, {4.0, J::Left},
             {1.6, J::Right}})
        c.setTab(c.tabs().empty() ? c.marginLeft() : -1, justify, width, kMargin);
    const double daily = std::max(p.dailyGross, p.dailyAgreed);
    // A certificate that continues an earlier one gives the employer no day.
    printRow(c, {QStringLiteral("Ср. дневно брутно възн.:"), fx(p.dailyGross, 7, 2), QStringLiteral("Ср. дневно уговорено възн.:"),
                  fx(p.dailyAgreed, 7, 2), rate + QStringLiteral(" ="), fx(daily * p.rate, 7, 2),
                  p.continuation ? QStringLiteral("Продължение, дни:") : QStringLiteral("Дни от работодателя:"),
                  QString::number(p.days)});
    c.clearTabs();
    for (const double width : {4.7, 1.6, 7.3, 3.2, 3.2, 2.0, 3.4})
        c.setTab(c.tabs().empty() ? c.marginLeft() : -1, J::Left, width, kMargin);
    auto date = [&](const QDate &d) { return d.isValid() ? d.toString(dateFormat) : QString(); };
    printRow(c, {seniorityText(s), rate, s.itemName, QStringLiteral("от ") + date(s.begin), QStringLiteral("до ") + date(s.end),
                  util::daysText(s.itemDays), QStringLiteral("сума=") + fx(calc::r2(p.amount), 7, 2)});
    c.newLine();
    c.setYPos(c.yPos() + 2 * c.lineHeight());
}

void printSlip(Canvas &c, const SickSlip &s, const util::Period &period)
{
    const QString dateFormat = util::displayDateFormat(u'.');
    c.clearTabs();
    c.setTab(c.marginLeft(), J::Left, 3, kMargin);
    c.setTab(-1, J::Left, 9, kMargin);
    c.setTab(-1, J::Left, 8, kMargin);
    QStringList head{QStringLiteral("Номер: ") + QString::number(s.number), QStringLiteral("Име: ") + s.name};
    head << (s.position.isEmpty() ? QString() : QStringLiteral("Длъжност: ") + s.position);
    printRow(c, head);
    c.clearTabs();
    c.setTab(c.marginLeft(), J::Left, 8, kMargin);
    c.setTab(-1, J::Left, 12, kMargin);
    c.setTab(-1, J::Right, 4, kMargin);
    printRow(c, {QStringLiteral("Болнични за ") + util::monthName(period.month()) + QLatin1Char(' ')
                  + QString::number(period.year()) + QStringLiteral("г."), s.company, util::currencyOf(period).caption});

    const quint8 box = BoxAll;
    stops(c, {{0, 2}, {2, 1}, {3, 1}, {4, 2}, {6, 2}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}}, box, false);
    printRow(c, {QStringLiteral("Осн. запл."), QStringLiteral("Работни"), QStringLiteral("Брутно"), QStringLiteral("Неплатен"),
                  QStringLiteral("Болнични"), QStringLiteral("Лични"), calc::incomeTaxName(period), QStringLiteral("Корекции"),
                  QStringLiteral("Нетно"), QStringLiteral("Действ.")});
    printRow(c, {QString(), QStringLiteral("дни"), QStringLiteral("възн."), QStringLiteral("отпуск"), QString(),
                  QStringLiteral("осигур."), QString(), QStringLiteral("л. осиг."), QStringLiteral("възн."),
                  QStringLiteral("отраб.")});
    stops(c, {{0, 2}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}}, box, false);
    printRow(c, {fx(s.baseSalary, 7, 2).trimmed(), QString(), QString(), QStringLiteral("Дни"), QStringLiteral("Сума"),
                  QStringLiteral("Дни"), QStringLiteral("Сума"), QStringLiteral("вноски"), QString(), QString(), QString(),
                  QStringLiteral("дни")});

    allColumns(c, box);
    SlipMonth sum;
    for (const SlipMonth &m : s.history) {
        if (c.linesLeft() < 1)
            c.newPage();
        printRow(c, {util::monthName(m.month), QString::number(m.year), days3(m.workedDays), fx(m.base, 7, 2), days3(m.unpaidDays),
                      fx(0, 7, 2), days3(m.sickDays), fx(m.sickAmount, 7, 2), fx(m.personal, 7, 2), fx(m.tax, 7, 2), fx(0, 7, 2),
                      fx(m.net, 7, 2), days3(m.daysWorked)});
        sum.workedDays += m.workedDays;
        sum.base += m.base;
        sum.unpaidDays += m.unpaidDays;
        sum.sickDays += m.sickDays;
        sum.sickAmount += m.sickAmount;
        sum.personal += m.personal;
        sum.tax += m.tax;
        sum.net += m.net;
        sum.daysWorked += m.daysWorked;
    }
    if (c.linesLeft() < 1)
        c.newPage();
    printRow(c, {QStringLiteral("Общо: "), QString(), fx(sum.workedDays, 7, 0), fx(sum.base, 7, 2), fx(sum.unpaidDays, 7, 0),
                  fx(0, 7, 2), fx(sum.sickDays, 7, 0), fx(sum.sickAmount, 7, 2), fx(sum.personal, 7, 2), fx(sum.tax, 7, 2),
                  fx(0, 7, 2), fx(sum.net, 7, 2), fx(sum.daysWorked, 7, 0)});

    if (s.employer) {
        printEmployerDays(c, s, dateFormat);
        return;
    }
    const SlipBenefit &b = s.benefit;
    if (s.fundRule2015)
        printRule(c,
                  QStringLiteral("Обезщетение от НОИ (чл. 41, ал. 1 КСО): %1% от средния дневен осигурителен доход за %2 календарни месеца")
                      .arg(fx(b.rate * 100, 3, 0))
                      .arg(calc::kFundBenefitMonths),
                  QStringLiteral("преди месеца на настъпване, но не повече от средното дневно нетно възнаграждение за същия период"));
    c.clearTabs();
    for (const auto &[width, justify] : std::initializer_list<std::pair<double, J>>{
             {4.6, J::Left}, {2.0, J::Right}, {1.6, J::Right}, {2.0, J::Right}, {3.8, J::Left}, {2.0, J::Right},
             {2.6, J::Left}, {2.0, J::Right}})
        c.setTab(c.tabs().empty() ? c.marginLeft() : -1, justify, width, kMargin);
    if (c.linesLeft() < 2)
        c.newPage();
    printRow(c, {QStringLiteral("Ср. дневен осиг. доход:"), fx(b.daily, 7, 2).trimmed(),
                  fx(b.rate * 100, 3, 0).trimmed() + QStringLiteral("% ="), fx(b.daily * b.rate, 7, 2).trimmed(),
                  QStringLiteral("Средно дневно нето:"), fx(b.net, 7, 2).trimmed(), QStringLiteral("Приета база:"),
                  s.itemDays < 1 ? QString() : fx(b.benefit / s.itemDays, 7, 2).trimmed()});

    c.clearTabs();
    for (const double width : {4.7, 1.6, 7.3, 3.2, 3.2, 2.0, 3.4})
        c.setTab(c.tabs().empty() ? c.marginLeft() : -1, J::Left, width, kMargin);
    auto date = [&](const QDate &d) { return d.isValid() ? d.toString(dateFormat) : QString(); };
    printRow(c, {seniorityText(s), fx(b.rate * 100, 3, 0).trimmed() + QLatin1Char('%'), s.itemName,
                  QStringLiteral("от ") + date(s.begin), QStringLiteral("до ") + date(s.end), util::daysText(s.itemDays),
                  QStringLiteral("сума=") + fx(b.benefit, 7, 2).trimmed()});
    c.newLine();
    c.setYPos(c.yPos() + 2 * c.lineHeight());
}

} // namespace

bool hasSickLeave(storage::DataModule &data) { return !sicknessItems(data).empty(); }

QString noSickLeaveMessage(const util::Period &period)
{
    return QStringLiteral("Няма болнични през месец %1.%2.").arg(period.month(), 2, 10, QLatin1Char('0')).arg(period.year());
}

Document buildSickSlips(storage::DataModule &data, ReportHost &host, QStringList *errors)
{
    const std::vector<PendingItem> pending = sicknessItems(data);
    SlipMaker maker(data, host);
    const util::Period period = data.period();

    Document doc;
    doc.title = QString::fromUtf8(kindInfo(ReportKind::SickSlip).caption);
    doc.setup = sickSlipPageSetup();
    Canvas c(doc);
    c.setPrinterMargins(host.printerMargins());
    c.raiseMarginsToPrinter();
    c.setFontSize(10);
    c.onNewPage = [&](Canvas &canvas) { announcePage(canvas, host); };
    c.begin();
    auto unit = [&](Canvas &canvas, int i) {
        const SickSlip slip = maker.make(pending[static_cast<size_t>(i)]);
        if (i > 0 && canvas.linesLeft() < 15)
            canvas.newPage();
        canvas.setXPos(canvas.marginLeft());
        printSlip(canvas, slip, period);
    };
    if (!printRows(c, static_cast<int>(pending.size()), unit, host, errors))
        throw RunAborted{};
    c.finish();
    return doc;
}

} // namespace plavex::reports
