#pragma once

#include "employees/Chooser.h"

#include <QDialog>

class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QPushButton;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// TfSearch: picks a town, unit, position, tax bracket or employee. "ОК"
// returns the code of the current row; in edit mode "Нов", "Редакция" and
// "Изтриване" keep the list through the small editors.
class ChooserDialog : public QDialog {
    Q_OBJECT
public:
    ChooserDialog(storage::DataModule &data, util::Prompter &prompter, employees::ChooserKind kind, bool editMode,
                  QWidget *parent = nullptr);

    // The chosen code, or empty when cancelled.
    static QString choose(storage::DataModule &data, util::Prompter &prompter, employees::ChooserKind kind,
                          bool editMode, QWidget *parent = nullptr);

    QString chosenCode() const { return chosen_; }
    QTableView *view() const { return view_; }
    int rowCount() const;
    void selectCode(const QVariant &code);
    void okPressed();
    void newPressed();
    void editPressed();
    void deletePressed();

private:
    void reload();
    QVariant currentValue(int column) const;
    bool openEditor(const QVariant &code);

    storage::DataModule &data_;
    util::Prompter &prompter_;
    employees::ChooserKind kind_;
    bool editMode_;
    QStandardItemModel *model_;
    QSortFilterProxyModel *proxy_;
    QTableView *view_;
    QString chosen_;
};

} // namespace plavex::app
