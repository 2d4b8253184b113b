#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "employees/Employees.h"
#include "operations/PayFile.h"
#include "operations/PayslipMail.h"
#include "operations/Spreadsheet.h"
#include "reference/LawCalendar.h"
#include "reports/PayRunDocuments.h"
#include "reports/ReportKind.h"
#include "reports/Selections.h"
#include "util/BankAccount.h"
#include "util/Currency.h"

#include <QDate>
#include <QFileInfo>

namespace plavex::cli {

namespace {

const QString kPayFileUsage = QStringLiteral("Употреба: plavex-cli pay-file --out ФАЙЛ.xml [--date ДД.ММ.ГГГГ] [--advance]");
const QString kMailUsage = QStringLiteral(
    "Употреба: plavex-cli mail-payslips --smtp ХОСТ:ПОРТ [--tls starttls|ssl|none] [--from АДРЕС] [--employee НОМЕР] "
    "[--again] [--yes]");
const QString kExportUsage = QStringLiteral(
    "Употреба: plavex-cli export ВИД --out ФАЙЛ.xlsx|ФАЙЛ.csv; видове: employees, items, sheet, recap [--type general|unit "
    "--unit КОД], item-list --item КОД, annual-tax, payment-list [--advance --item КОД [--next-month]]");

QString money(double amount) { return QString::number(amount, 'f', 2); }

QString who(const operations::LeftOut &l) { return QStringLiteral("%1 %2").arg(l.number).arg(l.name); }

// A value option given without its value is a usage error, not an absent option.
bool takeValue(CliContext &c, const QString &name, std::optional<QString> &value)
{
    const bool present = c.args.contains(name);
    value = c.takeOption(name);
    return !present || value.has_value();
}

int payFile(CliContext &c)
{
    std::optional<QString> out, date;
    if (!takeValue(c, QStringLiteral("--out"), out) || !takeValue(c, QStringLiteral("--date"), date))
        return c.fail(kPayFileUsage);
    const bool advance = c.takeFlag(QStringLiteral("--advance"));
    if (!c.args.isEmpty() || !out || out->trimmed().isEmpty())
        return c.fail(kPayFileUsage);
    operations::PayFileRequest request;
    request.advance = advance;
    if (date) {
        request.executionDate = QDate::fromString(date->trimmed(), QStringLiteral("dd.MM.yyyy"));
        if (!request.executionDate.isValid())
            return c.fail(QStringLiteral("--date иска дата ДД.ММ.ГГГГ: %1").arg(*date));
        if (request.executionDate < QDate::currentDate())
            return c.fail(QStringLiteral("Датата на изпълнение %1 е минала.").arg(*date));
    }
    if (!c.openDatabase(false))
        return 1;
    if (const QString why = operations::payFileRefusal(c.data->period()); !why.isEmpty())
        return c.fail(why);
    if (!request.executionDate.isValid())
        request.executionDate = operations::nextWorkingDay(reference::LawCalendar::fromNoms(c.settings.nomsDir()),
                                                           QDate::currentDate());
    QString refusal;
    const std::vector<operations::Payment> payments = reports::payFilePayments(*c.data, advance, &refusal);
    if (!refusal.isEmpty())
        return c.fail(refusal);
    const operations::PayFileResult result = operations::writePayFile(*c.data, payments, request, *out);
    for (const operations::LeftOut &l : result.leftOut)
        c.err << QStringLiteral("Пропуснат служител %1: %2").arg(who(l), l.reason) << Qt::endl;
    if (!result.refusal.isEmpty())
        return c.fail(result.refusal);
    c.out << QStringLiteral("%1 превода за %2 EUR, дата на изпълнение %3: %4")
                 .arg(result.transactions)
                 .arg(money(result.controlSum), request.executionDate.toString(QStringLiteral("dd.MM.yyyy")), *out)
          << Qt::endl;
    if (!result.leftOut.empty()) {
        c.err << QStringLiteral("%1 служители без валидна сметка не са във файла.").arg(result.leftOut.size()) << Qt::endl;
        return 3;
    }
    return 0;
}

int mailPayslips(CliContext &c)
{
    std::optional<QString> smtp, tls, from, employee;
    if (!takeValue(c, QStringLiteral("--smtp"), smtp) || !takeValue(c, QStringLiteral("--tls"), tls)
        || !takeValue(c, QStringLiteral("--from"), from) || !takeValue(c, QStringLiteral("--employee"), employee))
        return c.fail(kMailUsage);
    const bool again = c.takeFlag(QStringLiteral("--again"));
    if (!c.args.isEmpty())
        return c.fail(kMailUsage);
    operations::MailServer server = operations::readMailServer(c.settings.ini());
    if (smtp && !server.setAddress(*smtp))
        return c.fail(QStringLiteral("--smtp иска ХОСТ:ПОРТ: %1").arg(*smtp));
    if (tls) {
        const auto t = operations::mailTlsFromText(*tls);
        if (!t)
            return c.fail(QStringLiteral("--tls иска starttls, ssl или none: %1").arg(*tls));
        server.tls = *t;
    }
    if (from)
        server.from = from->trimmed();
    if (const QString why = operations::checkMailServer(server); !why.isEmpty())
        return c.fail(why);
    operations::MailRequest request;
    request.again = again;
    if (employee) {
        bool ok = false;
        request.employeeNumber = employee->trimmed().toInt(&ok);
        if (!ok || request.employeeNumber <= 0)
            return c.fail(QStringLiteral("--employee иска номер на служител: %1").arg(*employee));
    }
    if (!c.openDatabase(false))
        return 1;
    const util::Period period = c.data->period();
    if (!c.prompter.confirm(QStringLiteral("Фишовете за %1 ще бъдат изпратени по e-mail през %2. Сигурни ли сте?")
                                .arg(period.text().left(2) + QLatin1Char('.') + period.text().mid(2), server.address())))
        return 1;
    c.prompter.showProgress = true;
    const auto transport = operations::smtpTransport(server);
    storage::DataModule &data = *c.data;
    const operations::MailResult result = operations::mailPayslips(
        data, *transport, server, request, [&data](int id, QString *why) { return reports::payslipPdf(data, id, why); },
        c.prompter);
    if (!result.refusal.isEmpty())
        return c.fail(result.refusal);
    c.out << QStringLiteral("Изпратени: %1").arg(result.sent) << Qt::endl;
    if (!result.alreadySent.empty()) {
        QStringList names;
        for (const auto &l : result.alreadySent)
            names << who(l);
        c.out << QStringLiteral("Вече получили фиша си (изпращане отново с --again): %1").arg(names.join(QStringLiteral(", ")))
              << Qt::endl;
    }
    if (!result.noAddress.empty()) {
        QStringList names;
        for (const auto &l : result.noAddress)
            names << who(l);
        c.out << QStringLiteral("Без e-mail адрес: %1").arg(names.join(QStringLiteral(", "))) << Qt::endl;
    }
    for (const auto &l : result.failed)
        c.out << QStringLiteral("Неизпратен на %1: %2").arg(who(l), l.reason) << Qt::endl;
    if (result.failed.empty())
        return 0;
    if (result.sent == 0) {
        c.err << QStringLiteral("Нито един фиш не е изпратен.") << Qt::endl;
        return 1;
    }
    return 3;
}

int exportTable(CliContext &c)
{
    if (c.args.isEmpty())
        return c.fail(kExportUsage);
    const QString kind = c.args.takeFirst();
    std::optional<QString> out, item, type, unit;
    if (!takeValue(c, QStringLiteral("--out"), out))
        return c.fail(kExportUsage);
    const bool document = reports::isExportKind(kind);
    if (kind != u"employees" && kind != u"items" && !document)
        return c.fail(QStringLiteral("Непознат вид таблица: %1. ").arg(kind) + kExportUsage);
    bool advance = false, nextMonth = false;
    if (kind == u"item-list" || kind == u"payment-list") {
        if (!takeValue(c, QStringLiteral("--item"), item))
            return c.fail(kExportUsage);
    }
    if (kind == u"payment-list") {
        advance = c.takeFlag(QStringLiteral("--advance"));
        nextMonth = c.takeFlag(QStringLiteral("--next-month"));
    }
    if (kind == u"recap" && (!takeValue(c, QStringLiteral("--type"), type) || !takeValue(c, QStringLiteral("--unit"), unit)))
        return c.fail(kExportUsage);
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Непозната опция за %1: %2").arg(kind, c.args.join(QLatin1Char(' '))));
    if (!out || out->trimmed().isEmpty())
        return c.fail(QStringLiteral("Липсва --out ФАЙЛ. ") + kExportUsage);
    if (!operations::sheetFormatOf(*out))
        return c.fail(QStringLiteral("Файлът трябва да завършва на .xlsx или .csv: %1").arg(*out));

    reports::ReportRequest request;
    if (item) {
        bool ok = false;
        request.itemCode = item->trimmed().toInt(&ok);
        if (!ok || request.itemCode < 0)
            return c.fail(QStringLiteral("--item иска цяло число: %1").arg(*item));
    }
    if (advance && !item)
        return c.fail(QStringLiteral("--advance иска и --item КОД."));
    request.advanceMonth = nextMonth ? 1 : 0;
    reports::ReportKind reportKind = reports::ReportKind::Sheet;
    if (kind == u"recap") {
        reportKind = reports::ReportKind::Recapitulation;
        request.recapType = reports::RecapType::General;
        if (type && *type != u"general" && *type != u"unit")
            return c.fail(QStringLiteral("--type иска general или unit: %1").arg(*type));
        if (type && *type == u"unit") {
            request.recapType = reports::RecapType::Unit;
            const QString why = reports::checkRecapType(request.recapType, unit.value_or(QString()));
            if (!why.isEmpty())
                return c.fail(why);
            request.unitCode = unit->trimmed().toInt();
        }
    } else if (kind == u"item-list") {
        reportKind = reports::ReportKind::ItemList;
    } else if (kind == u"annual-tax") {
        reportKind = reports::ReportKind::AnnualTax;
    } else if (kind == u"payment-list") {
        reportKind = advance ? reports::ReportKind::AdvancePaymentList : reports::ReportKind::PaymentList;
    }
    request.kind = reportKind;

    if (!c.openDatabase(false))
        return 1;
    std::optional<operations::Sheet> sheet;
    if (kind == u"employees") {
        sheet = operations::employeesSheet(*c.data);
    } else if (kind == u"items") {
        sheet = operations::itemsSheet(*c.data);
    } else {
        QString refusal;
        sheet = reports::documentSheet(*c.data, reportKind, request, &refusal);
        if (!sheet)
            return c.fail(refusal);
    }
    QString why;
    if (!operations::writeSheet(*sheet, *out, &why))
        return c.fail(QStringLiteral("Файлът %1 не може да бъде записан: %2").arg(*out, why));
    c.out << sheet->rows.size() << Qt::endl;
    return 0;
}

} // namespace

std::vector<Command> payRunCommands()
{
    return {{QStringLiteral("pay-file"), QStringLiteral("pay-file --out ФАЙЛ.xml [--date ДД.ММ.ГГГГ] [--advance]"), payFile},
            {QStringLiteral("mail-payslips"),
             QStringLiteral("mail-payslips --smtp ХОСТ:ПОРТ [--tls starttls|ssl|none] [--from АДРЕС] [--employee НОМЕР] "
                            "[--again] [--yes]"),
             mailPayslips},
            {QStringLiteral("export"), QStringLiteral("export ВИД --out ФАЙЛ.xlsx|ФАЙЛ.csv [опции]"), exportTable}};
}

} // namespace plavex::cli
