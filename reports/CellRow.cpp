#include "reports/CellRow.h"

#include "reports/engine/FontMetrics.h"

#include <algorithm>

namespace plavex::reports {

namespace {
constexpr double kSmallestFitSize = 6.0;
}

void setCells(Canvas &c, double left, std::initializer_list<Cell> cells)
{
    c.clearTabs();
    bool first = true;
    for (const Cell &cell : cells) {
        c.setTab(first ? left : -1, cell.justify, cell.width, kRowCellMargin, cell.boxes);
        first = false;
    }
}

void printRow(Canvas &c, const QStringList &texts, bool low, double textLine)
{
    const Font base = c.font();
    double baseline = c.baseline();
    if (low && textLine > 0) {
        const double a = FontMetrics::ascent(base), d = FontMetrics::descent(base);
        baseline = c.yPos() + c.lineHeight() - textLine + (textLine - a - d) / 2 + a;
    }
    const double margin = kRowCellMargin / 100 * FontMetrics::height(base);
    // Every stop draws its lines, also those of the cells left empty.
    const size_t count = std::max(c.tabs().size(), static_cast<size_t>(texts.size()));
    for (size_t i = 0; i < count; ++i) {
        c.tab();
        if (i >= c.tabs().size() || i >= static_cast<size_t>(texts.size()) || texts[static_cast<qsizetype>(i)].isEmpty())
            continue;
        const QString &text = texts[static_cast<qsizetype>(i)];
        const TabStop &cell = c.tabs()[i];
        const double room = cell.width - 2 * margin;
        const double width = c.textWidth(text);
        if (width > room && room > 0)
            c.setFontSize(std::max(kSmallestFitSize, base.size * room / width));
        switch (cell.justify) {
        case Justify::Left:
            c.textAt(text, cell.left + margin, baseline, Justify::Left);
            break;
        case Justify::Right:
            c.textAt(text, cell.left + cell.width - margin, baseline, Justify::Right);
            break;
        case Justify::Center:
            c.textAt(text, cell.left + cell.width / 2, baseline, Justify::Center);
            break;
        }
        c.setFont(base);
    }
    c.newLine();
}

} // namespace plavex::reports
