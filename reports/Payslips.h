#pragma once

#include "calc/Totals.h"
#include "reports/ReportKind.h"
#include "reports/engine/Canvas.h"
#include "reports/engine/Document.h"
#include "util/Period.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;
struct ReportRequest;

// One payroll item as a payslip prints it.
struct PayslipRow {
    int code = 0;
    int type = 0;
    double amount = 0;     // PERO_SUMA
    QString description;   // the item grid's text; the name for the totals
    QString name;          // PERODEFS_IME
};

// Everything one payslip prints: the employee, the items and the figures
// of the calculation that has just run for the employee.
struct Payslip {
    QString company;
    QString bulstat; // the employer's ЕИК
    int number = 0;
    QString name;
    QString egn;
    QString position;
    int seniorityYears = 0, seniorityMonths = 0, seniorityDays = 0;
    int guaranteed = 0; // PERSON_GARVZ: the guaranteed-receivables fund applies from 1
    calc::Totals totals;
    std::vector<PayslipRow> rows;
    // The employer's rates of the employee's insurance type, percent.
    double pensionRate = 0;       // NOI_PROC_FI
    double socialRate = 0;        // NOI_SOC_FI
    double pensionRate60 = 0;     // NOI_PROC_FI60
    double supplementaryRate = 0; // NOI_DZPO_FI60
    double socialRate60 = 0;      // NOI_SOC_FI60
    double sickHealthRate = 0;    // NOI_ZD_BOLN
    double guaranteedRate = 0;    // FIRMA_DATA3
};

// The payslips' own age groups, as the reports' SQL groups count them.
bool bornBefore1960(const QString &egn);

PageSetup payslipPageSetup();

// Type 2's earnings cell: the name and the tail of the description that
// holds the days (or the amount) for the item's type.
QString earningText(const PayslipRow &row);

// The lines one payslip takes; the page-fill rule asks for at least this.
int payslipLines(const Payslip &slip, ReportKind kind);

// Prints one payslip at the cursor (type 1 for Payslip1, else type 2),
// turning the page inside it only when it is longer than a page.
void printPayslip(Canvas &canvas, const Payslip &slip, ReportKind kind, const util::Period &period);

// The run's document: every active employee of the range by number,
// each recalculated just before the payslip is made. A failing employee
// prints "Грешка " + why and the run goes on; the host may cancel
// (RunAborted). The calculation's writes are committed at the end.
Document buildPayslips(storage::DataModule &data, const ReportRequest &request, ReportHost &host,
                       QStringList *errors = nullptr);

} // namespace plavex::reports
