#pragma once

#include <QObject>
#include <QPointer>

namespace plavex::storage {
class DataModule;
class Settings;
class UsersDatabase;
}

namespace plavex::app {

class CalculatorWindow;
class MainWindow;
class NegativeNetsWindow;

// The month, database, user and bulk-item commands of the main menu, wired
// to their entries by command. Each one asks what it needs, calls the core
// and brings the window up to date; it owns no rule of its own.
class MenuCommands : public QObject {
    Q_OBJECT
public:
    MenuCommands(MainWindow &window, storage::Settings &settings, storage::DataModule &data);

    void setUsersDatabase(storage::UsersDatabase *users) { users_ = users; }

    void closeMonth();
    void changeMonth();
    void changeDatabase();
    void users();
    // "Save": what is typed but not yet posted is posted, and committed.
    void save();
    // "Save As...": a backup copy into a file the user names.
    void saveAs();
    void backup();
    void restore();
    void setAutocalc(bool on);
    void itemDefinitions();
    void deleteCodeFromAll();
    void addItemToAll();
    void changePercent();
    void correctPercents();
    void negativeNets();
    void replaceNomenclatures();
    void calculator();
    void company();
    void calendars();
    void activities();
    void taxTable();
    void towns();
    void positions();
    void units();
    void minimumIncomeTable();
    void rates();
    void refreshMinimumIncome();
    void importLegacy();
    void payFile();
    void mailPayslips();
    void mailSettings();

private:
    void afterBulkChange(int keepId);
    bool writePending();
    void backupToChosenFile();
    bool connected();
    void nomenclature(int kind);

    MainWindow &window_;
    storage::Settings &settings_;
    storage::DataModule &data_;
    storage::UsersDatabase *users_ = nullptr;
    QPointer<NegativeNetsWindow> negatives_;
    QPointer<CalculatorWindow> calculator_;
    QString importFolder_; // the folder of the last legacy file picked, for this run
};

} // namespace plavex::app
