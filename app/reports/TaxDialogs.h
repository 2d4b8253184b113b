#pragma once

#include "reports/Selections.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace plavex::util {
class Prompter;
}
namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

// TfSlBelType, "Избор на вид служебна бележка": the employee, annual or on
// dismissal, the year or the dismissal date.
class CertificateKindDialog : public QDialog {
    Q_OBJECT
public:
    struct Employee {
        int id = 0;
        int number = 0;
        QString name;
    };
    using Search = std::function<std::optional<int>()>; // the number found
    CertificateKindDialog(const std::vector<Employee> &employees, int currentId, const std::vector<int> &years,
                          util::Prompter &prompter, Search search = {}, storage::IniFile *placement = nullptr,
                          QWidget *parent = nullptr);
    int kind() const; // -1 none
    int employeeId() const;
    int year() const;
    QDate date() const;
    void accept() override;

    QButtonGroup *kinds() const { return kinds_; }
    QLineEdit *numberEdit() const { return number_; }
    QLineEdit *dateEdit() const { return date_; }
    QComboBox *yearList() const { return years_; }

private:
    std::vector<Employee> employees_;
    util::Prompter &prompter_;
    QLineEdit *number_;
    QComboBox *list_;
    QButtonGroup *kinds_;
    QComboBox *years_;
    QLineEdit *date_;
};

} // namespace plavex::app
