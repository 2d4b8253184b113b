#pragma once

#include <QString>

namespace plavex::bench {

// 1 000 table-heavy pages: the page description, the snapshot and the PDF.
void reportBench();

// Payslips of both types for the demo company's 2 000 employees to PDF,
// the recalculation of each employee included.
void payslipBench(const QString &nomsDir);

// The pay sheet and the recapitulation of that company to PDF, the
// recalculation of everyone included.
void sheetsBench(const QString &nomsDir);

} // namespace plavex::bench
