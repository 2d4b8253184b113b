#include "storage/fb/Connection.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plavex::fb;

namespace {

class FbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path() + QStringLiteral("/t.gdb");
        Connection::createDatabase(path, QStringLiteral("DORVA"), QStringLiteral("tazmo"));
        connection.attach(path, QStringLiteral("DORVA"), QStringLiteral("tazmo"));
        Statement::run(tx, QStringLiteral("create table T (ID INTEGER NOT NULL, NAME CHARACTER (50), "
                                          "AMOUNT NUMERIC (12,2), RATE NUMERIC (5,4), ON_DAY DATE, SMALL SMALLINT)"));
        tx.commit();
    }

    QTemporaryDir dir;
    QString path;
    Connection connection;
    Transaction tx{connection};
};

} // namespace

TEST_F(FbTest, BoundValuesRoundTripExactly)
{
    Statement insert(tx, QStringLiteral("insert into T (ID, NAME, AMOUNT, RATE, ON_DAY, SMALL) values (?,?,?,?,?,?)"));
    insert.bindAll({1, QStringLiteral("О'Нийл, \"Иван\"; Й"), 1234.56, 0.2205, QDate(2007, 12, 31), 7});
    insert.execute();
    insert.bindAll({2, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    insert.execute();
    tx.commitRetaining();

    Statement q(tx, QStringLiteral("select ID, NAME, AMOUNT, RATE, ON_DAY, SMALL from T order by ID"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.toText(1), QStringLiteral("О'Нийл, \"Иван\"; Й"));
    EXPECT_DOUBLE_EQ(q.toDouble(2), 1234.56);
    EXPECT_DOUBLE_EQ(q.toDouble(3), 0.2205);
    EXPECT_EQ(q.toDate(4), QDate(2007, 12, 31));
    EXPECT_EQ(q.toInt(5), 7);
    EXPECT_EQ(q.columnIndex(u"amount"), 2);
    ASSERT_TRUE(q.next());
    for (int i = 1; i < 6; ++i)
        EXPECT_TRUE(q.isNull(i)) << i;
    EXPECT_FALSE(q.next());
}

// Numbers and texts read straight from the row are what value() gives.
TEST_F(FbTest, ReadersGiveWhatValueGives)
{
    Statement::run(tx, QStringLiteral("create table R (I INTEGER, B BIGINT, S SMALLINT, A NUMERIC (12,2), M NUMERIC (12,3), "
                                      "F DOUBLE PRECISION, C CHARACTER (12), V VARCHAR (12), D DATE)"));
    tx.commitRetaining();
    Statement insert(tx, QStringLiteral("insert into R values (?,?,?,?,?,?,?,?,?)"));
    const QList<QVariantList> rows{
        {7, qint64(5000000000), -3, 1234.56, -0.125, 0.1, QStringLiteral("  Йо  "), QStringLiteral(" x "), QDate(2026, 1, 31)},
        {0, 0, 0, -0.01, 99999.999, -2.5, QStringLiteral("            "), QString(""), QDate(1899, 12, 31)},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
    };
    for (const QVariantList &r : rows) {
        insert.bindAll(r);
        insert.execute();
    }
    Statement q(tx, QStringLiteral("select I, B, S, A, M, F, C, V, D from R"));
    int n = 0;
    while (q.next()) {
        for (int c = 0; c < q.columnCount(); ++c) {
            const QVariant v = q.value(c);
            EXPECT_EQ(q.toInt(c), v.toLongLong()) << n << "/" << c;
            EXPECT_EQ(q.toDouble(c), v.toDouble()) << n << "/" << c;
            EXPECT_EQ(q.toText(c), v.toString()) << n << "/" << c;
            EXPECT_EQ(q.toText(c).isNull(), v.toString().isNull()) << n << "/" << c;
        }
        ++n;
    }
    EXPECT_EQ(n, 3);
}

TEST_F(FbTest, InjectedTextIsOnlyAValue)
{
    Statement::run(tx, QStringLiteral("insert into T (ID, NAME) values (1, 'A')"));
    EXPECT_FALSE(Statement::scalar(tx, QStringLiteral("select ID from T where NAME=?"), {QStringLiteral("' or ''='")}).isValid());
    EXPECT_EQ(Statement::scalar(tx, QStringLiteral("select count(*) from T")).toInt(), 1);
}

TEST_F(FbTest, ErrorsCarryTheServerCode)
{
    try {
        Statement::run(tx, QStringLiteral("create table T (ID INTEGER)"));
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.code(), kObjectExists);
        EXPECT_TRUE(e.message().contains(QStringLiteral("T")));
    }
    tx.rollback();
    try {
        Statement::run(tx, QStringLiteral("select * from NOSUCHTABLE"));
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_NE(e.code(), 0);
        EXPECT_EQ(e.sql(), QStringLiteral("select * from NOSUCHTABLE"));
    }
}


TEST(FbConnection, HostPathIsRemote)
{
    EXPECT_TRUE(Connection::isRemote(QStringLiteral("server:/data/plavex.gdb")));
    EXPECT_TRUE(Connection::isRemote(QStringLiteral("localhost/3050:/data/plavex.gdb")));
    EXPECT_FALSE(Connection::isRemote(QStringLiteral("/data/plavex.gdb")));
    EXPECT_FALSE(Connection::isRemote(QStringLiteral("/data/a:b.gdb")));
}
