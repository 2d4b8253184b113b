#pragma once

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plavex::calc {

// Rows read ahead of a walk, held in blocks of a few thousand: filled
// without moving what they hold and without an allocation per row.
template <typename T>
class BlockList {
public:
    static constexpr size_t kBlock = 4096;

    void clear()
    {
        blocks_.clear();
        size_ = 0;
    }
    void push_back(const T &row)
    {
        if (blocks_.empty() || blocks_.back().size() == kBlock) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlock);
        }
        blocks_.back().push_back(row);
        ++size_;
    }
    const T &operator[](size_t n) const { return blocks_[n / kBlock][n % kBlock]; }
    size_t size() const { return size_; }

private:
    std::vector<std::vector<T>> blocks_;
    size_t size_ = 0;
};

// The rows' numbers by employee, each employee's in the order they were
// added, and each employee's stretch (first, end) of that order.
struct ByEmployee {
    std::vector<unsigned> order;
    std::unordered_map<int, std::pair<size_t, size_t>> ranges;
};

template <typename T, typename EmployeeOf>
ByEmployee byEmployee(const BlockList<T> &rows, EmployeeOf employeeOf)
{
    ByEmployee g;
    for (size_t i = 0; i < rows.size(); ++i)
        ++g.ranges[employeeOf(rows[i])].second; // counted first, placed below
    size_t start = 0;
    for (auto &[employee, range] : g.ranges) {
        const size_t n = range.second;
        range = {start, start};
        start += n;
    }
    g.order.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        g.order[g.ranges[employeeOf(rows[i])].second++] = static_cast<unsigned>(i);
    return g;
}

} // namespace plavex::calc
