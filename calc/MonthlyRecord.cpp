#include "calc/MonthlyRecord.h"

#include "calc/Evaluation.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <array>
#include <cmath>
#include <iterator>
#include <limits>

namespace plavex::calc {

namespace {

// The columns after the key, in the order of the insert statement; day
// counts and codes are whole numbers, the rest amounts.
struct Field {
    const char *column;
    int Totals::*whole;
    double Totals::*amount;
};

#define WHOLE(column, member) {column, &Totals::member, nullptr}
#define AMOUNT(column, member) {column, nullptr, &Totals::member}

const Field kFields[] = {
    WHOLE("PERSDATA_ODNI", odni),         WHOLE("PERSDATA_SDNI", sdni),
    WHOLE("PERSDATA_NSDNI", nsdni),       WHOLE("PERSDATA_NPLS", npls),
    WHOLE("PERSDATA_DNI23", dni23),       WHOLE("PERSDATA_OFRZ", ofrz),
    WHOLE("PERSDATA_ODOO", odoo),         WHOLE("PERSDATA_ONPL", onpl),
    WHOLE("PERSDATA_OMAJKI", omajki),     AMOUNT("PERSDATA_SNACH", snach),
    AMOUNT("PERSDATA_SUDR", sudr),        AMOUNT("PERSDATA_SOBL", sobl),
    AMOUNT("PERSDATA_SZDR", szdr),        AMOUNT("PERSDATA_SDOD", sdod),
    AMOUNT("PERSDATA_SSOC", ssoc),        AMOUNT("PERSDATA_SPOL", spol),
    AMOUNT("PERSDATA_SZAPL", szapl),      AMOUNT("PERSDATA_BOT12", bot12),
    AMOUNT("PERSDATA_BDOO", bdoo),        AMOUNT("PERSDATA_BSL", bsl),
    AMOUNT("PERSDATA_PR", pr),            AMOUNT("PERSDATA_SKLAS", sklas),
    AMOUNT("PERSDATA_SDOO", sdoo),        AMOUNT("PERSDATA_S2DOO", s2doo),
    AMOUNT("PERSDATA_SP2DOO", sp2doo),    AMOUNT("PERSDATA_SUDOO", sudoo),
    AMOUNT("PERSDATA_SUPKB", supkb),      AMOUNT("PERSDATA_SUZDR", suzdr),
    AMOUNT("PERSDATA_SPECIALOBL", specialobl), AMOUNT("PERSDATA_SPECIALDOD", specialdod),
    AMOUNT("PERSDATA_SPECIAL35", special35),   AMOUNT("PERSDATA_ZAPL", zapl),
    AMOUNT("PERSDATA_SFRZ", sfrz),        AMOUNT("PERSDATA_SBOL", sbol),
    AMOUNT("PERSDATA_SMAJ", smaj),        AMOUNT("PERSDATA_SINDD", sindd),
    AMOUNT("PERSDATA_SIND23", sind23),    AMOUNT("PERSDATA_SIND", sind),
    AMOUNT("PERSDATA_S39", s39),          AMOUNT("PERSDATA_UD1", ud1),
    AMOUNT("PERSDATA_UD2", ud2),          WHOLE("PERSDATA_PRK", prk),
    WHOLE("PERSDATA_RR", rr),             AMOUNT("PERSDATA_SUM50", sum50),
    AMOUNT("PERSDATA_WDOO22", wdoo22),    AMOUNT("PERSDATA_DOOSBOL", doosbol),
    AMOUNT("PERSDATA_PERO37", pero37),    AMOUNT("PERSDATA_PERO54", pero54),
    AMOUNT("PERSDATA_S54", s54),          AMOUNT("PERSDATA_PERO55", pero55),
    AMOUNT("PERSDATA_S6ZDR", s6zdr),      AMOUNT("PERSDATA_SZDRN", szdrn),
    AMOUNT("PERSDATA_WCOSUMA", wcosuma),  AMOUNT("PERSDATA_WCOSUMA32", wcosuma32),
    AMOUNT("PERSDATA_WCOBOL", wcobol),    AMOUNT("PERSDATA_WCOSOC", wcosoc),
    AMOUNT("PERSDATA_WMDO2", wmdo2),      WHOLE("PERSDATA_DBOL", dbol),
    WHOLE("PERSDATA_DFBOL", dfbol),       AMOUNT("PERSDATA_KORKOEF", korkoef),
    AMOUNT("PERSDATA_BULGARGAZ", bulgargaz), AMOUNT("PERSDATA_WCOGARANT", wcogarant),
    AMOUNT("PERSDATA_WSDOOLI", wsdooli),  AMOUNT("PERSDATA_WSZDRLI", wszdrli),
    AMOUNT("PERSDATA_WSDOOFI", wsdoofi),  AMOUNT("PERSDATA_WSZDRFI", wszdrfi),
    AMOUNT("PERSDATA_WNETNO", wnetno),    WHOLE("PERSDATA_WDNITRZL", wdnitrzl),
    AMOUNT("PERSDATA_WIZVTRUD", wizvtrud), AMOUNT("PERSDATA_TESTSBOL", testsbol),
    AMOUNT("PERSDATA_SUDZPO", sudzpo),    AMOUNT("PERSDATA_SUSOCR", susocr),
    WHOLE("PERSDATA_RABDNI", rabdni),     AMOUNT("PERSDATA_BOLN_FIRMA", bolnFirma),
    AMOUNT("PERSDATA_BOLN_NOI", bolnNoi),
};

#undef WHOLE
#undef AMOUNT

const QString kKey = QStringLiteral(" WHERE PERSDATA_PERSONID=? AND PERSDATA_GOD=? AND PERSDATA_MES=?");

QString activeOfPeriod(storage::DataModule &data, const QString &extra)
{
    return QStringLiteral(" where persdata_personid in (select person_id from %1 where person_act=1%2)"
                          " and persdata_mes=? and persdata_god=?")
        .arg(data.table(u"PERSONS"), extra);
}

double sumOf(storage::DataModule &data, const QString &sql, QVariantList values)
{
    values << data.period().month() << data.period().year();
    return fb::Statement::scalar(data.transaction(), sql, values).toDouble();
}

} // namespace

const QStringList &SummaryWriter::columns()
{
    static const QStringList list = [] {
        QStringList l{QStringLiteral("PERSDATA_PERSONID"), QStringLiteral("PERSDATA_GOD"), QStringLiteral("PERSDATA_MES")};
        for (const Field &f : kFields)
            l << QLatin1String(f.column);
        return l;
    }();
    return list;
}

QVariantList SummaryWriter::values(const Totals &t, const util::Period &period)
{
    QVariantList v{t.personId, period.year(), period.month()};
    for (const Field &f : kFields)
        v << (f.whole ? QVariant(t.*f.whole) : QVariant(r2(t.*f.amount)));
    return v;
}

SummaryWriter::SummaryWriter(storage::DataModule &data) : data_(data) {}

SummaryWriter::~SummaryWriter() = default;

namespace {

constexpr size_t kFieldCount = std::size(kFields);

// What a row holds for the comparison: day counts whole, amounts in cents,
// NaN for NULL.
void readStored(const fb::Statement &q, double *stored)
{
    const std::vector<int> &at = SummaryWriter::fieldColumns();
    for (size_t i = 0; i < kFieldCount; ++i) {
        const int c = at[i];
        if (q.isNull(c))
            stored[i] = std::numeric_limits<double>::quiet_NaN();
        else
            stored[i] = kFields[i].whole ? static_cast<double>(q.toInt(c)) : r2(q.toDouble(c));
    }
}

// The stored row says what the totals say, to the cent and the day.
bool sameAs(const Totals &t, const double *stored)
{
    for (size_t i = 0; i < kFieldCount; ++i) {
        const Field &f = kFields[i];
        const double v = stored[i];
        if (std::isnan(v))
            return false;
        if (f.whole ? static_cast<qint64>(v) != t.*f.whole : v != r2(t.*f.amount))
            return false;
    }
    return true;
}

} // namespace

const QStringList &SummaryWriter::readColumns()
{
    static const QStringList list = [] {
        QStringList l = QString::fromLatin1(DatabaseHistory::columns()).split(u',');
        for (const QString &c : columns())
            if (!l.contains(c))
                l << c;
        return l;
    }();
    return list;
}

const std::vector<int> &SummaryWriter::fieldColumns()
{
    static const std::vector<int> at = [] {
        std::vector<int> v;
        for (const Field &f : kFields)
            v.push_back(static_cast<int>(readColumns().indexOf(QLatin1String(f.column))));
        return v;
    }();
    return at;
}

void SummaryWriter::preload(const util::Period &period, const std::function<void(const fb::Statement &)> &eachRow,
                            size_t expectedRows)
{
    stored_.clear();
    storedAt_.clear();
    stored_.reserve(expectedRows * kFieldCount);
    storedAt_.reserve(expectedRows);
    fb::Statement q(data_.transaction(), QStringLiteral("SELECT %1 FROM PERSDATA WHERE PERSDATA_GOD=? AND PERSDATA_MES=?")
                                             .arg(readColumns().join(u',')));
    q.bindAll({period.year(), period.month()});
    while (q.next()) {
        if (eachRow)
            eachRow(q);
        const int person = static_cast<int>(q.toInt(0));
        if (storedAt_.count(person)) // the first row of an employee counts, as the single read finds it
            continue;
        storedAt_.emplace(person, stored_.size());
        stored_.resize(stored_.size() + kFieldCount);
        readStored(q, stored_.data() + stored_.size() - kFieldCount);
    }
    preloaded_ = period;
}

bool SummaryWriter::needsWrite(const Totals &totals, const util::Period &period)
{
    existsFor_ = totals.personId;
    if (preloaded_ && *preloaded_ == period) {
        const auto found = storedAt_.find(totals.personId);
        exists_ = found != storedAt_.end();
        return !*exists_ || !sameAs(totals, stored_.data() + found->second);
    }
    if (!select_)
        select_ = std::make_unique<fb::Statement>(data_.transaction(),
                                                  QStringLiteral("SELECT %1 FROM PERSDATA").arg(readColumns().join(u',')) + kKey);
    select_->bindAll({totals.personId, period.year(), period.month()});
    select_->execute();
    exists_ = select_->next();
    if (!*exists_)
        return true;
    std::array<double, kFieldCount> stored{};
    readStored(*select_, stored.data());
    select_->close();
    return !sameAs(totals, stored.data());
}

void SummaryWriter::save(const Totals &totals, const util::Period &period)
{
    if (existsFor_ != totals.personId || !exists_)
        needsWrite(totals, period);
    const QVariantList v = values(totals, period);
    if (!*exists_) {
        if (!insert_)
            insert_ = std::make_unique<fb::Statement>(
                data_.transaction(), QStringLiteral("INSERT INTO PERSDATA (%1) values (%2)")
                                         .arg(columns().join(u','), QStringLiteral("?,").repeated(v.size() - 1) + u'?'));
        insert_->bindAll(v);
        insert_->execute();
    } else {
        if (!update_) {
            QStringList pairs;
            for (const QString &c : columns())
                pairs << c + QStringLiteral("=?");
            update_ = std::make_unique<fb::Statement>(data_.transaction(),
                                                      QStringLiteral("UPDATE PERSDATA SET ") + pairs.join(QStringLiteral(", ")) + kKey);
        }
        update_->bindAll(v + QVariantList{totals.personId, period.year(), period.month()});
        update_->execute();
    }
    if (preloaded_ && *preloaded_ == period) {
        auto found = storedAt_.find(totals.personId);
        if (found == storedAt_.end()) {
            found = storedAt_.emplace(totals.personId, stored_.size()).first;
            stored_.resize(stored_.size() + kFieldCount);
        }
        double *stored = stored_.data() + found->second;
        for (size_t i = 0; i < kFieldCount; ++i)
            stored[i] = kFields[i].whole ? static_cast<double>(totals.*kFields[i].whole) : r2(totals.*kFields[i].amount);
    }
    existsFor_ = -1;
    exists_.reset();
}

void savePeriodSummary(storage::DataModule &data, const Totals &totals)
{
    SummaryWriter writer(data);
    writer.save(totals, data.period());
}

std::vector<HistoryRow> earlierMonths(storage::DataModule &data, int personId)
{
    return DatabaseHistory(data).earlierMonths(personId);
}

bool addEarlierMonth(storage::DataModule &data, util::Prompter &prompter, int personId, const util::Period &period)
{
    const bool taken = fb::Statement::scalar(data.transaction(),
                                             QStringLiteral("select PERSDATA_PERSONID from PERSDATA where PERSDATA_PERSONID=? "
                                                            "and PERSDATA_GOD=? AND PERSDATA_MES=?"),
                                             {personId, period.year(), period.month()})
                           .isValid();
    if (taken) {
        prompter.message(QStringLiteral("В базата данни вече съществува запис за това лице за месец %1 %2 г")
                             .arg(util::monthName(period.month()).toLower())
                             .arg(period.year()));
        return false;
    }
    data.insertValues(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES"),
                      {personId, period.year(), period.month()});
    data.commitRetaining();
    return true;
}

bool deleteEarlierMonth(storage::DataModule &data, util::Prompter &prompter, int personId, const util::Period &period)
{
    if (!prompter.confirm(QStringLiteral("Сигурни ли сте, че искате да изтриете данните за месец %1 %2 г ?")
                              .arg(util::monthName(period.month()).toLower())
                              .arg(period.year())))
        return false;
    fb::Statement::run(data.transaction(), QStringLiteral("delete from PERSDATA where PERSDATA_PERSONID=? and PERSDATA_GOD=? and PERSDATA_MES=?"),
                       {personId, period.year(), period.month()});
    data.commitRetaining();
    return true;
}

void updateEarlierMonth(storage::DataModule &data, const HistoryRow &r)
{
    fb::Statement::run(data.transaction(),
                       QStringLiteral("update PERSDATA set PERSDATA_SZAPL=?, PERSDATA_RABDNI=?, PERSDATA_BOT12=?, PERSDATA_ODNI=?, "
                                      "PERSDATA_BDOO=?, PERSDATA_ODOO=?, PERSDATA_SFRZ=?, PERSDATA_OFRZ=?, PERSDATA_SOBL=?, "
                                      "PERSDATA_SDOD=?, PERSDATA_WSDOOLI=?, PERSDATA_DOOSBOL=?, PERSDATA_WCOSUMA=?, "
                                      "PERSDATA_SDNI=?, PERSDATA_SUPKB=?, PERSDATA_SUZDR=?, PERSDATA_DBOL=?, PERSDATA_DFBOL=?, "
                                      "PERSDATA_SUDZPO=?, PERSDATA_ZAPL=?, PERSDATA_SBOL=?, PERSDATA_SUSOCR=? "
                                      "where PERSDATA_PERSONID=? and PERSDATA_GOD=? and PERSDATA_MES=?"),
                       {r.szapl, r.rabdni, r.bot12, r.odni, r.bdoo, r.odoo, r.sfrz, r.ofrz, r.sobl, r.sdod, r.wsdooli,
                        r.doosbol, r.wcosuma, r.sdni, r.supkb, r.suzdr, r.dbol, r.dfbol, r.sudzpo, r.zapl, r.sbol, r.susocr,
                        r.personId, r.year, r.month});
    data.commitRetaining();
}

double workedDaysOfCode(storage::DataModule &data, int code)
{
    const QString sql = QStringLiteral("select SUM(persdata_ODNI) from persdata where persdata_personid in "
                                       "(select pero_personid from %1 where pero_cod=? and pero_personid in "
                                       "(select person_id from %2 where person_act=1)) and persdata_mes=? and persdata_god=?")
                            .arg(data.table(u"PERA"), data.table(u"PERSONS"));
    return sumOf(data, sql, {code});
}

double sumOfActive(storage::DataModule &data, const QString &column, const QString &condition, const QVariantList &values)
{
    const QString extra = condition.trimmed().isEmpty() ? QString() : QStringLiteral(" and ") + condition;
    const QString sql = QStringLiteral("select SUM(%1) from persdata").arg(storage::DataModule::checkedName(column))
                        + activeOfPeriod(data, extra);
    return sumOf(data, sql, values);
}

BaseSums baseSums(storage::DataModule &data, std::optional<int> unit)
{
    QVariantList values;
    QString extra;
    if (unit) {
        extra = QStringLiteral(" AND PERSON_ZVENO=?");
        values << *unit;
    }
    values << data.period().month() << data.period().year();
    fb::Statement q(data.transaction(), QStringLiteral("select SUM(PERSDATA_SOBL),SUM(PERSDATA_SDOO),SUM(PERSDATA_WCOSUMA) from persdata")
                                            + activeOfPeriod(data, extra));
    q.bindAll(values);
    BaseSums sums;
    if (q.next()) {
        sums.taxBase = q.toDouble(0);
        sums.absences = q.toDouble(1);
        sums.insurable = q.toDouble(2);
    }
    return sums;
}

} // namespace plavex::calc
