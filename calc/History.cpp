#include "calc/History.h"

#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"

#include <algorithm>

namespace plavex::calc {

std::vector<HistoryRow> MemoryHistory::earlierMonths(int personId)
{
    std::vector<HistoryRow> result;
    for (const HistoryRow &r : rows)
        if (r.personId == personId)
            result.push_back(r);
    std::stable_sort(result.begin(), result.end(),
                     [](const HistoryRow &a, const HistoryRow &b) { return a.period() > b.period(); });
    return result;
}

std::optional<HistoryRow> MemoryHistory::month(int personId, const util::Period &period)
{
    for (const HistoryRow &r : rows)
        if (r.personId == personId && r.year == period.year() && r.month == period.month())
            return r;
    return std::nullopt;
}

std::vector<HistoryRow> MemoryHistory::window(int personId, const util::Period &first, const util::Period &last)
{
    std::vector<HistoryRow> result;
    for (const HistoryRow &r : rows)
        if (r.personId == personId && r.period() >= first && r.period() <= last)
            result.push_back(r);
    return result;
}

void PreloadedHistory::clear()
{
    rows_.clear();
    index_.reset();
}

void PreloadedHistory::add(const HistoryRow &row)
{
    rows_.push_back(row);
    index_.reset();
}

MemoryHistory PreloadedHistory::rowsOf(int personId)
{
    if (!index_)
        index_ = byEmployee(rows_, [](const HistoryRow &r) { return r.personId; });
    MemoryHistory rows;
    if (const auto found = index_->ranges.find(personId); found != index_->ranges.end())
        for (size_t i = found->second.first; i < found->second.second; ++i)
            rows.rows.push_back(rows_[index_->order[i]]);
    return rows;
}

// The same answers as the rows held in memory, from the employee's own.
std::vector<HistoryRow> PreloadedHistory::earlierMonths(int personId) { return rowsOf(personId).earlierMonths(personId); }

std::optional<HistoryRow> PreloadedHistory::month(int personId, const util::Period &period)
{
    return rowsOf(personId).month(personId, period);
}

std::vector<HistoryRow> PreloadedHistory::window(int personId, const util::Period &first, const util::Period &last)
{
    return rowsOf(personId).window(personId, first, last);
}

HistoryRow inCurrencyOf(HistoryRow r, const util::Period &reader)
{
    if (!util::levaIntoEuro(r.period(), reader))
        return r;
    for (double *amount : {&r.szapl, &r.bot12, &r.bdoo, &r.sfrz, &r.sobl, &r.sdod, &r.wsdooli, &r.doosbol, &r.wcosuma,
                           &r.supkb, &r.suzdr, &r.sudzpo, &r.zapl, &r.sbol, &r.susocr})
        *amount = util::euroHalfUp(*amount);
    return r;
}

std::vector<HistoryRow> HistoryInCurrency::earlierMonths(int personId)
{
    std::vector<HistoryRow> rows = history_.earlierMonths(personId);
    for (HistoryRow &r : rows)
        r = inCurrencyOf(r, reader_);
    return rows;
}

std::optional<HistoryRow> HistoryInCurrency::month(int personId, const util::Period &period)
{
    std::optional<HistoryRow> row = history_.month(personId, period);
    if (row)
        row = inCurrencyOf(*row, reader_);
    return row;
}

std::vector<HistoryRow> HistoryInCurrency::window(int personId, const util::Period &first, const util::Period &last)
{
    std::vector<HistoryRow> rows = history_.window(personId, first, last);
    for (HistoryRow &r : rows)
        r = inCurrencyOf(r, reader_);
    return rows;
}

DatabaseHistory::DatabaseHistory(storage::DataModule &data) : data_(data) {}

DatabaseHistory::~DatabaseHistory() = default;

const char *DatabaseHistory::columns()
{
    return "PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_SZAPL,PERSDATA_RABDNI,PERSDATA_BOT12,"
           "PERSDATA_ODNI,PERSDATA_BDOO,PERSDATA_ODOO,PERSDATA_SFRZ,PERSDATA_OFRZ,PERSDATA_SOBL,PERSDATA_SDOD,"
           "PERSDATA_WSDOOLI,PERSDATA_DOOSBOL,PERSDATA_WCOSUMA,PERSDATA_SDNI,PERSDATA_SUPKB,PERSDATA_SUZDR,"
           "PERSDATA_DBOL,PERSDATA_DFBOL,PERSDATA_SUDZPO,PERSDATA_ZAPL,PERSDATA_SBOL,PERSDATA_SUSOCR";
}

HistoryRow DatabaseHistory::read(const fb::Statement &q)
{
    auto i = [&q](int c) { return static_cast<int>(q.toInt(c)); };
    auto d = [&q](int c) { return q.toDouble(c); };
    HistoryRow r;
    r.personId = i(0);
    r.year = i(1);
    r.month = i(2);
    r.szapl = d(3);
    r.rabdni = i(4);
    r.bot12 = d(5);
    r.odni = i(6);
    r.bdoo = d(7);
    r.odoo = i(8);
    r.sfrz = d(9);
    r.ofrz = i(10);
    r.sobl = d(11);
    r.sdod = d(12);
    r.wsdooli = d(13);
    r.doosbol = d(14);
    r.wcosuma = d(15);
    r.sdni = i(16);
    r.supkb = d(17);
    r.suzdr = d(18);
    r.dbol = i(19);
    r.dfbol = i(20);
    r.sudzpo = d(21);
    r.zapl = d(22);
    r.sbol = d(23);
    r.susocr = d(24);
    return r;
}

fb::Statement &DatabaseHistory::prepared(std::unique_ptr<fb::Statement> &slot, const char *condition)
{
    if (!slot)
        slot = std::make_unique<fb::Statement>(
            data_.transaction(), QStringLiteral("select %1 from PERSDATA WHERE PERSDATA_PERSONID=? %2")
                                     .arg(QLatin1String(columns()), QLatin1String(condition)));
    return *slot;
}

std::vector<HistoryRow> DatabaseHistory::earlierMonths(int personId)
{
    fb::Statement &q = prepared(all_, "order by PERSDATA_GOD desc, PERSDATA_MES desc");
    q.bind(0, personId);
    q.execute();
    std::vector<HistoryRow> rows;
    while (q.next())
        rows.push_back(read(q));
    return rows;
}

std::optional<HistoryRow> DatabaseHistory::month(int personId, const util::Period &period)
{
    fb::Statement &q = prepared(month_, "AND PERSDATA_MES=? AND PERSDATA_GOD=?");
    q.bindAll({personId, period.month(), period.year()});
    q.execute();
    if (!q.next())
        return std::nullopt;
    HistoryRow row = read(q);
    q.close();
    return row;
}

std::vector<HistoryRow> DatabaseHistory::window(int personId, const util::Period &first, const util::Period &last)
{
    fb::Statement *q = nullptr;
    if (first.year() == last.year()) {
        q = &prepared(sameYear_, "AND PERSDATA_GOD=? AND PERSDATA_MES>=? AND PERSDATA_MES<=?");
        q->bindAll({personId, first.year(), first.month(), last.month()});
    } else if (first.year() + 1 < last.year()) {
        // A window of more than one year end (the fund's 18 months) takes
        // the years between too.
        q = &prepared(span_, "AND PERSDATA_GOD*12+PERSDATA_MES>=? AND PERSDATA_GOD*12+PERSDATA_MES<=?");
        q->bindAll({personId, first.year() * 12 + first.month(), last.year() * 12 + last.month()});
    } else {
        q = &prepared(acrossYear_, "AND ( ((PERSDATA_GOD=?) AND (PERSDATA_MES>=?)) "
                                   "OR ((PERSDATA_GOD=?) AND (PERSDATA_MES<=?)) )");
        q->bindAll({personId, first.year(), first.month(), last.year(), last.month()});
    }
    q->execute();
    std::vector<HistoryRow> rows;
    while (q->next())
        rows.push_back(read(*q));
    return rows;
}

} // namespace plavex::calc
