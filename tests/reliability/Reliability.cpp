#include "tests/reliability/Reliability.h"

#include "storage/fb/Statement.h"

#include <QCryptographicHash>

#include <algorithm>
#include <stdexcept>

namespace plavex::test {

CliCompany::CliCompany(const QString &period)
{
    copyShippedNoms(db.dir.path());
    const CliRun r = runCli(db.dir.path(), {QStringLiteral("init"), QStringLiteral("--period"), period});
    if (r.status != 0)
        throw std::runtime_error("init: " + r.err.toStdString());
    if (!db.open())
        throw std::runtime_error("cannot open the test company");
}

QByteArray CliCompany::digest()
{
    fb::Transaction &tx = db.data->transaction();
    tx.commitRetaining(); // read what the other processes committed
    QStringList tables;
    {
        fb::Statement q(tx, QStringLiteral("select RDB$RELATION_NAME from RDB$RELATIONS where RDB$SYSTEM_FLAG=0 "
                                           "and RDB$VIEW_BLR is null order by RDB$RELATION_NAME"));
        while (q.next())
            tables << q.toText(0).trimmed();
    }
    tables.removeAll(QStringLiteral("LOCKS"));
    QByteArray digests;
    for (const QString &t : tables) {
        fb::Statement q(tx, QStringLiteral("select * from ") + t);
        QStringList rows;
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.columnCount(); ++i)
                values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            rows << values.join(QLatin1Char('|'));
        }
        std::sort(rows.begin(), rows.end());
        // Per table, so that a difference says where it is.
        digests += t.toUtf8() + ' '
                   + QCryptographicHash::hash(rows.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1).toHex().left(12) + '\n';
    }
    return digests;
}

} // namespace plavex::test
