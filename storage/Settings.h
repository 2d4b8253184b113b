#pragma once

#include "storage/IniFile.h"
#include "util/Period.h"

#include <QString>

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
    QString user;
    QString password;
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
