#pragma once

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "employees/Employees.h"
#include "items/Items.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTableView;

namespace plavex::storage {
class DataModule;
class Settings;
class UsersDatabase;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class CalendarGrid;
class ClosedMonthGuard;
class EarlierMonthsPage;
class EmployeeCommands;
class EmployeePanelWidget;
class ItemsPage;
class MainMenus;
class MenuCommands;
class TableModel;

// TSDIAppForm: the program's frame. It opens the company database of the
// settings file, makes the stored period current, and shows the employee
// list, the calendar and the three tabs of the selected employee. Every
// command calls the core; the window only shows what comes back.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(storage::Settings &settings, storage::DataModule &data, QWidget *parent = nullptr);
    ~MainWindow() override;

    void showTitle();
    // Makes an employee the selected one and runs the selection refresh.
    void selectEmployee(int id);
    int currentEmployee() const;
    void refreshSelection();
    // Reads the employee list again and selects the employee (the first when gone).
    void reloadList(int keepId) { loadList(keepId); }
    calc::Parameters &parameters() { return params_; }
    MenuCommands *commands() const { return commands_; }
    // Every entry of the menus, the toolbar and the list popup, by its command.
    MainMenus &menus() const { return *menus_; }
    void setUsersDatabase(storage::UsersDatabase *users);

    // The commands of the left panel and the toolbar.
    void newEmployee();
    void saveEmployee();
    void cancelEmployee();
    void deleteEmployee();
    void quickSearch();
    void openEmployeeWindow();

    // Parts of the window tests and the screenshot tool look at.
    QTableView *employeeList() const { return listView_; }
    TableModel *employeeModel() const { return list_; }
    EmployeePanelWidget *panel() const { return panel_; }
    ItemsPage *itemsPage() const { return items_; }
    EarlierMonthsPage *earlierMonths() const { return earlier_; }
    CalendarGrid *calendar() const { return calendar_; }
    QTabWidget *tabs() const { return tabs_; }
    QLineEdit *searchNumber() const { return searchNumber_; }
    QLineEdit *searchName() const { return searchName_; }
    QAction *deleteAction() const;
    QLabel *fileLabel() const { return fileLabel_; }
    employees::EmployeePanel &employeePanel() { return employeePanel_; }
    const calc::Calculation &lastCalculation() const { return last_; }
    // The current month was closed into the next one: its changes are not carried forward.
    bool monthClosed() const;
    QLabel *monthStatus() const { return monthStatus_; }
    // Before the first change in a closed month the user is asked once; false when he declines.
    bool mayChangeMonth();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void connectCommands();
    void buildPanels();
    void startUp();
    void loadList(int keepId);
    void refreshPeriodView();
    void periodChanged();
    void recalculate(int id);
    void afterItemCommand();
    void panelPosted(const QString &column);
    void saveSettings();
    QString headerText() const;

    storage::Settings &settings_;
    storage::DataModule &data_;
    util::Prompter &prompter_;
    calc::Parameters params_;
    employees::EmployeePanel employeePanel_;
    items::ItemEntry itemEntry_;
    calc::Calculation last_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    bool scrollProcessing_ = true;
    bool saved_ = false;

    TableModel *list_ = nullptr;
    QTableView *listView_ = nullptr;
    QLineEdit *searchNumber_ = nullptr;
    QLineEdit *searchName_ = nullptr;
    QPushButton *newButton_ = nullptr;
    QPushButton *saveButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QLabel *calendarCaption_ = nullptr;
    CalendarGrid *calendar_ = nullptr;
    QSplitter *splitter_ = nullptr;
    QTabWidget *tabs_ = nullptr;
    EmployeePanelWidget *panel_ = nullptr;
    ItemsPage *items_ = nullptr;
    EarlierMonthsPage *earlier_ = nullptr;
    QLabel *fileLabel_ = nullptr;
    QLabel *monthStatus_ = nullptr;
    ClosedMonthGuard *guard_ = nullptr;
    std::unique_ptr<MainMenus> menus_;
    EmployeeCommands *employees_ = nullptr;
    MenuCommands *commands_ = nullptr;
};

} // namespace plavex::app
