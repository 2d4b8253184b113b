#pragma once

#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "tests/support/ScriptedPrompter.h"
#include "util/Period.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace plavex::test {

// A program folder of its own in a temporary directory: settings file,
// noms/ and database/ live there and vanish with it.
class TempProgramDir {
public:
    TempProgramDir();
    QString path() const; // with a trailing separator
    QString databasePath() const;
    // Writes a service file into noms/ in Windows-1251 with CR LF line ends.
    void writeNom(const QString &name, const QStringList &lines) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;

private:
    QTemporaryDir dir_;
};

// A fresh company database in a temporary program folder, made through the
// same code the program uses.
class TestDatabase {
public:
    explicit TestDatabase(const util::Period &period = util::Period(2008, 1));
    ~TestDatabase();

    // Creates (or opens) the database and opens its period.
    bool open();
    void reopen(); // detaches and opens again, as a new run would

    TempProgramDir dir;
    storage::Settings settings;
    ScriptedPrompter prompter; // says yes unless a test scripts the answers
    std::unique_ptr<storage::DataModule> data;

    qint64 scalar(const QString &sql, const QVariantList &values = {});
};

} // namespace plavex::test
