#pragma once

#include "storage/fb/Error.h"

#include <QHash>
#include <QString>

namespace plavex::fb {
class Transaction;
}

namespace plavex::storage {

// What a unit of work says when another copy of the program kept what it
// needs for longer than the program waits.
QString busyMessage(); // "Данните се променят от друг потребител. Опитайте отново."

// A unit of work refused because of another copy of the program: it waited
// too long for a lock, or the month it works on was closed meanwhile.
// Nothing of the unit was done. An engine error without a code of its own,
// so that whoever shows engine errors shows this one too.
class Busy : public fb::Error {
public:
    explicit Busy(const QString &message) : fb::Error(0, message) {}
};

// Writer locks shared by every copy of the program on one database: one row
// per name in the table LOCKS, updated by whoever writes. The row stays
// locked by that transaction until its next commit, so a second writer
// waits there (bounded by the transaction's lock timeout), and after the
// first one's commit tries again and reads what it committed. Keys taken as
// "largest + 1" under such a lock are never taken twice. Taking a lock the
// transaction already holds costs nothing.
class Locks {
public:
    static constexpr int kWaitMilliseconds = 30000;

    explicit Locks(fb::Transaction &transaction) : tx_(transaction) {}

    // Creates the table when the database lacks it (commits).
    void ensureTable();
    // Takes the named lock, creating its row on first use; returns how many
    // times the month of that name was closed. Throws Busy after the wait.
    int take(const QString &name);
    // Read without taking the lock.
    int closedCount(const QString &name);
    // One closing more, under the lock held.
    void markClosed(const QString &name);

    // Conflicts waited out and tried again, for the record.
    int retries() const { return retries_; }

private:
    struct Held {
        unsigned long long generation = 0;
        int closed = 0;
    };
    fb::Transaction &tx_;
    QHash<QString, Held> held_;
    bool ready_ = false;
    int retries_ = 0;
};

} // namespace plavex::storage
