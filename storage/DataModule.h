#pragma once

#include "storage/Locks.h"
#include "storage/Schema.h"
#include "storage/fb/Connection.h"
#include "storage/fb/Transaction.h"
#include "util/Period.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {

class Settings;

// The company database of one run: its connection, its single transaction
// (read committed, record version, wait; every change made durable with
// commit retaining), the current period and the autocalc switch, the table
// events, and the small SQL helpers. Table and column names are the
// program's own and are checked to be plain identifiers; every value is
// bound as a parameter.
class DataModule {
public:
    // A new database's item definitions beyond the three standard ones:
    // the chart, which the items layer reads (empty: none).
    using DefinitionSeeder = std::function<void(DataModule &, const QString &table)>;

    // Conditions of the helpers hold "?" markers for their values.
    DataModule(Settings &settings, util::Prompter &prompter, DefinitionSeeder seedDefinitions);
    ~DataModule();
    DataModule(const DataModule &) = delete;
    DataModule &operator=(const DataModule &) = delete;

    // Opens the database at path, creating and seeding it when no file is
    // there (on a server as well as on this machine); a database that is
    // still empty becomes a new company the same way. False (after the
    // message) when it cannot be opened; an existing file is never
    // overwritten, and a database of something else is left untouched.
    bool connectToDatabase(const QString &path, const QString &user, const QString &password);
    void close(); // commits and detaches
    void abandon(); // rolls back what is not committed and detaches; never throws
    bool isConnected() const { return connection_.isOpen(); }

    // The period stored in MYPARAMS (the one-column table of an older
    // release gains PAR_AUTOCALC first); blank leaves the current period.
    QString readCurDate();
    void storeCurDate();
    // Makes the period current: stores it, opens its tables (creating,
    // seeding and upgrading them), tells the listeners.
    void changePeriod(int year, int month);
    // Points the program at the period's tables: creates the missing ones,
    // upgrades older ones, raises the after-open events.
    void openPeriod(const util::Period &period);

    const util::Period &period() const { return period_; }
    void setPeriod(const util::Period &period) { period_ = period; } // before connecting only
    bool autocalc() const { return autocalc_; }
    void setAutocalc(bool on); // stored in MYPARAMS
    const QString &databasePath() const { return connection_.path(); }

    QString table(QStringView base) const; // the base table's name in the current period

    // SQL helpers.
    bool notExists(const QString &table, const QString &column, const QVariant &value);
    bool notExistsWhere(const QString &table, const QString &condition, const QVariantList &values = {});
    void insertRow(const QString &table, const QString &columnList, const QVariantList &values);
    void deleteRows(const QString &table, const QString &condition, const QVariantList &values = {});
    int countRows(const QString &table, const QString &column, const QString &condition = {},
                  const QVariantList &values = {});
    int getMaxValue(const QString &table, const QString &column);
    // A new "largest + 1" key of the table, taken under the table's writer
    // lock so that a second copy of the program never takes it too.
    int nextKey(const QString &table, const QString &column);

    // The writer lock a change of the table needs, held until the next
    // commit: the lock of its month for a month table, of the table itself
    // for the others. Throws Busy when another copy keeps it too long, or
    // when it closed the current month after this one opened it.
    void lockFor(const QString &table);
    void lockPeriod() { lockFor(table(u"PERSONS")); }
    // Under the current month's lock: records that the month was closed.
    void markPeriodClosed();
    Locks &locks() { return locks_; }
    void insertValues(const QString &table, const QString &columns, const QVariantList &values);
    void updateColumn(const QString &table, const QString &column, const QVariant &value);
    void commitRetaining() { transaction_.commitRetaining(); }

    fb::Transaction &transaction() { return transaction_; }
    Schema &schema() { return *schema_; }
    Settings &settings() { return settings_; }
    util::Prompter &prompter() { return prompter_; }
    CompanySeed &companySeed() { return companySeed_; }

    // Table events: after open and after post of FIRMA, NOI, DOD, DL,
    // PERADEFS and CAL. Whoever writes one of these tables calls
    // tableChanged(base); listeners reload what they keep in memory.
    using TableListener = std::function<void(const QString &base)>;
    using PeriodListener = std::function<void(const util::Period &period)>;
    void addTableListener(TableListener listener) { tableListeners_.push_back(std::move(listener)); }
    void addPeriodListener(PeriodListener listener) { periodListeners_.push_back(std::move(listener)); }
    void tableChanged(const QString &base);

    // The three total definitions every employee's items refer to (1000,
    // 2000, 2010), each inserted when its code is missing.
    void insertStandardDefinitions(const QString &table);

    static QString checkedName(const QString &name); // throws for anything but a plain identifier

private:
    bool createDatabase(const QString &path, const QString &user, const QString &password);
    bool initializeNew(); // a database just attached and still empty becomes a new company
    void seedDefinitions(const QString &table);
    void loadCompanySeed();

    Settings &settings_;
    util::Prompter &prompter_;
    fb::Connection connection_;
    fb::Transaction transaction_;
    std::unique_ptr<Schema> schema_;
    Locks locks_;
    int closedSeen_ = 0; // closings of the current month when it was opened
    util::Period period_;
    bool autocalc_ = true; // on until the parameters are read
    CompanySeed companySeed_;
    DefinitionSeeder seedDefinitions_;
    std::vector<TableListener> tableListeners_;
    std::vector<PeriodListener> periodListeners_;
};

} // namespace plavex::storage
