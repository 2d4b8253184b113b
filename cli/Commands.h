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
std::vector<Command> employeeCommands(); // employee, item

} // namespace plavex::cli
