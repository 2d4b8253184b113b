#include "app/Command.h"

namespace plavex::app {

std::optional<reports::ReportKind> reportKind(Command command)
{
    using K = reports::ReportKind;
    switch (command) {
    case Command::Payslip1: return K::Payslip1;
    case Command::Payslip2: return K::Payslip2;
    case Command::Sheet: return K::Sheet;
    case Command::AdvanceSheet: return K::AdvanceSheet;
    case Command::ItemList: return K::ItemList;
    case Command::TaxCertificate: return K::TaxCertificate;
    case Command::AdvancePaymentOrders: return K::AdvancePaymentOrders;
    case Command::PaymentOrders: return K::PaymentOrders;
    case Command::SickSlip: return K::SickSlip;
    case Command::AdvancePaymentList: return K::AdvancePaymentList;
    case Command::PaymentList: return K::PaymentList;
    case Command::Recapitulation: return K::Recapitulation;
    case Command::AnnualTax: return K::AnnualTax;
    default: return std::nullopt;
    }
}

} // namespace plavex::app
