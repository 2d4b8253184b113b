#include "tests/payrun/PayRunSupport.h"

#include <stdexcept>

namespace plavex::test {

ToolRun runTool(const QString &program, const QStringList &args, int timeoutMs)
{
    QProcess p;
    p.start(program, args);
    ToolRun r;
    if (!p.waitForStarted(10000))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString systemPython() { return QStringLiteral(PLAVEX_SYSTEM_PYTHON); }

QString scriptPath(const char *name) { return QStringLiteral(PLAVEX_PAYRUN_TEST_DIR "/") + QLatin1String(name); }

QString transferSchema() { return QStringLiteral(PLAVEX_TEST_DATA_DIR "/iso20022/pain.001.001.09.xsd"); }

ToolRun validateTransferFile(const QString &path)
{
    return runTool(QStringLiteral(PLAVEX_XMLLINT), {QStringLiteral("--noout"), QStringLiteral("--schema"), transferSchema(), path});
}

QString pdfText(const QString &path)
{
    const ToolRun r = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    return QString::fromUtf8(r.out);
}

std::unique_ptr<CliCompany> euroDemoCompany(int employees)
{
    auto c = std::make_unique<CliCompany>(QStringLiteral("012026"));
    const CliRun r = c->cli({QStringLiteral("demo"), QStringLiteral("--employees"), QString::number(employees),
                             QStringLiteral("--months"), QStringLiteral("0"), QStringLiteral("--period"), QStringLiteral("012026")});
    if (r.status != 0)
        throw std::runtime_error("demo: " + r.err.toStdString());
    return c;
}

} // namespace plavex::test
