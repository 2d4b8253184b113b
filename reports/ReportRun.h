#pragma once

#include "reports/RunProtocol.h"

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

// The dispatcher: runs one report of the kind through the run protocol
// (the printer orientation, the selected employee and the screen refresh
// are remembered and restored whatever happens, an exception included).
RunResult startReport(storage::DataModule &data, ReportHost &host, ReportRequest request);

} // namespace plavex::reports
