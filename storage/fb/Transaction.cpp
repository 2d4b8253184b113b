#include "storage/fb/Transaction.h"

#include "storage/fb/Connection.h"
#include "storage/fb/Error.h"
#include "storage/fb/Status.h"

#include <vector>

using namespace Firebird;

namespace plavex::fb {

Transaction::Transaction(Connection &connection, LockWait wait) : connection_(connection), wait_(wait) {}

Transaction::~Transaction()
{
    // Ending without an explicit decision commits, as the engine's own
    // default transaction does when it is stopped.
    if (handle_ && connection_.isOpen()) {
        try {
            commit();
        } catch (const Error &) {
            // The attachment may already be gone; nothing more can be done.
        }
    } else if (handle_) {
        handle_->release();
        handle_ = nullptr;
    }
}

void Transaction::start()
{
    if (handle_)
        return;
    if (!connection_.isOpen())
        throw Error(0, QStringLiteral("Няма връзка с базата данни."));
    std::vector<unsigned char> tpb = {
        isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
        static_cast<unsigned char>(wait_ == LockWait::Wait ? isc_tpb_wait : isc_tpb_nowait),
    };
    if (wait_ == LockWait::Wait) {
        // A second copy holding a lock is waited for, but not for ever.
        tpb.insert(tpb.end(), {isc_tpb_lock_timeout, 4, kLockTimeoutSeconds, 0, 0, 0});
    }
    Status status;
    try {
        handle_ = connection_.handle()->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data());
    } catch (const FbException &e) {
        Engine::rethrow(e);
    }
}

ITransaction *Transaction::handle()
{
    start();
    return handle_;
}

void Transaction::commit()
{
    if (!handle_)
        return;
    Status status;
    try {
        handle_->commit(&status);
        handle_ = nullptr;
        ++generation_;
    } catch (const FbException &e) {
        Engine::rethrow(e);
    }
}

void Transaction::commitRetaining()
{
    if (!handle_)
        return;
    Status status;
    try {
        handle_->commitRetaining(&status);
        ++generation_;
    } catch (const FbException &e) {
        Engine::rethrow(e);
    }
}

void Transaction::rollback()
{
    if (!handle_)
        return;
    Status status;
    try {
        handle_->rollback(&status);
        handle_ = nullptr;
        ++generation_;
    } catch (const FbException &e) {
        handle_->release();
        handle_ = nullptr;
        ++generation_;
        Engine::rethrow(e);
    }
}

void Transaction::rollbackRetaining()
{
    if (!handle_)
        return;
    Status status;
    try {
        handle_->rollbackRetaining(&status);
        ++generation_;
    } catch (const FbException &e) {
        Engine::rethrow(e);
    }
}

} // namespace plavex::fb
