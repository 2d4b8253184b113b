#pragma once

#include "declarations/Empl2000Record.h"
#include "reference/Company.h"
#include "reference/Rates.h"
#include "util/Period.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

namespace plavex::util {
class Prompter;
}

namespace plavex::calc {
struct Parameters;
}

namespace plavex::declarations {

// A row of the columns a declaration line reads, as the query gave them;
// a column it lacks (no monthly record yet) reads as a null value.
class Declaration1Row {
public:
    Declaration1Row() = default;
    Declaration1Row(const char *const *columns, int count) : columns_(columns), values_(count) {}
    // `skip` leaves out the first characters of the row's names (a table's prefix).
    QVariant value(const char *column, size_t skip = 0) const;
    QVariantList &values() { return values_; }

private:
    const char *const *columns_ = nullptr;
    QVariantList values_;
};

// What one employee's line is made of, read from the period's tables.
struct Declaration1Input {
    Declaration1Row person; // from the PERSONS row
    Declaration1Row month;  // from the employee's PERSDATA row of the period (empty: zeros)
    const reference::NoiType *rate = nullptr;
    int calendarWorkingDays = 0;
    QString town;
    QString region;
    int category = 0;      // DL_KSTEPEN of the position, 0 when not found
    QStringList dependants; // at most six personal numbers
    int employerSickItems = 0; // items of type 20
};

// "ИВАН ПЕТРОВ ГЕОРГИЕВ" -> family "ГЕОРГИЕВ", initials "ИП"; a third word
// is needed for a family name.
void nameParts(const QString &name, QString &family, QString &initials);

// The record of one line; the hours as computed go to `hours`.
Empl2000Record buildRecord(const util::Period &period, const reference::Company &company, const Declaration1Input &input,
                           LineHours &hours);

// Writes "EMPL2000.TXT" into the folder for the current period: every active
// employee, everyone recalculated first (with `params`; without, the months
// as stored), one line each; with `store`, each line is also kept as the
// month's first declaration. The file appears only when it is complete.
// Returns the path, or an empty text after the message.
QString exportDeclaration1(storage::DataModule &data, const QString &folder, bool store, calc::Parameters *params,
                           util::Prompter &prompter);

// The unsent corrections of the employees (of one month, or of every month
// when none is given) as "EMPL2000.TXT" in the folder; the path, or empty
// when there was nothing to write.
QString exportCorrections(storage::DataModule &data, const QString &folder, const QList<int> &personIds,
                          std::optional<util::Period> month, util::Prompter &prompter);

// "Корекция": a copy of the stored row as a new, unsent correction; its id.
int makeCorrection(storage::DataModule &data, int recordId);
// Removes a correction; a month's first declaration is never removed here.
bool deleteCorrection(storage::DataModule &data, int recordId);

} // namespace plavex::declarations
