#pragma once

#include "tests/support/Cli.h"
#include "tests/support/TestDatabase.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plavex::test {

// A valid ЕГН for the tests' employees (born 01.01.1980).
inline const QString kEgn = QStringLiteral("8001010008");

// A company database in its own program folder, with the shipped service
// files, made by the command line as a user would; `data` reads it from
// this process (it sees what the other processes commit).
struct CliCompany {
    explicit CliCompany(const QString &period = QStringLiteral("022025"));
    CliRun cli(const QStringList &args) const { return runCli(db.dir.path(), args); }
    QString dir() const { return db.dir.path(); }
    QString path() const { return db.dir.databasePath(); }
    // Every row of every table of the company but the writer locks, as a
    // digest per table (one line each).
    QByteArray digest();
    qint64 scalar(const QString &sql, const QVariantList &values = {}) { return db.scalar(sql, values); }

    TestDatabase db;
};

} // namespace plavex::test
