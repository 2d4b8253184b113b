#include "util/FileError.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

namespace plavex::util {

QString fileErrorText(const QFileDevice &file)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(file.fileName()).absolutePath());
    // A full disk often comes back as a failed flush with no reason of its own.
    const QStorageInfo storage(QFileInfo(file.fileName()).absolutePath());
    constexpr qint64 kNearlyFull = 64 * 1024;
    if (file.error() == QFileDevice::ResourceError || (storage.isValid() && storage.bytesAvailable() < kNearlyFull))
        return QStringLiteral("Няма място на диска: %1").arg(folder);
    return file.errorString();
}

} // namespace plavex::util
