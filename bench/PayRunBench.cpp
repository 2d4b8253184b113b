#include "bench/PayRunBench.h"

#include "bench/DemoBench.h"
#include "operations/DemoCompany.h"
#include "operations/PayFile.h"
#include "operations/PayslipMail.h"
#include "operations/Spreadsheet.h"
#include "reports/PayRunDocuments.h"
#include "reports/ReportKind.h"
#include "reports/RunProtocol.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <QThread>

namespace plavex::bench {

namespace {

double seconds(const QElapsedTimer &t) { return static_cast<double>(t.nsecsElapsed()) / 1e9; }

} // namespace

void payRunBench(const QString &nomsDir)
{
    QTextStream out(stdout);
    const int employees = 2000;
    // December 2025 closed into January 2026: a euro month of 2 000.
    DemoBench b(nomsDir, util::Period(2025, 12));
    operations::buildDemoCompany(b.data, {employees, 1, util::Period(2025, 12), 2025}, b.prompter, b.params);
    storage::DataModule &data = b.data;

    QElapsedTimer t;
    t.start();
    QString refusal;
    const std::vector<operations::Payment> payments = reports::payFilePayments(data, false, &refusal);
    const double gathered = seconds(t);
    operations::PayFileRequest request;
    request.executionDate = QDate::currentDate().addDays(1);
    const operations::PayFileResult file = operations::writePayFile(data, payments, request, b.dir.filePath(QStringLiteral("pay.xml")));
    out << QStringLiteral("payrun: pay-file of %1 (%2 transfers, %3 left out): %4 s (target <= 1 s): the pay sheet's "
                          "amounts with the recalculation %5 s\n")
               .arg(data.period().text())
               .arg(file.transactions)
               .arg(file.leftOut.size())
               .arg(seconds(t), 0, 'f', 3)
               .arg(gathered, 0, 'f', 3);
    out.flush();

    for (const char *suffix : {"xlsx", "csv"}) {
        t.restart();
        reports::ReportRequest sheetRequest;
        sheetRequest.kind = reports::ReportKind::Sheet;
        const auto sheet = reports::documentSheet(data, reports::ReportKind::Sheet, sheetRequest, &refusal);
        const double made = seconds(t);
        operations::writeSheet(*sheet, b.dir.filePath(QStringLiteral("sheet.") + QLatin1String(suffix)));
        out << QStringLiteral("payrun: export sheet to .%1, %2 rows: %3 s (target <= 1 s): the table with the recalculation %4 s\n")
                   .arg(QLatin1String(suffix))
                   .arg(sheet->rows.size())
                   .arg(seconds(t), 0, 'f', 3)
                   .arg(made, 0, 'f', 3);
        out.flush();
    }

    // The payslips through a mail server on loopback.
    QProcess sink;
    const QString folder = b.dir.filePath(QStringLiteral("mail"));
    const QString portFile = b.dir.filePath(QStringLiteral("port"));
    const QString stopFile = b.dir.filePath(QStringLiteral("stop"));
    QDir().mkpath(folder);
    sink.start(QStringLiteral(PLAVEX_SYSTEM_PYTHON), {QStringLiteral(PLAVEX_SMTP_SINK), QStringLiteral("--folder"), folder,
                                                     QStringLiteral("--port-file"), portFile, QStringLiteral("--stop-file"),
                                                     stopFile, QStringLiteral("--lifetime"), QStringLiteral("600")});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(portFile) && waited.elapsed() < 20000 && sink.state() != QProcess::NotRunning)
        QThread::msleep(50);
    QFile port(portFile);
    if (!port.open(QIODevice::ReadOnly)) {
        out << QStringLiteral("payrun: mail-payslips: no mail server on loopback (python3-aiosmtpd)\n");
        return;
    }
    operations::MailServer server;
    server.setAddress(QStringLiteral("127.0.0.1:") + QString::fromLatin1(port.readAll().trimmed()));
    server.tls = operations::MailTls::None;
    server.from = QStringLiteral("zaplati@example.com");
    const auto transport = operations::smtpTransport(server);
    t.restart();
    const operations::MailResult mailed = operations::mailPayslips(
        data, *transport, server, {}, [&data](int id, QString *why) { return reports::payslipPdf(data, id, why); }, b.prompter);
    out << QStringLiteral("payrun: mail-payslips to the loopback server: %1 sent, %2 without an address, %3 failed: %4 s "
                          "(target <= 60 s)\n")
               .arg(mailed.sent)
               .arg(mailed.noAddress.size())
               .arg(mailed.failed.size())
               .arg(seconds(t), 0, 'f', 3);
    out.flush();
    QFile stop(stopFile);
    stop.open(QIODevice::WriteOnly);
    stop.close();
    sink.waitForFinished(10000);
}

} // namespace plavex::bench
