#pragma once

#include <QChar>
#include <QDate>
#include <QString>

namespace plavex::util {

// Dates as the user sees and types them: day, month, four-digit year joined
// by the locale's date separator.
QString displayDateFormat(QChar dateSeparator); // QDate format "dd.MM.yyyy"
QString monthFormat(QChar dateSeparator);       // "MM.yyyy"

// Dates on printed documents, whatever the locale: "03.12.2025".
QString documentDate(const QDate &date);
// A count of days with its word: "1 ден", "2 дни".
QString daysText(int days);

// What a date field that must hold a value holds when it has none.
QDate emptyDate(); // 31 December 1899
QString emptyDateText(QChar dateSeparator);

// Reads "ddmmyyyy" (see CompactDate::fromEightDigits) and returns the date.
// `text` is rewritten as a date literal the database reads in any locale:
// dd.mm.yyyy with a "." separator, mm/dd/yyyy order with any other. On
// failure (bad text, day 0, 31 February) `text` is emptied and the result
// is emptyDate().
QDate dateFromEightDigits(QString &text, QChar dateSeparator);

} // namespace plavex::util
