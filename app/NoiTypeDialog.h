#pragma once

#include <QDialog>

class QTableView;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// TfNoiType, "Избор на вид осигурен": the year's insurance types with all
// their rates, read-only; "ОК" returns the type and its ordinal.
class NoiTypeDialog : public QDialog {
    Q_OBJECT
public:
    NoiTypeDialog(storage::DataModule &data, util::Prompter &prompter, int type, int variant, QWidget *parent = nullptr);

    int type() const { return type_; }
    int variant() const { return variant_; }
    QTableView *grid() const { return grid_; }

private:
    void choose();

    TableModel *model_;
    QTableView *grid_;
    int type_ = 0;
    int variant_ = 0;
};

} // namespace plavex::app
