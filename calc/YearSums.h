#pragma once

#include "reference/TaxScale.h"
#include "util/Period.h"

#include <QString>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
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
// Twelve times the monthly tax of the year's average after the relief.
double recomputedTax(const reference::TaxScale &scale, int year, double taxable, double relief);

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
// Every employee of the current period with records in the year, by id.
std::vector<AnnualTaxRow> annualTaxRows(storage::DataModule &data, int year);

} // namespace plavex::calc
