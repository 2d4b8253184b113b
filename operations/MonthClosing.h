#pragma once

#include "util/Period.h"

#include <QDate>
#include <QString>

#include <optional>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::calc {
struct Parameters;
}

namespace plavex::operations {

// Length of service as the employee record keeps it.
struct ServiceLength {
    int years = 0;
    int months = 0;
    int days = 0;
    friend bool operator==(const ServiceLength &, const ServiceLength &) = default;
};

// The days of the closed month's summary row that move the service on.
struct MonthDays {
    int sdni = 0;   // PERSDATA_SDNI
    int nsdni = 0;  // PERSDATA_NSDNI
    int rabdni = 0; // PERSDATA_RABDNI
};

// One month more of service: nothing without days (no summary, or SDNI 0);
// a whole month when SDNI equals the working days; otherwise the month's
// calendar days less NSDNI, every 30 days making a month.
ServiceLength advanceService(ServiceLength length, const std::optional<MonthDays> &summary, int daysInOldMonth);

// Types whose items live for one month only, and types with an end date.
bool isOneMonthType(int type);
bool isDatedType(int type);

// An item of the new month as the closing reads it.
struct CarriedItem {
    int type = 0;
    QString flags;      // PERODEFS_HARS of the code ("0000000000" when undefined)
    int paySystem = 0;  // PERSON_SYSZ of the employee, for type 1
    double amount = 0;  // PERO_SUMA
    double amount1 = 0; // PERO_SUMA1
    double amount2 = 0; // PERO_SUMA2
    int d = 0;          // PERO_D
    QDate end;          // PERO_ENDDATE, invalid when none
};

// What becomes of it: deleted, or kept with the columns that change, and
// the days it adds to the employee's leave counters.
struct CarryOver {
    bool remove = false;
    std::optional<double> amount;
    std::optional<double> amount1;
    std::optional<double> amount2;
    std::optional<int> d;
    int paidLeave = 0;   // added to PERSON_OTP
    int unpaidLeave = 0; // added to PERSON_NOTP
    bool changes() const { return amount || amount1 || amount2 || d; }
};
CarryOver carryOver(const CarriedItem &item, const QDate &newMonthFirstDay);

// The lines of ENDMES.TXT (without line ends).
QString endmesHeader(const util::Period &newMonth);
QString endmesColumns();
QString endmesLine(int number, const QString &name, const ServiceLength &total);

// True when the next period's eight month tables all exist already.
bool newMonthExists(storage::DataModule &data);

// True when the current month was closed into the next one, so that its
// changes are not carried forward: the next month's tables exist and hold
// the carried employees (a month only switched to starts without them).
// False with no database or period open.
bool isMonthClosed(storage::DataModule &data);

// Month closing: recalculates and stores every employee of the current
// month (when automatic calculation is on), then copies the month into the
// next one and makes that current, writing ENDMES.TXT into the program
// folder. The copy is one unit of work: until it has all succeeded nothing
// of it is committed, so a failure (or a killed process) leaves the old
// month current and the new month's data untouched. The new month's empty
// tables are created (and committed) before the unit, as a change of month
// would create them.
//
// With automatic calculation on, everyone is recalculated with `params`
// first (without them, the months are taken as stored). Questions and progress go through the prompter; an exception
// thrown from its progress callback aborts the closing like any failure.
// ClosedFileNotWritten: the month is closed, but ENDMES.TXT or EURO.TXT could
// not be written (said in a message); the old file is left whole.
enum class ClosingResult { Closed, Declined, Failed, ClosedFileNotWritten };
ClosingResult closeMonth(storage::DataModule &data, util::Prompter &prompter, calc::Parameters *params);

} // namespace plavex::operations
