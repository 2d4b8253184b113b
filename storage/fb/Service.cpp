#include "storage/fb/Service.h"

#include "storage/fb/Connection.h"
#include "storage/fb/Engine.h"
#include "storage/fb/Error.h"
#include "storage/fb/Status.h"

#include <QFile>

#include <cstdio>
#include <functional>
#include <optional>

#include <firebird/Interface.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Firebird;

namespace plavex::fb {

namespace {

// A server path travels as given; a local one in the file system's encoding.
QByteArray pathBytes(const QString &host, const QString &path)
{
    if (!host.isEmpty())
        return path.toUtf8();
    return QFile::encodeName(path);
}

// The part of "host:/path" after the host; a local path unchanged.
QString localPart(const QString &path)
{
    if (!Connection::isRemote(path))
        return path;
    return path.mid(path.indexOf(QLatin1Char(':')) + 1);
}

// The embedded engine runs the action in this process, and on a backup that
// ends too early it asks on the console for the next volume. Nobody is there
// to answer: while the action runs the console is empty and its prompts go
// nowhere (the failure comes back as the action's result).
class QuietConsole {
public:
    QuietConsole()
    {
        std::fflush(stdout);
        std::fflush(stderr);
        const int nothing = ::open("/dev/null", O_RDWR);
        if (nothing < 0)
            return;
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            saved_[fd] = ::dup(fd);
            ::dup2(nothing, fd);
        }
        ::close(nothing);
    }
    ~QuietConsole()
    {
        std::fflush(stdout);
        std::fflush(stderr);
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            if (saved_[fd] >= 0) {
                ::dup2(saved_[fd], fd);
                ::close(saved_[fd]);
            }
        }
    }
    QuietConsole(const QuietConsole &) = delete;
    QuietConsole &operator=(const QuietConsole &) = delete;

private:
    int saved_[3] = {-1, -1, -1};
};

// The engine's last verbose line of a finished action; an action that stops
// short of it did not finish, whatever the status says (a truncated backup
// is restored "successfully" up to where it ends).
bool finished(const QStringList &output, const char *lastWords)
{
    for (auto it = output.crbegin(); it != output.crend(); ++it)
        if (it->contains(QLatin1String(lastWords)))
            return true;
    return false;
}

unsigned readLength(const unsigned char *p)
{
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}

} // namespace

Service::Service(const QString &databasePath, const QString &user, const QString &password)
{
    if (Connection::isRemote(databasePath))
        host_ = databasePath.left(databasePath.indexOf(QLatin1Char(':')));
    Status status;
    IXpbBuilder *spb = nullptr;
    try {
        spb = Engine::util()->getXpbBuilder(&status, IXpbBuilder::SPB_ATTACH, nullptr, 0);
        spb->insertString(&status, isc_spb_user_name, user.toUtf8().constData());
        spb->insertString(&status, isc_spb_password, password.toUtf8().constData());
        const QByteArray name = host_.isEmpty() ? QByteArray("service_mgr") : host_.toUtf8() + ":service_mgr";
        service_ = Engine::provider()->attachServiceManager(&status, name.constData(), spb->getBufferLength(&status),
                                                            spb->getBuffer(&status));
        spb->dispose();
    } catch (const FbException &e) {
        if (spb)
            spb->dispose();
        Engine::rethrow(e);
    }
}

Service::~Service()
{
    try {
        detach();
    } catch (const Error &) {
        // Nothing more to do about a manager that will not let go.
    }
}

void Service::detach()
{
    if (!service_)
        return;
    IService *s = service_;
    service_ = nullptr;
    Status status;
    try {
        s->detach(&status);
    } catch (const FbException &e) {
        s->release();
        Engine::rethrow(e);
    }
}

namespace {

// An action's parameter block, filled by `fill` after the action tag.
QByteArray actionBlock(unsigned char action, const std::function<void(IXpbBuilder *, Status &)> &fill)
{
    Status status;
    IXpbBuilder *spb = nullptr;
    try {
        spb = Engine::util()->getXpbBuilder(&status, IXpbBuilder::SPB_START, nullptr, 0);
        spb->insertTag(&status, action);
        fill(spb, status);
        spb->insertTag(&status, isc_spb_verbose);
        const QByteArray buffer(reinterpret_cast<const char *>(spb->getBuffer(&status)),
                                static_cast<qsizetype>(spb->getBufferLength(&status)));
        spb->dispose();
        return buffer;
    } catch (const FbException &e) {
        if (spb)
            spb->dispose();
        Engine::rethrow(e);
    }
}

void insertPath(IXpbBuilder *spb, Status &status, unsigned char tag, const QByteArray &path)
{
    spb->insertBytes(&status, tag, path.constData(), static_cast<unsigned>(path.size()));
}

} // namespace

void Service::backup(const QString &database, const QString &file)
{
    const QByteArray spb = actionBlock(isc_action_svc_backup, [&](IXpbBuilder *b, Status &status) {
        insertPath(b, status, isc_spb_dbname, pathBytes(host_, localPart(database)));
        insertPath(b, status, isc_spb_bkp_file, pathBytes(host_, file));
    });
    runAction(spb, "closing file, committing, and finishing", QStringLiteral("Архивирането не завърши."));
}

void Service::restore(const QString &file, const QString &database, bool replace)
{
    const QByteArray spb = actionBlock(isc_action_svc_restore, [&](IXpbBuilder *b, Status &status) {
        insertPath(b, status, isc_spb_bkp_file, pathBytes(host_, file));
        insertPath(b, status, isc_spb_dbname, pathBytes(host_, localPart(database)));
        b->insertInt(&status, isc_spb_options, replace ? isc_spb_res_replace : isc_spb_res_create);
        b->insertInt(&status, isc_spb_res_page_size, 4096);
    });
    runAction(spb, "finishing, closing, and going home",
              QStringLiteral("Архивът е непълен или повреден: възстановяването не завърши."));
}

void Service::runAction(const QByteArray &spb, const char *lastLine, const QString &failure)
{
    // A full disk or a short backup makes the engine ask on the console for
    // another volume; without one it must simply fail.
    std::optional<QuietConsole> quiet;
    if (host_.isEmpty())
        quiet.emplace();
    start(spb);
    waitForEnd();
    if (!finished(output_, lastLine))
        throw Error(0, failure + QLatin1Char('\n') + output_.value(output_.size() - 1).trimmed());
}

void Service::start(const QByteArray &spb)
{
    if (!service_)
        throw Error(0, QStringLiteral("Няма връзка с услугите на сървъра."));
    output_.clear();
    Status status;
    try {
        service_->start(&status, static_cast<unsigned>(spb.size()), reinterpret_cast<const unsigned char *>(spb.constData()));
    } catch (const FbException &e) {
        Engine::rethrow(e);
    }
}

void Service::waitForEnd()
{
    // The service writes its lines as it goes; it has ended when a query
    // brings back an empty line that is not merely a timeout. A failure of
    // the action comes back as the error of the query that meets it.
    static const unsigned char items[] = {isc_info_svc_line};
    QByteArray result(16384, '\0');
    Status status;
    for (;;) {
        try {
            service_->query(&status, 0, nullptr, sizeof items, items, static_cast<unsigned>(result.size()),
                            reinterpret_cast<unsigned char *>(result.data()));
        } catch (const FbException &e) {
            Engine::rethrow(e);
        }
        const auto *p = reinterpret_cast<const unsigned char *>(result.constData());
        const auto *end = p + result.size();
        bool ended = false;
        bool waiting = false;
        while (p < end && *p != isc_info_end) {
            const unsigned char tag = *p++;
            if (tag == isc_info_svc_line) {
                if (p + 2 > end)
                    break;
                const unsigned length = readLength(p);
                p += 2;
                if (p + length > end)
                    break;
                if (length == 0)
                    ended = true;
                else
                    output_ << QString::fromUtf8(reinterpret_cast<const char *>(p), static_cast<qsizetype>(length));
                p += length;
            } else if (tag == isc_info_svc_timeout || tag == isc_info_data_not_ready || tag == isc_info_truncated) {
                waiting = true;
            } else {
                break;
            }
        }
        if (ended && !waiting)
            return;
    }
}

} // namespace plavex::fb
