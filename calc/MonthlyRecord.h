#pragma once

#include "calc/History.h"
#include "calc/Totals.h"
#include "util/Period.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::fb {
class Statement;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::calc {

// The employee's row of PERSDATA for a period: inserted at the first
// calculation, overwritten by every later one. The statements are prepared
// once and reused for a walk over all employees.
class SummaryWriter {
public:
    explicit SummaryWriter(storage::DataModule &data);
    ~SummaryWriter();

    // The period's stored rows read at once, for a walk over every
    // employee; needsWrite then reads no more for that period. Each row read
    // is handed to `eachRow` too: its first columns are DatabaseHistory's,
    // so the walk takes the month's history from the same read. Room for
    // `expectedRows` is made at once.
    void preload(const util::Period &period, const std::function<void(const fb::Statement &)> &eachRow = {},
                 size_t expectedRows = 0);
    // Whether the stored row differs from the totals (or is missing).
    bool needsWrite(const Totals &totals, const util::Period &period);
    // Inserts or updates the row (needsWrite just before for the same
    // employee spares reading it again).
    void save(const Totals &totals, const util::Period &period);

    // The written columns in the order of the insert statement.
    static const QStringList &columns();
    // The values of those columns as stored: day counts whole, amounts in cents.
    static QVariantList values(const Totals &totals, const util::Period &period);
    // The columns a stored row is read by: DatabaseHistory's first, in its
    // order, then the rest of the written ones; and where each written
    // value after the key stands among them.
    static const QStringList &readColumns();
    static const std::vector<int> &fieldColumns();

private:
    storage::DataModule &data_;
    std::unique_ptr<fb::Statement> select_;
    std::unique_ptr<fb::Statement> insert_;
    std::unique_ptr<fb::Statement> update_;
    std::optional<bool> exists_; // of the row the last needsWrite read
    int existsFor_ = -1;
    std::optional<util::Period> preloaded_;
    // The preloaded rows' values after the key, one stretch per employee.
    std::vector<double> stored_;
    std::unordered_map<int, size_t> storedAt_;
};

// Saves one employee's row at once (prefer SummaryWriter for many).
void savePeriodSummary(storage::DataModule &data, const Totals &totals);

// The earlier-months list of an employee, newest first.
std::vector<HistoryRow> earlierMonths(storage::DataModule &data, int personId);
// "Добавяне на запис": a row with only the employee, year and month; a
// month that is there already gives the message and adds nothing.
bool addEarlierMonth(storage::DataModule &data, util::Prompter &prompter, int personId, const util::Period &period);
// "Изтриване на запис", after the question.
bool deleteEarlierMonth(storage::DataModule &data, util::Prompter &prompter, int personId, const util::Period &period);
// A row of the list edited in the grid; the employee, year and month are
// the key and never change.
void updateEarlierMonth(storage::DataModule &data, const HistoryRow &row);

// Sums over PERSDATA of the current period's active employees, for the
// recapitulation, payment orders and declaration 6.
// Worked days of the employees who carry the item code.
double workedDaysOfCode(storage::DataModule &data, int code);
// One column; `condition` (with "?" markers for `values`) narrows PERSONS.
double sumOfActive(storage::DataModule &data, const QString &column, const QString &condition = {},
                   const QVariantList &values = {});
struct BaseSums {
    double taxBase = 0;   // SUM(PERSDATA_SOBL)
    double absences = 0;  // SUM(PERSDATA_SDOO)
    double insurable = 0; // SUM(PERSDATA_WCOSUMA)
};
BaseSums baseSums(storage::DataModule &data, std::optional<int> unit = std::nullopt);

} // namespace plavex::calc
