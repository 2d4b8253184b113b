#include "operations/PayslipMail.h"

#include "reference/Company.h"
#include "storage/DataModule.h"
#include "storage/IniFile.h"
#include "storage/Schema.h"
#include "storage/fb/Statement.h"
#include "util/BankAccount.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>
#include <QUuid>

#include <curl/curl.h>

#include <mutex>

namespace plavex::operations {

namespace {

const QString kSection = QStringLiteral("MAIL");

QString envOr(const char *variable, const QString &fallback)
{
    return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable) : fallback;
}

// A header text in UTF-8 that any mail reader decodes (RFC 2047): encoded
// words of at most 75 characters, a character never split between two.
QByteArray encodedWord(const QString &text)
{
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() >= 32 && c.unicode() < 127;
    if (ascii)
        return text.toLatin1();
    QList<QByteArray> words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, length).toUtf8();
        i += length - 1;
        if (chunk.size() + bytes.size() > 45) {
            words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
            chunk.clear();
        }
        chunk += bytes;
    }
    if (!chunk.isEmpty())
        words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
    return words.join(' ');
}

void ensureCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class CurlTransport : public MailTransport {
public:
    explicit CurlTransport(const MailServer &server) : server_(server)
    {
        ensureCurl();
        curl_ = curl_easy_init();
    }
    ~CurlTransport() override
    {
        if (curl_)
            curl_easy_cleanup(curl_);
    }
    CurlTransport(const CurlTransport &) = delete;
    CurlTransport &operator=(const CurlTransport &) = delete;

    QString send(const MailMessage &m) override
    {
        if (!curl_)
            return QStringLiteral("libcurl не може да бъде стартиран.");
        CURL *c = curl_;
        // The handle keeps its connection between messages; what one message
        // set is set again by the next.
        const bool ssl = server_.tls == MailTls::Ssl;
        const QByteArray url = QStringLiteral("%1://%2:%3")
                                   .arg(ssl ? QStringLiteral("smtps") : QStringLiteral("smtp"),
                                        server_.host.contains(QLatin1Char(':')) ? QLatin1Char('[') + server_.host + QLatin1Char(']')
                                                                               : server_.host)
                                   .arg(server_.port)
                                   .toUtf8();
        curl_easy_setopt(c, CURLOPT_URL, url.constData());
        curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(server_.tls == MailTls::None ? CURLUSESSL_NONE : CURLUSESSL_ALL));
        const QByteArray user = server_.user().toUtf8();
        const QByteArray password = server_.password().toUtf8();
        if (!user.isEmpty()) {
            curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
            curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
        }
        const QByteArray from = ('<' + m.from.toUtf8() + '>');
        curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
        const QByteArray to = ('<' + m.to.toUtf8() + '>');
        curl_slist *recipients = curl_slist_append(nullptr, to.constData());
        curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 20L);
        curl_easy_setopt(c, CURLOPT_TIMEOUT, 120L);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);

        const QByteArray fromHeader =
            "From: " + (m.fromName.isEmpty() ? QByteArray() : encodedWord(m.fromName) + ' ') + from;
        const QByteArray toHeader = "To: " + to;
        const QByteArray subject = "Subject: " + encodedWord(m.subject);
        const QByteArray date =
            "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1();
        const QByteArray domain = m.from.section(QLatin1Char('@'), 1).toLatin1();
        const QByteArray messageId =
            "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' + domain + '>';
        curl_slist *headers = nullptr;
        for (const QByteArray *h : {&fromHeader, &toHeader, &subject, &date, &messageId})
            headers = curl_slist_append(headers, h->constData());
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);

        curl_mime *mime = curl_mime_init(c);
        curl_mimepart *text = curl_mime_addpart(mime);
        const QByteArray body = m.text.toUtf8();
        curl_mime_data(text, body.constData(), static_cast<size_t>(body.size()));
        curl_mime_type(text, "text/plain; charset=UTF-8");
        curl_mime_encoder(text, "quoted-printable");
        curl_mimepart *file = curl_mime_addpart(mime);
        curl_mime_data(file, m.attachment.constData(), static_cast<size_t>(m.attachment.size()));
        curl_mime_type(file, "application/pdf");
        const QByteArray fileName = m.attachmentName.toUtf8();
        curl_mime_filename(file, fileName.constData());
        curl_mime_encoder(file, "base64");
        curl_easy_setopt(c, CURLOPT_MIMEPOST, mime);

        // The server's own words for a refusal.
        answer_.clear();
        curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &CurlTransport::debug);
        curl_easy_setopt(c, CURLOPT_DEBUGDATA, this);
        curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
        char error[CURL_ERROR_SIZE] = {};
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);

        const CURLcode code = curl_easy_perform(c);

        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
        curl_easy_setopt(c, CURLOPT_MIMEPOST, nullptr);
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
        curl_easy_setopt(c, CURLOPT_MAIL_RCPT, nullptr);
        curl_mime_free(mime);
        curl_slist_free_all(headers);
        curl_slist_free_all(recipients);
        if (code == CURLE_OK)
            return {};
        const QString reason = QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
        if (!answer_.isEmpty())
            return answer_;
        return reason;
    }

private:
    static int debug(CURL *, curl_infotype type, char *data, size_t size, void *self)
    {
        // The first refusal is the answer: after it the connection only says goodbye.
        auto *transport = static_cast<CurlTransport *>(self);
        if (type == CURLINFO_HEADER_IN && transport->answer_.isEmpty()) {
            const QString line = QString::fromUtf8(data, static_cast<qsizetype>(size)).trimmed();
            if (line.startsWith(QLatin1Char('4')) || line.startsWith(QLatin1Char('5')))
                transport->answer_ = line;
        }
        return 0;
    }

    MailServer server_;
    CURL *curl_ = nullptr;
    QString answer_;
};

struct Recipient {
    int id = 0;
    int number = 0;
    QString name;
    QString address;
};

} // namespace

std::optional<MailTls> mailTlsFromText(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"starttls")
        return MailTls::StartTls;
    if (t == u"ssl")
        return MailTls::Ssl;
    if (t == u"none")
        return MailTls::None;
    return std::nullopt;
}

QString mailTlsText(MailTls tls)
{
    switch (tls) {
    case MailTls::Ssl: return QStringLiteral("ssl");
    case MailTls::None: return QStringLiteral("none");
    case MailTls::StartTls: break;
    }
    return QStringLiteral("starttls");
}

QString MailServer::user() const { return envOr("PLAVEX_SMTP_USER", fileUser); }
QString MailServer::password() const { return envOr("PLAVEX_SMTP_PASSWORD", filePassword); }

QString MailServer::address() const
{
    if (host.isEmpty())
        return {};
    return (host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host) + QLatin1Char(':')
           + QString::number(port);
}

bool MailServer::setAddress(const QString &text)
{
    const QString t = text.trimmed();
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString h = t.left(colon);
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    else if (h.contains(QLatin1Char(':')))
        return false;
    bool ok = false;
    const int p = t.mid(colon + 1).toInt(&ok);
    if (!ok || p <= 0 || p > 65535 || h.isEmpty() || h.contains(QLatin1Char(' ')) || h.contains(QLatin1Char('/')))
        return false;
    host = h;
    port = p;
    return true;
}

MailServer readMailServer(const storage::IniFile &ini)
{
    MailServer s;
    s.setAddress(ini.value(kSection, QStringLiteral("SERVER")));
    s.tls = mailTlsFromText(ini.value(kSection, QStringLiteral("TLS"))).value_or(MailTls::StartTls);
    s.from = ini.value(kSection, QStringLiteral("FROM")).trimmed();
    s.fileUser = ini.value(kSection, QStringLiteral("USER")).trimmed();
    s.filePassword = ini.value(kSection, QStringLiteral("PASSWORD"));
    return s;
}

void writeMailServer(storage::IniFile &ini, const MailServer &server)
{
    ini.setValue(kSection, QStringLiteral("SERVER"), server.address());
    ini.setValue(kSection, QStringLiteral("TLS"), mailTlsText(server.tls));
    ini.setValue(kSection, QStringLiteral("FROM"), server.from);
    ini.setValue(kSection, QStringLiteral("USER"), server.fileUser);
    ini.setValue(kSection, QStringLiteral("PASSWORD"), server.filePassword);
}

QString checkMailServer(const MailServer &server)
{
    if (server.host.isEmpty())
        return QStringLiteral("Няма пощенски сървър: задайте го с --smtp ХОСТ:ПОРТ или в настройките за e-mail.");
    if (server.from.isEmpty())
        return QStringLiteral("Няма адрес на подателя: задайте го с --from АДРЕС или в настройките за e-mail.");
    if (!util::isValidEmail(server.from))
        return QStringLiteral("Адресът на подателя \"%1\" не е валиден.").arg(server.from);
    return {};
}

std::unique_ptr<MailTransport> smtpTransport(const MailServer &server) { return std::make_unique<CurlTransport>(server); }

QString payslipSubject(const util::Period &period)
{
    return QStringLiteral("Фиш за заплата за %1 %2г.").arg(util::monthName(period.month())).arg(period.year());
}

QString payslipText(const util::Period &period, const QString &company)
{
    return QStringLiteral("Здравейте,\n\nприложен е фишът Ви за заплата за месец %1 %2г.\n\nПоздрави,\n%3\n")
        .arg(util::monthName(period.month()))
        .arg(period.year())
        .arg(company);
}

MailResult mailPayslips(storage::DataModule &data, MailTransport &transport, const MailServer &server,
                        const MailRequest &request, const PayslipPdf &payslip, util::Prompter &prompter)
{
    MailResult result;
    result.refusal = checkMailServer(server);
    if (!result.refusal.isEmpty())
        return result;
    const util::Period period = data.period();
    fb::Transaction &tx = data.transaction();
    if (!data.schema().tableExists(QStringLiteral("PAYMAIL"))) {
        data.schema().createTable(QStringLiteral("PAYMAIL"), storage::catalogue::table(u"PAYMAIL"));
        tx.commitRetaining();
    }

    std::vector<Recipient> recipients;
    {
        fb::Statement q(tx, QStringLiteral("select PERSON_ID, PERSON_NOMER, PERSON_IME, PERSON_EMAIL from %1 where PERSON_ACT=1%2 "
                                           "order by PERSON_NOMER")
                                .arg(data.table(u"PERSONS"),
                                     request.employeeNumber ? QStringLiteral(" and PERSON_NOMER=?") : QString()));
        if (request.employeeNumber)
            q.bind(0, request.employeeNumber);
        while (q.next())
            recipients.push_back({static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)), q.toText(2).trimmed(),
                                  q.toText(3).trimmed()});
    }
    if (recipients.empty()) {
        result.refusal = request.employeeNumber
                             ? QStringLiteral("Няма активен служител с номер %1.").arg(request.employeeNumber)
                             : QStringLiteral("Няма активни служители.");
        return result;
    }
    QSet<int> done;
    {
        fb::Statement q(tx, QStringLiteral("select PAYMAIL_PERSONID from PAYMAIL where PAYMAIL_MES=?"));
        q.bind(0, period.text());
        while (q.next())
            done.insert(static_cast<int>(q.toInt(0)));
    }

    reference::Company company;
    reference::loadCompany(data, company);
    const QString subject = payslipSubject(period);
    const QString text = payslipText(period, company.name.trimmed());

    prompter.progressStart(QStringLiteral("Изпращане на фишовете по e-mail"));
    const int total = static_cast<int>(recipients.size());
    int step = 0;
    for (const Recipient &r : recipients) {
        prompter.progressStep(++step, total);
        if (prompter.cancelled()) {
            prompter.progressEnd();
            throw util::Cancelled();
        }
        if (r.address.isEmpty()) {
            result.noAddress.push_back({r.number, r.name, {}});
            continue;
        }
        if (!util::isValidEmail(r.address)) {
            result.failed.push_back({r.number, r.name, QStringLiteral("невалиден адрес \"%1\"").arg(r.address)});
            continue;
        }
        if (done.contains(r.id) && !request.again) {
            result.alreadySent.push_back({r.number, r.name, r.address});
            continue;
        }
        QString why;
        MailMessage m;
        m.attachment = payslip(r.id, &why);
        if (m.attachment.isEmpty()) {
            result.failed.push_back({r.number, r.name, why.isEmpty() ? QStringLiteral("фишът не е направен") : why});
            continue;
        }
        m.from = server.from;
        m.fromName = company.name.trimmed();
        m.to = r.address;
        m.subject = subject;
        m.text = text;
        m.attachmentName = QStringLiteral("fish-%1-%2.pdf").arg(period.text()).arg(r.number);
        why = transport.send(m);
        if (!why.isEmpty()) {
            result.failed.push_back({r.number, r.name, why});
            continue;
        }
        ++result.sent;
        // Kept at once: a run stopped later still knows who has his payslip.
        fb::Statement::run(tx, QStringLiteral("delete from PAYMAIL where PAYMAIL_MES=? and PAYMAIL_PERSONID=?"),
                           {period.text(), r.id});
        fb::Statement::run(tx, QStringLiteral("insert into PAYMAIL (PAYMAIL_MES,PAYMAIL_PERSONID,PAYMAIL_ADDR,PAYMAIL_SENT) "
                                              "values (?,?,?,?)"),
                           {period.text(), r.id, r.address,
                            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))});
        tx.commitRetaining();
    }
    prompter.progressEnd();
    return result;
}

} // namespace plavex::operations
