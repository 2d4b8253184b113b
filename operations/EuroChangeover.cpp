#include "operations/EuroChangeover.h"

#include "storage/TableNames.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"
#include "util/Currency.h"

#include <QVariant>

#include <map>
#include <memory>

namespace plavex::operations {

namespace {

using R = EuroRule;

// What the entered amounts of each type are. Types not listed carry no
// money of their own in PERO_SUMA1/PERO_SUMA2 (their amounts are computed).
//
// | types                              | PERO_SUMA1        | PERO_SUMA2          |
// |------------------------------------|-------------------|---------------------|
// | 1 (monthly pay)                    | pay               | new pay; hours on hourly pay (3) |
// | 2, 4, 19, 32                       | pay (per day)     | changed pay         |
// | 6, 10, 17, 18, 30, 31, 33, 34, 37  | pay               | —                   |
// | 8, 9                               | pay per hour      | hours               |
// | 3, 7, 29, 35, 52                   | percentage        | —                   |
// | 5                                  | hours             | percentage          |
// | 16                                 | points            | —                   |
// | 11–15, 20–28                       | — (days in PERO_D)| —                   |
// | 101, 141, 143, 145, 155, 198       | deduction amount  | —                   |
// | 142, 144, 148, 197                 | deduction amount  | deduction amount    |
// | 139, 146, 147, 150–153             | percentage        | —                   |
// Earnings (types below 100) and the amount to receive (201) are the
// employee's pay: they round up; deductions and the rest round half up.
struct TypeMoney {
    std::initializer_list<int> types;
    EuroRule amount1;
    EuroRule amount2;
};
const TypeMoney kTypeMoney[] = {
    {{1}, R::RoundingUp, R::RoundingUp},
    {{2, 4, 19, 32}, R::RoundingUp, R::RoundingUp},
    {{6, 10, 17, 18, 30, 31, 33, 34, 37}, R::RoundingUp, R::None},
    {{8, 9}, R::RoundingUp, R::None},
    {{101, 141, 143, 145, 155, 198}, R::HalfUp, R::None},
    {{142, 144, 148, 197}, R::HalfUp, R::HalfUp},
};

constexpr int kHourlyPay = 3;

struct CompanyAmount {
    const char *name;
    const char *caption;
    EuroRule rule;
};
const CompanyAmount kCompanyAmounts[] = {
    {"FIRMA_MINSALARY", "Мин.заплата", R::RoundingUp},
    {"FIRMA_INDDOO", "Максимален осигурителен доход", R::HalfUp},
    {"FIRMA_MINDOH", "Минимален осигурителен доход", R::HalfUp},
    {"FIRMA_OBMAJKI", "Обезщетение майки", R::RoundingUp},
    {"FIRMA_MINSAL", "Минимална заплата (стара)", R::HalfUp},
};

QString fixed2(double v) { return QString::number(v, 'f', 2); }

} // namespace

double toEuro(double leva, EuroRule rule)
{
    switch (rule) {
    case R::RoundingUp: return util::euroRoundingUp(leva);
    case R::HalfUp: return util::euroHalfUp(leva);
    case R::None: break;
    }
    return leva;
}

ItemMoney itemMoney(int type, int paySystem)
{
    ItemMoney m;
    m.computed = type < 100 || type == 201 ? R::RoundingUp : R::HalfUp;
    for (const TypeMoney &t : kTypeMoney)
        if (std::find(t.types.begin(), t.types.end(), type) != t.types.end()) {
            m.amount1 = t.amount1;
            m.amount2 = t.amount2;
        }
    if (type == 1 && paySystem == kHourlyPay)
        m.amount2 = R::None;
    return m;
}

EuroRule companyAmountRule(QStringView column)
{
    for (const CompanyAmount &c : kCompanyAmounts)
        if (column == QString::fromLatin1(c.name))
            return c.rule;
    return R::None;
}

bool isEuroChangeover(const util::Period &oldMonth, const util::Period &newMonth)
{
    return util::levaIntoEuro(oldMonth, newMonth);
}

QStringList convertCarriedMonthToEuro(fb::Transaction &tx, const util::Period &oldMonth, const util::Period &newMonth)
{
    using storage::names::monthTable;
    using storage::names::yearTable;
    QStringList list;
    auto line = [&list](const QString &who, const QString &what, double leva, double euro) {
        list << who.leftJustified(46, QLatin1Char(' '), true) + QLatin1Char(' ') + what.leftJustified(34, QLatin1Char(' '), true)
                    + fixed2(leva).rightJustified(13) + fixed2(euro).rightJustified(13);
    };

    // Items, with the employee and the item's name for the list.
    const QString pera = monthTable(u"PERA", newMonth);
    const QString persons = monthTable(u"PERSONS", newMonth);
    const QString defs = monthTable(u"PERADEFS", newMonth);
    struct Item {
        QByteArray key;
        QString who;
        QString what;
        ItemMoney money;
        double amount1, amount2, amount, correction, final;
        int type;
    };
    std::vector<Item> items;
    {
        fb::Statement q(tx, QStringLiteral("SELECT a.RDB$DB_KEY,a.PERO_TYPE,a.PERO_COD,a.PERO_SUMA1,a.PERO_SUMA2,a.PERO_SUMA,"
                                           "a.PERO_SUMAKOR,a.PERO_SUMAFINAL,p.PERSON_SYSZ,p.PERSON_NOMER,p.PERSON_IME,"
                                           "(SELECT FIRST 1 d.PERODEFS_IME FROM %3 d WHERE d.PERODEFS_COD=a.PERO_COD) "
                                           "FROM %1 a LEFT JOIN %2 p ON p.PERSON_ID=a.PERO_PERSONID "
                                           "ORDER BY p.PERSON_NOMER,a.PERO_TYPE,a.PERO_COD")
                                .arg(pera, persons, defs));
        while (q.next()) {
            Item it;
            it.key = q.value(0).toByteArray();
            it.type = static_cast<int>(q.toInt(1));
            it.money = itemMoney(it.type, static_cast<int>(q.toInt(8)));
            it.amount1 = q.toDouble(3);
            it.amount2 = q.toDouble(4);
            it.amount = q.toDouble(5);
            it.correction = q.toDouble(6);
            it.final = q.toDouble(7);
            it.who = QString::number(q.toInt(9)) + QLatin1Char(' ') + q.toText(10);
            it.what = QString::number(q.toInt(2)) + QLatin1Char(' ') + q.toText(11);
            items.push_back(std::move(it));
        }
    }
    fb::Statement update(tx, QStringLiteral("UPDATE %1 SET PERO_SUMA1=?,PERO_SUMA2=?,PERO_SUMA=?,PERO_SUMAKOR=?,PERO_SUMAFINAL=? "
                                            "WHERE RDB$DB_KEY=?")
                                 .arg(pera));
    for (const Item &it : items) {
        const double a1 = toEuro(it.amount1, it.money.amount1);
        const double a2 = toEuro(it.amount2, it.money.amount2);
        const double a = toEuro(it.amount, it.money.computed);
        if (it.money.amount1 != R::None && it.amount1 != 0)
            line(it.who, it.what, it.amount1, a1);
        if (it.money.amount2 != R::None && it.amount2 != 0)
            line(it.who, it.what + QStringLiteral(" (втора сума)"), it.amount2, a2);
        if (it.type == 143 && it.amount != 0) // the total still to pay off
            line(it.who, it.what + QStringLiteral(" (остатък)"), it.amount, a);
        update.bindAll({a1, a2, a, toEuro(it.correction, it.money.computed), toEuro(it.final, it.money.computed), it.key});
        update.execute();
    }

    const QString firma = monthTable(u"FIRMA", newMonth);
    for (const CompanyAmount &c : kCompanyAmounts) {
        const QString column = QString::fromLatin1(c.name);
        const QVariant v = fb::Statement::scalar(tx, QStringLiteral("SELECT FIRST 1 %1 FROM %2").arg(column, firma));
        if (!v.isValid() || v.isNull() || v.toDouble() == 0)
            continue;
        const double euro = toEuro(v.toDouble(), c.rule);
        fb::Statement::run(tx, QStringLiteral("UPDATE %1 SET %2=?").arg(firma, column), {euro});
        line(QStringLiteral("Фирма"), QString::fromUtf8(c.caption), v.toDouble(), euro);
    }

    // Employees' recomputed annual tax.
    {
        std::vector<std::pair<int, double>> kordod;
        fb::Statement q(tx, QStringLiteral("SELECT PERSON_ID,PERSON_KORDOD FROM %1 WHERE PERSON_KORDOD<>0").arg(persons));
        while (q.next())
            kordod.emplace_back(static_cast<int>(q.toInt(0)), q.toDouble(1));
        fb::Statement set(tx, QStringLiteral("UPDATE %1 SET PERSON_KORDOD=? WHERE PERSON_ID=?").arg(persons));
        for (const auto &[id, leva] : kordod) {
            set.bindAll({util::euroHalfUp(leva), id});
            set.execute();
        }
    }

    // The year tables are new: the categories' limits and the annex of
    // minimum incomes of the old year go on in euro until the new year's
    // own are filled in.
    const QString oldKat = yearTable(u"KAT", oldMonth.year());
    const QString newKat = yearTable(u"KAT", newMonth.year());
    if (oldKat != newKat) {
        std::vector<std::pair<int, double>> limits;
        {
            fb::Statement q(tx, QStringLiteral("SELECT KAT_COD,KAT_LIMIT FROM %1 WHERE KAT_LIMIT<>0").arg(oldKat));
            while (q.next())
                limits.emplace_back(static_cast<int>(q.toInt(0)), q.toDouble(1));
        }
        fb::Statement set(tx, QStringLiteral("UPDATE %1 SET KAT_LIMIT=? WHERE KAT_COD=? AND KAT_LIMIT=0").arg(newKat));
        for (const auto &[code, leva] : limits) {
            set.bindAll({util::euroHalfUp(leva), code});
            set.execute();
        }
    }
    const QString oldAnnex = yearTable(u"PRIL1", oldMonth.year());
    const QString newAnnex = yearTable(u"PRIL1", newMonth.year());
    if (oldAnnex != newAnnex
        && fb::Statement::scalar(tx, QStringLiteral("SELECT COUNT(*) FROM %1").arg(newAnnex)).toInt() == 0) {
        std::vector<QVariantList> rows;
        QStringList all;
        {
            fb::Statement q(tx, QStringLiteral("SELECT * FROM %1").arg(oldAnnex));
            for (int c = 0; c < q.columnCount(); ++c)
                all << q.columnName(c);
            while (q.next()) {
                QVariantList row;
                for (int c = 0; c < q.columnCount(); ++c)
                    row << q.value(c);
                rows.push_back(row);
            }
        }
        if (!rows.empty()) {
            fb::Statement insert(tx, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                         .arg(newAnnex, all.join(QLatin1Char(',')),
                                              QStringLiteral("?,").repeated(all.size()).chopped(1)));
            for (QVariantList row : rows) {
                for (int c = 0; c < all.size(); ++c)
                    if (all[c].startsWith(QLatin1String("PRIL_K")) && !row[c].isNull())
                        row[c] = util::euroHalfUp(row[c].toDouble());
                insert.bindAll(row);
                insert.execute();
            }
        }
    }
    return list;
}

} // namespace plavex::operations
