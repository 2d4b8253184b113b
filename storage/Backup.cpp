#include "storage/Backup.h"

#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "storage/fb/Service.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace plavex::storage {

namespace {

const QString kBackupFailed = QStringLiteral("Грешка при архивиране на базата данни.\n");
const QString kRestoreFailed = QStringLiteral("Грешка при възстановяване на базата данни.\n");

// Replaces `to` by `from` in one step (both in one folder).
bool replaceFile(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void runRestore(const QString &file, const QString &target, bool replace, const Settings &settings)
{
    fb::Service service(target, settings.serverUser(), settings.serverPassword());
    service.restore(file, target, replace);
    service.detach();
}

// Other programs attached to the database, whose work a replaced file would lose.
qint64 otherAttachments(DataModule &data)
{
    return fb::Statement::scalar(data.transaction(),
                                 QStringLiteral("select count(*) from MON$ATTACHMENTS "
                                                "where MON$ATTACHMENT_ID<>CURRENT_CONNECTION and MON$SYSTEM_FLAG=0"))
        .toLongLong();
}

bool reconnect(DataModule &data, const QString &path)
{
    if (!data.connectToDatabase(path, data.settings().serverUser(), data.settings().serverPassword()))
        return false;
    data.openPeriod(data.period());
    return true;
}

} // namespace

bool isDatabaseFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(20);
    if (head.size() < 20)
        return false;
    auto word = [&](int at) { return static_cast<unsigned>(static_cast<unsigned char>(head[at])) | static_cast<unsigned>(static_cast<unsigned char>(head[at + 1])) << 8; };
    // The header page: page type 1, then the page size and the on-disk structure version.
    const unsigned pageSize = word(16);
    const unsigned ods = word(18) & 0x7FFF;
    const bool powerOfTwo = pageSize >= 1024 && pageSize <= 32768 && (pageSize & (pageSize - 1)) == 0;
    return head[0] == 1 && powerOfTwo && ods >= 8 && ods <= 13;
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo x(a);
    const QFileInfo y(b);
    if (!x.exists() || !y.exists())
        return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
    return x.canonicalFilePath() == y.canonicalFilePath();
}

QString backupQuestion() { return QStringLiteral("Сигурни ли сте, че искате да архивирате базата данни?"); }
QString restoreQuestion() { return QStringLiteral("Сигурни ли сте, че искате да възстановите стари данни?"); }
QString restoreOtherQuestion() { return QStringLiteral("Желаете ли да възстановите данните в друга база?"); }
QString restoreCurrentQuestion()
{
    return QStringLiteral("Сигурни ли сте, че искате да възстановите стари данни в базата данни?\n"
                          "Текущото състояние ще бъде заличено.");
}

QString defaultBackupFile(const Settings &settings, const util::Period &period, const QString &databasePath)
{
    const QString name = period.text() + QStringLiteral("back.gbk");
    if (fb::Connection::isRemote(databasePath)) {
        const QString onServer = databasePath.mid(databasePath.indexOf(QLatin1Char(':')) + 1);
        return onServer.left(onServer.lastIndexOf(QLatin1Char('/')) + 1) + name;
    }
    return settings.programDir() + QStringLiteral("backup/") + name;
}

QString backupLocation(const QString &file, const QString &databasePath)
{
    if (!fb::Connection::isRemote(databasePath))
        return file;
    return databasePath.left(databasePath.indexOf(QLatin1Char(':'))) + QLatin1Char(':') + file;
}

void backupDatabase(const QString &file, const QString &databasePath, const QString &user, const QString &password)
{
    fb::Service service(databasePath, user, password);
    if (fb::Connection::isRemote(databasePath)) {
        // The file is the server's; there is nothing of ours to rename.
        service.backup(databasePath, file);
        return;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    try {
        service.backup(databasePath, part);
        service.detach();
    } catch (const fb::Error &) {
        QFile::remove(part);
        throw;
    }
    if (QFileInfo(part).size() <= 0 || !replaceFile(part, file)) {
        QFile::remove(part);
        throw fb::Error(0, QStringLiteral("Файлът %1 не може да бъде записан.").arg(file));
    }
}

bool backupCurrent(DataModule &data, const QString &file)
{
    const QFileInfo target(file);
    const QString database = data.databasePath();
    const QString databaseFile = fb::Connection::isRemote(database) ? database.mid(database.indexOf(QLatin1Char(':')) + 1) : database;
    QString refusal;
    if (target.isDir())
        refusal = QStringLiteral("%1 е папка. Посочете име на файл за архива.").arg(file);
    else if (sameFile(file, databaseFile) || (target.exists() && isDatabaseFile(file)))
        refusal = QStringLiteral("Файлът %1 е база данни и не може да бъде заменен с архив. Изберете друго име.").arg(file);
    if (!refusal.isEmpty()) {
        data.prompter().message(kBackupFailed + refusal);
        return false;
    }
    try {
        // What is committed is what the engine backs up.
        data.commitRetaining();
        backupDatabase(file, data.databasePath(), data.settings().serverUser(), data.settings().serverPassword());
        return true;
    } catch (const fb::Error &e) {
        data.prompter().message(kBackupFailed + e.message());
        return false;
    }
}

bool restoreOverCurrent(DataModule &data, const QString &file)
{
    const QString path = data.databasePath();
    // A server reads its own files: only a local one can be looked at here.
    if (!fb::Connection::isRemote(path) && !QFileInfo::exists(file)) {
        data.prompter().message(kRestoreFailed + QStringLiteral("Файлът %1 не съществува.").arg(file));
        return false;
    }
    if (fb::Connection::isRemote(path)) {
        // A server's files are out of reach: the engine replaces the database itself.
        data.close();
        bool restored = true;
        try {
            runRestore(file, path, true, data.settings());
        } catch (const fb::Error &e) {
            data.prompter().message(kRestoreFailed + e.message());
            restored = false;
        }
        return reconnect(data, path) && restored;
    }

    const QString fresh = path + QStringLiteral(".restore");
    QFile::remove(fresh);
    try {
        runRestore(file, fresh, false, data.settings());
        if (otherAttachments(data) > 0) {
            QFile::remove(fresh);
            data.prompter().message(kRestoreFailed + QStringLiteral("Базата данни се използва от друга програма. "
                                                                    "Затворете я и опитайте отново."));
            return false;
        }
    } catch (const fb::Error &e) {
        QFile::remove(fresh);
        data.prompter().message(kRestoreFailed + e.message());
        return false;
    }
    data.close();
    if (!replaceFile(fresh, path)) {
        QFile::remove(fresh);
        data.prompter().message(kRestoreFailed + QStringLiteral("Файлът %1 не може да бъде заменен.").arg(path));
        reconnect(data, path);
        return false;
    }
    return reconnect(data, path);
}

bool restoreInto(DataModule &data, const QString &file, const QString &target)
{
    if (sameFile(target, data.databasePath())) {
        data.prompter().message(kRestoreFailed
                                + QStringLiteral("%1 е текущата база данни. За да я възстановите, изберете възстановяване "
                                                 "в текущата база.").arg(target));
        return false;
    }
    if (QFileInfo::exists(target)) {
        data.prompter().message(kRestoreFailed
                                + QStringLiteral("Файлът %1 вече съществува. Изберете име на нова база данни.").arg(target));
        return false;
    }
    if (!fb::Connection::isRemote(target) && !QFileInfo::exists(file)) {
        data.prompter().message(kRestoreFailed + QStringLiteral("Файлът %1 не съществува.").arg(file));
        return false;
    }
    if (fb::Connection::isRemote(target)) {
        try {
            runRestore(file, target, false, data.settings());
            return true;
        } catch (const fb::Error &e) {
            data.prompter().message(kRestoreFailed + e.message());
            return false;
        }
    }
    QDir().mkpath(QFileInfo(target).absolutePath());
    // What an earlier, killed run left under the temporary name goes first.
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    try {
        runRestore(file, part, false, data.settings());
    } catch (const fb::Error &e) {
        QFile::remove(part);
        data.prompter().message(kRestoreFailed + e.message());
        return false;
    }
    if (QFileInfo::exists(target) || !replaceFile(part, target)) {
        QFile::remove(part);
        data.prompter().message(kRestoreFailed + QStringLiteral("Файлът %1 не може да бъде записан.").arg(target));
        return false;
    }
    return true;
}

} // namespace plavex::storage
