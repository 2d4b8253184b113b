#pragma once

#include <QString>

#include <optional>

namespace plavex::bench {

// Where a benchmark's company lives: the embedded file (nothing here) or a
// database on a server, with its login.
struct ServerDatabase {
    QString path; // host:/folder/file.gdb
    QString user;
    QString password;
};

// A database file named after `name` on the test server of
// scripts/test-server, when PLAVEX_BENCH_SERVER_ENV names its file.
std::optional<ServerDatabase> benchServer(const QString &name);

} // namespace plavex::bench
