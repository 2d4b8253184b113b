#pragma once

#include <QString>

namespace plavex::bench {

// The pay run of a euro month of 2 000 (the demo company closed from
// December 2025): the transfer file, the pay sheet to a spreadsheet and the
// payslips through a mail server on loopback.
void payRunBench(const QString &nomsDir);

} // namespace plavex::bench
