#include "calc/CalcPerson.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "employees/Employees.h"
#include "items/Definitions.h"
#include "items/Items.h"
#include "storage/Catalogue.h"
#include "storage/ColumnValue.h"

namespace plavex::cli {

namespace {

// "field=value" for a column of the employee row; "SYSZ" and "PERSON_SYSZ" name the same.
std::optional<std::pair<QString, QVariant>> employeeField(const QString &arg, QString &error)
{
    const int eq = static_cast<int>(arg.indexOf(QLatin1Char('=')));
    if (eq <= 0) {
        error = QStringLiteral("Очаква се поле=стойност: \"%1\".").arg(arg.left(60));
        return std::nullopt;
    }
    QString column = arg.left(eq).trimmed().toUpper();
    if (!column.startsWith(QLatin1String("PERSON_")))
        column.prepend(QLatin1String("PERSON_"));
    const storage::TableDef &def = storage::catalogue::table(u"PERSONS");
    const int i = def.columnIndex(column);
    if (i < 0) {
        error = QStringLiteral("Няма поле %1.").arg(column.left(60));
        return std::nullopt;
    }
    QVariant v;
    error = storage::parseColumnValue(def.columns[static_cast<size_t>(i)],
                                      employees::normalizedField(column, arg.mid(eq + 1)).toString(), v);
    if (!error.isEmpty())
        return std::nullopt;
    return std::make_pair(column, v);
}

int employeeAdd(CliContext &c)
{
    const auto number = c.takeOption(QStringLiteral("--number"));
    const auto name = c.takeOption(QStringLiteral("--name"));
    const auto egn = c.takeOption(QStringLiteral("--egn"));
    QVariantMap fields;
    for (const QString &arg : c.args) {
        QString error;
        const auto field = employeeField(arg, error);
        if (!field)
            return c.fail(error);
        fields.insert(field->first, field->second);
    }
    if (const QString problem = employees::checkPanelFields(fields); !problem.isEmpty())
        return c.fail(problem);
    if (!c.openDatabase(false))
        return 1;
    employees::EmployeePanel panel(*c.data, c.settings.unitDivisor());
    util::RecordingPrompter checks;
    const int id = panel.create({number.value_or(QString()), name.value_or(QString()), egn.value_or(QString())}, checks, fields);
    if (!id)
        return c.fail(checks.messages.value(0));
    c.out << id << Qt::endl;
    return 0;
}

int employeeList(CliContext &c)
{
    if (!c.openDatabase(false))
        return 1;
    for (const auto &e : employees::listEmployees(*c.data))
        c.out << e.number << '\t' << e.name << '\t' << e.unit << '\t'
              << (e.active ? QStringLiteral("активен") : QStringLiteral("уволнен")) << Qt::endl;
    return 0;
}

int employeeCommand(CliContext &c)
{
    const QString sub = c.args.isEmpty() ? QString() : c.args.takeFirst();
    if (sub == QLatin1String("add"))
        return employeeAdd(c);
    if (sub == QLatin1String("list"))
        return employeeList(c);
    return c.fail(QStringLiteral("Употреба: plavex-cli employee add|list ..."));
}

std::optional<int> employeeId(CliContext &c)
{
    const auto number = c.takeOption(QStringLiteral("--employee"));
    bool ok = false;
    const int n = number.value_or(QString()).toInt(&ok);
    if (!ok) {
        c.fail(QStringLiteral("Посочете служител с --employee НОМЕР."));
        return std::nullopt;
    }
    if (!c.openDatabase(false))
        return std::nullopt;
    const auto id = employees::idByNumber(*c.data, n);
    if (!id)
        c.fail(QStringLiteral("Няма служител с номер %1.").arg(n));
    return id;
}

int itemAdd(CliContext &c)
{
    const auto code = c.takeOption(QStringLiteral("--code"));
    items::ItemRecord r;
    // Each option is read as the column it fills, with the column's limits.
    auto column = [&](const char *option, const char *name) -> std::optional<QVariant> {
        const auto text = c.takeOption(QString::fromLatin1(option));
        if (!text)
            return QVariant();
        QVariant v;
        const QString problem = storage::parseColumnValue(storage::catalogueColumn(u"PERA", QString::fromLatin1(name)), *text, v);
        if (!problem.isEmpty()) {
            c.fail(QStringLiteral("%1: %2").arg(QLatin1String(option), problem));
            return std::nullopt;
        }
        return v;
    };
    const auto suma1 = column("--suma1", "PERO_SUMA1");
    const auto suma2 = suma1 ? column("--suma2", "PERO_SUMA2") : std::nullopt;
    const auto days = suma2 ? column("--d", "PERO_D") : std::nullopt;
    const auto begin = days ? column("--begin", "PERO_BEGINDATE") : std::nullopt;
    const auto end = begin ? column("--end", "PERO_ENDDATE") : std::nullopt;
    const auto partida = end ? column("--partida", "PERO_PARTIDA") : std::nullopt;
    if (!partida)
        return 1;
    r.amount1 = suma1->toDouble();
    r.amount2 = suma2->toDouble();
    r.d = days->toInt();
    if (begin->isValid())
        r.begin = begin->toDate();
    if (end->isValid())
        r.end = end->toDate();
    r.partida = partida->toString();
    const auto id = employeeId(c);
    if (!id)
        return 1;
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Непознат аргумент \"%1\".").arg(c.args.first().left(60)));
    int type = 0;
    const QString problem = items::checkItemCode(*c.data, code.value_or(QString()), &type);
    if (!problem.isEmpty())
        return c.fail(problem);
    r.code = code->trimmed().toInt();
    items::ItemEntry entry(*c.data);
    // As after any item command in the window, the employee's month follows,
    // in the same unit: both or neither.
    const int itemId = entry.add(*id, r, false);
    calc::calcPerson(*c.data, c.parameters(), *id);
    c.data->commitRetaining();
    c.out << itemId << Qt::endl;
    return 0;
}

int itemList(CliContext &c)
{
    const auto id = employeeId(c);
    if (!id)
        return 1;
    const auto definitions = items::loadDefinitions(*c.data);
    for (const auto &i : items::employeeItems(*c.data, *id)) {
        c.out << i.code << '\t' << items::findDefinition(definitions, i.code).name << '\t' << i.type << '\t'
              << QString::number(i.amount1, 'f', 3) << '\t' << QString::number(i.amount2, 'f', 3) << '\t' << i.d << '\t'
              << (i.hasBegin() ? i.begin.toString(QStringLiteral("dd.MM.yyyy")) : QString()) << '\t'
              << (i.hasEnd() ? i.end.toString(QStringLiteral("dd.MM.yyyy")) : QString()) << '\t' << i.partida << '\t'
              << QString::number(i.final, 'f', 2) << Qt::endl;
    }
    return 0;
}

int itemCommand(CliContext &c)
{
    const QString sub = c.args.isEmpty() ? QString() : c.args.takeFirst();
    if (sub == QLatin1String("add"))
        return itemAdd(c);
    if (sub == QLatin1String("list"))
        return itemList(c);
    return c.fail(QStringLiteral("Употреба: plavex-cli item add|list ..."));
}

} // namespace

std::vector<Command> employeeCommands()
{
    return {
        {QStringLiteral("employee"),
         QStringLiteral("employee add --number N --name ИМЕ --egn ЕГН [поле=стойност ...] | employee list"), employeeCommand},
        {QStringLiteral("item"),
         QStringLiteral("item add --employee N --code КОД [--suma1 X --suma2 Y --d D --begin ДД.ММ.ГГГГ --end ДД.ММ.ГГГГ "
                        "--partida Т] | item list --employee N"),
         itemCommand},
    };
}

} // namespace plavex::cli
