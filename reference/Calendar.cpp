#include "reference/Calendar.h"

#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Statement.h"

namespace plavex::reference {

QString defaultMonthText(int workingWeek, const QDate &firstDay, const LawCalendar &law)
{
    if (LawCalendar::appliesTo(firstDay.year()))
        return law.monthText(workingWeek, firstDay);
    QString text(31, QLatin1Char('0'));
    const int days = firstDay.daysInMonth();
    const int dow = firstDay.dayOfWeek();
    for (int i = 1; i <= days; ++i) {
        const int index = (i + dow - 1) % 7; // 0 Sunday, 6 Saturday
        const bool off = index == 0 || (workingWeek == 5 && index == 6);
        text[i - 1] = off ? QLatin1Char('0') : QLatin1Char('1');
    }
    static const struct {
        int month;
        int day;
    } holidays[] = {{1, 1}, {3, 3}, {5, 1}, {5, 24}, {9, 6}, {9, 23}, {12, 25}, {12, 26}};
    for (const auto &h : holidays)
        if (h.month == firstDay.month())
            text[h.day - 1] = QLatin1Char('0');
    return text;
}

int countDays(const CalendarRecord &c, int flag, int first, int last)
{
    const int from = first <= 0 ? 1 : first;
    const int to = std::min(last, c.daysInMonth);
    int n = 0;
    for (int d = from; d <= to && d <= 31; ++d)
        if (c.day[static_cast<size_t>(d)] == flag)
            ++n;
    return n;
}

bool setCalendarText(CalendarRecord &c, const QString &text, const QDate &firstDay, QString *error)
{
    const QString padded = text.leftJustified(31, QLatin1Char('0'), true);
    for (int i = 0; i < 31; ++i) {
        if (!padded[i].isDigit() || padded[i].unicode() > u'9') {
            if (error)
                *error = QStringLiteral("Календар %1: знакът \"%2\" на ден %3 не е цифра.").arg(c.code).arg(padded[i]).arg(i + 1);
            return false;
        }
    }
    c.text = padded;
    c.month = firstDay.month();
    c.year = firstDay.year();
    c.daysInMonth = firstDay.daysInMonth();
    c.weekdayOfDay1 = firstDay.dayOfWeek();
    c.day.fill(0);
    for (int i = 1; i <= 31; ++i)
        c.day[static_cast<size_t>(i)] = padded[i - 1].unicode() - u'0';
    c.workingDays = countDays(c, 1, 1, c.daysInMonth);
    return true;
}

LawCalendar lawCalendar(storage::DataModule &data) { return LawCalendar::fromNoms(data.settings().nomsDir()); }

void ensureDefaultCalendars(storage::DataModule &data)
{
    const QString table = data.table(u"CAL");
    if (data.countRows(table, QStringLiteral("CAL_COD")) > 0)
        return;
    // Counted again under the lock: a second copy may be making them too.
    const int max = data.nextKey(table, QStringLiteral("CAL_COD")) - 1;
    if (data.countRows(table, QStringLiteral("CAL_COD")) > 0) {
        data.commitRetaining();
        return;
    }
    const QDate first = data.period().firstDay();
    const LawCalendar law = lawCalendar(data);
    const QString columns = QStringLiteral(" (CAL_COD,CAL_IME,CAL_MESEC,CAL_GODINA,CAL_RABDNI) ");
    data.insertRow(table, columns, {max + 1, QStringLiteral("Петдневна"), first.month(), first.year(), defaultMonthText(5, first, law)});
    data.insertRow(table, columns, {max + 2, QStringLiteral("Шестдневна "), first.month(), first.year(), defaultMonthText(6, first, law)});
    data.commitRetaining();
}

std::vector<CalendarDays> calendarDays(storage::DataModule &data)
{
    ensureDefaultCalendars(data);
    std::vector<CalendarDays> list;
    fb::Statement q(data.transaction(),
                    QStringLiteral("select CAL_COD, CAL_IME, CAL_RABDNI from %1 order by CAL_COD").arg(data.table(u"CAL")));
    const QDate first = data.period().firstDay();
    while (q.next()) {
        CalendarRecord c;
        c.code = static_cast<int>(q.toInt(0));
        setCalendarText(c, q.toText(2), first);
        list.push_back({c.code, q.toText(1).trimmed(), c.workingDays});
    }
    return list;
}

bool loadCalendar(storage::DataModule &data, int code, CalendarRecord &c, QString *error)
{
    ensureDefaultCalendars(data);
    fb::Statement q(data.transaction(),
                    QStringLiteral("select CAL_COD, CAL_IME, CAL_RABDNI from %1 where CAL_COD=?").arg(data.table(u"CAL")));
    q.bind(0, code);
    if (!q.next())
        return false;
    CalendarRecord loaded = c;
    loaded.code = static_cast<int>(q.toInt(0));
    loaded.name = q.toText(1).left(30);
    if (!setCalendarText(loaded, q.toText(2), data.period().firstDay(), error))
        return false;
    c = loaded;
    return true;
}

int newCalendar(storage::DataModule &data)
{
    const QString table = data.table(u"CAL");
    const int code = data.nextKey(table, QStringLiteral("CAL_COD"));
    const QDate first = data.period().firstDay();
    data.insertRow(table, QStringLiteral(" (CAL_COD,CAL_IME,CAL_MESEC,CAL_GODINA,CAL_RABDNI) "),
                   {code, QStringLiteral(" "), first.month(), first.year(), defaultMonthText(5, first, lawCalendar(data))});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("CAL"));
    return code;
}

bool setWorkingDays(storage::DataModule &data, int code, const QString &text, QString *error)
{
    const bool valid = text.size() == 31 && std::all_of(text.begin(), text.end(), [](QChar ch) {
                           return ch == QLatin1Char('0') || ch == QLatin1Char('1');
                       });
    if (!valid) {
        if (error)
            *error = QStringLiteral("Работните дни трябва да са 31 знака \"0\" или \"1\".");
        return false;
    }
    fb::Statement::run(data.transaction(), QStringLiteral("UPDATE %1 SET CAL_RABDNI=? WHERE CAL_COD=?").arg(data.table(u"CAL")),
                       {text, code});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("CAL"));
    return true;
}

void setCalendarName(storage::DataModule &data, int code, const QString &name)
{
    fb::Statement::run(data.transaction(), QStringLiteral("UPDATE %1 SET CAL_IME=? WHERE CAL_COD=?").arg(data.table(u"CAL")),
                       {name, code});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("CAL"));
}

} // namespace plavex::reference
