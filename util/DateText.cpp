#include "util/DateText.h"

#include "util/CompactDate.h"

namespace plavex::util {

QString displayDateFormat(QChar dateSeparator)
{
    return QStringLiteral("dd") + dateSeparator + QStringLiteral("MM") + dateSeparator + QStringLiteral("yyyy");
}

QString monthFormat(QChar dateSeparator) { return QStringLiteral("MM") + dateSeparator + QStringLiteral("yyyy"); }

QString documentDate(const QDate &date) { return date.toString(displayDateFormat(u'.')); }

QString daysText(int days) { return QString::number(days) + (days == 1 || days == -1 ? QStringLiteral(" ден") : QStringLiteral(" дни")); }

QDate emptyDate() { return QDate(1899, 12, 31); }

QString emptyDateText(QChar dateSeparator) { return emptyDate().toString(displayDateFormat(dateSeparator)); }

QDate dateFromEightDigits(QString &text, QChar dateSeparator)
{
    const auto compact = CompactDate::fromEightDigits(text);
    const QDate date = compact && compact->day != 0 ? compact->toDate() : QDate();
    if (!date.isValid()) {
        text.clear();
        return emptyDate();
    }
    text = date.toString(displayDateFormat(dateSeparator));
    if (dateSeparator != u'.') // the database reads month first with "/" or "-"
        text = text.mid(3, 2) + dateSeparator + text.left(2) + dateSeparator + text.mid(6, 4);
    return date;
}

} // namespace plavex::util
