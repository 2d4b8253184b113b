#pragma once

#include "employees/Employees.h"

#include <QHash>

#include <utility>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDataWidgetMapper;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// The tab "Кадрова информация": every field of the selected employee's row,
// bound through the grid model and a QDataWidgetMapper, so leaving a field
// writes it at once. Lists, check boxes, lookups and date buttons write
// their column the same way. The window decides what follows a write.
class EmployeePanelWidget : public QWidget {
    Q_OBJECT
public:
    EmployeePanelWidget(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    // Shows the employee's row (0: none).
    void showEmployee(int id);
    int employeeId() const { return id_; }
    void applyRules(const employees::EditRules &rules);
    // BIC and IBAN exist from 2007 on.
    void refreshPeriodView();
    // Writes a column of the shown row as if it had been typed.
    bool setColumn(const QString &column, const QVariant &value);
    QVariant column(const QString &column) const;

    QLineEdit *field(const QString &column) const { return fields_.value(column); }
    QComboBox *insuranceList() const { return insurance_; }
    QCheckBox *activeBox() const { return active_; }
    QLabel *contributionLine(int line) const { return line == 0 ? contribution1_ : contribution2_; }
    QLabel *headerLabel() const { return header_; }
    // The calculation's note on a basic salary below the minimum wage (empty: none).
    void setMinimumWageNote(const QString &note);
    QLabel *minimumWageLabel() const { return minimumWage_; }
    // The name shown beside a code field (position, unit, town).
    QLabel *nameLabel(const QString &column) const { return names_.value(column).first; }
    bool isEditable() const { return editable_; }

signals:
    // A column of the row was written.
    void posted(const QString &column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addField(QGridLayout *grid, int row, int col, const char *column, const QString &caption,
                        int kind, int lookup = 0);
    QComboBox *addList(QGridLayout *grid, int row, int col, const char *column, const QString &caption,
                       const QStringList &entries);
    QCheckBox *addCheck(QGridLayout *grid, int row, int col, const char *column, const QString &caption);
    void fillFromRow();
    void lookup(const QString &column, int kind);
    void pickDate(const QString &column);
    void updateContributionLabels();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    TableModel *model_;
    QDataWidgetMapper *mapper_;
    int id_ = 0;
    bool editable_ = false;
    bool filling_ = false;
    QHash<QString, QLineEdit *> fields_;
    QHash<QString, QComboBox *> lists_;
    QHash<QString, QCheckBox *> checks_;
    QHash<QString, std::pair<QLabel *, int>> names_; // a code's name beside it, and the lookup kind
    QList<QPushButton *> buttons_;
    QList<QWidget *> bankSickWidgets_;
    QComboBox *insurance_ = nullptr;
    QCheckBox *active_ = nullptr;
    QLabel *header_ = nullptr;
    QLabel *contribution1_ = nullptr;
    QLabel *contribution2_ = nullptr;
    QLabel *minimumWage_ = nullptr;
};

} // namespace plavex::app
