#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "employees/Employees.h"
#include "operations/BulkOperations.h"
#include "operations/DemoCompany.h"
#include "operations/MonthClosing.h"
#include "storage/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace plavex::cli {

namespace {

std::optional<int> number(CliContext &c, const QString &text, const QString &what)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok) {
        c.fail(QStringLiteral("Невалидно число \"%1\" за %2.").arg(text, what));
        return std::nullopt;
    }
    return n;
}

std::optional<double> decimal(CliContext &c, const QString &text, const QString &what)
{
    bool ok = false;
    const double n = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    if (!ok) {
        c.fail(QStringLiteral("Невалидно число \"%1\" за %2.").arg(text, what));
        return std::nullopt;
    }
    return n;
}

int closeMonth(CliContext &c)
{
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Употреба: plavex-cli close-month [--yes]"));
    if (!c.openDatabase(false))
        return 1;
    if (!c.prompter.confirm(QStringLiteral("Сигурни ли сте?")))
        return 1;
    c.prompter.showProgress = true;
    const auto result = operations::closeMonth(*c.data, c.prompter, &c.parameters());
    if (result != operations::ClosingResult::Closed)
        return 1;
    c.out << c.data->period().text() << Qt::endl;
    return 0;
}

int bulkDeleteCode(CliContext &c)
{
    if (c.args.size() != 1)
        return c.fail(QStringLiteral("Употреба: plavex-cli bulk delete-code КОД --yes"));
    const auto code = number(c, c.args.first(), QStringLiteral("код"));
    if (!code || !c.openDatabase(false))
        return 1;
    const auto deleted = operations::deleteCodeFromAll(*c.data, *code, c.prompter, c.parameters());
    if (!deleted)
        return 1;
    c.out << *deleted << Qt::endl;
    return 0;
}

int bulkAddItem(CliContext &c)
{
    items::ItemRecord r;
    const auto code = c.takeOption(QStringLiteral("--code"));
    if (!code)
        return c.fail(QStringLiteral("Употреба: plavex-cli bulk add-item --code КОД [--suma1 X --suma2 Y --d D --begin ДД.ММ.ГГГГ "
                                     "--end ДД.ММ.ГГГГ --partida Т] --yes"));
    const auto parsedCode = number(c, *code, QStringLiteral("--code"));
    if (!parsedCode)
        return 1;
    r.code = *parsedCode;
    for (const auto &[option, target] : {std::pair{"--suma1", &r.amount1}, std::pair{"--suma2", &r.amount2}}) {
        if (const auto v = c.takeOption(QString::fromLatin1(option))) {
            const auto n = decimal(c, *v, QString::fromLatin1(option));
            if (!n)
                return 1;
            *target = *n;
        }
    }
    if (const auto v = c.takeOption(QStringLiteral("--d"))) {
        const auto n = number(c, *v, QStringLiteral("--d"));
        if (!n)
            return 1;
        r.d = *n;
    }
    for (const auto &[option, target] : {std::pair{"--begin", &r.begin}, std::pair{"--end", &r.end}}) {
        if (const auto v = c.takeOption(QString::fromLatin1(option))) {
            const QDate d = QDate::fromString(v->trimmed(), QStringLiteral("dd.MM.yyyy"));
            if (!d.isValid())
                return c.fail(QStringLiteral("Невалидна дата \"%1\" за %2 (ДД.ММ.ГГГГ).").arg(*v, QLatin1String(option)));
            *target = d;
        }
    }
    r.partida = c.takeOption(QStringLiteral("--partida")).value_or(QString());
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Непознат аргумент \"%1\".").arg(c.args.first()));
    if (!c.openDatabase(false))
        return 1;
    const auto added = operations::addItemToAll(*c.data, r, c.prompter, c.parameters());
    if (!added)
        return 1;
    c.out << *added << Qt::endl;
    return 0;
}

int bulkChangePercent(CliContext &c)
{
    const QString code = c.takeOption(QStringLiteral("--code")).value_or(QString());
    const QString oldText = c.takeOption(QStringLiteral("--old")).value_or(QString());
    const QString newText = c.takeOption(QStringLiteral("--new")).value_or(QString());
    const QString problem = operations::checkPercentFields(code, oldText, newText);
    if (!problem.isEmpty())
        return c.fail(problem);
    const auto parsedCode = number(c, code, QStringLiteral("--code"));
    const auto oldPercent = parsedCode ? decimal(c, oldText, QStringLiteral("--old")) : std::nullopt;
    const auto newPercent = oldPercent ? decimal(c, newText, QStringLiteral("--new")) : std::nullopt;
    if (!newPercent || !c.openDatabase(false))
        return 1;
    const auto changed = operations::changePercent(*c.data, *parsedCode, *oldPercent, *newPercent, c.prompter, &c.parameters());
    if (!changed)
        return 1;
    c.out << *changed << Qt::endl;
    return 0;
}

int bulkCorrectPercents(CliContext &c)
{
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Употреба: plavex-cli bulk correct-percents"));
    if (!c.openDatabase(false))
        return 1;
    for (const auto &done : operations::correctPercents(*c.data))
        c.out << done.group << '\t' << done.code << '\t' << QString::number(done.percent, 'f', 3) << Qt::endl;
    return 0;
}

int bulk(CliContext &c)
{
    const QString sub = c.args.isEmpty() ? QString() : c.args.takeFirst();
    if (sub == QLatin1String("delete-code"))
        return bulkDeleteCode(c);
    if (sub == QLatin1String("add-item"))
        return bulkAddItem(c);
    if (sub == QLatin1String("change-percent"))
        return bulkChangePercent(c);
    if (sub == QLatin1String("correct-percents"))
        return bulkCorrectPercents(c);
    return c.fail(QStringLiteral("Употреба: plavex-cli bulk delete-code|add-item|change-percent|correct-percents ..."));
}

int negativeNet(CliContext &c)
{
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Употреба: plavex-cli negative-net"));
    if (!c.openDatabase(false))
        return 1;
    c.prompter.showProgress = true;
    const auto list = operations::negativeNets(*c.data, c.parameters(), &c.prompter);
    if (list.empty())
        c.out << operations::noNegativeNets() << Qt::endl;
    for (const auto &row : list)
        c.out << row.number << '\t' << row.name << '\t' << QString::number(row.amount, 'f', 2) << Qt::endl;
    return 0;
}

int autocalc(CliContext &c)
{
    const QString state = c.args.size() == 1 ? c.args.first() : QString();
    if (state != QLatin1String("on") && state != QLatin1String("off"))
        return c.fail(QStringLiteral("Употреба: plavex-cli autocalc on|off"));
    if (!c.openDatabase(false))
        return 1;
    c.data->setAutocalc(state == QLatin1String("on"));
    return 0;
}

int backup(CliContext &c)
{
    if (c.args.size() > 1)
        return c.fail(QStringLiteral("Употреба: plavex-cli backup [ФАЙЛ]"));
    if (!c.openDatabase(false))
        return 1;
    const QString file = c.args.isEmpty() ? storage::defaultBackupFile(c.settings, c.data->period(), c.data->databasePath())
                                          : QFileInfo(c.args.first()).absoluteFilePath();
    // A new file needs no word; replacing an earlier backup does, as the
    // window's file dialog asks. A database is never replaced (refused below).
    const QFileInfo target(file);
    if (target.isFile() && !storage::isDatabaseFile(file) && !storage::sameFile(file, c.data->databasePath())
        && !c.prompter.confirm(QStringLiteral("Файлът %1 вече съществува. Да бъде ли заменен?").arg(file)))
        return 1;
    if (!storage::backupCurrent(*c.data, file))
        return 1;
    c.out << storage::backupLocation(file, c.data->databasePath()) << Qt::endl;
    return 0;
}

int restore(CliContext &c)
{
    const auto into = c.takeOption(QStringLiteral("--into"));
    if (c.args.size() != 1)
        return c.fail(QStringLiteral("Употреба: plavex-cli restore ФАЙЛ [--into ПЪТ] --yes"));
    const QString file = QFileInfo(c.args.first()).absoluteFilePath();
    if (!c.openDatabase(false))
        return 1;
    if (!c.prompter.confirm(storage::restoreQuestion()))
        return 1;
    if (into) {
        const QString target = fb::Connection::isRemote(*into) ? *into : QFileInfo(*into).absoluteFilePath();
        if (!storage::restoreInto(*c.data, file, target))
            return 1;
        c.out << target << Qt::endl;
        return 0;
    }
    if (!c.prompter.confirm(storage::restoreCurrentQuestion()))
        return 1;
    if (!storage::restoreOverCurrent(*c.data, file))
        return 1;
    c.out << c.data->databasePath() << ' ' << c.data->period().text() << Qt::endl;
    return 0;
}

int demo(CliContext &c)
{
    operations::DemoOptions options;
    const auto employees = c.takeOption(QStringLiteral("--employees"));
    const auto months = c.takeOption(QStringLiteral("--months"));
    const auto start = c.takeOption(QStringLiteral("--period"));
    if (!employees || !months || !c.args.isEmpty())
        return c.fail(QStringLiteral("Употреба: plavex-cli demo --employees N --months M [--period ММГГГГ]"));
    const auto n = number(c, *employees, QStringLiteral("--employees"));
    const auto m = n ? number(c, *months, QStringLiteral("--months")) : std::nullopt;
    if (!m)
        return 1;
    // Refused before anything is made: a refused demo leaves no database behind.
    if (*n < 1 || *n > 20000 || *m < 0 || *m > 120)
        return c.fail(QStringLiteral("Броят служители трябва да е от 1 до 20000, а броят месеци от 0 до 120."));
    options.employees = *n;
    options.months = *m;
    if (start) {
        const auto period = util::Period::fromText(*start);
        if (!period)
            return c.fail((QStringLiteral("Невалиден месец \"%1\": очаква се ММГГГГ. ") + util::Period::rangeMessage()).arg(*start));
        options.start = *period;
    }
    // A new database starts in the company's first month.
    c.settings.lastDate = options.start;
    const QString path = c.databasePath();
    const bool existed = fb::Connection::isRemote(path) || QFileInfo::exists(path);
    auto discard = [&] {
        // A database this command made and could not fill is no company.
        if (existed)
            return;
        if (c.data)
            c.data->abandon();
        QFile::remove(path);
    };
    if (!c.openDatabase(true)) {
        discard();
        return 1;
    }
    c.prompter.showProgress = true;
    std::optional<operations::DemoReport> report;
    try {
        report = operations::buildDemoCompany(*c.data, options, c.prompter, c.parameters());
    } catch (...) {
        discard();
        throw;
    }
    if (!report) {
        discard();
        return 1;
    }
    c.out << QStringLiteral("Текущ месец: %1, служители: %2, назначени: %3, напуснали: %4, приключени месеци: %5")
                 .arg(c.data->period().text())
                 .arg(report->employees)
                 .arg(report->hired)
                 .arg(report->dismissed)
                 .arg(report->monthsClosed)
          << Qt::endl;
    return 0;
}

} // namespace

std::vector<Command> monthCommands()
{
    return {
        {QStringLiteral("close-month"), QStringLiteral("close-month [--yes]"), closeMonth},
        {QStringLiteral("bulk"),
         QStringLiteral("bulk delete-code КОД --yes | bulk add-item --code КОД [--suma1 X ...] --yes | "
                        "bulk change-percent --code КОД --old X --new Y --yes | bulk correct-percents"),
         bulk},
        {QStringLiteral("negative-net"), QStringLiteral("negative-net"), negativeNet},
        {QStringLiteral("autocalc"), QStringLiteral("autocalc on|off"), autocalc},
        {QStringLiteral("backup"), QStringLiteral("backup [ФАЙЛ]"), backup},
        {QStringLiteral("restore"), QStringLiteral("restore ФАЙЛ [--into ПЪТ] --yes"), restore},
        {QStringLiteral("demo"), QStringLiteral("demo --employees N --months M [--period ММГГГГ]"), demo},
    };
}

} // namespace plavex::cli
