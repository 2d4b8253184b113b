#include "tests/support/MonthRows.h"

#include "storage/DataModule.h"

#include <QStringList>

namespace plavex::test {

namespace {

void insertColumns(storage::DataModule &d, const QString &table, const QVariantMap &columns)
{
    d.insertValues(table, columns.keys().join(QLatin1Char(',')), columns.values());
}

} // namespace

void insertEmployee(storage::DataModule &d, const QVariantMap &columns) { insertColumns(d, d.table(u"PERSONS"), columns); }

int insertItem(storage::DataModule &d, int person, int code, int type, const QVariantMap &columns)
{
    const QString table = d.table(u"PERA");
    const int id = d.getMaxValue(table, QStringLiteral("PERO_PEROID")) + 1;
    QVariantMap all = columns;
    all.insert(QStringLiteral("PERO_PEROID"), id);
    all.insert(QStringLiteral("PERO_PERSONID"), person);
    all.insert(QStringLiteral("PERO_COD"), code);
    all.insert(QStringLiteral("PERO_TYPE"), type);
    insertColumns(d, table, all);
    return id;
}

void insertTotals(storage::DataModule &d, int person)
{
    insertItem(d, person, 1000, 100);
    insertItem(d, person, 2000, 200);
    insertItem(d, person, 2010, 201);
}

} // namespace plavex::test
