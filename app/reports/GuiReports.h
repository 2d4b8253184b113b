#pragma once

#include "reports/OutputOptions.h"
#include "reports/ReportKind.h"
#include "reports/engine/Document.h"

#include <QString>

#include <functional>

class QWidget;

namespace plavex::storage {
class DataModule;
}
namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// What the run protocol keeps of the main window: its selected employee
// and its refresh on scroll. The main window fills these in once.
struct MainWindowHooks {
    std::function<int()> currentEmployee;
    std::function<void(int)> selectEmployee;
    std::function<void(bool)> setRefresh;
};
void setMainWindowHooks(MainWindowHooks hooks);

// startreport from a menu entry or a button: the kind's dialog, the output
// setup, the pages with the status window, then preview, printer or file.
void startReport(QWidget *parent, storage::DataModule &data, util::Prompter &prompter, reports::ReportKind kind,
                 int employeeId = 0);

// The name of the installed default printer; empty when there is none.
QString installedPrinter();
// Prints the pages the options name, as many copies as they ask.
void printDocument(const reports::Document &document, const reports::OutputOptions &options);

} // namespace plavex::app
