#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "calc/CalcPerson.h"
#include "declarations/Declaration1.h"
#include "declarations/Declaration6.h"
#include "employees/Employees.h"

#include <QDir>

namespace plavex::cli {

namespace {

int decl1(CliContext &c)
{
    const auto out = c.takeOption(QStringLiteral("--out"));
    const bool store = c.takeFlag(QStringLiteral("--store"));
    if (!out)
        return c.fail(QStringLiteral("Употреба: plavex-cli decl1 --out ПАПКА [--store]"));
    const auto folder = c.outFolder(*out);
    if (!folder || !c.openDatabase(false))
        return 1;
    const QString path = declarations::exportDeclaration1(*c.data, *folder, store, &c.parameters(), c.prompter);
    if (path.isEmpty())
        return 1;
    c.out << path << Qt::endl;
    return 0;
}

int decl1Corrections(CliContext &c)
{
    const auto out = c.takeOption(QStringLiteral("--out"));
    const bool allMonths = c.takeFlag(QStringLiteral("--all-months"));
    const auto numbers = c.takeOption(QStringLiteral("--employees"));
    if (!out)
        return c.fail(QStringLiteral("Употреба: plavex-cli decl1-corrections --out ПАПКА [--all-months] [--employees N,N…]"));
    const auto folder = c.outFolder(*out);
    if (!folder || !c.openDatabase(false))
        return 1;
    QList<int> ids;
    if (numbers) {
        for (const QString &n : numbers->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto id = employees::idByNumber(*c.data, n.trimmed().toInt());
            if (!id)
                return c.fail(QStringLiteral("Няма служител с номер %1.").arg(n.trimmed()));
            ids << *id;
        }
    } else {
        for (const auto &e : employees::listEmployees(*c.data))
            ids << e.id;
    }
    const QString path = declarations::exportCorrections(*c.data, *folder, ids, allMonths ? std::nullopt : std::optional<util::Period>(c.data->period()), c.prompter);
    if (path.isEmpty()) {
        c.err << QStringLiteral("Няма неизпратени корекции.") << Qt::endl;
        return 0;
    }
    c.out << path << Qt::endl;
    return 0;
}

int decl6(CliContext &c)
{
    const auto out = c.takeOption(QStringLiteral("--out"));
    if (!out)
        return c.fail(QStringLiteral("Употреба: plavex-cli decl6 --out ПАПКА"));
    const auto folder = c.outFolder(*out);
    if (!folder || !c.openDatabase(false))
        return 1;
    const QString path = declarations::exportDeclaration6(*c.data, *folder, &c.parameters(), c.prompter);
    if (path.isEmpty())
        return 1;
    c.out << path << Qt::endl;
    return 0;
}

} // namespace

std::vector<Command> declarationCommands()
{
    return {
        {QStringLiteral("decl1"), QStringLiteral("decl1 --out ПАПКА [--store]"), decl1},
        {QStringLiteral("decl1-corrections"), QStringLiteral("decl1-corrections --out ПАПКА [--all-months] [--employees N,N…]"),
         decl1Corrections},
        {QStringLiteral("decl6"), QStringLiteral("decl6 --out ПАПКА"), decl6},
    };
}

} // namespace plavex::cli
