#pragma once

#include "reports/ReportKind.h"

#include <optional>

namespace plavex::app {

// Every command of the main window's menus, toolbar and list popup. An
// entry is made for its command and wired by it, never found again by its
// caption: a caption can be retyped without the command going dead. One
// command may stand in two menus and on the toolbar.
enum class Command {
    // File
    CloseMonth,
    ChangeDatabase,
    Save,
    SaveAs,
    Exit,
    // The menu bar's own entries and the list popup's "Търсене"
    FindEmployee,
    Recapitulation,
    // Ведомости
    NegativeNets,
    Payslip1,
    Payslip2,
    Sheet,
    AdvanceSheet,
    ItemList,
    TaxCertificate,
    AdvancePaymentOrders,
    PaymentOrders,
    SickSlip,
    AdvancePaymentList,
    PaymentList,
    PayFile,
    MailPayslips,
    // Параметри
    Company,
    Calendars,
    ItemDefinitions,
    TaxTable,
    Towns,
    Positions,
    Units,
    Activities,
    MinimumIncomeTable,
    Rates,
    // Изход за НОИ
    Declaration1,
    Declaration1Stored,
    Declaration1Correction,
    Declaration6,
    // Служебни настройки
    Users,
    ChangeMonth,
    ImportLegacy,
    Backup,
    Restore,
    Calculator,
    RefreshMinimumIncome,
    ChangePercent,
    Autocalc,
    DeleteCodeFromAll,
    AddItemToAll,
    CorrectPercents,
    AnnualTax,
    ReplaceNomenclatures,
    MailSettings,
    // Help
    About,
    Help,
    // The toolbar and the list popup
    Cut,
    Copy,
    Paste,
    DeleteEmployee,
    AddStandardItems,
    ExportList,

    Count // not a command: how many there are
};

// The document a report command starts; none for the other commands.
std::optional<reports::ReportKind> reportKind(Command command);

} // namespace plavex::app
