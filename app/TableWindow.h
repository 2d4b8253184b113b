#pragma once

#include "app/TableModel.h"

#include <QDialog>

class QHBoxLayout;
class QPushButton;
class QTableView;

namespace plavex::app {

// A reference table in a grid: read-only or with some columns typed into
// (each cell posts when left), with "Изход" and, as a chooser, "OK" that
// returns the current row's key.
class TableWindow : public QDialog {
    Q_OBJECT
public:
    TableWindow(storage::DataModule &data, util::Prompter &prompter, const QString &formName, const QString &caption,
                const storage::TableData::Query &query, const std::vector<TableModel::Column> &columns,
                const QSet<QString> &editable, bool chooser, QWidget *parent = nullptr);

    QVariant chosenKey() const { return chosen_; }
    QTableView *grid() const { return grid_; }
    TableModel *model() const { return model_; }
    // A further button at the left of the row of buttons.
    QPushButton *addButton(const QString &caption);

private:
    TableModel *model_;
    QTableView *grid_;
    QHBoxLayout *buttons_ = nullptr;
    QVariant chosen_;
};

} // namespace plavex::app
