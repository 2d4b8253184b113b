#pragma once

#include "app/TableModel.h"

#include <QDialog>

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

private:
    TableModel *model_;
    QTableView *grid_;
    QVariant chosen_;
};

} // namespace plavex::app
