#pragma once

#include <QString>

namespace plavex::bench {

// Whole plavex-cli processes on demo companies of 2 000 and 10 000
// employees: each command's time, its ratio to the engine's least work for a
// recalculation, and its peak memory.
void scaleBench(const QString &cli, const QString &nomsDir);

// The least engine work of a recalculation, as a process of its own (run by
// scaleBench through `plavex-bench --floor DIR`): the program folder's
// database opened as the command line opens it, then every item of the
// month and every monthly record read once inside the engine. Returns the
// process's exit status.
int floorProcess(const QString &programDir);

} // namespace plavex::bench
