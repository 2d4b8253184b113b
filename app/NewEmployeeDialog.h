#pragma once

#include "employees/Employees.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// "Нов служител": number, name and ЕГН of a newcomer. The number and the
// ЕГН are checked as the user leaves them (not towards "Отказ"); "ОК"
// needs all three and checks them again.
class NewEmployeeDialog : public QDialog {
    Q_OBJECT
public:
    NewEmployeeDialog(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    employees::NewEmployee entry() const;
    QLineEdit *numberEdit() const { return number_; }
    QLineEdit *nameEdit() const { return name_; }
    QLineEdit *egnEdit() const { return egn_; }
    QPushButton *okButton() const { return ok_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tryAccept();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    QLineEdit *number_;
    QLineEdit *name_;
    QLineEdit *egn_;
    QPushButton *ok_;
    QPushButton *cancel_;
    int okRuns_ = 0; // "OK" checks so far, so that a leave check scheduled before one is dropped
};

} // namespace plavex::app
