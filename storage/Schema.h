#pragma once

#include "storage/Catalogue.h"
#include "util/Period.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::fb {
class Transaction;
}

namespace plavex::storage {

// The four amounts a new month's company row starts with: those of the last
// company row loaded (the minimum wage is 150.00 before any).
struct CompanySeed {
    double minSalary = 150.0;
    double maxInsurable = 0.0;
    double minInsurable = 0.0;
    double maternity = 0.0;
};

// Creation, seeding, indexing and upgrade of a period's tables in the company
// database, from the catalogue's definition lists.
class Schema {
public:
    Schema(fb::Transaction &transaction, util::Prompter &prompter, const QString &nomsDir);

    bool tableExists(const QString &name);

    // False when the table exists already (silently) or could not be made
    // (the server's message, code and table name are shown).
    bool createTable(const QString &name, const TableDef &def);

    // Every missing table of the period, in creation order; the new ones are
    // seeded. Returns the names created (and filled again). The making is one
    // unit under a lock of all copies of the program: a table counts as made
    // once its rows are committed, one whose making was cut off is filled
    // again, and a second copy waits and then finds it made. A service file
    // that cannot be read whole (ServiceFileError) or no service folder at
    // all leaves nothing made.
    QStringList createTables(const util::Period &period, CompanySeed &seed);
    void createIndexes(const util::Period &period);

    // Adds the columns of the list the table lacks, each at its list
    // position; returns how many were added.
    int upgradeTable(const QString &name, const TableDef &def);
    bool addColumn(const QString &table, const ColumnDef &column, int position);
    bool alterDomainType(const QString &table, const QString &column, const ColumnDef &entry);
    QString columnType(const QString &table, const QString &column);

    // Columns of the given tables, upper case, one query.
    QHash<QString, QSet<QString>> columnsOf(const QStringList &tables);

    // Loaders of the year tables (a missing file leaves the table empty).
    void seedKat(const QString &table);
    void seedObs(const QString &table);
    void seedNoi(const QString &table, const util::Period &period);
    void seedDod(const QString &table, int year);
    void seedPril1(const QString &table, int year);
    void seedNkid(const QString &table);
    void seedNap(const QString &table, int year);
    void seedBin(const QString &table, int year);
    void seedFirma(const QString &table, const util::Period &period, CompanySeed &seed);

    // The last year whose rates and tax scale are both shipped in noms/ (0
    // when none), and the year whose figures fill the tables of `year`: its
    // own, or past the last year shipped that year's, since the law stands
    // until it is changed. Earlier years without files stay as they are.
    int lastShippedYear() const;
    int figuresYear(int year) const;

    const QString &nomsDir() const { return nomsDir_; }
    // Seed loads that stopped at a bad line since this object was made.
    int stoppedLoads() const { return stoppedLoads_; }
    // "The service folder is missing": nothing of a year can be read.
    QString missingNomsMessage() const;

private:
    bool tablesNeedWork(const std::vector<std::pair<QString, QString>> &wanted);
    bool tableUsable(const QString &name);
    // True when an index is missing; with onlyLook nothing is made.
    bool makeIndexes(const util::Period &period, bool onlyLook);
    QString noiFile(const util::Period &period) const;
    // The file of `year` ("%1" in the name), or that of the year whose
    // figures it carries when it has none of its own.
    QString yearFile(const QString &pattern, int year) const;
    // The categories' limits of the year before, for a year carried forward.
    void carryKat(const QString &table, int year);

    fb::Transaction &tx_;
    util::Prompter &prompter_;
    QString nomsDir_;
    int stoppedLoads_ = 0;
    bool making_ = false; // under the makers' lock
};

} // namespace plavex::storage
