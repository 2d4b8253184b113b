#pragma once

#include "operations/Spreadsheet.h"

#include <QString>

class QAbstractItemModel;
class QAction;
class QTableView;
class QWidget;

namespace plavex::app {

// A grid's rows as a spreadsheet gets them: its visible columns under their
// captions, a column of whole numbers (without a leading zero, so an ЕГН
// stays text), of amounts or of DD.MM.YYYY dates as such, anything else as
// the text shown.
operations::Sheet sheetOfModel(const QAbstractItemModel &model, const QTableView *view, const QString &title);

// Asks for a .xlsx or .csv file and writes the sheet into it; the result
// or the failure in a message box.
void exportSheet(QWidget *parent, const operations::Sheet &sheet);

// The grid's shown rows and columns to a file the user chooses, titled
// after its window.
void exportGrid(QTableView *view);

// "Експорт…" on a grid: in its context menu when it has no menu of its
// own; a grid with its own menu takes the returned action into it.
QAction *addGridExport(QTableView *view);

} // namespace plavex::app
