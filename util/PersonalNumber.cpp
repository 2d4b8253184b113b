#include "util/PersonalNumber.h"

#include <array>
#include <optional>

namespace plavex::util {

namespace {

using Digits = std::array<int, 10>;

std::optional<Digits> tenDigits(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() != 10)
        return std::nullopt;
    Digits d{};
    for (int i = 0; i < 10; ++i) {
        if (t[i] < u'0' || t[i] > u'9')
            return std::nullopt;
        d[i] = t[i].unicode() - u'0';
    }
    return d;
}

bool checkDigitMatches(const Digits &d, const std::array<int, 9> &weights)
{
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += weights[i] * d[i];
    return (sum % 11) % 10 == d[9];
}

} // namespace

bool isValidEgn(QStringView text)
{
    const auto d = tenDigits(text);
    if (!d)
        return false;
    // Month 1-12 for births in the 1900s, +20 for the 1800s, +40 for the
    // 2000s; only the last range has its day checked.
    const int month = 10 * (*d)[2] + (*d)[3];
    const int day = 10 * (*d)[4] + (*d)[5];
    const bool oldCentury = (month >= 1 && month <= 12) || (month >= 21 && month <= 32);
    if (!oldCentury && !(month >= 41 && month <= 52 && day >= 1 && day <= 31))
        return false;
    return checkDigitMatches(*d, {2, 4, 8, 5, 10, 9, 7, 3, 6});
}

bool isValidLnch(QStringView text)
{
    const auto d = tenDigits(text);
    return d && checkDigitMatches(*d, {21, 19, 17, 13, 11, 9, 7, 3, 1});
}

} // namespace plavex::util
