#pragma once

#include "reference/TaxScale.h"
#include "util/Period.h"

#include <QString>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::items {
struct Definition;
}

namespace plavex::calc {

// One employee's monthly records of a calendar year, summed: what the
// income certificate prints.
struct YearSums {
    double taxable = 0;       // PERSDATA_SOBL
    double supplementary = 0; // PERSDATA_SUDZPO
    double social = 0;        // PERSDATA_WSDOOLI
    double fund = 0;          // PERSDATA_SUPKB
    double health = 0;        // PERSDATA_SUZDR
    double tax = 0;           // PERSDATA_SDOD
    double contributions() const { return social + fund + supplementary + health; }
    double income() const { return taxable + contributions(); }
    double socialAndFund() const { return social + fund; }
};
// Every record of the year counts, whatever month a certificate ends in.
YearSums yearSums(storage::DataModule &data, int personId, int year);

// The annual recomputation of the income tax.
// The year it recomputes: in January the previous one, in December the
// current one, in other months none.
std::optional<int> annualTaxYear(const util::Period &period);
// The yearly child relief by the number of children.
double childRelief(int children);
// The recomputed tax of the year after the relief: the one figure the
// annual table and the income certificate state. From 2009 (ЗДДФЛ art. 49)
// the year's scale applied to the annual base, rounded once to the cent:
// on a flat year exactly the rate of the base. To 2008 twelve times the
// monthly tax of the year's average, as the program always had it.
double recomputedTax(const reference::TaxScale &scale, int year, double taxable, double relief);

// The definition of the deduction that receives the differences.
QString annualTaxItemName(); // "Годишно преизчисляване на ДДФЛ"
// The first type-145 definition with that name, if the month has one.
std::optional<int> annualTaxItemCode(const std::vector<items::Definition> &definitions);

struct AnnualTaxRow {
    int personId = 0;
    QString number; // empty for an employee no longer active
    QString name;
    double taxable = 0;  // SOBL of the year
    double withheld = 0; // SDOD of the year
    double relief = 0;
    double recomputed = 0; // reclcdod
    double difference = 0; // topay: recomputed − withheld
};
// The employees of the current period with records in the year, by id:
// to 2008 all of them (those no longer active without number and name);
// from 2009 only those who are the company's on 31 December of the year
// (hired by then, not left by then: art. 49 (1)), each with number and name.
std::vector<AnnualTaxRow> annualTaxRows(storage::DataModule &data, int year);
// One employee's row of the year, whoever he is (for his certificate).
AnnualTaxRow annualTaxRowOf(storage::DataModule &data, int personId, int year);
// Whether the year's difference was stored for the employee: an item of
// the dedicated deduction in December of the year or the January after.
bool annualTaxDifferenceInserted(storage::DataModule &data, int personId, int year);

} // namespace plavex::calc
