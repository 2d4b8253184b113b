#pragma once

#include "reports/engine/Canvas.h"

#include <QStringList>
#include <QVariantList>

#include <functional>
#include <vector>

namespace plavex::reports {

// The rows a table prints: named fields, one list of values per row.
struct TableData {
    QStringList fields;
    std::vector<QVariantList> rows;
};

struct TableColumn {
    QString field;
    double width = 2; // cm
    QString heading;
    Justify align = Justify::Left;
    int decimals = -1; // a number shown with this many decimals; -1: as text
    bool total = false;
};

// Prints a table of rows in boxed cells from the left margin: a shaded
// heading row on every page, texts wrapped inside their column, and a
// grand-total row when any column totals.
class TablePrinter {
public:
    std::vector<TableColumn> columns;
    std::function<void(Canvas &)> onNewPage; // before the heading, on every page
    std::function<void(Canvas &, int column)> beforeHeading;
    std::function<void(Canvas &, int column)> afterHeading;
    std::function<void(int row)> beforeRow; // may throw to stop the table
    int headingShade = 20;
    double cellMargin = 0.1; // cm, left and right inside a cell
    QString totalCaption = QStringLiteral("Общо:");
    int totalCaptionColumn = 0;

    // Prints the rows, starting at the cursor; the canvas must have begun.
    void print(Canvas &canvas, const TableData &data);
    const std::vector<double> &totals() const { return totals_; }

    // The text of a value in a column.
    static QString cellText(const TableColumn &column, const QVariant &value);
    // The lines a text takes in a width (cm), broken at blanks, a word too long broken anywhere.
    static QStringList wrap(const Font &font, const QString &text, double width);

private:
    void heading(Canvas &canvas);
    void row(Canvas &canvas, const QStringList &texts, bool boxed, const std::vector<Justify> &align, int shade);
    std::vector<double> totals_;
};

} // namespace plavex::reports
