#include "operations/DemoCompany.h"

#include "calc/CalcPerson.h"
#include "items/Definitions.h"
#include "operations/MonthClosing.h"
#include "reference/Calendar.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Statement.h"
#include "util/BankAccount.h"
#include "util/Prompter.h"
#include "util/Transliteration.h"

#include <QDate>

#include <cmath>
#include <random>

namespace plavex::operations {

namespace {

const char *const kMaleNames[] = {"Иван", "Георги", "Димитър", "Петър", "Николай", "Стефан", "Христо", "Тодор", "Александър", "Васил"};
const char *const kFemaleNames[] = {"Мария", "Елена", "Иванка", "Йорданка", "Петя", "Десислава", "Гергана", "Надежда", "Светла", "Красимира"};
const char *const kFamilies[] = {"Иванов", "Георгиев", "Димитров", "Петров", "Николов", "Стоянов", "Христов", "Тодоров", "Василев", "Атанасов"};
const char *const kUnits[] = {"Администрация", "Производство", "Търговия", "Склад", "Транспорт", "Поддръжка", "Качество", "Снабдяване"};
const char *const kPositions[] = {"Управител", "Счетоводител", "Технолог", "Оператор", "Шофьор", "Складов работник", "Търговски представител", "Монтьор"};

struct DemoDefinition {
    int code;
    int type;
    const char *name;
    const char *flags;
};
const DemoDefinition kChart[] = {
    {1, 1, "Основна заплата", "1111000000"},
    {3, 3, "Клас за прослужено време", "1111000000"},
    {6, 6, "Премия", "0010000000"},
    {11, 11, "Платен годишен отпуск", "0000000000"},
    {14, 14, "Неплатен отпуск без стаж", "0000000000"},
    {20, 20, "Болничен от работодателя", "0000000000"},
    {27, 27, "Болничен (изплаща НОИ)", "0000000000"},
    {101, 140, "ДДФЛ", "1000000000"},
    {102, 139, "ДОО - лична вноска", "1000000000"},
    {103, 139, "ДЗПО - лична вноска", "1000100000"},
    {104, 139, "ЗО - лична вноска", "1010000000"},
    {105, 139, "ПКБ - лична вноска", "1001000000"},
    {142, 142, "Аванс", "0000000000"},
    {146, 145, "Годишно преизчисляване на ДДФЛ", "0000000000"},
};

// The employee's shares of the contributions, from the rates table of the
// month by birth group: ДОО (pension and illness), ДЗПО (only those born
// after 1959), ЗО, ПКБ; the codes of the chart above.
struct ContributionShares {
    std::vector<std::pair<int, double>> before1960;
    std::vector<std::pair<int, double>> after1959;
};

ContributionShares contributionShares(storage::DataModule &data)
{
    ContributionShares s;
    const std::vector<reference::NoiType> rates = reference::loadRates(data);
    const reference::NoiType *rate = reference::findRate(rates, 1, 1);
    auto p = [rate](const char *column) { return rate ? rate->percent(QString::fromLatin1(column)) : 0.0; };
    s.before1960 = {{102, p("NOI_PENSI_LI") + p("NOI_ZAB_LI")}, {104, p("NOI_ZDL")}, {105, p("NOI_PKB_LI")}};
    s.after1959 = {{102, p("NOI_PENSI_LI60") + p("NOI_ZAB_LI60")},
                   {103, p("NOI_DZPO_LI60")},
                   {104, p("NOI_ZDL")},
                   {105, p("NOI_PKB_LI60")}};
    return s;
}

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

    // A valid ЕГН for a birth date and sex.
    QString egn(const QDate &born, bool female)
    {
        int month = born.month();
        if (born.year() >= 2000)
            month += 40;
        QString text = QStringLiteral("%1%2%3").arg(born.year() % 100, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0'))
                           .arg(born.day(), 2, 10, QLatin1Char('0'));
        const int region = between(0, 49) * 2 + (female ? 1 : 0);
        text += QStringLiteral("%1").arg(region, 3, 10, QLatin1Char('0'));
        static const int weights[] = {2, 4, 8, 5, 10, 9, 7, 3, 6};
        int sum = 0;
        for (int i = 0; i < 9; ++i)
            sum += (text[i].unicode() - u'0') * weights[i];
        return text + QString::number(sum % 11 == 10 ? 0 : sum % 11);
    }

    std::mt19937 random_;
};

// No employee in any month and no month's record: a database just made.
bool isEmptyCompany(storage::DataModule &data)
{
    QStringList tables;
    {
        fb::Statement q(data.transaction(), QStringLiteral("select RDB$RELATION_NAME from RDB$RELATIONS where RDB$SYSTEM_FLAG=0 "
                                                           "and (RDB$RELATION_NAME starting with 'PERSONS' or "
                                                           "RDB$RELATION_NAME='PERSDATA')"));
        while (q.next())
            tables << q.toText(0).trimmed();
    }
    for (const QString &t : tables)
        if (fb::Statement::scalar(data.transaction(), QStringLiteral("select first 1 1 from %1").arg(t)).isValid())
            return false;
    return true;
}

} // namespace

namespace {

// Banks the demo's salary accounts are at: code, a branch, BIC.
struct DemoBank {
    const char *code;
    const char *branch;
    const char *bic;
};
const DemoBank kDemoBanks[] = {{"UNCR", "7000", "UNCRBGSF"}, {"STSA", "9300", "STSABGSF"}, {"FINV", "9150", "FINVBGSF"}};

} // namespace

std::optional<DemoReport> buildDemoCompany(storage::DataModule &data, const DemoOptions &options, util::Prompter &prompter,
                                           calc::Parameters &params)
{
    if (options.employees < 1 || options.months < 0) {
        prompter.message(QStringLiteral("Броят служители трябва да е поне 1, а броят месеци не може да е отрицателен."));
        return std::nullopt;
    }
    // Looked at before anything changes: a sample company never mixes with a real one.
    if (!isEmptyCompany(data)) {
        prompter.message(QStringLiteral("Примерната фирма се създава само в нова, празна база данни."));
        return std::nullopt;
    }
    if (data.period() != options.start)
        data.changePeriod(options.start.year(), options.start.month());
    Generator g(options.seed);
    DemoReport report;
    fb::Transaction &tx = data.transaction();

    data.setAutocalc(true);
    // The statutory figures of the month came with the new company row.
    reference::postCompany(data, {{QStringLiteral("FIRMA_IME"), QStringLiteral("Демо Пейрол ООД")},
                                  {QStringLiteral("FIRMA_DIRECTOR"), QStringLiteral("Иван Петров")},
                                  {QStringLiteral("FIRMA_SCHET"), QStringLiteral("Мария Николова")},
                                  {QStringLiteral("FIRMA_BULSTAT"), QStringLiteral("201234563")},
                                  {QStringLiteral("FIRMA_DANNOMER"), QStringLiteral("2012345630")},
                                  {QStringLiteral("FIRMA_KID1"), QStringLiteral("6920")},
                                  {QStringLiteral("FIRMA_DOOPROCF3"), 0.4},
                                  {QStringLiteral("FIRMA_ADDRUL"), QStringLiteral("ул. Граф Игнатиев 15")},
                                  {QStringLiteral("FIRMA_TEL"), QStringLiteral("02 981 2345")},
                                  {QStringLiteral("FIRMA_EMAIL"), QStringLiteral("office@demo-payroll.bg")},
                                  {QStringLiteral("FIRMA_IBAN"), util::ibanWithCheckDigits(QStringLiteral("BG"), QStringLiteral("UNCR70001520000001"))},
                                  {QStringLiteral("FIRMA_BIC"), QStringLiteral("UNCRBGSF")}});
    reference::Company company;
    reference::loadCompany(data, company);
    // Premiums and advances grow with the minimum wage of the year (2008's as the unit).
    const double payScale = company.minSalary > 0 ? company.minSalary / 220.0 : 1.0;
    auto money = [payScale](int tens) { return std::round(tens * payScale) * 10.0; };
    const ContributionShares shares = contributionShares(data);
    reference::ensureDefaultCalendars(data);
    for (const DemoDefinition &d : kChart)
        if (items::definitionType(data, d.code) == 0)
            items::addDefinition(data, items::makeDefinition(d.code, d.type, QString::fromUtf8(d.name), QLatin1String(d.flags)));
    std::vector<int> positions;
    for (const char *name : kPositions)
        positions.push_back(reference::addPosition(data, QString::fromUtf8(name), g.between(1, 9), QString(), 0));

    // Numbers carry the unit in their leading digits, as the program reads them.
    const int divisor = data.settings().unitDivisor();
    const int perUnit = divisor > 1 ? std::min(90, divisor - 1) : options.employees;
    int unitCode = 0;
    int inUnit = perUnit;
    int sequence = 0;
    // The keys below are counted on from the largest, under the locks a
    // second copy of the program would wait for; again after every commit.
    int personId = 0;
    int itemId = 0;
    auto reserveKeys = [&] {
        data.lockPeriod();
        data.locks().take(QStringLiteral("PERSON_ID"));
        personId = std::max(data.getMaxValue(data.table(u"PERSONS"), QStringLiteral("PERSON_ID")),
                            data.getMaxValue(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID")));
        itemId = data.getMaxValue(data.table(u"PERA"), QStringLiteral("PERO_PEROID"));
    };
    reserveKeys();

    auto addItem = [&](int person, int code, int type, const QVariant &amount1, const QVariant &amount2 = {}, const QVariant &d = {},
                       const QVariant &begin = {}, const QVariant &end = {}) {
        fb::Statement::run(tx, QStringLiteral("insert into %1 (PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1,PERO_SUMA2,PERO_D,"
                                              "PERO_BEGINDATE,PERO_ENDDATE) values (?,?,?,?,?,?,?,?,?)")
                                   .arg(data.table(u"PERA")),
                           {++itemId, person, code, type, amount1, amount2, d, begin, end});
    };
    auto hire = [&](const QDate &hired) {
        if (inUnit >= perUnit) {
            const QString name = QString::fromUtf8(kUnits[unitCode % std::size(kUnits)]);
            unitCode = reference::addUnit(data, unitCode < static_cast<int>(std::size(kUnits)) ? name : name + QStringLiteral(" %1").arg(unitCode + 1), 0);
            inUnit = 0;
        }
        ++inUnit;
        const int number = divisor > 1 ? unitCode * divisor + inUnit : ++sequence;
        const bool female = g.chance(0.5);
        const QDate born(g.between(1950, 1988), g.between(1, 12), g.between(1, 28));
        QString name = QString::fromUtf8(female ? kFemaleNames[g.between(0, 9)] : kMaleNames[g.between(0, 9)]) + QLatin1Char(' ')
                       + QString::fromUtf8(kFamilies[g.between(0, 9)]);
        if (female)
            name += QStringLiteral("а");
        const int years = std::max(0, hired.year() - born.year() - 20 - g.between(0, 5));
        const int id = ++personId;
        const QString egn = g.egn(born, female);
        // Most have a salary account and a mail address; every twelfth has
        // neither and one more in twelve no address, so that the bank file
        // and the mailing show whom they leave out. Made from the id, not
        // drawn, so the company's figures stay what they were.
        const DemoBank &bank = kDemoBanks[static_cast<size_t>(id) % std::size(kDemoBanks)];
        const bool account = id % 12 != 5;
        const bool mail = account && id % 12 != 9;
        const QVariant iban = account ? QVariant(util::ibanWithCheckDigits(
                                            QStringLiteral("BG"), QStringLiteral("%1%2%3").arg(QLatin1String(bank.code), QLatin1String(bank.branch))
                                                                      .arg(id, 10, 10, QLatin1Char('0'))))
                                      : QVariant();
        const QVariant bic = account ? QVariant(QLatin1String(bank.bic)) : QVariant();
        const QVariant address =
            mail ? QVariant(util::transliterate(name).toLower().replace(QLatin1Char(' '), QLatin1Char('.'))
                            + QStringLiteral(".%1@example.com").arg(number))
                 : QVariant();
        fb::Statement::run(tx, QStringLiteral("insert into %1 (PERSON_ID,PERSON_NOMER,PERSON_ZVENO,PERSON_EGN,PERSON_IME,PERSON_ACT,"
                                              "PERSON_KALENDAR,PERSON_SYSZ,PERSON_NOS,PERSON_NOSN,PERSON_POL,PERSON_DLUV,PERSON_DATANAZ,"
                                              "PERSON_STAV1Y,PERSON_STAV1M,PERSON_STAV1D,PERSON_STAV2Y,PERSON_STAV2M,PERSON_STAV2D,"
                                              "PERSON_OTP,PERSON_NOTP,PERSON_INDEC,PERSON_GARVZ,PERSON_TRUSTR,PERSON_PENSIA,PERSON_OBR,"
                                              "PERSON_ZPIBAN,PERSON_ZPBIC,PERSON_EMAIL) "
                                              "values (?,?,?,?,?,1,1,1,'01',1,?,?,?,?,?,?,?,?,?,0,0,0,1,0,0,1,?,?,?)")
                                   .arg(data.table(u"PERSONS")),
                           {id, number, unitCode, egn, name, female ? 2 : 1,
                            positions[static_cast<size_t>(g.between(0, static_cast<int>(positions.size()) - 1))], hired, years,
                            g.between(0, 11), g.between(0, 29), years / 2, g.between(0, 11), g.between(0, 29), iban, bic,
                            address});
        addItem(id, 2010, 201, {});
        addItem(id, 2000, 200, {});
        addItem(id, 1000, 100, {});
        addItem(id, 101, 140, {});
        // From the minimum wage to three and a half times it, in whole tens.
        addItem(id, 1, 1, std::ceil(company.minSalary * (100 + g.between(0, 250)) / 1000.0) * 10.0, 0.0, 0);
        addItem(id, 3, 3, 0.6 * years, {}, years);
        for (const auto &[code, percent] : reference::bornAfter1959(egn) ? shares.after1959 : shares.before1960)
            addItem(id, code, 139, percent);
        // The advance is paid before the month's end, to those already employed
        // on its first day: a newcomer would owe it back from a short month.
        if (g.chance(0.3) && hired < data.period().firstDay())
            addItem(id, 142, 142, money(20), money(20));
        return id;
    };

    prompter.progressStart(QStringLiteral("Демонстрационна фирма"));
    const QDate start = data.period().firstDay();
    for (int i = 0; i < options.employees; ++i)
        hire(start.addYears(-g.between(0, 10)).addDays(-g.between(1, 300)));
    data.commitRetaining();

    for (int m = 0; m < options.months; ++m) {
        reserveKeys();
        const QDate first = data.period().firstDay();
        const int days = first.daysInMonth();
        std::vector<int> active;
        {
            fb::Statement q(tx, QStringLiteral("select PERSON_ID from %1 where PERSON_ACT=1 order by PERSON_ID").arg(data.table(u"PERSONS")));
            while (q.next())
                active.push_back(static_cast<int>(q.toInt(0)));
        }
        for (const int id : active) {
            if (g.chance(0.10)) { // paid leave
                const int from = g.between(1, days - 10);
                const int length = g.between(1, 10);
                addItem(id, 11, 11, {}, {}, length, first.addDays(from - 1), first.addDays(from + length - 2));
            } else if (g.chance(0.05)) { // sickness: the employer's days, then the institute's
                const int from = g.between(1, days - 12);
                addItem(id, 20, 20, {}, {}, 2, first.addDays(from - 1), first.addDays(from));
                const int length = g.between(1, 10);
                addItem(id, 27, 27, {}, {}, length, first.addDays(from + 1), first.addDays(from + length));
            } else if (g.chance(0.01)) { // unpaid leave
                const int from = g.between(1, days - 5);
                addItem(id, 14, 14, {}, {}, 3, first.addDays(from - 1), first.addDays(from + 1));
            }
            if (g.chance(0.15))
                addItem(id, 6, 6, money(g.between(5, 30)));
        }
        // Leavers go this month; newcomers start in it.
        for (const int id : active) {
            if (g.chance(0.01)) {
                fb::Statement::run(tx, QStringLiteral("update %1 set PERSON_DATAUWOL=? where PERSON_ID=?").arg(data.table(u"PERSONS")),
                                   {first.addDays(g.between(0, days - 1)), id});
                ++report.dismissed;
            }
        }
        const int newcomers = std::max(1, options.employees / 70);
        for (int i = 0; i < newcomers; ++i)
            hire(first.addDays(g.between(0, days - 1)));
        report.hired += newcomers;
        data.commitRetaining();

        if (closeMonth(data, prompter, &params) != ClosingResult::Closed) {
            prompter.progressEnd();
            return std::nullopt;
        }
        ++report.monthsClosed;
        prompter.progressStep(m + 1, options.months);
    }
    calc::recalculateAll(data, params);
    report.employees = data.countRows(data.table(u"PERSONS"), QStringLiteral("PERSON_ID"));
    prompter.progressEnd();
    return report;
}

} // namespace plavex::operations
