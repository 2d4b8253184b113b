#pragma once

#include <QDialog>
#include <QList>

class QMenu;
class QTableView;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// TfCalendar, "Настройка на календар": the month's calendars. "OK" returns
// the current calendar's number (-1 without calendars).
class CalendarWindow : public QDialog {
    Q_OBJECT
public:
    CalendarWindow(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    int chosen() const { return chosen_; }
    void newCalendar();
    void editCalendar();
    void editWorkingDays();

    QTableView *grid() const { return grid_; }
    TableModel *model() const { return model_; }

private:
    int currentCode() const;
    // The month's working (or free) days of a row, by day number.
    QList<int> daysOf(int row, bool working) const;
    void reload(int keepCode);

    storage::DataModule &data_;
    util::Prompter &prompter_;
    TableModel *model_;
    QTableView *grid_;
    QMenu *popup_;
    int chosen_ = -1;
};

} // namespace plavex::app
