#include "storage/TableNames.h"

namespace plavex::storage::names {

bool hasNoi200710(const util::Period &period) { return period.year() == 2007 && period.month() >= 10; }

QString monthTable(QStringView base, const util::Period &period) { return base.toString() + period.text(); }

QString yearTable(QStringView base, int year)
{
    return base.toString() + QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
}

QString noiTable(const util::Period &period)
{
    QString name = yearTable(u"NOI", period.year());
    if (hasNoi200710(period))
        name += QStringLiteral("10");
    return name;
}

QString table(QStringView base, const util::Period &period)
{
    const TableDef &def = catalogue::table(base);
    if (base.compare(u"NOI", Qt::CaseInsensitive) == 0)
        return noiTable(period);
    switch (def.scope) {
    case Scope::Month:
        return monthTable(QString::fromLatin1(def.base), period);
    case Scope::Year:
        return yearTable(QString::fromLatin1(def.base), period.year());
    case Scope::Global:
    case Scope::Users:
        break;
    }
    return QString::fromLatin1(def.base);
}

} // namespace plavex::storage::names
