#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reference {

// One row of the rates table: an insured-person type and variant with its
// fund percentages and payment codes. Every column is kept (in table order)
// for the declarations and payment orders; the calculation reads the total.
struct NoiType {
    int type = 0;
    int variant = 0;
    QString name;
    double total = 0.0; // NOI_PROC
    QVariantList values;

    double percent(QStringView column) const; // NULL reads as 0
    QString code(QStringView column) const;
};

std::vector<NoiType> loadRates(storage::DataModule &data);

// The employee's row: type and variant (0 counts as 1); the table's first
// row when none matches; nullptr only for an empty table.
const NoiType *findRate(const std::vector<NoiType> &rates, int type, int variant);

// The columns of the regime after 1959 apply to a personal number that,
// compared as text, is greater than "6001010000", and to everybody born in
// 2000 or later, whose number starts with the year's last two digits and a
// month raised by 40 ("0541…"): as text those sort before 1960, yet they
// are the youngest of all. The age groups of the documents and declarations
// split the same way around "6000000000" (which is in neither).
bool bornAfter1959(const QString &egn);
bool bornBefore1960(const QString &egn);
// The same two groups as conditions on PERSON_EGN, for the sums.
QString sqlBornBefore1960();
QString sqlBornAfter1959();

// An employee's percentage of a contribution definition (type 139), chosen
// by the definition's flags from the columns of his regime: the one rule of
// the bulk correction and of a new employee's contribution items.
double contributionPercent(const NoiType &rate, const QString &flags, bool after1959);
// The supplementary pension (flag 5) is owed only by those born after 1959:
// the universal pension funds take nobody older.
bool contributionOwed(const QString &flags, bool after1959);

// The variant-1 row of the type for the employee panel; nothing when the
// period has no employees or the query fails.
std::optional<QVariantMap> screenRateRow(storage::DataModule &data, const QString &insuredType);

// Every position (or one) takes the company's activity, and each category
// used gets its limit from the minimum-income table; does nothing when the
// company's activity is blank.
void refreshMinimumIncome(storage::DataModule &data, const QString &activityCode, const QString &activityNumber,
                          std::optional<int> positionCode = std::nullopt);
// The same inside a caller's unit of work: neither commits nor raises the
// event. False when the activity is blank (nothing done).
bool updateMinimumIncome(storage::DataModule &data, const QString &activityCode, const QString &activityNumber,
                         std::optional<int> positionCode = std::nullopt);

struct Category {
    int code = 0;
    QString name;
    double limit = 0.0;
};
std::vector<Category> loadCategories(storage::DataModule &data);

} // namespace plavex::reference
