#include "items/DefinitionReader.h"
#include "storage/UsersDatabase.h"
#include "storage/fb/Connection.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using namespace plavex;
using plavex::test::TestDatabase;

TEST(DataModule, NewDatabaseHasItsParametersTablesAndSeeds)
{
    TestDatabase t(util::Period(2005, 3));
    ASSERT_TRUE(t.open());
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();
    EXPECT_TRUE(QFile::exists(t.dir.databasePath()));

    EXPECT_EQ(t.scalar(QStringLiteral("select MON$PAGE_SIZE from MON$DATABASE")), 4096);
    EXPECT_EQ(fb::Statement::scalar(t.data->transaction(), QStringLiteral("select RDB$CHARACTER_SET_NAME from RDB$DATABASE"))
                  .toString(),
              QStringLiteral("WIN1251"));
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from MYPARAMS")), 1);
    EXPECT_EQ(fb::Statement::scalar(t.data->transaction(), QStringLiteral("select PAR_CURDATE from MYPARAMS")).toString(),
              QStringLiteral("032005"));
    EXPECT_EQ(t.scalar(QStringLiteral("select PAR_AUTOCALC from MYPARAMS")), 1);
    EXPECT_TRUE(t.data->autocalc());

    for (const char *table : {"PERSONS032005", "PERA032005", "PERADEFS032005", "FIRMA032005", "CAL032005", "DL032005",
                              "GR032005", "ZVENA032005", "NOI2005", "DOD2005", "DOD2004", "KAT2005", "PRIL12005",
                              "NKID2005", "NAP2005", "BIN2005", "OBS", "GRAD", "PERSDATA", "EMPL2000"})
        EXPECT_TRUE(t.data->schema().tableExists(QLatin1String(table))) << table;

    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from KAT2005 where KAT_LIMIT=0")), 9);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from OBS")), 28);
    EXPECT_EQ(fb::Statement::scalar(t.data->transaction(), QStringLiteral("select OBS_IME from OBS where OBS_COD=22")).toString(),
              QStringLiteral("СОФИЯ-ГРАД"));
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERADEFS032005")), 3);
    EXPECT_EQ(fb::Statement::scalar(t.data->transaction(),
                                    QStringLiteral("select PERODEFS_IME from PERADEFS032005 where PERODEFS_COD=2010"))
                  .toString(),
              QStringLiteral("Чиста сума за получаване"));

    // The company row of a 2005 month starts with that year's amounts.
    fb::Statement firma(t.data->transaction(), QStringLiteral("select FIRMA_RSEDMICA, FIRMA_MINSALARY, FIRMA_INDDOO, "
                                                              "FIRMA_MINDOH, FIRMA_OBMAJKI from FIRMA032005"));
    ASSERT_TRUE(firma.next());
    EXPECT_EQ(firma.toInt(0), 5);
    EXPECT_DOUBLE_EQ(firma.toDouble(1), 150.0);
    EXPECT_DOUBLE_EQ(firma.toDouble(2), 1300.0);
    EXPECT_DOUBLE_EQ(firma.toDouble(3), 220.0);
    EXPECT_DOUBLE_EQ(firma.toDouble(4), 130.0);
    EXPECT_FALSE(firma.next());
}

TEST(DataModule, StoredPeriodWinsOverTheSettingsAndBlankKeepsIt)
{
    TestDatabase t(util::Period(2008, 2));
    ASSERT_TRUE(t.open());
    t.data.reset();
    t.settings.lastDate = util::Period(2009, 7);
    ASSERT_TRUE(t.open());
    EXPECT_EQ(t.data->period().text(), QStringLiteral("022008"));

    fb::Statement::run(t.data->transaction(), QStringLiteral("update MYPARAMS set PAR_CURDATE=''"));
    t.data.reset();
    ASSERT_TRUE(t.open());
    EXPECT_EQ(t.data->period().text(), QStringLiteral("072009"));
}

TEST(DataModule, ChangePeriodOpensTheNewMonthAndSkipsTheCurrentOne)
{
    TestDatabase t(util::Period(2007, 9));
    ASSERT_TRUE(t.open());
    EXPECT_EQ(t.data->table(u"NOI"), QStringLiteral("NOI2007"));

    // The current period: MYPARAMS is not touched.
    fb::Statement::run(t.data->transaction(), QStringLiteral("update MYPARAMS set PAR_CURDATE='MARKER'"));
    t.data->changePeriod(2007, 9);
    EXPECT_EQ(fb::Statement::scalar(t.data->transaction(), QStringLiteral("select PAR_CURDATE from MYPARAMS")).toString(),
              QStringLiteral("MARKER"));

    int notices = 0;
    t.data->addPeriodListener([&](const util::Period &) { ++notices; });
    t.data->changePeriod(2007, 12);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(fb::Statement::scalar(t.data->transaction(), QStringLiteral("select PAR_CURDATE from MYPARAMS")).toString(),
              QStringLiteral("122007"));
    EXPECT_EQ(t.data->table(u"NOI"), QStringLiteral("NOI200710"));
    EXPECT_TRUE(t.data->schema().tableExists(QStringLiteral("NOI200710")));
    EXPECT_TRUE(t.data->schema().tableExists(QStringLiteral("PERSONS122007")));

    t.data->changePeriod(2008, 1);
    EXPECT_TRUE(t.data->schema().tableExists(QStringLiteral("NOI2008")));
    EXPECT_TRUE(t.data->schema().tableExists(QStringLiteral("DOD2008")));
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();
}

TEST(DataModule, OneColumnParametersTableGainsTheAutocalcSwitch)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    fb::Statement::run(t.data->transaction(), QStringLiteral("alter table MYPARAMS drop PAR_AUTOCALC"));
    t.data->transaction().commit();
    t.data.reset();
    ASSERT_TRUE(t.open());
    EXPECT_FALSE(t.data->autocalc());
    EXPECT_EQ(t.data->schema().columnsOf({QStringLiteral("MYPARAMS")}).value(QStringLiteral("MYPARAMS")).size(), 2);
    EXPECT_EQ(t.data->period().text(), QStringLiteral("012008"));
}

// Every way into a database refuses a file that is none, says so, and
// leaves the file as it was.
TEST(NotADatabase, EveryWayInRefusesAndKeepsTheFile)
{
    struct Case {
        const char *way;
        QString file; // under the program folder
        QByteArray bytes;
        // Tries to open the file; the message shown (empty when none was).
        std::function<std::optional<QString>(test::TempProgramDir &, const QString &)> open;
    };
    const std::vector<Case> cases = {
        {"connection", QStringLiteral("garbage.gdb"), QByteArray(8192, 'x'),
         [](test::TempProgramDir &, const QString &path) -> std::optional<QString> {
             fb::Connection c;
             try {
                 c.attach(path, QStringLiteral("DORVA"), QStringLiteral("tazmo"));
             } catch (const fb::Error &) {
                 return c.isOpen() ? std::nullopt : std::optional<QString>(QStringLiteral("Базата данни не може да бъде отворена."));
             }
             return std::nullopt;
         }},
        {"company database", QStringLiteral("database/plavex.gdb"), QByteArray(5000, 'z'),
         [](test::TempProgramDir &dir, const QString &) -> std::optional<QString> {
             storage::Settings settings(dir.path());
             util::RecordingPrompter prompter;
             storage::DataModule data(settings, prompter, items::seedChart);
             if (data.connectToDatabase(settings.database, settings.user, settings.password) || prompter.messages.size() != 1)
                 return std::nullopt;
             return prompter.messages[0];
         }},
        {"users database", QStringLiteral("users.gdb"), QByteArray(4096, '\0'),
         [](test::TempProgramDir &dir, const QString &) -> std::optional<QString> {
             util::RecordingPrompter prompter;
             storage::UsersDatabase users(prompter);
             if (users.open(dir.path()) || prompter.messages.size() != 1)
                 return std::nullopt;
             return prompter.messages[0];
         }},
        {"command line", QStringLiteral("other.gdb"), QByteArray(3000, 'q'),
         [](test::TempProgramDir &dir, const QString &path) -> std::optional<QString> {
             const test::CliRun r = test::runCli(dir.path(), {QStringLiteral("--db"), path, QStringLiteral("init")});
             if (r.status == 0 || r.err.trimmed().count(QLatin1Char('\n')) != 0)
                 return std::nullopt;
             return r.err;
         }},
    };
    for (const Case &c : cases) {
        test::TempProgramDir dir;
        dir.writeFile(c.file, c.bytes);
        const QString path = dir.path() + c.file;
        const auto message = c.open(dir, path);
        ASSERT_TRUE(message.has_value()) << c.way;
        EXPECT_TRUE(message->startsWith(QStringLiteral("Базата данни не може да бъде отворена."))) << c.way << ": "
                                                                                                  << message->toStdString();
        if (QLatin1String(c.way) != QLatin1String("connection")) { // which one, where the program speaks
            EXPECT_TRUE(message->contains(c.file)) << c.way << ": " << message->toStdString();
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.way;
        EXPECT_EQ(f.readAll(), c.bytes) << c.way;
    }
}

TEST(DataModule, HelpersBindTheirValues)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    storage::DataModule &d = *t.data;
    const QString units = d.table(u"ZVENA");
    d.insertRow(units, QStringLiteral(" (ZVENO_COD,ZVENO_IME) "), {1, QStringLiteral("О'Нийл и синове")});
    d.insertValues(units, QStringLiteral("ZVENO_COD,ZVENO_IME"), {2, QStringLiteral("' or ''='")});

    EXPECT_FALSE(d.notExists(units, QStringLiteral("ZVENO_IME"), QStringLiteral("О'Нийл и синове")));
    EXPECT_TRUE(d.notExists(units, QStringLiteral("ZVENO_IME"), QStringLiteral("x' or '1'='1")));
    EXPECT_FALSE(d.notExistsWhere(units, QStringLiteral("ZVENO_COD=?"), {2}));
    EXPECT_EQ(d.countRows(units, QStringLiteral("ZVENO_COD")), 2);
    EXPECT_EQ(d.countRows(units, QStringLiteral("ZVENO_COD"), QStringLiteral("ZVENO_IME=?"), {QStringLiteral("' or ''='")}), 1);
    EXPECT_EQ(d.getMaxValue(units, QStringLiteral("ZVENO_COD")), 2);
    EXPECT_EQ(d.getMaxValue(d.table(u"DL"), QStringLiteral("DL_COD")), 0);

    d.updateColumn(units, QStringLiteral("ZVENO_CODRAZ"), 7);
    EXPECT_EQ(d.countRows(units, QStringLiteral("ZVENO_COD"), QStringLiteral("ZVENO_CODRAZ=7")), 2);
    d.deleteRows(units, QStringLiteral("ZVENO_IME=?"), {QStringLiteral("x' or '1'='1")});
    EXPECT_EQ(d.countRows(units, QStringLiteral("ZVENO_COD")), 2);

    EXPECT_THROW(d.notExists(QStringLiteral("ZVENA; drop table OBS"), QStringLiteral("ZVENO_COD"), 1), std::invalid_argument);
    EXPECT_THROW(d.insertRow(units, QStringLiteral(" (ZVENO_COD) values (9); --"), {1}), std::invalid_argument);
}

TEST(DataModule, AutocalcSwitchIsStored)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    t.data->setAutocalc(false);
    t.reopen();
    EXPECT_FALSE(t.data->autocalc());
    EXPECT_EQ(t.scalar(QStringLiteral("select PAR_AUTOCALC from MYPARAMS")), 0);
}

TEST(DataModule, OpeningRaisesTheTableEvents)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    QStringList seen;
    t.data->addTableListener([&](const QString &base) { seen << base; });
    t.data->openPeriod(t.data->period());
    EXPECT_EQ(seen, (QStringList{"FIRMA", "NOI", "DOD", "DL", "PERADEFS", "CAL"}));
}
