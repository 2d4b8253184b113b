#include "declarations/Declaration1.h"

#include "calc/CalcPerson.h"
#include "items/Definitions.h"
#include "reference/Calendar.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/CompactDate.h"
#include "util/PersonalNumber.h"
#include "util/Prompter.h"
#include "util/FileError.h"

#include <QDir>
#include <QHash>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>
#include <cstring>

namespace plavex::declarations {

namespace {

double pct(const reference::NoiType *rate, const char *column)
{
    return rate ? rate->percent(QString::fromLatin1(column)) : 0.0;
}

// The columns a line reads; each row is fetched into these, in this order.
constexpr const char *kPersonColumns[] = {
    "PERSON_ID",     "PERSON_EGN",     "PERSON_SYSZ",   "PERSON_IME",    "PERSON_PCODE",    "PERSON_ADDR",
    "PERSON_NOS",    "PERSON_NOSN",    "PERSON_DATANAZ", "PERSON_DATAUWOL", "PERSON_DOOPROC", "PERSON_TRUSTR",
    "PERSON_GARVZ",  "PERSON_KALENDAR", "PERSON_ADDRGRAD", "PERSON_DLUV"};
constexpr const char *kMonthColumns[] = {
    "PERSDATA_PERSONID", "PERSDATA_SDNI",   "PERSDATA_ODNI",   "PERSDATA_OFRZ",     "PERSDATA_ODOO",      "PERSDATA_OMAJKI",
    "PERSDATA_NPLS",     "PERSDATA_WCOSOC", "PERSDATA_WCOSUMA32", "PERSDATA_SZDR",  "PERSDATA_BOLN_NOI",  "PERSDATA_SZDRN",
    "PERSDATA_WDNITRZL", "PERSDATA_WIZVTRUD", "PERSDATA_SMAJ", "PERSDATA_TESTSBOL", "PERSDATA_WCOGARANT", "PERSDATA_SOBL",
    "PERSDATA_S39",      "PERSDATA_S54",    "PERSDATA_WNETNO", "PERSDATA_SDOD"};

template <size_t N>
QString columnList(const char *const (&columns)[N])
{
    QStringList names;
    for (const char *c : columns)
        names << QLatin1String(c);
    return names.join(QLatin1Char(','));
}

// Every row of the query, by its first column (an id); a later row of the
// same id replaces an earlier one.
template <size_t N>
QHash<int, Declaration1Row> rowsById(fb::Statement &q, const char *const (&columns)[N])
{
    QHash<int, Declaration1Row> rows;
    while (q.next()) {
        Declaration1Row row(columns, static_cast<int>(N));
        for (int i = 0; i < static_cast<int>(N); ++i)
            row.values()[i] = q.value(i);
        rows.insert(row.values()[0].toInt(), std::move(row));
    }
    return rows;
}

// Written into a temporary file beside the target and renamed only when
// complete, so a failure never leaves a half-written declaration.
bool writeFile(const QString &path, const QByteArray &bytes, util::Prompter &prompter)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        prompter.message(QStringLiteral("Файлът %1 не може да бъде записан: %2").arg(QDir::toNativeSeparators(path), util::fileErrorText(file)));
        return false;
    }
    return true;
}

} // namespace

QVariant Declaration1Row::value(const char *column, size_t skip) const
{
    for (int i = 0; i < values_.size(); ++i)
        if (std::strcmp(columns_[i] + skip, column) == 0)
            return values_[i];
    return {};
}

void nameParts(const QString &name, QString &family, QString &initials)
{
    const QStringList words = name.trimmed().toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    family = words.size() >= 3 ? words[2] : QString();
    initials.clear();
    for (int i = 0; i < std::min<qsizetype>(2, words.size()); ++i)
        initials += words[i].left(1);
}

Empl2000Record buildRecord(const util::Period &period, const reference::Company &company, const Declaration1Input &in,
                           LineHours &hours)
{
    Empl2000Record r;
    auto p = [&](const char *c) { return in.person.value(c); };
    const size_t prefix = std::strlen("PERSDATA_");
    auto m = [&](const char *c) { return in.month.value(c, prefix).toDouble(); };
    auto mi = [&](const char *c) { return in.month.value(c, prefix).toInt(); };
    const QString egn = p("PERSON_EGN").toString().trimmed();
    const bool after1959 = reference::bornAfter1959(egn);
    const int paySystem = p("PERSON_SYSZ").toInt();

    r.set(u"EMPL2000_PERSONID", p("PERSON_ID"));
    r.set(u"EMPL2000_MES", period.month());
    r.set(u"EMPL2000_GOD", period.year());
    r.set(u"EMPL2000_BULSTAT", company.bulstat.trimmed());
    r.set(u"EMPL2000_EGN", egn);
    r.set(u"EMPL2000_LNCHFL", util::isValidEgn(egn) ? 0 : 2);
    QString family, initials;
    nameParts(p("PERSON_IME").toString(), family, initials);
    r.set(u"EMPL2000_FAMILIA", family.left(25));
    r.set(u"EMPL2000_INICIALI", initials);
    r.set(u"EMPL2000_PCODE", QString::number(p("PERSON_PCODE").toInt()));
    r.set(u"EMPL2000_OBLAST", in.region.trimmed().left(15));
    r.set(u"EMPL2000_GRAD", in.town.trimmed().toUpper().left(20));
    QString address = p("PERSON_ADDR").toString().trimmed();
    address.replace(QLatin1Char('"'), QLatin1Char('\'')).replace(QLatin1Char(','), QLatin1Char(' '));
    r.set(u"EMPL2000_PERSADDR", address.toUpper());
    const int insured = p("PERSON_NOS").toString().trimmed().toInt();
    r.set(u"EMPL2000_VIDOSIG", insured);

    // Hiring counts from the period's month on; leaving unless it lies in a later month.
    const util::CompactDate monthStart = util::CompactDate::fromDate(period.firstDay());
    const util::CompactDate nextStart = util::CompactDate::fromDate(period.next().firstDay());
    const QDate hired = p("PERSON_DATANAZ").toDate();
    const QDate left = p("PERSON_DATAUWOL").toDate();
    const util::CompactDate hiredPacked = util::CompactDate::fromDate(hired);
    const util::CompactDate leftPacked = util::CompactDate::fromDate(left);
    const int continuation = hiredPacked.isEmpty() || hiredPacked < monthStart ? 0 : 1;
    const int beginDay = continuation == 1 ? hired.day() : 0;
    const int endDay = !leftPacked.isEmpty() && !(nextStart < leftPacked) && !(leftPacked == nextStart) ? left.day() : 0;
    r.set(u"EMPL2000_OSIGCOD", continuation);
    r.set(u"EMPL2000_OSIGDAYBEGIN1", beginDay);
    r.set(u"EMPL2000_OSIGDAYEND1", endDay);
    for (int k = 2; k <= 5; ++k) {
        r.set(QStringLiteral("EMPL2000_OSIGDAYBEGIN%1").arg(k), 0);
        r.set(QStringLiteral("EMPL2000_OSIGDAYEND%1").arg(k), 0);
    }

    const int sdni = mi("SDNI"), odni = mi("ODNI"), ofrz = mi("OFRZ"), odoo = mi("ODOO"), omajki = mi("OMAJKI"), npls = mi("NPLS");
    if (std::abs(p("PERSON_DOOPROC").toDouble() - 0.7) < 1e-9) {
        r.set(u"EMPL2000_TOTALSTAJDAYS", QStringLiteral("10000"));
        for (const char *c : {"EMPL2000_ODAYS", "EMPL2000_BOLDAYS", "EMPL2000_CHILDDAYS", "EMPL2000_NPLDAYSSTAJ", "EMPL2000_OTHERDAYSSTAJ"})
            r.set(QString::fromLatin1(c), 0);
    } else {
        r.set(u"EMPL2000_TOTALSTAJDAYS", (sdni == in.calendarWorkingDays ? QStringLiteral("0") : QStringLiteral("1"))
                                             + QStringLiteral("%1").arg(sdni, 2, 10, QLatin1Char('0'))
                                             + (paySystem == 6 ? QStringLiteral("84") : QStringLiteral("88")));
        r.set(u"EMPL2000_ODAYS", odni + ofrz);
        r.set(u"EMPL2000_BOLDAYS", odoo - omajki - in.employerSickItems);
        r.set(u"EMPL2000_CHILDDAYS", omajki);
        r.set(u"EMPL2000_NPLDAYSSTAJ", npls);
        r.set(u"EMPL2000_OTHERDAYSSTAJ", sdni - odni - ofrz - odoo - npls);
    }
    r.set(u"EMPL2000_SUMOSIGVN", 0.0);
    r.set(u"EMPL2000_PROCPKBFI", 0.0);
    r.set(u"EMPL2000_PROCPKBLI", 0.0);
    r.set(u"EMPL2000_WCOSOC", m("WCOSOC"));
    r.set(u"EMPL2000_PROCSOCPKBFI", pct(in.rate, after1959 ? "NOI_PENSI_FI60" : "NOI_PENSI_FI"));
    r.set(u"EMPL2000_PROCSOCPKBLI", pct(in.rate, after1959 ? "NOI_PENSI_LI60" : "NOI_PENSI_LI"));
    r.set(u"EMPL2000_SUMSOC", m("WCOSUMA32"));
    if (after1959) {
        r.set(u"EMPL2000_NOI_PENSI_FI", pct(in.rate, "NOI_PENSI_FI60") + pct(in.rate, "NOI_ZAB_FI60") + pct(in.rate, "NOI_PKB_FI60"));
        r.set(u"EMPL2000_NOI_PENSI_LI", pct(in.rate, "NOI_PENSI_LI60") + pct(in.rate, "NOI_ZAB_LI60") + pct(in.rate, "NOI_PKB_LI60"));
    } else {
        r.set(u"EMPL2000_NOI_PENSI_FI", pct(in.rate, "NOI_PENSI_FI") + pct(in.rate, "NOI_ZAB_FI") + pct(in.rate, "NOI_PKB_FI"));
        r.set(u"EMPL2000_NOI_PENSI_LI", pct(in.rate, "NOI_PENSI_LI") + pct(in.rate, "NOI_ZAB_LI") + pct(in.rate, "NOI_PKB_LI"));
    }
    r.set(u"EMPL2000_NOI_U4", pct(in.rate, "NOI_U4"));
    for (const char *c : {"EMPL2000_PROCPKBFI2002", "EMPL2000_PROCPKBLI2002", "EMPL2000_CODPF", "EMPL2000_PROCPFFONDFI", "EMPL2000_CODUPF"})
        r.set(QString::fromLatin1(c), 0);
    r.set(u"EMPL2000_PROCUPFFONDFI", after1959 ? pct(in.rate, "NOI_DZPO_FI60") : 0.0);
    r.set(u"EMPL2000_PROCUPFFONDLI", after1959 ? pct(in.rate, "NOI_DZPO_LI60") : 0.0);
    r.set(u"EMPL2000_ZDRVIDOS", insured);
    r.set(u"EMPL2000_ZDROSIGCOD", continuation);
    r.set(u"EMPL2000_ZDROSIGDAYBEGIN", beginDay);
    r.set(u"EMPL2000_ZDROSIGDAYEND", endDay);
    r.set(u"EMPL2000_ZDRSUMOSIGVN", m("SZDR"));
    r.set(u"EMPL2000_PROCZDROSIGVNFI", pct(in.rate, "NOI_ZDR"));
    r.set(u"EMPL2000_PROCZDROSIGVNLI", pct(in.rate, "NOI_ZDL"));
    r.set(u"EMPL2000_ZDROBESHT", m("BOLN_NOI"));
    r.set(u"EMPL2000_PROCZDRVNOSIGFI", pct(in.rate, "NOI_ZD_BOLN"));
    r.set(u"EMPL2000_ZDROSIGDOH", m("SZDRN"));
    r.set(u"EMPL2000_PROCZDRVNOSIGFI1", pct(in.rate, "NOI_ZDR_NEPL"));
    r.set(u"EMPL2000_ZDRLICOSIGBROI", static_cast<int>(in.dependants.size()));
    for (int k = 1; k <= 6; ++k) {
        r.set(QStringLiteral("EMPL2000_EGNNERAB%1").arg(k), k <= in.dependants.size() ? in.dependants[k - 1] : QString());
        r.set(QStringLiteral("EMPL2000_EGNFLAG%1").arg(k), 0);
    }
    r.set(u"EMPL2000_NKIDPORN", company.activityNumber.toInt());
    r.set(u"EMPL2000_NKID", company.activityCode);
    r.set(u"EMPL2000_PORNKVGR", in.category);
    r.set(u"EMPL2000_RDDAY", 0);
    r.set(u"EMPL2000_RDMONTH", 0);
    r.set(u"EMPL2000_RDGOD", 0);
    r.set(u"EMPL2000_PERSPOL", QStringLiteral(" "));
    r.set(u"EMPL2000_OSIGDOHDZPO", after1959 ? m("WCOSUMA32") + m("WCOSOC") : 0.0);
    r.set(u"EMPL2000_NAMALRABOT", p("PERSON_TRUSTR").toInt());
    const int garant = p("PERSON_GARVZ").toInt();
    r.set(u"EMPL2000_GARVZFL", garant);
    r.set(u"EMPL2000_TRZLOPDAYS", mi("WDNITRZL"));
    r.set(u"EMPL2000_PROFZABDAYS", 0);
    const double hoursPerDay = paySystem == 6 ? 4.0 : paySystem > 6 ? 6.0 : 8.0;
    hours.worked = (odni + ofrz) * hoursPerDay + m("WIZVTRUD");
    hours.overtime = m("WIZVTRUD");
    r.set(u"EMPL2000_OHOURS", static_cast<int>(std::trunc(hours.worked)));
    r.set(u"EMPL2000_IZVHOURS", static_cast<int>(std::trunc(hours.overtime)));
    r.set(u"EMPL2000_SUMDETE", m("SMAJ"));
    r.set(u"EMPL2000_BSUMMAJKI", (odoo - omajki - mi("WDNITRZL")) * m("TESTSBOL"));
    r.set(u"EMPL2000_BSUMTZPB", m("WCOSUMA32") > 0 ? company.accidentPercent : 0.0);
    const bool owed = m("WCOGARANT") > 0 && garant == 1;
    r.set(u"EMPL2000_SUMBRUTO", owed ? m("WCOGARANT") : 0.0);
    r.set(u"EMPL2000_GARVZPROC", owed ? company.guaranteedPercent : 0.0);
    r.set(u"EMPL2000_OBLDOH", m("SOBL") + m("S39") + m("S54"));
    r.set(u"EMPL2000_S54", m("S54"));
    r.set(u"EMPL2000_SUMDOBZDRLI", 0.0);
    r.set(u"EMPL2000_WNETNO", m("WNETNO"));
    r.set(u"EMPL2000_FLKOR", 0);
    if (period.year() >= 2007) {
        r.set(u"EMPL2000_DNINETRUDRAB", in.employerSickItems);
        r.set(u"EMPL2000_MESDANUK", m("SDOD"));
    }
    r.set(u"EMPL2000_FLSEND", 1);
    return r;
}

QString exportDeclaration1(storage::DataModule &data, const QString &folder, bool store, calc::Parameters *params,
                           util::Prompter &prompter)
{
    if (!QFileInfo(folder).isDir()) {
        prompter.message(QStringLiteral("Папката %1 не съществува.").arg(QDir::toNativeSeparators(folder)));
        return {};
    }
    const QString path = QDir(folder).filePath(QStringLiteral("EMPL2000.TXT"));
    const util::Period period = data.period();
    reference::Company company;
    reference::loadCompany(data, company);
    const auto rates = reference::loadRates(data);
    const auto definitions = items::loadDefinitions(data);
    reference::CalendarRecord calendar;
    QHash<int, int> workingDays;

    QList<int> ids;
    {
        fb::Statement q(data.transaction(), QStringLiteral("select PERSON_ID from %1 where PERSON_ACT=1 order by PERSON_ID")
                                                .arg(data.table(u"PERSONS")));
        while (q.next())
            ids << static_cast<int>(q.toInt(0));
    }

    QByteArray bytes;
    std::vector<Empl2000Record> records;
    prompter.progressStart(QStringLiteral("Експорт на данни за НОИ."));
    try {
        // Everyone's month first; then the period's rows are read in a few
        // statements rather than a handful per employee.
        int done = 0;
        const int steps = static_cast<int>(ids.size()) * (params ? 2 : 1);
        if (params) {
            const int people = static_cast<int>(ids.size());
            calc::Walk walk([&](const calc::Calculation &, int at, int total) {
                prompter.progressStep(people * at / total, steps);
                if (prompter.cancelled())
                    throw util::Cancelled();
            });
            const calc::Recalculation all = calc::recalculateAll(data, *params, walk);
            if (!all.failures.empty())
                throw std::runtime_error(all.errorLines().join(QLatin1Char('\n')).toStdString());
            done = static_cast<int>(ids.size());
        }
        QHash<int, std::pair<QString, QString>> towns;
        QHash<int, int> categories;
        QHash<int, QList<std::tuple<int, int, QString>>> itemsOf;
        QHash<int, Declaration1Row> persons, months;
        {
            fb::Statement q(data.transaction(), QStringLiteral("select %1 from %2 where PERSON_ACT=1")
                                                    .arg(columnList(kPersonColumns), data.table(u"PERSONS")));
            persons = rowsById(q, kPersonColumns);
        }
        {
            fb::Statement q(data.transaction(), QStringLiteral("select %1 from PERSDATA where PERSDATA_GOD=? and PERSDATA_MES=? and "
                                                               "PERSDATA_PERSONID in (select PERSON_ID from %2 where PERSON_ACT=1)")
                                                    .arg(columnList(kMonthColumns), data.table(u"PERSONS")));
            q.bindAll({period.year(), period.month()});
            months = rowsById(q, kMonthColumns);
        }
        {
            fb::Statement q(data.transaction(), QStringLiteral("select g.GRAD_COD, g.GRAD_IME, o.OBS_IME from GRAD g left join OBS o "
                                                               "on o.OBS_COD = g.GRAD_OBSCOD"));
            while (q.next())
                towns.insert(static_cast<int>(q.toInt(0)), {q.toText(1), q.toText(2)});
        }
        {
            fb::Statement q(data.transaction(), QStringLiteral("select DL_COD, DL_KSTEPEN from %1").arg(data.table(u"DL")));
            while (q.next())
                categories.insert(static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)));
        }
        {
            fb::Statement q(data.transaction(), QStringLiteral("select PERO_PERSONID, PERO_TYPE, PERO_COD, PERO_PARTIDA from %1 "
                                                               "where PERO_TYPE in (20,101) order by PERO_PERSONID, PERO_TYPE, PERO_PEROID")
                                                    .arg(data.table(u"PERA")));
            while (q.next())
                itemsOf[static_cast<int>(q.toInt(0))].append({static_cast<int>(q.toInt(1)), static_cast<int>(q.toInt(2)), q.toText(3)});
        }

        for (int id : ids) {
            Declaration1Input in;
            in.person = persons.value(id);
            in.month = months.value(id);
            in.rate = reference::findRate(rates, in.person.value("PERSON_NOS").toString().trimmed().toInt(),
                                          in.person.value("PERSON_NOSN").toInt());
            // Calendars are few: each is read once per run.
            const int calendarCode = in.person.value("PERSON_KALENDAR").toInt();
            if (!workingDays.contains(calendarCode)) {
                reference::loadCalendar(data, calendarCode, calendar);
                workingDays.insert(calendarCode, calendar.workingDays);
            }
            in.calendarWorkingDays = workingDays.value(calendarCode);
            const auto town = towns.constFind(in.person.value("PERSON_ADDRGRAD").toInt());
            if (town != towns.constEnd()) {
                in.town = town->first;
                in.region = town->second;
            }
            in.category = categories.value(in.person.value("PERSON_DLUV").toInt(), 0);
            for (const auto &[type, code, partida] : itemsOf.value(id)) {
                if (type == 20)
                    ++in.employerSickItems;
                if (type == 101 && in.dependants.size() < 6 && items::findDefinition(definitions, code).flag(3)) {
                    const QString egn = partida.left(10).trimmed();
                    if (!egn.isEmpty() && egn != QLatin1String("0000000000") && egn != QLatin1String("0000000001"))
                        in.dependants << egn;
                }
            }
            LineHours hours;
            Empl2000Record record = buildRecord(period, company, in, hours);
            bytes += encodeLine(recordToLine(record, store ? LineVariant::Stored : LineVariant::Monthly,
                                             company.windowsDeclaration, hours),
                                company.windowsDeclaration);
            if (store)
                records.push_back(std::move(record));
            prompter.progressStep(++done, steps);
        }
    } catch (const std::exception &e) {
        prompter.progressEnd();
        prompter.message(storage::errorText(e));
        return {};
    }
    prompter.progressEnd();
    if (!writeFile(path, bytes, prompter))
        return {};
    if (store) {
        for (Empl2000Record &r : records)
            storeRecord(data, r, true);
        data.commitRetaining();
    }
    return path;
}

QString exportCorrections(storage::DataModule &data, const QString &folder, const QList<int> &personIds,
                          std::optional<util::Period> month, util::Prompter &prompter)
{
    if (personIds.isEmpty())
        return {};
    QStringList marks;
    QVariantList values;
    for (int id : personIds) {
        marks << QStringLiteral("?");
        values << id;
    }
    QString sql = QStringLiteral("select * from EMPL2000 where EMPL2000_PERSONID in (%1) AND EMPL2000_FLKOR=1 AND EMPL2000_FLSEND=0")
                      .arg(marks.join(QLatin1Char(',')));
    if (month) {
        sql += QStringLiteral(" AND EMPL2000_MES=? AND EMPL2000_GOD=?");
        values << month->month() << month->year();
    }
    reference::Company company;
    reference::loadCompany(data, company);
    fb::Statement q(data.transaction(), sql);
    q.bindAll(values);
    QByteArray bytes;
    int lines = 0;
    while (q.next()) {
        bytes += encodeLine(recordToLine(Empl2000Record::fromQuery(q), LineVariant::Stored, company.windowsDeclaration),
                            company.windowsDeclaration);
        ++lines;
    }
    if (lines == 0)
        return {};
    const QString path = QDir(folder).filePath(QStringLiteral("EMPL2000.TXT"));
    return writeFile(path, bytes, prompter) ? path : QString();
}

int makeCorrection(storage::DataModule &data, int recordId)
{
    fb::Statement q(data.transaction(), QStringLiteral("select * from EMPL2000 where EMPL2000_ID=?"));
    q.bind(0, recordId);
    if (!q.next())
        return 0;
    Empl2000Record r = Empl2000Record::fromQuery(q);
    q.close();
    r.set(u"EMPL2000_FLKOR", 1);
    r.set(u"EMPL2000_FLSEND", 0);
    storeRecord(data, r, false);
    data.commitRetaining();
    return r.integer(u"EMPL2000_ID");
}

bool deleteCorrection(storage::DataModule &data, int recordId)
{
    if (data.notExistsWhere(QStringLiteral("EMPL2000"), QStringLiteral("EMPL2000_ID=? AND EMPL2000_FLKOR=1"), {recordId}))
        return false;
    data.deleteRows(QStringLiteral("EMPL2000"), QStringLiteral("EMPL2000_ID=?"), {recordId});
    data.commitRetaining();
    return true;
}

} // namespace plavex::declarations
