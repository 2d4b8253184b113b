#include "app/TableModel.h"

#include "employees/Employees.h"
#include "storage/ColumnValue.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QDataWidgetMapper>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

namespace plavex::app {

TableModel::TableModel(storage::DataModule &data, storage::TableData::Query query, util::Prompter &prompter,
                       QObject *parent)
    : QAbstractTableModel(parent), table_(data, std::move(query)), prompter_(prompter)
{
    std::vector<Column> all;
    for (const QString &c : table_.columns())
        all.push_back({c, {}});
    setColumns(all);
}

void TableModel::setColumns(const std::vector<Column> &columns)
{
    beginResetModel();
    columns_ = columns;
    dataIndex_.clear();
    for (const Column &c : columns_)
        dataIndex_.push_back(c.name.isEmpty() ? -1 : table_.columnIndex(c.name));
    endResetModel();
}

void TableModel::reload()
{
    beginResetModel();
    table_.reload();
    endResetModel();
}

void TableModel::reload(const QVariantList &values)
{
    table_.setValues(values);
    reload();
}

int TableModel::section(const QString &column) const
{
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name == column)
            return static_cast<int>(i);
    }
    return -1;
}

int TableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : table_.rowCount(); }

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString TableModel::display(int row, int dataColumn) const
{
    const QVariant v = table_.value(row, dataColumn);
    if (v.isNull())
        return {};
    if (table_.isDate(dataColumn))
        return v.toDate().toString(util::displayDateFormat(util::Separators::current().date));
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'f', 2).replace(u'.', util::Separators::current().decimal);
    return v.toString().trimmed();
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= columnCount())
        return {};
    const int col = index.column();
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (columns_[static_cast<size_t>(col)].compute)
            return columns_[static_cast<size_t>(col)].compute(index.row());
        const int d = dataIndex_[static_cast<size_t>(col)];
        // What an editor starts from has the separator the user may type, so that a
        // typed one never joins a second kind.
        return display(index.row(), d);
    }
    if (role == Qt::ForegroundRole && rowColour_) {
        const QColor c = rowColour_(index.row());
        if (c.isValid())
            return c;
    }
    if (role == Qt::TextAlignmentRole) {
        // A figure the grid computes lines up with the stored ones.
        if (columns_[static_cast<size_t>(col)].compute) {
            const QVariant v = columns_[static_cast<size_t>(col)].compute(index.row());
            if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        }
        const int d = dataIndex_[static_cast<size_t>(col)];
        const QVariant v = d >= 0 ? table_.value(index.row(), d) : QVariant();
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && rowHeader_)
        return rowHeader_(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column &c = columns_[static_cast<size_t>(section)];
    if (!c.caption.isEmpty() || c.name.isEmpty())
        return c.caption;
    return table_.caption(dataIndex_[static_cast<size_t>(section)]);
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editable_.contains(columns_[static_cast<size_t>(index.column())].name))
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableModel::parseTyped(const QString &typed, storage::TableData::Kind kind, QVariant &value)
{
    using Kind = storage::TableData::Kind;
    const QString text = typed.trimmed();
    if (text.isEmpty() && kind != Kind::Text) {
        value = QVariant(); // an emptied number or date is no value, not 0
        return true;
    }
    const util::Separators sep = util::Separators::current();
    bool ok = true;
    switch (kind) {
    case Kind::Date: {
        const QDate d = QDate::fromString(text, util::displayDateFormat(sep.date));
        value = d;
        return d.isValid();
    }
    case Kind::Integer:
        value = text.toLongLong(&ok);
        return ok;
    case Kind::Number: {
        QString t = text;
        t.replace(sep.decimal, u'.');
        t.replace(u',', u'.');
        value = t.toDouble(&ok);
        return ok;
    }
    case Kind::Text:
        break;
    }
    value = text;
    return true;
}

bool TableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int d = dataIndex_[static_cast<size_t>(index.column())];
    if (d < 0)
        return false;
    if (display(index.row(), d) == value.toString().trimmed())
        return true; // nothing changed: no write, no post
    QVariant stored;
    if (!parseTyped(value.toString(), table_.kind(d), stored)) {
        prompter_.message(QStringLiteral("Невалидна стойност: \"%1\".").arg(value.toString()));
        return false;
    }
    // An employee's accounts and address are checked as they are typed.
    const bool person = table_.base() == QLatin1String("PERSONS");
    if (person)
        stored = employees::normalizedField(table_.columns()[d], stored);
    // Refused here, the message names the field as the window shows it.
    if (const storage::TableDef *def = storage::catalogue::find(table_.base())) {
        const int c = def->columnIndex(table_.columns()[d]);
        QString problem =
            c < 0 ? QString()
                  : storage::checkColumnValue(def->columns[static_cast<size_t>(c)], stored, fieldCaption(table_.columns()[d]));
        if (problem.isEmpty() && person)
            problem = employees::checkPersonField(table_.columns()[d], stored);
        if (!problem.isEmpty()) {
            prompter_.message(problem);
            return false;
        }
    }
    try {
        table_.setValue(index.row(), d, stored);
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
        return false;
    }
    // Only the cell and the computed columns: a form's mapper fills again the
    // widgets of the sections named here, and a wider notice would wipe the
    // fields it has yet to submit (a town's region after its name).
    emit dataChanged(index, index);
    for (int c = 0; c < columnCount(); ++c)
        if (columns_[static_cast<size_t>(c)].compute)
            emit dataChanged(this->index(index.row(), c), this->index(index.row(), c));
    emit posted(index.row(), table_.columns()[d]);
    return true;
}

QString TableModel::fieldCaption(const QString &column) const
{
    if (const QString label = fieldCaptions_.value(column); !label.isEmpty())
        return label;
    const int section = this->section(column);
    if (section >= 0)
        if (const QString header = headerData(section, Qt::Horizontal).toString(); !header.isEmpty())
            return header;
    const int d = static_cast<int>(table_.columns().indexOf(column));
    return d >= 0 ? table_.caption(d) : QString();
}

void TableModel::fitMappedFields(const QDataWidgetMapper &mapper)
{
    const storage::TableDef *def = storage::catalogue::find(table_.base());
    for (int section = 0; section < columnCount(); ++section) {
        auto *edit = qobject_cast<QLineEdit *>(mapper.mappedWidgetAt(section));
        const int d = dataIndex_[static_cast<size_t>(section)];
        if (!edit || d < 0)
            continue;
        const QString column = table_.columns()[d];
        if (def) {
            const int c = def->columnIndex(column);
            if (const int length = c < 0 ? 0 : storage::textLength(def->columns[static_cast<size_t>(c)]); length > 0)
                edit->setMaxLength(length);
        }
        for (const QLabel *label : edit->window()->findChildren<QLabel *>()) {
            if (label->buddy() != edit)
                continue;
            QString caption = label->text();
            caption.remove(QLatin1Char('&'));
            while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QLatin1Char(' ')))
                caption.chop(1);
            if (!caption.isEmpty())
                fieldCaptions_.insert(column, caption);
            break;
        }
    }
}

} // namespace plavex::app
