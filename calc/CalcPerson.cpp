#include "calc/CalcPerson.h"

#include "calc/CalcError.h"
#include "calc/History.h"
#include "calc/LawOfMonth.h"
#include "calc/MonthlyRecord.h"
#include "calc/Parameters.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/NumberText.h"
#include "util/Prompter.h"

#include <algorithm>
#include <array>

namespace plavex::calc {

namespace {

const QString kEmployeeColumns = QStringLiteral(
    "select PERSON_ID, PERSON_NOMER, PERSON_IME, PERSON_ACT, PERSON_KALENDAR, PERSON_NOS, PERSON_NOSN, PERSON_DLUV, "
    "PERSON_SYSZ, PERSON_TRUSTR, PERSON_DATANAZ, PERSON_DATAUWOL from %1");

// Dates before 1900 are the "no date" of older rows.
QDate dateOrNone(const QVariant &value)
{
    const QDate date = value.toDate();
    return date.isValid() && date.year() >= 1900 ? date : QDate();
}

Employee readEmployee(const fb::Statement &q)
{
    Employee e;
    e.id = static_cast<int>(q.toInt(0));
    e.number = static_cast<int>(q.toInt(1));
    e.name = q.toText(2);
    e.active = static_cast<int>(q.toInt(3));
    e.calendarCode = static_cast<int>(q.toInt(4));
    e.insuranceType = util::textToInt(q.toText(5));
    e.insuranceVariant = static_cast<int>(q.toInt(6));
    e.position = static_cast<int>(q.toInt(7));
    e.paySystem = static_cast<int>(q.toInt(8));
    e.reassigned = q.toInt(9) == 1;
    e.hired = dateOrNone(q.value(10));
    e.left = dateOrNone(q.value(11));
    return e;
}

// An item row's three texts; most rows have none (blank or NULL).
using ItemTexts = std::array<QString, 3>;

bool noTexts(const ItemTexts &texts)
{
    return std::all_of(texts.begin(), texts.end(), [](const QString &t) { return t.isEmpty(); });
}

// Which of the three are NULL rather than blank, as bits.
quint8 nullTexts(const ItemTexts &texts)
{
    return static_cast<quint8>((texts[0].isNull() ? 1 : 0) | (texts[1].isNull() ? 2 : 0) | (texts[2].isNull() ? 4 : 0));
}

const ItemTexts &emptyTexts(quint8 nulls)
{
    static const std::array<ItemTexts, 8> all = [] {
        const QString blank = QString::fromUtf8("", 0);
        std::array<ItemTexts, 8> a;
        for (size_t bits = 0; bits < a.size(); ++bits)
            for (size_t i = 0; i < 3; ++i)
                a[bits][i] = bits & (size_t{1} << i) ? QString() : blank;
        return a;
    }();
    return all[nulls & 7];
}

PreloadedItem readRow(const fb::Statement &q, ItemTexts &texts)
{
    PreloadedItem it;
    it.id = static_cast<int>(q.toInt(0));
    it.person = static_cast<int>(q.toInt(1));
    it.month = static_cast<int>(q.toInt(2));
    it.year = static_cast<int>(q.toInt(3));
    it.code = static_cast<int>(q.toInt(4));
    it.amount1 = q.toDouble(5);
    it.amount2 = q.toDouble(6);
    it.d = static_cast<int>(q.toInt(7));
    it.hasBeginDate = !q.isNull(8);
    if (it.hasBeginDate)
        it.begin = static_cast<qint32>(q.toDate(8).toJulianDay());
    it.hasEndDate = !q.isNull(9);
    if (it.hasEndDate)
        it.end = static_cast<qint32>(q.toDate(9).toJulianDay());
    texts[0] = q.toText(10);
    it.amount = q.toDouble(11);
    it.correction = q.toDouble(12);
    it.final = q.toDouble(13);
    it.type = static_cast<int>(q.toInt(14));
    texts[1] = q.toText(15);
    it.firstCertificate = q.toInt(16) == 1;
    texts[2] = q.toText(17);
    return it;
}

items::ItemRecord record(const PreloadedItem &row, const ItemTexts &texts)
{
    items::ItemRecord it;
    it.id = row.id;
    it.person = row.person;
    it.month = row.month;
    it.year = row.year;
    it.code = row.code;
    it.amount1 = row.amount1;
    it.amount2 = row.amount2;
    it.d = row.d;
    if (row.hasBeginDate)
        it.begin = QDate::fromJulianDay(row.begin);
    if (row.hasEndDate)
        it.end = QDate::fromJulianDay(row.end);
    it.partida = texts[0];
    it.amountRead = row.amount;
    it.correctionRead = row.correction;
    it.finalRead = row.final;
    it.type = row.type;
    it.certificate = texts[1];
    it.firstCertificate = row.firstCertificate;
    it.documents = texts[2];
    it.beginPacked = it.hasBegin() ? util::CompactDate::fromDate(it.begin) : util::CompactDate{};
    it.endPacked = it.hasEnd() ? util::CompactDate::fromDate(it.end) : util::CompactDate{};
    it.dRead = it.d;
    it.amount2Read = it.amount2;
    return it; // amount, correction and final start at 0
}

items::ItemRecord readItem(const fb::Statement &q)
{
    ItemTexts texts;
    const PreloadedItem row = readRow(q, texts);
    return record(row, texts);
}

} // namespace

PersonCalculator::PersonCalculator(storage::DataModule &data, Parameters &params)
    : autocalc(data.autocalc()), data_(data), params_(params), history_(std::make_unique<DatabaseHistory>(data)),
      summary_(std::make_unique<SummaryWriter>(data))
{
    params_.ensureLoaded(data_);
}

PersonCalculator::~PersonCalculator() = default;

void PersonCalculator::execute(std::unique_ptr<fb::Statement> &slot, const QString &sql, const QVariantList &values)
{
    if (!slot)
        slot = std::make_unique<fb::Statement>(data_.transaction(), sql);
    slot->bindAll(values);
    slot->execute();
}

std::vector<Employee> PersonCalculator::employees()
{
    // Put in order here rather than by the engine, which would sort them
    // before the first row (number and id are never NULL).
    fb::Statement q(data_.transaction(), kEmployeeColumns.arg(data_.table(u"PERSONS")));
    std::vector<Employee> list;
    while (q.next())
        list.push_back(readEmployee(q));
    std::sort(list.begin(), list.end(),
              [](const Employee &a, const Employee &b) { return a.number != b.number ? a.number < b.number : a.id < b.id; });
    return list;
}

Employee PersonCalculator::employee(int personId)
{
    execute(employee_, kEmployeeColumns.arg(data_.table(u"PERSONS")) + QStringLiteral(" where PERSON_ID=?"), {personId});
    if (!employee_->next())
        throw CalcError(QStringLiteral("Няма служител с идентификатор %1 в месец %2.").arg(personId).arg(data_.period().text()));
    Employee e = readEmployee(*employee_);
    employee_->close();
    return e;
}

const reference::CalendarRecord &PersonCalculator::calendarOf(int code)
{
    if (const auto found = calendars_.find(code); found != calendars_.end())
        return found->second;
    const QString table = data_.table(u"CAL");
    const QString columns = QStringLiteral("CAL_COD, CAL_IME, CAL_RABDNI");
    execute(calendar_, QStringLiteral("select %1 from %2 where CAL_COD=?").arg(columns, table), {code});
    fb::Statement *row = calendar_.get();
    std::unique_ptr<fb::Statement> first;
    if (!row->next()) {
        reference::ensureDefaultCalendars(data_);
        first = std::make_unique<fb::Statement>(data_.transaction(),
                                                QStringLiteral("select first 1 %1 from %2 order by CAL_COD").arg(columns, table));
        row = first.get();
        if (!row->next())
            throw CalcError(QStringLiteral("Няма календар за месец %1.").arg(data_.period().text()));
    }
    reference::CalendarRecord calendar;
    calendar.code = static_cast<int>(row->toInt(0));
    calendar.name = row->toText(1).left(30);
    QString error;
    const bool ok = reference::setCalendarText(calendar, row->toText(2), data_.period().firstDay(), &error);
    row->close();
    if (!ok)
        throw CalcError(error);
    return calendars_.emplace(code, calendar).first->second;
}

void PersonCalculator::preload()
{
    data_.lockPeriod();
    preloadedItems_.clear();
    preloadedTexts_.clear();
    preloadedHistory_.clear();
    {
        // In the order the table holds them, which the engine reads fastest;
        // grouped by employee here, and each employee's put in type and id
        // order when handed over.
        fb::Statement q(data_.transaction(),
                        QStringLiteral("select PERO_PEROID, PERO_PERSONID, PERO_MES, PERO_GOD, PERO_COD, PERO_SUMA1, PERO_SUMA2, PERO_D, "
                                       "PERO_BEGINDATE, PERO_ENDDATE, PERO_PARTIDA, PERO_SUMA, PERO_SUMAKOR, PERO_SUMAFINAL, PERO_TYPE, "
                                       "PERO_BOLNN, PERO_FLFIRST, PERO_BOLNDOPDOC from %1")
                            .arg(data_.table(u"PERA")));
        ItemTexts texts;
        while (q.next()) {
            PreloadedItem row = readRow(q, texts);
            if (noTexts(texts)) {
                row.nullTexts = nullTexts(texts);
            } else {
                row.texts = static_cast<qint32>(preloadedTexts_.size());
                preloadedTexts_.push_back(texts);
            }
            preloadedItems_.push_back(row);
        }
        preloadedByEmployee_ = byEmployee(preloadedItems_, [](const PreloadedItem &row) { return row.person; });
    }
    const util::Period period = data_.period();
    auto addHistory = [this](const fb::Statement &q) { preloadedHistory_.add(DatabaseHistory::read(q)); };
    {
        // Every other month; this month's rows come with its stored summaries.
        fb::Statement q(data_.transaction(),
                        QStringLiteral("select %1 from PERSDATA where PERSDATA_GOD is distinct from ? or PERSDATA_MES is distinct from ?")
                            .arg(QLatin1String(DatabaseHistory::columns())));
        q.bindAll({period.year(), period.month()});
        while (q.next())
            addHistory(q);
    }
    // About one stored row for each employee with items.
    summary_->preload(period, addHistory, preloadedByEmployee_.ranges.size());
    preloaded_ = true;
}

std::vector<items::ItemRecord> PersonCalculator::loadItems(int personId)
{
    if (preloaded_) {
        // Each employee is calculated once in a walk: his items are handed over.
        auto &ranges = preloadedByEmployee_.ranges;
        const auto found = ranges.find(personId);
        if (found == ranges.end())
            return {};
        std::vector<items::ItemRecord> list;
        list.reserve(found->second.second - found->second.first);
        for (size_t i = found->second.first; i < found->second.second; ++i) {
            const PreloadedItem &row = preloadedItems_[preloadedByEmployee_.order[i]];
            list.push_back(record(row, row.texts < 0 ? emptyTexts(row.nullTexts) : preloadedTexts_[static_cast<size_t>(row.texts)]));
        }
        ranges.erase(found);
        std::sort(list.begin(), list.end(), [](const items::ItemRecord &a, const items::ItemRecord &b) {
            return a.type != b.type ? a.type < b.type : a.id < b.id;
        });
        return list;
    }
    execute(items_,
            QStringLiteral("select PERO_PEROID, PERO_PERSONID, PERO_MES, PERO_GOD, PERO_COD, PERO_SUMA1, PERO_SUMA2, PERO_D, "
                           "PERO_BEGINDATE, PERO_ENDDATE, PERO_PARTIDA, PERO_SUMA, PERO_SUMAKOR, PERO_SUMAFINAL, PERO_TYPE, "
                           "PERO_BOLNN, PERO_FLFIRST, PERO_BOLNDOPDOC from %1 WHERE PERO_PERSONID=? order by PERO_TYPE, PERO_PEROID")
                .arg(data_.table(u"PERA")),
            {personId});
    std::vector<items::ItemRecord> list;
    while (items_->next())
        list.push_back(readItem(*items_));
    return list;
}

int PersonCalculator::writeItems(std::vector<items::ItemRecord> &list)
{
    const QString pera = data_.table(u"PERA");
    int written = 0;
    for (items::ItemRecord &it : list) {
        if (!itemChanged(it))
            continue;
        QVariantList values{r2(it.amount), r2(it.correction), r2(it.final), it.d};
        if (writesAmount2(it.type)) {
            values << r2(it.amount2) << it.id;
            execute(updateWithAmount2_,
                    QStringLiteral("UPDATE %1 SET PERO_SUMA=?, PERO_SUMAKOR=?, PERO_SUMAFINAL=?, PERO_d=?, PERO_SUMA2=? "
                                   "WHERE PERO_PEROID=?").arg(pera),
                    values);
            it.amount2Read = it.amount2;
        } else {
            values << it.id;
            execute(update_, QStringLiteral("UPDATE %1 SET PERO_SUMA=?, PERO_SUMAKOR=?, PERO_SUMAFINAL=?, PERO_d=? WHERE PERO_PEROID=?").arg(pera),
                    values);
        }
        it.amountRead = it.amount;
        it.correctionRead = it.correction;
        it.finalRead = it.final;
        it.dRead = it.d;
        ++written;
    }
    return written;
}

Calculation PersonCalculator::calculate(int personId) { return calculate(employee(personId)); }

Calculation PersonCalculator::calculate(const Employee &employee)
{
    // What is read below decides what is written: nobody else may change
    // the month in between.
    data_.lockPeriod();
    History &stored = preloaded_ ? static_cast<History &>(preloadedHistory_) : *history_;
    // A euro month reads the months before 2026 converted from leva.
    HistoryInCurrency history(stored, data_.period());
    Context context(params_, data_.period(), employee, history);
    context.calendar = calendarOf(employee.calendarCode);
    Calculation result;
    result.employee = employee;
    std::vector<items::ItemRecord> list = loadItems(employee.id);
    result.outcome = calc::calculate(context, list, autocalc);
    params_.calendar = context.calendar;
    result.totals = context.totals;
    result.employerSick = context.employerSick;
    context.items = nullptr; // the list moves into the result below
    for (const items::ItemRecord &item : list) {
        if (item.type >= 20 && item.type <= 28) {
            result.sickAverages[item.id] = sickAverage(context, item);
            const util::Period onset = item.beginPacked.isEmpty()
                                           ? context.period
                                           : util::Period(item.beginPacked.year + 1900, item.beginPacked.month);
            if (fundBenefitFrom18Months(onset, item.type))
                result.fundAverages[item.id] = fundSickAverage(context, item);
        }
    }

    if (result.outcome != Outcome::NoItems) {
        const bool itemsChanged = std::any_of(list.begin(), list.end(), itemChanged);
        const bool summary = result.outcome == Outcome::Calculated && summary_->needsWrite(context.totals, context.period);
        if (itemsChanged || summary) {
            // One employee's writes stand or fall together.
            execute(savepoint_, QStringLiteral("SAVEPOINT PLAVEX_CALCPERSON"));
            try {
                result.itemsWritten = writeItems(list);
                if (summary) {
                    summary_->save(context.totals, context.period);
                    result.summaryWritten = true;
                }
            } catch (...) {
                execute(rollback_, QStringLiteral("ROLLBACK TO SAVEPOINT PLAVEX_CALCPERSON"));
                throw;
            }
            execute(release_, QStringLiteral("RELEASE SAVEPOINT PLAVEX_CALCPERSON ONLY"));
        }
    }
    result.belowMinimumWage =
        calc::belowMinimumWage(employee, list, params_.company.minSalary, context.calendar.workingDays);
    result.items = std::move(list);
    return result;
}

Calculation calcPerson(storage::DataModule &data, Parameters &params, int personId)
{
    PersonCalculator calculator(data, params);
    return calculator.calculate(personId);
}

QStringList Recalculation::errorLines() const
{
    QStringList lines;
    for (const Failure &f : failures)
        lines << QStringLiteral("Служител с номер %1: %2").arg(f.number).arg(f.reason);
    return lines;
}

Recalculation recalculateAll(storage::DataModule &data, Parameters &params, const Walk &walk)
{
    PersonCalculator calculator(data, params);
    calculator.autocalc = true;
    calculator.preload();
    const std::vector<Employee> list = calculator.employees();
    const int total = static_cast<int>(list.size());
    if (walk.progress)
        walk.progress->progressStart(QStringLiteral("Преизчисляване на всички служители"));
    Recalculation report;
    for (const Employee &employee : list) {
        Calculation result;
        try {
            result = calculator.calculate(employee);
        } catch (const storage::Busy &) {
            throw; // the month is not this program's to write now
        } catch (const CalcError &e) {
            result.employee = employee;
            result.error = e.message();
        } catch (const fb::Error &e) {
            result.employee = employee;
            result.error = storage::errorText(e);
        }
        if (!result.error.isEmpty())
            report.failures.push_back({employee.number, result.error});
        ++report.employees;
        if (walk.each)
            walk.each(result, report.employees, total);
        if (walk.progress) {
            walk.progress->progressStep(report.employees, total);
            if (walk.progress->cancelled()) {
                walk.progress->progressEnd();
                throw util::Cancelled();
            }
        }
    }
    if (walk.progress)
        walk.progress->progressEnd();
    if (walk.commit)
        data.commitRetaining();
    return report;
}

} // namespace plavex::calc
