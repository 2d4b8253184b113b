#include "util/Transliteration.h"

namespace plavex::util {

namespace {

// А Б В Г Д Е Ж З И Й К Л М Н О П Р С Т У Ф Х Ц Ч Ш Щ Ъ Ь Ю Я
const char *const kLetters[] = {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p",
                                "r", "s", "t", "u", "f", "h", "ts", "ch", "sh", "sht", "a", "y", "yu", "ya"};

// The index of a Bulgarian letter in kLetters, -1 for any other character.
int letterIndex(QChar c)
{
    const char16_t u = c.toLower().unicode();
    if (u >= u'а' && u <= u'щ')
        return u - u'а';
    switch (u) {
    case u'ъ': return 26;
    case u'ь': return 27;
    case u'ю': return 28;
    case u'я': return 29;
    default: return -1;
    }
}

bool isWordLetter(const QString &text, qsizetype i) { return i >= 0 && i < text.size() && text[i].isLetter(); }

} // namespace

QString transliterate(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 4);
    static const QString country = QStringLiteral("българия");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // The Act's one exception: the country's name is "Bulgaria".
        if (!isWordLetter(text, i - 1) && !isWordLetter(text, i + country.size())
            && QStringView(text).mid(i, country.size()).compare(country, Qt::CaseInsensitive) == 0) {
            const bool capitals = text[i + 1].isUpper();
            out += capitals ? QStringLiteral("BULGARIA") : c.isUpper() ? QStringLiteral("Bulgaria") : QStringLiteral("bulgaria");
            i += country.size() - 1;
            continue;
        }
        const int index = letterIndex(c);
        if (index < 0) {
            out += c;
            continue;
        }
        QString latin = QString::fromLatin1(kLetters[index]);
        // "ия" closing a word is "ia" (България, Мария).
        if (index == 29 && i > 0 && text[i - 1].toLower() == u'и' && !isWordLetter(text, i + 1))
            latin = QStringLiteral("a");
        if (c.isUpper()) {
            // A capital inside a word of capitals stays all capitals; a
            // single capital letter (an initial) or the first of a
            // capitalised word gives one capital.
            const bool wordInCapitals = (isWordLetter(text, i + 1) && text[i + 1].isUpper())
                                        || (!isWordLetter(text, i + 1) && isWordLetter(text, i - 1) && text[i - 1].isUpper());
            latin = wordInCapitals ? latin.toUpper() : latin.left(1).toUpper() + latin.mid(1);
        }
        out += latin;
    }
    return out;
}

QString epcText(const QString &text, int maxLength)
{
    const QString latin = transliterate(text);
    QString out;
    out.reserve(latin.size());
    for (const QChar c : latin) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
                             || QStringView(u"/-?:().,'+ ").contains(c);
        QChar kept = QLatin1Char(' ');
        if (allowed)
            kept = c;
        else if (QStringView(u"\"„“”«»`’‘").contains(c))
            kept = QLatin1Char('\'');
        else if (u == u'&')
            kept = QLatin1Char('+');
        else if (u == u'–' || u == u'—')
            kept = QLatin1Char('-');
        if (kept == QLatin1Char(' ') && (out.isEmpty() || out.endsWith(QLatin1Char(' '))))
            continue;
        out += kept;
    }
    return out.trimmed().left(maxLength).trimmed();
}

} // namespace plavex::util
