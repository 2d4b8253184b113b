#include "storage/fb/Statement.h"

#include "storage/fb/Connection.h"
#include "storage/fb/Error.h"
#include "storage/fb/Status.h"
#include "storage/fb/Transaction.h"

#include <array>
#include <cmath>
#include <cstring>

using namespace Firebird;

namespace plavex::fb {

namespace {

constexpr unsigned kCharsetOctets = 1;
constexpr unsigned kCharsetUtf8 = 4;
constexpr unsigned kSqlBoolean = 32764;
constexpr qint64 kIscDateBase = 2400001; // Julian day of 17.11.1858, day 0 of ISC_DATE

template <typename T>
T readAt(const QByteArray &buffer, unsigned offset)
{
    T v{};
    if (offset + sizeof v <= static_cast<size_t>(buffer.size()))
        std::memcpy(&v, buffer.constData() + offset, sizeof v);
    return v;
}

template <typename T>
void writeAt(QByteArray &buffer, unsigned offset, T v)
{
    std::memcpy(buffer.data() + offset, &v, sizeof v);
}

double scaled(qint64 raw, int scale)
{
    // The same powers as std::pow gives, made once: a walk reads hundreds of
    // thousands of amounts.
    static const auto powers = [] {
        std::array<double, 19> p{};
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = std::pow(10.0, static_cast<int>(i));
        return p;
    }();
    const int n = -scale;
    return static_cast<double>(raw) / (n >= 0 && n < static_cast<int>(powers.size()) ? powers[static_cast<size_t>(n)] : std::pow(10.0, n));
}

} // namespace

Statement::Statement(Transaction &transaction, const QString &sql) : transaction_(transaction), sql_(sql)
{
    Status status;
    try {
        const QByteArray text = sql.toUtf8();
        statement_ = transaction.connection().handle()->prepare(
            &status, transaction.handle(), static_cast<unsigned>(text.size()), text.constData(), 3,
            IStatement::PREPARE_PREFETCH_METADATA);
        const unsigned type = statement_->getType(&status);
        select_ = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;

        IMessageMetadata *in = statement_->getInputMetadata(&status);
        params_.resize(in->getCount(&status));
        in->release();

        outMeta_ = statement_->getOutputMetadata(&status);
        const unsigned n = outMeta_->getCount(&status);
        columns_.resize(n);
        for (unsigned i = 0; i < n; ++i) {
            Column &c = columns_[i];
            c.name = QString::fromUtf8(outMeta_->getAlias(&status, i));
            c.type = outMeta_->getType(&status, i) & ~1u;
            c.scale = outMeta_->getScale(&status, i);
            c.length = outMeta_->getLength(&status, i);
            c.charset = outMeta_->getCharSet(&status, i);
            c.offset = outMeta_->getOffset(&status, i);
            c.nullOffset = outMeta_->getNullOffset(&status, i);
        }
        row_.resize(static_cast<qsizetype>(outMeta_->getMessageLength(&status)));
    } catch (const FbException &e) {
        if (outMeta_)
            outMeta_->release();
        if (statement_)
            statement_->release();
        outMeta_ = nullptr;
        statement_ = nullptr;
        Engine::rethrow(e, sql);
    }
}

Statement::~Statement()
{
    close();
    if (outMeta_)
        outMeta_->release();
    if (statement_) {
        Status status;
        try {
            statement_->free(&status);
        } catch (const FbException &) {
            statement_->release();
        }
    }
}

Statement &Statement::bind(int index, const QVariant &value)
{
    if (index < 0 || index >= parameterCount())
        throw Error(0, QStringLiteral("Грешен номер на параметър %1").arg(index), sql_);
    params_[static_cast<size_t>(index)] = value;
    return *this;
}

Statement &Statement::bindAll(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i, values[i]);
    return *this;
}

void Statement::buildInput(QByteArray &buffer, IMessageMetadata *&meta)
{
    Status status;
    IMetadataBuilder *builder = nullptr;
    try {
        IMessageMetadata *in = statement_->getInputMetadata(&status);
        builder = in->getBuilder(&status);
        in->release();
        std::vector<QByteArray> texts(params_.size());
        for (unsigned i = 0; i < params_.size(); ++i) {
            const QVariant &v = params_[i];
            // The low bit of a type marks the field as nullable.
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
            case QMetaType::ULong:
                builder->setType(&status, i, SQL_INT64 + 1);
                builder->setLength(&status, i, sizeof(qint64));
                builder->setScale(&status, i, 0);
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                builder->setType(&status, i, SQL_DOUBLE + 1);
                builder->setLength(&status, i, sizeof(double));
                builder->setScale(&status, i, 0);
                break;
            case QMetaType::QDate:
                builder->setType(&status, i, SQL_TYPE_DATE + 1);
                builder->setLength(&status, i, sizeof(ISC_DATE));
                builder->setScale(&status, i, 0);
                break;
            default: {
                const bool octets = v.typeId() == QMetaType::QByteArray;
                texts[i] = octets ? v.toByteArray() : v.isValid() ? v.toString().toUtf8() : QByteArray();
                builder->setType(&status, i, SQL_VARYING + 1);
                builder->setLength(&status, i, static_cast<unsigned>(std::max<qsizetype>(texts[i].size(), 1)));
                builder->setCharSet(&status, i, octets ? kCharsetOctets : kCharsetUtf8);
                builder->setScale(&status, i, 0);
                break;
            }
            }
        }
        meta = builder->getMetadata(&status);
        builder->release();
        builder = nullptr;

        buffer.fill('\0', static_cast<qsizetype>(meta->getMessageLength(&status)));
        for (unsigned i = 0; i < params_.size(); ++i) {
            const QVariant &v = params_[i];
            const unsigned offset = meta->getOffset(&status, i);
            const bool null = !v.isValid() || v.isNull();
            writeAt<ISC_SHORT>(buffer, meta->getNullOffset(&status, i), null ? -1 : 0);
            if (null)
                continue;
            switch (meta->getType(&status, i) & ~1u) {
            case SQL_INT64:
                writeAt<qint64>(buffer, offset, v.toLongLong());
                break;
            case SQL_DOUBLE:
                writeAt<double>(buffer, offset, v.toDouble());
                break;
            case SQL_TYPE_DATE:
                writeAt<ISC_DATE>(buffer, offset, static_cast<ISC_DATE>(v.toDate().toJulianDay() - kIscDateBase));
                break;
            default: {
                const QByteArray &t = texts[i];
                writeAt<ISC_USHORT>(buffer, offset, static_cast<ISC_USHORT>(t.size()));
                std::memcpy(buffer.data() + offset + sizeof(ISC_USHORT), t.constData(), static_cast<size_t>(t.size()));
                break;
            }
            }
        }
    } catch (const FbException &e) {
        if (builder)
            builder->release();
        Engine::rethrow(e, sql_);
    }
}

void Statement::execute()
{
    close();
    QByteArray input;
    IMessageMetadata *inMeta = nullptr;
    if (!params_.empty())
        buildInput(input, inMeta);
    Status status;
    try {
        ITransaction *tra = transaction_.handle();
        void *inBuffer = inMeta ? input.data() : nullptr;
        if (select_)
            cursor_ = statement_->openCursor(&status, tra, inMeta, inBuffer, outMeta_, 0);
        else
            statement_->execute(&status, tra, inMeta, inBuffer, nullptr, nullptr);
        if (inMeta)
            inMeta->release();
    } catch (const FbException &e) {
        if (inMeta)
            inMeta->release();
        Engine::rethrow(e, sql_);
    }
    executed_ = true;
}

bool Statement::next()
{
    if (!executed_)
        execute();
    if (!cursor_)
        return false;
    if (!fetchStatus_)
        fetchStatus_ = std::make_unique<Status>();
    fetchStatus_->init();
    try {
        hasRow_ = cursor_->fetchNext(fetchStatus_.get(), row_.data()) == IStatus::RESULT_OK;
    } catch (const FbException &e) {
        Engine::rethrow(e, sql_);
    }
    if (!hasRow_)
        close();
    return hasRow_;
}

void Statement::close()
{
    hasRow_ = false;
    executed_ = false;
    if (!cursor_)
        return;
    Status status;
    try {
        cursor_->close(&status);
    } catch (const FbException &) {
        cursor_->release();
    }
    cursor_ = nullptr;
}

QString Statement::columnName(int column) const
{
    return columns_.at(static_cast<size_t>(column)).name;
}

int Statement::columnIndex(QStringView name) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (QStringView(columns_[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

bool Statement::isNull(int column) const
{
    if (!hasRow_)
        return true;
    return readAt<ISC_SHORT>(row_, columns_.at(static_cast<size_t>(column)).nullOffset) != 0;
}

QVariant Statement::value(int column) const
{
    if (isNull(column))
        return {};
    const Column &c = columns_.at(static_cast<size_t>(column));
    switch (c.type) {
    case SQL_TEXT: {
        const QByteArray raw(row_.constData() + c.offset, static_cast<qsizetype>(c.length));
        if (c.charset == kCharsetOctets)
            return raw; // binary, e.g. RDB$DB_KEY
        return QString::fromUtf8(raw).trimmed();
    }
    case SQL_VARYING: {
        const auto n = readAt<ISC_USHORT>(row_, c.offset);
        const QByteArray raw(row_.constData() + c.offset + sizeof(ISC_USHORT), n);
        if (c.charset == kCharsetOctets)
            return raw;
        return QString::fromUtf8(raw);
    }
    case SQL_SHORT: {
        const qint64 raw = readAt<ISC_SHORT>(row_, c.offset);
        return c.scale ? QVariant(scaled(raw, c.scale)) : QVariant(raw);
    }
    case SQL_LONG: {
        const qint64 raw = readAt<ISC_LONG>(row_, c.offset);
        return c.scale ? QVariant(scaled(raw, c.scale)) : QVariant(raw);
    }
    case SQL_INT64: {
        const qint64 raw = readAt<ISC_INT64>(row_, c.offset);
        return c.scale ? QVariant(scaled(raw, c.scale)) : QVariant(raw);
    }
    case SQL_FLOAT:
        return static_cast<double>(readAt<float>(row_, c.offset));
    case SQL_DOUBLE:
        return readAt<double>(row_, c.offset);
    case SQL_TYPE_DATE:
        return QDate::fromJulianDay(readAt<ISC_DATE>(row_, c.offset) + kIscDateBase);
    case SQL_TIMESTAMP: {
        const auto ts = readAt<ISC_TIMESTAMP>(row_, c.offset);
        const QDate d = QDate::fromJulianDay(ts.timestamp_date + kIscDateBase);
        return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ts.timestamp_time / 10)));
    }
    case SQL_TYPE_TIME:
        return QTime::fromMSecsSinceStartOfDay(static_cast<int>(readAt<ISC_TIME>(row_, c.offset) / 10));
    case kSqlBoolean:
        return readAt<unsigned char>(row_, c.offset) != 0;
    default:
        return {}; // blobs and arrays are not read through this class
    }
}

// Numbers straight from the row, as value() would give them, without a QVariant.
qint64 Statement::toInt(int column) const
{
    const Column &c = columns_.at(static_cast<size_t>(column));
    if (c.scale != 0 || isNull(column))
        return value(column).toLongLong();
    switch (c.type) {
    case SQL_SHORT:
        return readAt<ISC_SHORT>(row_, c.offset);
    case SQL_LONG:
        return readAt<ISC_LONG>(row_, c.offset);
    case SQL_INT64:
        return readAt<ISC_INT64>(row_, c.offset);
    default:
        return value(column).toLongLong();
    }
}

double Statement::toDouble(int column) const
{
    const Column &c = columns_.at(static_cast<size_t>(column));
    if (isNull(column))
        return 0.0;
    qint64 raw = 0;
    switch (c.type) {
    case SQL_SHORT:
        raw = readAt<ISC_SHORT>(row_, c.offset);
        break;
    case SQL_LONG:
        raw = readAt<ISC_LONG>(row_, c.offset);
        break;
    case SQL_INT64:
        raw = readAt<ISC_INT64>(row_, c.offset);
        break;
    case SQL_DOUBLE:
        return readAt<double>(row_, c.offset);
    default:
        return value(column).toDouble();
    }
    return c.scale ? scaled(raw, c.scale) : static_cast<double>(raw);
}

QString Statement::toText(int column) const
{
    const Column &c = columns_.at(static_cast<size_t>(column));
    if (c.type != SQL_TEXT || c.charset == kCharsetOctets || isNull(column))
        return value(column).toString();
    // A CHARACTER column comes padded with blanks, mostly blank altogether:
    // they are cut before the text is made.
    const char *raw = row_.constData() + c.offset;
    qsizetype n = static_cast<qsizetype>(c.length);
    while (n > 0 && raw[n - 1] == ' ')
        --n;
    return QString::fromUtf8(raw, n).trimmed();
}

QVariantMap Statement::row() const
{
    QVariantMap map;
    for (int i = 0; i < columnCount(); ++i)
        map.insert(columnName(i), value(i));
    return map;
}

QVariant Statement::value(QStringView name) const
{
    const int i = columnIndex(name);
    return i < 0 ? QVariant() : value(i);
}

QVariant Statement::scalar(Transaction &transaction, const QString &sql, const QVariantList &values)
{
    Statement s(transaction, sql);
    s.bindAll(values);
    s.execute();
    if (s.isSelect() && s.next())
        return s.value(0);
    return {};
}

void Statement::run(Transaction &transaction, const QString &sql, const QVariantList &values)
{
    Statement s(transaction, sql);
    s.bindAll(values);
    s.execute();
}

} // namespace plavex::fb
