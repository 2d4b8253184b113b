#include "util/BankAccount.h"

#include <QRegularExpression>

namespace plavex::util {

QString compactIban(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!c.isSpace())
            out += c.toUpper();
    return out;
}

namespace {

// The four leading characters go to the end, letters count 10..35, and the
// number is reduced digit by digit so no big integer is needed.
int mod97(const QString &iban)
{
    const QString moved = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (const QChar c : moved) {
        const int value = c.isDigit() ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        remainder = value >= 10 ? (remainder * 100 + value) % 97 : (remainder * 10 + value) % 97;
    }
    return remainder;
}

} // namespace

bool isValidIban(const QString &text)
{
    const QString iban = compactIban(text);
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}$"));
    if (!shape.match(iban).hasMatch())
        return false;
    if (iban.startsWith(QLatin1String("BG")) && iban.size() != 22)
        return false;
    return mod97(iban) == 1;
}

QString ibanWithCheckDigits(const QString &country, const QString &account)
{
    const QString bban = compactIban(account);
    const int check = 98 - mod97(country.toUpper() + QStringLiteral("00") + bban);
    return country.toUpper() + QStringLiteral("%1").arg(check, 2, 10, QLatin1Char('0')) + bban;
}

bool isValidBic(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^[A-Z0-9]{4}[A-Z]{2}[A-Z0-9]{2}([A-Z0-9]{3})?$"));
    return shape.match(text.trimmed().toUpper()).hasMatch();
}

bool isValidEmail(const QString &text)
{
    static const QRegularExpression shape(
        QStringLiteral("^[A-Za-z0-9.!#$%&'*+/=?^_`{|}~-]+@[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?"
                       "(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?)+$"));
    const QString t = text.trimmed();
    if (t.size() > 254 || !shape.match(t).hasMatch())
        return false;
    const QString local = t.section(QLatin1Char('@'), 0, 0);
    return local.size() <= 64 && !local.startsWith(QLatin1Char('.')) && !local.endsWith(QLatin1Char('.'))
           && !local.contains(QLatin1String(".."));
}

} // namespace plavex::util
