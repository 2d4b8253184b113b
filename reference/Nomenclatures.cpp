#include "reference/Nomenclatures.h"

#include "reference/Company.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/Schema.h"
#include "storage/TableNames.h"
#include "storage/fb/Statement.h"

namespace plavex::reference {

namespace {

const QString kCancel = QStringLiteral("Моля въведете друг номер или натиснете бутона \"ОТКАЗ\"");

} // namespace

QString nameOf(storage::DataModule &data, Named kind, int code)
{
    QString sql;
    switch (kind) {
    case Named::Position: sql = QStringLiteral("select DL_IME from %1 where DL_COD=?").arg(data.table(u"DL")); break;
    case Named::Unit: sql = QStringLiteral("select ZVENO_IME from %1 where ZVENO_COD=?").arg(data.table(u"ZVENA")); break;
    case Named::Town: sql = QStringLiteral("select GRAD_IME from %1 where GRAD_COD=?").arg(data.table(u"GRAD")); break;
    }
    return fb::Statement::scalar(data.transaction(), sql, {code}).toString().trimmed();
}

std::vector<Position> loadPositions(storage::DataModule &data)
{
    std::vector<Position> list;
    fb::Statement q(data.transaction(), QStringLiteral("select d.DL_COD, d.DL_IME, k.KAT_LIMIT from %1 d left join %2 k "
                                                       "on k.KAT_COD = d.DL_KSTEPEN order by d.DL_COD")
                                            .arg(data.table(u"DL"), data.table(u"KAT")));
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), q.toText(1).left(30), q.toDouble(2)});
    if (list.empty())
        list.push_back({});
    return list;
}

QString activityNumberOf(storage::DataModule &data, const QString &code)
{
    return fb::Statement::scalar(data.transaction(),
                                 QStringLiteral("select NKID_PORN from %1 WHERE NKID_KID=?").arg(data.table(u"NKID")),
                                 {code.trimmed().left(4)})
        .toString()
        .trimmed();
}

QString checkTown(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Моля попълнете полето \"ИМЕ\" или натиснете бутона \"ОТКАЗ\".");
    return {};
}

QString checkUnit(const QString &code, const QString &name)
{
    if (code.trimmed().isEmpty() || name.trimmed().isEmpty())
        return QStringLiteral("Моля попълнете полетата или натиснете бутона \"ОТКАЗ\".");
    return {};
}

QString checkUnitCode(storage::DataModule &data, const QString &code)
{
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (code.trimmed().isEmpty() || !ok)
        return {};
    if (data.notExists(data.table(u"ZVENA"), QStringLiteral("ZVENO_COD"), n))
        return {};
    return QStringLiteral("В базата данни вече съществува звено с код %1.\n").arg(code.trimmed()) + kCancel;
}

QString checkPosition(const QString &code, const QString &name, const QString &category, const QString &activity,
                      const QString &activityNumber)
{
    for (const QString *field : {&code, &name, &category, &activity, &activityNumber})
        if (field->trimmed().isEmpty())
            return QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\".");
    return {};
}

QString checkPositionCode(storage::DataModule &data, const QString &code, const QString &original)
{
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (!ok || code.trimmed() == original.trimmed())
        return {};
    if (data.notExists(data.table(u"DL"), QStringLiteral("DL_COD"), n))
        return {};
    return QStringLiteral("В базата данни вече съществува длъжност с код %1.\n").arg(code.trimmed()) + kCancel;
}

int addTown(storage::DataModule &data, const QString &name, int regionCode)
{
    const int code = data.nextKey(QStringLiteral("GRAD"), QStringLiteral("GRAD_COD"));
    data.insertValues(QStringLiteral("GRAD"), QStringLiteral("GRAD_COD,GRAD_IME,GRAD_OBSCOD"), {code, name.trimmed(), regionCode});
    data.commitRetaining();
    return code;
}

int addUnit(storage::DataModule &data, const QString &name, int distributionCode)
{
    const QString table = data.table(u"ZVENA");
    const int code = data.nextKey(table, QStringLiteral("ZVENO_COD"));
    data.insertValues(table, QStringLiteral("ZVENO_COD,ZVENO_IME,ZVENO_CODRAZ"), {code, name.trimmed(), distributionCode});
    data.commitRetaining();
    return code;
}

int addPosition(storage::DataModule &data, const QString &name, int category, const QString &activity, int activityNumber)
{
    const QString table = data.table(u"DL");
    const int code = data.nextKey(table, QStringLiteral("DL_COD"));
    data.insertValues(table, QStringLiteral("DL_COD,DL_IME,DL_KSTEPEN,DL_SHIFAR,DL_PORNOMER"),
                      {code, name.trimmed(), category, activity.trimmed(), activityNumber});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("DL"));
    return code;
}

void setPositionCategory(storage::DataModule &data, int code, int category)
{
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET DL_KSTEPEN=?, DL_PORNOMER=0 WHERE DL_COD=?").arg(data.table(u"DL")),
                       {category, code});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("DL"));
}

void setPositionActivity(storage::DataModule &data, int code, const QString &activity, int activityNumber)
{
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET DL_SHIFAR=?, DL_PORNOMER=? WHERE DL_COD=?").arg(data.table(u"DL")),
                       {activity.trimmed(), activityNumber, code});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("DL"));
}

void replaceServiceNomenclatures(storage::DataModule &data)
{
    const util::Period period = data.period();
    const int year = period.year();
    const QString pril1 = storage::names::yearTable(u"PRIL1", year);
    const QString bin = storage::names::yearTable(u"BIN", year);
    const QString dod = storage::names::yearTable(u"DOD", year);
    const QString nap = storage::names::yearTable(u"NAP", year);
    const QString noi = storage::names::noiTable(period);
    const QString nkid = storage::names::yearTable(u"NKID", year);
    for (const QString &table : {pril1, bin, dod, nap, noi, nkid})
        fb::Statement::run(data.transaction(), QStringLiteral("delete from ") + table);

    storage::Schema &schema = data.schema();
    schema.seedDod(dod, year);
    schema.seedNkid(nkid);
    schema.seedPril1(pril1, year);
    schema.seedNap(nap, year);
    schema.seedNoi(noi, period);
    schema.seedBin(bin, year);
    data.commitRetaining();

    Company company;
    loadCompany(data, company);
    refreshMinimumIncome(data, company.activityCode, company.activityNumber);
    data.openPeriod(period);
}

} // namespace plavex::reference
