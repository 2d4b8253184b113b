#pragma once

#include <QString>
#include <QStringView>

namespace plavex::util {

// Numbers to and from the text of files, SQL and printed columns: a full
// stop as decimal point whatever the locale. None of these throws.

// The number at the start of the trimmed text, sign included ("12abc" is 12);
// 0 when there is none or it does not fit.
int textToInt(QStringView text);
double textToFloat(QStringView text);

// Exactly `decimals` decimals, right-aligned in `width` (nothing cut when
// longer). A value that rounds to zero has no minus sign.
QString fixedNumber(double value, int width, int decimals);

QString rightAligned(long long value, int width); // blanks on the left
QString zeroPadded(long long value, int width);   // "0" on the left, after any "-"

// The smaller of the two, the first when they are equal.
inline double minimum(double a, double b) { return b < a ? b : a; }

} // namespace plavex::util
