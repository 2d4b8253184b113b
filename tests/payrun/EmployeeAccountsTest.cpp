// The employee's salary account and mail address: refused where typed when
// they are not one, kept as the bank wants them, and added to the databases
// of an earlier release.
#include "storage/fb/Statement.h"
#include "tests/support/Reliability.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace plavex;

namespace {

TEST(EmployeeAccounts, AreCheckedWhereTyped)
{
    test::CliCompany c(QStringLiteral("012026"));
    auto add = [&](int number, const QString &field) {
        return c.cli({"employee", "add", "--number", QString::number(number), "--name", "Тест Тестов", "--egn", test::kEgn, field});
    };
    EXPECT_EQ(add(901, QStringLiteral("ZPIBAN=BG81BNBG96611020345678")).status, 1);
    EXPECT_EQ(add(902, QStringLiteral("BOLNIBAN=BG80BNBG9661102034567")).status, 1);
    EXPECT_EQ(add(903, QStringLiteral("ZPBIC=BNBG")).status, 1);
    const test::CliRun mail = add(904, QStringLiteral("EMAIL=ivan.example.com"));
    EXPECT_EQ(mail.status, 1);
    EXPECT_TRUE(mail.err.contains(QStringLiteral("E-mail"))) << mail.err.toStdString();
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PERSONS012026 where PERSON_NOMER between 901 and 904")), 0);
    // Typed as printed on a card, kept as the bank wants it.
    ASSERT_EQ(add(905, QStringLiteral("ZPIBAN=bg80 bnbg 9661 1020 3456 78")).status, 0);
    c.db.data->transaction().commitRetaining();
    EXPECT_EQ(fb::Statement::scalar(c.db.data->transaction(),
                                    QStringLiteral("select PERSON_ZPIBAN from PERSONS012026 where PERSON_NOMER=905"))
                  .toString()
                  .trimmed(),
              QStringLiteral("BG80BNBG96611020345678"));
}

// A database of an earlier release gets the three columns when it opens,
// and keeps its rows.
TEST(EmployeeAccounts, TheUpgradeAddsTheNewColumns)
{
    test::TestDatabase db(util::Period(2026, 1));
    ASSERT_TRUE(db.open());
    fb::Transaction &tx = db.data->transaction();
    fb::Statement::run(tx, QStringLiteral("insert into PERSONS012026 (PERSON_ID, PERSON_NOMER, PERSON_IME, PERSON_EGN, PERSON_ACT) "
                                          "values (1, 7, 'Иван Петров', '8001010008', 1)"));
    tx.commit();
    fb::Statement::run(tx, QStringLiteral("alter table PERSONS012026 drop PERSON_ZPIBAN, drop PERSON_ZPBIC, drop PERSON_EMAIL"));
    tx.commit();
    db.reopen();
    const QString columns = QStringLiteral("select count(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME='PERSONS012026' "
                                           "and RDB$FIELD_NAME in ('PERSON_ZPIBAN','PERSON_ZPBIC','PERSON_EMAIL')");
    EXPECT_EQ(db.scalar(columns), 3);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from PERSONS012026 where PERSON_NOMER=7 and PERSON_ZPIBAN is null")), 1);
}

} // namespace
