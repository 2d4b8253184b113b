#include "reports/engine/TablePrinter.h"

#include "reports/engine/FontMetrics.h"
#include "util/NumberText.h"

#include <algorithm>

namespace plavex::reports {

QString TablePrinter::cellText(const TableColumn &column, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (column.decimals >= 0)
        return util::fixedNumber(value.toDouble(), 1, column.decimals);
    return value.toString().trimmed();
}

QStringList TablePrinter::wrap(const Font &font, const QString &text, double width)
{
    QStringList lines;
    QString current;
    auto fits = [&](const QString &s) { return FontMetrics::width(font, s) <= width; };
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString word : words) {
        const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (fits(joined)) {
            current = joined;
            continue;
        }
        if (!current.isEmpty())
            lines << current;
        current.clear();
        // A word wider than the column is cut where it stops fitting.
        while (!fits(word) && word.size() > 1) {
            qsizetype n = word.size() - 1;
            while (n > 1 && !fits(word.left(n)))
                --n;
            lines << word.left(n);
            word = word.mid(n);
        }
        current = word;
    }
    if (!current.isEmpty() || lines.isEmpty())
        lines << current;
    return lines;
}

void TablePrinter::row(Canvas &c, const QStringList &texts, bool boxed, const std::vector<Justify> &align, int shade)
{
    const Font &font = c.font();
    std::vector<QStringList> cells;
    int lines = 1;
    for (size_t i = 0; i < columns.size(); ++i) {
        cells.push_back(wrap(font, texts.value(static_cast<qsizetype>(i)), columns[i].width - 2 * cellMargin));
        lines = std::max(lines, static_cast<int>(cells.back().size()));
    }
    const double lh = c.lineHeight();
    if (c.linesLeft() < lines && c.yPos() > c.marginTop() + 1e-9)
        c.newPage();
    const double top = c.yPos();
    const double bottom = top + lines * lh;
    const double a = FontMetrics::ascent(font), d = FontMetrics::descent(font);
    double x = c.marginLeft();
    for (size_t i = 0; i < columns.size(); ++i) {
        const double w = columns[i].width;
        if (shade > 0)
            c.fillRect(x, top, x + w, bottom, shadeColor(shade));
        if (boxed) {
            c.setBrush(Brush{});
            c.setPen(Pen{0xff000000, 1, c.boxLineWidth});
            c.rectangle(x, top, x + w, bottom);
        }
        for (int l = 0; l < static_cast<int>(cells[i].size()); ++l) {
            const double base = top + l * lh + (lh - a - d) / 2 + a;
            const QString &t = cells[i][l];
            switch (align[i]) {
            case Justify::Left: c.textAt(t, x + cellMargin, base, Justify::Left); break;
            case Justify::Right: c.textAt(t, x + w - cellMargin, base, Justify::Right); break;
            case Justify::Center: c.textAt(t, x + w / 2, base, Justify::Center); break;
            }
        }
        x += w;
    }
    c.gotoXY(c.marginLeft(), bottom);
}

void TablePrinter::heading(Canvas &c)
{
    if (onNewPage)
        onNewPage(c);
    QStringList texts;
    std::vector<Justify> align;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (beforeHeading)
            beforeHeading(c, static_cast<int>(i));
        texts << columns[i].heading;
        align.push_back(Justify::Center);
        if (afterHeading)
            afterHeading(c, static_cast<int>(i));
    }
    const bool bold = c.font().bold;
    c.setBold(true);
    row(c, texts, true, align, headingShade);
    c.setBold(bold);
}

void TablePrinter::print(Canvas &c, const TableData &data)
{
    totals_.assign(columns.size(), 0.0);
    std::vector<int> index;
    for (const TableColumn &col : columns)
        index.push_back(static_cast<int>(data.fields.indexOf(col.field)));
    std::vector<Justify> align;
    for (const TableColumn &col : columns)
        align.push_back(col.align);

    auto previous = c.onNewPage;
    c.onNewPage = [this](Canvas &canvas) { heading(canvas); };
    heading(c);
    for (size_t n = 0; n < data.rows.size(); ++n) {
        const QVariantList &r = data.rows[n];
        if (beforeRow)
            beforeRow(static_cast<int>(n));
        QStringList texts;
        for (size_t i = 0; i < columns.size(); ++i) {
            const QVariant v = index[i] >= 0 ? r.value(index[i]) : QVariant();
            texts << cellText(columns[i], v);
            if (columns[i].total)
                totals_[i] += v.toDouble();
        }
        row(c, texts, true, align, 0);
    }
    if (std::any_of(columns.begin(), columns.end(), [](const TableColumn &col) { return col.total; })) {
        QStringList texts;
        for (size_t i = 0; i < columns.size(); ++i)
            texts << (columns[i].total ? cellText(columns[i], totals_[i]) : static_cast<int>(i) == totalCaptionColumn ? totalCaption : QString());
        const bool bold = c.font().bold;
        c.setBold(true);
        row(c, texts, false, align, 0);
        c.setBold(bold);
    }
    c.onNewPage = previous;
}

} // namespace plavex::reports
