#include "operations/MonthClosing.h"

#include "calc/CalcPerson.h"
#include "operations/EuroChangeover.h"
#include "reference/Calendar.h"
#include "reference/Company.h"
#include "storage/Catalogue.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Savepoint.h"
#include "storage/Schema.h"
#include "storage/Settings.h"
#include "storage/StatutoryFigures.h"
#include "storage/TableNames.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/CodePage.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"
#include "util/Rounding.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <map>
#include <memory>
#include <vector>

namespace plavex::operations {

namespace {

// The eight month tables a closing carries, in the order the copies run.
const char *const kCarriedTables[] = {"CAL", "ZVENA", "GR", "PERA", "PERADEFS", "PERSONS", "DL", "FIRMA"};

bool inList(int type, std::initializer_list<int> list) { return std::find(list.begin(), list.end(), type) != list.end(); }

bool flagSet(const QString &flags, int position)
{
    return flags.size() >= position && flags.at(position - 1) == QLatin1Char('1');
}

void addMonth(ServiceLength &s)
{
    if (++s.months > 11) {
        s.months -= 12;
        ++s.years;
    }
}

// Shows the closing's progress in whole percent and lets the caller stop it.
class Progress {
public:
    explicit Progress(util::Prompter &prompter) : prompter_(prompter)
    {
        prompter_.progressStart(QStringLiteral("Приключване на месец "));
    }
    ~Progress() { prompter_.progressEnd(); }
    void at(int percent)
    {
        if (percent == last_)
            return;
        last_ = percent;
        prompter_.progressStep(percent, 100);
    }
    // Part `done` of `total` of the stretch from `from` to `to` percent.
    void within(int from, int to, int done, int total) { at(total > 0 ? from + (to - from) * done / total : to); }

private:
    util::Prompter &prompter_;
    int last_ = -1;
};

QString columnList(QStringView base)
{
    QStringList names;
    for (const storage::ColumnDef &c : storage::catalogue::table(base).columns)
        names << QLatin1String(c.name);
    return names.join(QLatin1Char(','));
}

// The work of one closing, from the old month `o` into the new month `n`.
class Closing {
public:
    Closing(storage::DataModule &data, Progress &progress)
        : tx_(data.transaction()), progress_(progress), old_(data.period()), new_(old_.next()),
          law_(reference::lawCalendar(data))
    {
    }

    void run(bool emptyNewMonth, QSaveFile &endmes);

    // The company columns the law sets anew in the new month.
    QVariantMap statutory;
    // Filled at the change-over to the euro: what was converted.
    QStringList euroList;

private:
    QString o(QStringView base) const { return storage::names::monthTable(base, old_); }
    QString n(QStringView base) const { return storage::names::monthTable(base, new_); }
    void exec(const QString &sql, const QVariantList &values = {}) { fb::Statement::run(tx_, sql, values); }
    // Rows of the old month's table whose key the new month lacks.
    void copyMissing(QStringView base, const char *nameColumn, const char *keyColumn);
    void carryEmployees(QSaveFile &endmes);
    void carryItems();

    fb::Transaction &tx_;
    Progress &progress_;
    util::Period old_;
    util::Period new_;
    reference::LawCalendar law_;
};

void Closing::copyMissing(QStringView base, const char *nameColumn, const char *keyColumn)
{
    const QString columns = columnList(base);
    exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE %4<>'' AND %5 NOT IN (SELECT %5 FROM %1)")
             .arg(n(base), columns, o(base), QLatin1String(nameColumn), QLatin1String(keyColumn)));
}

void Closing::run(bool emptyNewMonth, QSaveFile &endmes)
{
    // The stored period moves with the copy, so that both become durable together.
    exec(QStringLiteral("UPDATE MYPARAMS SET PAR_CURDATE=?"), {new_.text()});
    progress_.at(20);

    if (emptyNewMonth)
        for (const char *base : kCarriedTables)
            exec(QStringLiteral("delete from ") + n(QString::fromLatin1(base)));

    const QDate first = new_.firstDay();
    copyMissing(u"CAL", "CAL_IME", "CAL_COD");
    exec(QStringLiteral("UPDATE %1 SET CAL_MESEC=?,CAL_GODINA=?,CAL_RABDNI=?").arg(n(u"CAL")),
         {new_.month(), new_.year(), reference::defaultMonthText(5, first, law_)});
    progress_.at(30);

    copyMissing(u"DL", "DL_IME", "DL_COD");

    const QString firma = columnList(u"FIRMA");
    exec(QStringLiteral("DELETE FROM ") + n(u"FIRMA"));
    exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(n(u"FIRMA"), firma, o(u"FIRMA")));
    exec(QStringLiteral("UPDATE %1 SET FIRMA_CURMES=?").arg(n(u"FIRMA")), {first});
    progress_.at(40);

    copyMissing(u"GR", "GR_IME", "GR_COD");
    progress_.at(50);
    copyMissing(u"PERADEFS", "PERODEFS_IME", "PERODEFS_COD");
    progress_.at(60);
    copyMissing(u"ZVENA", "ZVENO_IME", "ZVENO_COD");
    progress_.at(70);

    carryEmployees(endmes);
    progress_.at(80);
    carryItems();
    // Converted first: the law's figures of a euro month are euro already.
    if (isEuroChangeover(old_, new_))
        euroList = convertCarriedMonthToEuro(tx_, old_, new_);
    if (!statutory.isEmpty()) {
        QStringList sets;
        for (auto it = statutory.constBegin(); it != statutory.constEnd(); ++it)
            sets << it.key() + QStringLiteral("=?");
        exec(QStringLiteral("UPDATE %1 SET %2").arg(n(u"FIRMA"), sets.join(QLatin1Char(','))), statutory.values());
    }
    progress_.at(100);
}

void Closing::carryEmployees(QSaveFile &endmes)
{
    auto writeLine = [&](const QString &line) { endmes.write(util::toCp1251(line) + "\r\n"); };
    writeLine(endmesHeader(new_));
    writeLine(endmesColumns());

    const QString persons = n(u"PERSONS");
    const QString columns = columnList(u"PERSONS");
    exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE PERSON_ID NOT IN (SELECT PERSON_ID FROM %1)")
             .arg(persons, columns, o(u"PERSONS")));

    // The closed month's summaries; the first row of an employee counts.
    QHash<int, MonthDays> summaries;
    {
        fb::Statement q(tx_, QStringLiteral("SELECT PERSDATA_PERSONID,PERSDATA_SDNI,PERSDATA_NSDNI,PERSDATA_RABDNI FROM PERSDATA "
                                            "WHERE PERSDATA_MES=? AND PERSDATA_GOD=?"));
        q.bindAll({old_.month(), old_.year()});
        while (q.next()) {
            const int id = static_cast<int>(q.toInt(0));
            if (!summaries.contains(id))
                summaries.insert(id, {static_cast<int>(q.toInt(1)), static_cast<int>(q.toInt(2)), static_cast<int>(q.toInt(3))});
        }
    }

    struct Row {
        QByteArray key;
        int id;
        int number;
        QString name;
        ServiceLength total;
        ServiceLength speciality;
        QDate dismissed;
    };
    std::vector<Row> rows;
    {
        fb::Statement q(tx_, QStringLiteral("SELECT RDB$DB_KEY,PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_STAV1Y,PERSON_STAV1M,"
                                            "PERSON_STAV1D,PERSON_STAV2Y,PERSON_STAV2M,PERSON_STAV2D,PERSON_DATAUWOL FROM %1 "
                                            "ORDER BY PERSON_ID")
                                 .arg(persons));
        auto i = [&](int column) { return static_cast<int>(q.toInt(column)); };
        while (q.next()) {
            // Older rows say "no date" with a day before 1900.
            const QDate dismissed = q.isNull(10) || q.toDate(10).year() < 1900 ? QDate() : q.toDate(10);
            rows.push_back({q.value(0).toByteArray(), i(1), i(2), q.toText(3), {i(4), i(5), i(6)}, {i(7), i(8), i(9)}, dismissed});
        }
    }

    const bool yearEnds = old_.month() == 12;
    // Active while the dismissal lies in the month after the new one or later.
    const QDate activeFrom = new_.next().firstDay();
    fb::Statement update(tx_, QStringLiteral("UPDATE %1 SET PERSON_STAV1Y=?,PERSON_STAV1M=?,PERSON_STAV1D=?,PERSON_STAV2Y=?,"
                                             "PERSON_STAV2M=?,PERSON_STAV2D=?,PERSON_ACT=?%2 WHERE RDB$DB_KEY=?")
                                  .arg(persons, yearEnds ? QStringLiteral(",PERSON_OTP=0,PERSON_NOTP=0") : QString()));
    const int total = static_cast<int>(rows.size());
    for (int k = 0; k < total; ++k) {
        const Row &r = rows[static_cast<size_t>(k)];
        const auto found = summaries.constFind(r.id);
        const std::optional<MonthDays> days = found == summaries.constEnd() ? std::nullopt : std::optional(*found);
        const ServiceLength t = advanceService(r.total, days, old_.daysInMonth());
        const ServiceLength s = advanceService(r.speciality, days, old_.daysInMonth());
        if (t.years > r.total.years)
            writeLine(endmesLine(r.number, r.name, t));
        const bool active = !r.dismissed.isValid() || r.dismissed >= activeFrom;
        update.bindAll({t.years, t.months, t.days, s.years, s.months, s.days, active ? 1 : 0, r.key});
        update.execute();
        progress_.within(70, 80, k + 1, total);
    }
}

void Closing::carryItems()
{
    const QString pera = n(u"PERA");
    const QString persons = n(u"PERSONS");
    exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE PERO_PEROID NOT IN (SELECT PERO_PEROID FROM %1)")
             .arg(pera, columnList(u"PERA"), o(u"PERA")));

    QHash<int, QString> flags;
    {
        fb::Statement q(tx_, QStringLiteral("SELECT PERODEFS_COD,PERODEFS_HARS FROM %1").arg(n(u"PERADEFS")));
        while (q.next()) {
            const int code = static_cast<int>(q.toInt(0));
            if (!flags.contains(code))
                flags.insert(code, q.toText(1));
        }
    }
    QHash<int, int> paySystems;
    {
        fb::Statement q(tx_, QStringLiteral("SELECT PERSON_ID,PERSON_SYSZ FROM %1").arg(persons));
        while (q.next()) {
            const int id = static_cast<int>(q.toInt(0));
            if (!paySystems.contains(id))
                paySystems.insert(id, static_cast<int>(q.toInt(1)));
        }
    }

    struct Row {
        QByteArray key;
        int person;
        CarriedItem item;
    };
    std::vector<Row> rows;
    {
        fb::Statement q(tx_, QStringLiteral("SELECT RDB$DB_KEY,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA,PERO_SUMA1,PERO_SUMA2,"
                                            "PERO_D,PERO_ENDDATE FROM %1")
                                 .arg(pera));
        while (q.next()) {
            Row r;
            r.key = q.value(0).toByteArray();
            r.person = static_cast<int>(q.toInt(1));
            const int code = static_cast<int>(q.toInt(2));
            r.item.type = static_cast<int>(q.toInt(3));
            r.item.flags = flags.value(code, QStringLiteral("0000000000"));
            r.item.paySystem = paySystems.value(r.person);
            r.item.amount = q.toDouble(4);
            r.item.amount1 = q.toDouble(5);
            r.item.amount2 = q.toDouble(6);
            r.item.d = static_cast<int>(q.toInt(7));
            r.item.end = q.isNull(8) ? QDate() : q.toDate(8);
            rows.push_back(std::move(r));
        }
    }

    const QDate first = new_.firstDay();
    fb::Statement remove(tx_, QStringLiteral("DELETE FROM %1 WHERE RDB$DB_KEY=?").arg(pera));
    // A counter nobody set yet is 0, not NULL: NULL + days would lose the days.
    fb::Statement paid(tx_, QStringLiteral("UPDATE %1 SET PERSON_OTP=COALESCE(PERSON_OTP,0)+? WHERE PERSON_ID=?").arg(persons));
    fb::Statement unpaid(tx_, QStringLiteral("UPDATE %1 SET PERSON_NOTP=COALESCE(PERSON_NOTP,0)+? WHERE PERSON_ID=?").arg(persons));
    std::map<QString, std::unique_ptr<fb::Statement>> updates; // by the columns they set

    const int total = static_cast<int>(rows.size());
    for (int k = 0; k < total; ++k) {
        const Row &r = rows[static_cast<size_t>(k)];
        const CarryOver c = carryOver(r.item, first);
        if (c.paidLeave != 0) {
            paid.bindAll({c.paidLeave, r.person});
            paid.execute();
        }
        if (c.unpaidLeave != 0) {
            unpaid.bindAll({c.unpaidLeave, r.person});
            unpaid.execute();
        }
        if (c.remove) {
            remove.bind(0, r.key);
            remove.execute();
        } else if (c.changes()) {
            QStringList sets;
            QVariantList values;
            if (c.amount) {
                sets << QStringLiteral("PERO_SUMA=?");
                values << *c.amount;
            }
            if (c.amount1) {
                sets << QStringLiteral("PERO_SUMA1=?");
                values << *c.amount1;
            }
            if (c.amount2) {
                sets << QStringLiteral("PERO_SUMA2=?");
                values << *c.amount2;
            }
            if (c.d) {
                sets << QStringLiteral("PERO_D=?");
                values << *c.d;
            }
            values << r.key;
            const QString set = sets.join(QLatin1Char(','));
            auto &statement = updates[set];
            if (!statement)
                statement = std::make_unique<fb::Statement>(tx_, QStringLiteral("UPDATE %1 SET %2 WHERE RDB$DB_KEY=?").arg(pera, set));
            statement->bindAll(values);
            statement->execute();
        }
        progress_.within(80, 100, k + 1, total);
    }
}

QStringList euroListHeader(const util::Period &old)
{
    return {QStringLiteral("Превалутиране в евро при приключване на месец %1, курс 1.95583 лв. за 1 евро").arg(old.text()),
            QStringLiteral("Служител").leftJustified(47) + QStringLiteral("Перо").leftJustified(34) + QStringLiteral("Лева").rightJustified(13)
                + QStringLiteral("Евро").rightJustified(13)};
}

// The company columns whose figures the law sets anew in the next month:
// every January where figures are shipped, and the month a change takes
// effect. `lines` says what changes (or that the year has figures that
// match); an empty result with no lines in January: the year has none.
QVariantMap statutoryChanges(storage::DataModule &data, const util::Period &old, const util::Period &next, QStringList &lines)
{
    QVariantMap changes;
    const auto figures = storage::statutoryFiguresInForce(
        storage::readStatutoryFigures(storage::statutoryFiguresFile(data.settings().nomsDir())), next);
    if (!figures || (next.month() != 1 && figures->from != next))
        return changes;
    reference::Company company;
    reference::loadCompany(data, company);
    const bool changeover = isEuroChangeover(old, next);
    const struct {
        const char *column;
        const char *caption;
        double carried;
        std::optional<double> figure;
    } columns[] = {
        {"FIRMA_MINSALARY", "Мин.заплата", company.minSalary, figures->minSalary},
        {"FIRMA_INDDOO", "Максимален осигурителен доход", company.maxInsurable, figures->maxInsurable},
        {"FIRMA_MINDOH", "Минимален осигурителен доход", company.minInsurable, figures->minInsurable},
        {"FIRMA_OBMAJKI", "Обезщетение майки", company.maternity, figures->maternity},
        {"FIRMA_DATA3", "Гарантирани вземания %", company.guaranteedPercent, figures->guaranteedPercent},
        {"FIRMA_DOOPROCF3", "Фонд ТЗ %", company.accidentPercent, figures->accidentPercent},
    };
    for (const auto &c : columns) {
        if (!c.figure)
            continue;
        const double carried = changeover ? toEuro(c.carried, companyAmountRule(QString::fromLatin1(c.column))) : c.carried;
        if (std::abs(carried - *c.figure) < 0.005)
            continue;
        changes.insert(QString::fromLatin1(c.column), *c.figure);
        lines << QStringLiteral("%1: %2 → %3").arg(QString::fromUtf8(c.caption), QString::number(carried, 'f', 2),
                                                   QString::number(*c.figure, 'f', 2));
    }
    if (changes.isEmpty())
        lines << QStringLiteral("без промяна");
    return changes;
}

// Why a file was not written, in the user's words.
QString fileError(const QSaveFile &first, const QSaveFile &second)
{
    const QSaveFile &failed = first.error() != QFileDevice::NoError ? first : second;
    if (failed.error() == QFileDevice::ResourceError)
        return QStringLiteral("няма място на диска");
    return failed.errorString();
}

} // namespace

ServiceLength advanceService(ServiceLength s, const std::optional<MonthDays> &summary, int daysInOldMonth)
{
    if (!summary || summary->sdni == 0)
        return s;
    if (summary->sdni == summary->rabdni) {
        addMonth(s);
        return s;
    }
    s.days += daysInOldMonth - summary->nsdni;
    while (s.days >= 30) {
        s.days -= 30;
        addMonth(s);
    }
    return s;
}

bool isOneMonthType(int type)
{
    return inList(type, {4, 6, 7, 16, 18, 19, 29, 30, 33, 35, 37, 139, 145, 147, 150, 151, 152, 153, 198});
}

bool isDatedType(int type) { return (type >= 11 && type <= 15) || (type >= 20 && type <= 28); }

CarryOver carryOver(const CarriedItem &item, const QDate &newMonthFirstDay)
{
    CarryOver c;
    const int t = item.type;
    if (isOneMonthType(t) && !flagSet(item.flags, 1)) {
        c.remove = true;
        return c;
    }
    if (t == 1) {
        if (inList(item.paySystem, {1, 2, 6}) && item.amount2 != 0) {
            c.amount1 = item.amount2;
            c.amount2 = 0.0;
        } else if (item.paySystem == 4 && item.amount2 != 0) {
            c.amount2 = 0.0;
        }
    } else if (t == 2) {
        if (item.amount2 != 0) {
            c.amount1 = item.amount2;
            c.amount2 = 0.0;
        }
    } else if (t == 5) {
        if (item.d != 0)
            c.d = 0;
    } else if (t == 9) {
        if (item.amount2 != 0)
            c.amount2 = 0.0;
    } else if (isDatedType(t)) {
        if ((t == 21 || t == 26) && flagSet(item.flags, 3))
            c.paidLeave = item.d;
        else if (t == 14 || t == 15)
            c.unpaidLeave = item.d;
        c.remove = !item.end.isValid() || item.end < newMonthFirstDay;
    } else if (t == 142 || t == 148) {
        if (item.amount1 != item.amount2)
            c.amount1 = item.amount2;
    } else if (t == 143) {
        // The total left after this month's instalment. An instalment larger
        // than what was left also pays it off: keeping the item would take
        // the total below zero and deduct the instalment for ever.
        const double left = util::roundHalfEven(item.amount - item.amount1, 2);
        if (item.amount == item.amount1 || (item.amount1 > 0 && left < 0))
            c.remove = true;
        else
            c.amount = left;
    } else if (t == 144) {
        if (item.amount1 != 0) {
            if (item.amount2 != 0) {
                c.amount2 = 0.0;
            } else {
                // A count already at zero or below ends too, rather than run on negative.
                c.d = item.d - 1;
                c.remove = *c.d <= 0;
            }
        }
    }
    return c;
}

QString endmesHeader(const util::Period &newMonth)
{
    return QStringLiteral("Лица с променен трудож стаж от ") + util::monthName(newMonth.month())
           + QString::number(newMonth.year()).rightJustified(5) + QStringLiteral(" г.");
}

QString endmesColumns() { return QStringLiteral("Номер   Име                                  Стаж   Кат. Стар % Нов %"); }

QString endmesLine(int number, const QString &name, const ServiceLength &total)
{
    return QString::number(number) + name.leftJustified(50, QLatin1Char(' '), true) + QString::number(total.days)
           + QStringLiteral("д ") + QString::number(total.months) + QStringLiteral("м ") + QString::number(total.years)
           + QStringLiteral("г");
}

bool newMonthExists(storage::DataModule &data)
{
    const util::Period next = data.period().next();
    QStringList conditions;
    QVariantList names;
    for (const char *base : kCarriedTables) {
        conditions << QStringLiteral("RDB$RELATION_NAME=?");
        names << storage::names::monthTable(QString::fromLatin1(base), next);
    }
    fb::Statement q(data.transaction(), QStringLiteral("SELECT DISTINCT RDB$RELATION_NAME FROM RDB$RELATION_FIELDS WHERE (%1) "
                                                       "AND RDB$SYSTEM_FLAG<>1")
                                            .arg(conditions.join(QStringLiteral(" or "))));
    q.bindAll(names);
    int found = 0;
    while (q.next())
        ++found;
    return found == 8;
}

bool isMonthClosed(storage::DataModule &data)
{
    if (!data.isConnected() || !data.period().isValid())
        return false;
    return newMonthExists(data)
           && data.countRows(storage::names::monthTable(u"PERSONS", data.period().next()), QStringLiteral("PERSON_ID")) > 0;
}

ClosingResult closeMonth(storage::DataModule &data, util::Prompter &prompter, calc::Parameters *params)
{
    const util::Period old = data.period();
    const util::Period next = old.next();
    const bool existed = newMonthExists(data);
    if (existed && !prompter.confirm(QStringLiteral("Вече съществуват таблици за новия месец.\n"
                                                    "Сигурни ли сте,че искате да продължите?\n"
                                                    "Ако продължите информацията ще бъде изтрита")))
        return ClosingResult::Declined;

    QStringList statutoryLines;
    const QVariantMap statutory = statutoryChanges(data, old, next, statutoryLines);
    bool takeStatutory = !statutory.isEmpty();
    if (takeStatutory && next.month() != 1)
        takeStatutory = prompter.confirm(QStringLiteral("От %1 законовите стойности в данните на фирмата са други:\n%2\n"
                                                        "Да се вземат ли новите стойности?")
                                             .arg(next.text(), statutoryLines.join(QLatin1Char('\n'))));

    Progress progress(prompter);
    QSaveFile endmes(data.settings().programDir() + QStringLiteral("ENDMES.TXT"));
    QSaveFile euroFile(data.settings().programDir() + QLatin1String(kEuroListFile));
    QStringList euroList;
    QStringList belowMinimum; // of the closed month, for its report
    try {
        // Tables first: creating them commits, which must not happen inside
        // the copy. Existing ones are checked too: a closing killed while the
        // engine made them can leave them unusable.
        data.schema().createTables(next, data.companySeed());
        // From here to the one commit both months are this copy's alone: a
        // second copy adding an employee either committed before (and is
        // copied) or waits and then finds the month closed.
        const bool walk = params && data.autocalc();
        if (walk)
            reference::ensureDefaultCalendars(data); // commits when it makes them
        data.lockPeriod();
        data.lockFor(storage::names::monthTable(u"PERSONS", next));

        // Every employee's month recalculated and stored before it is copied;
        // no commit until the copy's, which would let the locks go.
        if (walk) {
            calc::Walk all([&](const calc::Calculation &r, int done, int total) {
                if (r.belowMinimumWage)
                    belowMinimum << QStringLiteral("%1 %2: %3")
                                        .arg(r.employee.number)
                                        .arg(r.employee.name.trimmed(), calc::minimumWageNote(*r.belowMinimumWage));
                progress.within(0, 10, done, total);
            });
            all.commit = false;
            const calc::Recalculation done = calc::recalculateAll(data, *params, all);
            if (!done.failures.empty())
                throw std::runtime_error(QStringLiteral("Служител с номер %1 не може да бъде изчислен: %2")
                                             .arg(done.failures.front().number)
                                             .arg(done.failures.front().reason)
                                             .toStdString());
        }
        progress.at(10);

        // Both files are opened before the copy, so that one that cannot be
        // written stops the closing before anything of it is done.
        if (!endmes.open(QIODevice::WriteOnly))
            throw std::runtime_error(QStringLiteral("Файлът %1 не може да бъде записан.").arg(endmes.fileName()).toStdString());
        if (isEuroChangeover(old, next) && !euroFile.open(QIODevice::WriteOnly))
            throw std::runtime_error(QStringLiteral("Файлът %1 не може да бъде записан.").arg(euroFile.fileName()).toStdString());
        {
            storage::Savepoint unit(data.transaction());
            Closing closing(data, progress);
            if (takeStatutory)
                closing.statutory = statutory;
            closing.run(existed, endmes);
            if (!belowMinimum.isEmpty()) {
                QStringList lines{QString(), QStringLiteral("Основна заплата под минималната работна заплата през %1:").arg(old.text())};
                lines << belowMinimum;
                for (const QString &line : lines)
                    endmes.write(util::toCp1251(line) + "\r\n");
            }
            euroList = closing.euroList;
            if (isEuroChangeover(old, next)) {
                QStringList lines = euroListHeader(old);
                lines << euroList;
                for (const QString &line : lines)
                    euroFile.write(util::toCp1251(line) + "\r\n");
            }
            data.markPeriodClosed();
            unit.release();
            data.commitRetaining();
        }
    } catch (const std::exception &e) {
        endmes.cancelWriting();
        euroFile.cancelWriting();
        try {
            data.commitRetaining(); // the recalculated months stay; the locks go
        } catch (const fb::Error &) {
        }
        prompter.message(QStringLiteral("Месецът не е приключен.\n") + storage::errorText(e));
        return ClosingResult::Failed;
    }

    // The old file stays whole until the new one is: a file written under a
    // temporary name and renamed.
    QStringList notWritten;
    if (!endmes.commit())
        notWritten << endmes.fileName();
    data.changePeriod(next.year(), next.month());
    if (isEuroChangeover(old, next)) {
        if (euroFile.commit())
            prompter.message(QStringLiteral("Сумите на месец %1 са превалутирани в евро (1 евро = 1.95583 лв.). "
                                            "Списъкът на превалутираните суми е във файла %2.")
                                 .arg(next.text(), euroFile.fileName()));
        else
            notWritten << euroFile.fileName();
    }
    if (!notWritten.isEmpty())
        prompter.message(QStringLiteral("Месецът е приключен, но файлът %1 не може да бъде записан (%2).")
                             .arg(notWritten.join(QStringLiteral(", ")), fileError(endmes, euroFile)));
    if (!belowMinimum.isEmpty())
        prompter.message(QStringLiteral("Основната заплата на %1 служители е под минималната работна заплата. "
                                        "Списъкът е във файла %2.")
                             .arg(belowMinimum.size())
                             .arg(endmes.fileName()));
    if (takeStatutory)
        prompter.message(QStringLiteral("Данните на фирмата от %1 са взети от закона:\n%2").arg(next.text(), statutoryLines.join(QLatin1Char('\n'))));
    else if (next.month() == 1 && statutory.isEmpty() && statutoryLines.isEmpty()
             && QFile::exists(storage::statutoryFiguresFile(data.settings().nomsDir())))
        prompter.message(storage::noStatutoryFiguresMessage(next.year()));
    return notWritten.isEmpty() ? ClosingResult::Closed : ClosingResult::ClosedFileNotWritten;
}

} // namespace plavex::operations
