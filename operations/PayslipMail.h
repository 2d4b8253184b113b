#pragma once

#include "operations/PayFile.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
class IniFile;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::operations {

enum class MailTls { StartTls, Ssl, None };
std::optional<MailTls> mailTlsFromText(const QString &text); // "starttls", "ssl", "none"
QString mailTlsText(MailTls tls);

// The company's mail server and sender, as the settings file keeps them
// (section MAIL), and the login the server is asked with.
struct MailServer {
    QString host;
    int port = 25;
    MailTls tls = MailTls::StartTls;
    QString from;
    // The login of the settings file; PLAVEX_SMTP_USER and
    // PLAVEX_SMTP_PASSWORD override it for a run and are never written back.
    QString fileUser;
    QString filePassword;
    QString user() const;
    QString password() const;

    QString address() const; // "host:port"
    // "host:port" (or "[v6]:port"): false when it is not one.
    bool setAddress(const QString &text);
};
MailServer readMailServer(const storage::IniFile &ini);
void writeMailServer(storage::IniFile &ini, const MailServer &server);
// Why the server cannot be used as it is, empty when it can.
QString checkMailServer(const MailServer &server);

// One message: a short text and one PDF attachment.
struct MailMessage {
    QString from;
    QString fromName;
    QString to;
    QString subject;
    QString text;
    QByteArray attachment;
    QString attachmentName;
};

// Sends messages one after another, keeping the connection between them.
class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Empty when the server took the message, else its answer (or why it
    // could not be reached).
    virtual QString send(const MailMessage &message) = 0;
};
// SMTP through libcurl.
std::unique_ptr<MailTransport> smtpTransport(const MailServer &server);

struct MailRequest {
    int employeeNumber = 0; // 0: every active employee
    bool again = false;     // also those who have this month's payslip already
};

struct MailResult {
    int sent = 0;
    std::vector<LeftOut> noAddress;
    std::vector<LeftOut> alreadySent;
    std::vector<LeftOut> failed; // the reason is the server's answer
    QString refusal;             // nothing was tried
};

// The payslip of an employee (by id) as PDF; empty with the reason on failure.
using PayslipPdf = std::function<QByteArray(int employeeId, QString *error)>;

// "Фиш за заплата за Януари 2026г.": the subject and the text of a message.
QString payslipSubject(const util::Period &period);
QString payslipText(const util::Period &period, const QString &company);

// Mails every active employee with an address his own payslip. Each
// message that goes out is recorded at once, so a repeated run (or one
// after a failure) sends nobody his payslip twice unless asked to; one
// failure does not stop the others. The prompter shows the progress and
// may cancel between messages.
MailResult mailPayslips(storage::DataModule &data, MailTransport &transport, const MailServer &server,
                        const MailRequest &request, const PayslipPdf &payslip, util::Prompter &prompter);

} // namespace plavex::operations
