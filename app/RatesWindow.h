#pragma once

#include "storage/TableData.h"

#include <QDialog>

#include <memory>

class QTableWidget;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// "Проценти соц. и здравни осигуровки": for the insurance type chosen on the
// left, the employer's and the employee's percentage of each fund under both
// birth-year regimes. Read-only: the rates come from the service files.
class RatesWindow : public QDialog {
    Q_OBJECT
public:
    RatesWindow(storage::DataModule &data, util::Prompter &prompter, QWidget *parent = nullptr);

    QTableWidget *types() const { return types_; }
    QTableWidget *percents() const { return percents_; }

private:
    void showType(int row);

    std::unique_ptr<storage::TableData> noi_;
    QTableWidget *types_;
    QTableWidget *percents_;
};

} // namespace plavex::app
