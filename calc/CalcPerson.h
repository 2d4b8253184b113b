#pragma once

#include "calc/BlockList.h"
#include "calc/Evaluation.h"
#include "calc/History.h"
#include "calc/MinimumWage.h"
#include "calc/PersonTotals.h"
#include "calc/Totals.h"
#include "items/ItemRecord.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::fb {
class Statement;
}

namespace plavex::calc {

struct Parameters;
class DatabaseHistory;
class SummaryWriter;

// An item row read ahead of a walk, until its employee is calculated.
struct PreloadedItem {
    double amount1 = 0.0;
    double amount2 = 0.0;
    double amount = 0.0;
    double correction = 0.0;
    double final = 0.0;
    int id = 0;
    int person = 0;
    int month = 0;
    int year = 0;
    int code = 0;
    int d = 0;
    int type = 0;
    qint32 begin = 0; // Julian days
    qint32 end = 0;
    qint32 texts = -1; // where its texts are kept, when not all empty
    quint8 nullTexts = 0; // else which of them are NULL rather than blank
    bool hasBeginDate = false;
    bool hasEndDate = false;
    bool firstCertificate = false;
};

// What one employee's calculation left: the totals the payslip and the
// item descriptions read, and the items as stored now.
struct Calculation {
    Outcome outcome = Outcome::NoItems;
    Employee employee;
    Totals totals;
    std::vector<items::ItemRecord> items;
    int itemsWritten = 0;
    bool summaryWritten = false;
    QString error; // set by recalculateAll for an employee it could not calculate
    // The averages of every sickness item (types 20-28) by item id, as the
    // calculation left them, for the sick-leave slip.
    std::map<int, SickAverage> sickAverages;
    // What each employer-paid sickness (type 20) was paid, by item id.
    std::map<int, EmployerSickPay> employerSick;
    // The fund's averages by the law from 2015 (18 months), for the
    // sickness items that began in such a month.
    std::map<int, SickAverage> fundAverages;
    // A basic salary below the month's minimum wage (nothing is changed).
    std::optional<MinimumWageShortfall> belowMinimumWage;
};

// The database side of the calculation: reads the employee, the calendar
// and the items, writes back the items that changed and the monthly
// record. Statements are prepared once per PersonCalculator, so a walk over all
// employees keeps one. Each employee's writes are all or nothing; nothing
// is committed here.
//
// An employee whose calendar the period does not have is calculated on the
// period's first calendar (the five-day one unless edited), so the result
// never depends on who was calculated before.
class PersonCalculator {
public:
    PersonCalculator(storage::DataModule &data, Parameters &params);

    // Amounts are computed when on; when off only leave days are kept in
    // step. Starts as the program's autocalc switch.
    bool autocalc = true;

    ~PersonCalculator();
    PersonCalculator(const PersonCalculator &) = delete;
    PersonCalculator &operator=(const PersonCalculator &) = delete;

    // Throws CalcError for an unknown employee or one that cannot be
    // calculated, fb::Error for a database failure.
    Calculation calculate(int personId);
    Calculation calculate(const Employee &employee);

    // Before a walk over every employee: the month's items, the other
    // months' records and this month's stored summaries (its history rows
    // with them) read in three statements instead of a few per employee,
    // which a database on a server pays for dearly. Takes
    // the month's lock first, so nobody changes what was read until the
    // walk's commit.
    void preload();

    // Every employee of the period, by number.
    std::vector<Employee> employees();
    Employee employee(int personId);

private:
    const reference::CalendarRecord &calendarOf(int code);
    std::vector<items::ItemRecord> loadItems(int personId);
    int writeItems(std::vector<items::ItemRecord> &list);
    void execute(std::unique_ptr<fb::Statement> &slot, const QString &sql, const QVariantList &values = {});

    storage::DataModule &data_;
    Parameters &params_;
    std::unique_ptr<DatabaseHistory> history_;
    std::unique_ptr<SummaryWriter> summary_;
    std::unique_ptr<fb::Statement> employee_;
    std::unique_ptr<fb::Statement> items_;
    std::unique_ptr<fb::Statement> calendar_;
    std::unique_ptr<fb::Statement> update_;
    std::unique_ptr<fb::Statement> updateWithAmount2_;
    std::unique_ptr<fb::Statement> savepoint_;
    std::unique_ptr<fb::Statement> release_;
    std::unique_ptr<fb::Statement> rollback_;
    std::map<int, reference::CalendarRecord> calendars_;
    bool preloaded_ = false;
    // The month's items as read, handed over when their employee is
    // calculated. Held as the rows' numbers (their texts apart: most rows
    // have none), a third of an item's memory.
    BlockList<PreloadedItem> preloadedItems_;
    std::vector<std::array<QString, 3>> preloadedTexts_;
    ByEmployee preloadedByEmployee_;
    PreloadedHistory preloadedHistory_;
};

// The calculation of one employee of the current period: the one entry
// point for the employee panel, item commands, month closing and exports.
// Follows the program's autocalc switch; leaves the marked calendar in
// `params.calendar`. Does not commit.
Calculation calcPerson(storage::DataModule &data, Parameters &params, int personId);

// Recalculate all: the one walk over every employee of the period, in
// number order, with amounts computed whatever the autocalc switch says.
// An employee that cannot be calculated does not stop the walk: he is
// listed and the walk goes on. Another copy holding the month (Busy), a
// cancel, or an exception from `each` ends it.
using EachEmployee = std::function<void(const Calculation &calculation, int done, int total)>;
struct Walk {
    Walk() = default;
    // A walk that only reports each employee: recalculateAll(data, params, [&](…) {…}).
    template <typename F, typename = std::enable_if_t<std::is_invocable_v<F, const Calculation &, int, int>>>
    Walk(F each) : each(std::move(each)) // NOLINT(google-explicit-constructor)
    {
    }
    EachEmployee each; // after every employee (a window repaints, a line is printed)
    // Its caption and steps; its cancel ends the walk (util::Cancelled).
    util::Prompter *progress = nullptr;
    // Off inside a unit of work of the caller's, whose locks a commit would drop.
    bool commit = true;
};
struct Recalculation {
    struct Failure {
        int number = 0;
        QString reason;
    };
    int employees = 0;
    std::vector<Failure> failures;
    QStringList errorLines() const; // "Служител с номер N: why"
};
Recalculation recalculateAll(storage::DataModule &data, Parameters &params, const Walk &walk = {});

} // namespace plavex::calc
