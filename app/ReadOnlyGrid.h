#pragma once

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace plavex::app {

// A grid of the lists and pickers: whole rows selected one at a time,
// nothing edited in place, no row numbers, rows as high as a line of text.
QTableView *readOnlyGrid(QAbstractItemModel *model, QWidget *parent);

} // namespace plavex::app
