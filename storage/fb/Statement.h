#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QVariantList>

#include <memory>
#include <vector>

namespace Firebird {
class IStatement;
class IMessageMetadata;
class IResultSet;
}

namespace plavex::fb {

class Status;
class Transaction;

// A prepared statement in one transaction. Values are bound to the "?"
// markers (0-based), never spliced into the text: QVariant() is NULL,
// integers, doubles, texts and dates bind with their own types.
// Results come back as QVariant: integers as qint64, scaled NUMERIC as
// double, CHARACTER trimmed, DATE as QDate.
class Statement {
public:
    Statement(Transaction &transaction, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const QVariant &value);
    Statement &bindAll(const QVariantList &values);

    // Runs the statement; a SELECT opens its cursor, read it with next().
    void execute();
    bool next();
    void close();

    bool isSelect() const { return select_; }
    int parameterCount() const { return static_cast<int>(params_.size()); }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    QString columnName(int column) const;
    int columnIndex(QStringView name) const; // -1 when there is no such column
    QString sql() const { return sql_; }

    bool isNull(int column) const;
    QVariant value(int column) const;
    QVariant value(QStringView name) const;
    QVariantMap row() const; // the current row, by column name
    qint64 toInt(int column) const;
    double toDouble(int column) const;
    QString toText(int column) const;
    QDate toDate(int column) const { return value(column).toDate(); }

    // Convenience: prepare, bind, run and, for a SELECT, return the first
    // column of the first row (an invalid QVariant when there is none).
    static QVariant scalar(Transaction &transaction, const QString &sql, const QVariantList &values = {});
    static void run(Transaction &transaction, const QString &sql, const QVariantList &values = {});

private:
    struct Column {
        QString name;
        unsigned type = 0;
        int scale = 0;
        unsigned length = 0;
        unsigned charset = 0;
        unsigned offset = 0;
        unsigned nullOffset = 0;
    };

    void buildInput(QByteArray &buffer, Firebird::IMessageMetadata *&meta);

    Transaction &transaction_;
    QString sql_;
    Firebird::IStatement *statement_ = nullptr;
    Firebird::IMessageMetadata *outMeta_ = nullptr;
    Firebird::IResultSet *cursor_ = nullptr;
    std::unique_ptr<Status> fetchStatus_; // one for every row, not one made per row
    std::vector<QVariant> params_;
    std::vector<Column> columns_;
    QByteArray row_;
    bool select_ = false;
    bool executed_ = false;
    bool hasRow_ = false;
};

} // namespace plavex::fb
