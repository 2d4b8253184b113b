#pragma once

#include "calc/BlockList.h"
#include "util/Period.h"

#include <memory>
#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::fb {
class Statement;
}

namespace plavex::calc {

// One earlier month of an employee: the columns of the earlier-months list,
// which are all the leave and sickness averages read. NULL reads as 0 (rows
// typed in by hand carry only these columns).
struct HistoryRow {
    int personId = 0;
    int year = 0;
    int month = 0;
    double szapl = 0;
    int rabdni = 0;
    double bot12 = 0;
    int odni = 0;
    double bdoo = 0;
    int odoo = 0;
    double sfrz = 0;
    int ofrz = 0;
    double sobl = 0;
    double sdod = 0;
    double wsdooli = 0;
    double doosbol = 0;
    double wcosuma = 0;
    int sdni = 0;
    double supkb = 0;
    double suzdr = 0;
    int dbol = 0;
    int dfbol = 0;
    double sudzpo = 0;
    double zapl = 0;
    double sbol = 0;
    double susocr = 0;

    util::Period period() const { return util::Period(year, month); }
    int days() const { return sdni - odoo; } // the list's calculated "дни"
};

// The employee's earlier months as the averages ask for them.
class History {
public:
    virtual ~History() = default;
    // Every row of the employee, newest first.
    virtual std::vector<HistoryRow> earlierMonths(int personId) = 0;
    virtual std::optional<HistoryRow> month(int personId, const util::Period &period) = 0;
    // The rows from first to last inclusive, in no particular order.
    virtual std::vector<HistoryRow> window(int personId, const util::Period &first, const util::Period &last) = 0;
};

// The money of a row in leva (a month before 2026) in euro, for a reader
// in a euro month; days and rows of the same currency stay as they are.
HistoryRow inCurrencyOf(HistoryRow row, const util::Period &reader);

// Another history read from a month's point of view: every row in that
// month's currency.
class HistoryInCurrency : public History {
public:
    HistoryInCurrency(History &history, const util::Period &reader) : history_(history), reader_(reader) {}
    std::vector<HistoryRow> earlierMonths(int personId) override;
    std::optional<HistoryRow> month(int personId, const util::Period &period) override;
    std::vector<HistoryRow> window(int personId, const util::Period &first, const util::Period &last) override;

private:
    History &history_;
    util::Period reader_;
};

// Rows held in memory, for tests and for callers that already have them.
class MemoryHistory : public History {
public:
    std::vector<HistoryRow> rows;

    std::vector<HistoryRow> earlierMonths(int personId) override;
    std::optional<HistoryRow> month(int personId, const util::Period &period) override;
    std::vector<HistoryRow> window(int personId, const util::Period &first, const util::Period &last) override;
};

// Every employee's rows read at once, for a walk: held once in the order
// read, each employee's found through an index made after the last row.
class PreloadedHistory : public History {
public:
    void clear();
    void add(const HistoryRow &row);

    std::vector<HistoryRow> earlierMonths(int personId) override;
    std::optional<HistoryRow> month(int personId, const util::Period &period) override;
    std::vector<HistoryRow> window(int personId, const util::Period &first, const util::Period &last) override;

private:
    MemoryHistory rowsOf(int personId);

    BlockList<HistoryRow> rows_;
    std::optional<ByEmployee> index_;
};

// PERSDATA of the company database. The statements are prepared on first
// use and kept, so a walk over all employees prepares each once.
class DatabaseHistory : public History {
public:
    explicit DatabaseHistory(storage::DataModule &data);
    ~DatabaseHistory() override;

    std::vector<HistoryRow> earlierMonths(int personId) override;
    std::optional<HistoryRow> month(int personId, const util::Period &period) override;
    std::vector<HistoryRow> window(int personId, const util::Period &first, const util::Period &last) override;

    // The select list of the earlier-months list, in its order.
    static const char *columns();
    static HistoryRow read(const fb::Statement &q);

private:
    fb::Statement &prepared(std::unique_ptr<fb::Statement> &slot, const char *condition);

    storage::DataModule &data_;
    std::unique_ptr<fb::Statement> all_;
    std::unique_ptr<fb::Statement> month_;
    std::unique_ptr<fb::Statement> sameYear_;
    std::unique_ptr<fb::Statement> acrossYear_;
    std::unique_ptr<fb::Statement> span_;
};

} // namespace plavex::calc
