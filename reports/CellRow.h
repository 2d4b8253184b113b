#pragma once

#include "reports/engine/Canvas.h"

#include <QStringList>

#include <initializer_list>

namespace plavex::reports {

// The boxed rows of the sheets and the recapitulation: a row of tab cells
// with their lines, each text inside its cell.
struct Cell {
    double width = 0;
    Justify justify = Justify::Left;
    quint8 boxes = BoxNone;
};

// Keeps texts off the cell lines (percent of the font height).
constexpr double kRowCellMargin = 20;

// The tab stops of a row, the first at `left`, each right after the one before.
void setCells(Canvas &canvas, double left, std::initializer_list<Cell> cells);

// One row at the cursor in the current line height: each text in its cell
// (a text wider than its cell is set smaller), then the line ends. With
// `low` the texts sit on the row's last line of `textLine` cm rather than in
// its middle, as a signature row wants the room above them.
void printRow(Canvas &canvas, const QStringList &texts, bool low = false, double textLine = 0);

} // namespace plavex::reports
