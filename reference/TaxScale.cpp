#include "reference/TaxScale.h"

#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Rounding.h"

namespace plavex::reference {

namespace {

double walk(const TaxScale &scale, double amount, int decimals)
{
    size_t bracket = 0;
    for (size_t i = 0; i < scale.size() && amount >= scale[i].limit; ++i)
        bracket = i;
    const TaxBracket &b = scale[bracket];
    if (amount < b.limit)
        return 0.0;
    return util::roundHalfEven((amount - b.limit) * b.rate + b.sum, decimals);
}

} // namespace

TaxScale loadTaxScale(storage::DataModule &data, const QString &table)
{
    TaxScale scale;
    fb::Statement q(data.transaction(),
                    QStringLiteral("SELECT DOD_MINLIMIT, DOD_SUMA, DOD_PROC FROM %1 ORDER BY DOD_MINLIMIT")
                        .arg(storage::DataModule::checkedName(table)));
    while (q.next())
        scale.push_back({q.toDouble(0), q.toDouble(1), q.toDouble(2)});
    return scale;
}

double taxOfYear(const TaxScale &scale, int year, double amount, int decimals)
{
    if (scale.empty())
        return 0.0;
    if (year >= 2008) {
        const TaxBracket &b = scale.front();
        return util::roundHalfEven((amount - b.limit) * b.rate + b.sum, decimals);
    }
    return walk(scale, amount, decimals);
}

double taxFromTable(const TaxScale &scale, double amount, int decimals)
{
    if (scale.size() < 2)
        return 0.0;
    return walk(scale, amount, decimals);
}

void addTaxBracket(storage::DataModule &data, const TaxBracket &b)
{
    data.insertValues(data.table(u"DOD"), QStringLiteral("DOD_GOD,DOD_MINLIMIT,DOD_SUMA,DOD_PROC"),
                      {data.period().year(), b.limit, b.sum, b.rate});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("DOD"));
}

void editTaxBracket(storage::DataModule &data, double oldLimit, const TaxBracket &b)
{
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET DOD_MINLIMIT=?, DOD_SUMA=?, DOD_PROC=? WHERE DOD_MINLIMIT=?").arg(data.table(u"DOD")),
                       {b.limit, b.sum, b.rate, oldLimit});
    data.commitRetaining();
    data.tableChanged(QStringLiteral("DOD"));
}

void deleteTaxBracket(storage::DataModule &data, double limit)
{
    data.deleteRows(data.table(u"DOD"), QStringLiteral("DOD_MINLIMIT=?"), {limit});
    data.commitRetaining();
    // Reloaded at once: a tax from a bracket that is gone would be wrong.
    data.tableChanged(QStringLiteral("DOD"));
}

} // namespace plavex::reference
