#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
class Period;
}

namespace plavex::app {

class TableModel;

// The tab "Стари суми": the employee's rows of the monthly record, newest
// first, editable in place (never the year and month, which head each row).
// Months from before the program was used are added with "Добавяне на
// запис" and removed with "Изтриване на запис".
class EarlierMonthsPage : public QWidget {
    Q_OBJECT
public:
    EarlierMonthsPage(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    void showEmployee(int id);
    void reload();
    void setHeader(const QString &text, bool red);
    void setEditable(bool editable);

    QTableView *view() const { return view_; }
    TableModel *model() const { return model_; }
    // "Добавяне на запис" for a month; false when nothing was added.
    bool addMonth(const util::Period &period);
    void addPressed();
    void deletePressed();

signals:
    void changed();

private:
    storage::DataModule &data_;
    util::Prompter &prompter_;
    TableModel *model_;
    QTableView *view_;
    QLabel *header_;
    QPushButton *add_;
    QPushButton *remove_;
    int personId_ = 0;
    bool editable_ = false;
};

} // namespace plavex::app
