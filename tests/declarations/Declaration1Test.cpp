#include "calc/Parameters.h"
#include "declarations/Declaration1.h"
#include "employees/Employees.h"
#include "items/Definitions.h"
#include "items/Items.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"
#include "util/CodePage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plavex;
using plavex::test::TestDatabase;

namespace {

// Compares with a file under tests/data/decl1; PLAVEX_UPDATE_GOLDEN=1 rewrites it.
void expectGolden(const QString &name, const QByteArray &actual)
{
    const QString path = QStringLiteral(PLAVEX_TEST_DATA_DIR "/decl1/") + name;
    if (qEnvironmentVariableIsSet("PLAVEX_UPDATE_GOLDEN")) {
        // A rewrite is no pass: the run that makes a golden file fails, so
        // that only a later run, which compares, can pass.
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
        ASSERT_EQ(out.write(actual), actual.size()) << path.toStdString();
        ASSERT_TRUE(out.flush());
        ADD_FAILURE() << "golden file " << path.toStdString() << " rewritten: run again without PLAVEX_UPDATE_GOLDEN";
        return;
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << "missing golden file " << path.toStdString();
    EXPECT_EQ(in.readAll(), actual) << name.toStdString();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A small company: one rate row, a town in Русе, a position, and three
// employees with the month's totals written as the calculation would.
class Declaration1Test : public ::testing::Test {
protected:
    void build(const util::Period &period, int windows)
    {
        t = std::make_unique<TestDatabase>(period);
        ASSERT_TRUE(t->open());
        storage::DataModule &d = *t->data;
        reference::postCompany(d, {{"FIRMA_BULSTAT", "121234567"}, {"FIRMA_KID1", "6920"}, {"FIRMA_KID2", "3"},
                                   {"FIRMA_WINOUT", windows}, {"FIRMA_DOOPROCF3", 0.7}, {"FIRMA_DATA3", 0.5}});
        d.insertValues(d.table(u"NOI"),
                       "NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PROC,NOI_PENSI_FI,NOI_ZAB_FI,NOI_PKB_FI,NOI_PENSI_LI,NOI_ZAB_LI,"
                       "NOI_PKB_LI,NOI_PENSI_FI60,NOI_ZAB_FI60,NOI_PKB_FI60,NOI_PENSI_LI60,NOI_ZAB_LI60,NOI_PKB_LI60,"
                       "NOI_DZPO_FI60,NOI_DZPO_LI60,NOI_U4,NOI_ZDR,NOI_ZDL,NOI_ZD_BOLN,NOI_ZDR_NEPL",
                       {1, 1, "Работници", 26.5, 16.65, 2.1, 0.6, 6.35, 1.4, 0.4, 12.65, 2.1, 0.6, 4.35, 1.4, 0.4, 2.8, 2.2, 0.0,
                        3.6, 2.4, 6.0, 6.0});
        const int town = reference::addTown(d, "Бяла", 18);
        const int position = reference::addPosition(d, "Счетоводител", 3, "6920", 3);
        items::addDefinition(d, items::makeDefinition(301, 101, "Лице на издръжка", "001"));

        util::RecordingPrompter p;
        employees::EmployeePanel panel(d, 100);
        ivan = panel.create({"101", "Иван Петров Георгиев", "7501020018"}, p);
        panel.post(ivan, {{"PERSON_ADDR", "ул. \"Шипка\" 5, ет. 2"}, {"PERSON_ADDRGRAD", town}, {"PERSON_PCODE", 7100},
                          {"PERSON_DLUV", position}, {"PERSON_DATANAZ", QDate(period.year(), period.month(), 3)},
                          {"PERSON_KALENDAR", 1}, {"PERSON_GARVZ", 1}});
        panel.save(ivan);
        maria = panel.create({"102", "Мария Иванова", "5903030058"}, p);
        panel.post(maria, {{"PERSON_DATANAZ", QDate(2001, 5, 14)}, {"PERSON_SYSZ", 6}, {"PERSON_GARVZ", 0}});
        panel.save(maria);
        const int gone = panel.create({"103", "Стоян Колев Стоянов", "6101010008"}, p);
        panel.post(gone, {{"PERSON_ACT", 0}});
        panel.save(gone);

        items::ItemRecord dependant;
        dependant.code = 301;
        dependant.partida = "0542120021";
        items::ItemEntry(d).add(ivan, dependant);
        items::ItemRecord sick;
        sick.person = ivan;
        sick.code = 20;
        sick.type = 20;
        items::insertItem(d, sick);

        const QString columns = "PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SDNI,PERSDATA_ODNI,PERSDATA_OFRZ,"
                                "PERSDATA_ODOO,PERSDATA_OMAJKI,PERSDATA_NPLS,PERSDATA_WCOSOC,PERSDATA_WCOSUMA32,PERSDATA_SZDR,"
                                "PERSDATA_BOLN_NOI,PERSDATA_SZDRN,PERSDATA_WDNITRZL,PERSDATA_WIZVTRUD,PERSDATA_SMAJ,"
                                "PERSDATA_TESTSBOL,PERSDATA_WCOGARANT,PERSDATA_SOBL,PERSDATA_S39,PERSDATA_S54,PERSDATA_WNETNO,"
                                "PERSDATA_SDOD";
        d.insertValues("PERSDATA", columns,
                       {ivan, period.year(), period.month(), 19, 15, 1, 3, 0, 0, 0.0, 1234.5, 0.0, 0.0, 0.0, 0, 4.5, 0.0,
                        12.5, 1234.5, 1100.0, 134.5, 0.0, 980.25, 112.35});
        d.insertValues("PERSDATA", columns,
                       {maria, period.year(), period.month(), 22, 22, 0, 0, 0, 0, 50.0, 600.0, 0.0, 0.0, 0.0, 0, 0.0, 0.0,
                        0.0, 600.0, 540.0, 60.0, 0.0, 485.0, 54.0});
        d.commitRetaining();
    }

    QByteArray exportFile(bool store)
    {
        util::RecordingPrompter p;
        const QString path = declarations::exportDeclaration1(*t->data, out.path(), store, {}, p);
        EXPECT_TRUE(p.messages.isEmpty()) << p.messages.join(u'|').toStdString();
        EXPECT_EQ(path, QDir(out.path()).filePath("EMPL2000.TXT"));
        return readAll(path);
    }

    std::unique_ptr<TestDatabase> t;
    QTemporaryDir out;
    int ivan = 0;
    int maria = 0;
};

} // namespace

TEST_F(Declaration1Test, Year2006InTheDosCodePage)
{
    build(util::Period(2006, 11), 0);
    const QByteArray file = exportFile(false);
    expectGolden("2006-dos.txt", file);
    const QList<QByteArray> lines = file.split('\n');
    ASSERT_EQ(lines.size(), 3); // two active employees and the end of the last line
    EXPECT_EQ(QString::fromLatin1(lines[0]).count(QLatin1Char(',')), 94); // 95 fields before 2007
    EXPECT_TRUE(lines[0].endsWith("\"DHI2000\"\r"));
    EXPECT_TRUE(lines[0].contains(util::cp1251ToDos(util::toCp1251(u"\"ГЕОРГИЕВ\",\"ИП\""))));
}

TEST_F(Declaration1Test, Year2008WindowsAndStoredRecords)
{
    build(util::Period(2008, 3), 1);
    const QByteArray monthly = exportFile(false);
    expectGolden("2008-windows.txt", monthly);
    EXPECT_EQ(QString::fromLatin1(monthly.split('\n')[0]).count(QLatin1Char(',')), 96);
    EXPECT_TRUE(monthly.contains(util::toCp1251(u"\"УЛ. 'ШИПКА' 5  ЕТ. 2\"")));
    EXPECT_TRUE(monthly.contains(util::toCp1251(u"\"\",\"МИ\"")));

    const QByteArray stored = exportFile(true);
    expectGolden("2008-stored.txt", stored);
    EXPECT_EQ(t->scalar("select count(*) from EMPL2000 where EMPL2000_FLKOR=0 and EMPL2000_FLSEND=1"), 2);
    exportFile(true); // the month's first declaration is replaced, not doubled
    EXPECT_EQ(t->scalar("select count(*) from EMPL2000"), 2);

    // A correction of Ivan's record writes the same line with correction code 1.
    const int record = static_cast<int>(t->scalar("select EMPL2000_ID from EMPL2000 where EMPL2000_PERSONID=?", {ivan}));
    ASSERT_GT(declarations::makeCorrection(*t->data, record), 0);
    util::RecordingPrompter p;
    const QString path = declarations::exportCorrections(*t->data, out.path(), {ivan, maria}, util::Period(2008, 3), p);
    const QByteArray corrections = readAll(path);
    const QByteArray first = stored.split('\n')[0];
    EXPECT_EQ(corrections, first.left(first.lastIndexOf(",0,")) + ",1,\"NRAD12008\"\r\n");
    EXPECT_EQ(readAll(declarations::exportCorrections(*t->data, out.path(), {ivan}, std::nullopt, p)), corrections);
    EXPECT_TRUE(declarations::exportCorrections(*t->data, out.path(), {ivan}, util::Period(2008, 2), p).isEmpty());
    // A correction already sent goes no more.
    fb::Statement::run(t->data->transaction(), "update EMPL2000 set EMPL2000_FLSEND=1 where EMPL2000_FLKOR=1");
    EXPECT_TRUE(declarations::exportCorrections(*t->data, out.path(), {ivan, maria}, std::nullopt, p).isEmpty());
    fb::Statement::run(t->data->transaction(), "update EMPL2000 set EMPL2000_FLSEND=0 where EMPL2000_FLKOR=1");

    // Only a correction can be deleted.
    EXPECT_FALSE(declarations::deleteCorrection(*t->data, record));
    const int correction = static_cast<int>(t->scalar("select max(EMPL2000_ID) from EMPL2000"));
    EXPECT_TRUE(declarations::deleteCorrection(*t->data, correction));
    EXPECT_EQ(t->scalar("select count(*) from EMPL2000"), 2);
}

TEST_F(Declaration1Test, NamesAndAnUnwritableFolder)
{
    QString family, initials;
    declarations::nameParts("  иван   петров ", family, initials);
    EXPECT_EQ(family, "");
    EXPECT_EQ(initials, "ИП");
    declarations::nameParts("Иван Петров Георгиев Младши", family, initials);
    EXPECT_EQ(family, "ГЕОРГИЕВ");
    declarations::nameParts("Иван", family, initials);
    EXPECT_EQ(initials, "И");

    build(util::Period(2008, 3), 1);
    util::RecordingPrompter p;
    EXPECT_TRUE(declarations::exportDeclaration1(*t->data, out.path() + "/missing", false, {}, p).isEmpty());
    EXPECT_EQ(p.messages.size(), 1);
}

namespace {

// The fields of a declaration line: commas outside double quotes part them.
QStringList fieldsOf(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (QChar ch : line) {
        if (ch == u'"')
            quoted = !quoted;
        if (ch == u',' && !quoted)
            fields << QString();
        else
            fields.last() += ch;
    }
    return fields;
}

// Every field is a number or one quoted text with no quote of its own.
void expectWholeFields(const QString &line, int count)
{
    const QStringList fields = fieldsOf(line);
    EXPECT_EQ(fields.size(), count) << line.toStdString();
    for (const QString &f : fields) {
        if (f.contains(u'"')) {
            EXPECT_TRUE(f.startsWith(u'"') && f.endsWith(u'"') && f.count(u'"') == 2) << f.toStdString();
        }
    }
}

} // namespace

TEST_F(Declaration1Test, QuotesAndCommasInTextsKeepTheFieldCount)
{
    for (const auto &[period, count] : {std::pair{util::Period(2006, 5), 95}, std::pair{util::Period(2008, 3), 97}}) {
        build(period, 1);
        employees::EmployeePanel(*t->data, 100)
            .post(ivan, {{"PERSON_IME", "Иван \"Ванко\" Петров, мл."}, {"PERSON_ADDR", "ж.к. \"Изток\", бл. \"5\""}});
        reference::postCompany(*t->data, {{"FIRMA_IME", "\"Орел\", ООД"}});
        for (bool store : {false, true}) {
            const QString file = util::fromCp1251(exportFile(store));
            const QStringList lines = file.split("\r\n", Qt::SkipEmptyParts);
            ASSERT_FALSE(lines.isEmpty());
            for (const QString &line : lines)
                expectWholeFields(line, count);
            EXPECT_TRUE(file.contains("'")) << file.toStdString(); // the quotes became apostrophes
        }
    }
}

TEST_F(Declaration1Test, Year2007InEitherCodePage)
{
    const QByteArray windows = util::toCp1251(u"ШИПКА");
    const QByteArray dos = util::cp1251ToDos(windows);
    for (int page : {0, 1}) {
        build(util::Period(2007, 10), page);
        const QByteArray file = exportFile(false);
        const QList<QByteArray> lines = file.split('\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(QString::fromLatin1(lines[0]).count(QLatin1Char(',')), 96) << page;
        EXPECT_EQ(file.contains(windows), page == 1) << page;
        EXPECT_EQ(file.contains(dos), page == 0) << page;
    }
}

TEST_F(Declaration1Test, EmployeesAreRecalculatedFirstAndAnOlderFileStaysUntilTheNewOneIsWhole)
{
    build(util::Period(2008, 3), 1);
    storage::DataModule &d = *t->data;
    // Ivan's stored month says 1234.50; his pay says otherwise.
    items::ItemRecord salary;
    salary.code = 1;
    salary.amount1 = 2000;
    items::ItemEntry(d).add(ivan, salary);
    items::addStandardItems(d, ivan);
    calc::Parameters params;
    params.attach(d);
    util::RecordingPrompter p;
    const QString path = declarations::exportDeclaration1(d, out.path(), false, &params, p);
    ASSERT_FALSE(path.isEmpty()) << p.messages.join(u'|').toStdString();
    const double insured = fb::Statement::scalar(d.transaction(), "select PERSDATA_WCOSUMA32 from PERSDATA where PERSDATA_PERSONID=? "
                                                                  "and PERSDATA_GOD=2008 and PERSDATA_MES=3",
                                                 {ivan})
                               .toDouble();
    EXPECT_NE(insured, 1234.5);
    const QByteArray fresh = readAll(path);
    EXPECT_TRUE(fresh.split('\n').value(0).contains("," + QByteArray::number(insured, 'f', 2) + ",")) << fresh.toStdString();

    // Stopped part-way, the file that was there stays.
    class Cancelling : public util::RecordingPrompter {
    public:
        bool cancelled() override { return true; }
    } cancelling;
    EXPECT_TRUE(declarations::exportDeclaration1(d, out.path(), false, &params, cancelling).isEmpty());
    EXPECT_EQ(cancelling.messages, QStringList{QStringLiteral("Прекъснато от потребителя.")});
    EXPECT_EQ(readAll(path), fresh);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{"EMPL2000.TXT"});
}
