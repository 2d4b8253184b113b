#include "storage/NomLoader.h"

#include "storage/Catalogue.h"
#include "storage/ColumnValue.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"
#include "util/Prompter.h"
#include "util/Rounding.h"

#include <QFile>
#include <QVariant>


namespace plavex::storage {

namespace {

enum class Kind { Text, Integer, Number };

Kind kindOf(const TableDef &def, const QString &column)
{
    const int i = def.columnIndex(column);
    const QLatin1String type(i < 0 ? "CHARACTER" : def.columns[static_cast<size_t>(i)].type);
    if (type == QLatin1String("INTEGER") || type == QLatin1String("SMALLINT"))
        return Kind::Integer;
    if (type == QLatin1String("NUMERIC"))
        return Kind::Number;
    return Kind::Text;
}

QStringList allColumns(const TableDef &def)
{
    QStringList names;
    for (const ColumnDef &c : def.columns)
        names << QLatin1String(c.name);
    return names;
}

// The values as the row's own insert would list them, for the messages.
QString valuesText(const QStringList &fields, const std::vector<Kind> &kinds)
{
    QStringList shown;
    for (int i = 0; i < fields.size(); ++i)
        shown << (kinds[static_cast<size_t>(i)] == Kind::Text ? QLatin1Char('\'') + fields[i] + QLatin1Char('\'') : fields[i]);
    return shown.join(QLatin1Char(','));
}

bool isRowRefused(const fb::Error &e)
{
    // Arithmetic or string truncation, conversion, a column's NOT NULL, a
    // duplicate key.
    for (const long code : {335544321L, 335544334L, 335544347L, 335544665L, 335544349L})
        if (e.has(code))
            return true;
    return false;
}

} // namespace

NomLoader::NomLoader(fb::Transaction &transaction, util::Prompter &prompter)
    : transaction_(transaction), prompter_(prompter)
{
}

int NomLoader::loadNoi(const QString &table, const QString &path)
{
    return load(QStringLiteral("NOI"), table, allColumns(catalogue::table(u"NOI")), path, true,
                Amounts::AsRead);
}

int NomLoader::loadDod(const QString &table, int year, const QString &path)
{
    (void)year; // the year is the file's first field
    return load(QStringLiteral("DOD"), table, allColumns(catalogue::table(u"DOD")), path, false,
                Amounts::TwoDecimals);
}

int NomLoader::loadPril1(const QString &table, const QString &path)
{
    return load(QStringLiteral("PRIL1"), table, allColumns(catalogue::table(u"PRIL1")), path, false,
                Amounts::AsRead);
}

int NomLoader::loadNkid(const QString &table, const QString &path)
{
    return load(QStringLiteral("NKID"), table, allColumns(catalogue::table(u"NKID")), path, false,
                Amounts::AsRead);
}

int NomLoader::loadNap(const QString &table, const QString &path)
{
    return load(QStringLiteral("NAP"), table, allColumns(catalogue::table(u"NAP")), path, true,
                Amounts::AsRead);
}

int NomLoader::loadBin(const QString &table, const QString &path)
{
    return load(QStringLiteral("BIN"), table, allColumns(catalogue::table(u"BIN")), path, false,
                Amounts::AsRead);
}

int NomLoader::load(const QString &base, const QString &table, const QStringList &columns, const QString &path,
                    bool withErrorText, Amounts amounts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    file.close();
    if (const QString problem = util::cp1251Problem(bytes); !problem.isEmpty())
        throw ServiceFileError(QStringLiteral("Файл %1: %2.").arg(path, problem));
    const QStringList lines = util::fromCp1251(bytes).split(QLatin1Char('\n'));

    const TableDef &def = catalogue::table(base);
    std::vector<Kind> kinds;
    for (const QString &c : columns)
        kinds.push_back(kindOf(def, c));
    const QString columnList = columns.join(QLatin1Char(','));
    const QString sql = QStringLiteral("INSERT INTO %1 (%2)  values (%3)")
                            .arg(table, columnList, QStringLiteral("?,").repeated(columns.size()).chopped(1));
    fb::Statement insert(transaction_, sql);

    prompter_.progressStart(QStringLiteral("Четене на файл ") + path);
    struct ProgressEnd {
        util::Prompter &p;
        ~ProgressEnd() { p.progressEnd(); }
    } progressEnd{prompter_};
    int inserted = 0;
    for (int n = 0; n < lines.size(); ++n) {
        prompter_.progressStep(n + 1, static_cast<int>(lines.size()));
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // A line beginning with "#" says where the figures come from.
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = line.split(QLatin1Char(';'));
        while (fields.size() > columns.size() && fields.last().trimmed().isEmpty())
            fields.removeLast();

        const QString where = QStringLiteral("Файл %1, ред %2: ").arg(path).arg(n + 1);
        QString fault;
        QVariantList values;
        if (fields.size() != columns.size()) {
            fault = QStringLiteral("%1 полета вместо %2.").arg(fields.size()).arg(columns.size());
        } else {
            for (int i = 0; i < fields.size() && fault.isEmpty(); ++i) {
                const QString f = fields[i].trimmed();
                const Kind kind = kinds[static_cast<size_t>(i)];
                if (kind == Kind::Text) {
                    values << fields[i];
                    continue;
                }
                if (f.isEmpty()) {
                    values << QVariant(); // no figure in the source: NULL, not zero
                    continue;
                }
                bool ok = false;
                if (kind == Kind::Integer) {
                    const qint64 v = f.toLongLong(&ok);
                    values << v;
                } else {
                    double v = QString(f).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
                    if (amounts == Amounts::TwoDecimals && i > 0)
                        v = util::roundHalfEven(v, 2);
                    values << v;
                }
                if (!ok)
                    fault = QStringLiteral("\"%1\" не е число (%2).").arg(f, columns[i]);
                else if (const int c = def.columnIndex(columns[i]); c >= 0) {
                    // "nan", "inf" and figures too large for the column are no rates.
                    const QString problem = checkColumnValue(def.columns[static_cast<size_t>(c)], values.last());
                    if (!problem.isEmpty())
                        fault = QStringLiteral("\"%1\": %2").arg(f, problem);
                }
            }
        }
        if (fault.isEmpty()) {
            try {
                insert.bindAll(values);
                insert.execute();
                ++inserted;
                continue;
            } catch (const fb::Error &e) {
                // Only a value the table refuses is the line's fault; a lost
                // server or a full disk is not, and says so itself.
                if (!isRowRefused(e))
                    throw;
                fault = columnList + QLatin1Char('\n') + valuesText(fields, kinds);
                if (withErrorText)
                    fault += QLatin1Char('\n') + e.message();
            }
        }
        ++stopped_;
        throw ServiceFileError(where + fault);
    }
    return inserted;
}

} // namespace plavex::storage
