#include "declarations/Declaration6.h"

#include "calc/CalcPerson.h"
#include "calc/MonthlyRecord.h"
#include "declarations/QuotedField.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"
#include "util/NumberText.h"
#include "util/Prompter.h"
#include "util/Rounding.h"
#include "util/FileError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>
#include <stdexcept>

namespace plavex::declarations {

namespace {

const QString kBefore1960 = QStringLiteral(" and ") + reference::sqlBornBefore1960();
const QString kAfter1959 = QStringLiteral(" and ") + reference::sqlBornAfter1959();

QString money(double v) { return util::fixedNumber(v, 0, 2); }
QString quoted(const QString &t) { return quotedField(t); }

} // namespace

std::vector<InsurancePair> insurancePairs(storage::DataModule &data, std::optional<int> unit)
{
    std::vector<InsurancePair> pairs;
    fb::Statement q(data.transaction(), QStringLiteral("select distinct PERSON_NOS ,PERSON_NOSN from %1 where person_act=1%2")
                                            .arg(data.table(u"PERSONS"), unit ? QStringLiteral(" AND PERSON_ZVENO=?") : QString()));
    if (unit)
        q.bind(0, *unit);
    while (q.next())
        pairs.push_back({q.toText(0), static_cast<int>(q.toInt(1))});
    return pairs;
}

const reference::NoiType *pairRate(const std::vector<reference::NoiType> &rates, const InsurancePair &pair)
{
    const reference::NoiType *rate = nullptr;
    for (const auto &r : rates)
        if (r.type == pair.type.trimmed().toInt() && r.variant == pair.variant)
            rate = &r;
    return rate;
}

QString pairCondition(const InsurancePair &pair, AgeGroup group, std::optional<int> unit, QVariantList &values)
{
    QString condition = QStringLiteral("PERSON_NOS=? and PERSON_NOSN=?");
    values << pair.type << pair.variant;
    if (group == AgeGroup::Before1960)
        condition += kBefore1960;
    else if (group == AgeGroup::After1959)
        condition += kAfter1959;
    if (unit) {
        condition += QStringLiteral(" AND PERSON_ZVENO=?");
        values << *unit;
    }
    return condition;
}

PairSums::PairSums(storage::DataModule &data, const QStringList &columns, std::optional<int> unit) : columns_(columns)
{
    QStringList sums;
    for (const QString &c : columns)
        sums << QStringLiteral("SUM(d.%1)").arg(storage::DataModule::checkedName(c));
    // A NULL type or sequence number belongs to no pair, as an equality on it would not.
    fb::Statement q(data.transaction(),
                    QStringLiteral("select p.PERSON_NOS, p.PERSON_NOSN, case when %1 then 1 when %2 then 2 else 0 end, "
                                   "case when p.PERSON_GARVZ=1 then 1 else 0 end, %3 from persdata d join %4 p on "
                                   "p.PERSON_ID=d.PERSDATA_PERSONID where p.PERSON_ACT=1 and p.PERSON_NOS is not null and "
                                   "p.PERSON_NOSN is not null and d.PERSDATA_MES=? and d.PERSDATA_GOD=?%5 group by 1, 2, 3, 4")
                        .arg(QString(reference::sqlBornBefore1960()).replace(QLatin1String("PERSON_EGN"), QLatin1String("p.PERSON_EGN")),
                             QString(reference::sqlBornAfter1959()).replace(QLatin1String("PERSON_EGN"), QLatin1String("p.PERSON_EGN")),
                             sums.join(QLatin1Char(',')), data.table(u"PERSONS"),
                             unit ? QStringLiteral(" and p.PERSON_ZVENO=?") : QString()));
    QVariantList values{data.period().month(), data.period().year()};
    if (unit)
        values << *unit;
    q.bindAll(values);
    while (q.next()) {
        Row r;
        r.type = q.toText(0);
        r.variant = static_cast<int>(q.toInt(1));
        const int group = static_cast<int>(q.toInt(2));
        r.group = group == 1 ? AgeGroup::Before1960 : group == 2 ? AgeGroup::After1959 : AgeGroup::Both;
        r.fund = q.toInt(3) == 1;
        for (int i = 0; i < columns.size(); ++i)
            r.mills.push_back(std::llround(q.toDouble(4 + i) * 1000));
        rows_.push_back(std::move(r));
    }
}

double PairSums::sum(const InsurancePair &pair, AgeGroup group, const QString &column, bool fundOnly) const
{
    const qsizetype c = columns_.indexOf(column);
    if (c < 0)
        throw std::logic_error("PairSums: column not read: " + column.toStdString());
    qint64 total = 0;
    for (const Row &r : rows_)
        if (r.type == pair.type.trimmed() && r.variant == pair.variant && (group == AgeGroup::Both || r.group == group)
            && (!fundOnly || r.fund))
            total += r.mills[static_cast<size_t>(c)];
    return total / 1000.0;
}

std::vector<RecapBottom> buildContributionTable(storage::DataModule &data)
{
    std::vector<RecapBottom> table;
    for (const InsurancePair &pair : insurancePairs(data))
        table.push_back({pair.type, pair.variant, {}, {}, {}, 0.0});
    const auto rates = reference::loadRates(data);
    const double accident = fb::Statement::scalar(data.transaction(), QStringLiteral("select FIRMA_DOOPROCF3 from ")
                                                                           + data.table(u"FIRMA"))
                                .toDouble();
    const PairSums sums(data, {QStringLiteral("PERSDATA_WCOSUMA32"), QStringLiteral("PERSDATA_SUDOO"), QStringLiteral("PERSDATA_SUPKB"),
                               QStringLiteral("PERSDATA_SUSOCR"), QStringLiteral("PERSDATA_WCOSOC"), QStringLiteral("PERSDATA_SUDZPO"),
                               QStringLiteral("PERSDATA_SZDR"), QStringLiteral("PERSDATA_SUZDR"), QStringLiteral("PERSDATA_SMAJ"),
                               QStringLiteral("PERSDATA_S6ZDR"), QStringLiteral("PERSDATA_SZDRN"), QStringLiteral("PERSDATA_BOLN_NOI"),
                               QStringLiteral("PERSDATA_WCOGARANT")});
    for (RecapBottom &row : table) {
        const InsurancePair pair{row.insuredType, row.variant};
        const reference::NoiType *rate = pairRate(rates, pair);
        auto pct = [&](const char *column) { return rate ? rate->percent(QString::fromLatin1(column)) : 0.0; };
        auto s1 = [&](const char *c) { return sums.sum(pair, AgeGroup::Before1960, QString::fromLatin1(c)); };
        auto s2 = [&](const char *c) { return sums.sum(pair, AgeGroup::After1959, QString::fromLatin1(c)); };
        auto s = [&](const char *c) { return sums.sum(pair, AgeGroup::Both, QString::fromLatin1(c)); };
        const double p1 = s1("PERSDATA_WCOSUMA32");
        const double p2 = s2("PERSDATA_WCOSUMA32");
        row.a[0] = s1("PERSDATA_SUDOO") + (pct("NOI_PENSI_FI") + pct("NOI_ZAB_FI") + pct("NOI_PKB_FI")) * p1 / 100 + s1("PERSDATA_SUPKB");
        row.a[1] = s2("PERSDATA_SUDOO") + (pct("NOI_PENSI_FI60") + pct("NOI_ZAB_FI60") + pct("NOI_PKB_FI60")) * p2 / 100
                   + s2("PERSDATA_SUPKB");
        row.a[2] = s1("PERSDATA_SUSOCR") + pct("NOI_SOC_FI") * s1("PERSDATA_WCOSOC") / 100;
        row.a[3] = s2("PERSDATA_SUSOCR") + pct("NOI_SOC_FI60") * s2("PERSDATA_WCOSOC") / 100;
        row.a[4] = accident * p1 / 100;
        row.a[5] = accident * p2 / 100;
        row.b[0] = s2("PERSDATA_SUDZPO") + pct("NOI_DZPO_FI60") * p2 / 100;
        row.b[1] = pct("NOI_PROC_DZPO60") * s2("PERSDATA_WCOSOC") / 100;
        row.h[0] = pct("NOI_ZDR") * s1("PERSDATA_SZDR") / 100;
        row.h[1] = pct("NOI_ZDR") * s2("PERSDATA_SZDR") / 100;
        row.h[2] = s1("PERSDATA_SUZDR");
        row.h[3] = s2("PERSDATA_SUZDR");
        row.h[4] = pct("NOI_ZD_BOLN") * s1("PERSDATA_SMAJ") / 100;
        row.h[5] = pct("NOI_ZD_BOLN") * s2("PERSDATA_SMAJ") / 100;
        row.h[6] = pct("NOI_ZD_BOLN") * s1("PERSDATA_S6ZDR") / 100;
        row.h[7] = pct("NOI_ZD_BOLN") * s2("PERSDATA_S6ZDR") / 100;
        row.h[8] = pct("NOI_ZDR_NEPL") * s1("PERSDATA_SZDRN") / 100;
        row.h[9] = pct("NOI_ZDR_NEPL") * s2("PERSDATA_SZDRN") / 100;
        row.h[10] = pct("NOI_ZD_BOLN") * s("PERSDATA_BOLN_NOI") / 100;
        row.d1 = pct("NOI_GRVZ") * sums.sum(pair, AgeGroup::Both, QStringLiteral("PERSDATA_WCOGARANT"), true) / 100;
    }
    return table;
}

Declaration6Totals totalsOf(const std::vector<RecapBottom> &table)
{
    Declaration6Totals t;
    auto r = [](double v) { return util::roundHalfEven(v, 2); };
    for (const RecapBottom &row : table) {
        for (double v : row.a)
            t.a += r(v);
        for (double v : row.b)
            t.b += r(v);
        for (double v : row.h)
            t.h += r(v);
        t.d += r(row.d1);
    }
    return t;
}

QString paymentDate(const util::Period &period, const QDate &stored)
{
    if (stored.isValid())
        return stored.toString(QStringLiteral("dd/MM/yyyy"));
    const util::Period next = period.next();
    return QStringLiteral("15/%1/%2").arg(next.month(), 2, 10, QLatin1Char('0')).arg(next.year(), 4, 10, QLatin1Char('0'));
}

QString declaration6Line(const reference::Company &company, const util::Period &period, const Declaration6Totals &t)
{
    QStringList f;
    f << quoted(company.bulstat.trimmed()) << quoted(company.name) << QStringLiteral("0") << quoted(company.email.trimmed())
      << quoted(QString()) << quoted(company.phone.trimmed()) << QString::number(period.month()) << QString::number(period.year())
      << paymentDate(period, company.decl6Date) << QStringLiteral("0") << QStringLiteral("3") << money(t.a) << QString()
      << money(t.b) << QString() << money(t.h) << money(t.d) << money(t.tax);
    for (int i = 19; i <= 58; ++i)
        f << QString();
    f << quoted(QStringLiteral("NRAD62007"));
    return f.join(QLatin1Char(','));
}

QString declaration6FileName(const QString &bulstat) { return QStringLiteral("NRA62007_") + bulstat.trimmed() + QStringLiteral(".TXT"); }

QString exportDeclaration6(storage::DataModule &data, const QString &folder, calc::Parameters *params,
                           util::Prompter &prompter)
{
    if (!QFileInfo(folder).isDir()) {
        prompter.message(QStringLiteral("Папката %1 не съществува.").arg(QDir::toNativeSeparators(folder)));
        return {};
    }
    reference::Company company;
    reference::loadCompany(data, company);
    const QString path = QDir(folder).filePath(declaration6FileName(company.bulstat));
    prompter.progressStart(QStringLiteral("Експорт на данни за НОИ."));
    Declaration6Totals totals;
    try {
        prompter.progressStep(10, 100);
        if (params)
            calc::recalculateAll(data, *params);
        prompter.progressStep(30, 100);
        const auto table = buildContributionTable(data);
        prompter.progressStep(50, 100);
        totals = totalsOf(table);
        prompter.progressStep(70, 100);
        totals.tax = calc::sumOfActive(data, QStringLiteral("PERSDATA_SDOD"), QStringLiteral("PERSON_ACT=1"));
    } catch (const std::exception &e) {
        prompter.progressEnd();
        prompter.message(storage::errorText(e));
        return {};
    }
    const QByteArray bytes = util::toCp1251(declaration6Line(company, data.period(), totals)) + "\r\n\x1A";
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    prompter.progressStep(100, 100);
    prompter.progressEnd();
    if (!written) {
        prompter.message(QStringLiteral("Файлът %1 не може да бъде записан: %2").arg(QDir::toNativeSeparators(path), util::fileErrorText(file)));
        return {};
    }
    return path;
}

} // namespace plavex::declarations
