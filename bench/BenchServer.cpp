#include "bench/BenchServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

namespace plavex::bench {

std::optional<ServerDatabase> benchServer(const QString &name)
{
    QFile f(qEnvironmentVariable("PLAVEX_BENCH_SERVER_ENV"));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QHash<QByteArray, QString> v;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (const int eq = static_cast<int>(line.indexOf('=')); eq > 0)
            v.insert(line.left(eq), QString::fromUtf8(line.mid(eq + 1)).trimmed());
    if (v.value("PLAVEX_TEST_SERVER").isEmpty())
        return std::nullopt;
    return ServerDatabase{v.value("PLAVEX_TEST_SERVER") + QLatin1Char(':') + v.value("PLAVEX_TEST_SERVER_DB_DIR")
                              + QStringLiteral("/%1-%2.gdb").arg(name).arg(QCoreApplication::applicationPid()),
                          v.value("PLAVEX_TEST_SERVER_USER"), v.value("PLAVEX_TEST_SERVER_PASSWORD")};
}

} // namespace plavex::bench
