#pragma once

#include "reports/engine/Canvas.h"

#include <QStringList>

#include <initializer_list>
#include <vector>

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

// How a row places its texts.
struct RowFit {
    // The texts sit on the row's last line of `textLine` cm rather than in
    // its middle, as a signature row wants the room above them.
    bool low = false;
    double textLine = 0;
    // A cell's own font size; 0 or none keeps the row's.
    std::vector<double> sizes;
    // A left text keeps to its own cell rather than taking the room its
    // neighbour leaves (the payslip's frame leaves nothing to spare).
    bool ownCell = false;
};

// One row at the cursor in the current line height: each text in its cell,
// then the line ends. When a text is wider than its room the whole row is
// set smaller, every cell alike.
void printRow(Canvas &canvas, const QStringList &texts, const RowFit &fit);
inline void printRow(Canvas &canvas, const QStringList &texts, bool low = false, double textLine = 0)
{
    printRow(canvas, texts, RowFit{low, textLine, {}, false});
}

} // namespace plavex::reports
