#pragma once

#include <QObject>

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class MainWindow;
class MainMenus;

// The employee commands of the main window's left panel, toolbar and list
// popup: new, save, cancel, delete, search, and the standard items. Each
// calls the core and brings the list up to date; it owns no rule of its own.
class EmployeeCommands : public QObject {
    Q_OBJECT
public:
    EmployeeCommands(MainWindow &window, storage::DataModule &data, util::Prompter &prompter);

    // The entries of the toolbar and the list popup.
    void connectEntries(MainMenus &menus);

    void newEmployee();
    void saveEmployee();
    void cancelEmployee();
    void deleteEmployee();
    void quickSearch();
    void openEmployeeWindow();
    void addStandardItems();

private:
    MainWindow &window_;
    storage::DataModule &data_;
    util::Prompter &prompter_;
};

} // namespace plavex::app
