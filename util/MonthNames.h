#pragma once

#include <QString>

namespace plavex::util {

// "Януари" .. "Декември" for 1..12; empty for anything else (a month
// column that holds 0 shows as empty).
QString monthName(int month);

} // namespace plavex::util
