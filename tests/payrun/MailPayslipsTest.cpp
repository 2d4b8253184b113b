// Payslips by e-mail through a real SMTP server on loopback (aiosmtpd,
// started and stopped here): who gets what, what the run says, and that a
// repeated run sends nobody his payslip twice.
#include "tests/payrun/PayRunSupport.h"

#include "operations/PayslipMail.h"
#include "storage/fb/Statement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace plavex;

namespace {

// The loopback server of one test; it keeps each message in its folder.
class MailSink {
public:
    explicit MailSink(const QStringList &refused = {})
    {
        QStringList args{test::scriptPath("smtp_sink.py"), QStringLiteral("--folder"), dir_.filePath(QStringLiteral("mail")),
                         QStringLiteral("--port-file"), dir_.filePath(QStringLiteral("port")), QStringLiteral("--stop-file"),
                         dir_.filePath(QStringLiteral("stop")), QStringLiteral("--lifetime"), QStringLiteral("900")};
        for (const QString &a : refused)
            args << QStringLiteral("--refuse") << a;
        QDir(dir_.path()).mkpath(QStringLiteral("mail"));
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(test::systemPython(), args);
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(dir_.filePath(QStringLiteral("port"))) && waited.elapsed() < 20000
               && process_.state() != QProcess::NotRunning)
            QThread::msleep(50);
        QFile f(dir_.filePath(QStringLiteral("port")));
        if (f.open(QIODevice::ReadOnly))
            port_ = f.readAll().trimmed().toInt();
    }
    ~MailSink()
    {
        QFile stop(dir_.filePath(QStringLiteral("stop")));
        stop.open(QIODevice::WriteOnly);
        stop.close();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    int port() const { return port_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

    // Every message kept so far, decoded.
    std::vector<QJsonObject> messages() const
    {
        const test::ToolRun r =
            test::runTool(test::systemPython(), {test::scriptPath("read_mail.py"), dir_.filePath(QStringLiteral("mail"))});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        std::vector<QJsonObject> all;
        for (const QByteArray &line : r.out.split('\n'))
            if (!line.trimmed().isEmpty())
                all.push_back(QJsonDocument::fromJson(line).object());
        return all;
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
};

class MailPayslips : public test::EuroCompanySuite<12> {
protected:
    test::CliRun mail(const MailSink &sink, const QStringList &more = {})
    {
        return c.cli(QStringList{"mail-payslips", "--smtp", sink.address(), "--tls", "none", "--from", "zaplati@example.com"} + more);
    }
    // Address by employee number, and the numbers without one.
    std::map<int, QString> addresses()
    {
        c.db.data->transaction().commitRetaining();
        std::map<int, QString> all;
        fb::Statement q(c.db.data->transaction(),
                        QStringLiteral("select PERSON_NOMER, PERSON_EMAIL from PERSONS012026 where PERSON_ACT=1"));
        while (q.next())
            all[static_cast<int>(q.toInt(0))] = q.toText(1).trimmed();
        return all;
    }
    QString printedPayslip(int number)
    {
        const QString path = c.dir() + QStringLiteral("printed-%1.pdf").arg(number);
        const test::CliRun r = c.cli({"report", "payslip1", "--employee", QString::number(number), "--out", path});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return test::pdfText(path);
    }
};

int numberOf(const QJsonObject &message)
{
    const QString name = message.value(QStringLiteral("attachments")).toArray().at(0).toObject().value(QStringLiteral("name")).toString();
    return name.section(u'-', 2).section(u'.', 0, 0).toInt();
}

TEST_F(MailPayslips, EachEmployeeGetsHisOwnPayslipOnce)
{
    MailSink sink;
    ASSERT_GT(sink.port(), 0);
    EXPECT_EQ(mail(sink).status, 1) << "sending is confirmed with --yes";
    EXPECT_TRUE(sink.messages().empty());

    const test::CliRun r = mail(sink, {"--yes"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString() << r.out.toStdString();
    const auto book = addresses();
    int withAddress = 0;
    for (const auto &[number, address] : book) {
        if (address.isEmpty())
            EXPECT_TRUE(r.out.contains(QStringLiteral("Без e-mail адрес:")) && r.out.contains(QString::number(number)))
                << number << r.out.toStdString();
        else
            ++withAddress;
    }
    ASSERT_GT(withAddress, 0);
    ASSERT_LT(withAddress, static_cast<int>(book.size())) << "the demo keeps a few without an address";
    EXPECT_TRUE(r.out.contains(QStringLiteral("Изпратени: %1").arg(withAddress))) << r.out.toStdString();

    const std::vector<QJsonObject> messages = sink.messages();
    ASSERT_EQ(static_cast<int>(messages.size()), withAddress);
    std::set<int> seen;
    for (const QJsonObject &m : messages) {
        const int number = numberOf(m);
        ASSERT_TRUE(book.count(number)) << number;
        EXPECT_TRUE(seen.insert(number).second) << "twice: " << number;
        const QJsonArray to = m.value(QStringLiteral("envelope")).toObject().value(QStringLiteral("to")).toArray();
        ASSERT_EQ(to.size(), 1);
        EXPECT_EQ(to.at(0).toString(), book.at(number));
        EXPECT_EQ(m.value(QStringLiteral("subject")).toString(), QStringLiteral("Фиш за заплата за Януари 2026г."));
        EXPECT_TRUE(m.value(QStringLiteral("text")).toString().contains(QStringLiteral("Януари 2026г.")));
        const QJsonObject attachment = m.value(QStringLiteral("attachments")).toArray().at(0).toObject();
        EXPECT_EQ(attachment.value(QStringLiteral("type")).toString(), QStringLiteral("application/pdf"));
        const QString text = test::pdfText(attachment.value(QStringLiteral("path")).toString());
        EXPECT_FALSE(text.trimmed().isEmpty());
        EXPECT_EQ(text, printedPayslip(number)) << number;
    }

    // Repeated: nobody twice; asked for one again, he alone.
    const test::CliRun again = mail(sink, {"--yes"});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(again.out.contains(QStringLiteral("Изпратени: 0"))) << again.out.toStdString();
    EXPECT_TRUE(again.out.contains(QStringLiteral("Вече получили"))) << again.out.toStdString();
    EXPECT_EQ(static_cast<int>(sink.messages().size()), withAddress);
    const int one = numberOf(messages.front());
    const test::CliRun forced = mail(sink, {"--employee", QString::number(one), "--again", "--yes"});
    EXPECT_EQ(forced.status, 0) << forced.err.toStdString();
    EXPECT_EQ(static_cast<int>(sink.messages().size()), withAddress + 1);
}

TEST_F(MailPayslips, OneRefusalStopsNobodyElse)
{
    const auto book = addresses();
    QString refused;
    int refusedNumber = 0;
    for (const auto &[number, address] : book)
        if (!address.isEmpty()) {
            refused = address;
            refusedNumber = number;
            break;
        }
    ASSERT_FALSE(refused.isEmpty());
    MailSink sink({refused});
    ASSERT_GT(sink.port(), 0);
    const test::CliRun r = mail(sink, {"--yes"});
    EXPECT_EQ(r.status, 3) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Неизпратен на %1").arg(refusedNumber))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("550 5.1.1 Mailbox unavailable"))) << r.out.toStdString();
    const auto messages = sink.messages();
    EXPECT_FALSE(messages.empty());
    for (const QJsonObject &m : messages)
        EXPECT_NE(numberOf(m), refusedNumber);
    // The one refused is still owed his payslip: the next run tries him alone.
    MailSink fixed;
    const test::CliRun next = mail(fixed, {"--yes"});
    EXPECT_EQ(next.status, 0) << next.out.toStdString();
    const auto delivered = fixed.messages();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(numberOf(delivered.front()), refusedNumber);
}

TEST_F(MailPayslips, NoServerNoSending)
{
    // A port nobody listens on: every message fails with why, status 1.
    MailSink sink;
    ASSERT_GT(sink.port(), 0);
    int closedPort = 0;
    {
        MailSink gone;
        closedPort = gone.port();
    }
    const test::CliRun closed = c.cli({"mail-payslips", "--smtp", QStringLiteral("127.0.0.1:%1").arg(closedPort), "--tls", "none",
                                       "--from", "zaplati@example.com", "--yes"});
    EXPECT_EQ(closed.status, 1) << closed.out.toStdString();
    EXPECT_TRUE(closed.out.contains(QStringLiteral("Неизпратен"))) << closed.out.toStdString();
    c.db.data->transaction().commitRetaining();
    EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from PAYMAIL")), 0);
    EXPECT_EQ(c.cli({"mail-payslips", "--smtp", "nohost", "--from", "zaplati@example.com", "--yes"}).status, 1);
    EXPECT_EQ(c.cli({"mail-payslips", "--smtp", sink.address(), "--from", "not-an-address", "--yes"}).status, 1);
    EXPECT_EQ(c.cli({"mail-payslips", "--smtp", sink.address(), "--tls", "tls", "--from", "a@example.com", "--yes"}).status, 1);
    EXPECT_TRUE(sink.messages().empty());
}

} // namespace
