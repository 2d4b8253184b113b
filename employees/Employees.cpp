#include "employees/Employees.h"

#include "items/ItemRecord.h"
#include "items/Items.h"
#include "reference/Rates.h"
#include "storage/Catalogue.h"
#include "storage/ColumnValue.h"
#include "storage/DataModule.h"
#include "storage/Savepoint.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/BankAccount.h"
#include "util/NumberText.h"
#include "util/PersonalNumber.h"
#include "util/Prompter.h"

#include <algorithm>
#include <QLoggingCategory>

#include <stdexcept>

namespace plavex::employees {

Q_LOGGING_CATEGORY(lcEmployees, "plavex.employees", QtWarningMsg)

namespace {

const InsuranceType kInsuranceTypes[] = {
    {"01", "за работници или служители, осигурени за всички осигурени социални рискове при един работодател, включително и членове на кооперации, работещи по трудово правоотношение в кооперацията, без обхванатите от следващите кодове"},
    {"02", "За работещи при условия на първа категория труд"},
    {"03", "За работещи при условия на втора категория труд"},
    {"04", "За работещи по втори или допълнителен трудов договор"},
    {"05", "За държавни служители"},
    {"06", "за кадрови военнослужещи по ЗОВС на Република България, държавните служители - офицери, сержанти и граждански лица, по ЗМВР и държавните служители - офицери, сержанти и граждански лица по Закона за изпълнение на наказанията, офицерите и сержантите от Националната следствена служба"},
    {"07", "За следователи по Закона за съдебната власт"},
    {"08", "За лица с учителски трудов стаж"},
    {"09", "За членове на кооперации, получаващи възнаграждение за работа без трудово правоотношение в кооперацията "},
    {"10", "За изпълнители по договори за управление и контрол на търговски дружества"},
    {"11", "За лица, осигурени за инвалидност поради общо заболяване, за старост и за смърт, и за трудова злополука и професионална болест"},
    {"12", "За самоосигуряващи се"},
    {"13", "За земеделски производители"},
    {"14", "За работещи без трудови правоотношения"},
    {"15", "За лицата, които получават парично обезщетение за безработица"},
    {"16", "За лица, работещи при сумирано отчитане на работното време за повече от един месец"},
    {"17", "За служители на Националната разузнавателна служба и Специалната куриерска служба на Министерството на транспорта и съобщенията и служба \"Военна информация\" на Министерството на отбраната"},
    {"18", "За лица, за които за осигурителен стаж се зачита времето, през което работникът или служителят не е работил поради неправилно недопускане или отстраняване от работа или е бил без работа поради уволнение, което е признато за незаконно от компетентните органи"},
    {"19", "За лица, на които за осигурителен стаж се зачита времето по чл. 9, ал. 3, т. 3 КСО"},
    {"20", "За трудоустроени лица или бременни работнички и служителки, на които за осигурителен стаж се зачита времето, през което не работят, тъй като не е предоставена подходяща работа от работодателя"},
    {"21", "За лица, работещи по втори или допълнителен трудов договор, за които осигурителните вноски при основния работодател са внесени върху максималния осигурителен доход и осигурителният стаж се зачита на основание чл. 9, ал. 8 КСО"},
    {"22", "За самоосигуряващи се, осигурени за инвалидност поради общо заболяване, за старост и смърт, избрали да подават еднократно декларация"},
    {"23", "За самоосигуряващи се, работещи и по трудово правоотношение, за които осигурителни вноски за всички осигурени социални рискове са внесени върху максималния осигурителен доход и осигурителният стаж се зачита на основание чл. 9, ал. 8 КСО"},
    {"24", "За съдии, прокурори, съдия-изпълнители, съдии по вписвания и съдебни служители с изключение на военните съдии и прокурори"},
    {"25", "За лица, включени в Програмата от социални помощи към осигуряване на заетост"},
    {"26", "За инвалиди, работници и служители, които работят в специализирани предприятия, кооперации и цехове, съгл. Закона за интеграция на хората с увреждания"},
    {"27", "За лица, получаващи обезщетение за времето, през което са останали без работа по Кодекса на труда, Закона за държавния служител и Закона за висшето образование"},
    {"28", "За лица, които внасят само здравноосигурителни вноски (служителите на Българската православна църква, които не са в трудови правоотношения и не получават възнаграждения, за граждани, изпълняващи мирновременна алтернативна служба и др.)"},
    {"29", "За други (попълва се само по изрично указание на НОИ)"},
    {"82", "За лица, упражняващи трудова дейност и получаващи доходи на изборни длъжности, както и за служителите с духовно звание на Българската православна църква и други регистрирани вероизповедания по Закона за вероизповеданията с изключение на лицата по чл. 4, ал. 1, т. 1 и 7 КСО"},
    {"83", "За офицери и сержанти от Националната разузнавателна служба, Специалната куриерска служба на Министерство на транспорта и съобщенията и служба \"Военна информация \" на Министерството на отбраната"},
    {"84", "За изпратените за участие в международни мисии по реда на ЗМВР, избрали да се осигуряват за своя сметка за фонд \"Пенсии\""},
    {"85", "За лица, получаващи обезщетение за временна неработоспособност поради общо заболяване, бременност и раждане, трудова злополука или професионална болест след прекратяване на осигуряването"},
    {"86", "За лица, работещи в международни органи и организации със съгласието на компетентните държавни органи, които са избрали да се осигуряват за своя сметка за фонд \"Пенсии"},
    {"87", "За лица, изпратени на работа в чужбина от български посредник"},
    {"88", "За лица, получаващи обезщетение по чл. 233 от ЗОВС"},
    {"89", "За съпрузите на кадровите военнослужещи, участващи в международни операции и мисии"},};

// A name prefix for LIKE: the user's own "%" and "_" are letters, not wildcards.
QString likePrefix(const QString &text, int maxLength)
{
    QString escaped;
    for (QChar c : text.left(maxLength)) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped + QLatin1Char('%');
}

// The second way to find somebody: digits are the start of an ЕГН, other
// text the start of any word of the name but the first.
std::pair<QString, QVariant> wordOrEgn(const QString &text)
{
    const QString t = text.trimmed();
    const bool digits = std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
    if (digits)
        return {QStringLiteral("PERSON_EGN LIKE (?) ESCAPE '\\'"), likePrefix(t, 10)};
    return {QStringLiteral("UPPER (PERSON_IME COLLATE PXW_CYRL) LIKE (?) ESCAPE '\\'"),
            QStringLiteral("% ") + likePrefix(t.toUpper(), 47)};
}

EmployeeRow readRow(const fb::Statement &q)
{
    return {static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)), q.toText(2), static_cast<int>(q.toInt(3)),
            q.toInt(4) == 1, q.toText(5)};
}

QString three(const QVariant &v) { return util::fixedNumber(v.toDouble(), 0, 3); }

} // namespace

std::span<const InsuranceType> insuranceTypes() { return kInsuranceTypes; }

namespace {
const char *const kPanelColumns[] = {
    "PERSON_ZVENO",    "PERSON_ACT",      "PERSON_POL",     "PERSON_OBR",     "PERSON_SEMP",     "PERSON_SYSZ",
    "PERSON_DECA",     "PERSON_DATANAZ",  "PERSON_DATAUWOL", "PERSON_STAV1Y", "PERSON_STAV1M",   "PERSON_STAV1D",
    "PERSON_STAV2Y",   "PERSON_STAV2M",   "PERSON_STAV2D",  "PERSON_SPEC",    "PERSON_DLUV",     "PERSON_ADDR",
    "PERSON_ADDRGRAD", "PERSON_PCODE",    "PERSON_TELDOM",  "PERSON_TELSLU",  "PERSON_GSM",      "PERSON_PASNOMER",
    "PERSON_PASDATE",  "PERSON_PASGRAD",  "PERSON_BKOD",    "PERSON_BSMETKA", "PERSON_KLNOMER",  "PERSON_BOLNBIC",
    "PERSON_BOLNIBAN", "PERSON_KORDOD",   "PERSON_NOTP",    "PERSON_TRUSTR",  "PERSON_GARVZ",    "PERSON_INDEC",
    "PERSON_SEMOBL",   "PERSON_NOS",      "PERSON_NOSN",     "PERSON_ZPIBAN",  "PERSON_ZPBIC",    "PERSON_EMAIL",
};
} // namespace

std::span<const char *const> panelColumns() { return kPanelColumns; }

QString checkPanelFields(const QVariantMap &columns)
{
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        const QString name = it.key().toUpper();
        const bool editable = std::any_of(std::begin(kPanelColumns), std::end(kPanelColumns),
                                          [&](const char *c) { return name == QLatin1String(c); });
        if (!editable) {
            if (name == QLatin1String("PERSON_NOMER") || name == QLatin1String("PERSON_IME") || name == QLatin1String("PERSON_EGN"))
                return QStringLiteral("Номерът, името и ЕГН се задават с --number, --name и --egn.");
            return QStringLiteral("Полето %1 не може да бъде задавано.").arg(name);
        }
        const QVariant value = normalizedField(name, it.value());
        QString problem = storage::checkColumnValue(storage::catalogueColumn(u"PERSONS", name), value);
        if (problem.isEmpty())
            problem = checkPersonField(name, value);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

namespace {
bool isIbanColumn(const QString &column)
{
    return column == QLatin1String("PERSON_BOLNIBAN") || column == QLatin1String("PERSON_ZPIBAN");
}
bool isBicColumn(const QString &column)
{
    return column == QLatin1String("PERSON_BOLNBIC") || column == QLatin1String("PERSON_ZPBIC");
}
} // namespace

QVariant normalizedField(const QString &column, const QVariant &value)
{
    const QString name = column.toUpper();
    if (isIbanColumn(name))
        return util::compactIban(value.toString());
    if (isBicColumn(name))
        return value.toString().trimmed().toUpper();
    if (name == QLatin1String("PERSON_EMAIL"))
        return value.toString().trimmed();
    return value;
}

QString checkPersonField(const QString &column, const QVariant &value)
{
    const QString name = column.toUpper();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return {};
    if (isIbanColumn(name) && !util::isValidIban(text))
        return QStringLiteral("IBAN \"%1\" не е валиден: проверете го (контролните цифри не съвпадат).").arg(text);
    if (isBicColumn(name) && !util::isValidBic(text))
        return QStringLiteral("BIC \"%1\" не е валиден: 8 или 11 латински букви и цифри.").arg(text);
    if (name == QLatin1String("PERSON_EMAIL") && !util::isValidEmail(text))
        return QStringLiteral("E-mail адресът \"%1\" не е валиден.").arg(text);
    return {};
}

QString checkNewEmployee(const NewEmployee &e)
{
    if (e.number.trimmed().isEmpty() || e.name.trimmed().isEmpty() || e.egn.trimmed().isEmpty())
        return QStringLiteral("Моля попълнете и трите полета или натиснете бутона \"ОТКАЗ\".");
    bool ok = false;
    const int n = e.number.trimmed().toInt(&ok);
    if (!ok || n <= 0)
        return QStringLiteral("Това поле може да съдържа само цифри!");
    return {};
}

QString checkNewNumber(storage::DataModule &data, const QString &number)
{
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    if (!ok || data.notExists(data.table(u"PERSONS"), QStringLiteral("PERSON_NOMER"), n))
        return {};
    return QStringLiteral("В базата данни вече съществува служител с този номер.\n"
                          "Моля въведете друг номер или натиснете бутона \"ОТКАЗ\".");
}

QString checkNewEgn(const QString &egn)
{
    if (egn.trimmed().isEmpty() || util::isValidEgn(egn.trimmed()))
        return {};
    return QStringLiteral("Моля въведете валидно ЕГН или натиснете бутона \"ОТКАЗ\".");
}

QString checkPanelEgn(const QString &egn)
{
    const QString t = egn.trimmed();
    if (t.isEmpty() || util::isValidEgn(t) || util::isValidLnch(t))
        return {};
    return QStringLiteral("Невалидно ЕГН или ЛНЧ. Моля въведете коректна стойност или натиснете бутона \"ОТКАЗ\".");
}

int sexFromEgn(const QString &egn)
{
    const QString t = egn.trimmed();
    if (t.size() < 9 || !t[8].isDigit())
        return 1;
    return (t[8].unicode() - u'0') % 2 == 0 ? 1 : 2;
}

std::vector<EmployeeRow> listEmployees(storage::DataModule &data, bool activeOnly)
{
    fb::Statement q(data.transaction(), QStringLiteral("select PERSON_ID, PERSON_NOMER, PERSON_IME, PERSON_ZVENO, PERSON_ACT, PERSON_EGN from %1%2 "
                                                       "order by PERSON_ID")
                                            .arg(data.table(u"PERSONS"), activeOnly ? QStringLiteral(" where PERSON_ACT=1") : QString()));
    std::vector<EmployeeRow> rows;
    while (q.next())
        rows.push_back(readRow(q));
    return rows;
}

std::optional<QVariantMap> employeeRow(storage::DataModule &data, int id)
{
    fb::Statement q(data.transaction(), QStringLiteral("select * from %1 where PERSON_ID=?").arg(data.table(u"PERSONS")));
    q.bind(0, id);
    if (!q.next())
        return std::nullopt;
    return q.row();
}

std::optional<int> idByNumber(storage::DataModule &data, int number)
{
    const QVariant id = fb::Statement::scalar(
        data.transaction(), QStringLiteral("select PERSON_ID from %1 where PERSON_NOMER=?").arg(data.table(u"PERSONS")), {number});
    if (!id.isValid())
        return std::nullopt;
    return id.toInt();
}

namespace {
// Writes columns of the employee row (names checked against the catalogue).
void writeColumns(storage::DataModule &data, int id, const QVariantMap &columns)
{
    if (columns.isEmpty())
        return;
    const storage::TableDef &def = storage::catalogue::table(u"PERSONS");
    QStringList sets;
    QVariantList values;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        if (def.columnIndex(it.key()) < 0)
            throw std::invalid_argument("no employee column " + it.key().toStdString());
        sets << it.key() + QStringLiteral("=?");
        values << it.value();
    }
    values << id;
    fb::Statement::run(data.transaction(),
                       QStringLiteral("UPDATE %1 SET %2 WHERE PERSON_ID=?").arg(data.table(u"PERSONS"), sets.join(QLatin1Char(','))),
                       values);
}
} // namespace

int EmployeePanel::create(const NewEmployee &entry, util::Prompter &prompter, const QVariantMap &fields)
{
    // Checks and keys under the month's lock: a second copy adding the same
    // number at the same moment waits, then sees this one.
    data_.lockPeriod();
    auto fits = [](const char *column, const QVariant &value) {
        return storage::checkColumnValue(storage::catalogueColumn(u"PERSONS", QString::fromLatin1(column)), value);
    };
    for (const QString &problem : {checkNewEmployee(entry), checkNewNumber(data_, entry.number), checkNewEgn(entry.egn),
                                   fits("PERSON_NOMER", entry.number.trimmed().toLongLong()),
                                   fits("PERSON_IME", entry.name.trimmed()), checkPanelFields(fields)}) {
        if (!problem.isEmpty()) {
            data_.commitRetaining(); // nothing written: lets the lock go
            prompter.message(problem);
            return 0;
        }
    }
    const QString persons = data_.table(u"PERSONS");
    const QString pera = data_.table(u"PERA");
    const int number = entry.number.trimmed().toInt();
    storage::Savepoint unit(data_.transaction());
    // An id that an earlier month's employee had would give the newcomer that
    // person's monthly history: stay above every id the history knows. The
    // ids of all months share one lock.
    const int inMonth = data_.nextKey(persons, QStringLiteral("PERSON_ID"));
    data_.locks().take(QStringLiteral("PERSON_ID"));
    const int id = std::max(inMonth, data_.getMaxValue(QStringLiteral("PERSDATA"), QStringLiteral("PERSDATA_PERSONID")) + 1);
    data_.insertRow(persons,
                    QStringLiteral("(PERSON_ID,PERSON_NOMER,PERSON_ZVENO,PERSON_EGN,PERSON_IME,PERSON_ACT,PERSON_INDEC,"
                                   "PERSON_GARVZ,PERSON_TRUSTR,PERSON_PENSIA, PERSON_KALENDAR,PERSON_OBR,PERSON_SYSZ,"
                                   "PERSON_NOS,PERSON_NOSN,PERSON_POL)"),
                    {id, number, number / unitDivisor_, entry.egn.trimmed(), entry.name.trimmed(), 1, 0, 1, 0, 0, 1, 1, 1,
                     QStringLiteral("01"), 1, sexFromEgn(entry.egn)});
    static const std::pair<int, int> standard[] = {{2010, 201}, {2000, 200}, {1000, 100}, {101, 140}};
    for (const auto &[code, type] : standard) {
        const int itemId = data_.nextKey(pera, QStringLiteral("PERO_PEROID"));
        data_.insertRow(pera, QStringLiteral(" (PERO_PERSONID,PERO_PEROID,PERO_COD,PERO_TYPE) "), {id, itemId, code, type});
    }
    writeColumns(data_, id, fields);
    // Then what he pays of the rates the panel shows: without these items
    // his first pay would be taxed on the whole gross.
    items::addContributionItems(data_, id);
    unit.release();
    data_.commitRetaining();
    pendingId_ = id;
    return id;
}

QString EmployeePanel::save(int id)
{
    const auto row = employeeRow(data_, id);
    if (!row || row->value(QStringLiteral("PERSON_NOMER")).toString().trimmed().isEmpty()
        || row->value(QStringLiteral("PERSON_IME")).toString().trimmed().isEmpty()
        || row->value(QStringLiteral("PERSON_EGN")).toString().trimmed().isEmpty())
        return QStringLiteral("Трите полета \"НОМЕР\",\"ИМЕ\",\"ЕГН\" са задължителни. Моля попълнете информация в тях.");
    data_.commitRetaining();
    if (pendingId_ == id)
        pendingId_ = 0;
    return {};
}

void EmployeePanel::cancel()
{
    if (!pendingId_)
        return;
    data_.lockPeriod();
    data_.deleteRows(data_.table(u"PERA"), QStringLiteral("PERO_PERSONID=?"), {pendingId_});
    data_.deleteRows(data_.table(u"PERSONS"), QStringLiteral("PERSON_ID=?"), {pendingId_});
    data_.commitRetaining();
    pendingId_ = 0;
}

bool EmployeePanel::remove(int id, util::Prompter &prompter)
{
    const auto row = employeeRow(data_, id);
    if (!row || pending() || row->value(QStringLiteral("PERSON_ACT")).toInt() == 1)
        return false;
    if (!prompter.confirm(QStringLiteral("Сигурни ли сте, че искате да изтриете данните за служител с номер %1?")
                              .arg(row->value(QStringLiteral("PERSON_NOMER")).toString())))
        return false;
    data_.lockPeriod();
    data_.deleteRows(data_.table(u"PERSONS"), QStringLiteral("PERSON_ID=?"), {id});
    data_.deleteRows(data_.table(u"PERA"), QStringLiteral("PERO_PERSONID=?"), {id});
    data_.commitRetaining();
    return true;
}

void EmployeePanel::post(int id, const QVariantMap &columns)
{
    if (columns.isEmpty())
        return;
    data_.lockPeriod();
    writeColumns(data_, id, columns);
    data_.commitRetaining();
}

SearchResult quickSearchByNumber(storage::DataModule &data, const QString &number)
{
    if (number.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("Моля въведете данни в полето за номер на служител.")};
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    if (!ok)
        return {};
    return {idByNumber(data, n), {}};
}

SearchResult quickSearchByName(storage::DataModule &data, const QString &name)
{
    if (name.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("Моля въведете данни в полето за име на служител.")};
    const QVariant id = fb::Statement::scalar(
        data.transaction(),
        QStringLiteral("SELECT PERSON_ID,PERSON_NOMER, PERSON_IME from %1 where UPPER (PERSON_IME COLLATE PXW_CYRL) "
                       "LIKE (?) ESCAPE '\\' ORDER BY PERSON_IME")
            .arg(data.table(u"PERSONS")),
        {likePrefix(name.toUpper(), 49)});
    if (id.isValid())
        return {id.toInt(), {}};
    // Nobody's name starts so: a word inside the name (the surname) or the start of an ЕГН.
    const auto [condition, value] = wordOrEgn(name);
    const QVariant other = fb::Statement::scalar(
        data.transaction(),
        QStringLiteral("SELECT PERSON_ID from %1 where %2 ORDER BY PERSON_IME").arg(data.table(u"PERSONS"), condition),
        {value});
    if (other.isValid())
        return {other.toInt(), {}};
    return {std::nullopt, QStringLiteral("Няма намерени служители за \"%1\".").arg(name.trimmed())};
}

std::vector<EmployeeRow> searchEmployees(storage::DataModule &data, const QString &number, const QString &name)
{
    std::vector<EmployeeRow> rows = searchEmployees(data, number, name, false);
    if (rows.empty() && !name.trimmed().isEmpty())
        rows = searchEmployees(data, number, name, true);
    return rows;
}

std::vector<EmployeeRow> searchEmployees(storage::DataModule &data, const QString &number, const QString &name,
                                         bool byWordOrEgn)
{
    QStringList conditions;
    QVariantList values;
    if (!number.trimmed().isEmpty()) {
        conditions << QStringLiteral("PERSON_NOMER LIKE (?) ESCAPE '\\'");
        values << likePrefix(number.trimmed(), 11);
    }
    if (!name.trimmed().isEmpty() && byWordOrEgn) {
        const auto [condition, value] = wordOrEgn(name);
        conditions << condition;
        values << value;
    } else if (!name.trimmed().isEmpty()) {
        conditions << QStringLiteral("UPPER (PERSON_IME COLLATE PXW_CYRL) LIKE (?) ESCAPE '\\'");
        values << likePrefix(name.trimmed().toUpper(), 49);
    }
    std::vector<EmployeeRow> rows;
    if (conditions.isEmpty())
        return rows;
    fb::Statement q(data.transaction(),
                    QStringLiteral("SELECT PERSON_ID,PERSON_NOMER, PERSON_IME, PERSON_ZVENO, PERSON_ACT, PERSON_EGN from %1 where %2 order by %3")
                        .arg(data.table(u"PERSONS"), conditions.join(QStringLiteral(" and ")),
                             number.trimmed().isEmpty() ? QStringLiteral("PERSON_IME") : QStringLiteral("PERSON_NOMER")));
    q.bindAll(values);
    while (q.next())
        rows.push_back(readRow(q));
    return rows;
}

EditRules editRules(bool pendingNew, bool active)
{
    EditRules r;
    r.editable = pendingNew || active;
    r.deleteEnabled = !r.editable;
    return r;
}

std::pair<QString, QString> contributionLabels(const QVariantMap &rate, const QString &egn)
{
    if (egn.trimmed().isEmpty())
        return {};
    auto v = [&](const char *column) { return three(rate.value(QString::fromLatin1(column))); };
    auto pension = [&](const char *column) { return util::fixedNumber(rate.value(QString::fromLatin1(column)).toDouble(), 6, 3); };
    if (reference::bornAfter1959(egn)) {
        return {QStringLiteral("Процент ДОО ") + v("NOI_PROC60") + QStringLiteral("= ") + v("NOI_PROC_PENSIA60")
                    + QStringLiteral("%(пенсия) + ") + v("NOI_PROC_PKB60") + QStringLiteral("%(ПКБ) + ") + v("NOI_PROC_ZAB60")
                    + QStringLiteral("%(заболяване),  ") + v("NOI_PROC_DZPO60") + QStringLiteral("%(ДЗПО)"),
                v("NOI_PROC_LI60") + QStringLiteral("= ") + pension("NOI_PENSI_LI60") + QStringLiteral("%(пенсия) + ")
                    + v("NOI_PKB_LI60") + QStringLiteral("%(ПКБ) + ") + v("NOI_ZAB_LI60") + QStringLiteral("%(заболяване),  ")
                    + v("NOI_DZPO_LI60") + QStringLiteral("%(ДЗПО)")};
    }
    return {QStringLiteral("Процент ДОО = ") + v("NOI_PROC") + QStringLiteral("= ") + v("NOI_PROC_PENSIA")
                + QStringLiteral("%(пенсия) + ") + v("NOI_PROC_PKB") + QStringLiteral("%(ПКБ) + ") + v("NOI_PROC_ZAB")
                + QStringLiteral("%(заболяване)"),
            v("NOI_PROC_LI") + QStringLiteral("= ") + pension("NOI_PENSI_LI") + QStringLiteral("%(пенсия) + ") + v("NOI_PKB_LI")
                + QStringLiteral("%(ПКБ) + ") + v("NOI_ZAB_LI") + QStringLiteral("%(заболяване)")};
}

void refreshSelection(storage::DataModule &data, int id, const Recalculate &recalculate)
{
    if (!data.autocalc() || !recalculate)
        return;
    try {
        recalculate(data, id);
    } catch (const std::exception &e) {
        qCWarning(lcEmployees) << "recalculation on selection" << id << e.what();
    }
}

} // namespace plavex::employees
