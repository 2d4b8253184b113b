#pragma once

#include "calc/Totals.h"
#include "items/ItemRecord.h"
#include "reports/ReportKind.h"

#include <QWidget>

#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace plavex::items {
class ItemEntry;
struct Definition;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

class TableModel;

// The tab "Пера": the employee's items of the month ("Код", "Име на перо",
// "Параметри на перо", "Сума") with "Добави перо", "Редакция перо",
// "Изтриване". Every change is stored through the item entry and then
// reported, so the window can recalculate the employee.
class ItemsPage : public QWidget {
    Q_OBJECT
public:
    ItemsPage(storage::DataModule &data, util::Prompter &prompter, items::ItemEntry &entry,
              const std::vector<items::Definition> &definitions, QWidget *parent = nullptr);

    void showEmployee(int id, int paySystem);
    void setTotals(const calc::Totals &totals) { totals_ = totals; }
    void reload();
    void setEditable(bool editable);
    void setHeader(const QString &text, bool red);

    QTableView *view() const { return view_; }
    TableModel *model() const { return model_; }
    QMenu *popup() const { return popup_; }
    items::ItemRecord itemAt(int row) const;
    int currentRow() const;

    void addItem();
    void editItem();
    void deleteItem();
    // "Печат на фиш тип 1" / "2" for the shown employee.
    void printPayslip(reports::ReportKind kind);

signals:
    // An item was added, edited or deleted.
    void itemsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    storage::DataModule &data_;
    util::Prompter &prompter_;
    items::ItemEntry &entry_;
    const std::vector<items::Definition> &definitions_;
    calc::Totals totals_;
    TableModel *model_;
    QTableView *view_;
    QLabel *header_;
    QMenu *popup_;
    QList<QAction *> editActions_;
    QList<QPushButton *> buttons_;
    int personId_ = 0;
    int paySystem_ = 1;
    bool editable_ = false;
};

} // namespace plavex::app
