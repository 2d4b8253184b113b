#include "operations/BulkOperations.h"

#include "calc/CalcPerson.h"
#include "items/ItemTypes.h"
#include "items/Items.h"
#include "reference/Calendar.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/Savepoint.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"
#include "util/Prompter.h"
#include "util/Rounding.h"

namespace plavex::operations {

namespace {

QString three(double value) { return QString::number(util::roundHalfEven(value, 3), 'f', 3); }

// Name and type of the code's first definition in the month.
std::optional<items::Definition> definitionOf(storage::DataModule &data, int code)
{
    fb::Statement q(data.transaction(), QStringLiteral("select PERODEFS_TYP, PERODEFS_IME, PERODEFS_HARS from %1 where PERODEFS_COD=?")
                                            .arg(data.table(u"PERADEFS")));
    q.bind(0, code);
    if (!q.next())
        return std::nullopt;
    return items::makeDefinition(code, static_cast<int>(q.toInt(0)), q.toText(1), q.toText(2));
}

QString monthAndYear(storage::DataModule &data)
{
    // Inside a sentence: "месец януари 2008 г."
    return QStringLiteral("%1 %2").arg(util::monthName(data.period().month()).toLower()).arg(data.period().year());
}

std::vector<int> personIds(storage::DataModule &data, const QString &condition = {})
{
    fb::Statement q(data.transaction(), QStringLiteral("SELECT PERSON_ID FROM %1%2 ORDER BY PERSON_ID").arg(data.table(u"PERSONS"), condition));
    std::vector<int> ids;
    while (q.next())
        ids.push_back(static_cast<int>(q.toInt(0)));
    return ids;
}

// Before the unit: making the month's default calendars commits.
void prepareRecalculation(storage::DataModule &data) { reference::ensureDefaultCalendars(data); }

// Inside the caller's unit of work, so that the items and their amounts
// commit together; an employee who cannot be calculated undoes the unit.
void recalculateInUnit(storage::DataModule &data, calc::Parameters &params)
{
    calc::Walk walk;
    walk.commit = false;
    const calc::Recalculation done = calc::recalculateAll(data, params, walk);
    if (!done.failures.empty())
        throw std::runtime_error(QStringLiteral("Служител с номер %1 не може да бъде изчислен: %2")
                                     .arg(done.failures.front().number)
                                     .arg(done.failures.front().reason)
                                     .toStdString());
}

qint64 count(storage::DataModule &data, const QString &sql, const QVariantList &values)
{
    return fb::Statement::scalar(data.transaction(), sql, values).toLongLong();
}

} // namespace

std::optional<int> deleteCodeFromAll(storage::DataModule &data, int code, util::Prompter &prompter,
                                     calc::Parameters &params)
{
    const auto definition = definitionOf(data, code);
    if (!definition) {
        prompter.message(QStringLiteral("Няма перо с код %1 в месец %2 г.").arg(code).arg(monthAndYear(data)));
        return std::nullopt;
    }
    if (items::isTotal(definition->type)) {
        prompter.message(QStringLiteral("Перата за общите суми не се изтриват."));
        return std::nullopt;
    }
    if (!prompter.confirm(QStringLiteral("Сигурни ли сте, че искате да изтриете перо %1 %2 от данните на всички служители за "
                                         "месец %3 г ?")
                              .arg(code)
                              .arg(definition->name, monthAndYear(data))))
        return std::nullopt;
    prepareRecalculation(data);
    data.lockPeriod();
    const QString pera = data.table(u"PERA");
    storage::Savepoint unit(data.transaction());
    const int deleted = static_cast<int>(count(data, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE PERO_COD=?").arg(pera), {code}));
    fb::Statement::run(data.transaction(), QStringLiteral("DELETE FROM %1 WHERE PERO_COD=?").arg(pera), {code});
    recalculateInUnit(data, params);
    unit.release();
    data.commitRetaining();
    return deleted;
}

std::optional<int> addItemToAll(storage::DataModule &data, const items::ItemRecord &item, util::Prompter &prompter,
                                calc::Parameters &params)
{
    int type = 0;
    const QString problem = items::checkItemCode(data, QString::number(item.code), &type);
    if (!problem.isEmpty()) {
        prompter.message(problem);
        return std::nullopt;
    }
    if (!prompter.confirm(QStringLiteral("Сигурни ли сте, че искате да добавите въведеното от вас перо за всички служители в "
                                         "данните за месец %1 г ?")
                              .arg(monthAndYear(data))))
        return std::nullopt;
    int added = 0;
    prepareRecalculation(data);
    {
        storage::Savepoint unit(data.transaction());
        int next = data.nextKey(data.table(u"PERA"), QStringLiteral("PERO_PEROID"));
        for (const int person : personIds(data, QStringLiteral(" WHERE PERSON_ACT=1"))) {
            items::ItemRecord r = item;
            r.type = type;
            r.person = person;
            r.id = next;
            if (items::insertItem(data, r) != 0) {
                ++next;
                ++added;
            }
        }
        recalculateInUnit(data, params);
        unit.release();
    }
    data.commitRetaining();
    return added;
}

std::vector<items::Definition> percentDefinitions(storage::DataModule &data)
{
    fb::Statement q(data.transaction(), QStringLiteral("select PERODEFS_COD, PERODEFS_TYP, PERODEFS_IME, PERODEFS_HARS from %1 where "
                                                       "PERODEFS_TYP  in (3,5,7,29,35,139,146,147,150,151,152,153) "
                                                       "ORDER BY PERODEFS_COD")
                                            .arg(data.table(u"PERADEFS")));
    std::vector<items::Definition> list;
    while (q.next())
        list.push_back(items::makeDefinition(static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)), q.toText(2), q.toText(3)));
    return list;
}

double firstPercent(storage::DataModule &data, int code)
{
    return fb::Statement::scalar(data.transaction(), QStringLiteral("SELECT PERO_SUMA1 FROM %1 WHERE PERO_COD=?").arg(data.table(u"PERA")),
                                 {code})
        .toDouble();
}

QString checkPercentFields(const QString &code, const QString &oldPercent, const QString &newPercent)
{
    if (code.trimmed().isEmpty() || oldPercent.trimmed().isEmpty() || newPercent.trimmed().isEmpty())
        return QStringLiteral("Моля попълнете данни и в 3-те полета или натиснете бутона \"Изход\".");
    return {};
}

std::optional<int> changePercent(storage::DataModule &data, int code, double oldPercent, double newPercent,
                                 util::Prompter &prompter, calc::Parameters *params)
{
    if (!prompter.confirm(QStringLiteral("Сигурни ли сте, че искате да редактирате процента в перо номер %1 от %2 на %3 ?")
                              .arg(code)
                              .arg(three(oldPercent), three(newPercent))))
        return std::nullopt;
    if (params && data.autocalc())
        prepareRecalculation(data);
    // Compared as the column's own decimals: a double could miss 12.5 stored as 12.500.
    data.lockPeriod();
    const QString pera = data.table(u"PERA");
    const QString match = QStringLiteral("PERO_COD=? AND PERO_SUMA1=CAST(? AS NUMERIC(12,3))");
    storage::Savepoint unit(data.transaction());
    const int changed = static_cast<int>(
        count(data, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(pera, match), {code, three(oldPercent)}));
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET PERO_SUMA1=CAST(? AS NUMERIC(12,3)) WHERE %2").arg(pera, match),
                       {three(newPercent), code, three(oldPercent)});
    if (params && data.autocalc() && changed > 0)
        recalculateInUnit(data, *params);
    unit.release();
    data.commitRetaining();
    return changed;
}

std::vector<PercentCorrection> correctPercents(storage::DataModule &data)
{
    const auto rates = reference::loadRates(data);
    const QString persons = data.table(u"PERSONS");
    const QString pera = data.table(u"PERA");
    const QString defs = data.table(u"PERADEFS");
    std::vector<PercentCorrection> done;
    data.lockPeriod();
    storage::Savepoint unit(data.transaction());
    struct Group {
        int number;
        QString condition;
    };
    for (const Group &g : {Group{1, reference::sqlBornBefore1960()}, Group{2, reference::sqlBornAfter1959()}}) {
        // The query has no order of its own; the lowest id makes the reference repeatable.
        fb::Statement reference(data.transaction(), QStringLiteral("SELECT PERSON_ID,PERSON_NOS,PERSON_NOSN FROM %1 WHERE %2 AND "
                                                                   "PERSON_ACT=1 ORDER BY PERSON_ID")
                                                        .arg(persons, g.condition));
        if (!reference.next())
            continue;
        const int id = static_cast<int>(reference.toInt(0));
        const reference::NoiType *rate =
            reference::findRate(rates, util::textToInt(reference.toText(1)), static_cast<int>(reference.toInt(2)));
        reference.close();
        if (!rate)
            continue;
        std::vector<int> codes;
        {
            fb::Statement q(data.transaction(),
                            QStringLiteral("SELECT PERO_COD,PERO_TYPE FROM %1 WHERE PERO_PERSONID=? AND PERO_TYPE=139").arg(pera));
            q.bind(0, id);
            while (q.next())
                codes.push_back(static_cast<int>(q.toInt(0)));
        }
        for (const int code : codes) {
            const QString flags = fb::Statement::scalar(data.transaction(),
                                                        QStringLiteral("SELECT PERODEFS_HARS FROM %1 WHERE PERODEFS_COD=? AND "
                                                                       "PERODEFS_TYP=139")
                                                            .arg(defs),
                                                        {code})
                                      .toString();
            const double percent = util::roundHalfEven(reference::contributionPercent(*rate, flags, g.number == 2), 3);
            if (percent == 0)
                continue;
            fb::Statement::run(data.transaction(), QStringLiteral("UPDATE %1 SET PERO_SUMA1=CAST(? AS NUMERIC(12,3)) WHERE PERO_COD=?").arg(pera),
                               {three(percent), code});
            done.push_back({g.number, code, percent});
        }
    }
    unit.release();
    data.commitRetaining();
    return done;
}

std::vector<NegativeNet> negativeNets(storage::DataModule &data, calc::Parameters &params, util::Prompter *progress)
{
    calc::Walk walk;
    walk.progress = progress;
    calc::recalculateAll(data, params, walk);
    fb::Statement q(data.transaction(),
                    QStringLiteral("Select p.PERO_PERSONID, p.PERO_SUMA, e.PERSON_NOMER, e.PERSON_IME from %1 p left join %2 e "
                                   "on e.PERSON_ID=p.PERO_PERSONID where p.PERO_TYPE=201 and p.PERO_SUMA<0 order by e.PERSON_NOMER")
                        .arg(data.table(u"PERA"), data.table(u"PERSONS")));
    std::vector<NegativeNet> list;
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(2)), q.toText(3), q.toDouble(1)});
    return list;
}

QString noNegativeNets() { return QStringLiteral("Няма намерени."); }

std::optional<int> insertType145(storage::DataModule &data, int code, const std::vector<EmployeeAmount> &rows,
                                 util::Prompter &prompter, calc::Parameters *params)
{
    const auto definition = definitionOf(data, code);
    if (!definition || definition->type != 145) {
        prompter.message(QStringLiteral("Перо с код %1 не е от тип 145.").arg(code));
        return std::nullopt;
    }
    const QString pera = data.table(u"PERA");
    int added = 0;
    if (params && data.autocalc())
        prepareRecalculation(data);
    {
        storage::Savepoint unit(data.transaction());
        fb::Statement::run(data.transaction(), QStringLiteral("DELETE FROM %1 WHERE PERO_COD=?").arg(pera), {code});
        int next = data.nextKey(pera, QStringLiteral("PERO_PEROID"));
        for (const EmployeeAmount &row : rows) {
            if (!data.notExistsWhere(pera, QStringLiteral("PERO_COD=? AND PERO_TYPE=145 AND PERO_PERSONID=?"), {code, row.personId}))
                continue;
            data.insertRow(pera, QStringLiteral(" (PERO_PERSONID,PERO_PEROID,PERO_COD,PERO_SUMA1,PERO_TYPE) "),
                           {row.personId, next++, code, row.amount, 145});
            ++added;
        }
        if (params && data.autocalc())
            recalculateInUnit(data, *params);
        unit.release();
    }
    data.commitRetaining();
    return added;
}

} // namespace plavex::operations
