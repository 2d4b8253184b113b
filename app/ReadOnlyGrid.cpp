#include "app/ReadOnlyGrid.h"

#include "app/GridExport.h"

#include <QHeaderView>
#include <QTableView>

namespace plavex::app {

QTableView *readOnlyGrid(QAbstractItemModel *model, QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A bold current section would no longer fit its header.
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    addGridExport(grid);
    return grid;
}

} // namespace plavex::app
