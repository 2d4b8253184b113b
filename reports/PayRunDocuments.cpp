#include "reports/PayRunDocuments.h"

#include "calc/YearSums.h"
#include "items/Definitions.h"
#include "reports/ItemList.h"
#include "reports/PaymentOrders.h"
#include "reports/Recapitulation.h"
#include "reports/ReportRun.h"
#include "reports/Sheets.h"
#include "reports/engine/Render.h"
#include "storage/DataModule.h"
#include "util/Currency.h"

#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace plavex::reports {

namespace {

using Kind = operations::SheetColumn::Kind;
using operations::amountHeading;
using operations::Sheet;

// Takes the finished document instead of printing it.
class KeepingHost : public ReportHost {
public:
    void output(Document &document) override { kept = std::move(document); }
    void message(const QString &text) override { messages << text; }
    std::optional<Document> kept;
    QStringList messages;
};

QString heading(const QString &title, const util::Period &period)
{
    return QStringLiteral("%1 %2").arg(title, period.text());
}

Sheet paySheet(storage::DataModule &data)
{
    const util::Period period = data.period();
    Sheet s;
    s.title = heading(QStringLiteral("Ведомост"), period);
    s.addColumn(QStringLiteral("Звено"), Kind::Integer);
    s.addColumn(QStringLiteral("Номер"), Kind::Integer);
    s.addColumn(QStringLiteral("Име"));
    s.addColumn(amountHeading(QStringLiteral("Начислено"), period), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("Удръжки"), period), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("За получаване"), period), Kind::Amount);
    for (const int unit : sheetUnits(data))
        for (const PaySheetRow &r : paySheetRows(data, unit))
            s.rows.push_back({unit, r.number, r.name, r.earnings, r.deductions, r.toPay});
    return s;
}

Sheet recapSheet(storage::DataModule &data, std::optional<int> unit)
{
    const util::Period period = data.period();
    std::map<int, QString> names;
    for (const items::Definition &d : items::loadDefinitions(data))
        names[d.code] = d.name.trimmed();
    Sheet s;
    s.title = heading(QStringLiteral("Рекапитулация"), period);
    s.addColumn(QStringLiteral("Код"), Kind::Integer);
    s.addColumn(QStringLiteral("Перо"));
    s.addColumn(QStringLiteral("Тип"), Kind::Integer);
    s.addColumn(QStringLiteral("Брой"), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("Сума"), period), Kind::Amount);
    for (const RecapItem &i : recapItems(data, unit))
        s.rows.push_back({i.code, names.count(i.code) ? names[i.code] : QString(), i.type, i.count, i.sum});
    return s;
}

Sheet itemListSheet(storage::DataModule &data, int code)
{
    const util::Period period = data.period();
    const ItemList list = itemList(data, code);
    const std::vector<MiddleColumn> middle = middleColumns(list.type);
    Sheet s;
    s.title = heading(QStringLiteral("Перо %1").arg(code), period);
    s.addColumn(QStringLiteral("Номер"), Kind::Integer);
    s.addColumn(QStringLiteral("Име"));
    for (const MiddleColumn &m : middle)
        s.addColumn(m.heading, m.number ? Kind::Amount : Kind::Text);
    s.addColumn(amountHeading(QStringLiteral("Сума"), period), Kind::Amount);
    for (const ItemListRow &r : list.rows) {
        QVariantList row{r.number, r.name};
        for (size_t i = 0; i < middle.size(); ++i) {
            const QString text = r.middle.value(static_cast<qsizetype>(i)).trimmed();
            if (!middle[i].number) {
                row << text;
                continue;
            }
            bool ok = false;
            const double value = QString(text).remove(QLatin1Char(' ')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            row << (ok ? QVariant(value) : QVariant(text));
        }
        row << r.amount;
        s.rows.push_back(row);
    }
    return s;
}

Sheet annualTaxSheet(storage::DataModule &data, int year)
{
    const util::Period period = data.period();
    Sheet s;
    s.title = heading(QStringLiteral("Годишен ДОД %1").arg(year), period);
    s.addColumn(QStringLiteral("Номер"), Kind::Integer);
    s.addColumn(QStringLiteral("Име"));
    s.addColumn(amountHeading(QStringLiteral("Облагаем доход"), period), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("Удържан данък"), period), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("Облекчения"), period), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("Преизчислен данък"), period), Kind::Amount);
    s.addColumn(amountHeading(QStringLiteral("Разлика"), period), Kind::Amount);
    for (const calc::AnnualTaxRow &r : calc::annualTaxRows(data, year)) {
        bool ok = false;
        const int number = r.number.toInt(&ok);
        s.rows.push_back({ok ? QVariant(number) : QVariant(), r.name, r.taxable, r.withheld, r.relief, r.recomputed,
                          r.difference});
    }
    return s;
}

Sheet paymentListSheet(storage::DataModule &data, const ReportRequest &request)
{
    const std::vector<PaymentOrder> orders = paymentOrders(data, request);
    const util::Period paidIn = orders.empty() ? data.period() : orders.front().paidIn;
    Sheet s;
    s.title = heading(QStringLiteral("Платежни"), data.period());
    s.addColumn(QStringLiteral("IBAN"));
    s.addColumn(QStringLiteral("Вид плащане"));
    s.addColumn(QStringLiteral("BIC"));
    s.addColumn(QStringLiteral("Основание за плащане"));
    s.addColumn(QStringLiteral("Име на банката"));
    s.addColumn(amountHeading(QStringLiteral("Сума"), paidIn), Kind::Amount);
    for (const PaymentOrder &o : orders)
        s.rows.push_back({o.payeeIban, o.paymentType, o.payeeBic, (o.basis + QLatin1Char(' ') + o.explanations).trimmed(),
                          o.payeeBank, o.amount});
    return s;
}

void recalculateEveryone(storage::DataModule &data)
{
    ReportHost quiet;
    recalculateForReport(data, quiet);
    data.commitRetaining();
}

} // namespace

std::vector<operations::Payment> payFilePayments(storage::DataModule &data, bool advance, QString *refusal)
{
    std::vector<operations::Payment> payments;
    int item = 0;
    if (advance) {
        const std::vector<AdvanceItem> items = advanceItems(data);
        if (items.empty()) {
            if (refusal)
                *refusal = QStringLiteral("Няма перо за аванс (тип 142).");
            return payments;
        }
        item = items.front().code;
    }
    recalculateEveryone(data);
    for (const int unit : sheetUnits(data)) {
        if (advance) {
            for (const AdvanceSheetRow &r : advanceSheetRows(data, unit, item, 0))
                payments.push_back({r.number, r.name, r.amount});
        } else {
            for (const PaySheetRow &r : paySheetRows(data, unit))
                payments.push_back({r.number, r.name, r.toPay});
        }
    }
    return payments;
}

QByteArray payslipPdf(storage::DataModule &data, int employeeId, QString *error)
{
    ReportRequest request;
    request.kind = ReportKind::Payslip1;
    request.employeeId = employeeId;
    KeepingHost host;
    const RunResult result = startReport(data, host, request);
    if (result.outcome != RunOutcome::Done || !host.kept) {
        if (error)
            *error = !result.rowErrors.isEmpty() ? result.rowErrors.join(u' ')
                     : host.messages.isEmpty()   ? QStringLiteral("фишът не е направен")
                                                 : host.messages.join(u' ');
        return {};
    }
    if (!result.rowErrors.isEmpty()) {
        if (error)
            *error = result.rowErrors.join(u' ');
        return {};
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fish.pdf"));
    QString why;
    if (!dir.isValid() || !writePdf(*host.kept, path, &why)) {
        if (error)
            *error = why.isEmpty() ? QStringLiteral("временният файл не може да бъде записан") : why;
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return file.readAll();
}

bool isExportKind(const QString &name)
{
    return name == u"sheet" || name == u"recap" || name == u"item-list" || name == u"annual-tax" || name == u"payment-list";
}

std::optional<operations::Sheet> documentSheet(storage::DataModule &data, ReportKind kind, const ReportRequest &request,
                                               QString *refusal)
{
    auto refuse = [&](const QString &why) {
        if (refusal)
            *refusal = why;
        return std::nullopt;
    };
    switch (kind) {
    case ReportKind::Sheet:
        recalculateEveryone(data);
        return paySheet(data);
    case ReportKind::Recapitulation:
        recalculateEveryone(data);
        return recapSheet(data, request.recapType == RecapType::Unit ? std::optional<int>(request.unitCode) : std::nullopt);
    case ReportKind::ItemList: {
        bool known = false;
        for (const items::Definition &d : items::loadDefinitions(data))
            known = known || (d.code == request.itemCode && d.type != 100 && d.type != 200 && d.type != 201);
        if (!known)
            return refuse(request.itemCode == 0 ? QStringLiteral("item-list иска --item КОД.")
                                                : QStringLiteral("Няма перо с код %1.").arg(request.itemCode));
        recalculateEveryone(data);
        return itemListSheet(data, request.itemCode);
    }
    case ReportKind::AnnualTax: {
        const auto year = calc::annualTaxYear(data.period());
        if (!year)
            return refuse(QStringLiteral("Годишният ДОД се преизчислява само през януари и декември."));
        recalculateEveryone(data);
        return annualTaxSheet(data, *year);
    }
    case ReportKind::PaymentList:
    case ReportKind::AdvancePaymentList: {
        ReportRequest orders = request;
        orders.advance = kind == ReportKind::AdvancePaymentList;
        orders.newCodes = newPaymentForm(data.period());
        if (orders.advance && orders.itemCode == 0)
            return refuse(QStringLiteral("--advance иска и --item КОД."));
        recalculateEveryone(data);
        return paymentListSheet(data, orders);
    }
    default:
        return refuse(QStringLiteral("Документът не е таблица."));
    }
}

} // namespace plavex::reports
