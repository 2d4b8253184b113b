#include "storage/Savepoint.h"

#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"

#include <QLoggingCategory>

#include <atomic>

namespace plavex::storage {

Q_LOGGING_CATEGORY(lcSavepoint, "plavex.storage.savepoint", QtWarningMsg)

Savepoint::Savepoint(fb::Transaction &transaction) : transaction_(transaction)
{
    // Guards may nest, so each has a name of its own.
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("PLAVEX_UNIT_%1").arg(++counter);
    fb::Statement::run(transaction_, QStringLiteral("SAVEPOINT ") + name_);
}

Savepoint::~Savepoint()
{
    if (!open_)
        return;
    try {
        rollback();
    } catch (const fb::Error &e) {
        // The failure that brought us here is what the user hears of.
        qCInfo(lcSavepoint) << "cannot undo" << name_ << e.message();
    }
}

void Savepoint::release()
{
    if (!open_)
        return;
    open_ = false;
    fb::Statement::run(transaction_, QStringLiteral("RELEASE SAVEPOINT %1 ONLY").arg(name_));
}

void Savepoint::rollback()
{
    if (!open_)
        return;
    open_ = false;
    fb::Statement::run(transaction_, QStringLiteral("ROLLBACK TO SAVEPOINT ") + name_);
    transaction_.noteUndo(); // locks taken inside the unit went with it
    fb::Statement::run(transaction_, QStringLiteral("RELEASE SAVEPOINT %1 ONLY").arg(name_));
}

} // namespace plavex::storage
