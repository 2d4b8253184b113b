#include "calc/Parameters.h"

#include "storage/DataModule.h"

namespace plavex::calc {

void Parameters::attach(storage::DataModule &data)
{
    data.addTableListener([this, &data](const QString &base) { reload(data, base); });
}

void Parameters::reload(storage::DataModule &data, const QString &base)
{
    if (!data.isConnected())
        return;
    if (base == QLatin1String("FIRMA")) {
        reference::loadCompany(data, company);
    } else if (base == QLatin1String("NOI")) {
        rates = reference::loadRates(data);
    } else if (base == QLatin1String("DOD")) {
        taxScale = reference::loadTaxScale(data, data.table(u"DOD"));
    } else if (base == QLatin1String("DL") || base == QLatin1String("KAT")) {
        positions = reference::loadPositions(data);
    } else if (base == QLatin1String("PERADEFS")) {
        definitions = items::loadDefinitions(data);
    } else if (base == QLatin1String("CAL")) {
        lawCalendar = reference::lawCalendar(data);
        loadCalendar(data, calendar.code);
    }
}

void Parameters::reloadAll(storage::DataModule &data)
{
    for (const char *base : {"FIRMA", "NOI", "DOD", "DL", "PERADEFS", "CAL"})
        reload(data, QString::fromLatin1(base));
    loaded = data.isConnected();
}

void Parameters::ensureLoaded(storage::DataModule &data)
{
    if (!loaded)
        reloadAll(data);
}

bool Parameters::loadCalendar(storage::DataModule &data, int code)
{
    calendarError.clear();
    return reference::loadCalendar(data, code, calendar, &calendarError);
}

const reference::Position &Parameters::findPosition(int code) const
{
    static const reference::Position none;
    for (const reference::Position &p : positions)
        if (p.code == code)
            return p;
    return positions.empty() ? none : positions.front();
}

double Parameters::hoursPerDay() const
{
    // No figure is known for other weeks; a working day stays 8 hours.
    return company.workingWeek == 6 ? kHoursPerDaySixDayWeek : kHoursPerDayFiveDayWeek;
}

} // namespace plavex::calc
