#pragma once

// The formulas of the item types, one function per family of types, for
// evaluateItem alone. Each sets the item's amount and its own totals; the
// accumulation common to all types stays with evaluateItem.

#include "calc/Evaluation.h"

namespace plavex::items {
struct Definition;
}

namespace plavex::calc::families {

// Formulas are worked out in extended precision and stored as doubles.
using Real = long double;

inline int monthKey(const util::CompactDate &date) { return date.year * 12 + date.month; } // 0 for no date
inline int monthKey(const util::Period &period) { return (period.year() - 1900) * 12 + period.month(); }

// `full` is the item's amount for a whole month worked, which the
// service-leave base takes; a formula that leaves it alone means 0.

// 1, 2: the month's base pay; the item becomes the base item.
void basePay(Context &c, items::ItemRecord &item, double &full);
// 3, 5, 7, 35, 52: a percent of the base pay, of its hours or of the base rate.
void percentOfPay(Context &c, items::ItemRecord &item, const items::Definition &def, double &full);
// 4, 8, 10, 16, 17, 19, 29, 32, 34: an amount that follows the days worked
// (or insured).
void proportionalToDays(Context &c, items::ItemRecord &item, const items::Definition &def, double &full);
// 6, 9, 18, 30, 31, 33, 37: an earning as entered.
void enteredEarning(Context &c, items::ItemRecord &item, const items::Definition &def, double &full);
// 11–15: paid leave from its base; unpaid leave only counts days.
void leave(Context &c, items::ItemRecord &item);
// 20: the sick days the employer pays, by the law of the month they began.
void employerSickDays(Context &c, items::ItemRecord &item, const items::Definition &def);
// 21, 25, 26: the sickness benefit, a share of the six months' average.
void sicknessBenefit(Context &c, items::ItemRecord &item, const items::Definition &def);
// 22, 23, 24, 27: absences paid by the institute; only their days count here.
void absenceDays(Context &c, const items::ItemRecord &item, const items::Definition &def);
// 101, 141–147, 150, 151, 153, 155: a deduction as entered or a percent of a total.
void deduction(Context &c, items::ItemRecord &item, const items::Definition &def);
// 148, 197: last month's retained cents back, this month's kept.
void retainedCentsItem(Context &c, items::ItemRecord &item);
// 100, 199, 200, 201: the totals of the month so far.
void total(Context &c, items::ItemRecord &item);
// 198: a correction of a sickness item also counts towards WDOO22; its
// amount went onto the target's correction before evaluation.
void correction(Context &c, const items::ItemRecord &item);

} // namespace plavex::calc::families
