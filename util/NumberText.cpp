#include "util/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace plavex::util {

namespace {

// The leading run of characters a number can be made of, as Latin-1; the
// parsers below take the longest number at its start.
std::string numberPrefix(QStringView text)
{
    const QStringView t = text.trimmed();
    std::string out;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        const bool numeric = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' || u == u'e'
                             || u == u'E';
        if (!numeric)
            break;
        out += static_cast<char>(u);
    }
    return out;
}

// from_chars takes no leading "+"; drop it when a digit or point follows.
const char *skipPlus(const std::string &s)
{
    const char *p = s.data();
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+')
        ++p;
    return p;
}

QString padded(QString digits, int width, QChar fill)
{
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    const int body = width - (negative ? 1 : 0);
    if (digits.size() < body)
        digits.prepend(QString(body - digits.size(), fill));
    return negative ? QLatin1Char('-') + digits : digits;
}

} // namespace

int textToInt(QStringView text)
{
    const std::string s = numberPrefix(text);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(skipPlus(s), s.data() + s.size(), value);
    (void)ptr;
    return ec == std::errc() ? value : 0;
}

double textToFloat(QStringView text)
{
    const std::string s = numberPrefix(text);
    const char *first = skipPlus(s);
    // from_chars would also read "inf" and "nan"; those letters never reach
    // it, so only digits, point, sign and exponent are read here.
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), value, std::chars_format::general);
    (void)ptr;
    return ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

QString fixedNumber(double value, int width, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    // -0.001 to two decimals is "-0.00"; a column of amounts shows "0.00".
    const auto zeroDigit = [](QChar c) { return c == u'0' || c == u'.'; };
    if (text.startsWith(u'-') && std::all_of(text.cbegin() + 1, text.cend(), zeroDigit))
        text.remove(0, 1);
    return text.rightJustified(width, u' ');
}

QString rightAligned(long long value, int width) { return QString::number(value).rightJustified(width, u' '); }

QString zeroPadded(long long value, int width) { return padded(QString::number(value), width, u'0'); }

} // namespace plavex::util
