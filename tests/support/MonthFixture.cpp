#include "tests/support/MonthFixture.h"

#include "storage/TableNames.h"

namespace plavex::test {

QString MonthFixture::table(QStringView base, const util::Period &period) { return storage::names::monthTable(base, period); }

int MonthFixture::addPerson(int number, const QString &name, const QVariantMap &columns)
{
    const int id = ++nextPerson_;
    QVariantMap all{{QStringLiteral("PERSON_ID"), id},
                    {QStringLiteral("PERSON_NOMER"), number},
                    {QStringLiteral("PERSON_IME"), name},
                    {QStringLiteral("PERSON_EGN"), QStringLiteral("7501010000")},
                    {QStringLiteral("PERSON_ACT"), 1},
                    {QStringLiteral("PERSON_SYSZ"), 1},
                    {QStringLiteral("PERSON_KALENDAR"), 1},
                    {QStringLiteral("PERSON_NOS"), QStringLiteral("01")},
                    {QStringLiteral("PERSON_NOSN"), 1}};
    for (auto it = columns.begin(); it != columns.end(); ++it)
        all.insert(it.key(), it.value());
    t.data->insertValues(table(u"PERSONS"), all.keys().join(QLatin1Char(',')), all.values());
    t.data->commitRetaining();
    return id;
}

void MonthFixture::addDefinition(int code, int type, const QString &flags)
{
    items::addDefinition(*t.data, items::makeDefinition(code, type, QStringLiteral("Перо %1").arg(code), flags));
}

int MonthFixture::addItem(int person, int code, int type, const QVariant &amount, const QVariant &amount1,
                          const QVariant &amount2, const QVariant &d, const QVariant &end)
{
    const int id = ++nextItem_ + 1000;
    t.data->insertValues(table(u"PERA"),
                         QStringLiteral("PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA,PERO_SUMA1,PERO_SUMA2,PERO_D,"
                                        "PERO_ENDDATE"),
                         {id, person, code, type, amount, amount1, amount2, d, end});
    t.data->commitRetaining();
    return id;
}

void MonthFixture::addSummary(int person, const util::Period &period, int sdni, int nsdni, int rabdni)
{
    t.data->insertValues(QStringLiteral("PERSDATA"),
                         QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SDNI,PERSDATA_NSDNI,PERSDATA_RABDNI"),
                         {person, period.year(), period.month(), sdni, nsdni, rabdni});
    t.data->commitRetaining();
}

} // namespace plavex::test
