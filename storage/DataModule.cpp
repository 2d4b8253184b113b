#include "storage/DataModule.h"

#include "storage/DatabaseFile.h"
#include "storage/ErrorText.h"
#include "storage/NomLoader.h"
#include "storage/Settings.h"
#include "storage/TableNames.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <stdexcept>

namespace plavex::storage {

namespace {

const QString kCannotOpen = QStringLiteral("Базата данни не може да бъде отворена.");

// The tables the program works with in a period, in the order it opens them.
const char *const kOpenOrder[] = {"NKID", "OBS",  "GRAD",     "CAL",      "KAT",  "DL",      "DOD",
                                  "FIRMA", "GR",  "NOI",      "PRIL1",    "PERSDATA", "EMPL2000", "PERADEFS",
                                  "PERA", "PERSONS", "ZVENA", "NAP",      "BIN"};

// Tables whose in-memory copies the calculation keeps.
const char *const kEventTables[] = {"FIRMA", "NOI", "DOD", "DL", "PERADEFS", "CAL"};

struct StandardDefinition {
    int code;
    int type;
    const char *name;
};
const StandardDefinition kStandardDefinitions[] = {
    {1000, 100, "Общо начисления"},
    {2000, 200, "Общо удръжки"},
    {2010, 201, "Чиста сума за получаване"},
};

} // namespace

DataModule::DataModule(Settings &settings, util::Prompter &prompter, DefinitionSeeder seedDefinitions)
    : settings_(settings), prompter_(prompter), transaction_(connection_, fb::Transaction::LockWait::Wait),
      schema_(std::make_unique<Schema>(transaction_, prompter_, settings.nomsDir())), locks_(transaction_),
      period_(settings.lastDate), seedDefinitions_(std::move(seedDefinitions))
{
}

DataModule::~DataModule()
{
    try {
        close();
    } catch (const fb::Error &) {
        // Leaving anyway; the engine keeps what was committed.
    }
}

QString DataModule::checkedName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_$]*$"));
    if (!plain.match(name).hasMatch())
        throw std::invalid_argument("not a table or column name: " + name.toStdString());
    return name;
}

void DataModule::close()
{
    if (!connection_.isOpen())
        return;
    transaction_.commit();
    connection_.detach();
}

void DataModule::abandon()
{
    if (!connection_.isOpen())
        return;
    try {
        transaction_.rollback();
    } catch (const fb::Error &) {
        // Detaching undoes it as well.
    }
    try {
        connection_.detach();
    } catch (const fb::Error &) {
        // Gone already: the engine drops what was not committed.
    }
}

namespace {
QString periodLockName(const QString &suffix) { return QStringLiteral("PERIOD") + suffix; }
} // namespace

void DataModule::lockFor(const QString &table)
{
    const QString name = table.toUpper();
    if (name.size() > 6) {
        const QString suffix = name.right(6);
        const TableDef *def = catalogue::find(QStringView(name).chopped(6));
        if (def && def->scope == Scope::Month && util::Period::fromText(suffix)) {
            const int closed = locks_.take(periodLockName(suffix));
            if (suffix == period_.text() && closed != closedSeen_)
                throw Busy(QStringLiteral("Месец %1.%2 е приключен от друг потребител. Изберете отново текущия месец.")
                               .arg(period_.month(), 2, 10, QLatin1Char('0'))
                               .arg(period_.year()));
            return;
        }
    }
    locks_.take(name);
}

void DataModule::markPeriodClosed()
{
    lockPeriod();
    locks_.markClosed(periodLockName(period_.text()));
}

int DataModule::nextKey(const QString &table, const QString &column)
{
    lockFor(table);
    return getMaxValue(table, column) + 1;
}

namespace {

// The engine could not find the file (a database not made yet on a server).
bool missingFile(const fb::Error &e)
{
    constexpr long kIoError = 335544344;
    return e.has(kIoError) && e.message().contains(QLatin1String("No such file"), Qt::CaseInsensitive);
}

QString openFailure(const fb::Error &e, const QString &user, const QString &path)
{
    constexpr long kNetworkError = 335544721;
    QString text = QStringLiteral("%1 %2\n%3").arg(kCannotOpen).arg(e.code()).arg(e.message());
    if (e.has(fb::kLoginFailed))
        text += QStringLiteral("\nСървърът не прие потребителя \"%1\" с тази парола. Задайте потребител и парола на сървъра: "
                               "USER и PASSWORD в Plavex.ini, ISC_USER и ISC_PASSWORD в средата или --db-user и --db-password.")
                    .arg(user);
    else if (e.has(kNetworkError))
        text += QStringLiteral("\nСървърът не отговаря: проверете дали работи и дали адресът и портът са верни.");
    text += QStringLiteral("\nБаза данни: %1").arg(path);
    return text;
}

} // namespace

bool DataModule::connectToDatabase(const QString &path, const QString &user, const QString &password)
{
    close();
    const bool remote = fb::Connection::isRemote(path);
    if (!remote && !QFileInfo::exists(path))
        return createDatabase(path, user, password);
    try {
        try {
            connection_.attach(path, user, password);
        } catch (const fb::Error &e) {
            // A server makes its database on first use, as a local file is made.
            if (remote && missingFile(e))
                return createDatabase(path, user, password);
            throw;
        }
        if (!schema_->tableExists(QStringLiteral("MYPARAMS"))) {
            // An empty database (made on a server beforehand) becomes a new
            // company; one holding tables of something else is not touched.
            const qint64 tables = fb::Statement::scalar(transaction_, QStringLiteral(
                "select count(*) from RDB$RELATIONS where RDB$SYSTEM_FLAG=0 and RDB$RELATION_NAME<>'LOCKS'")).toLongLong();
            if (tables > 0) {
                prompter_.message(QStringLiteral("%1\nБазата данни %2 не е на програмата (в нея няма таблица MYPARAMS) "
                                                 "и не е променена.").arg(kCannotOpen, path));
                abandon();
                return false;
            }
            return initializeNew();
        }
        // With the embedded engine there is no server account to register
        // after a login failure: any failure to open is reported as such.
        readCurDate();
        return true;
    } catch (const fb::Error &e) {
        prompter_.message(openFailure(e, user, path));
        abandon();
        return false;
    }
}

bool DataModule::createDatabase(const QString &path, const QString &user, const QString &password)
{
    auto create = [&](const QString &file) {
        try {
            fb::Connection::createDatabase(file, user, password);
        } catch (const fb::Error &e) {
            QString text = QStringLiteral("Грешка при създаване на базата данни.  %1").arg(e.code());
            if (e.has(fb::kLoginFailed))
                text += QLatin1Char('\n') + openFailure(e, user, path).section(QLatin1Char('\n'), 2);
            else
                text += QStringLiteral("\n%1: %2").arg(path, errorText(e));
            prompter_.message(text);
            return false;
        }
        return true;
    };
    if (fb::Connection::isRemote(path)) {
        if (!create(path))
            return false;
        try {
            connection_.attach(path, user, password);
            return initializeNew();
        } catch (const fb::Error &e) {
            prompter_.message(openFailure(e, user, path));
            return false;
        }
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QString failure;
    const FileMade made = makeDatabaseFile(
        path,
        [&](const QString &temporary) {
            if (!create(temporary))
                return false;
            try {
                connection_.attach(temporary, user, password);
                if (!initializeNew()) {
                    abandon();
                    return false;
                }
                transaction_.commit();
                connection_.detach();
                return true;
            } catch (const fb::Error &e) {
                prompter_.message(openFailure(e, user, path));
                abandon();
                return false;
            }
        },
        &failure);
    if (made == FileMade::Failed) {
        if (!failure.isEmpty())
            prompter_.message(failure);
        return false;
    }
    try {
        connection_.attach(path, user, password);
        readCurDate();
        return true;
    } catch (const fb::Error &e) {
        prompter_.message(openFailure(e, user, path));
        abandon();
        return false;
    }
}

bool DataModule::initializeNew()
{
    try {
        // What a new company is made from must be there before anything is made.
        const QString nomsDir = settings_.nomsDir();
        if (!QDir(nomsDir).exists())
            throw ServiceFileError(schema_->missingNomsMessage());
        const QString chart = nomsDir + QStringLiteral("DATA3.TXT");
        if (schema_->lastShippedYear() != 0 && !QFileInfo::exists(chart))
            throw ServiceFileError(QStringLiteral("Файлът %1 с номенклатурата на перата липсва: фирмата не е създадена.")
                                       .arg(QDir::toNativeSeparators(chart)));

        schema_->createTable(QStringLiteral("MYPARAMS"), catalogue::table(u"MYPARAMS"));
        const QString definitions = names::monthTable(u"PERADEFS", period_);
        schema_->createTable(definitions, catalogue::table(u"PERADEFS"));
        transaction_.commit();

        insertRow(QStringLiteral("MYPARAMS"), QStringLiteral(" (PAR_CURDATE,PAR_AUTOCALC) "), {period_.text(), 1});
        seedDefinitions(definitions);
        transaction_.commitRetaining();

        readCurDate();
        schema_->createTables(period_, companySeed_);
        return true;
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("%1 %2\n%3").arg(kCannotOpen).arg(e.code()).arg(e.message()));
        return false;
    } catch (const ServiceFileError &e) {
        prompter_.message(QString::fromStdString(e.what()));
        return false;
    }
}

void DataModule::insertStandardDefinitions(const QString &table)
{
    for (const StandardDefinition &d : kStandardDefinitions) {
        if (notExists(table, QStringLiteral("PERODEFS_COD"), d.code))
            insertRow(table, QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                      {d.code, d.type, QString::fromUtf8(d.name), QStringLiteral("1110000000")});
    }
}

void DataModule::seedDefinitions(const QString &table)
{
    insertStandardDefinitions(table);
    if (seedDefinitions_)
        seedDefinitions_(*this, table);
}

QString DataModule::readCurDate()
{
    QString result;
    bool upgraded = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        fb::Statement q(transaction_, QStringLiteral("select * from MYPARAMS"));
        if (q.columnCount() == 1 && !upgraded) {
            q.close();
            upgraded = true;
            if (schema_->upgradeTable(QStringLiteral("MYPARAMS"), catalogue::table(u"MYPARAMS")) == 0)
                return {};
            continue;
        }
        if (q.next()) {
            result = q.toText(0).trimmed();
            autocalc_ = q.columnCount() > 1 && !q.isNull(1) && q.toInt(1) == 1;
        }
        break;
    }
    if (const auto stored = util::Period::fromText(result))
        period_ = *stored;
    return result;
}

void DataModule::storeCurDate()
{
    fb::Statement::run(transaction_, QStringLiteral("UPDATE MYPARAMS SET PAR_CURDATE=?"), {period_.text()});
    transaction_.commitRetaining();
}

void DataModule::setAutocalc(bool on)
{
    fb::Statement::run(transaction_, QStringLiteral("UPDATE MYPARAMS SET PAR_AUTOCALC=?"), {on ? 1 : 0});
    transaction_.commitRetaining();
    autocalc_ = on;
}

void DataModule::changePeriod(int year, int month)
{
    const util::Period wanted(year, month);
    if (wanted == period_ || !wanted.isValid())
        return;
    // Stored only once its tables are there: a month whose tables cannot be
    // made is not made current.
    const util::Period before = period_;
    try {
        openPeriod(wanted);
    } catch (...) {
        period_ = before;
        throw;
    }
    storeCurDate();
    for (const auto &listener : periodListeners_)
        listener(period_);
}

void DataModule::openPeriod(const util::Period &period)
{
    period_ = period;
    locks_.ensureTable();
    closedSeen_ = locks_.closedCount(periodLockName(period.text()));
    QStringList tables;
    for (const char *base : kOpenOrder)
        tables << names::table(QString::fromLatin1(base), period);

    // Made when missing, made again when a making was cut off.
    schema_->createTables(period, companySeed_);
    const auto present = schema_->columnsOf(tables);

    for (size_t i = 0; i < std::size(kOpenOrder); ++i) {
        const QString base = QString::fromLatin1(kOpenOrder[i]);
        const QString &name = tables[static_cast<int>(i)];
        const auto columns = present.constFind(name.toUpper());
        if (columns == present.constEnd()) {
            prompter_.message(name + QStringLiteral(" не съществува"));
            continue;
        }
        const TableDef &def = catalogue::table(base);
        bool complete = true;
        for (const ColumnDef &c : def.columns)
            complete = complete && columns->contains(QLatin1String(c.name));
        if (!complete) {
            schema_->upgradeTable(name, def);
            if (base == QLatin1String("NAP")) {
                // The accounts are the service file's business: refill them whole.
                fb::Statement::run(transaction_, QStringLiteral("delete from ") + name);
                schema_->seedNap(name, period.year());
            }
        }
    }

    // Older releases kept the unit code in a SMALLINT.
    const QString persons = names::monthTable(u"PERSONS", period);
    const TableDef &personsDef = catalogue::table(u"PERSONS");
    const ColumnDef &unit = personsDef.columns[static_cast<size_t>(personsDef.columnIndex(u"PERSON_ZVENO"))];
    if (present.contains(persons.toUpper()) && !schema_->columnType(persons, QStringLiteral("PERSON_ZVENO")).startsWith(QLatin1String("INTEGER")))
        schema_->alterDomainType(persons, QStringLiteral("PERSON_ZVENO"), unit);

    schema_->createIndexes(period);
    transaction_.commitRetaining();
    loadCompanySeed();
    for (const char *base : kEventTables)
        tableChanged(QString::fromLatin1(base));
}

void DataModule::loadCompanySeed()
{
    fb::Statement q(transaction_, QStringLiteral("select FIRMA_MINSALARY, FIRMA_INDDOO, FIRMA_MINDOH, FIRMA_OBMAJKI from ")
                                      + table(u"FIRMA"));
    if (!q.next())
        return;
    companySeed_.minSalary = q.toDouble(0);
    companySeed_.maxInsurable = q.toDouble(1);
    companySeed_.minInsurable = q.toDouble(2);
    companySeed_.maternity = q.toDouble(3);
}

void DataModule::tableChanged(const QString &base)
{
    for (const auto &listener : tableListeners_)
        listener(base);
}

QString DataModule::table(QStringView base) const { return names::table(base, period_); }

bool DataModule::notExists(const QString &table, const QString &column, const QVariant &value)
{
    fb::Statement q(transaction_, QStringLiteral("SELECT * FROM %1 where %2=?").arg(checkedName(table), checkedName(column)));
    q.bind(0, value);
    return !q.next();
}

bool DataModule::notExistsWhere(const QString &table, const QString &condition, const QVariantList &values)
{
    fb::Statement q(transaction_, QStringLiteral("SELECT * FROM %1 where %2").arg(checkedName(table), condition));
    q.bindAll(values);
    return !q.next();
}

void DataModule::insertRow(const QString &table, const QString &columnList, const QVariantList &values)
{
    static const QRegularExpression list(QStringLiteral("^\\s*\\(\\s*[A-Za-z0-9_$]+(\\s*,\\s*[A-Za-z0-9_$]+)*\\s*\\)\\s*$"));
    if (!list.match(columnList).hasMatch())
        throw std::invalid_argument("not a column list: " + columnList.toStdString());
    fb::Statement q(transaction_, QStringLiteral("INSERT INTO %1%2 values (%3)")
                                      .arg(checkedName(table), columnList,
                                           QStringLiteral("?,").repeated(values.size()).chopped(1)));
    q.bindAll(values);
    q.execute();
}

void DataModule::deleteRows(const QString &table, const QString &condition, const QVariantList &values)
{
    fb::Statement q(transaction_, QStringLiteral("DELETE FROM %1 where %2").arg(checkedName(table), condition));
    q.bindAll(values);
    q.execute();
}

int DataModule::countRows(const QString &table, const QString &column, const QString &condition,
                          const QVariantList &values)
{
    QString sql = QStringLiteral("SELECT COUNT(%1) fCount FROM %2").arg(checkedName(column), checkedName(table));
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return static_cast<int>(fb::Statement::scalar(transaction_, sql, values).toLongLong());
}

int DataModule::getMaxValue(const QString &table, const QString &column)
{
    return static_cast<int>(
        fb::Statement::scalar(transaction_, QStringLiteral("select max(%1) from %2").arg(checkedName(column), checkedName(table)))
            .toLongLong());
}

void DataModule::insertValues(const QString &table, const QString &columns, const QVariantList &values)
{
    insertRow(table, QStringLiteral(" (%1) ").arg(columns), values);
}

void DataModule::updateColumn(const QString &table, const QString &column, const QVariant &value)
{
    fb::Statement::run(transaction_, QStringLiteral("UPDATE %1 SET %2=?").arg(checkedName(table), checkedName(column)),
                       {value});
}

} // namespace plavex::storage
