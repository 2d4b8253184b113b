#include "storage/Settings.h"
#include "tests/support/TestDatabase.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace plavex;
using plavex::test::TempProgramDir;

TEST(Settings, MissingFileGivesTheDefaults)
{
    TempProgramDir dir;
    storage::Settings s(dir.path());
    s.read();
    EXPECT_EQ(s.database, dir.path() + QStringLiteral("database/plavex.gdb"));
    EXPECT_EQ(s.user, QStringLiteral("DORVA"));
    EXPECT_EQ(s.password, QStringLiteral("tazmo"));
    EXPECT_EQ(s.lastDate, util::Period::today());
    EXPECT_EQ(s.unitDigits, 2);
    EXPECT_EQ(s.unitDivisor(), 100);
}

TEST(Settings, BlankAndGarbageValuesFallBackToTheDefaults)
{
    TempProgramDir dir;
    dir.writeFile(QStringLiteral("Plavex.ini"), "[PARAMETERS]\r\nDATABASE=   \r\nUSER=\r\nPASSWORD=secret\r\n"
                                                "LASTDATE=13x007\r\n[ZVENO]\r\nZVENOCIFRI=abc\r\n");
    storage::Settings s(dir.path());
    s.read();
    EXPECT_EQ(s.database, dir.path() + QStringLiteral("database/plavex.gdb"));
    EXPECT_EQ(s.user, QStringLiteral("DORVA"));
    EXPECT_EQ(s.password, QStringLiteral("secret"));
    EXPECT_EQ(s.lastDate, util::Period::today());
    EXPECT_EQ(s.unitDigits, 2);

    const std::pair<const char *, int> divisors[] = {{"0", 1}, {"3", 1000}, {"-1", 100}, {"99", 100}};
    for (const auto &[digits, divisor] : divisors) {
        dir.writeFile(QStringLiteral("Plavex.ini"), QByteArray("[ZVENO]\r\nZVENOCIFRI=") + digits + "\r\n");
        s.read();
        EXPECT_EQ(s.unitDivisor(), divisor) << digits;
    }
}

TEST(Settings, SaveAndReadBackInWindows1251)
{
    TempProgramDir dir;
    storage::Settings s(dir.path());
    s.database = dir.path() + QStringLiteral("Фирма/заплати.gdb");
    s.lastDate = util::Period(2007, 12);
    s.unitDigits = 3;
    s.ini().setValue(QStringLiteral("fFirma"), QStringLiteral("tab"), QStringLiteral("2"));
    ASSERT_TRUE(s.save());

    QFile f(s.iniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains("LASTDATE=122007\r\n"));
    EXPECT_TRUE(bytes.contains("\xD4\xE8\xF0\xEC\xE0/")); // "Фирма/" in Windows-1251

    storage::Settings back(dir.path());
    back.read();
    EXPECT_EQ(back.database, s.database);
    EXPECT_EQ(back.lastDate, util::Period(2007, 12));
    EXPECT_EQ(back.unitDigits, 3);
    EXPECT_EQ(back.ini().value(QStringLiteral("fFirma"), QStringLiteral("tab")), QStringLiteral("2"));
}

TEST(Settings, PathOutsideTheCodePageIsNotLost)
{
    TempProgramDir dir;
    storage::Settings s(dir.path());
    s.database = dir.path() + QStringLiteral("Ελλάδα/plavex.gdb");
    ASSERT_TRUE(s.save());
    storage::Settings back(dir.path());
    back.read();
    EXPECT_EQ(back.database, s.database);
}
