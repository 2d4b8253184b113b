#pragma once

#include "items/Definitions.h"
#include "items/ItemRecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::calc {
struct Parameters;
}

namespace plavex::operations {

// Each destructive operation asks through the prompter first and returns
// nothing when the answer is no or the input is refused (after the message).

// Deletes every item of the code in the month and recalculates all, in one
// unit of work. Returns the number of items deleted.
std::optional<int> deleteCodeFromAll(storage::DataModule &data, int code, util::Prompter &prompter,
                                     calc::Parameters &params);

// Gives the item (code and entry fields) to every active employee, with new
// ids counting up, and recalculates all, in one unit of work: a run cut off
// leaves nothing of itself. Types whose items have no columns of their own
// add nothing. Returns the number of items added.
std::optional<int> addItemToAll(storage::DataModule &data, const items::ItemRecord &item, util::Prompter &prompter,
                                calc::Parameters &params);

// The percentage change form: its lookup list, the old percentage a code
// proposes (that of its first item, 0 without items) and the check of the
// three fields (the message, empty when all are filled).
std::vector<items::Definition> percentDefinitions(storage::DataModule &data);
double firstPercent(storage::DataModule &data, int code);
QString checkPercentFields(const QString &code, const QString &oldPercent, const QString &newPercent);

// Sets the percentage of the code's items that hold exactly the old one
// (both to three decimals); others keep theirs. With `params` and automatic
// calculation on, everyone is recalculated in the same unit of work.
// Returns the number of items changed.
std::optional<int> changePercent(storage::DataModule &data, int code, double oldPercent, double newPercent,
                                 util::Prompter &prompter, calc::Parameters *params = nullptr);

// The contribution percentages of the items of type 139 set from the
// insurance rates: the first active employee born before 1960 and the first
// born after give each code they carry its percentage by the definition's
// flags, for every employee; a code both carry ends with the later group's.
struct PercentCorrection {
    int group = 0; // 1 or 2
    int code = 0;
    double percent = 0;
};
std::vector<PercentCorrection> correctPercents(storage::DataModule &data);

// "Тест червени остатъци": recalculates all, then lists the employees whose
// amount to pay (type 201) is negative.
struct NegativeNet {
    int personId = 0;
    int number = 0;
    QString name;
    double amount = 0;
};
std::vector<NegativeNet> negativeNets(storage::DataModule &data, calc::Parameters &params,
                                      util::Prompter *progress = nullptr);
QString noNegativeNets(); // "Няма намерени."

// A result list turned into items of a type-145 code: every item of the code
// is deleted, then each (employee, amount) gets one unless it has one.
// Refused (nothing) for a code that is not of type 145. With `params` and
// automatic calculation on, everyone is recalculated in the same unit.
struct EmployeeAmount {
    int personId = 0;
    double amount = 0;
};
std::optional<int> insertType145(storage::DataModule &data, int code, const std::vector<EmployeeAmount> &rows,
                                 util::Prompter &prompter, calc::Parameters *params = nullptr);

} // namespace plavex::operations
