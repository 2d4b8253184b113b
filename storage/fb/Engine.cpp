#include "storage/fb/Engine.h"

#include "storage/fb/Error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <firebird/Interface.h>

#include <cstdlib>
#include <mutex>

#include <unistd.h>

using namespace Firebird;

namespace plavex::fb {

namespace {

const char kConf[] =
    "# Written by Plavex: the embedded engine shares one database file between processes.\n"
    "ServerMode = SuperClassic\n"
    "# A server that does not answer is reported within seconds, not minutes.\n"
    "ConnectionTimeout = 10\n";

QString buildConfigRoot()
{
    const QString system = QStringLiteral(PLAVEX_FIREBIRD_SYSTEM_ROOT);
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString root = base + QStringLiteral("/plavex/firebird3-%1").arg(::getuid());
    QDir().mkpath(root);

    // Links to the system's engine files; replaced only when they point elsewhere.
    for (const char *name : {"plugins", "firebird.msg", "plugins.conf", "lib"}) {
        const QString target = system + QLatin1Char('/') + QLatin1String(name);
        const QString link = root + QLatin1Char('/') + QLatin1String(name);
        if (!QFileInfo::exists(target))
            continue;
        if (QFileInfo(link).symLinkTarget() == QFileInfo(target).absoluteFilePath())
            continue;
        QFile::remove(link);
        QFile::link(target, link);
    }
    // The engine refuses a character-set module whose real path lies outside
    // the root, so that one is a copy rather than a link.
    const QString intl = root + QStringLiteral("/intl");
    if (QFileInfo(intl).isSymLink())
        QFile::remove(intl);
    QDir().mkpath(intl);
    const QFileInfo systemIntl(system + QStringLiteral("/intl/libfbintl.so"));
    const QFileInfo ownIntl(intl + QStringLiteral("/libfbintl.so"));
    if (systemIntl.exists() && (!ownIntl.exists() || ownIntl.size() != systemIntl.size()
                                || ownIntl.lastModified() < systemIntl.lastModified())) {
        const QString part = ownIntl.filePath() + QStringLiteral(".%1").arg(::getpid());
        QFile::remove(part);
        if (QFile::copy(systemIntl.filePath(), part)) {
            QFile::remove(ownIntl.filePath());
            QFile::rename(part, ownIntl.filePath());
        }
    }
    if (!QFileInfo::exists(intl + QStringLiteral("/fbintl.conf")))
        QFile::link(system + QStringLiteral("/intl/fbintl.conf"), intl + QStringLiteral("/fbintl.conf"));

    const QString conf = root + QStringLiteral("/firebird.conf");
    QFile existing(conf);
    if (!existing.open(QIODevice::ReadOnly) || existing.readAll() != QByteArray(kConf)) {
        existing.close();
        QSaveFile out(conf);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(kConf);
            out.commit();
        }
    }
    return root;
}

struct State {
    QString root;
    IMaster *master = nullptr;
    IProvider *provider = nullptr;
    IUtil *util = nullptr;
};

State &state()
{
    static std::once_flag once;
    static State s;
    std::call_once(once, [] {
        s.root = buildConfigRoot();
        ::setenv("FIREBIRD", QFile::encodeName(s.root).constData(), 1);
        s.master = fb_get_master_interface();
        s.provider = s.master->getDispatcher();
        s.util = s.master->getUtilInterface();
    });
    return s;
}

} // namespace

IMaster *Engine::master() { return state().master; }
IProvider *Engine::provider() { return state().provider; }
IUtil *Engine::util() { return state().util; }
QString Engine::configRoot() { return state().root; }

QString Engine::formatStatus(IStatus *status)
{
    char buffer[2048];
    const unsigned n = util()->formatStatus(buffer, sizeof buffer, status);
    return QString::fromUtf8(buffer, static_cast<qsizetype>(n)).trimmed();
}

std::vector<long> Engine::codes(IStatus *status)
{
    std::vector<long> all;
    const intptr_t *v = status->getErrors();
    while (v && *v != isc_arg_end) {
        if (*v == isc_arg_gds)
            all.push_back(static_cast<long>(v[1]));
        v += (*v == isc_arg_cstring) ? 3 : 2;
    }
    return all;
}

long Engine::mainCode(IStatus *status)
{
    const intptr_t *v = status->getErrors();
    // The vector is a list of (argument kind, value) pairs; the first gds
    // argument is the code the server reports.
    while (v && *v != isc_arg_end) {
        if (*v == isc_arg_gds)
            return static_cast<long>(v[1]);
        v += (*v == isc_arg_cstring) ? 3 : 2;
    }
    return 0;
}

void Engine::rethrow(const FbException &e, const QString &sql)
{
    IStatus *status = e.getStatus();
    throw Error(mainCode(status), formatStatus(status), sql, codes(status));
}

} // namespace plavex::fb
