#include "declarations/Declaration6.h"
#include "employees/Employees.h"
#include "reference/Company.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plavex;
using plavex::test::TestDatabase;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Two employees of type 01/1 (one in each age group) and one whose personal
// number is exactly 6000000000, with their month's totals.
void buildCompany(TestDatabase &t, const QString &bulstat)
{
    ASSERT_TRUE(t.open());
    storage::DataModule &d = *t.data;
    reference::postCompany(d, {{"FIRMA_BULSTAT", bulstat}, {"FIRMA_IME", "Орел ООД"}, {"FIRMA_EMAIL", "orel@example.bg"},
                               {"FIRMA_TEL", "02 123"}, {"FIRMA_DOOPROCF3", 0.7}});
    d.insertValues(d.table(u"NOI"),
                   "NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PENSI_FI,NOI_ZAB_FI,NOI_PKB_FI,NOI_PENSI_FI60,NOI_ZAB_FI60,"
                   "NOI_PKB_FI60,NOI_DZPO_FI60,NOI_ZDR,NOI_ZD_BOLN,NOI_GRVZ",
                   {1, 1, "Работници", 11.7, 2.1, 0.6, 8.9, 2.1, 0.6, 2.8, 4.8, 6.0, 0.5});
    util::RecordingPrompter p;
    employees::EmployeePanel panel(d, 100);
    const int old = panel.create({"1", "Стара Служителка", "5901010005"}, p);
    const int young = panel.create({"2", "Млад Служител", "6101010008"}, p);
    const int edge = panel.create({"3", "Гранично ЕГН", "7501020002"}, p);
    for (int id : {old, young, edge})
        panel.save(id);
    panel.post(edge, {{"PERSON_EGN", "6000000000"}}); // not an ЕГН the new-employee check would take
    const QString columns = "PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_WCOSUMA32,PERSDATA_SUDOO,PERSDATA_SUPKB,"
                            "PERSDATA_SUDZPO,PERSDATA_SZDR,PERSDATA_SUZDR,PERSDATA_BOLN_NOI,PERSDATA_WCOGARANT,PERSDATA_SDOD";
    const util::Period m = d.period();
    d.insertValues("PERSDATA", columns, {old, m.year(), m.month(), 1000.0, 95.5, 4.0, 0.0, 1000.0, 32.0, 0.0, 1000.0, 80.11});
    d.insertValues("PERSDATA", columns, {young, m.year(), m.month(), 2000.0, 146.0, 8.0, 44.0, 2000.0, 64.0, 0.0, 2000.0, 160.22});
    d.insertValues("PERSDATA", columns, {edge, m.year(), m.month(), 500.0, 40.0, 2.0, 11.0, 500.0, 16.0, 100.0, 500.0, 40.004});
    d.commitRetaining();
}

} // namespace

TEST(Declaration6, FileLineTotalsAndEndOfFile)
{
    TestDatabase t(util::Period(2010, 12));
    buildCompany(t, "121234567");
    QTemporaryDir out;
    util::RecordingPrompter p;
    const QString path = declarations::exportDeclaration6(*t.data, out.path(), {}, p);
    ASSERT_EQ(path, QDir(out.path()).filePath("NRA62007_121234567.TXT")) << p.messages.join(u'|').toStdString();
    const QByteArray file = readAll(path);
    // old: 95.5 + 14.4 % of 1000 + 4 = 243.50; young: 146 + 11.6 % of 2000 + 8 = 386.00;
    // accident 0.7 % of 1000 and of 2000; the edge number counts in neither age group.
    // B: 44 + 2.8 % of 2000 = 100.00; H: 4.8 % of 3000 + 32 + 64 + 6 % of 100 = 246.00;
    // D: 0.5 % of 3500 = 17.50; E: 280.334 written with two decimals.
    const QByteArray expected = "\"121234567\",\"\xCE\xF0\xE5\xEB \xCE\xCE\xC4\",0,\"orel@example.bg\",\"\",\"02 123\",12,2010,"
                                "15/01/2011,0,3,650.50,,100.00,,246.00,17.50,280.33,"
                                + QByteArray(40, ',') + "\"NRAD62007\"\r\n\x1A";
    EXPECT_EQ(file.toStdString(), expected.toStdString());
}

TEST(Declaration6, PaymentDateAndEmptyCompany)
{
    EXPECT_EQ(declarations::paymentDate(util::Period(2010, 12), {}), "15/01/2011");
    EXPECT_EQ(declarations::paymentDate(util::Period(2008, 3), {}), "15/04/2008");
    EXPECT_EQ(declarations::paymentDate(util::Period(2008, 3), QDate(2008, 4, 9)), "09/04/2008");
    EXPECT_EQ(declarations::declaration6FileName("  "), "NRA62007_.TXT");

    TestDatabase t(util::Period(2008, 3));
    ASSERT_TRUE(t.open());
    QTemporaryDir out;
    util::RecordingPrompter p;
    const QByteArray file = readAll(declarations::exportDeclaration6(*t.data, out.path(), {}, p));
    EXPECT_TRUE(file.startsWith("\"\",\"\",0,\"\",\"\",\"\",3,2008,15/04/2008,0,3,0.00,,0.00,,0.00,0.00,0.00,")) << file.constData();
    EXPECT_TRUE(declarations::exportDeclaration6(*t.data, out.path() + "/missing", {}, p).isEmpty());
}

TEST(Declaration6, QuotesInTheCompanyNameKeepTheFieldCount)
{
    TestDatabase t(util::Period(2010, 12));
    buildCompany(t, "121234567");
    reference::postCompany(*t.data, {{"FIRMA_IME", "\"Орел\", ООД"}, {"FIRMA_EMAIL", "a\"b@example.bg"}});
    QTemporaryDir out;
    util::RecordingPrompter p;
    const QByteArray file = readAll(declarations::exportDeclaration6(*t.data, out.path(), {}, p));
    const QByteArray line = file.left(file.indexOf("\r\n"));
    EXPECT_TRUE(line.startsWith("\"121234567\",\"'\xCE\xF0\xE5\xEB', \xCE\xCE\xC4\",0,\"a'b@example.bg\",")) << line.toStdString();
    EXPECT_EQ(line.count('"') % 2, 0);
}

TEST(Declaration6, TwoInsuranceTypesAddUp)
{
    // The young employee under a second type with the same rates: the totals
    // of both pairs make the one-type figures.
    TestDatabase t(util::Period(2010, 12));
    buildCompany(t, "121234567");
    storage::DataModule &d = *t.data;
    d.insertValues(d.table(u"NOI"),
                   "NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PENSI_FI,NOI_ZAB_FI,NOI_PKB_FI,NOI_PENSI_FI60,NOI_ZAB_FI60,"
                   "NOI_PKB_FI60,NOI_DZPO_FI60,NOI_ZDR,NOI_ZD_BOLN,NOI_GRVZ",
                   {2, 1, "Първа категория", 11.7, 2.1, 0.6, 8.9, 2.1, 0.6, 2.8, 4.8, 6.0, 0.5});
    fb::Statement::run(d.transaction(), "update " + d.table(u"PERSONS") + " set PERSON_NOS='02' where PERSON_NOMER=2");
    d.commitRetaining();
    QTemporaryDir out;
    util::RecordingPrompter p;
    const QByteArray file = readAll(declarations::exportDeclaration6(d, out.path(), {}, p));
    EXPECT_TRUE(file.contains(",15/01/2011,0,3,650.50,,100.00,,246.00,17.50,280.33,")) << file.toStdString();
}
