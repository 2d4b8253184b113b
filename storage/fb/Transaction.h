#pragma once

namespace Firebird {
class ITransaction;
}

namespace plavex::fb {

class Connection;

// Read committed, record version; a writer either waits for a conflicting
// lock (the company database) or fails at once (the users database).
class Transaction {
public:
    enum class LockWait { Wait, NoWait };

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

    // Starts the transaction when it is not running yet.
    Firebird::ITransaction *handle();
    Connection &connection() { return connection_; }

private:
    Connection &connection_;
    LockWait wait_;
    Firebird::ITransaction *handle_ = nullptr;
};

} // namespace plavex::fb
