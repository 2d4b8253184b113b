#include "declarations/Empl2000Record.h"

#include "declarations/QuotedField.h"
#include "storage/Catalogue.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"
#include "util/NumberText.h"
#include "util/Rounding.h"

#include <cmath>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace plavex::declarations {

namespace {

const storage::TableDef &def()
{
    static const storage::TableDef &table = storage::catalogue::table(u"EMPL2000");
    return table;
}

// A line reads and writes about a hundred fields: each name is found in a
// table made once, not by a walk over the columns. A name spelt otherwise
// than the catalogue does is still found by that walk.
struct ViewHash {
    size_t operator()(QStringView v) const { return qHash(v); }
};

int indexOf(QStringView column)
{
    static const auto byName = [] {
        static std::vector<QString> names;
        std::unordered_map<QStringView, int, ViewHash> map;
        for (const auto &c : def().columns)
            names.push_back(QString::fromLatin1(c.name));
        for (size_t i = 0; i < names.size(); ++i)
            map.emplace(names[i], static_cast<int>(i));
        return map;
    }();
    const auto found = byName.find(column);
    return found != byName.end() ? found->second : def().columnIndex(column);
}

int indexOf(const char *column)
{
    static const auto byName = [] {
        std::unordered_map<std::string_view, int> map;
        for (size_t i = 0; i < def().columns.size(); ++i)
            map.emplace(def().columns[i].name, static_cast<int>(i));
        return map;
    }();
    const auto found = byName.find(column);
    return found != byName.end() ? found->second : def().columnIndex(QString::fromLatin1(column));
}

QString dec(double v, int decimals) { return util::fixedNumber(v, 0, decimals); }
QString w2(int v) { return util::rightAligned(v, 2); }
QString two(int v) { return util::zeroPadded(v, 2); }
QString quoted(const QString &t) { return quotedField(t); }
QString dayField(int day) { return day > 0 ? two(day) : QStringLiteral("0"); }

} // namespace

Empl2000Record::Empl2000Record()
{
    for (size_t i = 0; i < def().columns.size(); ++i)
        values_ << QVariant();
}

Empl2000Record Empl2000Record::fromQuery(const fb::Statement &q)
{
    Empl2000Record r;
    for (int i = 0; i < q.columnCount(); ++i)
        r.set(q.columnName(i), q.value(i));
    return r;
}

QVariant Empl2000Record::get(QStringView column) const
{
    const int i = indexOf(column);
    return i < 0 ? QVariant() : values_[i];
}

QVariant Empl2000Record::get(const char *column) const
{
    const int i = indexOf(column);
    return i < 0 ? QVariant() : values_[i];
}

void Empl2000Record::set(QStringView column, const QVariant &value)
{
    const int i = indexOf(column);
    if (i >= 0)
        values_[i] = value;
}

QString recordToLine(const Empl2000Record &r, LineVariant variant, bool windowsFormat, const LineHours &hours)
{
    const bool stored = variant == LineVariant::Stored;
    QStringList f;
    auto n = [&](const char *c) { return r.get(c).toDouble(); };
    auto i = [&](const char *c) { return r.get(c).toInt(); };
    auto t = [&](const char *c) { return r.get(c).toString().trimmed(); };

    f << QString::number(i("EMPL2000_MES")) << QString::number(i("EMPL2000_GOD")) << quoted(t("EMPL2000_BULSTAT"))
      << quoted(t("EMPL2000_EGN")) << QString::number(i("EMPL2000_LNCHFL")) << quoted(t("EMPL2000_FAMILIA"))
      << quoted(t("EMPL2000_INICIALI")) << QString::number(t("EMPL2000_PCODE").toInt()) << quoted(t("EMPL2000_OBLAST"))
      << quoted(t("EMPL2000_GRAD")) << quoted(t("EMPL2000_PERSADDR")) << QString::number(i("EMPL2000_VIDOSIG"))
      << QString::number(i("EMPL2000_OSIGCOD")) << dayField(i("EMPL2000_OSIGDAYBEGIN1")) << dayField(i("EMPL2000_OSIGDAYEND1"));
    for (int k = 16; k <= 23; ++k)
        f << QStringLiteral("0");
    f << quoted(r.text(u"EMPL2000_TOTALSTAJDAYS")) << w2(i("EMPL2000_ODAYS")) << w2(i("EMPL2000_BOLDAYS"))
      << w2(i("EMPL2000_CHILDDAYS")) << w2(i("EMPL2000_NPLDAYSSTAJ")) << w2(i("EMPL2000_OTHERDAYSSTAJ"));
    f << QStringLiteral("0.00") << QStringLiteral("0.0") << QStringLiteral("0.0");

    const int percentDecimals = stored ? 2 : 3;
    if (n("EMPL2000_WCOSOC") > 0)
        f << dec(n("EMPL2000_WCOSOC"), 2) << dec(n("EMPL2000_PROCSOCPKBFI"), percentDecimals)
          << dec(n("EMPL2000_PROCSOCPKBLI"), percentDecimals);
    else
        f << QStringLiteral("0.00") << QStringLiteral("0.00") << QStringLiteral("0.00");
    if (n("EMPL2000_SUMSOC") > 0)
        f << dec(n("EMPL2000_SUMSOC"), 2) << dec(n("EMPL2000_NOI_PENSI_FI"), 3) << dec(n("EMPL2000_NOI_PENSI_LI"), 3);
    else
        f << QStringLiteral("0.00") << QStringLiteral("0.00") << QStringLiteral("0.00");
    f << dec(n("EMPL2000_NOI_U4"), 2) << QStringLiteral("0.0") << QStringLiteral("0.0") << QStringLiteral("0")
      << QStringLiteral("0.0") << QStringLiteral("0");
    if (n("EMPL2000_WCOSOC") > 0 || n("EMPL2000_SUMSOC") > 0)
        f << dec(n("EMPL2000_PROCUPFFONDFI"), 3) << dec(n("EMPL2000_PROCUPFFONDLI"), 3);
    else
        f << QStringLiteral("0.00") << QStringLiteral("0.00");
    f << QString::number(i("EMPL2000_ZDRVIDOS")) << QString::number(i("EMPL2000_ZDROSIGCOD"));
    if (stored)
        f << QString::number(i("EMPL2000_ZDROSIGDAYBEGIN")) << QString::number(i("EMPL2000_ZDROSIGDAYEND"));
    else
        f << dayField(i("EMPL2000_ZDROSIGDAYBEGIN")) << dayField(i("EMPL2000_ZDROSIGDAYEND"));
    if (n("EMPL2000_ZDRSUMOSIGVN") > 0)
        f << dec(n("EMPL2000_ZDRSUMOSIGVN"), 2) << dec(n("EMPL2000_PROCZDROSIGVNFI"), 3) << dec(n("EMPL2000_PROCZDROSIGVNLI"), 3);
    else
        f << dec(n("EMPL2000_ZDRSUMOSIGVN"), 2) << QStringLiteral("0.00") << QStringLiteral("0.00");
    if (n("EMPL2000_ZDROBESHT") > 0)
        f << dec(n("EMPL2000_ZDROBESHT"), 2) << dec(n("EMPL2000_PROCZDRVNOSIGFI"), percentDecimals);
    else
        f << QStringLiteral("0.00") << QStringLiteral("0.00");
    if (n("EMPL2000_ZDROSIGDOH") > 0) {
        const double p = n("EMPL2000_PROCZDRVNOSIGFI1");
        f << dec(n("EMPL2000_ZDROSIGDOH"), 2) << (stored && p == 0 ? QStringLiteral("0.0") : dec(p, percentDecimals));
    } else {
        f << QStringLiteral("0.00") << QStringLiteral("0.0");
    }
    f << QString::number(i("EMPL2000_ZDRLICOSIGBROI"));
    for (int k = 1; k <= 6; ++k) {
        const QString egn = r.text(QStringLiteral("EMPL2000_EGNNERAB%1").arg(k)).trimmed();
        f << quoted(egn.isEmpty() ? QString(10, QLatin1Char(' ')) : egn) << QStringLiteral("0");
    }
    if (stored && i("EMPL2000_VIDOSIG") == 27)
        f << QStringLiteral("0") << quoted(QStringLiteral("    "));
    else
        f << QString::number(i("EMPL2000_NKIDPORN")) << quoted(t("EMPL2000_NKID"));
    f << QString::number(i("EMPL2000_PORNKVGR")) << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0")
      << quoted(QStringLiteral(" ")) << dec(n("EMPL2000_OSIGDOHDZPO"), 2) << QString::number(i("EMPL2000_NAMALRABOT"));
    const bool garantOwed = i("EMPL2000_GARVZFL") == 1 && n("EMPL2000_SUMBRUTO") > 0;
    f << QString::number(stored ? (garantOwed ? 1 : 0) : i("EMPL2000_GARVZFL")) << w2(i("EMPL2000_TRZLOPDAYS"))
      << QStringLiteral("0");
    if (stored || hours.worked < 0) {
        f << QString::number(i("EMPL2000_OHOURS")) << QString::number(i("EMPL2000_IZVHOURS"));
    } else {
        f << util::rightAligned(static_cast<long long>(util::roundHalfEven(hours.worked, 0)), 3)
          << QString::number(static_cast<long long>(util::roundHalfEven(hours.overtime, 0)));
    }
    f << dec(n("EMPL2000_SUMDETE"), 2) << dec(n("EMPL2000_BSUMMAJKI"), 2);
    const double accident = n("EMPL2000_BSUMTZPB");
    f << (accident == 0 && !stored ? QStringLiteral("0.00") : dec(accident, 3));
    f << dec(n("EMPL2000_SUMBRUTO"), 2) << dec(n("EMPL2000_GARVZPROC"), 3) << dec(n("EMPL2000_OBLDOH"), 2)
      << dec(n("EMPL2000_S54"), 2) << QStringLiteral("0") << dec(n("EMPL2000_WNETNO"), 2);
    if (i("EMPL2000_GOD") >= 2007)
        f << w2(i("EMPL2000_DNINETRUDRAB")) << dec(n("EMPL2000_MESDANUK"), 3);
    f << QString::number(i("EMPL2000_FLKOR"));
    f << quoted(windowsFormat ? QStringLiteral("NRAD12008") : QStringLiteral("DHI2000"));
    return f.join(QLatin1Char(','));
}

QByteArray encodeLine(const QString &line, bool windowsFormat)
{
    const QByteArray windows = util::toCp1251(line);
    return (windowsFormat ? windows : util::cp1251ToDos(windows)) + "\r\n";
}

void storeRecord(storage::DataModule &data, Empl2000Record &r, bool replaceEarlier)
{
    const QString table = QStringLiteral("EMPL2000");
    data.lockFor(table);
    if (replaceEarlier)
        data.deleteRows(table,
                        QStringLiteral("EMPL2000_PERSONID=? AND EMPL2000_MES=? AND EMPL2000_GOD=? AND EMPL2000_FLKOR=?"),
                        {r.get(u"EMPL2000_PERSONID"), r.get(u"EMPL2000_MES"), r.get(u"EMPL2000_GOD"), r.get(u"EMPL2000_FLKOR")});
    r.set(u"EMPL2000_ID", data.nextKey(table, QStringLiteral("EMPL2000_ID")));
    r.set(u"EMPL2000_DATECREATED", QDate::currentDate());
    QStringList columns;
    for (const auto &c : storage::catalogue::table(u"EMPL2000").columns)
        columns << QLatin1String(c.name);
    data.insertValues(table, columns.join(QLatin1Char(',')), r.values());
}

} // namespace plavex::declarations
