#include "operations/LegacyFields.h"

#include "storage/ColumnValue.h"
#include "util/CodePage.h"
#include "util/Rounding.h"

#include <QDate>
#include <QStringDecoder>

namespace plavex::operations::legacy {

namespace {
constexpr int kQuoted = 40;

bool isNumeric(const storage::ColumnDef &column)
{
    return qstrcmp(column.type, "INTEGER") == 0 || qstrcmp(column.type, "SMALLINT") == 0
           || qstrcmp(column.type, "NUMERIC") == 0;
}
} // namespace

QString decodeDos(const QByteArray &bytes) { return util::fromCp1251(util::dosToCp1251(bytes)); }

bool looksLikeUtf8(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return true;
    // DOS letters alone are no valid UTF-8: a byte 0x80-0xBF needs a lead byte.
    bool high = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            high = true;
            break;
        }
    if (!high)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

QString quoted(const QString &text)
{
    const QString t = text.trimmed();
    return t.size() > kQuoted ? t.left(kQuoted) + QStringLiteral("…") : t;
}

QVariant checkedValue(QStringView table, const char *column, const QVariant &value)
{
    const storage::ColumnDef &def = storage::catalogueColumn(table, QLatin1String(column));
    const QString problem = storage::checkColumnValue(def, value);
    if (!problem.isEmpty())
        throw Fault{problem};
    return value;
}

QVariant columnValue(QStringView table, const char *column, const QString &text)
{
    const storage::ColumnDef &def = storage::catalogueColumn(table, QLatin1String(column));
    QVariant value;
    const QString problem = storage::parseColumnValue(def, text, value);
    if (!problem.isEmpty())
        throw Fault{problem};
    if (value.isNull() && isNumeric(def))
        return 0;
    return value;
}

Fields::Fields(const QString &line) : parts_(line.split(QLatin1Char(','))) {}

void Fields::require(int n) const
{
    if (size() < n)
        throw Fault{QStringLiteral("%1 полета вместо поне %2.").arg(size()).arg(n)};
}

QString Fields::raw(int i) const { return i < size() ? parts_[i].trimmed() : QString(); }

QVariant Fields::integer(int i, QStringView table, const char *column) const
{
    return columnValue(table, column, raw(i));
}

QVariant Fields::amount(int i, QStringView table, const char *column, int decimals) const
{
    return util::roundHalfEven(columnValue(table, column, raw(i)).toDouble(), decimals);
}

QVariant Fields::text(int i, QStringView table, const char *column, int maxLength) const
{
    QString t = raw(i);
    if (maxLength > 0)
        t = t.left(maxLength).trimmed();
    return checkedValue(table, column, t);
}

QVariant Fields::date(int i, QStringView table, const char *column) const
{
    const QString t = raw(i);
    if (t.isEmpty() || t.count(QLatin1Char('0')) == t.size())
        return QVariant(QMetaType::fromType<QDate>());
    const QDate d = t.size() == 8 ? QDate::fromString(t, QStringLiteral("ddMMyyyy")) : QDate();
    if (!d.isValid())
        throw Fault{QStringLiteral("невалидна дата \"%1\" (ДДММГГГГ).").arg(quoted(t))};
    return checkedValue(table, column, d);
}

bool Fields::flag(int i) const { return raw(i).startsWith(QStringLiteral("д"), Qt::CaseInsensitive); }

} // namespace plavex::operations::legacy
