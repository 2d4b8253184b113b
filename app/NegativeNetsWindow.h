#pragma once

#include "operations/BulkOperations.h"

#include <QDialog>

#include <functional>

class QTableWidget;

namespace plavex::app {

// "Тест червени остатъци": the employees whose amount to pay is negative.
// Not modal; a double click goes to the employee in the main window.
class NegativeNetsWindow : public QDialog {
    Q_OBJECT
public:
    using Query = std::function<std::vector<operations::NegativeNet>()>;
    NegativeNetsWindow(Query query, std::function<void(int personId)> goTo, QWidget *parent = nullptr);

    void show(const std::vector<operations::NegativeNet> &rows);
    QTableWidget *table() const { return table_; }

private:
    Query query_;
    std::function<void(int)> goTo_;
    QTableWidget *table_;
};

} // namespace plavex::app
