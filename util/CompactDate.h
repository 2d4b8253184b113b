#pragma once

#include <QDate>
#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

namespace plavex::util {

// A date in three bytes: year - 1900, month 1-12, day 0-31. Day 0 means the
// month as a whole; all three 0 means no date. Dates compare byte by byte,
// year first.
struct CompactDate {
    std::uint8_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;

    bool isEmpty() const { return year == 0 && month == 0 && day == 0; }

    // DDMMYY, the year as (year - 1900) mod 100.
    QString sixDigits() const;

    // The first of the month for day 0; an invalid QDate when the bytes name
    // no real day (no date, 31 February).
    QDate toDate() const;

    // "ddmmyyyy": day 0-31, month 1-12, a four-digit year. Years 0000-0049
    // read as 2000-2049, 0050-0099 as 1950-1999; 1001-1899 and years that
    // do not fit the year byte (beyond 2155) are invalid.
    static std::optional<CompactDate> fromEightDigits(QStringView text);

    // All zero for a null date or one the year byte cannot hold.
    static CompactDate fromDate(const QDate &date);

    friend bool operator==(const CompactDate &, const CompactDate &) = default;
    friend auto operator<=>(const CompactDate &, const CompactDate &) = default;
};

} // namespace plavex::util
