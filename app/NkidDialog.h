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

// TfNkid, "Номенклатура на КИД": the year's economic activities, read-only;
// "OK" returns the current row's code and sequence number.
class NkidDialog : public QDialog {
    Q_OBJECT
public:
    NkidDialog(storage::DataModule &data, util::Prompter &prompter, const QString &code = {},
               const QString &number = {}, QWidget *parent = nullptr);

    QString code() const { return code_; }
    QString number() const { return number_; }
    QTableView *grid() const { return grid_; }

private:
    void choose();

    TableModel *model_;
    QTableView *grid_;
    QString code_;
    QString number_;
};

} // namespace plavex::app
