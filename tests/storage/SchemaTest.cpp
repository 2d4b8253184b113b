#include "tests/support/TestDatabase.h"

#include "storage/NomLoader.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace plavex;
using plavex::test::TestDatabase;

namespace {

QString text(TestDatabase &t, const QString &sql)
{
    return fb::Statement::scalar(t.data->transaction(), sql).toString();
}

// A rates line with every column: type, variant, name, then figures; the
// empty fields stand for figures without a source.
QString noiLine(int type, const QString &name, const QString &total)
{
    QStringList f{QString::number(type), QStringLiteral("1"), name, total};
    while (f.size() < 76)
        f << QString();
    return f.join(u';');
}

// A noms folder with a year's figures is a real one: it needs its chart.
void writeChart(const TestDatabase &t)
{
    t.dir.writeFile(QStringLiteral("noms/DATA3.TXT"), util::cp1251ToDos(util::toCp1251(u"1 Основна заплата,1,да,да,да,да")) + "\r\n");
}

} // namespace

TEST(Schema, NewYearTablesAreFilledFromTheirFiles)
{
    TestDatabase t(util::Period(2007, 11));
    t.dir.writeNom(QStringLiteral("DOD2007.csv"), {"2007;0;0;0", "2007;200;0;0.2", "2007;250;10;0.22"});
    t.dir.writeNom(QStringLiteral("DOD2006.csv"), {"2006;0;0;0.15"});
    t.dir.writeNom(QStringLiteral("noi_proc200710.csv"), {noiLine(1, QStringLiteral("Работници - III категория"), "26.5")});
    t.dir.writeNom(QStringLiteral("noi_proc2007.csv"), {noiLine(1, QStringLiteral("Работници"), "29.5"),
                                                        noiLine(2, QStringLiteral("Работници - I категория"), "32.5")});
    t.dir.writeNom(QStringLiteral("nkid.csv"), {"0111;Отглеждане на зърнени (без ориз), бобови;;1", "0112;Отглеждане на ориз;;"});
    t.dir.writeNom(QStringLiteral("BIN2007.csv"), {"1;Данъчна служба \"Витоша\";1234567890"});
    writeChart(t);
    ASSERT_TRUE(t.open());
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();

    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from DOD2007")), 3);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from DOD2006")), 1);
    EXPECT_EQ(text(t, QStringLiteral("select DOD_PROC from DOD2007 where DOD_MINLIMIT=250")).toDouble(), 0.22);

    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NOI200710")), 1);
    EXPECT_EQ(text(t, QStringLiteral("select NOI_PROC from NOI200710")).toDouble(), 26.5);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NOI2007")), 2);
    // A field without a figure is NULL, not zero.
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NOI200710 where NOI_PROC_PENSIA is null and NOI_COD=''")), 1);

    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NKID2007")), 2);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NKID2007 where NKID_PORN is null")), 1);
    EXPECT_EQ(text(t, QStringLiteral("select BIN_NAME from BIN2007")), QStringLiteral("Данъчна служба \"Витоша\""));
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PRIL12007")), 0); // no file: left empty
}

// Half a table of figures is worse than none: a bad line refuses the new
// company with one message naming the file and the line, and leaves no file.
TEST(Schema, ABadSeedLineRefusesTheYear)
{
    const struct {
        QString file;
        QStringList lines;
        QString says;
    } cases[] = {
        {QStringLiteral("priloj1_2008.csv"),
         {"1;;01;Селско стопанство;385;276;264;264;240;264;264;264;240", "2;AA;02;Горско стопанство;310;254"}, // too few fields
         QStringLiteral("priloj1_2008.csv, ред 2")},
        {QStringLiteral("priloj1_2008.csv"),
         {"3;CA;10;Добив;594;484;462;330;286;220;462;418;3О8"}, // a letter in a number
         QStringLiteral("priloj1_2008.csv, ред 1")},
        {QStringLiteral("noi_proc2008.csv"),
         {noiLine(1, QStringLiteral("Първа"), "26.5"), noiLine(2, QStringLiteral("Втора"), "xx")},
         QStringLiteral("noi_proc2008.csv, ред 2")},
    };
    for (const auto &c : cases) {
        TestDatabase t(util::Period(2008, 4));
        writeChart(t);
        t.dir.writeNom(c.file, c.lines);
        EXPECT_FALSE(t.open());
        ASSERT_EQ(t.prompter.messages.size(), 1) << t.prompter.messages.join(u'|').toStdString();
        EXPECT_TRUE(t.prompter.messages[0].contains(c.says)) << t.prompter.messages[0].toStdString();
        EXPECT_FALSE(QFile::exists(t.dir.databasePath())) << c.says.toStdString();
    }
}

TEST(Schema, ARejectedRowStopsTheLoadNamingTheColumnsAndValues)
{
    TestDatabase t(util::Period(2008, 1));
    ASSERT_TRUE(t.open());
    // An activity code is four characters: the database refuses a fifth.
    t.dir.writeNom(QStringLiteral("nkid-extra.csv"), {"0112;Отглеждане на ориз;;2", "01111;Твърде дълъг код;;1"});
    storage::NomLoader loader(t.data->transaction(), t.prompter);
    try {
        loader.loadNkid(QStringLiteral("NKID2008"), t.dir.path() + QStringLiteral("noms/nkid-extra.csv"));
        ADD_FAILURE() << "a refused row was skipped";
    } catch (const storage::ServiceFileError &e) {
        const QString message = QString::fromStdString(e.what());
        EXPECT_TRUE(message.contains(QStringLiteral("nkid-extra.csv, ред 2"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("NKID_KID,NKID_KIDIME,NKID_KID2001,NKID_PORN\n'01111','Твърде дълъг код','',1")))
            << message.toStdString();
    }
    t.data->transaction().rollbackRetaining();

    t.prompter.messages.clear();
    EXPECT_EQ(loader.loadBin(QStringLiteral("BIN2008"), t.dir.path() + QStringLiteral("noms/missing.csv")), 0);
    EXPECT_TRUE(t.prompter.messages.isEmpty());
}

TEST(Schema, CreateTablesTwiceIsSilentAndCreatesNothing)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    t.prompter.messages.clear();
    const auto created = t.data->schema().createTables(t.data->period(), t.data->companySeed());
    EXPECT_TRUE(created.isEmpty());
    EXPECT_TRUE(t.prompter.messages.isEmpty()) << t.prompter.messages.join(u'|').toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from FIRMA012008")), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from KAT2008")), 9);
}

TEST(Schema, OlderTableGainsItsMissingColumnsInPlace)
{
    TestDatabase t(util::Period(2008, 1));
    ASSERT_TRUE(t.open());
    // A units table of an older release: no name column, one row.
    fb::Statement::run(t.data->transaction(),
                       QStringLiteral("create table ZVENA022008 (ZVENO_COD INTEGER NOT NULL, ZVENO_CODRAZ INTEGER)"));
    t.data->transaction().commit();
    fb::Statement::run(t.data->transaction(), QStringLiteral("insert into ZVENA022008 values (5, 9)"));
    t.data->commitRetaining();

    t.data->changePeriod(2008, 2);
    fb::Statement q(t.data->transaction(), QStringLiteral("select * from ZVENA022008"));
    ASSERT_TRUE(q.next());
    ASSERT_EQ(q.columnCount(), 3);
    EXPECT_EQ(q.columnName(1), QStringLiteral("ZVENO_IME"));
    EXPECT_TRUE(q.isNull(1));
    EXPECT_EQ(q.toInt(0), 5);
    EXPECT_EQ(q.toInt(2), 9);
}

TEST(Schema, EveryMonthGetsItsIndexes)
{
    TestDatabase t(util::Period(2008, 1));
    ASSERT_TRUE(t.open());
    t.data->changePeriod(2008, 2);
    auto indexesOn = [&](const char *table) {
        return t.scalar(QStringLiteral("select count(*) from RDB$INDICES where RDB$RELATION_NAME=?"), {QLatin1String(table)});
    };
    EXPECT_EQ(indexesOn("PERA012008"), 5);
    EXPECT_EQ(indexesOn("PERA022008"), 5);
    EXPECT_EQ(indexesOn("PERSONS022008"), 4);
    EXPECT_EQ(indexesOn("PERSDATA"), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from RDB$INDICES where RDB$INDEX_NAME='PERSONID'")), 1);
}

TEST(Schema, ColumnTypeReadsTheDomain)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    storage::Schema &s = t.data->schema();
    EXPECT_EQ(s.columnType(QStringLiteral("PERSONS012008"), QStringLiteral("PERSON_IME")), QStringLiteral("CHARACTER (50) NOT NULL "));
    EXPECT_EQ(s.columnType(QStringLiteral("PERA012008"), QStringLiteral("PERO_SUMA")), QStringLiteral("NUMERIC (12,2) "));
    EXPECT_EQ(s.columnType(QStringLiteral("PERSONS012008"), QStringLiteral("PERSON_ZVENO")), QStringLiteral("INTEGER"));
}
