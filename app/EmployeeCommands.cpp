#include "app/EmployeeCommands.h"

#include "app/EmployeePanelWidget.h"
#include "app/EmployeeWindow.h"
#include "app/MainMenus.h"
#include "app/MainWindow.h"
#include "app/NewEmployeeDialog.h"
#include "app/TableModel.h"
#include "employees/Employees.h"
#include "items/Items.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

namespace plavex::app {

EmployeeCommands::EmployeeCommands(MainWindow &window, storage::DataModule &data, util::Prompter &prompter)
    : QObject(&window), window_(window), data_(data), prompter_(prompter)
{
}

void EmployeeCommands::connectEntries(MainMenus &menus)
{
    menus.connect(Command::DeleteEmployee, this, &EmployeeCommands::deleteEmployee);
    menus.connect(Command::FindEmployee, this, &EmployeeCommands::openEmployeeWindow);
    menus.connect(Command::AddStandardItems, this, &EmployeeCommands::addStandardItems);
}

void EmployeeCommands::newEmployee()
{
    if (!data_.isConnected())
        return;
    NewEmployeeDialog dialog(data_, prompter_, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        // A still-pending newcomer is kept as he is; the new one becomes pending.
        const int id = window_.employeePanel().create(dialog.entry(), prompter_);
        if (id == 0)
            return;
        window_.employeeModel()->setOrder(QStringLiteral("PERSON_ID"));
        window_.employeeList()->horizontalHeader()->setSortIndicatorShown(false);
        window_.reloadList(id);
        window_.showTitle();
        window_.tabs()->setCurrentWidget(window_.panel());
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
    }
}

void EmployeeCommands::saveEmployee()
{
    const int id = window_.currentEmployee();
    if (id == 0)
        return;
    // A field still being typed in is posted before the check.
    if (QWidget *focus = QApplication::focusWidget())
        focus->clearFocus();
    QApplication::processEvents();
    const QString problem = window_.employeePanel().save(id);
    if (!problem.isEmpty()) {
        prompter_.message(problem);
        return;
    }
    window_.refreshSelection();
}

void EmployeeCommands::cancelEmployee()
{
    employees::EmployeePanel &panel = window_.employeePanel();
    if (!panel.pending())
        return;
    try {
        panel.cancel();
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    window_.reloadList(0);
    window_.showTitle();
}

void EmployeeCommands::deleteEmployee()
{
    const int id = window_.currentEmployee();
    if (id == 0)
        return;
    try {
        if (!window_.employeePanel().remove(id, prompter_))
            return;
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    window_.reloadList(0);
    window_.showTitle();
}

void EmployeeCommands::quickSearch()
{
    if (window_.employeePanel().pending())
        return;
    QLineEdit *number = window_.searchNumber();
    QLineEdit *name = window_.searchName();
    bool byNumber = false;
    if (number->hasFocus())
        byNumber = true;
    else if (name->hasFocus())
        byNumber = false;
    else if (!number->text().trimmed().isEmpty())
        byNumber = true;
    else if (name->text().trimmed().isEmpty())
        return;
    const employees::SearchResult found = byNumber ? employees::quickSearchByNumber(data_, number->text())
                                                   : employees::quickSearchByName(data_, name->text());
    if (!found.message.isEmpty()) {
        prompter_.message(found.message);
        return;
    }
    // Locating with the calculation off, then one refresh with it.
    if (found.id)
        window_.selectEmployee(*found.id);
}

void EmployeeCommands::openEmployeeWindow()
{
    if (!data_.isConnected())
        return;
    EmployeeWindow window(data_, prompter_, &window_);
    if (window.exec() != QDialog::Accepted)
        return;
    window_.employeeModel()->setOrder(QStringLiteral("PERSON_ID"));
    window_.employeeList()->horizontalHeader()->setSortIndicatorShown(false);
    window_.reloadList(window.selectedId());
}

void EmployeeCommands::addStandardItems()
{
    const int id = window_.currentEmployee();
    if (id == 0)
        return;
    try {
        items::addStandardItems(data_, id);
        data_.commitRetaining();
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    window_.refreshSelection();
}

} // namespace plavex::app
