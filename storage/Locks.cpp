#include "storage/Locks.h"

#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QThread>

namespace plavex::storage {

Q_LOGGING_CATEGORY(lcLocks, "plavex.storage.locks", QtWarningMsg)

QString busyMessage() { return QStringLiteral("Данните се променят от друг потребител. Опитайте отново."); }

void Locks::ensureTable()
{
    if (ready_)
        return;
    const QVariant format = fb::Statement::scalar(
        tx_, QStringLiteral("select case when RDB$FORMAT is null then 0 else 1 end from RDB$RELATIONS where RDB$RELATION_NAME='LOCKS'"));
    // A copy killed while the engine committed the table can leave its name
    // without a record format: nothing can be in it, so it is made anew.
    if (format.isValid() && format.toInt() == 0) {
        try {
            fb::Statement::run(tx_, QStringLiteral("drop table LOCKS"));
            tx_.commitRetaining();
        } catch (const fb::Error &e) {
            if (!e.isConflict())
                throw;
            tx_.rollbackRetaining();
        }
    }
    const bool exists = format.isValid() && format.toInt() == 1;
    if (!exists) {
        try {
            fb::Statement::run(tx_, QStringLiteral("create table LOCKS (LOCK_NAME VARCHAR(31) NOT NULL, LOCK_TAKEN INTEGER, "
                                                   "LOCK_CLOSED INTEGER)"));
            tx_.commitRetaining();
            fb::Statement::run(tx_, QStringLiteral("create unique index LOCKS_NAME on LOCKS (LOCK_NAME)"));
            tx_.commitRetaining();
        } catch (const fb::Error &e) {
            // Another copy made it at the same moment.
            if (!e.has(fb::kObjectExists) && !e.isConflict() && !e.isDuplicateKey())
                throw;
            tx_.rollbackRetaining();
        }
    }
    ready_ = true;
}

int Locks::take(const QString &name)
{
    const auto held = held_.constFind(name);
    if (held != held_.constEnd() && held->generation == tx_.generation())
        return held->closed;
    ensureTable();
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        try {
            fb::Statement::run(tx_, QStringLiteral("UPDATE LOCKS SET LOCK_TAKEN=LOCK_TAKEN+1 WHERE LOCK_NAME=?"), {name});
            QVariant closed = fb::Statement::scalar(tx_, QStringLiteral("SELECT LOCK_CLOSED FROM LOCKS WHERE LOCK_NAME=?"), {name});
            if (!closed.isValid()) {
                fb::Statement::run(tx_, QStringLiteral("INSERT INTO LOCKS (LOCK_NAME,LOCK_TAKEN,LOCK_CLOSED) VALUES (?,1,0)"), {name});
                closed = 0;
            }
            held_.insert(name, {tx_.generation(), closed.toInt()});
            return closed.toInt();
        } catch (const fb::Error &e) {
            // The holder committed (the row changed under us), still holds it
            // after the lock timeout, or made the row at the same moment.
            if (!e.isConflict() && !e.isDuplicateKey())
                throw;
            if (waited.elapsed() > kWaitMilliseconds)
                throw Busy(busyMessage());
            ++retries_;
            qCInfo(lcLocks) << "lock" << name << "busy, trying again:" << e.code();
            QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
        }
    }
}

int Locks::closedCount(const QString &name)
{
    ensureTable();
    return fb::Statement::scalar(tx_, QStringLiteral("SELECT LOCK_CLOSED FROM LOCKS WHERE LOCK_NAME=?"), {name}).toInt();
}

void Locks::markClosed(const QString &name)
{
    take(name);
    fb::Statement::run(tx_, QStringLiteral("UPDATE LOCKS SET LOCK_CLOSED=LOCK_CLOSED+1 WHERE LOCK_NAME=?"), {name});
    held_[name].closed += 1;
}

} // namespace plavex::storage
