#include "reports/CellRow.h"

#include "reports/engine/FontMetrics.h"

#include <algorithm>

namespace plavex::reports {

namespace {
constexpr double kSmallestFitSize = 5.0;
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
    auto sizeOf = [&](size_t i) { return i < fit.sizes.size() && fit.sizes[i] > 0 ? fit.sizes[i] : base.size; };
    auto widthOf = [&](size_t i) {
        Font f = base;
        f.size = sizeOf(i);
        return FontMetrics::width(f, textOf(i));
    };

    // One size for the whole row: a text that does not fit makes every text
    // of the row smaller alike, so that no figure is cut and one row never
    // mixes sizes. A left text may take an empty neighbour's room or what a
    // right-justified neighbour leaves, unless a line parts them; a right or
    // centred one keeps to its cell.
    double scale = 1.0;
    for (size_t i = 0; i < stops.size() && i < static_cast<size_t>(texts.size()); ++i) {
        const QString text = textOf(i);
        if (text.isEmpty())
            continue;
        const TabStop &cell = stops[i];
        const double width = widthOf(i);
        double room = cell.width - 2 * margin;
        double need = width;
        // A line between the two cells keeps each text in its own.
        const bool walled = i + 1 < stops.size() && ((cell.boxes & BoxRight) || (stops[i + 1].boxes & BoxLeft));
        if (cell.justify == Justify::Left && i + 1 < stops.size() && !fit.ownCell && !walled) {
            const TabStop &next = stops[i + 1];
            const QString after = textOf(i + 1);
            if (after.isEmpty()) {
                room += next.width;
            } else if (next.justify == Justify::Right) {
                room = next.left + next.width - cell.left - 4 * margin;
                need = width + widthOf(i + 1);
            }
        }
        if (need > room && room > 0)
            scale = std::min(scale, room / need);
    }

    // Every stop draws its lines, also those of the cells left empty.
    const size_t count = std::max(stops.size(), static_cast<size_t>(texts.size()));
    for (size_t i = 0; i < count; ++i) {
        c.tab();
        const QString text = textOf(i);
        if (i >= stops.size() || text.isEmpty())
            continue;
        const TabStop &cell = stops[i];
        c.setFontSize(std::max(kSmallestFitSize, sizeOf(i) * scale));
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
