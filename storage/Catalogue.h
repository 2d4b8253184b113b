#pragma once

#include <QString>

#include <span>

namespace plavex::storage {

// Where a base table lives: one per month (base + MMYYYY), one per year
// (base + YYYY), one for the whole database, or in the users database.
enum class Scope { Month, Year, Global, Users };

// One column of a definition list: name, type word, extras (size and/or
// NOT NULL, blanks around) and the caption the screens show for it.
struct ColumnDef {
    const char *name;
    const char *type;
    const char *extras;
    const char *caption;

    QString definition() const; // " NAME TYPE EXTRAS", as a create statement lists it
};

struct TableDef {
    const char *base;
    Scope scope;
    std::span<const ColumnDef> columns;

    int columnIndex(QStringView column) const; // -1 when not in the list
};

struct IndexDef {
    const char *table; // base name
    const char *name;
    const char *columns;
};

// The schema of both databases, as data: every base table with its columns
// in creation order, and the index list in the order it is run.
namespace catalogue {
std::span<const TableDef> tables();
const TableDef *find(QStringView base);
const TableDef &table(QStringView base); // throws std::out_of_range for an unknown base
std::span<const IndexDef> indexes();
} // namespace catalogue

} // namespace plavex::storage
