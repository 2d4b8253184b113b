#include "reports/Recapitulation.h"

#include "calc/CalcPerson.h"
#include "calc/MonthlyRecord.h"
#include "calc/Parameters.h"
#include "declarations/Declaration6.h"
#include "items/Definitions.h"
#include "items/ItemTypes.h"
#include "reference/Rates.h"
#include "reports/CellRow.h"
#include "reports/RunProtocol.h"
#include "reports/SectionLayout.h"
#include "reports/Sheets.h"
#include "reports/engine/Canvas.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/NumberText.h"
#include "util/Rounding.h"

#include <QDate>

#include <map>

namespace plavex::reports {

namespace {

using J = Justify;
using declarations::AgeGroup;

// A rate cell and a bracketed base cell of the contribution lines (4 cm together).
constexpr double kRate = 1.6, kBase = 2.4;
// The halves' labels and amounts, wider and narrower than 2 cm: the type
// (DejaVu) is wider than the labels were drawn for.
constexpr double kLabel = 2.7, kAmount = 1.8;

QString amount(double v) { return util::fixedNumber(v, 1, 2); }
QString money7(double v) { return util::fixedNumber(v, 7, 2); }
QString rate7(double v) { return util::fixedNumber(v, 7, 3) + QLatin1Char('%'); }
QString base7(double v) { return QStringLiteral("( ") + money7(v) + QStringLiteral(" )"); }

// The totals, the bases and the statistics: label, value, gap, label, value.
const std::initializer_list<Cell> kTotalCells{{6.85, J::Left}, {2, J::Right}, {0.15, J::Right}, {6, J::Left}, {2, J::Right}};

class Recap {
public:
    Recap(storage::DataModule &data, std::optional<int> unit, Canvas &c)
        : data_(data), unit_(unit), c_(c),
          sums_(data,
                {QStringLiteral("PERSDATA_WCOSUMA32"), QStringLiteral("PERSDATA_BOLN_FIRMA"), QStringLiteral("PERSDATA_WCOSOC"),
                 QStringLiteral("PERSDATA_SZDR"), QStringLiteral("PERSDATA_SMAJ"), QStringLiteral("PERSDATA_S6ZDR"),
                 QStringLiteral("PERSDATA_SZDRN"), QStringLiteral("PERSDATA_BOLN_NOI"), QStringLiteral("PERSDATA_WCOGARANT")},
                unit)
    {
    }

    double sum(const char *column, const QString &condition = {}, QVariantList values = {}) const
    {
        QString where = condition;
        if (unit_) {
            where += (where.isEmpty() ? QString() : QStringLiteral(" and ")) + QStringLiteral("PERSON_ZVENO=?");
            values << *unit_;
        }
        return calc::sumOfActive(data_, QString::fromLatin1(column), where, values);
    }
    double pair(const declarations::InsurancePair &p, AgeGroup g, const char *column, bool fundOnly = false) const
    {
        return sums_.sum(p, g, QString::fromLatin1(column), fundOnly);
    }
    // Every line keeps to the page; a full page goes on under the header.
    void line(const QStringList &texts)
    {
        if (c_.linesLeft() < 1)
            c_.newPage();
        printRow(c_, texts);
    }
    void cells(double left, std::initializer_list<Cell> list) { setCells(c_, left, list); }

    storage::DataModule &data_;
    std::optional<int> unit_;
    Canvas &c_;
    declarations::PairSums sums_;
};

} // namespace

std::vector<RecapItem> recapItems(storage::DataModule &data, std::optional<int> unit)
{
    fb::Statement q(data.transaction(),
                    QStringLiteral("select PERO_COD,PERO_TYPE,cast (SUM(PERO_D) as NUMERIC(12,2)) PCOUNT ,cast "
                                   "(SUM(PERO_SUMAFINAL) as NUMERIC(12,2) ) PSUM from %1 where pero_personid in (select "
                                   "person_id from %2 where person_act=1%3) AND PERO_TYPE<>198 AND (not(PERO_COD IS NULL)) "
                                   " group by PERO_TYPE,PERO_COD ORDER BY PERO_COD")
                        .arg(data.table(u"PERA"), data.table(u"PERSONS"),
                             unit ? QStringLiteral(" AND PERSON_ZVENO=?") : QString()));
    if (unit)
        q.bind(0, *unit);
    std::vector<RecapItem> items;
    while (q.next())
        items.push_back({static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)), q.toDouble(2), q.toDouble(3)});
    return items;
}

int activeCount(storage::DataModule &data, std::optional<int> unit, bool women)
{
    QVariantList values;
    QString sql = QStringLiteral("SELECT COUNT(PERSON_ID) FROM %1 WHERE PERSON_ACT=1").arg(data.table(u"PERSONS"));
    if (women)
        sql += QStringLiteral(" AND PERSON_POL=2");
    if (unit) {
        sql += QStringLiteral(" AND PERSON_ZVENO=?");
        values << *unit;
    }
    return fb::Statement::scalar(data.transaction(), sql, values).toInt();
}

PageSetup recapPageSetup()
{
    PageSetup s;
    s.marginTop = s.marginBottom = 0.3;
    return s;
}

QString noRecapItemsMessage() { return QStringLiteral("Няма пера за рекапитулация при активните служители."); }

std::optional<Document> buildRecapitulation(storage::DataModule &data, const ReportRequest &request, ReportHost &host)
{
    const bool forUnit = request.recapType == RecapType::Unit;
    const std::optional<int> unit = forUnit && request.unitCode != 0 ? std::optional<int>(request.unitCode) : std::nullopt;
    // The working days of the last employee calculated: what the month's calendar gives.
    int workingDays = 0;
    recalculateForReport(data, host, [&](const calc::Calculation &calculation) {
        if (calculation.error.isEmpty())
            workingDays = calculation.totals.workingDays;
    });
    const std::vector<RecapItem> items = recapItems(data, unit);
    if (items.empty())
        return std::nullopt;
    calc::Parameters params;
    params.reloadAll(data);
    const util::Period period = data.period();
    const QString month = monthCaption(period.month(), period.year()) + QStringLiteral(" г.");
    const QString title = forUnit ? QStringLiteral("Рекапитулация за звено ") + QString::number(request.unitCode)
                                        + QStringLiteral("  ") + unitName(data, request.unitCode) + QStringLiteral("  ") + month
                                  : QStringLiteral("Рекапитулация обща за месец ") + month;
    const QString company = employerText(params.company.name, params.company.bulstat);
    const QString currency = util::currencyOf(period).caption;
    const QString today = printingDate(QDate::currentDate());

    Document doc;
    doc.title = QStringLiteral("Рекапитулация");
    doc.setup = recapPageSetup();
    Canvas c(doc);
    layout::setSectionMargins(c, doc.setup);
    const double left = c.marginLeft();
    c.setFontSize(layout::kFontSize);
    c.setLineHeight(layout::lineHeight());
    c.setPen(Pen{});
    // writeheader, on every page.
    c.onNewPage = [&](Canvas &canvas) {
        announcePage(canvas, host);
        canvas.setFontSize(layout::kFontSize);
        canvas.setPen(Pen{});
        const std::vector<TabStop> saved = canvas.tabs();
        setCells(canvas, left, {{13.5, J::Left, BoxAll}, {3.5, J::Right, BoxAll}});
        printRow(canvas, {company, pageOfText(canvas)});
        printRow(canvas, {title, today});
        setCells(canvas, left, {{17, J::Left}});
        printRow(canvas, {currency});
        canvas.clearTabs();
        for (const TabStop &t : saved)
            canvas.setTab(t.left, t.justify, t.width, t.margin, t.boxes, t.shade);
    };
    c.begin();
    Recap r(data, unit, c);

    // The items: earnings and deductions side by side, the totals under both.
    std::map<int, QString> names;
    for (const items::Definition &d : params.definitions)
        names.emplace(d.code, d.name.trimmed());
    auto nameOf = [&](int code) { return names.count(code) ? names.at(code) : QString(); };
    std::vector<const RecapItem *> earnings, deductions;
    const RecapItem *earned = nullptr, *deducted = nullptr, *toPay = nullptr;
    for (const RecapItem &item : items) {
        if (item.code <= 0)
            continue;
        if (items::isEarning(item.type))
            earnings.push_back(&item);
        else if (items::isDeduction(item.type))
            deductions.push_back(&item);
        else if (item.type == 100)
            earned = &item;
        else if (item.type == 200)
            deducted = &item;
        else if (item.type == 201)
            toPay = &item;
    }
    r.cells(left, {{9, J::Center, BoxBottom}, {8, J::Center, BoxBottom}});
    r.line({QStringLiteral("Начисления"), QStringLiteral("Удръжки")});
    r.cells(left, {{0.75, J::Right}, {5.4, J::Left}, {0.7, J::Right}, {2, J::Right}, {0.75, J::Right}, {5.4, J::Left},
                   {2, J::Right}});
    for (size_t i = 0; i < std::max(earnings.size(), deductions.size()); ++i) {
        QStringList row;
        if (i < earnings.size())
            row << QString::number(earnings[i]->code) << nameOf(earnings[i]->code) << QString() << amount(earnings[i]->sum);
        else
            row << QString() << QString() << QString() << QString();
        if (i < deductions.size())
            row << QString::number(deductions[i]->code) << nameOf(deductions[i]->code) << amount(deductions[i]->sum);
        r.line(row);
    }
    setCells(c, left, kTotalCells);
    // The totals follow the items whatever their codes: an accountant reads them as the sheet's sum.
    if (earned || deducted)
        r.line({earned ? nameOf(earned->code) : QString(), earned ? amount(earned->sum) : QString(), QString(),
                deducted ? nameOf(deducted->code) : QString(), deducted ? amount(deducted->sum) : QString()});
    if (toPay)
        r.line({QStringLiteral("ФРЗ"), amount(r.sum("PERSDATA_SFRZ")), QString(), nameOf(toPay->code), amount(toPay->sum)});
    const calc::BaseSums bases = calc::baseSums(data, unit);
    r.line({QStringLiteral("Облагаема сума"), amount(bases.taxBase)});
    r.line({QStringLiteral("ДОО начисления"), amount(bases.absences)});
    r.cells(left, {{6.85, J::Left, BoxBottom}, {2, J::Right, BoxBottom}, {0.15, J::Right, BoxBottom}, {6, J::Left, BoxBottom},
                   {2, J::Right, BoxBottom}});
    r.line({QStringLiteral("Осигурителен доход"), amount(bases.insurable)});

    // Each fund's contributions of the employer, as the lines below print
    // them (each to the cent).
    double fundDoo = 0, fundDzpo = 0, fundHealth = 0, fundGuarantee = 0;
    auto cent = [](double v) { return util::roundHalfEven(v, 2); };

    // Each insurance type: the contributions by age group.
    const auto rates = reference::loadRates(data);
    const double accident = params.company.accidentPercent;
    auto halves = [&] {
        // The halves' rates take less than their 2 cm and the bracketed bases more.
        r.cells(left, {{kLabel, J::Left}, {kRate, J::Right}, {kBase, J::Right}, {kAmount, J::Right}, {0.15, J::Right},
                       {kLabel, J::Left}, {kRate, J::Right}, {kBase, J::Right}, {kAmount, J::Right}});
    };
    auto centred = [&](const char *a, const char *b) {
        r.cells(left, {{kLabel + kRate + kBase + kAmount, J::Center}, {0.15, J::Center},
                        {kLabel + kRate + kBase + kAmount, J::Center}});
        r.line({QString::fromUtf8(a), QString(), QString::fromUtf8(b)});
        r.line({});
    };
    // One line of both halves: label, rate, (base), rate × base / 100.
    auto contribution = [](const QString &label, double rate, double base) {
        return QStringList{label, rate7(rate), base7(base), money7(rate * base / 100)};
    };
    for (const declarations::InsurancePair &pair : declarations::insurancePairs(data, unit)) {
        const reference::NoiType *rate = declarations::pairRate(rates, pair);
        auto pct = [&](const char *column) { return rate ? rate->percent(QString::fromLatin1(column)) : 0.0; };
        r.cells(left, {{17, J::Left, BoxLeft | BoxRight}});
        r.line({});
        r.line({QString::number(rate ? rate->type : 0).rightJustified(2, QLatin1Char('0')) + QLatin1Char(' ')
                + (rate ? rate->name.trimmed() : QString())});
        r.line({});
        centred("Осигуровки за родените до 01.01.1960", "Осигуровки за родените след 31.12.1959");

        const double p1 = r.pair(pair, AgeGroup::Before1960, "PERSDATA_WCOSUMA32");
        const double p2 = r.pair(pair, AgeGroup::After1959, "PERSDATA_WCOSUMA32");
        struct Fund {
            const char *label;
            double before, after;
        };
        const Fund funds[] = {
            {"Ф. Пенсия ", pct("NOI_PENSI_FI"), pct("NOI_PENSI_FI60")},
            {"Ф. ОЗ и М ", pct("NOI_ZAB_FI"), pct("NOI_ZAB_FI60")},
            {"ПКБ", pct("NOI_PKB_FI"), pct("NOI_PKB_FI60")},
            {"ДОО вноска", pct("NOI_PROC_FI"), pct("NOI_PROC_FI60")},
            {"ф. Труд. З", accident, accident},
            {"ДОО вноска", pct("NOI_PROC_FI") + accident, pct("NOI_PROC_FI60") + accident},
        };
        fundDoo += cent((pct("NOI_PROC_FI") + accident) * p1 / 100) + cent((pct("NOI_PROC_FI60") + accident) * p2 / 100);
        fundDzpo += cent(pct("NOI_DZPO_FI60") * p2 / 100);
        halves();
        for (const Fund &f : funds)
            r.line(contribution(QString::fromUtf8(f.label), f.before, p1) + QStringList{QString()}
                   + contribution(QString::fromUtf8(f.label), f.after, p2));
        r.line(QStringList{QString(), QString(), QString(), QString(), QString()}
               + contribution(QStringLiteral("ДЗПО"), pct("NOI_DZPO_FI60"), p2));

        setCells(c, left, kTotalCells);
        auto both = [&](const char *label, const char *column) {
            r.line({QString::fromUtf8(label), amount(r.pair(pair, AgeGroup::Before1960, column)), QString(),
                    QString::fromUtf8(label), amount(r.pair(pair, AgeGroup::After1959, column))});
        };
        both("База - болнични работодател", "PERSDATA_BOLN_FIRMA");
        both("База - соц. разходи за ДОО", "PERSDATA_WCOSOC");
        const double soc1 = r.pair(pair, AgeGroup::Before1960, "PERSDATA_WCOSOC");
        const double soc2 = r.pair(pair, AgeGroup::After1959, "PERSDATA_WCOSOC");
        auto onSocial = [](const char *fund, double rate) {
            return QString::fromUtf8(fund) + util::fixedNumber(rate, 7, 3) + QStringLiteral("% в/у соц. разх.");
        };
        fundDoo += cent(pct("NOI_SOC_FI") * soc1 / 100) + cent(pct("NOI_SOC_FI60") * soc2 / 100);
        fundDzpo += cent(pct("NOI_DZPO_FI60") * soc2 / 100);
        r.line({onSocial("ДОО  ", pct("NOI_SOC_FI")), money7(pct("NOI_SOC_FI") * soc1 / 100), QString(),
                onSocial("ДОО  ", pct("NOI_SOC_FI60")), money7(pct("NOI_SOC_FI60") * soc2 / 100)});
        r.line({QString(), QString(), QString(), onSocial("ДЗПО ", pct("NOI_DZPO_FI60")),
                money7(pct("NOI_DZPO_FI60") * soc2 / 100)});
        r.line({});

        centred("Здравно осигуряване - до 01.01.1960", "Здравно осигуряване - след 31.12.1959");
        struct Health {
            const char *left, *right;
            double rate;
            const char *column;
        };
        const Health health[] = {
            {"ЗДРО", "ЗДРО", pct("NOI_ZDR"), "PERSDATA_SZDR"},
            {"ЗДРО - майки", "ЗДРО - майки", pct("NOI_ZD_BOLN"), "PERSDATA_SMAJ"},
            {"ЗДРО - болн.", "ЗДРО - болн.", pct("NOI_ZD_BOLN"), "PERSDATA_S6ZDR"},
            {"ЗДРО - непл.", "ЗДРО - непл.", pct("NOI_ZDR_NEPL"), "PERSDATA_SZDRN"},
            {"ЗДРО - бол.нои", "ЗДРО-бол.нои", pct("NOI_ZD_BOLN"), "PERSDATA_BOLN_NOI"},
        };
        for (const Health &h : health)
            fundHealth += cent(h.rate * r.pair(pair, AgeGroup::Before1960, h.column) / 100)
                          + cent(h.rate * r.pair(pair, AgeGroup::After1959, h.column) / 100);
        halves();
        for (const Health &h : health)
            r.line(contribution(QString::fromUtf8(h.left), h.rate, r.pair(pair, AgeGroup::Before1960, h.column))
                   + QStringList{QString()}
                   + contribution(QString::fromUtf8(h.right), h.rate, r.pair(pair, AgeGroup::After1959, h.column)));

        const bool fund = true; // the fund's members only
        const double grvz = pct("NOI_GRVZ");
        r.cells(left, {{11, J::Left}, {kRate, J::Right}, {kBase, J::Right}, {2, J::Right}});
        const double guaranteeBase = r.pair(pair, AgeGroup::Both, "PERSDATA_WCOGARANT", fund);
        fundGuarantee += cent(grvz * guaranteeBase / 100);
        r.line(contribution(QStringLiteral("Фонд \"Гарантирани вземания за работници и служители\""), grvz, guaranteeBase));
        // The fund by birth group: the group on a line of its own, then its figures.
        r.cells(left, {{kLabel + kRate + kBase + kAmount, J::Center}, {0.15, J::Center}, {kLabel + kRate + kBase + kAmount, J::Center}});
        r.line({QStringLiteral("Родени преди 1960 г."), QString(), QStringLiteral("Родени след 1959 г.")});
        r.cells(left, {{kLabel, J::Left, BoxBottom}, {kRate, J::Right, BoxBottom}, {kBase, J::Right, BoxBottom},
                       {kAmount, J::Right, BoxBottom}, {0.15, J::Right, BoxBottom}, {kLabel, J::Left, BoxBottom},
                       {kRate, J::Right, BoxBottom}, {kBase, J::Right, BoxBottom}, {kAmount, J::Right, BoxBottom}});
        r.line(contribution(QStringLiteral("ГВРС"), grvz, r.pair(pair, AgeGroup::Before1960, "PERSDATA_WCOGARANT", fund))
               + QStringList{QString()}
               + contribution(QStringLiteral("ГВРС"), grvz, r.pair(pair, AgeGroup::After1959, "PERSDATA_WCOGARANT", fund)));
    }

    // By fund: what the employees' pay bears, what the employer adds (the
    // lines above: the rates are the employer's), both; and what the month
    // costs the employer.
    const double workerDoo = cent(r.sum("PERSDATA_WSDOOLI") + r.sum("PERSDATA_SUPKB") + r.sum("PERSDATA_SUSOCR"));
    const double workerDzpo = cent(r.sum("PERSDATA_SUDZPO"));
    const double workerHealth = cent(r.sum("PERSDATA_SUZDR"));
    struct FundTotal {
        const char *label;
        double employer, worker;
    };
    const FundTotal fundTotals[] = {
        {"ДОО (с ТЗПБ)", fundDoo, workerDoo},
        {"ДЗПО", fundDzpo, workerDzpo},
        {"Здравно осигуряване", fundHealth, workerHealth},
        {"Гарантирани вземания", fundGuarantee, 0.0},
    };
    if (c.linesLeft() < 9)
        c.newPage();
    r.cells(left, {{6.85, J::Left, BoxBottom}, {3.4, J::Right, BoxBottom}, {3.4, J::Right, BoxBottom}, {3.35, J::Right, BoxBottom}});
    r.line({QStringLiteral("Осигуровки по фондове"), QStringLiteral("Работник"), QStringLiteral("Работодател"),
            QStringLiteral("Общо")});
    r.cells(left, {{6.85, J::Left}, {3.4, J::Right}, {3.4, J::Right}, {3.35, J::Right}});
    double worker = 0, employer = 0, all = 0;
    for (const FundTotal &f : fundTotals) {
        r.line({QString::fromUtf8(f.label), amount(f.worker), amount(cent(f.employer)), amount(cent(f.worker + f.employer))});
        worker += f.worker;
        employer += cent(f.employer);
        all += cent(f.worker + f.employer);
    }
    r.cells(left, {{6.85, J::Left, BoxTop}, {3.4, J::Right, BoxTop}, {3.4, J::Right, BoxTop}, {3.35, J::Right, BoxTop}});
    r.line({QStringLiteral("Общо"), amount(cent(worker)), amount(cent(employer)), amount(cent(all))});
    const double fundOfPay = cent(r.sum("PERSDATA_SFRZ"));
    r.cells(left, {{13.65, J::Left}, {3.35, J::Right}});
    r.line({QStringLiteral("Разход на работодателя (ФРЗ ") + amount(fundOfPay) + QStringLiteral(" + осигуровки на работодателя)"),
            amount(cent(fundOfPay + employer))});
    r.line({});

    // Head counts and days.
    const int people = activeCount(data, unit);
    r.cells(left, {{6.85, J::Left, BoxTop}, {2, J::Right, BoxTop}, {0.15, J::Right, BoxTop}, {6, J::Left, BoxTop},
                   {2, J::Right, BoxTop}});
    r.line({QStringLiteral("Брой хора"), QString::number(people)});
    setCells(c, left, kTotalCells);
    r.line({QStringLiteral("От тях жени"), QString::number(activeCount(data, unit, true)), QString(),
            QStringLiteral("ФРЗ жени"), money7(r.sum("PERSDATA_SFRZ", QStringLiteral("person_POL=2")))});
    r.line({QStringLiteral("Работни дни"), QString::number(workingDays)});
    r.line({QStringLiteral("Лимитни човекодни"), QString::number(workingDays * people)});
    r.line({QStringLiteral("Отработени човекодни"), util::fixedNumber(r.sum("PERSDATA_ODNI"), 7, 0)});
    r.line({});
    if (c.linesLeft() < 2)
        c.newPage();
    r.cells(left, {{8.5, J::Center}, {8.5, J::Center}});
    r.line({QStringLiteral("Гл. счетоводител:...................."), QStringLiteral("Управител/Председател:....................")});
    r.line({QStringLiteral(" /") + params.company.chiefAccountant.trimmed() + QStringLiteral(" /"),
            QStringLiteral(" / ") + params.company.director.trimmed() + QStringLiteral(" /")});
    c.finish();
    return doc;
}

} // namespace plavex::reports
