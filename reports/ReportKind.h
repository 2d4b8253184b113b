#pragma once

#include <QString>

#include <optional>
#include <span>

namespace plavex::reports {

// The report kinds of the dispatcher; the numbers are the ones every menu
// entry and button passes.
enum class ReportKind : int {
    Payslip1 = 0,
    Payslip2 = 1,
    Recapitulation = 2,
    Sheet = 3,
    AdvanceSheet = 4,
    ItemList = 5,
    TaxCertificate = 6,
    PaymentOrders = 7,
    AdvancePaymentOrders = 8,
    PaymentList = 9,
    AdvancePaymentList = 10,
    DefinitionList = 11,
    PositionList = 12,
    UnitList = 13,
    CategoryList = 14,
    SickSlip = 15,
    AnnualTax = 16,
};

// The recapitulation's types, in the order its dialog lists them; only
// General and Unit are made. None: nothing chosen yet.
enum class RecapType : int {
    None = 0,
    Full = 1,
    General = 2,
    Unit = 3,
    Group = 4,
    FundRate = 5,
    Topics = 6,
    ForPeriod = 7,
};

struct KindInfo {
    ReportKind kind;
    const char *cliName; // as plavex-cli report names it
    const char *caption; // the menu entry or button that starts it (UTF-8)
};
std::span<const KindInfo> reportKinds();
std::optional<ReportKind> kindFromNumber(int number);
const KindInfo &kindInfo(ReportKind kind);

// Whether this build produces the kind's document; the others stay
// disabled in the menus and refused by the command line.
bool kindBuilt(ReportKind kind);
QString notBuiltMessage(ReportKind kind);

} // namespace plavex::reports
