#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "calc/CalcPerson.h"
#include "calc/LawOfMonth.h"
#include "calc/YearSums.h"
#include "employees/Employees.h"
#include "items/Definitions.h"
#include "reports/ReportKind.h"
#include "reports/ReportRun.h"
#include "reports/Selections.h"
#include "reports/Sheets.h"
#include "reports/TaxCertificates.h"
#include "reports/engine/PdfStream.h"
#include "reports/engine/Render.h"
#include "reports/engine/Snapshot.h"
#include "storage/fb/Statement.h"

#include <QDate>
#include <algorithm>
#include <QFileInfo>

#include <map>

namespace plavex::cli {

namespace {

using reports::ReportKind;

const QString kUsage = QStringLiteral(
    "Употреба: plavex-cli report ВИД --out ФАЙЛ.pdf|ФАЙЛ.ndr [опции]; видове: payslip1, payslip2, recap, sheet, "
    "advance-sheet, item-list, tax-certificate, annual-tax, payment-orders, payment-list, sick-slip, definitions, "
    "positions, units, categories");

// The options a kind takes: those with a value, then the switches.
struct KindOptions {
    QStringList values;
    QStringList flags;
};

KindOptions optionsOf(const QString &name)
{
    if (name == u"payslip1" || name == u"payslip2")
        return {{QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--employee")}, {QStringLiteral("--new-page")}};
    if (name == u"recap")
        return {{QStringLiteral("--type"), QStringLiteral("--unit")}, {}};
    if (name == u"advance-sheet")
        return {{QStringLiteral("--item")}, {QStringLiteral("--next-month")}};
    if (name == u"item-list")
        return {{QStringLiteral("--item")}, {}};
    if (name == u"tax-certificate")
        return {{QStringLiteral("--kind"), QStringLiteral("--year"), QStringLiteral("--date"), QStringLiteral("--employee")},
                {}};
    if (name == u"payment-orders" || name == u"payment-list")
        return {{QStringLiteral("--item")}, {QStringLiteral("--advance"), QStringLiteral("--next-month")}};
    return {};
}

// Answers the run's questions from the options and files the document.
class CliReportHost : public reports::ReportHost {
public:
    CliReportHost(storage::DataModule &data, const QString &out) : data_(data), out_(out) {}

    bool askRange(reports::ReportRequest &r) override
    {
        // Without --from and --to the whole range of active employees, as the dialog opens.
        const auto range = reports::defaultRange(reports::activeEmployees(data_));
        if (r.fromNumber == 0 && !hasFrom)
            r.fromNumber = range.first;
        if (r.toNumber == 0 && !hasTo)
            r.toNumber = range.second;
        // The run clears the choice before its dialog, as the dialog opens unchecked.
        r.newPagePerSlip = newPage;
        return true;
    }
    bool askAdvance(reports::ReportRequest &r) override
    {
        // Without --item the first advance item, as the dialog opens.
        if (r.itemCode == 0) {
            const std::vector<reports::AdvanceItem> items = reports::advanceItems(data_);
            if (!items.empty())
                r.itemCode = items.front().code;
        }
        r.itemText = r.itemCode > 0 ? QString::number(r.itemCode) : QString();
        return true;
    }
    bool askItem(reports::ReportRequest &r) override
    {
        // The run clears the code before its dialog; the option answers it.
        for (const items::Definition &d : items::loadDefinitions(data_))
            if (d.code == item && item != 0 && d.type != 100 && d.type != 200 && d.type != 201) {
                r.itemCode = item;
                r.itemText = QString::number(item);
                r.itemName = d.name.trimmed();
                return true;
            }
        messages << (item == 0 ? QStringLiteral("item-list иска --item КОД.") : QStringLiteral("Няма перо с код %1.").arg(item));
        return false;
    }
    // A PDF is written while its pages are made.
    void pagesFinished(const reports::Document &document, int count) override
    {
        if (pdf_) {
            if (!stream_)
                stream_ = std::make_unique<reports::PdfStream>(out_);
            stream_->pagesFinished(document, count);
        }
    }
    void output(reports::Document &document) override
    {
        QString why;
        if (pdf_ && !stream_)
            stream_ = std::make_unique<reports::PdfStream>(out_);
        written = pdf_ ? stream_->finish(document, &why)
                       : reports::writeSnapshot(reports::snapshotBytes(document), out_, &why);
        if (!written)
            failure = QStringLiteral("Файлът %1 не може да бъде записан: %2").arg(out_, why);
    }
    void message(const QString &text) override { messages << text; }

    bool hasFrom = false, hasTo = false;
    bool newPage = false;
    int item = 0; // --item
    bool written = false;
    QString failure;
    QStringList messages;

private:
    storage::DataModule &data_;
    QString out_;
    bool pdf_ = QFileInfo(out_).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    std::unique_ptr<reports::PdfStream> stream_;
};

std::optional<int> number(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int n = text->trimmed().toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

int report(CliContext &c)
{
    if (c.args.isEmpty())
        return c.fail(kUsage);
    const QString name = c.args.takeFirst();
    std::optional<ReportKind> kind;
    for (const auto &k : reports::reportKinds())
        if (name == QLatin1String(k.cliName)) {
            kind = k.kind;
            break;
        }
    if (!kind)
        return c.fail(QStringLiteral("Непознат вид документ: %1. ").arg(name) + kUsage);

    const auto out = c.takeOption(QStringLiteral("--out"));
    if (!out || out->trimmed().isEmpty())
        return c.fail(QStringLiteral("Липсва --out ФАЙЛ. ") + kUsage);
    const QString suffix = QFileInfo(*out).suffix().toLower();
    if (suffix != u"pdf" && suffix != u"ndr")
        return c.fail(QStringLiteral("Файлът трябва да завършва на .pdf или .ndr: %1").arg(*out));

    const KindOptions allowed = optionsOf(name);
    std::map<QString, QString> values;
    for (const QString &o : allowed.values)
        if (c.args.contains(o)) {
            const auto v = c.takeOption(o);
            if (!v)
                return c.fail(QStringLiteral("Липсва стойност след %1.").arg(o));
            values[o] = *v;
        }
    QStringList flags;
    for (const QString &f : allowed.flags)
        if (c.takeFlag(f))
            flags << f;
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Непозната опция за %1: %2").arg(name, c.args.join(QLatin1Char(' '))));

    reports::ReportRequest request;
    request.kind = *kind;
    auto numeric = [&](const QString &option, int &target) -> bool {
        if (!values.count(option))
            return true;
        const auto n = number(values[option]);
        if (!n)
            return false;
        target = *n;
        return true;
    };
    int employeeNumber = 0, year = 0;
    for (const auto &[option, target] : std::initializer_list<std::pair<QString, int *>>{
             {QStringLiteral("--from"), &request.fromNumber},
             {QStringLiteral("--to"), &request.toNumber},
             {QStringLiteral("--employee"), &employeeNumber},
             {QStringLiteral("--unit"), &request.unitCode},
             {QStringLiteral("--item"), &request.itemCode},
             {QStringLiteral("--year"), &year}})
        if (!numeric(option, *target))
            return c.fail(QStringLiteral("%1 иска цяло число: %2").arg(option, values[option]));
    request.year = year;
    request.newPagePerSlip = flags.contains(QStringLiteral("--new-page"));
    request.advanceMonth = flags.contains(QStringLiteral("--next-month")) ? 1 : 0;
    if (values.count(QStringLiteral("--type"))) {
        const QString t = values[QStringLiteral("--type")];
        if (t != u"general" && t != u"unit")
            return c.fail(QStringLiteral("--type иска general или unit: %1").arg(t));
        request.recapType = t == u"general" ? reports::RecapType::General : reports::RecapType::Unit;
    } else if (*kind == ReportKind::Recapitulation) {
        request.recapType = reports::RecapType::General;
    }
    if (*kind == ReportKind::Recapitulation) {
        const QString why = reports::checkRecapType(
            request.recapType, values.count(QStringLiteral("--unit")) ? values[QStringLiteral("--unit")] : QString());
        if (!why.isEmpty())
            return c.fail(why);
    }
    if (values.count(QStringLiteral("--kind"))) {
        const QString k = values[QStringLiteral("--kind")];
        if (k != u"annual" && k != u"dismissal")
            return c.fail(QStringLiteral("--kind иска annual или dismissal: %1").arg(k));
        request.certificateKind = k == u"annual" ? 0 : 1;
    }
    if (values.count(QStringLiteral("--date"))) {
        request.date = QDate::fromString(values[QStringLiteral("--date")], QStringLiteral("dd.MM.yyyy"));
        if (!request.date.isValid())
            return c.fail(QStringLiteral("--date иска дата ДД.ММ.ГГГГ: %1").arg(values[QStringLiteral("--date")]));
    }
    if (flags.contains(QStringLiteral("--advance"))) {
        if (!values.count(QStringLiteral("--item")))
            return c.fail(QStringLiteral("--advance иска и --item КОД."));
        request.kind = *kind == ReportKind::PaymentOrders ? ReportKind::AdvancePaymentOrders : ReportKind::AdvancePaymentList;
    }
    if (!reports::kindBuilt(request.kind))
        return c.fail(reports::notBuiltMessage(request.kind));
    if (*kind == ReportKind::TaxCertificate) {
        // The dialog's checks; without --kind none is chosen.
        const int certificate = values.count(QStringLiteral("--kind")) ? request.certificateKind : -1;
        const QString why = reports::checkCertificateChoice(certificate, request.year, request.date);
        if (!why.isEmpty())
            return c.fail(why);
    }

    if (!c.openDatabase(false))
        return 1;
    if (*kind == ReportKind::TaxCertificate && request.certificateKind == reports::AnnualCertificate) {
        const std::vector<int> years = reports::certificateYears(c.data->period());
        if (std::find(years.begin(), years.end(), request.year) == years.end())
            return c.fail(QStringLiteral("Годината трябва да е %1 или %2.").arg(years.front()).arg(years.back()));
    }
    if (*kind == ReportKind::AnnualTax && !calc::annualTaxYear(c.data->period()))
        return c.fail(QStringLiteral("Годишният ДОД се преизчислява само през януари и декември."));
    CliReportHost host(*c.data, *out);
    host.hasFrom = values.count(QStringLiteral("--from")) > 0;
    host.hasTo = values.count(QStringLiteral("--to")) > 0;
    host.newPage = request.newPagePerSlip;
    host.item = request.itemCode;
    if (employeeNumber != 0) {
        const std::optional<int> id = employees::idByNumber(*c.data, employeeNumber);
        if (!id)
            return c.fail(QStringLiteral("Няма служител с номер %1.").arg(employeeNumber));
        request.employeeId = *id;
    }
    const reports::RunResult result = reports::startReport(*c.data, host, request);
    for (const QString &line : result.rowErrors)
        c.err << line << Qt::endl;
    if (!host.failure.isEmpty())
        return c.fail(host.failure);
    if (result.outcome != reports::RunOutcome::Done || !host.written)
        return c.fail(host.messages.isEmpty() ? QStringLiteral("Документът не е записан.") : host.messages.join(u' '));
    return 0;
}

const QString kAnnualTaxUsage = QStringLiteral("Употреба: plavex-cli annual-tax --insert [--item КОД] --yes");

// The differences of the annual recomputation as items of a type-145 code
// of the month, the step the window takes when an item is chosen.
int annualTax(CliContext &c)
{
    const bool insert = c.takeFlag(QStringLiteral("--insert"));
    const bool hasItem = c.args.contains(QStringLiteral("--item"));
    const auto item = c.takeOption(QStringLiteral("--item"));
    if (!insert || !c.args.isEmpty() || (hasItem && !item))
        return c.fail(kAnnualTaxUsage);
    std::optional<int> code;
    if (item) {
        code = number(*item);
        if (!code)
            return c.fail(QStringLiteral("--item иска цяло число: %1").arg(*item));
    }
    if (!c.openDatabase(false))
        return 1;
    const auto year = calc::annualTaxYear(c.data->period());
    if (!year)
        return c.fail(QStringLiteral("Годишният ДОД се преизчислява само през януари и декември."));
    if (!code && !calc::annualTaxByArticle49(*year)) {
        // The years to 2008 as the program had them: the month's one type-145 code.
        QStringList codes;
        for (const items::Definition &d : items::loadDefinitions(*c.data))
            if (d.type == 145)
                codes << QString::number(d.code);
        if (codes.isEmpty())
            return c.fail(QStringLiteral("Няма перо от тип 145, което да получи разликите."));
        if (codes.size() > 1)
            return c.fail(QStringLiteral("Изберете перото с --item КОД; пера от тип 145: %1.").arg(codes.join(QStringLiteral(", "))));
        code = codes.first().toInt();
    }
    if (!code) {
        // Only the deduction made for it: another type-145 code (a
        // garnishment, say) is used only when named with --item.
        const std::vector<items::Definition> definitions = items::loadDefinitions(*c.data);
        code = calc::annualTaxItemCode(definitions);
        if (!code) {
            QStringList codes;
            for (const items::Definition &d : definitions)
                if (d.type == 145)
                    codes << QStringLiteral("%1 \"%2\"").arg(d.code).arg(d.name.trimmed());
            return c.fail(QStringLiteral("Няма перо \"%1\" от тип 145. Изберете перото с --item КОД%2")
                              .arg(calc::annualTaxItemName(),
                                   codes.isEmpty() ? QStringLiteral(".")
                                                   : QStringLiteral("; пера от тип 145: ") + codes.join(QStringLiteral(", ")) + u'.'));
        }
    }
    if (!c.prompter.confirm(QStringLiteral("Разликите от преизчисления годишен ДОД за %1г. ще заменят всички пера с код %2. "
                                           "Сигурни ли сте?")
                                .arg(*year)
                                .arg(*code)))
        return 1;
    calc::recalculateAll(*c.data, c.parameters());
    const auto added = reports::insertAnnualTaxDifferences(*c.data, *code, calc::annualTaxRows(*c.data, *year), &c.parameters());
    if (!added)
        return 1;
    c.out << *added << Qt::endl;
    return 0;
}

} // namespace

std::vector<Command> reportCommands()
{
    return {{QStringLiteral("report"), QStringLiteral("report ВИД --out ФАЙЛ.pdf|ФАЙЛ.ndr [опции]"), report},
            {QStringLiteral("annual-tax"), QStringLiteral("annual-tax --insert [--item КОД] --yes"), annualTax}};
}

} // namespace plavex::cli
