#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::employees {

// The nomenclature chooser: towns, units, positions, the tax scale, employees.
enum class ChooserKind { Towns = 1, Units = 2, Positions = 3, TaxScale = 4, Employees = 5 };

QString chooserCaption(ChooserKind kind);
// New, edit, delete and print are offered for every kind but the employees.
bool chooserEditable(ChooserKind kind);

struct ChooserRows {
    QStringList columns; // captions
    std::vector<QVariantList> rows; // the first value is the code "ОК" returns
};
ChooserRows chooserRows(storage::DataModule &data, ChooserKind kind);

// A new entry's code: the largest + 1 (the year for the tax scale).
int chooserNewCode(storage::DataModule &data, ChooserKind kind);
// "Изтриване" of the row with this code (for the tax scale, its lower limit).
void chooserDelete(storage::DataModule &data, ChooserKind kind, const QVariant &code);

} // namespace plavex::employees
