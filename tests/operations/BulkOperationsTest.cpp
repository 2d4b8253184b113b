#include "calc/Parameters.h"
#include "items/Items.h"
#include "operations/BulkOperations.h"
#include "tests/support/MonthFixture.h"

using namespace plavex;

namespace {

class BulkOperations : public test::MonthFixture {
protected:
    BulkOperations() : MonthFixture(util::Period(2008, 1)) {}
    void SetUp() override
    {
        MonthFixture::SetUp();
        active1 = addPerson(1, QStringLiteral("Първи"), {{"PERSON_EGN", QStringLiteral("5503030000")}}); // born before 1960
        active2 = addPerson(2, QStringLiteral("Втори"), {{"PERSON_EGN", QStringLiteral("7504040000")}});
        dismissed = addPerson(3, QStringLiteral("Трети"), {{"PERSON_ACT", 0}});
        params.attach(data());
    }
    // The amount the calculation left on the employee's item of the type.
    double amount(int person, int type)
    {
        return value(QStringLiteral("select PERO_SUMA from %1 where PERO_PERSONID=? and PERO_TYPE=?").arg(table(u"PERA")), {person, type})
            .toDouble();
    }
    qint64 itemsOf(int code) { return scalar(QStringLiteral("select count(*) from %1 where PERO_COD=?").arg(table(u"PERA")), {code}); }
    double amount1(int item) { return value(QStringLiteral("select PERO_SUMA1 from %1 where PERO_PEROID=?").arg(table(u"PERA")), {item}).toDouble(); }

    int active1 = 0, active2 = 0, dismissed = 0;
    calc::Parameters params;
};

} // namespace

TEST_F(BulkOperations, DeleteACodeFromEveryoneAsksFirst)
{
    addDefinition(30, 6);
    for (const int p : {active1, active2, dismissed})
        addItem(p, 30, 6, 0, 50);
    addItem(active1, 1000, 100, 50, 0); // the gross as it stood with the premium

    util::RecordingPrompter no(false);
    EXPECT_FALSE(operations::deleteCodeFromAll(data(), 30, no, params));
    EXPECT_EQ(no.questions.value(0), QStringLiteral("Сигурни ли сте, че искате да изтриете перо 30 Перо 30 от данните на всички "
                                                     "служители за месец януари 2008 г ?"));
    EXPECT_EQ(itemsOf(30), 3);
    EXPECT_EQ(amount(active1, 100), 50.0);

    util::RecordingPrompter yes;
    EXPECT_EQ(operations::deleteCodeFromAll(data(), 30, yes, params), 3);
    EXPECT_EQ(itemsOf(30), 0);
    EXPECT_EQ(amount(active1, 100), 0.0); // recalculated without it

    // The totals are not for deleting, and an unknown code is said so.
    EXPECT_FALSE(operations::deleteCodeFromAll(data(), 2010, yes, params));
    EXPECT_FALSE(operations::deleteCodeFromAll(data(), 999, yes, params));
    EXPECT_EQ(yes.questions.size(), 1);
    EXPECT_EQ(yes.messages.size(), 2);
}

TEST_F(BulkOperations, AddAnItemToTheActiveEmployees)
{
    addDefinition(30, 6);
    addDefinition(40, 10); // a type whose items have no columns of their own
    items::ItemRecord premium;
    premium.code = 30;
    premium.amount1 = 75;
    addItem(active1, 1000, 100, 0, 0);

    util::RecordingPrompter no(false);
    EXPECT_FALSE(operations::addItemToAll(data(), premium, no, params));
    EXPECT_EQ(no.questions.value(0), QStringLiteral("Сигурни ли сте, че искате да добавите въведеното от вас перо за всички "
                                                     "служители в данните за месец януари 2008 г ?"));
    EXPECT_EQ(itemsOf(30), 0);

    util::RecordingPrompter yes;
    EXPECT_EQ(operations::addItemToAll(data(), premium, yes, params), 2);
    fb::Statement q(data().transaction(), QStringLiteral("select PERO_PERSONID, PERO_PEROID, PERO_SUMA1, PERO_TYPE from %1 where "
                                                         "PERO_COD=30 order by PERO_PERSONID")
                                              .arg(table(u"PERA")));
    std::vector<std::pair<int, int>> rowsSeen;
    while (q.next()) {
        rowsSeen.emplace_back(static_cast<int>(q.toInt(0)), static_cast<int>(q.toInt(1)));
        EXPECT_EQ(q.toDouble(2), 75.0);
        EXPECT_EQ(q.toInt(3), 6);
    }
    ASSERT_EQ(rowsSeen.size(), 2u);
    EXPECT_EQ(rowsSeen[0].first, active1);
    EXPECT_EQ(rowsSeen[1].first, active2);
    EXPECT_EQ(rowsSeen[1].second, rowsSeen[0].second + 1);
    EXPECT_EQ(amount(active1, 100), 75.0); // recalculated with it

    items::ItemRecord none;
    none.code = 40;
    EXPECT_EQ(operations::addItemToAll(data(), none, yes, params), 0);
    EXPECT_EQ(itemsOf(40), 0);
}

TEST_F(BulkOperations, StandardItems)
{
    // No income-tax definition in the month: only the three totals.
    data().deleteRows(table(u"PERADEFS"), QStringLiteral("PERODEFS_TYP=140"));
    EXPECT_EQ(items::addStandardItems(data(), active1), 3);
    EXPECT_EQ(items::addStandardItems(data(), active1), 0);
    addDefinition(101, 140);
    EXPECT_EQ(items::addStandardItems(data(), active1), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1 where PERO_PERSONID=? and PERO_COD=101 and PERO_TYPE=140").arg(table(u"PERA")),
                     {active1}),
              1);
    EXPECT_EQ(scalar(QStringLiteral("select count(distinct PERO_PEROID) from %1").arg(table(u"PERA"))), rows(table(u"PERA")));
}

TEST_F(BulkOperations, ChangeAPercentageOnlyWhereItEqualsTheOldOne)
{
    addDefinition(50, 7);
    addDefinition(51, 7);
    const int a = addItem(active1, 50, 7, 0, 12.5);
    const int b = addItem(active2, 50, 7, 0, 10);
    const int c = addItem(dismissed, 51, 7, 0, 12.5);
    EXPECT_EQ(operations::firstPercent(data(), 50), 12.5);
    EXPECT_EQ(operations::firstPercent(data(), 77), 0.0);
    EXPECT_EQ(operations::percentDefinitions(data()).size(), 2u);
    EXPECT_EQ(operations::checkPercentFields(QStringLiteral("50"), QString(), QStringLiteral("12")),
              QStringLiteral("Моля попълнете данни и в 3-те полета или натиснете бутона \"Изход\"."));

    util::RecordingPrompter no(false);
    EXPECT_FALSE(operations::changePercent(data(), 50, 12.5, 12, no));
    EXPECT_EQ(no.questions.value(0), QStringLiteral("Сигурни ли сте, че искате да редактирате процента в перо номер 50 от 12.500 на 12.000 ?"));
    EXPECT_EQ(amount1(a), 12.5);

    util::RecordingPrompter yes;
    EXPECT_EQ(operations::changePercent(data(), 50, 12.5, 12, yes), 1);
    EXPECT_EQ(amount1(a), 12.0);
    EXPECT_EQ(amount1(b), 10.0);
    EXPECT_EQ(amount1(c), 12.5);
    // Decimals a double cannot hold exactly still match.
    const int d = addItem(active2, 50, 7, 0, 0.1);
    EXPECT_EQ(operations::changePercent(data(), 50, 0.1, 0.3, yes), 1);
    EXPECT_DOUBLE_EQ(amount1(d), 0.3);
}

TEST_F(BulkOperations, CorrectContributionPercentagesFromTheRates)
{
    // One rates row; the columns by name.
    const QString noi = QStringLiteral("NOI2008");
    data().insertValues(noi, QStringLiteral("NOI_TYPE,NOI_TYPEN,NOI_TYPE_NAME,NOI_ZAB_LI,NOI_PENSI_LI,NOI_ZAB_LI60,NOI_PENSI_LI60,"
                                            "NOI_ZDL,NOI_PKB_LI,NOI_PKB_LI60,NOI_DZPO_LI60,NOI_SOC_DZPO_LI60,NOI_ZDR_NEPL"),
                        {1, 1, QStringLiteral("Работници"), 1.4, 8.3, 1.4, 6.3, 2.4, 0.4, 0.5, 2.2, 9.0, 0.0});
    data().commitRetaining();
    data().tableChanged(QStringLiteral("NOI"));
    addDefinition(60, 139);                               // none of the flags: sickness + pension
    addDefinition(61, 139, QStringLiteral("0010000000")); // 3: health
    addDefinition(62, 139, QStringLiteral("0001000000")); // 4: unemployment
    addDefinition(63, 139, QStringLiteral("0100100000")); // 2 and 5
    addDefinition(64, 139, QStringLiteral("0011000000")); // 3 and 4: a zero rate changes nothing
    // The older employee carries 60, 61, 63 and 64; the younger 60 and 62.
    const int old60 = addItem(active1, 60, 139, 0, 1);
    const int old61 = addItem(active1, 61, 139, 0, 1);
    const int old63 = addItem(active1, 63, 139, 0, 1);
    const int old64 = addItem(active1, 64, 139, 0, 1);
    const int young60 = addItem(active2, 60, 139, 0, 1);
    const int young62 = addItem(active2, 62, 139, 0, 1);
    const int other60 = addItem(dismissed, 60, 139, 0, 1);

    const auto done = operations::correctPercents(data());
    EXPECT_EQ(done.size(), 5u);
    EXPECT_DOUBLE_EQ(amount1(old60), 7.7); // group 2 wins for a code both carry
    EXPECT_DOUBLE_EQ(amount1(young60), 7.7);
    EXPECT_DOUBLE_EQ(amount1(other60), 7.7);
    EXPECT_DOUBLE_EQ(amount1(old61), 2.4);
    EXPECT_DOUBLE_EQ(amount1(old63), 9.0);
    EXPECT_DOUBLE_EQ(amount1(old64), 1.0);
    EXPECT_DOUBLE_EQ(amount1(young62), 0.5);
}

TEST_F(BulkOperations, NegativeNetsAndType145Lists)
{
    // An advance larger than the pay leaves the second employee owing.
    addDefinition(30, 6);
    addDefinition(31, 142);
    for (const int p : {active1, active2}) {
        addItem(p, 30, 6, 0, 120);
        addItem(p, 1000, 100, 0, 0);
        addItem(p, 2000, 200, 0, 0);
        addItem(p, 2010, 201, 0, 0);
    }
    addItem(active2, 31, 142, 0, 155.5);
    const auto list = operations::negativeNets(data(), params);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].number, 2);
    EXPECT_EQ(list[0].name, QStringLiteral("Втори"));
    EXPECT_LT(list[0].amount, 0.0);
    EXPECT_EQ(list[0].amount, amount(active2, 201));
    data().deleteRows(table(u"PERA"), QStringLiteral("PERO_TYPE=142"));
    EXPECT_TRUE(operations::negativeNets(data(), params).empty());
    EXPECT_EQ(operations::noNegativeNets(), QStringLiteral("Няма намерени."));

    addDefinition(45, 145);
    addDefinition(46, 6);
    addItem(dismissed, 45, 145, 0, 99);
    util::RecordingPrompter p;
    EXPECT_FALSE(operations::insertType145(data(), 46, {{active1, 10}}, p));
    EXPECT_EQ(operations::insertType145(data(), 45, {{active1, 10.5}, {active2, 20}, {active1, 30}}, p), 2);
    EXPECT_EQ(itemsOf(45), 2);
    EXPECT_EQ(value(QStringLiteral("select PERO_SUMA1 from %1 where PERO_COD=45 and PERO_PERSONID=?").arg(table(u"PERA")), {active1})
                  .toDouble(),
              10.5);
}
