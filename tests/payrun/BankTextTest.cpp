// The checks and conversions the bank file and the employee record rely on,
// as tables: IBAN check digits, BIC and mail shapes, and the official
// transliteration into the EPC's character set.
#include "util/BankAccount.h"
#include "util/Transliteration.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace plavex;

TEST(BankAccount, IbanCheckDigitsDecide)
{
    const std::pair<const char *, bool> cases[] = {
        {"BG80BNBG96611020345678", true},
        {"BG80 BNBG 9661 1020 3456 78", true}, // as printed on a card
        {"bg80bnbg96611020345678", true},
        {"BG21STSA93000012345678", true},
        {"DE89370400440532013000", true},       // SEPA accounts abroad
        {"FR1420041010050500013M02606", true},
        {"BG81BNBG96611020345678", false},      // one check digit off
        {"BG80BNBG96611020345687", false},      // two digits swapped
        {"BG80BNBG9661102034567", false},       // a Bulgarian IBAN is 22 long
        {"BG80BNBG966110203456789", false},
        {"80BNBG96611020345678BG", false},
        {"BG80BNBG9661102034567!", false},
        {"", false},
    };
    for (const auto &[text, valid] : cases)
        EXPECT_EQ(util::isValidIban(QString::fromUtf8(text)), valid) << text;
}

TEST(BankAccount, CheckDigitsAreMadeSoTheyCheck)
{
    for (const char *account : {"UNCR70001520000001", "STSA93000000000042", "BNBG96611020345678"}) {
        const QString iban = util::ibanWithCheckDigits(QStringLiteral("BG"), QLatin1String(account));
        EXPECT_EQ(iban.size(), 22);
        EXPECT_TRUE(util::isValidIban(iban)) << iban.toStdString();
    }
    EXPECT_EQ(util::ibanWithCheckDigits(QStringLiteral("BG"), QStringLiteral("BNBG96611020345678")),
              QStringLiteral("BG80BNBG96611020345678"));
}

TEST(BankAccount, BicAndMailShapes)
{
    for (const char *bic : {"UNCRBGSF", "STSABGSFXXX", "bnbgbgsd"})
        EXPECT_TRUE(util::isValidBic(QLatin1String(bic))) << bic;
    for (const char *bic : {"UNCRBG", "UNCR1GSF", "UNCRBGSFXX", "UNCR BGSF", ""})
        EXPECT_FALSE(util::isValidBic(QLatin1String(bic))) << bic;
    for (const char *mail : {"ivan.petrov@example.com", "a+b@mail.example.bg", "x_1@sub-domain.example.com"})
        EXPECT_TRUE(util::isValidEmail(QLatin1String(mail))) << mail;
    for (const char *mail : {"ivan", "ivan@", "@example.com", "ivan@example", "ivan petrov@example.com", "ivan..p@example.com",
                             "ivan@example..com", "ivan@-example.com", "ivan@example.com\r\nBcc: x@y.com"})
        EXPECT_FALSE(util::isValidEmail(QLatin1String(mail))) << mail;
    EXPECT_FALSE(util::isValidEmail(QStringLiteral("иван@example.com")));
}

TEST(Transliteration, FollowsTheTransliterationAct)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Щерев", "Shterev"},
        {"ЩЕРЕВ", "SHTEREV"},
        {"Юлия", "Yulia"},       // "ия" closing a word
        {"ЮЛИЯ", "YULIA"},
        {"Ясен Ъглов", "Yasen Aglov"},
        {"Жечо Цочев", "Zhecho Tsochev"},
        {"Чавдар Шишков", "Chavdar Shishkov"},
        {"Христо Йорданов", "Hristo Yordanov"},
        {"Георги Дюлгеров", "Georgi Dyulgerov"},
        {"Ияна Илиева", "Iyana Ilieva"}, // "ия" inside a word stays "iya"
        {"България", "Bulgaria"},             // the Act's exception
        {"ЕТ БЪЛГАРИЯ-ЮГ", "ET BULGARIA-YUG"},
        {"София", "Sofia"},
        {"Дияна Ю.", "Diyana Yu."},
        {"ьо", "yo"},
        {"Ivan 2 Петров", "Ivan 2 Petrov"},
    };
    for (const auto &[cyrillic, latin] : cases)
        EXPECT_EQ(util::transliterate(QString::fromUtf8(cyrillic)), QString::fromUtf8(latin)) << cyrillic;
}

TEST(Transliteration, EpcTextKeepsToTheLatinSet)
{
    const std::tuple<const char *, int, const char *> cases[] = {
        {"\"Демо Пейрол\" ООД", 70, "'Demo Peyrol' OOD"},
        {"„Щит & Меч“ ЕАД", 70, "'Shtit + Mech' EAD"},
        {"Иван  Петров №5", 70, "Ivan Petrov 5"},
        {"Заплата 01.2026", 140, "Zaplata 01.2026"},
        {"Борис – Бор; Ltd.", 70, "Boris - Bor Ltd."},
        {"Александра Константинова-Христова", 20, "Aleksandra Konstanti"},
    };
    static const QRegularExpression epc(QStringLiteral("^[A-Za-z0-9/\\-?:().,'+ ]*$"));
    for (const auto &[text, length, expected] : cases) {
        const QString out = util::epcText(QString::fromUtf8(text), length);
        EXPECT_EQ(out, QString::fromUtf8(expected)) << text;
        EXPECT_TRUE(epc.match(out).hasMatch()) << out.toStdString();
        EXPECT_LE(out.size(), length);
    }
}
