#include "reports/engine/FontMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <map>
#include <memory>
#include <tuple>

namespace plavex::reports {

namespace {

// Measured at a large pixel size and scaled: widths then add up the same
// way the PDF and the printer lay the glyphs out.
constexpr int kReferencePixels = 1000;

struct Entry {
    std::unique_ptr<QFontMetricsF> metrics;
    QHash<char16_t, double> advances; // at the reference size
};

Entry &entry(const Font &font)
{
    // One thread paints documents; the cache lives as long as the process.
    static std::map<std::tuple<bool, bool>, Entry> cache;
    auto &e = cache[{font.bold, font.italic}];
    if (!e.metrics) {
        QFont f(faceName());
        f.setPixelSize(kReferencePixels);
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setStyleStrategy(QFont::ForceOutline);
        // Without kerning a text is as wide as its characters, which the
        // measure can then add up from a table.
        f.setKerning(false);
        e.metrics = std::make_unique<QFontMetricsF>(f);
    }
    return e;
}

double scale(const Font &font) { return font.size / 72.0 * 2.54 / kReferencePixels; }

} // namespace

QString faceName() { return QStringLiteral("DejaVu Sans"); }

double FontMetrics::width(const Font &font, const QString &text)
{
    if (text.isEmpty())
        return 0;
    Entry &e = entry(font);
    double sum = 0;
    for (const QChar c : text) {
        auto it = e.advances.constFind(c.unicode());
        if (it == e.advances.constEnd())
            it = e.advances.insert(c.unicode(), e.metrics->horizontalAdvance(c));
        sum += *it;
    }
    return sum * scale(font);
}

double FontMetrics::ascent(const Font &font) { return entry(font).metrics->ascent() * scale(font); }

double FontMetrics::descent(const Font &font) { return entry(font).metrics->descent() * scale(font); }

} // namespace plavex::reports
