#include "util/CodePage.h"

#include "tests/util/Printers.h"

#include <gtest/gtest.h>

using namespace plavex::util;

namespace {

QString cyrillicAlphabet()
{
    QString s;
    for (char16_t u = u'А'; u <= u'я'; ++u)
        s += QChar(u);
    return s;
}

} // namespace

TEST(CodePage, Cp1251RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(toCp1251(fromCp1251(all)), all);

    EXPECT_EQ(fromCp1251("\xC0\xDF\xE0\xFF\xB9\xA8\xB8"), u"АЯая№Ёё");
    EXPECT_EQ(toCp1251(u"Плавекс №1"), QByteArray("\xCF\xEB\xE0\xE2\xE5\xEA\xF1 \xB9" "1"));
    EXPECT_EQ(toCp1251(u"日€"), QByteArray("?\x88"));
}

TEST(CodePage, DosAlphabetAndNumeroSign)
{
    const QByteArray windows = toCp1251(cyrillicAlphabet() + u'№');
    QByteArray dos;
    for (int b = 0x80; b <= 0xBF; ++b)
        dos.append(static_cast<char>(b));
    dos.append('\xD5');

    EXPECT_EQ(cp1251ToDos(windows), dos);
    EXPECT_EQ(dosToCp1251(dos), windows);
    EXPECT_EQ(dosToCp1251(cp1251ToDos(windows)), windows);
}

TEST(CodePage, DosLeavesAsciiAndMarksWhatItCannotHold)
{
    QByteArray ascii;
    for (int b = 0; b < 0x80; ++b)
        ascii.append(static_cast<char>(b));
    EXPECT_EQ(cp1251ToDos(ascii), ascii);
    EXPECT_EQ(dosToCp1251(ascii), ascii);

    // ул. „Шипка“ 5 — the Windows quotes would otherwise land on DOS "Д" and "У".
    EXPECT_EQ(cp1251ToDos(toCp1251(u"ул. „Шипка“\u00A05")), cp1251ToDos(toCp1251(u"ул. ?Шипка? 5")));
    // Windows letters already in an old DOS file come through.
    EXPECT_EQ(dosToCp1251("\xC0\xFF"), QByteArray("\xC0\xFF"));
}
