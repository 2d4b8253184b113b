#pragma once

#include <QDialog>

class QPushButton;
class QTableView;

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// TfPeroDefs, "Избор на перо": the month's item definitions. Opened from
// the main menu it maintains them; opened by another form it picks one
// (the totals and type 101 hidden, deleting off).
class PeroDefsWindow : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Management, Picker };
    PeroDefsWindow(storage::DataModule &data, util::Prompter &prompter, Mode mode, QWidget *parent = nullptr);

    // "OK": the chosen code and type (0 when nothing is chosen).
    int chosenCode() const { return code_; }
    int chosenType() const { return type_; }

    void newDefinition();
    void editDefinition();
    void deleteDefinition();
    void reload(int keepCode);

    QTableView *grid() const { return grid_; }
    TableModel *model() const { return model_; }
    QPushButton *deleteButton() const { return delete_; }

private:
    int currentCode() const;
    void choose();

    storage::DataModule &data_;
    util::Prompter &prompter_;
    Mode mode_;
    TableModel *model_;
    QTableView *grid_;
    QPushButton *delete_;
    int code_ = 0;
    int type_ = 0;
};

} // namespace plavex::app
