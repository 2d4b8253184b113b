#pragma once

#include <QDate>
#include <QDialog>

class QLabel;

namespace plavex::app {

class CalendarGrid;

// Tfsetcalendnar in edit mode: one month's working days; a double click on
// a day turns it from working day to day off and back.
class MonthGridDialog : public QDialog {
    Q_OBJECT
public:
    MonthGridDialog(const QDate &firstDay, const QString &text, QWidget *parent = nullptr);

    // The days as edited ("ОК") or as given ("Изход").
    QString text() const { return result() == QDialog::Accepted ? text_ : original_; }
    CalendarGrid *grid() const { return grid_; }
    void toggle(int day);

private:
    QDate firstDay_;
    QString original_;
    QString text_;
    CalendarGrid *grid_;
};

} // namespace plavex::app
