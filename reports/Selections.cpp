#include "reports/Selections.h"

#include "storage/DataModule.h"
#include "storage/fb/Statement.h"

namespace plavex::reports {

std::vector<NumberedName> activeEmployees(storage::DataModule &data)
{
    std::vector<NumberedName> list;
    fb::Statement q(data.transaction(), QStringLiteral("SELECT PERSON_NOMER,PERSON_IME,PERSON_ID FROM %1 WHERE PERSON_ACT=1 "
                                                       "ORDER BY PERSON_NOMER")
                                            .arg(data.table(u"PERSONS")));
    q.execute();
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), q.toText(1).trimmed(), static_cast<int>(q.toInt(2))});
    return list;
}

std::pair<int, int> defaultRange(const std::vector<NumberedName> &employees)
{
    if (employees.empty())
        return {0, 0};
    return {employees.front().number, employees.back().number};
}

QString checkRange(const QString &from, const QString &to)
{
    if (from.trimmed().isEmpty() || to.trimmed().isEmpty())
        return QStringLiteral("Моля въведете начален и краен номер!");
    return {};
}

QStringList recapTypeNames()
{
    return {QStringLiteral("Пълна"), QStringLiteral("Обща"),  QStringLiteral("На звено"), QStringLiteral("На група"),
            QStringLiteral("Ставка за ССС"), QStringLiteral("Теми"), QStringLiteral("За период")};
}

std::vector<NumberedName> namedUnits(storage::DataModule &data)
{
    std::vector<NumberedName> list;
    fb::Statement q(data.transaction(),
                    QStringLiteral("SELECT ZVENO_COD, ZVENO_IME FROM %1 WHERE ZVENO_IME<>'' ORDER BY ZVENO_COD")
                        .arg(data.table(u"ZVENA")));
    q.execute();
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), q.toText(1).trimmed()});
    return list;
}

QString checkRecapType(RecapType type, const QString &unitText)
{
    if (type == RecapType::Unit && unitText.trimmed().isEmpty())
        return QStringLiteral("Моля попълнете полето номер на звено или натиснете бутона \"Изход\".");
    return {};
}

} // namespace plavex::reports
