#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace plavex::util {

// A payroll month. The program names its tables after it (MMYYYY) and keeps
// it as three bytes (year - 1900, month, day 0) where the older code paths
// compare compact dates.
class Period {
public:
    Period() = default;
    Period(int year, int month);

    // "MMYYYY"; nothing for anything else (wrong length, letters, month 0 or 13).
    static std::optional<Period> fromText(QStringView text);
    static Period fromDate(const QDate &date);
    static Period today();

    // Payroll months of the years the program keeps: 1990 to 2099.
    static constexpr int kFirstYear = 1990;
    static constexpr int kLastYear = 2099;
    bool isValid() const { return month_ >= 1 && month_ <= 12 && year_ >= kFirstYear && year_ <= kLastYear; }
    // "Годините са от 1990 до 2099." for a period that is not valid.
    static QString rangeMessage();
    int year() const { return year_; }
    int month() const { return month_; }

    QString text() const;      // MMYYYY
    QString yearText() const;  // YYYY
    QDate firstDay() const;
    int daysInMonth() const { return firstDay().daysInMonth(); }
    Period next() const;
    Period previous() const;
    std::array<std::uint8_t, 3> bytes() const;

    friend bool operator==(const Period &, const Period &) = default;
    friend auto operator<=>(const Period &a, const Period &b) { return a.key() <=> b.key(); }

private:
    int key() const { return year_ * 12 + (month_ - 1); }
    int year_ = 0;
    int month_ = 0;
};

} // namespace plavex::util
