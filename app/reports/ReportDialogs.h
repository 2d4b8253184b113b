#pragma once

#include "reports/Selections.h"

#include <QDialog>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace plavex::util {
class Prompter;
}
namespace plavex::storage {
class IniFile;
}

namespace plavex::app {

// TfOtDoNomer: the range of employee numbers of the payslips.
class RangeDialog : public QDialog {
    Q_OBJECT
public:
    // search: the employee search, giving the number found (nothing when closed).
    using Search = std::function<std::optional<int>()>;
    RangeDialog(const std::vector<reports::NumberedName> &employees, util::Prompter &prompter, Search search = {},
                storage::IniFile *placement = nullptr, QWidget *parent = nullptr);
    int from() const;
    int to() const;
    bool newPagePerSlip() const;
    void accept() override;

    QLineEdit *fromEdit() const { return from_; }
    QLineEdit *toEdit() const { return to_; }

private:
    util::Prompter &prompter_;
    QLineEdit *from_, *to_;
    QComboBox *fromList_, *toList_;
    QCheckBox *newPage_;
};

// Tfrecaptype: the kind of recapitulation, and the unit for "На звено".
class RecapTypeDialog : public QDialog {
    Q_OBJECT
public:
    RecapTypeDialog(const std::vector<reports::NumberedName> &units, util::Prompter &prompter,
                    storage::IniFile *placement = nullptr, QWidget *parent = nullptr);
    reports::RecapType type() const;
    int unitCode() const;
    void accept() override;

    QButtonGroup *types() const { return types_; }
    QLineEdit *unitEdit() const { return unit_; }

private:
    void typeChanged();
    util::Prompter &prompter_;
    QButtonGroup *types_;
    QLineEdit *unit_;
    QComboBox *units_;
};

// "Статус": the page being made and "Отказ".
class StatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit StatusWindow(QWidget *parent = nullptr);
    void setStatus(const QString &text);
    bool cancelled() const { return cancelled_; }

private:
    QLabel *text_;
    bool cancelled_ = false;
};

} // namespace plavex::app
