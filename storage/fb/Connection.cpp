#include "storage/fb/Connection.h"

#include "storage/fb/Engine.h"
#include "storage/fb/Error.h"
#include "storage/fb/Status.h"

#include <QFile>

#include <firebird/Interface.h>

using namespace Firebird;

namespace plavex::fb {

namespace {

QByteArray pathBytes(const QString &path)
{
    return Connection::isRemote(path) ? path.toUtf8() : QFile::encodeName(path);
}

} // namespace

Connection::~Connection()
{
    try {
        detach();
    } catch (const Error &) {
        // Nothing to be done about a failed detach while unwinding.
    }
}

bool Connection::isRemote(const QString &path)
{
    // "C:\..." style drive letters do not occur on this platform; any colon
    // after the first character separates a host from its path.
    const int colon = path.indexOf(QLatin1Char(':'));
    return colon > 0 && !path.startsWith(QLatin1Char('/'));
}

void Connection::attach(const QString &path, const QString &user, const QString &password)
{
    detach();
    Status status;
    IXpbBuilder *dpb = nullptr;
    try {
        dpb = Engine::util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&status, isc_dpb_user_name, user.toUtf8().constData());
        dpb->insertString(&status, isc_dpb_password, password.toUtf8().constData());
        dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
        dpb->insertInt(&status, isc_dpb_sql_dialect, 3);
        const QByteArray file = pathBytes(path);
        attachment_ = Engine::provider()->attachDatabase(&status, file.constData(),
                                                         dpb->getBufferLength(&status), dpb->getBuffer(&status));
        dpb->dispose();
        path_ = path;
    } catch (const FbException &e) {
        if (dpb)
            dpb->dispose();
        Engine::rethrow(e);
    }
}

void Connection::detach()
{
    if (!attachment_)
        return;
    Status status;
    IAttachment *a = attachment_;
    attachment_ = nullptr;
    try {
        a->detach(&status);
    } catch (const FbException &e) {
        a->release();
        Engine::rethrow(e);
    }
}

void Connection::createDatabase(const QString &path, const QString &user, const QString &password)
{
    Status status;
    IXpbBuilder *dpb = nullptr;
    try {
        dpb = Engine::util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&status, isc_dpb_user_name, user.toUtf8().constData());
        dpb->insertString(&status, isc_dpb_password, password.toUtf8().constData());
        dpb->insertInt(&status, isc_dpb_page_size, 4096);
        dpb->insertString(&status, isc_dpb_set_db_charset, "WIN1251");
        dpb->insertInt(&status, isc_dpb_sql_dialect, 3);
        const QByteArray file = pathBytes(path);
        IAttachment *a = Engine::provider()->createDatabase(&status, file.constData(),
                                                            dpb->getBufferLength(&status), dpb->getBuffer(&status));
        dpb->dispose();
        dpb = nullptr;
        a->detach(&status);
    } catch (const FbException &e) {
        if (dpb)
            dpb->dispose();
        Engine::rethrow(e);
    }
}

} // namespace plavex::fb
