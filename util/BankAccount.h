#pragma once

#include <QString>

namespace plavex::util {

// An IBAN as typed, without blanks and in capitals.
QString compactIban(const QString &text);
// ISO 13616: country letters, two check digits, at most 30 letters or digits
// (22 in all for Bulgaria), and the ISO 7064 mod 97-10 remainder 1.
bool isValidIban(const QString &text);
// The IBAN of a country and a domestic account number, with the check
// digits ISO 7064 gives them.
QString ibanWithCheckDigits(const QString &country, const QString &account);
// ISO 9362: four letters or digits for the bank, two letters for the
// country, two for the place, three more for a branch.
bool isValidBic(const QString &text);
// A mail address a server takes: one "@", a local part and a domain with a
// dot, nothing but printable ASCII and no blanks.
bool isValidEmail(const QString &text);

} // namespace plavex::util
