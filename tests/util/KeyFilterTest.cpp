#include "util/KeyFilter.h"

#include "tests/util/Printers.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace plavex::util;

namespace {

const Separators kComma{u',', u'.'};
const Separators kSlash{u'.', u'/'};

KeyVerdict accept() { return {}; }
KeyVerdict nextField() { return {KeyVerdict::NextField, {}}; }
KeyVerdict reject(const char16_t *message) { return {KeyVerdict::Reject, QString::fromUtf16(message)}; }

} // namespace

TEST(KeyFilter, Table)
{
    using K = KeyFilterKind;
    const struct {
        K kind;
        const char16_t *text;
        QChar typed;
        Separators separators;
        KeyVerdict verdict;
    } cases[] = {
        {K::Digits, u"", u'7', kComma, accept()},
        {K::Digits, u"", u'-', kComma, accept()},
        {K::Digits, u"", u'\b', kComma, accept()},
        {K::Digits, u"", QChar(0x1B), kComma, accept()},
        {K::Digits, u"12", u'\r', kComma, nextField()},
        {K::Digits, u"", u'a', kComma, reject(u"Това поле може да съдържа само цифри!")},
        {K::Digits, u"", u',', kComma, reject(u"Това поле може да съдържа само цифри!")},

        {K::DigitsAndDateSeparator, u"01", u'.', kComma, accept()},
        {K::DigitsAndDateSeparator, u"01", u'/', kSlash, accept()},
        {K::DigitsAndDateSeparator, u"01", u'\t', kSlash, accept()},
        {K::DigitsAndDateSeparator, u"01", u'\r', kSlash, nextField()},
        {K::DigitsAndDateSeparator, u"01", u'.', kSlash,
         reject(u"Това поле може да съдържа само цифри (0 - 9) и символа \" / \"")},
        {K::DigitsAndDateSeparator, u"01", u'-', kComma,
         reject(u"Това поле може да съдържа само цифри (0 - 9) и символа \" . \"")},

        {K::Decimal, u"12", u',', kComma, accept()},
        {K::Decimal, u"12,5", u',', kComma, KeyVerdict{KeyVerdict::Drop, {}}}, // second separator: silent
        {K::Decimal, u"12,5", u'7', kComma, accept()},
        {K::Decimal, u"", u'-', kComma, accept()},
        {K::Decimal, u"12", u'\r', kComma, nextField()},
        {K::Decimal, u"12", u'.', kComma, reject(u"Това поле може да съдържа само цифри (0 - 9) и символа \",\"")},
        {K::Decimal, u"12", u'x', kSlash, reject(u"Това поле може да съдържа само цифри (0 - 9) и символа \".\"")},

        {K::EnterOnly, u"", u'Ж', kComma, accept()},
        {K::EnterOnly, u"", u'"', kComma, accept()},
        {K::EnterOnly, u"Иван", u'\r', kComma, nextField()},
    };
    for (const auto &c : cases) {
        const KeyVerdict v = filterKey(c.kind, c.text, c.typed, c.separators);
        EXPECT_EQ(v.action, c.verdict.action) << int(c.kind) << " '" << QString(c.typed).toStdString() << "'";
        EXPECT_EQ(v.message, c.verdict.message) << int(c.kind) << " '" << QString(c.typed).toStdString() << "'";
    }
}

TEST(KeyFilter, SeparatorsFollowTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    const Separators bg = Separators::current();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const Separators us = Separators::current();
    QLocale::setDefault(saved);

    EXPECT_EQ(bg.decimal, u',');
    EXPECT_EQ(bg.date, u'.');
    EXPECT_EQ(us.decimal, u'.');
    EXPECT_EQ(us.date, u'/');
}
