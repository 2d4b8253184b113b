#include "reference/Rates.h"

#include "storage/Catalogue.h"
#include "storage/DataModule.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"

namespace plavex::reference {

namespace {
const storage::TableDef &noi()
{
    static const storage::TableDef &table = storage::catalogue::table(u"NOI");
    return table;
}
} // namespace

double NoiType::percent(QStringView column) const
{
    const int i = noi().columnIndex(column);
    return i < 0 || i >= values.size() ? 0.0 : values[i].toDouble();
}

QString NoiType::code(QStringView column) const
{
    const int i = noi().columnIndex(column);
    return i < 0 || i >= values.size() ? QString() : values[i].toString().trimmed();
}

std::vector<NoiType> loadRates(storage::DataModule &data)
{
    std::vector<NoiType> rates;
    const storage::TableDef &def = storage::catalogue::table(u"NOI");
    QStringList columns;
    for (const auto &c : def.columns)
        columns << QLatin1String(c.name);
    fb::Statement q(data.transaction(), QStringLiteral("select %1 from %2").arg(columns.join(QLatin1Char(',')), data.table(u"NOI")));
    while (q.next()) {
        NoiType r;
        for (int i = 0; i < q.columnCount(); ++i)
            r.values << q.value(i);
        r.type = r.values[0].toInt();
        r.variant = r.values[1].toInt();
        r.name = r.values[2].toString().trimmed();
        r.total = r.values[3].toDouble();
        rates.push_back(std::move(r));
    }
    return rates;
}

const NoiType *findRate(const std::vector<NoiType> &rates, int type, int variant)
{
    if (rates.empty())
        return nullptr;
    const int wanted = variant == 0 ? 1 : variant;
    for (const NoiType &r : rates)
        if (r.type == type && r.variant == wanted)
            return &r;
    return &rates.front();
}

double contributionPercent(const NoiType &rate, const QString &flags, bool later)
{
    const auto set = [&](int position) { return flags.size() >= position && flags.at(position - 1) == QLatin1Char('1'); };
    if (set(3) && set(4))
        return rate.percent(u"NOI_ZDR_NEPL");
    if (set(3))
        return rate.percent(u"NOI_ZDL");
    if (set(2) && set(5))
        return rate.percent(u"NOI_SOC_DZPO_LI60");
    if (set(2))
        return rate.percent(later ? u"NOI_SOC_LI60" : u"NOI_SOC_LI");
    if (set(4))
        return rate.percent(later ? u"NOI_PKB_LI60" : u"NOI_PKB_LI");
    if (set(5))
        return rate.percent(u"NOI_DZPO_LI60");
    return later ? rate.percent(u"NOI_ZAB_LI60") + rate.percent(u"NOI_PENSI_LI60")
                 : rate.percent(u"NOI_ZAB_LI") + rate.percent(u"NOI_PENSI_LI");
}

bool contributionOwed(const QString &flags, bool after1959)
{
    return after1959 || !(flags.size() >= 5 && flags.at(4) == QLatin1Char('1'));
}

namespace {
// The month of a number given to somebody born in 2000 or later is 41 to 52.
bool bornIn2000s(const QString &egn) { return egn.size() >= 3 && (egn[2] == u'4' || egn[2] == u'5'); }
} // namespace

bool bornAfter1959(const QString &egn)
{
    const QString e = egn.trimmed();
    return e > QLatin1String("6001010000") || (e < QLatin1String("6000000000") && bornIn2000s(e));
}

bool bornBefore1960(const QString &egn)
{
    const QString e = egn.trimmed();
    return e < QLatin1String("6000000000") && !bornIn2000s(e);
}

QString sqlBornBefore1960()
{
    return QStringLiteral("(PERSON_EGN<'6000000000' and substring(PERSON_EGN from 3 for 1) not in ('4','5'))");
}

QString sqlBornAfter1959()
{
    return QStringLiteral("(PERSON_EGN>'6000000000' or (PERSON_EGN<'6000000000' and substring(PERSON_EGN from 3 for 1) in ('4','5')))");
}

std::optional<QVariantMap> screenRateRow(storage::DataModule &data, const QString &insuredType)
{
    try {
        if (data.countRows(data.table(u"PERSONS"), QStringLiteral("PERSON_ID")) == 0)
            return std::nullopt;
        fb::Statement q(data.transaction(), QStringLiteral("SELECT * FROM %1 WHERE NOI_TYPE=? AND NOI_TYPEN=1 "
                                                           "ORDER BY NOI_TYPE,NOI_TYPEN")
                                                .arg(data.table(u"NOI")));
        q.bind(0, insuredType.trimmed().toInt());
        if (!q.next())
            return std::nullopt;
        return q.row();
    } catch (const fb::Error &) {
        return std::nullopt; // the panel just shows no rates
    }
}

void refreshMinimumIncome(storage::DataModule &data, const QString &activityCode, const QString &activityNumber,
                          std::optional<int> positionCode)
{
    if (!updateMinimumIncome(data, activityCode, activityNumber, positionCode))
        return;
    data.commitRetaining();
    data.tableChanged(QStringLiteral("DL"));
}

bool updateMinimumIncome(storage::DataModule &data, const QString &activityCode, const QString &activityNumber,
                         std::optional<int> positionCode)
{
    if (activityCode.trimmed().isEmpty() || activityNumber.trimmed().isEmpty())
        return false;
    const QString positions = data.table(u"DL");
    const int number = activityNumber.trimmed().toInt();
    if (!positionCode) {
        fb::Statement::run(data.transaction(), QStringLiteral("UPDATE %1 SET DL_SHIFAR=?").arg(positions), {activityCode.trimmed()});
        fb::Statement::run(data.transaction(), QStringLiteral("UPDATE %1 SET DL_PORNOMER=?").arg(positions), {number});
    }
    QString sql = QStringLiteral("SELECT DL_PORNOMER,DL_KSTEPEN,DL_COD FROM %1").arg(positions);
    QVariantList args;
    if (positionCode) {
        sql += QStringLiteral(" WHERE DL_COD=?");
        args << *positionCode;
    }
    fb::Statement q(data.transaction(), sql);
    q.bindAll(args);
    while (q.next()) {
        const int category = static_cast<int>(q.toInt(1));
        if (category < 1 || category > 9)
            continue;
        const QVariant limit = fb::Statement::scalar(
            data.transaction(),
            QStringLiteral("SELECT PRIL_K%1 FROM %2 WHERE PRIL_PORN=?").arg(category).arg(data.table(u"PRIL1")), {number});
        if (!limit.isValid())
            continue; // no row, or no figure: the limit stays
        fb::Statement::run(data.transaction(), QStringLiteral("UPDATE %1 SET KAT_LIMIT=? WHERE KAT_COD=?").arg(data.table(u"KAT")),
                           {limit.toDouble(), category});
    }
    return true;
}

std::vector<Category> loadCategories(storage::DataModule &data)
{
    std::vector<Category> list;
    fb::Statement q(data.transaction(), QStringLiteral("select KAT_COD, KAT_IME, KAT_LIMIT from %1 order by KAT_COD").arg(data.table(u"KAT")));
    while (q.next())
        list.push_back({static_cast<int>(q.toInt(0)), q.toText(1), q.toDouble(2)});
    return list;
}

} // namespace plavex::reference
