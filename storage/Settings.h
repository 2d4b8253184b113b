#pragma once

#include "storage/IniFile.h"
#include "util/Period.h"

#include <QString>

#include <optional>

namespace plavex::storage {

// "Plavex.ini" in the program folder: which database, who opens it, the
// period worked on last and the unit digits of an employee number. Read
// whole at start, written whole at exit; the windows keep their own
// sections (placements, column widths) in the same file through ini().
class Settings {
public:
    explicit Settings(const QString &programDir);

    void read();  // missing file, missing keys, blank or garbage values: the defaults
    bool save();

    const QString &programDir() const { return programDir_; } // with a trailing separator
    QString iniPath() const;
    QString nomsDir() const;
    static QString defaultDatabase(const QString &programDir);

    QString database;
    QString user;     // the database login of the settings file
    QString password;
    // The login a database server is asked with: the command line's
    // (--db-user, --db-password), else the environment's (ISC_USER,
    // ISC_PASSWORD, as every Firebird tool reads them), else the file's.
    // Neither override is ever written back into the file.
    std::optional<QString> commandLineUser;
    std::optional<QString> commandLinePassword;
    QString serverUser() const;
    QString serverPassword() const;
    util::Period lastDate;
    int unitDigits = 2; // ZVENOCIFRI

    // 10 to the power of the unit digits (1 for none): number div this = unit code.
    int unitDivisor() const;

    IniFile &ini() { return ini_; }

private:
    QString programDir_;
    IniFile ini_;
};

} // namespace plavex::storage
