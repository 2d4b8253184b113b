#pragma once

#include "operations/PayFile.h"
#include "operations/Spreadsheet.h"
#include "reports/RunProtocol.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

// What the pay sheet pays, every unit's rows by number: the amount to pay of
// each active employee with the three totals. With `advance` the month's
// advance of the first advance item, as the advance sheet has it; a
// refusal when no advance item is defined. Everyone is recalculated first,
// as the sheets are.
std::vector<operations::Payment> payFilePayments(storage::DataModule &data, bool advance, QString *refusal);

// The employee's type-1 payslip as the printed run makes it, as PDF; empty
// with the reason when it cannot be made.
QByteArray payslipPdf(storage::DataModule &data, int employeeId, QString *error);

// The export kinds of the tabular documents, by their command-line names
// (sheet, recap, item-list, annual-tax, payment-list).
bool isExportKind(const QString &name);
// The document's table as a spreadsheet gets it, after recalculating
// everyone as the document does; nothing with the reason when the
// request does not make one (no item, not January or December, ...).
std::optional<operations::Sheet> documentSheet(storage::DataModule &data, ReportKind kind, const ReportRequest &request,
                                               QString *refusal);

} // namespace plavex::reports
