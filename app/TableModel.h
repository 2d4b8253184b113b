#pragma once

#include "storage/TableData.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSet>

#include <functional>
#include <memory>

class QDataWidgetMapper;

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// The one grid model of the program: a period table read through
// storage::TableData, shown in a chosen set of its columns (captions from
// the catalogue unless given), with optional computed columns. Editing a
// cell writes that column of that row at once (bound UPDATE, commit
// retaining, after-post event). Text comes back trimmed; dates show and are
// typed as dd.mm.yyyy with the locale's separator, and an empty date
// stores NULL.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString name;     // a column of the data, or empty for a computed one
        QString caption;  // empty: the catalogue's
        std::function<QVariant(int row)> compute = {};
    };

    TableModel(storage::DataModule &data, storage::TableData::Query query, util::Prompter &prompter,
               QObject *parent = nullptr);

    // The columns shown; by default every column read.
    void setColumns(const std::vector<Column> &columns);
    void setEditable(const QSet<QString> &columns) { editable_ = columns; }
    void setRowColour(std::function<QColor(int row)> colour) { rowColour_ = std::move(colour); }
    void setRowHeader(std::function<QString(int row)> header) { rowHeader_ = std::move(header); }

    // Reads again (with new filter values when given); views keep nothing.
    void reload();
    void reload(const QVariantList &values);
    void setOrder(const QString &order) { table_.setOrder(order); }

    storage::TableData &table() { return table_; }
    const storage::TableData &table() const { return table_; }
    QVariant raw(int row, const QString &column) const { return table_.value(row, column); }
    int rowOfKey(const QVariant &key) const { return table_.rowOfKey(key); }
    // The shown column of a data column; -1 when it is not shown.
    int section(const QString &column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The text fields of a form bound to this model take no more characters
    // than their columns hold, and a refused value names its field by the
    // label the form shows beside it.
    void fitMappedFields(const QDataWidgetMapper &mapper);
    // The name a refused value of the column is reported under.
    QString fieldCaption(const QString &column) const;

    // Text typed into a cell as the column's value; false when it does not read.
    static bool parseTyped(const QString &text, storage::TableData::Kind kind, QVariant &value);

signals:
    // A cell was written to the database.
    void posted(int row, const QString &column);

private:
    QString display(int row, int dataColumn) const;

    storage::TableData table_;
    util::Prompter &prompter_;
    std::vector<Column> columns_;
    std::vector<int> dataIndex_;
    QSet<QString> editable_;
    std::function<QColor(int row)> rowColour_;
    std::function<QString(int row)> rowHeader_;
    QHash<QString, QString> fieldCaptions_; // column → the form's label
};

} // namespace plavex::app
