#include "util/CompactDate.h"

namespace plavex::util {

namespace {

std::optional<int> digitsValue(QStringView text)
{
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

} // namespace

QString CompactDate::sixDigits() const { return twoDigits(day) + twoDigits(month) + twoDigits(year % 100); }

QDate CompactDate::toDate() const
{
    if (isEmpty())
        return {};
    return QDate(1900 + year, month, day == 0 ? 1 : day);
}

std::optional<CompactDate> CompactDate::fromEightDigits(QStringView text)
{
    if (text.size() != 8)
        return std::nullopt;
    const auto day = digitsValue(text.mid(0, 2));
    const auto month = digitsValue(text.mid(2, 2));
    auto year = digitsValue(text.mid(4, 4));
    if (!day || !month || !year || *day > 31 || *month < 1 || *month > 12)
        return std::nullopt;
    if (*year < 50)
        *year += 100;
    else if (*year >= 1900)
        *year -= 1900;
    // What is left is the year byte; anything it cannot hold would wrap
    // round to another century.
    if (*year > 255)
        return std::nullopt;
    return CompactDate{static_cast<std::uint8_t>(*year), static_cast<std::uint8_t>(*month),
                       static_cast<std::uint8_t>(*day)};
}

CompactDate CompactDate::fromDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    return fromEightDigits(date.toString(QStringLiteral("ddMMyyyy"))).value_or(CompactDate{});
}

} // namespace plavex::util
