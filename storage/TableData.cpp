#include "storage/TableData.h"

#include "storage/Catalogue.h"
#include "storage/ColumnValue.h"
#include "storage/DataModule.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"

#include <stdexcept>

namespace plavex::storage {

namespace {

const ColumnDef *columnDef(const TableDef &def, const QString &column)
{
    const int i = def.columnIndex(column);
    return i < 0 ? nullptr : &def.columns[static_cast<size_t>(i)];
}

} // namespace

TableData::TableData(DataModule &data, Query query) : data_(data), query_(std::move(query))
{
    const TableDef &def = catalogue::table(query_.base);
    if (query_.columns.isEmpty()) {
        for (const ColumnDef &c : def.columns)
            query_.columns << QString::fromLatin1(c.name);
    }
    for (const QString &c : query_.columns) {
        if (!columnDef(def, c))
            throw std::invalid_argument("no column " + c.toStdString() + " in " + query_.base.toStdString());
    }
    for (const QString &k : query_.keyColumns) {
        const int i = query_.columns.indexOf(k);
        if (i < 0)
            throw std::invalid_argument("key column not read: " + k.toStdString());
        keyIndexes_.push_back(i);
    }
}

QString TableData::tableName() const { return data_.table(query_.base); }

void TableData::reload()
{
    rows_.clear();
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(query_.columns.join(QLatin1Char(',')), tableName());
    if (!query_.condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + query_.condition;
    if (!query_.order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + query_.order;
    fb::Statement q(data_.transaction(), sql);
    q.bindAll(query_.values);
    q.execute();
    const int n = static_cast<int>(query_.columns.size());
    while (q.next()) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << (q.isNull(i) ? QVariant() : q.value(i));
        rows_.push_back(std::move(row));
    }
}

QString TableData::caption(int column) const
{
    const ColumnDef *c = columnDef(catalogue::table(query_.base), query_.columns.value(column));
    return c ? QString::fromUtf8(c->caption) : QString();
}

bool TableData::isDate(int column) const
{
    const ColumnDef *c = columnDef(catalogue::table(query_.base), query_.columns.value(column));
    return c && qstrcmp(c->type, "DATE") == 0;
}

TableData::Kind TableData::kind(int column) const
{
    const ColumnDef *c = columnDef(catalogue::table(query_.base), query_.columns.value(column));
    if (!c)
        return Kind::Text;
    const QByteArray type(c->type);
    if (type == "DATE")
        return Kind::Date;
    if (type == "INTEGER" || type == "SMALLINT" || type == "BIGINT")
        return Kind::Integer;
    if (type == "NUMERIC" || type == "DECIMAL" || type == "DOUBLE PRECISION" || type == "FLOAT")
        return Kind::Number;
    return Kind::Text;
}

QVariant TableData::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= query_.columns.size())
        return {};
    return rows_[static_cast<size_t>(row)][column];
}

int TableData::rowOfKey(const QVariant &key) const
{
    if (keyIndexes_.empty())
        return -1;
    const int k = keyIndexes_.front();
    for (int r = 0; r < rowCount(); ++r) {
        if (rows_[static_cast<size_t>(r)][k] == key)
            return r;
    }
    return -1;
}

void TableData::setValue(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= query_.columns.size())
        throw std::out_of_range("no such cell");
    if (keyIndexes_.empty())
        throw std::logic_error("table read without a key");
    if (const TableDef *def = catalogue::find(query_.base)) {
        const int i = def->columnIndex(query_.columns[column]);
        const QString problem = i < 0 ? QString() : checkColumnValue(def->columns[static_cast<size_t>(i)], value);
        if (!problem.isEmpty())
            throw fb::Error(0, problem);
    }
    data_.lockFor(tableName());
    QStringList where;
    QVariantList values{value};
    for (int k : keyIndexes_) {
        where << query_.columns[k] + QStringLiteral("=?");
        values << rows_[static_cast<size_t>(row)][k];
    }
    fb::Statement::run(data_.transaction(),
                       QStringLiteral("UPDATE %1 SET %2=? WHERE %3")
                           .arg(tableName(), query_.columns[column], where.join(QStringLiteral(" AND "))),
                       values);
    data_.commitRetaining();
    rows_[static_cast<size_t>(row)][column] = value;
    data_.tableChanged(query_.base);
}

} // namespace plavex::storage
