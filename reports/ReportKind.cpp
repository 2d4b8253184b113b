#include "reports/ReportKind.h"

#include <array>

namespace plavex::reports {

namespace {
using K = ReportKind;
constexpr std::array<KindInfo, 17> kKinds = {{
    {K::Payslip1, "payslip1", "Фиш тип 1"},
    {K::Payslip2, "payslip2", "Фиш тип 2"},
    {K::Recapitulation, "recap", "Рекапитулации"},
    {K::Sheet, "sheet", "Ведомост по звена"},
    {K::AdvanceSheet, "advance-sheet", "Ведомост аванс"},
    {K::ItemList, "item-list", "Списък по перо"},
    {K::TaxCertificate, "tax-certificate", "Служебна бележка за ДОД"},
    {K::PaymentOrders, "payment-orders", "Платежно нареждане - бюджет"},
    {K::AdvancePaymentOrders, "payment-orders", "Платежно нареждане - бюджет за аванс"},
    {K::PaymentList, "payment-list", "Списък на суми по платежни нареждания  "},
    {K::AdvancePaymentList, "payment-list", "Списък на суми по платежни нареждания  - аванс"},
    {K::DefinitionList, "definitions", "Печат"},
    {K::PositionList, "positions", "Печат"},
    {K::UnitList, "units", "Печат"},
    {K::CategoryList, "categories", "Печат"},
    {K::SickSlip, "sick-slip", "Фиш за болнични"},
    {K::AnnualTax, "annual-tax", "Годишен ДОД"},
}};
} // namespace

std::span<const KindInfo> reportKinds() { return kKinds; }

std::optional<ReportKind> kindFromNumber(int number)
{
    if (number < 0 || number >= static_cast<int>(kKinds.size()))
        return std::nullopt;
    return static_cast<ReportKind>(number);
}

const KindInfo &kindInfo(ReportKind kind) { return kKinds[static_cast<size_t>(kind)]; }

bool kindBuilt(ReportKind kind)
{
    switch (kind) {
    case K::Payslip1:
    case K::Payslip2:
    case K::DefinitionList:
    case K::PositionList:
    case K::UnitList:
    case K::CategoryList:
    case K::TaxCertificate:
    case K::AnnualTax:
    case K::ItemList:
    case K::PaymentOrders:
    case K::AdvancePaymentOrders:
    case K::PaymentList:
    case K::AdvancePaymentList:
    case K::SickSlip:
    case K::Sheet:
    case K::AdvanceSheet:
    case K::Recapitulation:
        return true;
    default:
        return false;
    }
}

QString notBuiltMessage(ReportKind kind)
{
    return QStringLiteral("Документът \"%1\" още не е включен в тази версия на програмата.")
        .arg(QString::fromUtf8(kindInfo(kind).caption).trimmed());
}

} // namespace plavex::reports
