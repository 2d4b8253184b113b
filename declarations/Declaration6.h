#pragma once

#include "reference/Company.h"
#include "util/Period.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::calc {
struct Parameters;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::reference {
struct NoiType;
}

namespace plavex::declarations {

// An insurance-type pair (PERSON_NOS, PERSON_NOSN) of the active employees.
struct InsurancePair {
    QString type;
    int variant = 0;
};
// The pairs of the period's active employees (of one unit), as the database returns them.
std::vector<InsurancePair> insurancePairs(storage::DataModule &data, std::optional<int> unit = std::nullopt);
// The pair's own rate row; nullptr without one (no fallback to another type).
const reference::NoiType *pairRate(const std::vector<reference::NoiType> &rates, const InsurancePair &pair);

// The age groups the contributions are split by; Both is the pair whole.
enum class AgeGroup { Before1960, After1959, Both };
// The condition on PERSONS for the pair, the group and the unit, with its values.
QString pairCondition(const InsurancePair &pair, AgeGroup group, std::optional<int> unit, QVariantList &values);
// Month-record columns summed over each pair's active employees (of one
// unit) by age group, also over those of the guaranteed-receivables fund
// (PERSON_GARVZ=1) alone: read in one statement, added up exactly.
class PairSums {
public:
    PairSums(storage::DataModule &data, const QStringList &columns, std::optional<int> unit = std::nullopt);
    double sum(const InsurancePair &pair, AgeGroup group, const QString &column, bool fundOnly = false) const;

private:
    struct Row {
        QString type;
        int variant = 0;
        AgeGroup group = AgeGroup::Both; // Both: in neither group
        bool fund = false;
        std::vector<qint64> mills; // per column
    };
    QStringList columns_;
    std::vector<Row> rows_;
};

// One insurance-type pair's contributions for the month (the table the
// declaration-6 file and the budget payment orders read).
struct RecapBottom {
    QString insuredType; // PERSON_NOS
    int variant = 0;     // PERSON_NOSN
    std::array<double, 6> a{};  // social security: pension, sickness, unemployment, social, accident
    std::array<double, 2> b{};  // additional pension
    std::array<double, 11> h{}; // health
    double d1 = 0.0;            // guaranteed receivables
};

// Rebuilds the table for the current period from the month's records.
std::vector<RecapBottom> buildContributionTable(storage::DataModule &data);

struct Declaration6Totals {
    double a = 0.0;
    double b = 0.0;
    double h = 0.0;
    double d = 0.0;
    double tax = 0.0;
};
// Each term rounded to two decimals, then added up by fund.
Declaration6Totals totalsOf(const std::vector<RecapBottom> &table);

// "dd/mm/yyyy": the stored payment date, else the 15th of the next month.
QString paymentDate(const util::Period &period, const QDate &stored);
// The one line of the file, without its end.
QString declaration6Line(const reference::Company &company, const util::Period &period, const Declaration6Totals &totals);
QString declaration6FileName(const QString &bulstat);

// Writes "NRA62007_" + BULSTAT + ".TXT" in the folder after recalculating
// everyone (with `params`; without, the months as stored); the line ends
// with CR LF and the file with one 0x1A byte. The path, or empty after the
// message.
QString exportDeclaration6(storage::DataModule &data, const QString &folder, calc::Parameters *params,
                           util::Prompter &prompter);

} // namespace plavex::declarations
