#pragma once

#include "util/Period.h"

#include <QString>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace plavex::storage {

// The statutory figures of the company row from the month the law set
// them: one row of noms/firma_stat.csv. A figure without a source is empty
// and leaves the company's own value alone.
struct StatutoryFigures {
    util::Period from;
    std::optional<double> minSalary;         // FIRMA_MINSALARY
    std::optional<double> maxInsurable;      // FIRMA_INDDOO
    std::optional<double> minInsurable;      // FIRMA_MINDOH
    std::optional<double> maternity;         // FIRMA_OBMAJKI
    std::optional<double> guaranteedPercent; // FIRMA_DATA3
    std::optional<double> accidentPercent;   // FIRMA_DOOPROCF3

    // The company columns the row fills, with their figures.
    QVariantMap columns() const;
};

QString statutoryFiguresFile(const QString &nomsDir);

// The rows of the file in their order; a missing file gives none, a line
// that is not a row of figures is left out.
std::vector<StatutoryFigures> readStatutoryFigures(const QString &path);

// The figures in force in `period`: each the latest of its year given in a
// row that began in that month or before (`from` is the latest such row).
// None for a year the file does not cover: another year's are no guide.
std::optional<StatutoryFigures> statutoryFiguresFor(const std::vector<StatutoryFigures> &rows, const util::Period &period);

// The figures in force in `period` as above; for a year after the file's
// last one, those in force at the end of that year: the law stands until it
// is changed. None for a year before or between the file's years.
std::optional<StatutoryFigures> statutoryFiguresInForce(const std::vector<StatutoryFigures> &rows, const util::Period &period);

// Said once when a month is opened for which no figures are shipped.
QString noStatutoryFiguresMessage(int year);

// Said once when the tables of a year the program ships no figures for are
// made from the figures of an earlier year.
QString carriedFiguresMessage(int year, int fromYear);

} // namespace plavex::storage
