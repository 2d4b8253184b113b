#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// "Нова дата": the month and year the program switches to.
class NewDateDialog : public QDialog {
    Q_OBJECT
public:
    NewDateDialog(int year, int month, util::Prompter &prompter, QWidget *parent = nullptr);

    int year() const;
    int month() const; // 1..12

    QComboBox *monthBox() const { return month_; }
    QSpinBox *yearBox() const { return year_; }
    QLineEdit *yearEdit() const;
    QPushButton *okButton() const { return ok_; }

private:
    void tryAccept();

    util::Prompter &prompter_;
    QComboBox *month_;
    QSpinBox *year_;
    QPushButton *ok_;
};

} // namespace plavex::app
