#pragma once

#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace plavex::test {

// A valid ЕГН for the tests' employees (born 01.01.1980).
inline const QString kEgn = QStringLiteral("8001010008");

// The private Firebird server of a test run (scripts/test-server), read from
// the file the script wrote; nothing when there is none.
struct TestServer {
    QString host;  // "127.0.0.1/port"
    QString dbDir; // a folder the server may write
    QString user;
    QString password;
    static std::optional<TestServer> fromFile(const QString &envFile);
    QString database(const QString &name) const { return host + QLatin1Char(':') + dbDir + QLatin1Char('/') + name; }
};

// A company database in its own program folder, with the shipped service
// files, made by the command line as a user would: a file of the embedded
// engine, or a database on the test server. `db` reads it from this process
// (it sees what the other processes commit).
struct CliCompany {
    explicit CliCompany(const QString &period = QStringLiteral("022025"), const std::optional<TestServer> &server = {},
                        const QString &name = QStringLiteral("company.gdb"));
    // The options that point a command at this company (none for the embedded file).
    QStringList globalArgs;
    CliRun cli(const QStringList &args) const { return runCli(dir(), globalArgs + args); }
    QString dir() const { return db.dir.path(); }
    QString path() const { return db.settings.database; }
    // Every row of every table of the company but the writer locks, as a
    // digest per table (one line each); with `keep`, only the tables it
    // keeps are read (a table read here is in use for the other processes).
    QByteArray digest(const std::function<bool(const QString &)> &keep = {});
    qint64 scalar(const QString &sql, const QVariantList &values = {}) { return db.scalar(sql, values); }

    TestDatabase db;
};

// The two promises of two copies on one database, for either home of it:
// two lanes of 50 additions never share a key, and a closing beside
// additions leaves nobody behind. They report through gtest.
void expectParallelAddsNeverShareAKey(CliCompany &c);
void expectClosingBesideAddsLeavesNobodyBehind(CliCompany &c);

} // namespace plavex::test
