#include "tests/support/Cli.h"

#include <QDir>
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

void copyShippedNoms(const QString &programDir)
{
    const QDir noms(QStringLiteral(PLAVEX_SOURCE_DIR "/noms"));
    QDir().mkpath(programDir + QStringLiteral("/noms"));
    for (const QString &f : noms.entryList(QDir::Files))
        QFile::copy(noms.filePath(f), programDir + QStringLiteral("/noms/") + f);
}

} // namespace plavex::test
