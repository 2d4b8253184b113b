#pragma once

#include <QDialog>

class QLineEdit;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// TfEditCalendar, "Редакция на календар": the name of one calendar and the
// way to its working days; "ОК" stores the name.
class EditCalendarDialog : public QDialog {
    Q_OBJECT
public:
    EditCalendarDialog(storage::DataModule &data, util::Prompter &prompter, int code, QWidget *parent = nullptr);

    QLineEdit *nameEdit() const { return name_; }
    QLineEdit *daysEdit() const { return days_; }
    void editWorkingDays();

private:
    void store();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    int code_;
    int month_ = 0;
    int year_ = 0;
    QLineEdit *name_;
    QLineEdit *days_;
};

} // namespace plavex::app
