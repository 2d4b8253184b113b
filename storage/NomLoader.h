#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace plavex::util {
class Prompter;
}

namespace plavex::fb {
class Transaction;
}

namespace plavex::storage {

// A service file that cannot be read whole; the message names the file and
// the line (or says what is wrong with the file as a whole).
class ServiceFileError : public std::runtime_error {
public:
    explicit ServiceFileError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Fills a freshly created year table from its service nomenclature file in
// "noms": Windows-1251 text, one row per line, fields separated by ";".
// Values are bound, so a quote in a name is stored as it stands. A missing
// file adds nothing (whether one is needed is the caller's question). A file
// that is not Windows-1251 text, or a bad line (wrong number of fields,
// letters in a number, a row the database rejects), stops the load with a
// ServiceFileError naming the file and the line: half a table of figures is
// worse than none. A failure of the database itself is thrown as it is.
class NomLoader {
public:
    NomLoader(fb::Transaction &transaction, util::Prompter &prompter);

    int loadNoi(const QString &table, const QString &path);
    int loadDod(const QString &table, int year, const QString &path);
    int loadPril1(const QString &table, const QString &path);
    int loadNkid(const QString &table, const QString &path);
    int loadNap(const QString &table, const QString &path);
    int loadBin(const QString &table, const QString &path);

    // Loads that stopped at a bad line.
    int stopped() const { return stopped_; }

private:
    enum class Amounts { AsRead, TwoDecimals };
    int load(const QString &base, const QString &table, const QStringList &columns, const QString &path,
             bool withErrorText, Amounts amounts);

    fb::Transaction &transaction_;
    util::Prompter &prompter_;
    int stopped_ = 0;
};

} // namespace plavex::storage
