#pragma once

#include <QString>
#include <QStringList>

namespace Firebird {
class IService;
}

namespace plavex::fb {

// The engine's service manager, for backup and restore. A local database
// path uses the embedded engine's own manager; "host:/path" the server's.
// Each action waits until the service has finished and throws Error unless
// the engine both reported no error and printed the action's last line: a
// truncated backup, for one, "restores" without an error up to where it
// ends. A failed action is never taken for a finished one.
class Service {
public:
    Service(const QString &databasePath, const QString &user, const QString &password);
    ~Service();
    Service(const Service &) = delete;
    Service &operator=(const Service &) = delete;

    // Writes a backup of the database into the file (overwritten when it exists).
    void backup(const QString &database, const QString &file);
    // Builds the database from the backup with page size 4096; replace lets
    // it take the place of an existing file, otherwise an existing file is
    // an error.
    void restore(const QString &file, const QString &database, bool replace);

    // What the last action printed (the engine's verbose lines).
    const QStringList &output() const { return output_; }

    void detach();

private:
    void runAction(const QByteArray &spb, const char *lastLine, const QString &failure);
    void start(const QByteArray &spb);
    void waitForEnd();

    Firebird::IService *service_ = nullptr;
    QString host_; // empty for the embedded engine
    QStringList output_;
};

} // namespace plavex::fb
