#pragma once

#include "util/Period.h"

#include <QString>

namespace plavex::calc {

// The rules the law changed after 2008, each chosen by the month (or year)
// it applies to. The months of 2006–2008 keep the program's older rules.

// КСО art. 40 (5): the working days of a sickness the employer pays, by the
// month the incapacity began. 0: the older rule (one day's average pay,
// before 07.2010); 3 from 07.2010 (§ 22о of the transitional provisions,
// later art. 40 (5)); 2 from 01.2024 (ЗБДОО 2024, § 5 item 1).
int employerPaidSickDays(const util::Period &onset);
// The employer's share of the daily average for those days: 70 %.
constexpr double kEmployerSickRate = 0.7;

// КСО art. 41 (1) as in force from 01.2015: the fund's daily benefit for a
// sickness, a work accident or the care of the sick (types 21, 25, 26, 27)
// is a share of the average daily insurable income of the 18 calendar
// months before the month of onset, at most the average daily net pay.
// Earlier months, and the other absences, keep the older six months.
bool fundBenefitFrom18Months(const util::Period &onset, int type);
constexpr int kFundBenefitMonths = 18;
// The fund's share: 90 % for a work accident (21), 80 % otherwise.
double fundBenefitRate(int type);

// ЗДДФЛ art. 49: from the year 2009 the annual recomputation is the year's
// scale applied to the annual base, made for those who are the employer's
// on 31 December, and the income certificate states its result. The years
// to 2008 keep the twelve monthly averages of the older program.
bool annualTaxByArticle49(int year);

// The income tax by its name in the month's documents: "ДДФЛ" (the tax of
// ЗДДФЛ) from 2008, "ДОД" before.
QString incomeTaxName(const util::Period &period);

} // namespace plavex::calc
