#pragma once

#include "declarations/Declaration6.h"
#include "reports/engine/Document.h"
#include "util/Period.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;
struct ReportRequest;

// The advance item and month dialog ("Избор на перо и месец на аванс").
struct AdvanceItem {
    int code = 0;
    QString name;
};
// The items of type 142, as the dialog offers them.
std::vector<AdvanceItem> advanceItems(storage::DataModule &data);
// "Януари 2008г." for the period and for the month after it.
QStringList advanceMonths(const util::Period &period);
// The period the advance is paid for: the current one (0) or the next (1).
util::Period advancePeriod(const util::Period &period, int monthIndex);
// Why an advance document cannot be made, empty when it can.
QString checkAdvanceItem(const QString &itemText);

// One printed row of the pay sheet: the employee's totals of type 100, 200, 201.
struct PaySheetRow {
    int number = 0;
    QString name;
    double earnings = 0, deductions = 0, toPay = 0;
};
// One printed row of the advance sheet.
struct AdvanceSheetRow {
    int number = 0;
    QString name;
    int code = 0;
    double amount = 0;
};

// The units of the active employees, by code.
std::vector<int> sheetUnits(storage::DataModule &data);
QString unitName(storage::DataModule &data, int unit); // empty for a code without a row
// The unit's active employees that have all three totals, by number.
std::vector<PaySheetRow> paySheetRows(storage::DataModule &data, int unit);
// The unit's active employees whose advance of the month (0 the current:
// PERO_SUMA1, 1 the next: PERO_SUMA2) is not zero, by number.
std::vector<AdvanceSheetRow> advanceSheetRows(storage::DataModule &data, int unit, int itemCode, int monthIndex);
// The advance of the month summed over the pair's active employees of the group.
double advanceSum(storage::DataModule &data, const declarations::InsurancePair &pair, declarations::AgeGroup group,
                  int itemCode, int monthIndex,
                  const std::function<double(double)> &each = {});

PageSetup sheetPageSetup();
// "Ведомост по звена": one unit a page, its totals, the company's at the end.
Document buildPaySheet(storage::DataModule &data, const ReportRequest &request, ReportHost &host);
// "Ведомост аванс": one unit a page, then the company page with the
// contributions due on the advance.
Document buildAdvanceSheet(storage::DataModule &data, const ReportRequest &request, ReportHost &host);

} // namespace plavex::reports
