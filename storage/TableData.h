#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <vector>

namespace plavex::storage {

class DataModule;

// The rows of one table of the current period (or a global one) as the
// grids and data-bound forms show them: a column list, an optional filter
// with bound values and an order. Rows are read in one statement and kept;
// an edit writes one column of one row by its key, commits retaining and
// raises the table's after-post event. The generic grid model of the
// windows sits on top of this.
class TableData {
public:
    struct Query {
        QString base;            // catalogue base name, e.g. "PERSONS"
        QStringList columns;     // empty: every catalogue column
        QStringList keyColumns;  // identify a row for updates
        QString condition;       // "?" markers for `values`; empty: every row
        QVariantList values;
        QString order;           // column list of ORDER BY; empty: none
    };

    TableData(DataModule &data, Query query);

    // Reads the rows again; the filter values may change between reads.
    void reload();
    void setValues(const QVariantList &values) { query_.values = values; }
    void setOrder(const QString &order) { query_.order = order; }

    const QString &base() const { return query_.base; }
    const QStringList &columns() const { return query_.columns; }
    int columnIndex(const QString &column) const { return query_.columns.indexOf(column); }
    QString caption(int column) const; // from the catalogue
    bool isDate(int column) const;
    // How a typed text becomes a value of the column.
    enum class Kind { Text, Integer, Number, Date };
    Kind kind(int column) const;

    int rowCount() const { return static_cast<int>(rows_.size()); }
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString &column) const { return value(row, columnIndex(column)); }
    // The row whose first key column holds `key`; -1 when none does.
    int rowOfKey(const QVariant &key) const;

    // UPDATE of one column of one row (key from the row as read), then
    // commit retaining and the after-post event. Throws fb::Error.
    void setValue(int row, int column, const QVariant &value);

private:
    QString tableName() const;

    DataModule &data_;
    Query query_;
    std::vector<QVariantList> rows_;
    std::vector<int> keyIndexes_;
};

} // namespace plavex::storage
