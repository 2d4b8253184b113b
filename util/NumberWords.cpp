#include "util/NumberWords.h"

#include "util/Currency.h"

#include <array>
#include <cmath>

namespace plavex::util {

namespace {

const std::array<QString, 10> &unitWords()
{
    static const std::array<QString, 10> words = {
        QStringLiteral("нула"), QStringLiteral("един"),   QStringLiteral("два"),   QStringLiteral("три"),
        QStringLiteral("четири"), QStringLiteral("пет"),  QStringLiteral("шест"),  QStringLiteral("седем"),
        QStringLiteral("осем"), QStringLiteral("девет"),
    };
    return words;
}

enum class Gender { Masculine, Feminine, Neuter };

// Thousands are counted in the feminine ("една", "две"), the euro in the
// neuter ("едно", "две").
QString unitWord(int digit, Gender gender)
{
    if (digit == 1 && gender == Gender::Feminine)
        return QStringLiteral("една");
    if (digit == 1 && gender == Gender::Neuter)
        return QStringLiteral("едно");
    if (digit == 2 && gender != Gender::Masculine)
        return QStringLiteral("две");
    return unitWords()[digit];
}

QString below100(int n, Gender gender)
{
    if (n == 0)
        return {};
    if (n < 10)
        return unitWord(n, gender);
    if (n == 10)
        return QStringLiteral("десет");
    if (n == 11)
        return QStringLiteral("единадесет");
    if (n < 20)
        return unitWord(n - 10, n == 12 && gender == Gender::Feminine ? gender : Gender::Masculine) + QStringLiteral("надесет");
    QString words = n < 30 ? QStringLiteral("двадесет") : unitWords()[n / 10] + QStringLiteral("десет");
    if (n % 10 != 0)
        words += QStringLiteral(" и ") + unitWord(n % 10, gender);
    return words;
}

QString hundredsWord(int h)
{
    switch (h) {
    case 0: return {};
    case 1: return QStringLiteral("сто");
    case 2: return QStringLiteral("двеста");
    case 3: return QStringLiteral("триста");
    default: return unitWords()[h] + QStringLiteral("стотин");
    }
}

// A whole hundred above 100 keeps a trailing blank ("двеста "): callers
// have always received it at the end of the words.
QString below1000(int n, Gender gender)
{
    QString words = hundredsWord(n / 100);
    if (n > 100) {
        const int tens = n / 10 % 10;
        const int last = n % 10;
        const bool joined = (tens == 0 && last != 0) || tens == 1 || (last == 0 && tens != 0);
        words += joined ? QStringLiteral(" и ") : QStringLiteral(" ");
    }
    return words + below100(n % 100, gender);
}

// " и " when the rest after the thousands is read as one word.
QString thousandsJoint(int rest)
{
    if (rest == 0)
        return {};
    const bool oneWord = rest < 20 || (rest < 100 && rest % 10 == 0) || rest % 100 == 0;
    return oneWord ? QStringLiteral(" и ") : QStringLiteral(" ");
}

QString below1000000(int n, Gender gender)
{
    const int k = n / 1000;
    const int rest = n % 1000;
    QString words;
    if (k == 1)
        words = QStringLiteral("хиляда");
    else if (k > 1)
        words = below1000(k, Gender::Feminine).trimmed() + QStringLiteral(" хиляди");
    if (n > 1000)
        words += thousandsJoint(rest);
    return words + below1000(rest, gender);
}

QString wordsOf(long long n, Gender gender)
{
    if (n <= 0 || n >= 1'000'000'000)
        return {};
    const int m = static_cast<int>(n / 1'000'000);
    const int a = static_cast<int>(n % 1'000'000);
    if (m == 0)
        return below1000000(a, gender);
    QString words;
    if (m == 1) {
        words = QStringLiteral("един милион ");
        if (a > 0 && (a % 1000 == 0 || (a < 1000 && a % 100 == 0) || (a < 100 && a % 10 == 0) || a < 10))
            words += QStringLiteral("и ");
    } else {
        words = below1000(m, Gender::Masculine).trimmed() + QStringLiteral(" милиона ");
        if (a > 0 && a < 1000)
            words += QStringLiteral("и ");
    }
    return words + below1000000(a, gender);
}

} // namespace

QString numberInWords(long long n) { return wordsOf(n, Gender::Masculine); }

QString amountInWords(double amount, const Period &period)
{
    const long long cents = std::llround(std::fabs(amount) * 100.0);
    const long long whole = cents / 100;
    const int part = static_cast<int>(cents % 100);
    if (!isEuroPeriod(period))
        return numberInWords(whole) + QStringLiteral(" лв. и ") + QStringLiteral("%1").arg(part, 2, 10, QLatin1Char('0'))
             + QStringLiteral(" ст.");
    // The euro is neuter and does not change in the plural ("едно евро",
    // "две евро"); the cent is counted as a masculine noun ("един
    // евроцент", "два евроцента").
    const QString euros = whole == 0 ? QStringLiteral("нула") : wordsOf(whole, Gender::Neuter).trimmed();
    const QString centWords = part == 0 ? QStringLiteral("нула") : wordsOf(part, Gender::Masculine).trimmed();
    return euros + QStringLiteral(" евро и ") + centWords
         + (part == 1 ? QStringLiteral(" евроцент") : QStringLiteral(" евроцента"));
}

} // namespace plavex::util
