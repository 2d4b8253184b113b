#include "calc/YearSums.h"

#include "calc/LawOfMonth.h"
#include "items/Definitions.h"
#include "storage/DataModule.h"
#include "storage/TableNames.h"
#include "storage/fb/Statement.h"
#include "util/Rounding.h"

#include <algorithm>
#include <map>

namespace plavex::calc {

YearSums yearSums(storage::DataModule &data, int personId, int year)
{
    fb::Statement q(data.transaction(),
                    QStringLiteral("select PERSDATA_PERSONID, SUM(PERSDATA_SOBL) SOBL,SUM(PERSDATA_SUDZPO) SUDZPO,"
                                   "SUM(PERSDATA_WSDOOLI) WSDOOLI, SUM(PERSDATA_SUPKB) SUPKB,SUM(PERSDATA_SUZDR) SZDR, "
                                   "SUM(PERSDATA_SDOD) FROM PERSDATA WHERE persdata_god=? AND PERSDATA_PERSONID=? "
                                   "group by PERSDATA_PERSONID"));
    q.bindAll({year, personId});
    YearSums s;
    if (q.next()) {
        s.taxable = q.toDouble(1);
        s.supplementary = q.toDouble(2);
        s.social = q.toDouble(3);
        s.fund = q.toDouble(4);
        s.health = q.toDouble(5);
        s.tax = q.toDouble(6);
    }
    return s;
}

std::optional<int> annualTaxYear(const util::Period &period)
{
    if (period.month() == 1)
        return period.year() - 1;
    if (period.month() == 12)
        return period.year();
    return std::nullopt;
}

double childRelief(int children)
{
    if (children <= 0)
        return 0;
    return 420.0 * std::min(children, 3);
}

double recomputedTax(const reference::TaxScale &scale, int year, double taxable, double relief)
{
    // A relief larger than the income leaves nothing to tax, not a negative tax.
    const double base = std::max(0.0, taxable - relief);
    if (annualTaxByArticle49(year)) {
        if (scale.empty())
            return 0;
        // The monthly scale's first row stretched over the year; the
        // whole-lev (whole-euro) rounding of art. 48 (8) is the annual
        // return's, not the employer's.
        const reference::TaxBracket &b = scale.front();
        return util::roundHalfEven(std::max(0.0, (base - 12 * b.limit) * b.rate + 12 * b.sum), 2);
    }
    // The year's own rule: from 2008 the flat first row, before it the brackets.
    return util::roundHalfEven(12 * reference::taxOfYear(scale, year, base / 12, 2), 2);
}

QString annualTaxItemName() { return QStringLiteral("Годишно преизчисляване на ДДФЛ"); }

std::optional<int> annualTaxItemCode(const std::vector<items::Definition> &definitions)
{
    for (const items::Definition &d : definitions)
        if (d.type == 145 && d.name.trimmed() == annualTaxItemName())
            return d.code;
    return std::nullopt;
}

namespace {

struct Person {
    QString number, name;
    bool active = false;
    bool relief = false;
    int children = 0;
    QDate hired, left;
};

// Dates before 1900 are the "no date" of older rows.
QDate dateOrNone(const QVariant &value)
{
    const QDate date = value.toDate();
    return date.isValid() && date.year() >= 1900 ? date : QDate();
}

std::map<int, Person> personsOfPeriod(storage::DataModule &data, std::optional<int> only = std::nullopt)
{
    std::map<int, Person> persons;
    fb::Statement q(data.transaction(),
                    QStringLiteral("Select person_id,person_nomer,person_ime,PERSON_SEMOBL,PERSON_DECA,PERSON_ACT,"
                                   "PERSON_DATANAZ,PERSON_DATAUWOL from %1%2")
                        .arg(data.table(u"PERSONS"), only ? QStringLiteral(" where PERSON_ID=?") : QString()));
    if (only)
        q.bindAll({*only});
    while (q.next())
        persons[static_cast<int>(q.toInt(0))] = {q.value(1).toString(),
                                                 q.value(2).toString().trimmed(),
                                                 q.toInt(5) == 1,
                                                 q.value(3).toString().trimmed() == u"1",
                                                 static_cast<int>(q.toInt(4)),
                                                 dateOrNone(q.value(6)),
                                                 dateOrNone(q.value(7))};
    return persons;
}

// The program's leaving date is the first day no longer worked.
bool employedOn31December(const Person &p, int year)
{
    const QDate last(year, 12, 31);
    return (!p.hired.isValid() || p.hired <= last) && (!p.left.isValid() || p.left > last);
}

AnnualTaxRow makeRow(int personId, double taxable, double withheld, const Person *person,
                     const reference::TaxScale &scale, int year)
{
    AnnualTaxRow r;
    r.personId = personId;
    r.taxable = taxable;
    r.withheld = withheld;
    // To 2008 only an active employee was named and given his relief.
    if (person && (person->active || annualTaxByArticle49(year))) {
        r.number = person->number;
        r.name = person->name;
        if (person->relief)
            r.relief = childRelief(person->children);
    }
    r.recomputed = recomputedTax(scale, year, r.taxable, r.relief);
    r.difference = util::roundHalfEven(r.recomputed - r.withheld, 2);
    return r;
}

} // namespace

std::vector<AnnualTaxRow> annualTaxRows(storage::DataModule &data, int year)
{
    const QString persons = data.table(u"PERSONS");
    const std::map<int, Person> people = personsOfPeriod(data);
    const reference::TaxScale scale = reference::loadTaxScale(data, QStringLiteral("DOD%1").arg(year));

    std::vector<AnnualTaxRow> rows;
    fb::Statement q(data.transaction(),
                    QStringLiteral(" SELECT PERSDATA_PERSONID,SUM(PERSDATA_SOBL) SOBL, SUM(PERSDATA_SDOD) SDOD FROM PERSDATA "
                                   "WHERE PERSDATA_GOD=? and persdata_personid in (SELECT person_id from %1) "
                                   "GROUP BY PERSDATA_PERSONID ORDER BY PERSDATA_PERSONID")
                        .arg(persons));
    q.bindAll({year});
    while (q.next()) {
        const int id = static_cast<int>(q.toInt(0));
        const auto it = people.find(id);
        const Person *person = it != people.end() ? &it->second : nullptr;
        if (annualTaxByArticle49(year) && (!person || !employedOn31December(*person, year)))
            continue; // not the company's on 31 December: recomputed elsewhere or in his own return
        rows.push_back(makeRow(id, q.toDouble(1), q.toDouble(2), person, scale, year));
    }
    return rows;
}

AnnualTaxRow annualTaxRowOf(storage::DataModule &data, int personId, int year)
{
    const std::map<int, Person> people = personsOfPeriod(data, personId);
    const auto it = people.find(personId);
    const YearSums sums = yearSums(data, personId, year);
    const reference::TaxScale scale = reference::loadTaxScale(data, QStringLiteral("DOD%1").arg(year));
    return makeRow(personId, sums.taxable, sums.tax, it != people.end() ? &it->second : nullptr, scale, year);
}

bool annualTaxDifferenceInserted(storage::DataModule &data, int personId, int year)
{
    for (const util::Period &period : {util::Period(year, 12), util::Period(year + 1, 1)}) {
        const QString pera = storage::names::monthTable(u"PERA", period);
        const QString defs = storage::names::monthTable(u"PERADEFS", period);
        const qlonglong tables = fb::Statement::scalar(data.transaction(),
                                                       QStringLiteral("select count(*) from RDB$RELATIONS where "
                                                                      "RDB$RELATION_NAME in (?, ?)"),
                                                       {pera, defs})
                                     .toLongLong();
        if (tables < 2)
            continue;
        const qlonglong items =
            fb::Statement::scalar(data.transaction(),
                                  QStringLiteral("select count(*) from %1 p join %2 d on d.PERODEFS_COD = p.PERO_COD "
                                                 "where p.PERO_PERSONID=? and p.PERO_TYPE=145 and d.PERODEFS_TYP=145 "
                                                 "and trim(d.PERODEFS_IME)=?")
                                      .arg(pera, defs),
                                  {personId, annualTaxItemName()})
                .toLongLong();
        if (items > 0)
            return true;
    }
    return false;
}

} // namespace plavex::calc
