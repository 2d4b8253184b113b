#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace plavex::cli {

struct CliContext;

struct Command {
    QString name;
    QString usage;
    std::function<int(CliContext &)> run;
};

// One function per group of commands; the dispatcher asks each.
std::vector<Command> databaseCommands(); // init, period, info
std::vector<Command> calcCommands();     // recalc
std::vector<Command> employeeCommands(); // employee, item
std::vector<Command> declarationCommands(); // decl1, decl1-corrections, decl6
std::vector<Command> monthCommands(); // close-month, bulk, negative-net, autocalc, backup, restore, demo
std::vector<Command> reportCommands(); // report
std::vector<Command> importCommands(); // import-legacy
std::vector<Command> payRunCommands(); // pay-file, mail-payslips, export

} // namespace plavex::cli
