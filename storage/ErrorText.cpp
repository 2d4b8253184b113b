#include "storage/ErrorText.h"

#include "storage/Locks.h"
#include "storage/fb/Error.h"

namespace plavex::storage {

namespace {

// The engine's codes of a connection that went away under the program.
bool connectionLost(const fb::Error &e)
{
    for (const long code : {335544721L, 335544726L, 335544727L, 335544741L, 335544856L, 335544528L})
        if (e.has(code))
            return true;
    return false;
}

} // namespace

QString errorText(const std::exception &e)
{
    const auto *db = dynamic_cast<const fb::Error *>(&e);
    if (!db)
        return QString::fromUtf8(e.what());
    if (db->isConflict())
        return busyMessage();
    if (connectionLost(*db))
        return QStringLiteral("Връзката със сървъра на базата данни е прекъсната. Нищо от започнатото не е записано; "
                              "опитайте отново, когато сървърът работи. (%1)").arg(db->code());
    if (db->message().contains(QLatin1String("No space left on device"), Qt::CaseInsensitive))
        return QStringLiteral("Няма място на диска: базата данни не може да запише данните. (%1)").arg(db->code());
    return db->code() ? QStringLiteral("%1 %2").arg(db->message()).arg(db->code()) : db->message();
}

} // namespace plavex::storage
