#include "storage/StatutoryFigures.h"

#include "util/CodePage.h"

#include <QFile>

#include <algorithm>

namespace plavex::storage {

QVariantMap StatutoryFigures::columns() const
{
    QVariantMap map;
    auto put = [&map](const char *column, const std::optional<double> &value) {
        if (value)
            map.insert(QString::fromLatin1(column), *value);
    };
    put("FIRMA_MINSALARY", minSalary);
    put("FIRMA_INDDOO", maxInsurable);
    put("FIRMA_MINDOH", minInsurable);
    put("FIRMA_OBMAJKI", maternity);
    put("FIRMA_DATA3", guaranteedPercent);
    put("FIRMA_DOOPROCF3", accidentPercent);
    return map;
}

QString statutoryFiguresFile(const QString &nomsDir) { return nomsDir + QStringLiteral("firma_stat.csv"); }

std::vector<StatutoryFigures> readStatutoryFigures(const QString &path)
{
    std::vector<StatutoryFigures> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    for (QString line : util::fromCp1251(file.readAll()).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char(';'));
        if (f.size() < 7 || f[0].size() != 6)
            continue;
        bool okMonth = false, okYear = false;
        const util::Period from(f[0].right(4).toInt(&okYear), f[0].left(2).toInt(&okMonth));
        if (!okMonth || !okYear || !from.isValid())
            continue;
        StatutoryFigures r;
        r.from = from;
        bool bad = false;
        auto figure = [&](int i) -> std::optional<double> {
            const QString t = f[i].trimmed();
            if (t.isEmpty())
                return std::nullopt;
            bool ok = false;
            const double v = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            if (!ok || v < 0)
                bad = true;
            return v;
        };
        r.minSalary = figure(1);
        r.maxInsurable = figure(2);
        r.minInsurable = figure(3);
        r.maternity = figure(4);
        r.guaranteedPercent = figure(5);
        r.accidentPercent = figure(6);
        if (!bad)
            rows.push_back(r);
    }
    return rows;
}

std::optional<StatutoryFigures> statutoryFiguresFor(const std::vector<StatutoryFigures> &rows, const util::Period &period)
{
    // The rows of the year up to the month, in order: a later row's figure
    // replaces an earlier one, an empty one leaves it.
    std::vector<const StatutoryFigures *> year;
    for (const StatutoryFigures &r : rows)
        if (r.from.year() == period.year() && r.from <= period)
            year.push_back(&r);
    if (year.empty())
        return std::nullopt;
    std::stable_sort(year.begin(), year.end(), [](const auto *a, const auto *b) { return a->from < b->from; });
    StatutoryFigures f;
    for (const StatutoryFigures *r : year) {
        f.from = r->from;
        for (auto member : {&StatutoryFigures::minSalary, &StatutoryFigures::maxInsurable, &StatutoryFigures::minInsurable,
                            &StatutoryFigures::maternity, &StatutoryFigures::guaranteedPercent, &StatutoryFigures::accidentPercent})
            if (r->*member)
                f.*member = r->*member;
    }
    return f;
}

std::optional<StatutoryFigures> statutoryFiguresInForce(const std::vector<StatutoryFigures> &rows, const util::Period &period)
{
    if (auto own = statutoryFiguresFor(rows, period))
        return own;
    int last = 0;
    for (const StatutoryFigures &r : rows)
        last = std::max(last, r.from.year());
    if (last == 0 || period.year() <= last)
        return std::nullopt;
    return statutoryFiguresFor(rows, util::Period(last, 12));
}

QString carriedFiguresMessage(int year, int fromYear)
{
    return QStringLiteral("Данните за %1 г. не са доставени с програмата: прилагат се данните за %2 г. Проверете ги.")
        .arg(year)
        .arg(fromYear);
}

QString noStatutoryFiguresMessage(int year)
{
    return QStringLiteral("Няма данни за максималния осигурителен доход за %1 г. — попълнете данните на фирмата.").arg(year);
}

} // namespace plavex::storage
