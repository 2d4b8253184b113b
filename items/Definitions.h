#pragma once

#include <QString>

#include <array>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::items {

// An item definition as the calculation reads it: code, type, name (30
// characters) and the ten yes/no characteristics.
struct Definition {
    int code = 0;
    int type = 0;
    QString name;
    QString hars = QStringLiteral("0000000000");
    std::array<bool, 11> flags{}; // [1..10]

    bool flag(int position) const { return position >= 1 && position <= 10 && flags[static_cast<size_t>(position)]; }
};

// Pads a flag text with "0" to at least ten characters (NULL gives ten "0").
QString padFlags(const QString &hars);
Definition makeDefinition(int code, int type, const QString &name, const QString &hars);

// The cache: every definition of the period, in table order.
std::vector<Definition> loadDefinitions(storage::DataModule &data);
// The first definition with the code; the first of all when none has it.
const Definition &findDefinition(const std::vector<Definition> &cache, int code);

// Caption of check box `position` on the definition form.
QString flagCaption(int type, int position);
// "д" for a set flag, "н" otherwise, as the list's h1..h10 columns show it.
QString flagMark(const QString &hars, int position);

// Every item of the code in the current month follows the definition's type.
void setTypeOfItems(storage::DataModule &data, int code, int type);
// The type of a code, 0 when the period has no such definition.
int definitionType(storage::DataModule &data, int code);

// "Ново": rows left without a type by an interrupted entry go first.
void removeUnfinishedDefinitions(storage::DataModule &data);
// The message for a new code, empty when it may be used.
QString checkNewCode(storage::DataModule &data, const QString &code);
void addDefinition(storage::DataModule &data, const Definition &definition);
// "Редакция": a changed type carries over to the month's items of the code.
void editDefinition(storage::DataModule &data, int code, int oldType, const Definition &definition);
// "Изтриване": asks first; refused while items of that code and type exist.
bool deleteDefinition(storage::DataModule &data, int code, util::Prompter &prompter);

// Definitions a picker offers: of the type (or any but the totals for 0),
// named, by code.
std::vector<Definition> pickerDefinitions(storage::DataModule &data, int type);
// The list form in picker mode hides the totals and type 101.
bool shownInPicker(const Definition &definition);

} // namespace plavex::items
