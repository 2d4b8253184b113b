#pragma once

namespace Firebird {
class ITransaction;
}

namespace plavex::fb {

class Connection;

// Read committed, record version; a writer either waits for a conflicting
// lock (the company database), at most kLockTimeoutSeconds, or fails at
// once (the users database).
class Transaction {
public:
    enum class LockWait { Wait, NoWait };
    static constexpr int kLockTimeoutSeconds = 10;

    explicit Transaction(Connection &connection, LockWait wait = LockWait::Wait);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void start();
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();
    bool isActive() const { return handle_ != nullptr; }
    // Counts the ends of units of work (commits, rollbacks, undone
    // savepoints): the row locks taken before the last one are gone.
    unsigned long long generation() const { return generation_; }
    void noteUndo() { ++generation_; }

    // Starts the transaction when it is not running yet.
    Firebird::ITransaction *handle();
    Connection &connection() { return connection_; }

private:
    Connection &connection_;
    LockWait wait_;
    Firebird::ITransaction *handle_ = nullptr;
    unsigned long long generation_ = 0;
};

} // namespace plavex::fb
