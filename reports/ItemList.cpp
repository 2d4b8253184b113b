#include "reports/ItemList.h"

#include "items/Definitions.h"
#include "items/ItemTypes.h"
#include "reference/Company.h"
#include "reports/CellRow.h"
#include "reports/RunProtocol.h"
#include "reports/SectionLayout.h"
#include "reports/engine/Canvas.h"
#include "storage/DataModule.h"
#include "storage/fb/Statement.h"
#include "util/Currency.h"
#include "util/NumberText.h"

#include <map>

namespace plavex::reports {

namespace {

using J = Justify;

// The section's left edge inside the engine's 1 cm margin.
constexpr double kLeft = 2.0;
constexpr double kCellMargin = 10; // percent of the font height

QString f0(double v) { return util::fixedNumber(v, 1, 0); }
QString f2(double v) { return util::fixedNumber(v, 1, 2); }

bool between(int v, int lo, int hi) { return v >= lo && v <= hi; }

} // namespace

std::vector<MiddleColumn> middleColumns(int type)
{
    if (type == 1)
        return {{QStringLiteral("Дни"), 5, true, true, 0}};
    if (type == 2 || type == 6 || between(type, 11, 28))
        return {{QStringLiteral("Дни"), 5, true, true, 0}};
    if (type == 3)
        return {{QStringLiteral("Кат."), 2, true, false, 0}, {QStringLiteral("Процент"), 3, true, false, 0}};
    if (type == 9)
        return {{QStringLiteral("Часове"), 5, true, true, 0}};
    if (type == 34)
        return {{QStringLiteral("Деца"), 2, true, true, 0}, {QStringLiteral("Дни"), 3, true, true, 0}};
    if (type == 141 || type == 149)
        return {{QStringLiteral("Партида"), 5, false, false, 0}};
    if (type == 144)
        return {{QStringLiteral("Партида"), 2, false, false, 0},
                {QStringLiteral("Първа вн."), 1, true, true, 2},
                {QStringLiteral("Мес. вн."), 1, true, true, 2},
                {QStringLiteral("Брой"), 1, true, true, 0}};
    if (type == 198)
        return {{QStringLiteral("Перо"), 5, true, false, 0}};
    // A deduction has no days: its name takes the room.
    if (items::isDeduction(type))
        return {};
    return {{QString(), 5, false, false, 0}};
}

ItemList itemList(storage::DataModule &data, int code)
{
    ItemList list;
    list.code = code;
    reference::Company company;
    reference::loadCompany(data, company);
    list.company = employerText(company.name, company.bulstat);
    for (const items::Definition &d : items::loadDefinitions(data))
        if (d.code == code) {
            list.name = d.name.trimmed();
            list.type = d.type;
            break;
        }

    // Worked days of the month's records, for the base salary.
    std::map<int, double> worked;
    if (list.type == 1) {
        fb::Statement q(data.transaction(),
                        QStringLiteral("SELECT PERSDATA_PERSONID, PERSDATA_ODNI FROM %1 WHERE PERSDATA_GOD=? AND PERSDATA_MES=?")
                            .arg(data.table(u"PERSDATA")));
        q.bindAll({data.period().year(), data.period().month()});
        q.execute();
        while (q.next())
            worked[static_cast<int>(q.toInt(0))] = q.toDouble(1);
    }

    fb::Statement q(data.transaction(),
                    QStringLiteral("Select t1.PERSON_NOMER,t1.PERSON_IME,t1.PERSON_DECA,t2.PERO_PERSONID,t2.PERO_D,t2.PERO_SUMA1,"
                                   "t2.PERO_SUMA2,t2.PERO_PARTIDA,t2.PERO_SUMA FROM %1 t1 LEFT JOIN %2 t2 ON t1.PERSON_ID = "
                                   "t2.PERO_PERSONID Where (t2.pero_COD=?) and (t1.person_ACT=1) order by t1.PERSON_NOMER, "
                                   "t2.PERO_PEROID")
                        .arg(data.table(u"PERSONS"), data.table(u"PERA")));
    q.bind(0, code);
    q.execute();
    const int type = list.type;
    while (q.next()) {
        ItemListRow r;
        r.number = static_cast<int>(q.toInt(0));
        r.name = q.toText(1).trimmed();
        const double children = q.toDouble(2);
        const int person = static_cast<int>(q.toInt(3));
        const double d = q.toDouble(4), s1 = q.toDouble(5), s2 = q.toDouble(6);
        const QString partida = q.toText(7).trimmed();
        r.amount = q.toDouble(8);
        auto put = [&](const QString &text, double value = 0) {
            r.middle << text;
            r.middleValues.push_back(value);
        };
        if (type == 1) {
            const auto w = worked.find(person);
            const double days = w == worked.end() ? 0.0 : w->second;
            put(f0(days), days);
        } else if (type == 2 || type == 6 || between(type, 11, 28)) {
            put(f0(d), d);
        } else if (type == 3) {
            put(f0(d));
            put(f2(s1));
        } else if (type == 9) {
            put(f2(s1), s1);
        } else if (type == 34) {
            put(f0(children), children);
            put(f0(d), d);
        } else if (type == 141 || type == 149) {
            put(partida);
        } else if (type == 144) {
            put(partida);
            put(f2(s1), s1);
            put(f2(s2), s2);
            put(f2(d), d);
        } else if (type == 198) {
            put(f0(d));
        } else if (!items::isDeduction(type)) {
            put(QString());
        }
        list.rows.push_back(std::move(r));
    }
    return list;
}

Document buildItemList(storage::DataModule &data, const ReportRequest &request, ReportHost &host, QStringList *errors)
{
    recalculateForReport(data, host);
    data.lockPeriod();
    const ItemList list = itemList(data, request.itemCode);
    const util::Period period = data.period();
    const std::vector<MiddleColumn> middle = middleColumns(list.type);
    const QString name = request.itemName.trimmed().isEmpty() ? list.name : request.itemName.trimmed();
    // Without middle columns the name has their 5 cm.
    const double nameWidth = middle.empty() ? 13 : 8;

    Document doc;
    doc.title = QString::fromUtf8(kindInfo(ReportKind::ItemList).caption);
    Canvas c(doc);
    layout::setSectionMargins(c, doc.setup);
    c.setFontSize(layout::kFontSize);

    auto columns = [&](bool boxed) {
        c.clearTabs();
        const quint8 box = boxed ? BoxAll : BoxNone;
        c.setTab(kLeft, J::Right, 2, kCellMargin, box);
        c.setTab(-1, J::Left, nameWidth, kCellMargin, box);
        for (const MiddleColumn &m : middle)
            c.setTab(-1, m.number ? J::Right : J::Left, m.width, kCellMargin, box);
        c.setTab(-1, J::Right, 2, kCellMargin, box);
    };
    c.onNewPage = [&](Canvas &canvas) {
        announcePage(canvas, host);
        canvas.clearTabs();
        canvas.setTab(kLeft, J::Left, 17, kCellMargin);
        printRow(canvas, {list.company});
        canvas.clearTabs();
        canvas.setTab(kLeft, J::Left, 4, kCellMargin);
        canvas.setTab(-1, J::Left, 7, kCellMargin);
        canvas.setTab(-1, J::Left, 3, kCellMargin);
        canvas.setTab(-1, J::Right, 3, kCellMargin);
        printRow(canvas, {QStringLiteral("Списък по перо"), QString::number(list.code) + QLatin1Char(' ') + name,
                           monthCaption(period.month(), period.year()), pageOfText(canvas)});
        canvas.clearTabs();
        canvas.setTab(kLeft, J::Left, 2, kCellMargin, BoxAll);
        canvas.setTab(-1, J::Left, nameWidth, kCellMargin, BoxAll);
        for (const MiddleColumn &m : middle)
            canvas.setTab(-1, J::Left, m.width, kCellMargin, BoxAll);
        canvas.setTab(-1, J::Left, 2, kCellMargin, BoxAll);
        QStringList headings{QStringLiteral("Номер"), QStringLiteral("Име")};
        for (const MiddleColumn &m : middle)
            headings << m.heading;
        headings << QStringLiteral("Сума ") + util::currencyOf(period).abbreviation;
        printRow(canvas, headings);
        columns(true);
    };
    c.begin();

    std::vector<double> totals(middle.size(), 0.0);
    double amount = 0;
    auto unit = [&](Canvas &canvas, int i) {
        const ItemListRow &r = list.rows[static_cast<size_t>(i)];
        if (canvas.linesLeft() < 1)
            canvas.newPage();
        QStringList cells{QString::number(r.number), r.name};
        cells << r.middle;
        cells << f2(r.amount);
        printRow(canvas, cells);
        for (size_t m = 0; m < middle.size() && m < r.middleValues.size(); ++m)
            totals[m] += r.middleValues[m];
        amount += r.amount;
    };
    const bool done = printRows(c, static_cast<int>(list.rows.size()), unit, host, errors);
    if (!done)
        throw RunAborted{};

    if (c.linesLeft() < 1)
        c.newPage();
    columns(false);
    QStringList total{QString(), QStringLiteral("ОБЩО:")};
    for (size_t m = 0; m < middle.size(); ++m)
        total << (middle[m].total ? util::fixedNumber(totals[m], 1, middle[m].totalDecimals) : QString());
    total << f2(amount);
    printRow(c, total);
    c.finish();
    return doc;
}

} // namespace plavex::reports
