#pragma once

#include "util/Period.h"

#include <QString>
#include <QStringList>

namespace plavex::fb {
class Transaction;
}

namespace plavex::operations {

// How an amount is taken into euro at the change-over.
enum class EuroRule {
    None,       // not money: a percentage, days, hours, points, a count
    RoundingUp, // pay, benefits, what is owed to the employee
    HalfUp,     // everything else
};
double toEuro(double leva, EuroRule rule);

// The rules for the amounts an item of a type carries. `computed` covers
// PERO_SUMA, PERO_SUMAKOR and PERO_SUMAFINAL, which are money for every
// type (the recalculation of the new month writes them anew, except the
// total left of type 143, which is an input).
struct ItemMoney {
    EuroRule amount1 = EuroRule::None; // PERO_SUMA1
    EuroRule amount2 = EuroRule::None; // PERO_SUMA2
    EuroRule computed = EuroRule::None;
};
// `paySystem` matters for type 1 only: on hourly pay its second amount is hours.
ItemMoney itemMoney(int type, int paySystem);

// How an amount of the company row goes into euro: the minimum wage and the
// maternity benefit are pay; the limits and the rest round half up; a
// column that is no amount (a percentage) stays.
EuroRule companyAmountRule(QStringView column);

// True for the closing that carries a month in leva into a month in euro.
bool isEuroChangeover(const util::Period &oldMonth, const util::Period &newMonth);

// Converts what the closing carried into `newMonth` (its items, company
// row, categories' limits, the minimum-income annex when the year has none
// of its own, the employees' recomputed annual tax) inside the caller's
// unit of work. Returns the conversion list's lines: one per amount that
// was typed in, not those the calculation writes.
QStringList convertCarriedMonthToEuro(fb::Transaction &tx, const util::Period &oldMonth, const util::Period &newMonth);

// The name of the list in the program folder.
inline constexpr const char *kEuroListFile = "EURO.TXT";

} // namespace plavex::operations
