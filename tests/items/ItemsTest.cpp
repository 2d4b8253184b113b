#include "employees/Employees.h"
#include "items/Definitions.h"
#include "items/Items.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace plavex;
using plavex::test::TestDatabase;

namespace {

class ItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.open());
        util::RecordingPrompter p;
        employees::EmployeePanel panel(*t.data, 100);
        person = panel.create({QStringLiteral("5"), QStringLiteral("Димитрова"), QStringLiteral("7501020018")}, p);
        panel.save(person);
        for (auto [code, type] : std::initializer_list<std::pair<int, int>>{
                 {10, 1}, {11, 11}, {12, 10}, {13, 33}, {14, 144}, {15, 145}, {16, 139}, {17, 27}})
            items::addDefinition(*t.data, items::makeDefinition(code, type, QStringLiteral("Перо %1").arg(code), {}));
    }

    items::ItemRecord record(int code, int type)
    {
        items::ItemRecord r;
        r.person = person;
        r.code = code;
        r.type = type;
        return r;
    }

    qint64 count() { return t.scalar(QStringLiteral("select count(*) from %1").arg(t.data->table(u"PERA"))); }

    TestDatabase t;
    int person = 0;
};

} // namespace

TEST_F(ItemsTest, InsertTakesTheColumnsOfItsType)
{
    const qint64 before = count();
    EXPECT_EQ(items::insertItem(*t.data, record(12, 10)), 0);
    EXPECT_EQ(items::insertItem(*t.data, record(13, 33)), 0);
    EXPECT_EQ(count(), before);

    items::ItemRecord leave = record(11, 11);
    leave.d = 3;
    leave.begin = QDate(2008, 1, 14);
    const int leaveId = items::insertItem(*t.data, leave);
    ASSERT_GT(leaveId, 0);
    const auto stored = items::itemById(*t.data, leaveId);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->begin, QDate(2008, 1, 14));
    EXPECT_FALSE(stored->hasEnd()); // the sentinel went in as NULL
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from %1 where PERO_PEROID=? and PERO_ENDDATE is null").arg(t.data->table(u"PERA")),
                       {leaveId}),
              1);

    items::ItemRecord loan = record(14, 144);
    loan.amount1 = 100.125;
    loan.amount2 = 50;
    loan.d = 6;
    loan.partida = QStringLiteral("ДСК 'Център', №5");
    const auto loanBack = items::itemById(*t.data, items::insertItem(*t.data, loan));
    ASSERT_TRUE(loanBack);
    EXPECT_EQ(loanBack->partida, loan.partida);
    EXPECT_DOUBLE_EQ(loanBack->amount1, 100.125);
    EXPECT_EQ(loanBack->d, 6);

    items::ItemRecord contribution = record(16, 139);
    contribution.amount1 = 2.2;
    contribution.d = 9; // not a column of this type
    const auto back = items::itemById(*t.data, items::insertItem(*t.data, contribution));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->d, 0);
}

TEST_F(ItemsTest, EntryAddsEditsAndNeverDeletesTotals)
{
    items::ItemEntry entry(*t.data);
    EXPECT_EQ(items::checkItemCode(*t.data, QString()),
              QStringLiteral("Това поле е задължително!\nМоля въведете код на перо или натиснете бутона \"ОТКАЗ\""));
    EXPECT_TRUE(items::checkItemCode(*t.data, QStringLiteral("999")).startsWith(QStringLiteral("Кодът на перо")));
    int type = 0;
    EXPECT_TRUE(items::checkItemCode(*t.data, QStringLiteral("15"), &type).isEmpty());
    EXPECT_EQ(type, 145);

    items::ItemRecord r;
    r.code = 15;
    r.amount1 = 40;
    const int id = entry.add(person, r);
    EXPECT_EQ(entry.lastCode(), 15);
    auto stored = items::itemById(*t.data, id);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, 145);
    stored->amount1 = 45;
    EXPECT_TRUE(entry.edit(*stored));
    EXPECT_DOUBLE_EQ(items::itemById(*t.data, id)->amount1, 45.0);

    util::RecordingPrompter yes(true);
    const auto all = items::employeeItems(*t.data, person);
    // The three totals and the tax item are there to be refused.
    for (int type : {100, 200, 201, 140}) {
        const auto found = std::find_if(all.begin(), all.end(), [type](const auto &i) { return i.type == type; });
        ASSERT_NE(found, all.end()) << type;
        if (type == 140)
            EXPECT_FALSE(entry.edit(*found));
        else
            EXPECT_FALSE(entry.remove(found->id, yes)) << type;
    }
    EXPECT_TRUE(entry.remove(id, yes));
    EXPECT_EQ(yes.questions.last(), QStringLiteral("Сигурни ли сте, че искате да изтриете перо номер 15 „Перо 15“?"));
    EXPECT_EQ(items::employeeItems(*t.data, person).size(), 4u);
}

TEST(ItemPages, LayoutByTypePaySystemAndYear)
{
    using items::PageMode;
    const util::Period y2006(2006, 5), y2007(2007, 12);
    EXPECT_EQ(items::pageLayout(1, 3, y2007, PageMode::EditForm)[1].caption, QStringLiteral("Часове"));
    EXPECT_EQ(items::pageLayout(1, 4, y2007, PageMode::EditForm)[1].caption, QStringLiteral("Сума ИРЗ"));
    EXPECT_EQ(items::pageLayout(1, 6, y2007, PageMode::EditForm)[1].caption, QStringLiteral("Променена сума"));
    EXPECT_TRUE(items::pageLayout(1, 1, y2007, PageMode::Dialog).empty());
    EXPECT_EQ(items::pageLayout(27, 1, y2006, PageMode::EditForm).size(), 3u);
    EXPECT_EQ(items::pageLayout(27, 1, y2007, PageMode::EditForm).size(), 6u);
    EXPECT_EQ(items::pageLayout(21, 1, y2007, PageMode::EditForm).size(), 3u);
    EXPECT_EQ(items::pageLayout(21, 1, y2007, PageMode::Dialog).size(), 4u);
    const auto advance = items::pageLayout(142, 1, y2007, PageMode::EditForm);
    EXPECT_EQ(advance[0].caption, QStringLiteral("Сума за декември"));
    EXPECT_EQ(advance[1].caption, QStringLiteral("Сума за януари"));
    EXPECT_TRUE(items::pageLayout(140, 1, y2007, PageMode::EditForm).empty());

    items::ItemRecord r;
    const auto loan = items::pageLayout(144, 1, y2007, PageMode::Dialog);
    EXPECT_EQ(items::collectDialog(144, 70, {QStringLiteral("100"), QString(), QStringLiteral("3"), QString()}, loan, r),
              QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\""));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(items::collectDialog(144, 70, {QStringLiteral("100"), QStringLiteral("20.5"), QStringLiteral("3"), QStringLiteral("П-1")}, loan, r),
              QString());
    EXPECT_EQ(r.code, 70);
    EXPECT_EQ(r.type, 144);
    EXPECT_DOUBLE_EQ(r.amount2, 20.5);
    EXPECT_EQ(r.partida, QStringLiteral("П-1"));

    const auto sick = items::pageLayout(21, 1, y2007, PageMode::Dialog);
    items::ItemRecord s;
    EXPECT_EQ(items::collectDialog(21, 9, {QStringLiteral("05.12.2007"), QStringLiteral("07.12.2007"), QStringLiteral("3"),
                                            QStringLiteral("Б123")},
                                   sick, s),
              QString());
    EXPECT_EQ(s.begin, QDate(2007, 12, 5));
    EXPECT_EQ(s.certificate, QStringLiteral("Б123"));
}
