#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// fPersons: every employee of the month by unit, number and name, with a
// search by number and/or name prefix and "Само активните". "OK" or a
// double click returns the selected employee's id.
class EmployeeWindow : public QDialog {
    Q_OBJECT
public:
    EmployeeWindow(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    int selectedId() const;
    QLineEdit *numberBox() const { return number_; }
    QLineEdit *nameBox() const { return name_; }
    QCheckBox *activeOnly() const { return activeOnly_; }
    QTableView *view() const { return view_; }
    void search();

private:
    storage::DataModule &data_;
    util::Prompter &prompter_;
    TableModel *model_;
    QSortFilterProxyModel *proxy_;
    QTableView *view_;
    QLineEdit *number_;
    QLineEdit *name_;
    QCheckBox *activeOnly_;
};

} // namespace plavex::app
