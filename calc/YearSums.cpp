#include "calc/YearSums.h"

#include "storage/DataModule.h"
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
    // The year's own rule: from 2008 the flat first row, before it the brackets.
    return util::roundHalfEven(12 * reference::taxOfYear(scale, year, base / 12, 2), 2);
}

std::vector<AnnualTaxRow> annualTaxRows(storage::DataModule &data, int year)
{
    const QString persons = data.table(u"PERSONS");
    struct Active {
        QString number, name;
        bool relief = false;
        int children = 0;
    };
    std::map<int, Active> active;
    {
        fb::Statement q(data.transaction(),
                        QStringLiteral("Select person_id,person_nomer,person_ime,PERSON_SEMOBL,PERSON_DECA from %1 "
                                       "where person_act=1")
                            .arg(persons));
        while (q.next())
            active[static_cast<int>(q.toInt(0))] = {q.value(1).toString(), q.value(2).toString().trimmed(),
                                                    q.value(3).toString().trimmed() == u"1", static_cast<int>(q.toInt(4))};
    }
    const reference::TaxScale scale = reference::loadTaxScale(data, QStringLiteral("DOD%1").arg(year));

    std::vector<AnnualTaxRow> rows;
    fb::Statement q(data.transaction(),
                    QStringLiteral(" SELECT PERSDATA_PERSONID,SUM(PERSDATA_SOBL) SOBL, SUM(PERSDATA_SDOD) SDOD FROM PERSDATA "
                                   "WHERE PERSDATA_GOD=? and persdata_personid in (SELECT person_id from %1) "
                                   "GROUP BY PERSDATA_PERSONID ORDER BY PERSDATA_PERSONID")
                        .arg(persons));
    q.bindAll({year});
    while (q.next()) {
        AnnualTaxRow r;
        r.personId = static_cast<int>(q.toInt(0));
        r.taxable = q.toDouble(1);
        r.withheld = q.toDouble(2);
        if (const auto it = active.find(r.personId); it != active.end()) {
            r.number = it->second.number;
            r.name = it->second.name;
            if (it->second.relief)
                r.relief = childRelief(it->second.children);
        }
        r.recomputed = recomputedTax(scale, year, r.taxable, r.relief);
        r.difference = util::roundHalfEven(r.recomputed - r.withheld, 2);
        rows.push_back(r);
    }
    return rows;
}

} // namespace plavex::calc
