#include "util/Period.h"

namespace plavex::util {

Period::Period(int year, int month) : year_(year), month_(month) {}

std::optional<Period> Period::fromText(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() != 6)
        return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int month = t.left(2).toInt();
    const int year = t.mid(2).toInt();
    Period p(year, month);
    if (!p.isValid())
        return std::nullopt;
    return p;
}

QString Period::rangeMessage()
{
    return QStringLiteral("Месецът трябва да е от %1 до %2 г.").arg(kFirstYear).arg(kLastYear);
}

Period Period::fromDate(const QDate &date) { return Period(date.year(), date.month()); }

Period Period::today() { return fromDate(QDate::currentDate()); }

QString Period::text() const
{
    return QStringLiteral("%1%2").arg(month_, 2, 10, QLatin1Char('0')).arg(year_, 4, 10, QLatin1Char('0'));
}

QString Period::yearText() const { return QStringLiteral("%1").arg(year_, 4, 10, QLatin1Char('0')); }

QDate Period::firstDay() const { return QDate(year_, month_, 1); }

Period Period::next() const { return month_ == 12 ? Period(year_ + 1, 1) : Period(year_, month_ + 1); }

Period Period::previous() const { return month_ == 1 ? Period(year_ - 1, 12) : Period(year_, month_ - 1); }

std::array<std::uint8_t, 3> Period::bytes() const
{
    return {static_cast<std::uint8_t>(year_ - 1900), static_cast<std::uint8_t>(month_), 0};
}

} // namespace plavex::util
