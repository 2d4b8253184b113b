#include "app/TableWindow.h"

#include "app/FormPlacement.h"
#include "app/GridExport.h"
#include "app/WheelToArrows.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace plavex::app {

TableWindow::TableWindow(storage::DataModule &data, util::Prompter &prompter, const QString &formName,
                         const QString &caption, const storage::TableData::Query &query,
                         const std::vector<TableModel::Column> &columns, const QSet<QString> &editable, bool chooser,
                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(formName);
    setWindowTitle(caption);
    model_ = new TableModel(data, query, prompter, this);
    if (!columns.empty())
        model_->setColumns(columns);
    model_->setEditable(editable);
    try {
        model_->reload();
    } catch (const fb::Error &e) {
        prompter.message(storage::errorText(e));
    }
    grid_ = new QTableView(this);
    grid_->setModel(model_);
    addGridExport(grid_);
    grid_->setSelectionBehavior(editable.isEmpty() ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    if (editable.isEmpty())
        grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setDefaultSectionSize(110);
    grid_->horizontalHeader()->setHighlightSections(false);
    // Each column as wide as its header and values, a long name within reason.
    grid_->resizeColumnsToContents();
    for (int c = 0; c < model_->columnCount(); ++c)
        grid_->setColumnWidth(c, std::min(grid_->columnWidth(c) + 8, 420));
    new WheelToArrows(grid_);
    auto *buttons = new QHBoxLayout;
    buttons_ = buttons;
    buttons->addStretch();
    if (chooser) {
        auto *ok = new QPushButton(QStringLiteral("OK"), this);
        buttons->addWidget(ok);
        auto choose = [this, key = query.keyColumns.value(0)] {
            const QModelIndex current = grid_->currentIndex();
            if (!current.isValid())
                return;
            chosen_ = model_->raw(current.row(), key);
            accept();
        };
        connect(ok, &QPushButton::clicked, this, choose);
        if (editable.isEmpty())
            connect(grid_, &QTableView::doubleClicked, this, choose);
    }
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    // As wide as the columns need, within the usual screen.
    int columnsWidth = 0;
    for (int c = 0; c < model_->columnCount(); ++c)
        columnsWidth += grid_->columnWidth(c);
    resize(std::clamp(columnsWidth + 60, 760, 1500), 460);
    new FormPlacement(this, data.settings().ini(), objectName());
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, 0));
}

QPushButton *TableWindow::addButton(const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    buttons_->insertWidget(0, b);
    return b;
}

} // namespace plavex::app
