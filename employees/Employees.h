#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::employees {

// What "Нов служител" asks for.
struct NewEmployee {
    QString number;
    QString name;
    QString egn;
};

// The checks of the new-employee dialog: the message, or empty when fine.
QString checkNewEmployee(const NewEmployee &entry);
QString checkNewNumber(storage::DataModule &data, const QString &number);
QString checkNewEgn(const QString &egn);
// The panel's check on leaving the ЕГН field: an ЕГН or a ЛНЧ.
QString checkPanelEgn(const QString &egn);

// 1 (male) for a ninth digit of 0 or even, 2 (female) for odd.
int sexFromEgn(const QString &egn);

// A row of the employee list.
struct EmployeeRow {
    int id = 0;
    int number = 0;
    QString name;
    int unit = 0;
    bool active = true;
    QString egn;
};
std::vector<EmployeeRow> listEmployees(storage::DataModule &data, bool activeOnly = false);
std::optional<QVariantMap> employeeRow(storage::DataModule &data, int id);
std::optional<int> idByNumber(storage::DataModule &data, int number);

// The columns of the employee row that the panel lets a user edit after
// "Нов" (not the id, the number, the name or the ЕГН, which "Нов" itself
// asks for and checks).
std::span<const char *const> panelColumns();
// Each column must be one of the panel's and its value must fit the column:
// the message for the first that does not, naming the field; empty when all do.
QString checkPanelFields(const QVariantMap &columns);
// The accounts and the mail address of the employee row as typed: an IBAN
// (benefits or salary) without its blanks and in capitals, a BIC in
// capitals; other columns as they are.
QVariant normalizedField(const QString &column, const QVariant &value);
// An IBAN whose check digits are wrong, a BIC or a mail address that is not
// one: the message; empty for a blank value or any other column.
QString checkPersonField(const QString &column, const QVariant &value);

// The calculation, reached through one function (set by the calculation layer).
using Recalculate = std::function<void(storage::DataModule &, int personId)>;

// The employee panel's commands: "Нов" (with the four standard items and
// his contribution items),
// "Запис", "Отказ" (only the pending new employee), delete (only a
// dismissed employee, only this month), field edits.
class EmployeePanel {
public:
    EmployeePanel(storage::DataModule &data, int unitDivisor) : data_(data), unitDivisor_(unitDivisor) {}

    // The new id, or 0 after the message when a check fails. With fields
    // (the panel's columns and their values) the employee, the standard
    // items and the fields are one unit: a failure leaves nothing.
    int create(const NewEmployee &entry, util::Prompter &prompter, const QVariantMap &fields = {});
    // "Запис": the message when number, name or ЕГН is blank.
    QString save(int id);
    void cancel();
    bool remove(int id, util::Prompter &prompter);

    // Writes columns of the employee row (names checked against the catalogue).
    void post(int id, const QVariantMap &columns);

    bool pending() const { return pendingId_ != 0; }
    int pendingId() const { return pendingId_; }

private:
    storage::DataModule &data_;
    int unitDivisor_;
    int pendingId_ = 0;
};

// Quick search of the left panel: by number, or by a case-insensitive name
// prefix, then by a word of the name or an ЕГН prefix. The id found, or the
// message for an empty box or for nobody found by name.
struct SearchResult {
    std::optional<int> id;
    QString message;
};
SearchResult quickSearchByNumber(storage::DataModule &data, const QString &number);
SearchResult quickSearchByName(storage::DataModule &data, const QString &name);
// The employee window's search: number prefix and/or name prefix; when the
// name starts nobody's, a word of the name (the surname) or an ЕГН prefix.
std::vector<EmployeeRow> searchEmployees(storage::DataModule &data, const QString &number, const QString &name);
std::vector<EmployeeRow> searchEmployees(storage::DataModule &data, const QString &number, const QString &name,
                                         bool byWordOrEgn);

// Which controls of the panel take input.
struct EditRules {
    bool editable = false;     // fields, lookups, lists, check boxes, item buttons, "Запис", "Отказ"
    bool deleteEnabled = false; // the delete button and popup entry
};
EditRules editRules(bool pendingNew, bool active);

// The two contribution lines under "Процент ДОО" for a rate row and an ЕГН.
std::pair<QString, QString> contributionLabels(const QVariantMap &rate, const QString &egn);

// The 37 insurance types of the panel's list: code and text.
struct InsuranceType {
    const char *code;
    const char *text;
};
std::span<const InsuranceType> insuranceTypes();

// After the selection moves: the screen rates and, with autocalc on, the
// calculation; errors of this step are swallowed so browsing always works.
void refreshSelection(storage::DataModule &data, int id, const Recalculate &recalculate);

} // namespace plavex::employees
