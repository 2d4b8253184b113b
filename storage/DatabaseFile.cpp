#include "storage/DatabaseFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace plavex::storage {

FileMade makeDatabaseFile(const QString &path, const std::function<bool(const QString &temporary)> &make, QString *failure)
{
    auto fail = [&](const QString &why) {
        if (failure)
            *failure = why;
        return FileMade::Failed;
    };
    // A lock of a copy that died is taken over.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(60000))
        return fail(QStringLiteral("Базата данни %1 се създава от друго копие на програмата. Опитайте отново.").arg(path));
    if (QFileInfo::exists(path))
        return FileMade::Existed;
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    if (!make(temporary)) {
        QFile::remove(temporary);
        return FileMade::Failed;
    }
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        return fail(QStringLiteral("Базата данни %1 не може да бъде създадена: файлът не може да бъде преименуван.").arg(path));
    }
    return FileMade::Created;
}

} // namespace plavex::storage
