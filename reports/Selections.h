#pragma once

#include "reports/ReportKind.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

// What the two shared selection dialogs show and check.

struct NumberedName {
    int number = 0;
    QString name;
    int id = 0; // the employee's id (0 for a unit)
};

// The active employees by number, as the number range dialog lists them.
std::vector<NumberedName> activeEmployees(storage::DataModule &data);
// First and last active number; both 0 without active employees.
std::pair<int, int> defaultRange(const std::vector<NumberedName> &employees);
// The message that keeps the dialog open, empty when it may close.
QString checkRange(const QString &from, const QString &to);

// "Пълна", "Обща", "На звено", ... in order; a type is its position + 1.
QStringList recapTypeNames();
// The units with a name, as the recapitulation dialog offers them.
std::vector<NumberedName> namedUnits(storage::DataModule &data);
QString checkRecapType(RecapType type, const QString &unitText);

} // namespace plavex::reports
