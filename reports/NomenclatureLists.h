#pragma once

#include "reports/ReportKind.h"
#include "reports/engine/Document.h"
#include "reports/engine/TablePrinter.h"

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;

// The four lists of the nomenclature windows (item definitions, positions,
// units, categories): a title centred at the top of every page, a boxed
// table of the period's rows in code order, the page number at the foot.
PageSetup listPageSetup();
QString listTitle(ReportKind kind, const QString &companyName);
std::vector<TableColumn> listColumns(ReportKind kind);
TableData listRows(storage::DataModule &data, ReportKind kind);

// The whole document; the host gets the status of every page and may
// cancel (RunAborted).
Document printNomenclatureList(ReportKind kind, const QString &title, const TableData &rows, ReportHost &host,
                               const QMarginsF &printerMargins = {});
Document buildNomenclatureList(storage::DataModule &data, ReportKind kind, ReportHost &host);

} // namespace plavex::reports
