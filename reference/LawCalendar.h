#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace plavex::reference {

// A day a decision of the Council of Ministers makes a day off, or a
// Saturday it makes a working day: a line of noms/praznici.csv.
struct DecidedDay {
    QDate date;
    bool working = false; // false: a day off
    QString basis;
};

QString decidedDaysFile(const QString &nomsDir);
// The lines of the file ("DD.MM.YYYY;0 or 1;basis"); a missing file gives
// none, a line that is not a date is left out.
std::vector<DecidedDay> readDecidedDays(const QString &path);

// The Orthodox Easter Sunday of a year (Gregorian date).
QDate orthodoxEaster(int year);

// The days off the law gives, from 2017 on (КТ art. 154 as amended by ДВ
// бр. 105/2016): the official holidays of art. 154 (1), the days that
// art. 154 (2) puts after a holiday falling on a Saturday or a Sunday, and
// the decided days. Earlier years moved their days by yearly decisions that
// the program does not ship: their months keep the older fixed days off.
class LawCalendar {
public:
    LawCalendar() = default; // the statutory days only
    explicit LawCalendar(std::vector<DecidedDay> decided);
    // The statutory days and those of noms/praznici.csv.
    static LawCalendar fromNoms(const QString &nomsDir);

    static bool appliesTo(int year) { return year >= 2017; }

    // An official holiday (Easter included) or a day put after one.
    bool isHoliday(const QDate &date) const;
    // Not worked in a five- or six-day week: a holiday, a decided day off, a
    // Sunday, a Saturday of the five-day week unless decided a working day.
    bool isDayOff(const QDate &date, int workingWeek = 5) const;
    // The days off from first to last, both included, in date order.
    std::vector<QDate> daysOff(const QDate &first, const QDate &last, int workingWeek = 5) const;
    // The 31-character text of the month ("1" working day).
    QString monthText(int workingWeek, const QDate &firstDay) const;

private:
    std::vector<QDate> holidaysOf(int year) const;
    std::vector<DecidedDay> decided_;
};

} // namespace plavex::reference
