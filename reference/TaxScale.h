#pragma once

#include <QString>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reference {

// One bracket: from the lower limit up, the fixed sum plus the rate (a
// fraction) of the part above the limit.
struct TaxBracket {
    double limit = 0.0;
    double sum = 0.0;
    double rate = 0.0;
};
using TaxScale = std::vector<TaxBracket>;

// Brackets of a DOD table in ascending lower limit.
TaxScale loadTaxScale(storage::DataModule &data, const QString &table);

// The monthly tax of the period's year: from 2008 on the flat first row
// alone; before, the bracket walk (0 below the first limit).
double taxOfYear(const TaxScale &scale, int year, double amount, int decimals);

// The bracket walk on any year's table; a table of fewer than two rows gives 0.
double taxFromTable(const TaxScale &scale, double amount, int decimals);

// Upkeep of the current year's table. Rows have no key of their own: a row
// is named by its lower limit.
void addTaxBracket(storage::DataModule &data, const TaxBracket &bracket);
void editTaxBracket(storage::DataModule &data, double oldLimit, const TaxBracket &bracket);
void deleteTaxBracket(storage::DataModule &data, double limit);

} // namespace plavex::reference
