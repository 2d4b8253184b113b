#pragma once

#include "storage/Catalogue.h"
#include "util/Period.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

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
    // seeded. Returns the names created.
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

    const QString &nomsDir() const { return nomsDir_; }
    // Seed loads that stopped at a bad line since this object was made.
    int stoppedLoads() const { return stoppedLoads_; }

private:
    fb::Transaction &tx_;
    util::Prompter &prompter_;
    QString nomsDir_;
    int stoppedLoads_ = 0;
};

} // namespace plavex::storage
