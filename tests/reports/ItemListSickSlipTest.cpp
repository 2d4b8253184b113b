// The list by item (rows and totals by type) and the sick-leave slip (the
// six months before the sickness, the benefit lines against a hand count).
#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "items/Definitions.h"
#include "reference/Company.h"
#include "reports/ItemList.h"
#include "reports/ReportRun.h"
#include "reports/SickSlip.h"
#include "storage/fb/Statement.h"
#include "tests/support/MonthRows.h"
#include "tests/support/TestDatabase.h"
#include "util/NumberText.h"
#include "util/DateText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace plavex;
using namespace plavex::reports;

namespace {

// The texts of each line of a document, top to bottom, page by page.
std::vector<QStringList> linesOf(const Document &doc)
{
    std::vector<QStringList> lines;
    for (const Page &page : doc.pages) {
        std::map<long, QStringList> byY;
        for (const Op &op : page.ops)
            if (op.kind == Op::Kind::Text)
                byY[std::lround(op.y * 20)] << op.text;
        for (const auto &[y, texts] : byY)
            lines.push_back(texts);
    }
    return lines;
}

class ReportsOnItems : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.dir.writeNom(QStringLiteral("DOD2008.csv"), {QStringLiteral("2008;0;0;0.10")});
        ASSERT_TRUE(t.open());
        d = t.data.get();
        reference::postCompany(*d, {{QStringLiteral("FIRMA_IME"), QStringLiteral("Плавекс ООД")},
                                    {QStringLiteral("FIRMA_INDDOO"), 2000.0},
                                    {QStringLiteral("FIRMA_MINDOH"), 220.0},
                                    {QStringLiteral("FIRMA_MINSALARY"), 180.0}});
        d->insertValues(d->table(u"NOI"), QStringLiteral("NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_PROC"),
                        {1, 1, QStringLiteral("Работници"), 20.0});
        for (const auto &[code, type, name] : {std::tuple{101, 1, "Основна заплата"}, {126, 26, "Болнични от работодател"},
                                               {130, 30, "Премия"}, {644, 144, "Заем"}})
            items::addDefinition(*d, items::makeDefinition(code, type, QString::fromUtf8(name), QStringLiteral("1")));
    }
    void addEmployee(int id, int number, const char *name, int active = 1)
    {
        test::insertEmployee(*d, {{"PERSON_ID", id}, {"PERSON_NOMER", number}, {"PERSON_IME", QString::fromUtf8(name)},
                                  {"PERSON_EGN", "7001010006"}, {"PERSON_ACT", active}, {"PERSON_KALENDAR", 1}, {"PERSON_SYSZ", 1},
                                  {"PERSON_NOS", "01"}, {"PERSON_NOSN", 1}, {"PERSON_STAV1Y", 12}, {"PERSON_STAV1M", 3},
                                  {"PERSON_STAV1D", 4}});
        test::insertTotals(*d, id);
    }
    int addItem(int person, int code, int type, double amount1 = 0, double amount2 = 0, int days = 0,
                const QString &partida = {})
    {
        return test::insertItem(*d, person, code, type,
                                {{"PERO_SUMA1", amount1}, {"PERO_SUMA2", amount2}, {"PERO_D", days}, {"PERO_PARTIDA", partida}});
    }
    double stored(int itemId)
    {
        return fb::Statement::scalar(d->transaction(),
                                     QStringLiteral("select PERO_SUMA from %1 where PERO_PEROID=?").arg(d->table(u"PERA")), {itemId})
            .toDouble();
    }
    Document itemListOf(int code)
    {
        ReportRequest r;
        r.kind = ReportKind::ItemList;
        r.itemCode = code;
        ReportHost host;
        return buildItemList(*d, r, host);
    }

    test::TestDatabase t{util::Period(2008, 3)};
    storage::DataModule *d = nullptr;
};

} // namespace

TEST_F(ReportsOnItems, ItemListRowsAndTotalsByType)
{
    addEmployee(1, 12, "Борис Колев");
    addEmployee(2, 11, "Анна Петрова");
    addEmployee(3, 13, "Васил Неактивен", 0);
    addItem(1, 101, 1, 1200);
    addItem(2, 101, 1, 1000);
    addItem(3, 101, 1, 900);
    const int loan1 = addItem(2, 644, 144, 100, 50.5, 3, QStringLiteral("П-1"));
    const int loan2 = addItem(2, 644, 144, 0, 20.25, 2, QStringLiteral("П-2")); // the same item twice
    const int loan3 = addItem(1, 644, 144, 10, 30, 4, QStringLiteral("П-3"));
    addItem(3, 644, 144, 10, 30, 4); // inactive: not listed
    addItem(1, 130, 30, 77);
    d->commitRetaining();

    // Type 144: the instalments with two decimals, their count's total without.
    const Document loans = itemListOf(644);
    const auto lines = linesOf(loans);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], QStringList{QStringLiteral("Плавекс ООД")});
    EXPECT_EQ(lines[1], (QStringList{"Списък по перо", "644 Заем", "Март 2008", "Стр: 1  от  1"}));
    EXPECT_EQ(lines[2], (QStringList{"Номер", "Име", "Партида", "Първа вн.", "Мес. вн.", "Брой", "Сума лв."}));
    auto money = [](double v) { return util::fixedNumber(v, 1, 2); };
    EXPECT_EQ(lines[3], (QStringList{"11", "Анна Петрова", "П-1", "100.00", "50.50", "3.00", money(stored(loan1))}));
    EXPECT_EQ(lines[4], (QStringList{"11", "Анна Петрова", "П-2", "0.00", "20.25", "2.00", money(stored(loan2))}));
    EXPECT_EQ(lines[5], (QStringList{"12", "Борис Колев", "П-3", "10.00", "30.00", "4.00", money(stored(loan3))}));
    EXPECT_EQ(lines[6], (QStringList{"ОБЩО:", "110.00", "100.75", "9", money(stored(loan1) + stored(loan2) + stored(loan3))}));

    // Type 1: the worked days of the month's record; a type without
    // columns has an empty middle and no middle total.
    const auto base = linesOf(itemListOf(101));
    ASSERT_EQ(base.size(), 6u);
    EXPECT_EQ(base[2], (QStringList{"Номер", "Име", "Дни", "Сума лв."}));
    const qint64 days = t.scalar(QStringLiteral("select PERSDATA_ODNI from PERSDATA where PERSDATA_PERSONID=2 and PERSDATA_GOD=2008 "
                                                "and PERSDATA_MES=3"));
    ASSERT_GT(days, 0);
    EXPECT_EQ(base[3].value(2), QString::number(days));
    EXPECT_EQ(base[5].value(0), QStringLiteral("ОБЩО:"));
    const auto bonus = linesOf(itemListOf(130));
    ASSERT_EQ(bonus.size(), 5u);
    EXPECT_EQ(bonus[2], (QStringList{"Номер", "Име", "Сума лв."}));
    EXPECT_EQ(bonus[3], (QStringList{"12", "Борис Колев", "77.00"}));
    EXPECT_EQ(bonus[4], (QStringList{"ОБЩО:", "77.00"}));
}

TEST(SickSlipBenefit, RateAndTheCapByTheAverageNet)
{
    struct Case {
        int type, days;
        double basis, net, rate, benefit;
    };
    const Case cases[] = {
        {21, 2, 100, 10, 0.9, 90},    // never capped
        {26, 2, 100, 39.1, 0.8, 78.2}, // 2 x 39.10 below 80
        {26, 2, 100, 0.005, 0.8, 80},  // 0.01 or less keeps 0.8 B
        {26, 2, 100, 0, 0.8, 80},      // no history of net pay
        {23, 4, 200, 100, 0.9, 180},   // the cap above the benefit does nothing
        {25, 3, 150, 20, 1.0, 60},
    };
    for (const Case &c : cases) {
        const SlipBenefit b = slipBenefit(c.type, c.days, c.basis, c.net);
        EXPECT_DOUBLE_EQ(b.rate, c.rate) << c.type;
        EXPECT_NEAR(b.benefit, c.benefit, 1e-9) << c.type << " " << c.net;
        EXPECT_DOUBLE_EQ(b.daily, c.basis / c.days);
    }
    EXPECT_DOUBLE_EQ(slipBenefit(26, 0, 55, 1).daily, 55); // without days the basis itself
}

TEST_F(ReportsOnItems, SickSlipShowsTheSixMonthsBeforeAndHowTheBenefitCameOut)
{
    addEmployee(1, 21, "Анна Петрова");
    addItem(1, 101, 1, 1100);
    const int sick = addItem(1, 126, 26);
    fb::Statement::run(d->transaction(),
                       QStringLiteral("update %1 set PERO_BEGINDATE='2008-03-10', PERO_ENDDATE='2008-03-11' where PERO_PEROID=?")
                           .arg(d->table(u"PERA")),
                       {sick});
    // August 2007 to March 2008: only September to February are the window.
    for (const auto &[year, month] : std::initializer_list<std::pair<int, int>>{
             {2007, 8}, {2007, 9}, {2007, 10}, {2007, 11}, {2007, 12}, {2008, 1}, {2008, 2}}) {
        d->insertRow(d->table(u"PERSDATA"),
                     QStringLiteral("(PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_RABDNI,PERSDATA_SDNI,PERSDATA_ODOO,"
                                    "PERSDATA_BDOO,PERSDATA_SFRZ,PERSDATA_SDOD,PERSDATA_WSDOOLI,PERSDATA_SUZDR,PERSDATA_ONPL,"
                                    "PERSDATA_DBOL,PERSDATA_SBOL)"),
                     {1, year, month, 22, 22, 2, 1100.0 + month, 1100.0, 90.0, 100.0, 50.0, 1, 2, 30.0});
    }
    d->commitRetaining();

    QStringList errors;
    const auto slips = sickSlips(*d, &errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    ASSERT_EQ(slips.size(), 1u);
    const SickSlip &s = slips[0];
    std::vector<int> months;
    for (const SlipMonth &m : s.history)
        months.push_back(m.month);
    EXPECT_EQ(months, (std::vector<int>{12, 11, 10, 9, 2, 1}));
    EXPECT_NEAR(s.history[0].net, 1100 - 90 - 100 - 50, 1e-9);
    EXPECT_EQ(s.history[0].daysWorked, 20);

    // By hand: the sickness base over the insured days, the net over the days worked.
    const int days = s.itemDays;
    ASSERT_GT(days, 0);
    const double daily = (1112.0 + 1111 + 1110 + 1109 + 1101 + 1102) / (6 * 22);
    const double net = 6 * 860.0 / (6 * 20);
    const double benefit = std::min(0.8 * daily * days, days * net);
    EXPECT_NEAR(s.benefit.daily, daily, 1e-9);
    EXPECT_NEAR(s.benefit.net, net, 1e-9);
    EXPECT_NEAR(s.benefit.benefit, benefit, 1e-9);
    // The calculation paid the same.
    EXPECT_NEAR(stored(sick), std::round(benefit * 100) / 100, 0.005);

    ReportHost host;
    const Document doc = buildSickSlips(*d, host);
    EXPECT_TRUE(doc.setup.landscape());
    const auto lines = linesOf(doc);
    auto f = [](double v) { return util::fixedNumber(v, 7, 2).trimmed(); };
    QStringList history;
    for (const QStringList &l : lines)
        if (l.size() == 13)
            history << l[0] + u' ' + l[1];
    EXPECT_EQ(history, (QStringList{"Декември 2007", "Ноември 2007", "Октомври 2007", "Септември 2007", "Февруари 2008",
                                    "Януари 2008"}));
    auto date = [&](int day) { return QStringLiteral("%1.03.2008").arg(day); };
    bool computation = false, summary = false;
    for (const QStringList &l : lines) {
        if (l.value(0) == u"Ср. дневен осиг. доход:") {
            computation = true;
            EXPECT_EQ(l, (QStringList{"Ср. дневен осиг. доход:", f(daily), "80% =", f(daily * 0.8), "Средно дневно нето:", f(net),
                                      "Приета база:", f(benefit / days)}));
        }
        if (l.value(0).startsWith(u"Тр. стаж:")) {
            summary = true;
            EXPECT_EQ(l, (QStringList{"Тр. стаж: 12 г. 3 м. 4 д.", "80%", "Болнични от работодател", "от " + date(10),
                                      "до " + date(11), util::daysText(days), "сума=" + f(benefit)}));
        }
        if (l.value(0) == u"Общо: ") {
            EXPECT_EQ(l.value(1), QStringLiteral("132")); // worked days of the six months
        }
    }
    EXPECT_TRUE(computation);
    EXPECT_TRUE(summary);
}

TEST(ItemListColumns, ADeductionHasNoDayColumn)
{
    // Earnings of no column of their own keep an empty one; a deduction
    // without columns gives the name their room.
    for (const int type : {142, 101, 140, 150})
        EXPECT_TRUE(middleColumns(type).empty()) << type;
    EXPECT_EQ(middleColumns(30).size(), 1u);
    EXPECT_EQ(middleColumns(144).size(), 4u);
    EXPECT_EQ(middleColumns(141).front().heading, QStringLiteral("Партида"));
    EXPECT_EQ(middleColumns(198).front().heading, QStringLiteral("Перо"));
}
