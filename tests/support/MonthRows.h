#pragma once

#include <QVariantMap>

namespace plavex::storage {
class DataModule;
}

namespace plavex::test {

// Rows written straight into the current month's tables, as the program
// leaves them: only the columns given, the rest as the table's defaults.
void insertEmployee(storage::DataModule &d, const QVariantMap &columns);
// An item with a new id (the largest + 1), which is returned.
int insertItem(storage::DataModule &d, int person, int code, int type, const QVariantMap &columns = {});
// The three totals every employee's month has: 1000/100, 2000/200, 2010/201.
void insertTotals(storage::DataModule &d, int person);

} // namespace plavex::test
