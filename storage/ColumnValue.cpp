#include "storage/ColumnValue.h"

#include "util/CodePage.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>
#include <limits>

namespace plavex::storage {

namespace {

// "(12,2)" → {12, 2}; "(50)" → {50, 0}; nothing → {0, 0}.
std::pair<int, int> sizeOf(const ColumnDef &column)
{
    static const QRegularExpression size(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const auto m = size.match(QLatin1String(column.extras));
    if (!m.hasMatch())
        return {0, 0};
    return {m.captured(1).toInt(), m.captured(2).isEmpty() ? 0 : m.captured(2).toInt()};
}

bool isType(const ColumnDef &column, const char *type) { return qstrcmp(column.type, type) == 0; }

} // namespace

const ColumnDef &catalogueColumn(QStringView base, const QString &column)
{
    const TableDef &def = catalogue::table(base);
    const int i = def.columnIndex(column);
    if (i < 0)
        throw std::out_of_range("no column " + column.toStdString());
    return def.columns[static_cast<size_t>(i)];
}

QString fieldName(const ColumnDef &column)
{
    const QString caption = QString::fromUtf8(column.caption).trimmed();
    const QString name = QLatin1String(column.name);
    return caption.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(caption, name);
}

int textLength(const ColumnDef &column)
{
    return isType(column, "CHARACTER") || isType(column, "VARCHAR") ? sizeOf(column).first : 0;
}

QString checkColumnValue(const ColumnDef &column, const QVariant &value, const QString &caption)
{
    if (value.isNull() || !value.isValid())
        return {};
    const QString field = caption.isEmpty() ? fieldName(column) : caption;
    if (isType(column, "INTEGER") || isType(column, "SMALLINT")) {
        bool ok = false;
        const double n = value.toDouble(&ok);
        const double limit = isType(column, "SMALLINT") ? 32767.0 : 2147483647.0;
        if (!ok || !std::isfinite(n) || n != std::floor(n))
            return QStringLiteral("%1: очаква се цяло число.").arg(field);
        if (std::fabs(n) > limit)
            return QStringLiteral("%1: числото %2 е извън допустимото (до %3).").arg(field).arg(n, 0, 'f', 0).arg(limit, 0, 'f', 0);
        return {};
    }
    if (isType(column, "NUMERIC")) {
        bool ok = false;
        const double n = value.toDouble(&ok);
        if (!ok || !std::isfinite(n))
            return QStringLiteral("%1: очаква се число.").arg(field);
        const auto [precision, scale] = sizeOf(column);
        // The engine keeps a NUMERIC of up to 4 digits in 16 bits and of up to
        // 9 in 32, and holds what fits there whatever the declared digits
        // (older columns rely on it: a minimum wage in NUMERIC(5,4)). Wider
        // ones are amounts: their declared digits are the limit.
        const double limit = precision <= 4 ? 32767.0 / std::pow(10.0, scale)
                             : precision <= 9 ? 2147483647.0 / std::pow(10.0, scale)
                                              : std::pow(10.0, precision - scale);
        if (std::fabs(n) >= limit)
            return QStringLiteral("%1: сумата %2 е извън допустимото (по-малко от %3).")
                .arg(field, QString::number(n, 'f', scale), QString::number(limit, 'f', 0));
        return {};
    }
    if (isType(column, "CHARACTER") || isType(column, "VARCHAR")) {
        const QString text = value.toString();
        const int length = sizeOf(column).first;
        if (length > 0 && text.size() > length)
            return QStringLiteral("%1: текстът е %2 знака, а полето побира %3.").arg(field).arg(text.size()).arg(length);
        if (util::fromCp1251(util::toCp1251(text)) != text)
            return QStringLiteral("%1: текстът съдържа знаци, които не могат да бъдат записани (само кирилица и латиница).").arg(field);
        return {};
    }
    if (isType(column, "DATE")) {
        if (!value.toDate().isValid())
            return QStringLiteral("%1: невалидна дата.").arg(field);
        return {};
    }
    return {};
}

QString parseColumnValue(const ColumnDef &column, const QString &text, QVariant &value)
{
    const QString t = text.trimmed();
    const QString field = fieldName(column);
    value = QVariant();
    if (isType(column, "INTEGER") || isType(column, "SMALLINT") || isType(column, "NUMERIC")) {
        if (t.isEmpty())
            return {};
        // Plain digits only: "nan", "inf" and "1e10" are no amounts anybody typed.
        static const QRegularExpression integer(QStringLiteral("^[-+]?\\d+$"));
        static const QRegularExpression decimal(QStringLiteral("^[-+]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
        const bool numeric = isType(column, "NUMERIC");
        if (!(numeric ? decimal : integer).match(t).hasMatch())
            return numeric ? QStringLiteral("%1: \"%2\" не е число.").arg(field, t.left(40))
                           : QStringLiteral("%1: \"%2\" не е цяло число.").arg(field, t.left(40));
        if (numeric)
            value = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        else
            value = t.toDouble(); // range checked below before it becomes an integer
        const QString problem = checkColumnValue(column, value);
        if (problem.isEmpty() && !numeric)
            value = static_cast<qint64>(value.toDouble());
        return problem;
    }
    if (isType(column, "DATE")) {
        if (t.isEmpty())
            return {};
        const QDate d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
        if (!d.isValid())
            return QStringLiteral("%1: невалидна дата \"%2\" (ДД.ММ.ГГГГ).").arg(field, t.left(40));
        value = d;
        return {};
    }
    value = text;
    return checkColumnValue(column, value);
}

} // namespace plavex::storage
