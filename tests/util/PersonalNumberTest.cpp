#include "util/PersonalNumber.h"

#include "tests/util/Printers.h"

#include <gtest/gtest.h>

using namespace plavex::util;

TEST(PersonalNumber, Egn)
{
    const struct {
        const char16_t *egn;
        bool valid;
    } cases[] = {
        {u"7505231235", true},
        {u"7505231236", false},  // only the check digit changed
        {u"8545151233", true},   // born in the 2000s: month + 40
        {u"8545001233", false},  // ... whose day must be 1-31
        {u"8545321237", false},
        {u"8532151232", true},   // born in the 1800s: month + 20
        {u"8535151236", false},  // month 35
        {u"8513151232", false},  // month 13
        {u"7505001232", true},   // day 00 is not checked for months 1-12
        {u"7001010080", true},   // S mod 11 = 10 needs a 0
        {u"7001010081", false},
        {u" 7505231235 ", true},
        {u"750523123", false},   // nine digits
        {u"75052312350", false}, // eleven
        {u"75052312-2", false},  // sums right if "-" counted by its code
        {u"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isValidEgn(QStringView(c.egn)), c.valid) << QString::fromUtf16(c.egn).toStdString();
}

TEST(PersonalNumber, Lnch)
{
    EXPECT_TRUE(isValidLnch(u"1234567891"));
    EXPECT_FALSE(isValidLnch(u"1234567892"));
    EXPECT_TRUE(isValidLnch(u"7001010060")); // S mod 11 = 10 needs a 0
    EXPECT_FALSE(isValidLnch(u"7001010061"));
    EXPECT_FALSE(isValidLnch(u"123456789"));
    EXPECT_FALSE(isValidLnch(u"123456789x"));
}
