#include "calc/LawOfMonth.h"

namespace plavex::calc {

int employerPaidSickDays(const util::Period &onset)
{
    if (onset < util::Period(2010, 7))
        return 0;
    if (onset < util::Period(2024, 1))
        return 3;
    return 2;
}

bool fundBenefitFrom18Months(const util::Period &onset, int type)
{
    const bool sickness = type == 21 || type == 25 || type == 26 || type == 27;
    return sickness && onset >= util::Period(2015, 1);
}

double fundBenefitRate(int type) { return type == 21 ? 0.9 : 0.8; }

bool annualTaxByArticle49(int year) { return year >= 2009; }

QString incomeTaxName(const util::Period &period)
{
    return period.year() >= 2008 ? QStringLiteral("ДДФЛ") : QStringLiteral("ДОД");
}

} // namespace plavex::calc
