#include "tests/support/Cli.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace plavex::test {

std::unique_ptr<QProcess> startCli(const QString &programDir, const QStringList &args, const QProcessEnvironment &environment)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(environment);
    const QStringList all = programDir.isEmpty() ? args : QStringList{QStringLiteral("--program-dir"), programDir} + args;
    p->start(QStringLiteral(PLAVEX_CLI_PATH), all);
    p->waitForStarted();
    return p;
}

CliRun finishCli(QProcess &p, int timeoutMs)
{
    if (p.state() != QProcess::NotRunning && !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("timeout")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

CliRun runCli(const QString &programDir, const QStringList &args, int timeoutMs)
{
    auto p = startCli(programDir, args);
    return finishCli(*p, timeoutMs);
}

int runLanes(const QString &programDir, const std::vector<std::vector<LaneStep *>> &lanes, int timeoutMs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("plavex.storage.locks.info=true"));
    std::vector<std::unique_ptr<QProcess>> running(lanes.size());
    std::vector<size_t> next(lanes.size(), 0);
    std::vector<LaneStep *> current(lanes.size(), nullptr);
    int retries = 0;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool busy = false;
        for (size_t l = 0; l < lanes.size(); ++l) {
            if (!current[l] && next[l] < lanes[l].size()) {
                current[l] = lanes[l][next[l]++];
                running[l] = startCli(programDir, current[l]->args, env);
            }
            if (!current[l])
                continue;
            busy = true;
            if (running[l]->waitForFinished(5) || running[l]->state() == QProcess::NotRunning) {
                current[l]->result = finishCli(*running[l]);
                retries += static_cast<int>(current[l]->result.err.count(QStringLiteral("busy, trying again")));
                current[l] = nullptr;
            }
        }
        if (!busy || clock.elapsed() > timeoutMs)
            break;
    }
    return retries;
}

void copyShippedNoms(const QString &programDir)
{
    const QDir noms(QStringLiteral(PLAVEX_SOURCE_DIR "/noms"));
    QDir().mkpath(programDir + QStringLiteral("/noms"));
    for (const QString &f : noms.entryList(QDir::Files))
        QFile::copy(noms.filePath(f), programDir + QStringLiteral("/noms/") + f);
}

} // namespace plavex::test
