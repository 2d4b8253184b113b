#include "reference/LawCalendar.h"

#include "util/CodePage.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

namespace plavex::reference {

namespace {

bool weekend(const QDate &d) { return d.dayOfWeek() >= 6; }

} // namespace

QString decidedDaysFile(const QString &nomsDir) { return nomsDir + QStringLiteral("praznici.csv"); }

std::vector<DecidedDay> readDecidedDays(const QString &path)
{
    std::vector<DecidedDay> days;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return days;
    for (QString line : util::fromCp1251(file.readAll()).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char(';'));
        if (f.size() < 2)
            continue;
        const QDate date = QDate::fromString(f[0].trimmed(), QStringLiteral("dd.MM.yyyy"));
        const QString kind = f[1].trimmed();
        if (!date.isValid() || (kind != QLatin1String("0") && kind != QLatin1String("1")))
            continue;
        days.push_back({date, kind == QLatin1String("1"), f.mid(2).join(QLatin1Char(';')).trimmed()});
    }
    return days;
}

QDate orthodoxEaster(int year)
{
    // Meeus' Julian computus; the Julian calendar runs 13 days behind the
    // Gregorian from 1900 to 2099.
    const int a = year % 4;
    const int b = year % 7;
    const int c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    return QDate(year, month, day).addDays(13);
}

LawCalendar::LawCalendar(std::vector<DecidedDay> decided) : decided_(std::move(decided)) {}

LawCalendar LawCalendar::fromNoms(const QString &nomsDir) { return LawCalendar(readDecidedDays(decidedDaysFile(nomsDir))); }

std::vector<QDate> LawCalendar::holidaysOf(int year) const
{
    static const int fixed[][2] = {{1, 1}, {3, 3}, {5, 1}, {5, 6}, {5, 24}, {9, 6}, {9, 22}, {12, 24}, {12, 25}, {12, 26}};
    std::vector<QDate> official;
    for (const auto &md : fixed)
        official.emplace_back(year, md[0], md[1]);
    const QDate easter = orthodoxEaster(year);
    std::vector<QDate> easterDays;
    for (int offset = -2; offset <= 1; ++offset)
        easterDays.push_back(easter.addDays(offset));

    std::vector<QDate> all = official;
    all.insert(all.end(), easterDays.begin(), easterDays.end());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    auto isOfficial = [&](const QDate &d) { return std::find(official.begin(), official.end(), d) != official.end(); };
    auto isAny = [&](const QDate &d) { return std::binary_search(all.begin(), all.end(), d); };

    // Art. 154 (2): one day off after a run of holidays for each of its
    // dates other than Easter's that falls on a Saturday or a Sunday; the
    // days are the first working days after the run.
    std::vector<QDate> result = all;
    for (size_t i = 0; i < all.size();) {
        size_t j = i;
        int owed = 0;
        for (; j < all.size() && (j == i || all[j - 1].addDays(1) == all[j]); ++j)
            if (weekend(all[j]) && isOfficial(all[j]))
                ++owed;
        QDate next = all[j - 1].addDays(1);
        for (; owed > 0; next = next.addDays(1)) {
            if (weekend(next) || isAny(next))
                continue;
            result.push_back(next);
            --owed;
        }
        i = j;
    }
    std::sort(result.begin(), result.end());
    return result;
}

bool LawCalendar::isHoliday(const QDate &date) const
{
    const std::vector<QDate> days = holidaysOf(date.year());
    return std::binary_search(days.begin(), days.end(), date);
}

bool LawCalendar::isDayOff(const QDate &date, int workingWeek) const
{
    for (const DecidedDay &d : decided_)
        if (d.date == date)
            return !d.working;
    if (isHoliday(date))
        return true;
    const int dow = date.dayOfWeek();
    return dow == 7 || (dow == 6 && workingWeek == 5);
}

std::vector<QDate> LawCalendar::daysOff(const QDate &first, const QDate &last, int workingWeek) const
{
    std::vector<QDate> days;
    for (QDate d = first; d.isValid() && d <= last; d = d.addDays(1))
        if (isDayOff(d, workingWeek))
            days.push_back(d);
    return days;
}

QString LawCalendar::monthText(int workingWeek, const QDate &firstDay) const
{
    QString text(31, QLatin1Char('0'));
    const QDate first(firstDay.year(), firstDay.month(), 1);
    for (int i = 1; i <= first.daysInMonth(); ++i)
        text[i - 1] = isDayOff(first.addDays(i - 1), workingWeek) ? QLatin1Char('0') : QLatin1Char('1');
    return text;
}

} // namespace plavex::reference
