#include "items/Items.h"

#include "items/Definitions.h"
#include "reference/Rates.h"
#include "storage/Catalogue.h"
#include "storage/ColumnValue.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/MonthNames.h"
#include "util/NumberText.h"
#include "util/Period.h"
#include "util/Prompter.h"
#include "util/Rounding.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace plavex::items {

namespace {

bool inList(int type, std::initializer_list<int> list)
{
    return std::find(list.begin(), list.end(), type) != list.end();
}

bool between(int type, int from, int to) { return type >= from && type <= to; }

QVariant dateValue(const QDate &d) { return ItemRecord::isNoDate(d) ? QVariant() : QVariant(d); }

std::vector<ItemRecord> query(storage::DataModule &data, int personId, const QString &extra)
{
    fb::Statement q(data.transaction(), QStringLiteral("SELECT %1 from %2 WHERE PERO_PERSONID=?%3 order by PERO_TYPE,PERO_COD")
                                            .arg(itemColumns(), data.table(u"PERA"), extra));
    q.bind(0, personId);
    std::vector<ItemRecord> items;
    while (q.next())
        items.push_back(readItem(q));
    return items;
}

using Kind = PageField::Kind;

} // namespace

QString itemColumns()
{
    return QStringLiteral("PERO_PEROID,PERO_PERSONID,PERO_MES,PERO_GOD,PERO_COD,PERO_SUMA1,PERO_SUMA2,PERO_D,"
                          "PERO_BEGINDATE,PERO_ENDDATE,PERO_PARTIDA,PERO_SUMA,PERO_SUMAKOR,PERO_SUMAFINAL,PERO_TYPE,"
                          "PERO_BOLNN,PERO_FLFIRST,PERO_BOLNDOPDOC");
}

ItemRecord readItem(const fb::Statement &q)
{
    ItemRecord r;
    r.id = static_cast<int>(q.toInt(0));
    r.person = static_cast<int>(q.toInt(1));
    r.month = static_cast<int>(q.toInt(2));
    r.year = static_cast<int>(q.toInt(3));
    r.code = static_cast<int>(q.toInt(4));
    r.amount1 = q.toDouble(5);
    r.amount2 = q.toDouble(6);
    r.d = static_cast<int>(q.toInt(7));
    r.begin = q.isNull(8) ? ItemRecord::sentinelDate() : q.toDate(8);
    r.end = q.isNull(9) ? ItemRecord::sentinelDate() : q.toDate(9);
    r.partida = q.toText(10);
    r.amount = q.toDouble(11);
    r.correction = q.toDouble(12);
    r.final = q.toDouble(13);
    r.type = static_cast<int>(q.toInt(14));
    r.certificate = q.toText(15);
    r.firstCertificate = q.toInt(16) == 1;
    r.documents = q.toText(17);
    r.beginPacked = r.hasBegin() ? util::CompactDate::fromDate(r.begin) : util::CompactDate{};
    r.endPacked = r.hasEnd() ? util::CompactDate::fromDate(r.end) : util::CompactDate{};
    r.dRead = r.d;
    r.amountRead = r.amount;
    r.correctionRead = r.correction;
    r.finalRead = r.final;
    r.amount2Read = r.amount2;
    return r;
}

std::vector<ItemRecord> employeeItems(storage::DataModule &data, int personId) { return query(data, personId, {}); }

namespace {
// The types a payslip prints also with a zero amount: absences, type 29 and the totals.
constexpr int kPayslipZeroTypes[] = {14, 15, 21, 22, 23, 24, 25, 26, 27, 28, 29, 100, 200, 201};
} // namespace

std::vector<ItemRecord> payslipItems(storage::DataModule &data, int personId)
{
    QStringList types;
    for (int t : kPayslipZeroTypes)
        types << QString::number(t);
    return query(data, personId, QStringLiteral(" and ((PERO_SUMA<>0) or (PERO_TYPE in (%1))) ").arg(types.join(u',')));
}

bool printsOnPayslip(const ItemRecord &item)
{
    return util::roundHalfEven(item.amount, 2) != 0
           || std::find(std::begin(kPayslipZeroTypes), std::end(kPayslipZeroTypes), item.type) != std::end(kPayslipZeroTypes);
}

std::optional<ItemRecord> itemById(storage::DataModule &data, int itemId)
{
    fb::Statement q(data.transaction(), QStringLiteral("SELECT %1 from %2 WHERE PERO_PEROID=?").arg(itemColumns(), data.table(u"PERA")));
    q.bind(0, itemId);
    if (!q.next())
        return std::nullopt;
    return readItem(q);
}

bool isEditableType(int type)
{
    return between(type, 1, 35) || type == 37 || type == 139 || between(type, 141, 147) || between(type, 150, 153)
           || type == 155 || type == 198;
}

bool isDeletableType(int type) { return type != 100 && type != 200 && type != 201; }

bool dialogShowsPage(int type) { return type != 1 && type != 140 && isEditableType(type); }

QString checkItemCode(storage::DataModule &data, const QString &code, int *type)
{
    if (code.trimmed().isEmpty())
        return QStringLiteral("Това поле е задължително!\nМоля въведете код на перо или натиснете бутона \"ОТКАЗ\"");
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (!ok || data.notExists(data.table(u"PERADEFS"), QStringLiteral("PERODEFS_COD"), n))
        return QStringLiteral("Кодът на перо, който сте въвели не съществува в базата данни.\n"
                              "Моля въведете друг код на перо или натиснете бутона \"ОТКАЗ\"");
    if (type)
        *type = definitionType(data, n);
    return {};
}

std::vector<PageField> pageLayout(int type, int paySystem, const util::Period &period, PageMode mode)
{
    const QString amount = QStringLiteral("PERO_SUMA1");
    const QString amount2 = QStringLiteral("PERO_SUMA2");
    const QString days = QStringLiteral("PERO_D");
    const QString percent = QStringLiteral("Процент");
    const QString sum = QStringLiteral("Сума");
    if (type == 1) {
        if (mode == PageMode::Dialog)
            return {};
        QString second = QStringLiteral("Променена сума");
        if (paySystem == 3)
            second = QStringLiteral("Часове");
        else if (paySystem == 4 || paySystem == 5)
            second = QStringLiteral("Сума ИРЗ");
        return {{amount, sum, Kind::Amount}, {amount2, second, Kind::Amount}, {days, QStringLiteral("От дата"), Kind::Integer}};
    }
    if (inList(type, {2, 4, 19, 32}))
        return {{amount, sum, Kind::Amount},
                {amount2, QStringLiteral("Променена сума"), Kind::Amount},
                {QStringLiteral("PERO_BEGINDATE"), QStringLiteral("От дата"), Kind::Date}};
    if (inList(type, {3, 7, 29, 35, 146, 147}) || between(type, 150, 153))
        return {{amount, percent, Kind::Amount}};
    if (type == 5)
        return {{amount, QStringLiteral("Отр. часове"), Kind::Amount},
                {days, QStringLiteral("Раб. седм."), Kind::Integer},
                {amount2, percent, Kind::Amount}};
    if (inList(type, {6, 10, 17, 18, 30, 31, 33, 37, 143, 145, 155}))
        return {{amount, sum, Kind::Amount}};
    if (type == 8 || type == 9)
        return {{amount, QStringLiteral("Сума на час"), Kind::Amount},
                {amount2, type == 8 ? QStringLiteral("Часове на ден") : QStringLiteral("Часове в месеца"), Kind::Amount}};
    if (between(type, 11, 15) || between(type, 20, 28)) {
        std::vector<PageField> f{{QStringLiteral("PERO_BEGINDATE"), QStringLiteral("От дата"), Kind::Date},
                                 {QStringLiteral("PERO_ENDDATE"), QStringLiteral("До дата"), Kind::Date},
                                 {days, QStringLiteral("Дни"), Kind::Integer}};
        const bool certificate = period.year() >= 2007
                                 && (mode == PageMode::EditForm ? type == 27 : between(type, 20, 28));
        if (certificate)
            f.push_back({QStringLiteral("PERO_BOLNN"), QStringLiteral("Номер на болничен"), Kind::Text});
        if (certificate && mode == PageMode::EditForm) {
            f.push_back({QStringLiteral("PERO_FLFIRST"), QStringLiteral("Флаг за първи болничен"), Kind::Check});
            f.push_back({QStringLiteral("PERO_BOLNDOPDOC"), QStringLiteral("Доп. документи"), Kind::Text});
        }
        return f;
    }
    if (type == 16)
        return {{amount, QStringLiteral("Точки"), Kind::Amount}};
    if (type == 34)
        return {{amount, sum, Kind::Amount}, {days, QStringLiteral("Деца"), Kind::Integer}};
    if (type == 139)
        return {{amount, percent, Kind::Amount}, {QStringLiteral("PERO_PARTIDA"), QStringLiteral("ЕГН"), Kind::Text}};
    if (type == 141)
        return {{amount, sum, Kind::Amount}, {QStringLiteral("PERO_PARTIDA"), QStringLiteral("Партида"), Kind::Text}};
    if (type == 142)
        return {{amount, QStringLiteral("Сума за ") + util::monthName(period.month()).toLower(), Kind::Amount},
                {amount2, QStringLiteral("Сума за ") + util::monthName(period.next().month()).toLower(), Kind::Amount}};
    if (type == 144)
        return {{amount, QStringLiteral("Първа вн."), Kind::Amount},
                {amount2, QStringLiteral("Вноска"), Kind::Amount},
                {days, QStringLiteral("Брой вноски"), Kind::Integer},
                {QStringLiteral("PERO_PARTIDA"), QStringLiteral("Партида"), Kind::Text}};
    if (type == 198)
        return {{days, QStringLiteral("Код на перо"), Kind::Integer}, {amount, sum, Kind::Amount}};
    return {};
}

QStringList requiredFields(int type)
{
    const QString a1 = QStringLiteral("PERO_SUMA1"), a2 = QStringLiteral("PERO_SUMA2");
    if (type == 5 || type == 144)
        return {a1, a2};
    if (between(type, 11, 15) || between(type, 20, 28))
        return {QStringLiteral("PERO_BEGINDATE"), QStringLiteral("PERO_ENDDATE")};
    if (inList(type, {2, 4, 19, 32, 3, 7, 29, 35, 146, 147, 16, 6, 10, 17, 18, 30, 31, 33, 37, 143, 145, 155, 8, 9, 142,
                      34, 139, 141, 198})
        || between(type, 150, 153))
        return {a1};
    return {};
}

QString collectDialog(int type, int code, const QStringList &texts, const std::vector<PageField> &layout, ItemRecord &record)
{
    auto text = [&](const QString &column) {
        for (size_t i = 0; i < layout.size(); ++i)
            if (layout[i].column == column && static_cast<qsizetype>(i) < texts.size())
                return texts[static_cast<qsizetype>(i)].trimmed();
        return QString();
    };
    auto number = [&](const QString &column) { return util::textToFloat(text(column)); };
    auto integer = [&](const QString &column) { return util::textToInt(text(column)); };
    auto date = [&](const QString &column) {
        const QString t = text(column);
        QDate d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
        if (!d.isValid())
            d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
        return d.isValid() ? d : ItemRecord::sentinelDate();
    };
    const QStringList required = requiredFields(type);
    ItemRecord r = record;
    const QString a1 = QStringLiteral("PERO_SUMA1"), a2 = QStringLiteral("PERO_SUMA2"), d = QStringLiteral("PERO_D");
    if (inList(type, {2, 4, 19, 32})) {
        r.amount1 = number(a1);
        r.amount2 = number(a2);
        r.begin = date(QStringLiteral("PERO_BEGINDATE"));
    } else if (inList(type, {3, 7, 29, 35, 146, 147}) || between(type, 150, 153) || type == 16
               || inList(type, {6, 10, 17, 18, 30, 31, 33, 37, 143, 145, 155})) {
        r.amount1 = number(a1);
    } else if (type == 5) {
        r.amount1 = number(a1);
        r.d = integer(d);
        r.amount2 = number(a2);
    } else if (inList(type, {8, 9, 142})) {
        r.amount1 = number(a1);
        r.amount2 = number(a2);
    } else if (between(type, 11, 15) || between(type, 20, 28)) {
        r.begin = date(QStringLiteral("PERO_BEGINDATE"));
        r.end = date(QStringLiteral("PERO_ENDDATE"));
        r.d = integer(d);
        r.certificate = text(QStringLiteral("PERO_BOLNN"));
    } else if (type == 34) {
        r.amount1 = number(a1);
        r.d = integer(d);
    } else if (type == 139 || type == 141) {
        r.amount1 = number(a1);
        r.partida = text(QStringLiteral("PERO_PARTIDA"));
    } else if (type == 144) {
        r.amount1 = number(a1);
        r.amount2 = number(a2);
        r.d = integer(d);
        r.partida = text(QStringLiteral("PERO_PARTIDA"));
    } else if (type == 198) {
        r.d = integer(d);
        r.amount1 = number(a1);
    } else {
        r.d = 0;
        r.amount1 = 0.0;
        r.amount2 = 0.0;
    }
    for (const QString &column : required)
        if (text(column).isEmpty())
            return QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\"");
    r.type = type;
    r.code = code;
    if (const QString problem = checkItemValues(r); !problem.isEmpty())
        return problem;
    record = r;
    return {};
}

QString checkItemValues(const ItemRecord &r)
{
    auto check = [](const char *column, const QVariant &value) {
        return storage::checkColumnValue(storage::catalogueColumn(u"PERA", QString::fromLatin1(column)), value);
    };
    for (const QString &problem : {check("PERO_SUMA1", r.amount1), check("PERO_SUMA2", r.amount2), check("PERO_D", r.d),
                                   check("PERO_PARTIDA", r.partida), check("PERO_BOLNN", r.certificate),
                                   check("PERO_BOLNDOPDOC", r.documents)})
        if (!problem.isEmpty())
            return problem;
    return {};
}

int insertItem(storage::DataModule &data, ItemRecord r)
{
    const int t = r.type;
    QString columns;
    QVariantList values;
    const QString head = QStringLiteral(" (PERO_PERSONID,PERO_PEROID,PERO_COD,");
    if (r.id == 0)
        r.id = data.nextKey(data.table(u"PERA"), QStringLiteral("PERO_PEROID"));
    values << r.person << r.id << r.code;
    if (inList(t, {1, 2, 4, 16, 19, 142, 148, 197, 5})) {
        columns = head + QStringLiteral("PERO_SUMA1,PERO_SUMA2,PERO_D,PERO_TYPE) ");
        values << r.amount1 << r.amount2 << r.d;
    } else if (t == 3 || t == 34 || t == 198) {
        columns = head + QStringLiteral("PERO_SUMA1,PERO_D,PERO_TYPE) ");
        values << r.amount1 << r.d;
    } else if (inList(t, {6, 7, 17, 18, 29, 30, 31, 32, 35, 37, 101, 143, 145, 146, 147, 199}) || between(t, 150, 155)) {
        columns = head + QStringLiteral("PERO_SUMA1,PERO_TYPE) ");
        values << r.amount1;
    } else if (t == 8 || t == 9) {
        columns = head + QStringLiteral("PERO_SUMA1,PERO_SUMA2,PERO_TYPE) ");
        values << r.amount1 << r.amount2;
    } else if (between(t, 11, 15) || between(t, 20, 28)) {
        columns = head + QStringLiteral("PERO_D,PERO_BEGINDATE,PERO_ENDDATE,PERO_TYPE) ");
        values << r.d << dateValue(r.begin) << dateValue(r.end);
    } else if (t == 139 || t == 141) {
        columns = head + QStringLiteral("PERO_SUMA1,PERO_PARTIDA,PERO_TYPE) ");
        values << r.amount1 << r.partida.left(20);
    } else if (t == 140) {
        columns = head + QStringLiteral("PERO_TYPE) ");
    } else if (t == 144) {
        columns = head + QStringLiteral("PERO_SUMA1,PERO_SUMA2,PERO_D,PERO_PARTIDA,PERO_TYPE) ");
        values << r.amount1 << r.amount2 << r.d << r.partida.left(20);
    } else {
        return 0; // 10, 33, 36, 38, the totals and unknown types have no columns of their own
    }
    values << t;
    data.insertRow(data.table(u"PERA"), columns, values);
    return r.id;
}

void ItemEntry::writeEntryColumns(const ItemRecord &r)
{
    fb::Statement::run(data_.transaction(),
                       QStringLiteral("UPDATE %1 SET PERO_COD=?, PERO_TYPE=?, PERO_SUMA1=?, PERO_SUMA2=?, PERO_D=?, "
                                      "PERO_BEGINDATE=?, PERO_ENDDATE=?, PERO_PARTIDA=?, PERO_BOLNN=?, PERO_FLFIRST=?, "
                                      "PERO_BOLNDOPDOC=? WHERE PERO_PEROID=?")
                           .arg(data_.table(u"PERA")),
                       {r.code, r.type, r.amount1, r.amount2, r.d, dateValue(r.begin), dateValue(r.end), r.partida.left(20),
                        r.certificate.left(12), r.firstCertificate ? 1 : 0, r.documents.left(50), r.id});
}

int ItemEntry::add(int personId, ItemRecord r, bool commit)
{
    if (const QString problem = checkItemValues(r); !problem.isEmpty())
        throw std::invalid_argument(problem.toStdString());
    const QString pera = data_.table(u"PERA");
    r.id = data_.nextKey(pera, QStringLiteral("PERO_PEROID"));
    r.person = personId;
    r.type = definitionType(data_, r.code);
    data_.insertValues(pera, QStringLiteral("PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE"), {r.id, personId, r.code, r.type});
    writeEntryColumns(r);
    if (commit)
        data_.commitRetaining();
    lastCode_ = r.code;
    return r.id;
}

bool ItemEntry::edit(const ItemRecord &r)
{
    if (const QString problem = checkItemValues(r); !problem.isEmpty())
        throw std::invalid_argument(problem.toStdString());
    data_.lockPeriod();
    const auto stored = itemById(data_, r.id);
    if (!stored || !isEditableType(stored->type))
        return false;
    ItemRecord changed = r;
    changed.code = stored->code; // the code is not edited
    changed.type = stored->type;
    writeEntryColumns(changed);
    data_.commitRetaining();
    return true;
}

bool ItemEntry::remove(int itemId, util::Prompter &prompter)
{
    const auto stored = itemById(data_, itemId);
    if (!stored || !isDeletableType(stored->type))
        return false;
    // The question names the item, so that the user sees which row goes.
    QString question = QStringLiteral("Сигурни ли сте, че искате да изтриете перо номер %1").arg(stored->code);
    for (const Definition &d : loadDefinitions(data_)) {
        if (d.code == stored->code && !d.name.trimmed().isEmpty()) {
            question += QStringLiteral(" „%1“").arg(d.name.trimmed());
            break;
        }
    }
    if (!prompter.confirm(question + QLatin1Char('?')))
        return false;
    data_.lockPeriod();
    data_.deleteRows(data_.table(u"PERA"), QStringLiteral(" PERO_PEROID=?"), {itemId});
    data_.commitRetaining();
    return true;
}

int addStandardItems(storage::DataModule &data, int personId)
{
    const QString pera = data.table(u"PERA");
    const QString columns = QStringLiteral(" (PERO_PERSONID,PERO_PEROID,PERO_COD,PERO_TYPE) ");
    auto lacks = [&](int type) {
        return data.notExistsWhere(pera, QStringLiteral("PERO_PERSONID=? and PERO_TYPE=?"), {personId, type});
    };
    auto add = [&](int code, int type) {
        data.insertRow(pera, columns, {personId, data.nextKey(pera, QStringLiteral("PERO_PEROID")), code, type});
    };
    int added = 0;
    for (const auto &[code, type] : {std::pair{2010, 201}, std::pair{2000, 200}, std::pair{1000, 100}}) {
        if (lacks(type)) {
            add(code, type);
            ++added;
        }
    }
    const QVariant tax = fb::Statement::scalar(
        data.transaction(), QStringLiteral("SELECT PERODEFS_COD FROM %1 WHERE PERODEFS_TYP=140").arg(data.table(u"PERADEFS")));
    if (tax.isValid() && lacks(140)) {
        add(tax.toInt(), 140);
        ++added;
    }
    added += addContributionItems(data, personId);
    data.commitRetaining();
    return added;
}

int addContributionItems(storage::DataModule &data, int personId)
{
    int type = 0, variant = 0;
    QString egn;
    {
        fb::Statement q(data.transaction(), QStringLiteral("SELECT PERSON_NOS,PERSON_NOSN,PERSON_EGN FROM %1 WHERE PERSON_ID=?")
                                                .arg(data.table(u"PERSONS")));
        q.bind(0, personId);
        if (!q.next())
            return 0;
        type = util::textToInt(q.toText(0));
        variant = static_cast<int>(q.toInt(1));
        egn = q.toText(2);
    }
    const std::vector<reference::NoiType> rates = reference::loadRates(data);
    const reference::NoiType *rate = reference::findRate(rates, type, variant);
    if (!rate)
        return 0;
    const bool later = reference::bornAfter1959(egn);
    std::vector<Definition> contributions;
    for (const Definition &d : loadDefinitions(data))
        if (d.type == 139)
            contributions.push_back(d);
    std::stable_sort(contributions.begin(), contributions.end(),
                     [](const Definition &a, const Definition &b) { return a.code < b.code; });
    const QString pera = data.table(u"PERA");
    int added = 0;
    for (const Definition &d : contributions) {
        if (!reference::contributionOwed(d.hars, later))
            continue;
        const double percent = util::roundHalfEven(reference::contributionPercent(*rate, d.hars, later), 3);
        if (percent == 0
            || !data.notExistsWhere(pera, QStringLiteral("PERO_PERSONID=? and PERO_COD=?"), {personId, d.code}))
            continue;
        ItemRecord r;
        r.person = personId;
        r.code = d.code;
        r.type = 139;
        r.amount1 = percent;
        insertItem(data, r);
        ++added;
    }
    return added;
}

} // namespace plavex::items
