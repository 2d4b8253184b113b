#pragma once

#include <QString>

namespace plavex::util {

// Bulgarian Cyrillic in Latin letters by the Transliteration Act (ДВ бр.
// 19/2009): "Щ" "Sht", "Ъ" "A", "Ю" "Yu", "ия" at the end of a word "ia",
// and "България" "Bulgaria". A letter of a word in capitals stays in
// capitals ("ЩЕРЕВ" "SHTEREV").
// Other characters are kept.
QString transliterate(const QString &text);

// A text for a SEPA file: transliterated, then kept to the EPC's Latin
// character set (letters, digits, "/-?:().,'+" and the space): quotation
// marks become "'", "&" becomes "+", anything else a blank; blanks are
// collapsed and the text is cut to `maxLength`.
QString epcText(const QString &text, int maxLength);

} // namespace plavex::util
