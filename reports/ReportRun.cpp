#include "reports/ReportRun.h"

#include "reports/ItemList.h"
#include "reports/NomenclatureLists.h"
#include "reports/PaymentOrders.h"
#include "reports/Payslips.h"
#include "reports/Recapitulation.h"
#include "reports/Sheets.h"
#include "reports/SickSlip.h"
#include "reports/TaxCertificates.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "calc/YearSums.h"

namespace plavex::reports {

namespace {

// Produces the kind's document: setup, pages with status, output.
RunOutcome produce(storage::DataModule &data, ReportHost &host, const ReportRequest &request, RunResult &result)
{
    if (!kindBuilt(request.kind)) {
        result.message = notBuiltMessage(request.kind);
        host.message(result.message);
        return RunOutcome::NotBuilt;
    }
    const bool payslip = request.kind == ReportKind::Payslip1 || request.kind == ReportKind::Payslip2;
    const bool certificate = request.kind == ReportKind::TaxCertificate;
    const bool annualTax = request.kind == ReportKind::AnnualTax;
    using K = ReportKind;
    const K kind = request.kind;
    const bool orders = kind == K::PaymentOrders || kind == K::AdvancePaymentOrders;
    const bool orderList = kind == K::PaymentList || kind == K::AdvancePaymentList;
    Document document;
    document.setup = payslip       ? payslipPageSetup()
                     : certificate ? certificatePageSetup()
                     : orders      ? paymentOrdersPageSetup()
                     : orderList   ? paymentListPageSetup()
                     : kind == K::SickSlip ? sickSlipPageSetup()
                     : kind == K::Recapitulation ? recapPageSetup()
                     : kind == K::Sheet || kind == K::AdvanceSheet ? sheetPageSetup()
                                           : listPageSetup();
    if (!host.setupOutput(document))
        return RunOutcome::Aborted;
    try {
        if (payslip)
            document = buildPayslips(data, request, host, &result.rowErrors);
        else if (certificate)
            document = buildTaxCertificates(data, request, host);
        else if (annualTax)
            document = buildAnnualTax(data, request.year, host);
        else if (request.kind == ReportKind::Sheet)
            document = buildPaySheet(data, request, host);
        else if (request.kind == ReportKind::AdvanceSheet)
            document = buildAdvanceSheet(data, request, host);
        else if (kind == K::Recapitulation) {
            std::optional<Document> made = buildRecapitulation(data, request, host);
            if (!made) {
                result.message = noRecapItemsMessage();
                host.message(result.message);
                return RunOutcome::Cancelled;
            }
            document = std::move(*made);
        }
        else if (orders)
            document = buildPaymentOrders(data, request, host);
        else if (orderList)
            document = buildPaymentList(data, request, host);
        else if (kind == K::ItemList)
            document = buildItemList(data, request, host, &result.rowErrors);
        else if (kind == K::SickSlip) {
            if (!hasSickLeave(data)) {
                result.message = noSickLeaveMessage(data.period());
                host.message(result.message);
                return RunOutcome::Cancelled;
            }
            document = buildSickSlips(data, host, &result.rowErrors);
        }
        else
            document = buildNomenclatureList(data, request.kind, host);
    } catch (const RunAborted &) {
        return RunOutcome::Aborted;
    }
    host.output(document);
    return RunOutcome::Done;
}

} // namespace

RunResult startReport(storage::DataModule &data, ReportHost &host, ReportRequest request)
{
    using K = ReportKind;
    RunResult result;
    RunGuard guard(host);
    const K kind = request.kind;
    if (kind != K::Payslip1 && kind != K::Payslip2 && kind != K::TaxCertificate)
        request.employeeId = 0;
    const util::Period &period = data.period();
    const bool newCodes = newPaymentForm(period);
    auto run = [&] { result.outcome = produce(data, host, request, result); };
    // Without an advance item (none of type 142 defined) there is nothing to print.
    auto advanceChosen = [&] {
        const QString why = checkAdvanceItem(request.itemText);
        if (why.isEmpty()) {
            request.itemCode = request.itemText.trimmed().toInt();
            return true;
        }
        result.message = why;
        host.message(why);
        return false;
    };

    switch (kind) {
    case K::Payslip1:
    case K::Payslip2:
        if (request.employeeId != 0) {
            fb::Statement q(data.transaction(), QStringLiteral("SELECT PERSON_ID,PERSON_NOMER FROM %1 WHERE PERSON_ID=? "
                                                               "ORDER BY PERSON_NOMER")
                                                    .arg(data.table(u"PERSONS")));
            q.bind(0, request.employeeId);
            q.execute();
            const int number = q.next() ? static_cast<int>(q.toInt(1)) : 0;
            request.fromNumber = request.toNumber = number;
        } else {
            request.newPagePerSlip = false;
            if (!host.askRange(request))
                return result;
        }
        run();
        break;
    case K::Recapitulation:
        if (!host.askRecapType(request))
            return result;
        if (request.recapType != RecapType::General && request.recapType != RecapType::Unit) {
            result.message = QStringLiteral("Не е направена.");
            host.message(result.message);
            return result;
        }
        run();
        break;
    case K::AdvanceSheet:
        if (!host.askAdvance(request) || !advanceChosen())
            return result;
        run();
        break;
    case K::ItemList:
        request.itemCode = 0;
        if (!host.askItem(request) || request.itemText.trimmed().isEmpty())
            return result;
        run();
        break;
    case K::TaxCertificate:
        if (!host.askCertificate(request))
            return result;
        run();
        break;
    case K::AnnualTax: {
        // Outside January and December there is nothing to recompute.
        const auto year = calc::annualTaxYear(period);
        if (!year)
            return result;
        request.year = *year;
        run();
        break;
    }
    case K::PaymentOrders:
    case K::PaymentList:
        request.advance = false;
        request.newCodes = newCodes;
        if (kind == K::PaymentList)
            host.setPrinterOrientation(Orientation::Landscape);
        run();
        break;
    case K::AdvancePaymentOrders:
    case K::AdvancePaymentList:
        if (!host.askAdvance(request) || !advanceChosen())
            return result;
        request.advance = true;
        request.newCodes = newCodes;
        if (kind == K::AdvancePaymentList)
            host.setPrinterOrientation(Orientation::Landscape);
        run();
        break;
    default:
        run();
        break;
    }
    return result;
}

} // namespace plavex::reports
