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

void printRow(Canvas &c, const QStringList &texts, const RowFit &fit)
{
    const Font base = c.font();
    double baseline = c.baseline();
    if (fit.low && fit.textLine > 0) {
        const double a = FontMetrics::ascent(base), d = FontMetrics::descent(base);
        baseline = c.yPos() + c.lineHeight() - fit.textLine + (fit.textLine - a - d) / 2 + a;
    }
    const double margin = kRowCellMargin / 100 * FontMetrics::height(base);
    const std::vector<TabStop> &stops = c.tabs();
    auto textOf = [&](size_t i) { return i < static_cast<size_t>(texts.size()) ? texts[static_cast<qsizetype>(i)] : QString(); };
    // Every stop draws its lines, also those of the cells left empty.
    const size_t count = std::max(stops.size(), static_cast<size_t>(texts.size()));
    double usedTo = stops.empty() ? 0 : stops.front().left; // the right end of the row's last text
    for (size_t i = 0; i < count; ++i) {
        c.tab();
        const QString text = textOf(i);
        if (i >= stops.size() || text.isEmpty())
            continue;
        const TabStop &cell = stops[i];
        if (i < fit.sizes.size() && fit.sizes[i] > 0)
            c.setFontSize(fit.sizes[i]);
        // A text may use what its neighbours leave free: a left one the room
        // before the next cell's right-justified text, a right one the room
        // after the text before it; one that still does not fit is set smaller.
        double room = cell.width - 2 * margin;
        if (cell.justify == Justify::Left && i + 1 < stops.size() && !fit.ownCell) {
            const TabStop &next = stops[i + 1];
            const QString after = textOf(i + 1);
            if (after.isEmpty())
                room += next.width;
            else if (next.justify == Justify::Right)
                room = next.left + next.width - margin - c.textWidth(after) - 2 * margin - (cell.left + margin);
        } else if (cell.justify == Justify::Right) {
            room = cell.left + cell.width - margin - (usedTo + 2 * margin);
        }
        const double width = c.textWidth(text);
        if (width > room && (room > 0 || fit.ownCell))
            c.setFontSize(std::max(kSmallestFitSize, c.font().size * room / width));
        double right = 0;
        switch (cell.justify) {
        case Justify::Left:
            c.textAt(text, cell.left + margin, baseline, Justify::Left);
            right = cell.left + margin + c.textWidth(text);
            break;
        case Justify::Right:
            c.textAt(text, cell.left + cell.width - margin, baseline, Justify::Right);
            right = cell.left + cell.width - margin;
            break;
        case Justify::Center:
            c.textAt(text, cell.left + cell.width / 2, baseline, Justify::Center);
            right = cell.left + (cell.width + c.textWidth(text)) / 2;
            break;
        }
        usedTo = std::max(usedTo, right);
        c.setFont(base);
    }
    c.newLine();
}

} // namespace plavex::reports
