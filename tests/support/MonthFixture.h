#pragma once

#include "items/Definitions.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QVariantMap>

#include <gtest/gtest.h>

namespace plavex::test {

// A small company written straight into the month's tables: the closing
// and the bulk operations read them as the program leaves them.
class MonthFixture : public ::testing::Test {
protected:
    explicit MonthFixture(const util::Period &period = util::Period(2008, 1)) : t(period) {}

    void SetUp() override { ASSERT_TRUE(t.open()); }

    storage::DataModule &data() { return *t.data; }
    QString table(QStringView base) { return t.data->table(base); }
    QString table(QStringView base, const util::Period &period);

    // An employee of the current month; extra columns by name.
    int addPerson(int number, const QString &name, const QVariantMap &columns = {});
    void addDefinition(int code, int type, const QString &flags = QStringLiteral("0000000000"));

    // An item with the amounts PERO_SUMA, PERO_SUMA1, PERO_SUMA2, the days and the end date.
    int addItem(int person, int code, int type, const QVariant &amount, const QVariant &amount1,
                const QVariant &amount2 = {}, const QVariant &d = {}, const QVariant &end = {});
    void addSummary(int person, const util::Period &period, int sdni, int nsdni, int rabdni);

    qint64 scalar(const QString &sql, const QVariantList &values = {}) { return t.scalar(sql, values); }
    QVariant value(const QString &sql, const QVariantList &values = {})
    {
        return fb::Statement::scalar(t.data->transaction(), sql, values);
    }
    qint64 rows(const QString &tableName) { return scalar(QStringLiteral("select count(*) from ") + tableName); }
    QString storedPeriod() { return value(QStringLiteral("select PAR_CURDATE from MYPARAMS")).toString().trimmed(); }

    TestDatabase t;
    int nextPerson_ = 0;
    int nextItem_ = 0;
};

} // namespace plavex::test
