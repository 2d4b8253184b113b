#pragma once

#include <QString>
#include <QStringList>

namespace plavex::util {
class Prompter;
}

namespace plavex::fb {
class Transaction;
}

namespace plavex::storage {

// Fills a freshly created year table from its service nomenclature file in
// "noms": Windows-1251 text, one row per line, fields separated by ";".
// Values are bound, so a quote in a name is stored as it stands. A missing
// file adds nothing and says nothing. A bad line (wrong number of fields,
// letters in a number, a row the database rejects) is reported naming the
// file and the line and skipped; for the rates table it stops the load.
class NomLoader {
public:
    NomLoader(fb::Transaction &transaction, util::Prompter &prompter);

    int loadNoi(const QString &table, const QString &path);
    int loadDod(const QString &table, int year, const QString &path);
    int loadPril1(const QString &table, const QString &path);
    int loadNkid(const QString &table, const QString &path);
    int loadNap(const QString &table, const QString &path);
    int loadBin(const QString &table, const QString &path);

    // Loads that stopped at a bad line (the rates file stops; others skip).
    int stopped() const { return stopped_; }

private:
    enum class OnBadLine { Skip, Stop };
    enum class Amounts { AsRead, TwoDecimals };
    int load(const QString &base, const QString &table, const QStringList &columns, const QString &path,
             OnBadLine policy, bool withErrorText, Amounts amounts);

    fb::Transaction &transaction_;
    util::Prompter &prompter_;
    int stopped_ = 0;
};

} // namespace plavex::storage
