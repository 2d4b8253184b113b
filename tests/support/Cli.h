#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace plavex::test {

// What one run of the built plavex-cli did.
struct CliRun {
    int status = -1; // -1 when it did not end by itself in time
    QString out;
    QString err;
};

// The command line's own process on a program folder (none: the arguments
// name it themselves). The environment may switch logging categories on
// (QT_LOGGING_RULES).
std::unique_ptr<QProcess> startCli(const QString &programDir, const QStringList &args,
                                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
CliRun finishCli(QProcess &process, int timeoutMs = 120000);
CliRun runCli(const QString &programDir, const QStringList &args, int timeoutMs = 120000);

// Commands run one after another in each lane, the lanes side by side (each
// lane is one copy of the program at a time): the results in the lanes'
// order, and the lock conflicts the processes waited out and tried again
// (their log category counts them).
struct LaneStep {
    QStringList args;
    CliRun result;
};
int runLanes(const QString &programDir, const std::vector<std::vector<LaneStep *>> &lanes, int timeoutMs = 240000);

// The shipped service files and item chart, copied into a program folder's noms/.
void copyShippedNoms(const QString &programDir);

} // namespace plavex::test
