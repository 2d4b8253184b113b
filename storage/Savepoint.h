#pragma once

#include <QString>

namespace plavex::fb {
class Transaction;
}

namespace plavex::storage {

// A unit of work inside the company transaction: everything done between
// construction and release() is undone when the guard goes out of scope
// without release() (an exception, an early return). Nothing in between may
// commit: a commit ends the savepoint, and the undo then fails loudly.
class Savepoint {
public:
    explicit Savepoint(fb::Transaction &transaction);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    void release(); // keeps the work (still to be committed by the caller)
    void rollback(); // undoes the work now; throws when that is impossible

private:
    fb::Transaction &transaction_;
    QString name_;
    bool open_ = true;
};

} // namespace plavex::storage
