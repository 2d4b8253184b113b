#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "employees/Employees.h"
#include "items/Definitions.h"
#include "items/Items.h"
#include "storage/Catalogue.h"

namespace plavex::cli {

namespace {

std::optional<QDate> parseDate(const QString &text)
{
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy"));
    if (!d.isValid())
        return std::nullopt;
    return d;
}

// "field=value" for a column of the employee row; "SYSZ" and "PERSON_SYSZ" name the same.
std::optional<std::pair<QString, QVariant>> employeeField(const QString &arg, QString &error)
{
    const int eq = static_cast<int>(arg.indexOf(QLatin1Char('=')));
    if (eq <= 0) {
        error = QStringLiteral("Очаква се поле=стойност: \"%1\".").arg(arg);
        return std::nullopt;
    }
    QString column = arg.left(eq).trimmed().toUpper();
    if (!column.startsWith(QLatin1String("PERSON_")))
        column.prepend(QLatin1String("PERSON_"));
    const storage::TableDef &def = storage::catalogue::table(u"PERSONS");
    const int i = def.columnIndex(column);
    if (i < 0) {
        error = QStringLiteral("Няма поле %1.").arg(column);
        return std::nullopt;
    }
    const QString value = arg.mid(eq + 1);
    const QLatin1String type(def.columns[static_cast<size_t>(i)].type);
    bool ok = true;
    QVariant v;
    if (type == QLatin1String("INTEGER") || type == QLatin1String("SMALLINT"))
        v = value.trimmed().toInt(&ok);
    else if (type == QLatin1String("NUMERIC"))
        v = value.trimmed().toDouble(&ok);
    else if (type == QLatin1String("DATE")) {
        const auto d = parseDate(value);
        ok = d.has_value() || value.trimmed().isEmpty();
        v = d ? QVariant(*d) : QVariant();
    } else
        v = value;
    if (!ok) {
        error = QStringLiteral("Невалидна стойност \"%1\" за %2.").arg(value, column);
        return std::nullopt;
    }
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
    if (!c.openDatabase(false))
        return 1;
    employees::EmployeePanel panel(*c.data, c.settings.unitDivisor());
    QStringList messages;
    util::RecordingPrompter checks;
    const int id = panel.create({number.value_or(QString()), name.value_or(QString()), egn.value_or(QString())}, checks);
    if (!id)
        return c.fail(checks.messages.value(0));
    panel.post(id, fields);
    const QString problem = panel.save(id);
    if (!problem.isEmpty()) {
        panel.cancel();
        return c.fail(problem);
    }
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
    auto number = [&](const char *option, double &target) {
        if (const auto v = c.takeOption(QString::fromLatin1(option))) {
            bool ok = false;
            target = v->trimmed().toDouble(&ok);
            if (!ok)
                throw std::invalid_argument(QStringLiteral("Невалидно число \"%1\" за %2.").arg(*v, QLatin1String(option)).toStdString());
        }
    };
    auto date = [&](const char *option, QDate &target) {
        if (const auto v = c.takeOption(QString::fromLatin1(option))) {
            const auto d = parseDate(*v);
            if (!d)
                throw std::invalid_argument(QStringLiteral("Невалидна дата \"%1\" за %2 (ДД.ММ.ГГГГ).").arg(*v, QLatin1String(option)).toStdString());
            target = *d;
        }
    };
    try {
        number("--suma1", r.amount1);
        number("--suma2", r.amount2);
        double d = 0;
        number("--d", d);
        r.d = static_cast<int>(d);
        date("--begin", r.begin);
        date("--end", r.end);
    } catch (const std::invalid_argument &e) {
        return c.fail(QString::fromUtf8(e.what()));
    }
    r.partida = c.takeOption(QStringLiteral("--partida")).value_or(QString());
    const auto id = employeeId(c);
    if (!id)
        return 1;
    int type = 0;
    const QString problem = items::checkItemCode(*c.data, code.value_or(QString()), &type);
    if (!problem.isEmpty())
        return c.fail(problem);
    r.code = code->trimmed().toInt();
    items::ItemEntry entry(*c.data);
    const int itemId = entry.add(*id, r);
    // As after any item command in the window, the employee's month follows.
    c.recalculate()(*c.data, *id);
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
