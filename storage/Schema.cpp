#include "storage/Schema.h"

#include "storage/Locks.h"
#include "storage/NomLoader.h"
#include "storage/StatutoryFigures.h"
#include "storage/TableNames.h"
#include "storage/fb/Connection.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "storage/fb/Transaction.h"
#include "util/Prompter.h"
#include "util/Rounding.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>

namespace plavex::storage {

Q_LOGGING_CATEGORY(lcSchema, "plavex.storage.schema", QtWarningMsg)

namespace {

const char *const kKatNames[] = {
    "Ръководни служители",
    "Аналитични специалисти",
    "Приложни специалисти",
    "Помощен персонал",
    "Персонал зает с услуги за насел., охрана и търговия",
    "Производители в селското, горското и рибното стоп., ловци и риболовци",
    "Квалифицирани производствени работници",
    "Оператори на съоръжения, машини и трансп. средства",
    "Нискоквалифицирани работници",
};

const char *const kRegions[] = {
    "БЛАГОЕВГРАД", "БУРГАС",   "ВАРНА",     "ВЕЛИКО ТЪРНОВО", "ВИДИН",        "ВРАЦА",        "ГАБРОВО",
    "ДОБРИЧ",      "КЪРДЖАЛИ", "КЮСТЕНДИЛ", "ЛОВЕЧ",          "МОНТАНА",      "ПАЗАРДЖИК",    "ПЕРНИК",
    "ПЛЕВЕН",      "ПЛОВДИВ",  "РАЗГРАД",   "РУСЕ",           "СИЛИСТРА",     "СЛИВЕН",       "СМОЛЯН",
    "СОФИЯ-ГРАД",  "СОФИЯ-РЕГИОН", "СТАРА ЗАГОРА", "ТЪРГОВИЩЕ", "ХАСКОВО",  "ШУМЕН",        "ЯМБОЛ",
};

QString placeholders(int n) { return QStringLiteral("?,").repeated(n).chopped(1); }

} // namespace

Schema::Schema(fb::Transaction &transaction, util::Prompter &prompter, const QString &nomsDir)
    : tx_(transaction), prompter_(prompter), nomsDir_(nomsDir)
{
}

bool Schema::tableExists(const QString &name)
{
    return fb::Statement::scalar(tx_, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME=?"),
                                 {name.toUpper()})
               .toLongLong() > 0;
}

bool Schema::createTable(const QString &name, const TableDef &def)
{
    if (tableExists(name)) {
        // A copy killed while the engine committed a new table can leave the
        // table's name, even its columns, but no record format: no row can
        // be in it and no statement can use it. It is made anew.
        const bool usable = fb::Statement::scalar(tx_, QStringLiteral("select count(*) from RDB$RELATIONS where "
                                                                      "RDB$RELATION_NAME=? and (RDB$FORMAT is not null "
                                                                      "or RDB$VIEW_BLR is not null)"),
                                                  {name.toUpper()})
                                .toLongLong()
                            > 0;
        if (usable)
            return false;
        fb::Statement::run(tx_, QStringLiteral("drop table %1").arg(name));
        tx_.commit();
    }
    QStringList columns;
    for (const ColumnDef &c : def.columns)
        columns << c.definition();
    const QString sql = QStringLiteral("create table %1 (%2)").arg(name, columns.join(QLatin1Char(',')));
    try {
        fb::Statement::run(tx_, sql);
        return true;
    } catch (const fb::Error &e) {
        // "Exists" is silent, but the same code also covers other metadata
        // failures (a character set the engine cannot load): only a table that
        // is really there now counts as existing.
        if (e.code() == fb::kObjectExists && tableExists(name))
            return false;
        prompter_.message(QStringLiteral("%1 %2 %3").arg(e.message()).arg(e.code()).arg(name));
        return false;
    }
}

namespace {

// Marks in LOCKS of tables being made: written and committed before the
// tables, removed in the commit that fills them. A mark found by the next
// maker means the one before it died between the two: its tables are empty
// or half filled and are made again.
const QString kMakingMark = QStringLiteral("MAKE ");

// The tables among `names` whose making was begun and not finished. Only a
// period's own are looked at: another month's are finished when it is opened.
QStringList unfinishedOf(fb::Transaction &tx, const QStringList &names)
{
    QStringList found;
    fb::Statement q(tx, QStringLiteral("SELECT LOCK_NAME FROM LOCKS WHERE LOCK_NAME STARTING WITH ?"));
    q.bind(0, kMakingMark);
    while (q.next()) {
        const QString name = q.toText(0).trimmed().mid(kMakingMark.size());
        if (names.contains(name))
            found << name;
    }
    return found;
}

void clearMarks(fb::Transaction &tx, const QStringList &names)
{
    for (const QString &name : names)
        fb::Statement::run(tx, QStringLiteral("DELETE FROM LOCKS WHERE LOCK_NAME=?"), {kMakingMark + name});
}

// The one lock all makers of tables take, in a transaction of its own so
// that it is held across the commits that making tables needs. A second
// copy crossing into the same month or year waits here and then finds the
// tables made.
class MakerLock {
public:
    explicit MakerLock(fb::Connection &connection) : tx_(connection, fb::Transaction::LockWait::Wait), locks_(tx_)
    {
        locks_.take(QStringLiteral("TABLES"));
    }
    ~MakerLock()
    {
        try {
            tx_.rollback();
        } catch (const fb::Error &) {
            // The attachment is gone, and the lock with it.
        }
    }
    MakerLock(const MakerLock &) = delete;
    MakerLock &operator=(const MakerLock &) = delete;

private:
    fb::Transaction tx_;
    Locks locks_;
};

} // namespace

QStringList Schema::createTables(const util::Period &requested, CompanySeed &seed)
{
    const util::Period period = requested.isValid() ? requested : util::Period::today();
    const int year = period.year();
    const QString nkid = names::yearTable(u"NKID", year);
    const QString kat = names::yearTable(u"KAT", year);
    const QString pril1 = names::yearTable(u"PRIL1", year);
    const QString dod = names::yearTable(u"DOD", year);
    const QString dodBefore = names::yearTable(u"DOD", year - 1);
    const QString firma = names::monthTable(u"FIRMA", period);
    const QString noi2007 = names::yearTable(u"NOI", 2007);
    const QString noi = names::noiTable(period);
    const QString nap = names::yearTable(u"NAP", year);
    const QString bin = names::yearTable(u"BIN", year);

    // In creation order.
    std::vector<std::pair<QString, QString>> wanted = {
        {QStringLiteral("NKID"), nkid},
        {QStringLiteral("KAT"), kat},
        {QStringLiteral("PRIL1"), pril1},
        {QStringLiteral("GR"), names::monthTable(u"GR", period)},
        {QStringLiteral("CAL"), names::monthTable(u"CAL", period)},
        {QStringLiteral("DL"), names::monthTable(u"DL", period)},
        {QStringLiteral("DOD"), dod},
        {QStringLiteral("DOD"), dodBefore},
        {QStringLiteral("PERADEFS"), names::monthTable(u"PERADEFS", period)},
        {QStringLiteral("PERSONS"), names::monthTable(u"PERSONS", period)},
        {QStringLiteral("FIRMA"), firma},
    };
    if (names::hasNoi200710(period))
        wanted.emplace_back(QStringLiteral("NOI"), noi2007);
    wanted.emplace_back(QStringLiteral("NOI"), noi);
    for (const char *base : {"OBS", "GRAD"})
        wanted.emplace_back(QString::fromLatin1(base), QString::fromLatin1(base));
    wanted.emplace_back(QStringLiteral("ZVENA"), names::monthTable(u"ZVENA", period));
    wanted.emplace_back(QStringLiteral("PERA"), names::monthTable(u"PERA", period));
    for (const char *base : {"PERSDATA", "EMPL2000"})
        wanted.emplace_back(QString::fromLatin1(base), QString::fromLatin1(base));
    wanted.emplace_back(QStringLiteral("NAP"), nap);
    wanted.emplace_back(QStringLiteral("BIN"), bin);

    if (!tablesNeedWork(wanted))
        return {};

    MakerLock lock(tx_.connection());
    tx_.commitRetaining(); // what the maker before us committed
    making_ = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{making_};

    // Whatever a maker killed half-way left is filled anew (one whose
    // making did not even commit is made anew below).
    QStringList wantedNames;
    for (const auto &entry : wanted)
        wantedNames << entry.second;
    const QStringList unfinished = unfinishedOf(tx_, wantedNames);
    QStringList emptied;
    for (const QString &name : unfinished) {
        if (tableUsable(name)) {
            fb::Statement::run(tx_, QStringLiteral("DELETE FROM %1").arg(name));
            emptied << name;
        }
    }
    if (!unfinished.isEmpty())
        qCInfo(lcSchema) << "filled again after an unfinished making:" << unfinished;

    QStringList missing;
    for (const auto &[base, name] : wanted)
        if (!missing.contains(name) && !tableUsable(name))
            missing << name;
    // A tax scale or rate table left empty by an older release is filled
    // again when there is a file to fill it from.
    QStringList refill;
    for (const QString &name : emptied)
        if (!missing.contains(name))
            refill << name;
    for (const auto &[name, file] : {std::pair{dod, yearFile(QStringLiteral("DOD%1.csv"), year)},
                                     std::pair{noi, noiFile(period)}})
        if (!missing.contains(name) && !refill.contains(name) && QFile::exists(file)
            && fb::Statement::scalar(tx_, QStringLiteral("SELECT COUNT(*) FROM %1").arg(name)).toLongLong() == 0)
            refill << name;

    QStringList created;
    if (missing.isEmpty() && refill.isEmpty()) {
        tx_.commit();
        createIndexes(period);
        tx_.commit();
        return created;
    }
    // What must be read is there before anything changes.
    if ((missing.contains(dod) || missing.contains(noi) || !refill.isEmpty()) && !QDir(nomsDir_).exists())
        throw ServiceFileError(missingNomsMessage());

    for (const QString &name : missing + refill)
        if (!unfinished.contains(name))
            fb::Statement::run(tx_, QStringLiteral("INSERT INTO LOCKS (LOCK_NAME,LOCK_TAKEN,LOCK_CLOSED) VALUES (?,0,0)"),
                               {kMakingMark + name});
    tx_.commit();

    for (const auto &[base, name] : wanted)
        if (missing.contains(name) && !created.contains(name) && createTable(name, catalogue::table(base)))
            created << name;
    // New tables become usable once committed; their indexes follow.
    tx_.commit();
    createIndexes(period);
    tx_.commit();

    // A table emptied again is filled as a new one would be.
    created << refill;
    try {
        for (const QString &name : refill)
            fb::Statement::run(tx_, QStringLiteral("DELETE FROM %1").arg(name));
        const QStringList &fill = created;
        if (created.contains(kat))
            seedKat(kat);
        if (fill.contains(dod))
            seedDod(dod, year);
        if (created.contains(dodBefore))
            seedDod(dodBefore, year - 1);
        // October 2007 onwards brings NOI2007 too; fill it like any new year
        // table so that January to September 2007 do not find it empty.
        if (noi != noi2007 && created.contains(noi2007))
            seedNoi(noi2007, util::Period(2007, 1));
        if (fill.contains(noi))
            seedNoi(noi, period);
        if (created.contains(QStringLiteral("OBS")))
            seedObs(QStringLiteral("OBS"));
        if (created.contains(pril1))
            seedPril1(pril1, year);
        if (created.contains(nkid))
            seedNkid(nkid);
        if (created.contains(nap))
            seedNap(nap, year);
        if (created.contains(bin))
            seedBin(bin, year);
        if (created.contains(firma))
            seedFirma(firma, period, seed);
        if (created.contains(kat))
            carryKat(kat, year);
        // The rows and the end of the marks: one commit.
        clearMarks(tx_, created + unfinished);
        tx_.commitRetaining();
    } catch (const ServiceFileError &) {
        // Nothing of this making stays. Should a table not go, its mark
        // stays and the next making fills it.
        tx_.rollback();
        try {
            QStringList dropped;
            for (const QString &name : created)
                if (!refill.contains(name) && tableExists(name)) {
                    fb::Statement::run(tx_, QStringLiteral("drop table %1").arg(name));
                    dropped << name;
                }
            tx_.commit();
            clearMarks(tx_, dropped);
            tx_.commit();
        } catch (const fb::Error &e) {
            qCInfo(lcSchema) << "tables of a refused making stay marked:" << e.message();
            tx_.rollback();
        }
        throw;
    }
    const int from = figuresYear(year);
    if (from != year && (created.contains(dod) || created.contains(noi)))
        prompter_.message(carriedFiguresMessage(year, from));
    return created;
}

bool Schema::tablesNeedWork(const std::vector<std::pair<QString, QString>> &wanted)
{
    QStringList names;
    for (const auto &entry : wanted)
        names << entry.second.toUpper();
    names.removeDuplicates();
    fb::Statement q(tx_, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME in (%1) and "
                                        "(RDB$FORMAT is not null or RDB$VIEW_BLR is not null)")
                             .arg(placeholders(static_cast<int>(names.size()))));
    QVariantList values;
    for (const QString &n : names)
        values << n;
    q.bindAll(values);
    if (!q.next() || q.toInt(0) != names.size())
        return true;
    q.close();
    return tableExists(QStringLiteral("LOCKS")) && !unfinishedOf(tx_, names).isEmpty();
}

bool Schema::tableUsable(const QString &name)
{
    return fb::Statement::scalar(tx_, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME=? and "
                                                     "(RDB$FORMAT is not null or RDB$VIEW_BLR is not null)"),
                                 {name.toUpper()})
               .toLongLong()
           > 0;
}

QString Schema::missingNomsMessage() const
{
    return QStringLiteral("Папката със служебните файлове %1 липсва: ставките, данъчната скала и сметкопланът "
                          "не могат да бъдат прочетени. Нищо не е променено.")
        .arg(QDir::toNativeSeparators(nomsDir_));
}

void Schema::createIndexes(const util::Period &period)
{
    // Two copies making one index at once break it ("too many keys defined
    // for index"): made only under the makers' lock.
    if (making_) {
        makeIndexes(period, false);
        return;
    }
    if (!makeIndexes(period, true))
        return;
    MakerLock lock(tx_.connection());
    tx_.commitRetaining();
    makeIndexes(period, false);
}

bool Schema::makeIndexes(const util::Period &period, bool onlyLook)
{
    // Index names are unique in a database, so the plain name goes to the
    // first table that asks for it. Later months' tables get the same index
    // under the name followed by their table name: without it every month
    // after the first would be read without an index.
    QHash<QString, QString> existing; // index name -> table
    {
        fb::Statement q(tx_, QStringLiteral("select RDB$INDEX_NAME, RDB$RELATION_NAME from RDB$INDICES "
                                             "where RDB$SYSTEM_FLAG is distinct from 1"));
        while (q.next())
            existing.insert(q.toText(0), q.toText(1));
    }
    for (const IndexDef &index : catalogue::indexes()) {
        const QString base = QString::fromLatin1(index.table);
        QString table;
        if (base == QLatin1String("GRAD") || base == QLatin1String("PERSDATA") || base == QLatin1String("EMPL2000"))
            table = base;
        else if (base == QLatin1String("NOI"))
            table = names::noiTable(period);
        else if (base == QLatin1String("DOD") || base == QLatin1String("KAT"))
            table = names::yearTable(base, period.year());
        else
            table = names::monthTable(base, period);

        QString name = QLatin1String(index.name);
        const auto owner = existing.constFind(name);
        if (owner != existing.constEnd()) {
            if (*owner == table)
                continue;
            name = (name + QLatin1Char('_') + table).left(31);
            if (existing.contains(name))
                continue;
        }
        if (onlyLook)
            return true;
        const QString sql = QStringLiteral("create index %1 on %2 (%3)").arg(name, table, QLatin1String(index.columns));
        try {
            fb::Statement::run(tx_, sql);
            existing.insert(name, table);
        } catch (const fb::Error &e) {
            if (e.code() != fb::kObjectExists)
                prompter_.message(QStringLiteral("%1:%2").arg(e.code()).arg(e.message()));
        }
    }
    return false;
}

QHash<QString, QSet<QString>> Schema::columnsOf(const QStringList &tables)
{
    QHash<QString, QSet<QString>> result;
    if (tables.isEmpty())
        return result;
    QVariantList upper;
    for (const QString &t : tables)
        upper << t.toUpper();
    fb::Statement q(tx_, QStringLiteral("select RDB$RELATION_NAME, RDB$FIELD_NAME from RDB$RELATION_FIELDS "
                                        "where RDB$SYSTEM_FLAG<>1 and RDB$RELATION_NAME in (%1)")
                             .arg(placeholders(static_cast<int>(upper.size()))));
    q.bindAll(upper);
    while (q.next())
        result[q.toText(0)].insert(q.toText(1));
    return result;
}

int Schema::upgradeTable(const QString &name, const TableDef &def)
{
    const QString table = name.toUpper();
    const qint64 count = fb::Statement::scalar(
                             tx_, QStringLiteral("select COUNT(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME=? "
                                                 "and RDB$SYSTEM_FLAG<>1"),
                             {table})
                             .toLongLong();
    if (count == static_cast<qint64>(def.columns.size()))
        return 0;
    const QSet<QString> present = columnsOf({table}).value(table);
    int added = 0;
    for (size_t i = 0; i < def.columns.size(); ++i) {
        const ColumnDef &c = def.columns[i];
        if (!present.contains(QLatin1String(c.name)) && addColumn(table, c, static_cast<int>(i)))
            ++added;
    }
    return added;
}

bool Schema::addColumn(const QString &table, const ColumnDef &column, int position)
{
    try {
        fb::Statement::run(tx_, QStringLiteral("ALTER TABLE %1\nADD \"%2\" %3 %4")
                                    .arg(table, QLatin1String(column.name), QLatin1String(column.type),
                                         QLatin1String(column.extras)));
        fb::Statement::run(tx_, QStringLiteral("ALTER TABLE %1\nALTER COLUMN %2 POSITION %3")
                                    .arg(table, QLatin1String(column.name))
                                    .arg(position + 1));
        tx_.commitRetaining();
        return true;
    } catch (const fb::Error &e) {
        // Not reported: the reopen that follows shows what is still wrong.
        qCInfo(lcSchema) << "add column" << table << column.name << e.what();
        tx_.rollback();
        return false;
    }
}

bool Schema::alterDomainType(const QString &table, const QString &column, const ColumnDef &entry)
{
    try {
        const QString domain = fb::Statement::scalar(
                                   tx_, QStringLiteral("select RDB$FIELD_SOURCE from RDB$RELATION_FIELDS where "
                                                       "RDB$RELATION_NAME=? and RDB$SYSTEM_FLAG<>1 and RDB$FIELD_NAME=?"),
                                   {table.toUpper(), column.toUpper()})
                                   .toString();
        if (domain.isEmpty())
            return false;
        QString extras = QLatin1String(entry.extras);
        const int notAt = extras.indexOf(QLatin1String("NOT"));
        if (notAt >= 0)
            extras.truncate(notAt);
        fb::Statement::run(tx_, QStringLiteral("ALTER DOMAIN %1\nTYPE %2 %3").arg(domain, QLatin1String(entry.type), extras));
        tx_.commitRetaining();
        return true;
    } catch (const fb::Error &e) {
        qCInfo(lcSchema) << "alter domain" << table << column << e.what();
        tx_.rollback();
        return false;
    }
}

QString Schema::columnType(const QString &table, const QString &column)
{
    fb::Statement q(tx_, QStringLiteral(
                             "select f.RDB$FIELD_TYPE, f.RDB$FIELD_LENGTH, f.RDB$FIELD_PRECISION, f.RDB$FIELD_SCALE, "
                             "f.RDB$FIELD_SUB_TYPE, f.RDB$SEGMENT_LENGTH, r.RDB$NULL_FLAG, f.RDB$CHARACTER_LENGTH "
                             "from RDB$RELATION_FIELDS r join RDB$FIELDS f on f.RDB$FIELD_NAME = r.RDB$FIELD_SOURCE "
                             "where r.RDB$RELATION_NAME=? and r.RDB$FIELD_NAME=?"));
    q.bindAll({table.toUpper(), column.toUpper()});
    if (!q.next())
        return {};
    const int type = static_cast<int>(q.toInt(0));
    const qint64 length = q.isNull(7) ? q.toInt(1) : q.toInt(7);
    QString text;
    switch (type) {
    case 7:
    case 8:
    case 16:
        // Scaled integers are NUMERIC; plain ones keep their own word.
        if (q.toInt(3) != 0 || q.toInt(4) != 0)
            text = QStringLiteral("NUMERIC (%1,%2) ").arg(q.toInt(2)).arg(std::abs(q.toInt(3)));
        else
            text = type == 7 ? QStringLiteral("SMALLINT") : type == 8 ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT");
        break;
    case 10: text = QStringLiteral("FLOAT"); break;
    case 12: text = QStringLiteral("DATE"); break;
    case 13: text = QStringLiteral("TIME"); break;
    case 14: text = QStringLiteral("CHARACTER (%1) ").arg(length); break;
    case 27: text = QStringLiteral("DOUBLE PRECISION"); break;
    case 35: text = QStringLiteral("TIMESTAMP"); break;
    case 37: text = QStringLiteral("VARCHAR (%1) ").arg(length); break;
    case 261: text = QStringLiteral("BLOB SUB_TYPE %1 SEGMENT SIZE %2").arg(q.toInt(4)).arg(q.toInt(5)); break;
    default: break;
    }
    if (q.toInt(6) == 1)
        text += QStringLiteral("NOT NULL ");
    return text;
}

void Schema::seedKat(const QString &table)
{
    fb::Statement insert(tx_, QStringLiteral("INSERT INTO %1 (KAT_COD,KAT_IME,KAT_LIMIT) values (?,?,0)").arg(table));
    int code = 1;
    for (const char *name : kKatNames) {
        insert.bindAll({code++, QString::fromUtf8(name)});
        insert.execute();
    }
}

void Schema::seedObs(const QString &table)
{
    fb::Statement insert(tx_, QStringLiteral("INSERT INTO %1 (OBS_COD,OBS_IME) values (?,?)").arg(table));
    int code = 1;
    for (const char *name : kRegions) {
        insert.bindAll({code++, QString::fromUtf8(name)});
        insert.execute();
    }
}

int Schema::lastShippedYear() const
{
    static const QRegularExpression year(QStringLiteral("^(?:noi_proc|DOD)(\\d{4})\\.csv$"));
    QSet<int> rates, scales;
    for (const QString &name : QDir(nomsDir_).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = year.match(name);
        if (m.hasMatch())
            (name.startsWith(QLatin1String("DOD")) ? scales : rates).insert(m.captured(1).toInt());
    }
    int last = 0;
    for (const int y : rates)
        if (scales.contains(y))
            last = std::max(last, y);
    return last;
}

int Schema::figuresYear(int year) const
{
    const int last = lastShippedYear();
    return last != 0 && year > last ? last : year;
}

QString Schema::yearFile(const QString &pattern, int year) const
{
    const QString own = nomsDir_ + pattern.arg(year);
    const int from = figuresYear(year);
    if (from == year || QFile::exists(own))
        return own;
    return nomsDir_ + pattern.arg(from);
}

void Schema::carryKat(const QString &table, int year)
{
    const QString before = names::yearTable(u"KAT", year - 1);
    if (figuresYear(year) == year || !tableExists(before))
        return;
    fb::Statement::run(tx_, QStringLiteral("UPDATE %1 k SET KAT_LIMIT=(SELECT FIRST 1 b.KAT_LIMIT FROM %2 b WHERE "
                                           "b.KAT_COD=k.KAT_COD) WHERE EXISTS (SELECT 1 FROM %2 b WHERE b.KAT_COD=k.KAT_COD "
                                           "AND b.KAT_LIMIT IS NOT NULL)")
                                .arg(table, before));
}

QString Schema::noiFile(const util::Period &period) const
{
    return names::hasNoi200710(period) ? nomsDir_ + QStringLiteral("noi_proc200710.csv")
                                       : yearFile(QStringLiteral("noi_proc%1.csv"), period.year());
}

void Schema::seedNoi(const QString &table, const util::Period &period)
{
    NomLoader(tx_, prompter_).loadNoi(table, noiFile(period));
}

void Schema::seedDod(const QString &table, int year)
{
    const QString file = yearFile(QStringLiteral("DOD%1.csv"), year);
    NomLoader(tx_, prompter_).loadDod(table, year, file);
    // A scale carried from another year's file belongs to this year.
    if (file != nomsDir_ + QStringLiteral("DOD%1.csv").arg(year))
        fb::Statement::run(tx_, QStringLiteral("UPDATE %1 SET DOD_GOD=?").arg(table), {year});
}

void Schema::seedPril1(const QString &table, int year)
{
    const QString own = nomsDir_ + QStringLiteral("priloj1_%1.csv").arg(year);
    const QString before = names::yearTable(u"PRIL1", year - 1);
    // A year carried forward keeps the annex the company had the year before,
    // as it was filled in; the last shipped year's file only when there is none.
    if (figuresYear(year) != year && !QFile::exists(own) && tableExists(before)
        && fb::Statement::scalar(tx_, QStringLiteral("SELECT COUNT(*) FROM %1").arg(before)).toLongLong() > 0) {
        QStringList columns;
        for (const ColumnDef &c : catalogue::table(u"PRIL1").columns)
            columns << QLatin1String(c.name);
        fb::Statement::run(tx_, QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                                    .arg(table, columns.join(QLatin1Char(',')), before));
        return;
    }
    NomLoader(tx_, prompter_).loadPril1(table, yearFile(QStringLiteral("priloj1_%1.csv"), year));
}

void Schema::seedNkid(const QString &table)
{
    NomLoader(tx_, prompter_).loadNkid(table, nomsDir_ + QStringLiteral("nkid.csv"));
}

void Schema::seedNap(const QString &table, int year)
{
    NomLoader(tx_, prompter_).loadNap(table, nomsDir_ + QStringLiteral("NAP_smetki%1.csv").arg(year));
}

void Schema::seedBin(const QString &table, int year)
{
    NomLoader(tx_, prompter_).loadBin(table, nomsDir_ + QStringLiteral("BIN%1.csv").arg(year));
}

void Schema::seedFirma(const QString &table, const util::Period &period, CompanySeed &seed)
{
    switch (period.year()) {
    case 2004: seed.maxInsurable = 1200.0; seed.minInsurable = 220.0; seed.maternity = 120.0; break;
    case 2005: seed.maxInsurable = 1300.0; seed.minInsurable = 220.0; seed.maternity = 130.0; break;
    case 2006: seed.maxInsurable = 1400.0; seed.minInsurable = 220.0; seed.maternity = 160.0; break;
    default: break;
    }
    // The law's figures of the month where they are shipped; without them
    // a maximum insurable income of 0 would silently zero every contribution.
    // (Like every service file, a missing one is silent.)
    const QString file = statutoryFiguresFile(nomsDir_);
    const auto figures = statutoryFiguresInForce(readStatutoryFigures(file), period);
    if (figures) {
        seed.minSalary = figures->minSalary.value_or(seed.minSalary);
        seed.maxInsurable = figures->maxInsurable.value_or(seed.maxInsurable);
        seed.minInsurable = figures->minInsurable.value_or(seed.minInsurable);
        seed.maternity = figures->maternity.value_or(seed.maternity);
    } else if (seed.maxInsurable == 0 && QFile::exists(file)) {
        prompter_.message(noStatutoryFiguresMessage(period.year()));
    }
    fb::Statement::run(tx_,
                       QStringLiteral("INSERT INTO %1 (FIRMA_RSEDMICA,FIRMA_MINSALARY,FIRMA_INDDOO,FIRMA_MINDOH,"
                                      "FIRMA_OBMAJKI,FIRMA_DATA3,FIRMA_DOOPROCF3)  values (5,?,?,?,?,?,?)")
                           .arg(table),
                       {util::roundHalfEven(seed.minSalary, 3), util::roundHalfEven(seed.maxInsurable, 3),
                        util::roundHalfEven(seed.minInsurable, 3), util::roundHalfEven(seed.maternity, 3),
                        figures && figures->guaranteedPercent ? QVariant(*figures->guaranteedPercent) : QVariant(),
                        figures && figures->accidentPercent ? QVariant(*figures->accidentPercent) : QVariant()});
}

} // namespace plavex::storage
