#include "storage/ErrorText.h"

#include "storage/Locks.h"
#include "storage/fb/Error.h"

namespace plavex::storage {

QString errorText(const std::exception &e)
{
    const auto *db = dynamic_cast<const fb::Error *>(&e);
    if (!db)
        return QString::fromUtf8(e.what());
    if (db->isConflict())
        return busyMessage();
    return db->code() ? QStringLiteral("%1 %2").arg(db->message()).arg(db->code()) : db->message();
}

} // namespace plavex::storage
