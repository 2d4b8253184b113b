#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "items/DefinitionReader.h"
#include "reference/Calendar.h"
#include "storage/Title.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"

#include <QFileInfo>

namespace plavex::cli {

namespace {

int init(CliContext &c)
{
    std::optional<util::Period> wanted;
    if (const auto text = c.takeOption(QStringLiteral("--period"))) {
        wanted = util::Period::fromText(*text);
        if (!wanted)
            return c.fail((QStringLiteral("Невалиден месец \"%1\": очаква се ММГГГГ. ") + util::Period::rangeMessage()).arg(*text));
        c.settings.lastDate = *wanted;
    }
    if (!c.openDatabase(true))
        return 1;
    if (wanted)
        c.data->changePeriod(wanted->year(), wanted->month());
    if (!c.seedsLoaded())
        return 1;
    c.out << c.data->databasePath() << ' ' << c.data->period().text() << Qt::endl;
    QStringList calendars;
    for (const reference::CalendarDays &cal : reference::calendarDays(*c.data))
        calendars << QStringLiteral("%1 %2 – %3").arg(cal.code).arg(cal.name, QString::number(cal.workingDays));
    c.out << QStringLiteral("Работни дни по календари: ") << calendars.join(QStringLiteral(", ")) << Qt::endl;
    return 0;
}

int period(CliContext &c)
{
    if (c.args.size() != 1)
        return c.fail(QStringLiteral("Употреба: plavex-cli period ММГГГГ"));
    const auto wanted = util::Period::fromText(c.args.first());
    if (!wanted)
        return c.fail((QStringLiteral("Невалиден месец \"%1\": очаква се ММГГГГ. ") + util::Period::rangeMessage()).arg(c.args.first()));
    if (!c.openDatabase(false))
        return 1;
    c.data->changePeriod(wanted->year(), wanted->month());
    if (!c.seedsLoaded())
        return 1;
    c.out << c.data->period().text() << Qt::endl;
    return 0;
}

int info(CliContext &c)
{
    const QString path = c.databasePath();
    if (!fb::Connection::isRemote(path) && !QFileInfo::exists(path))
        return c.fail(QStringLiteral("Базата данни %1 не съществува.").arg(path));
    c.data = std::make_unique<storage::DataModule>(c.settings, c.prompter, items::seedChart);
    if (!c.data->connectToDatabase(path, c.settings.serverUser(), c.settings.serverPassword()))
        return 1;
    storage::DataModule &d = *c.data;
    const qint64 tables = fb::Statement::scalar(d.transaction(), QStringLiteral(
        "select count(*) from RDB$RELATIONS where RDB$SYSTEM_FLAG=0 and RDB$VIEW_BLR is null")).toLongLong();
    const QString persons = d.table(u"PERSONS");
    const int employees = d.schema().tableExists(persons) ? d.countRows(persons, QStringLiteral("PERSON_ID")) : 0;
    c.out << QStringLiteral("База данни: ") << d.databasePath() << Qt::endl
          << QStringLiteral("Текущ месец: ") << d.period().text() << QStringLiteral(" (")
          << storage::periodCaption(d.period()) << ')' << Qt::endl
          << QStringLiteral("Autocalc: ") << (d.autocalc() ? 1 : 0) << Qt::endl
          << QStringLiteral("Служители: ") << employees << Qt::endl
          << QStringLiteral("Таблици: ") << tables << Qt::endl;
    return 0;
}

} // namespace

std::vector<Command> databaseCommands()
{
    return {
        {QStringLiteral("init"), QStringLiteral("init [--period ММГГГГ]"), init},
        {QStringLiteral("period"), QStringLiteral("period ММГГГГ"), period},
        {QStringLiteral("info"), QStringLiteral("info"), info},
    };
}

} // namespace plavex::cli
