#pragma once

#include <QString>

namespace Firebird {
class IAttachment;
}

namespace plavex::fb {

// One attachment to a database. A path without a host runs the embedded
// engine in this process; "host:/path/file.gdb" goes to a Firebird server.
// Text travels as UTF-8; the engine transliterates to the columns' WIN1251.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void attach(const QString &path, const QString &user, const QString &password);
    void detach();
    bool isOpen() const { return attachment_ != nullptr; }
    const QString &path() const { return path_; }
    Firebird::IAttachment *handle() const { return attachment_; }

    // Creates a new database file (page size 4096, default character set
    // WIN1251) and leaves it closed.
    static void createDatabase(const QString &path, const QString &user, const QString &password);

    // True when the path names a database on a server ("host:path").
    static bool isRemote(const QString &path);

private:
    Firebird::IAttachment *attachment_ = nullptr;
    QString path_;
};

} // namespace plavex::fb
