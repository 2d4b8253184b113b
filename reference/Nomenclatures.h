#pragma once

#include <QString>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reference {

// A position as the calculation holds it: its minimum insurable income is
// the limit of its category.
struct Position {
    int code = 0;
    QString name;
    double minLimit = 0.0;
};

// At least one record, even for an empty table.
std::vector<Position> loadPositions(storage::DataModule &data);

// The names the employee card shows beside a code: of a position (DL), a
// unit (ZVENA) or a town (GRAD); empty for a code the table does not have.
enum class Named { Position, Unit, Town };
QString nameOf(storage::DataModule &data, Named kind, int code);

// The sequence number of an activity code, trimmed; empty when unknown.
QString activityNumberOf(storage::DataModule &data, const QString &code);

// The checks of the town, unit and position forms. Each returns the message
// to show, empty when the entry may be stored.
QString checkTown(const QString &name);
QString checkUnit(const QString &code, const QString &name);
QString checkUnitCode(storage::DataModule &data, const QString &code);
QString checkPosition(const QString &code, const QString &name, const QString &category, const QString &activity,
                      const QString &activityNumber);
// Only a code different from the one the form opened with is looked up.
QString checkPositionCode(storage::DataModule &data, const QString &code, const QString &original);

// New rows take the largest code + 1; the code is returned.
int addTown(storage::DataModule &data, const QString &name, int regionCode);
int addUnit(storage::DataModule &data, const QString &name, int distributionCode);
int addPosition(storage::DataModule &data, const QString &name, int category, const QString &activity, int activityNumber);

// Choosing a category resets the activity number until an activity is chosen.
void setPositionCategory(storage::DataModule &data, int code, int category);
void setPositionActivity(storage::DataModule &data, int code, const QString &activity, int activityNumber);

// Replaces the current year's service nomenclatures from noms/: empties
// them, reloads tax scale, activities, minimum incomes, accounts, rates and
// budget numbers, refreshes the positions' minimum incomes and reopens the period.
void replaceServiceNomenclatures(storage::DataModule &data);

} // namespace plavex::reference
