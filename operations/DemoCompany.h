#pragma once

#include "util/Period.h"

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

// A sample company for trying the program and for the benchmarks: units,
// positions, calendars, employees with salaries, class supplements,
// premiums, advances, contributions and tax, and month by month paid,
// unpaid and sick leave, hirings and dismissals, each month closed in turn.
// The same options always give the same company.
struct DemoOptions {
    int employees = 50;
    int months = 3;
    util::Period start{2008, 1}; // the service files the program ships cover 2008 whole
    unsigned seed = 2008;
};

struct DemoReport {
    int employees = 0; // in the month current at the end
    int hired = 0;
    int dismissed = 0;
    int monthsClosed = 0;
};

// Builds the company in an open database that has no employee in any month
// (refused with a message before any change otherwise), starting in `start` and
// closing `months` months; the month after the last one is current at the
// end, recalculated. Progress and messages go to the prompter.
std::optional<DemoReport> buildDemoCompany(storage::DataModule &data, const DemoOptions &options, util::Prompter &prompter,
                                           calc::Parameters &params);

} // namespace plavex::operations
