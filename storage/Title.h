#pragma once

#include <QString>

namespace plavex::util {
class Period;
}

namespace plavex::storage {

class DataModule;

// "декември 2007": the period as the window caption shows it.
QString periodCaption(const util::Period &period);

// "Plavex V1.00 - декември 2007 - Фирма    12 души"; without the employee
// count when the company row alone changed.
QString mainTitle(DataModule &data, bool withEmployeeCount = true);

} // namespace plavex::storage
