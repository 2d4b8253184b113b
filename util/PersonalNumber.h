#pragma once

#include <QStringView>

namespace plavex::util {

// Check digits of the Bulgarian personal numbers. Both take exactly ten
// digits (blanks around them are ignored); anything else is invalid.
bool isValidEgn(QStringView text);  // ЕГН, citizens
bool isValidLnch(QStringView text); // ЛНЧ, foreigners

} // namespace plavex::util
