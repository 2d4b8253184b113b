#include "employees/Chooser.h"
#include "employees/Employees.h"
#include "items/Items.h"
#include "storage/fb/Statement.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <vector>

#include <optional>

using namespace plavex;
using plavex::test::TestDatabase;

namespace {

employees::NewEmployee person(const char *number, const char *name, const char *egn)
{
    return {QString::fromUtf8(number), QString::fromUtf8(name), QString::fromUtf8(egn)};
}

QString text(TestDatabase &t, const QString &sql, const QVariantList &values = {})
{
    return fb::Statement::scalar(t.data->transaction(), sql, values).toString();
}

} // namespace

TEST(Employees, SexUnitAndTheFourStandardItems)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    util::RecordingPrompter p;
    employees::EmployeePanel two(*t.data, 100);
    const int a = two.create(person("1234", "О'Нийл, Иван", "7501020002"), p);
    ASSERT_GT(a, 0) << p.messages.join(u'|').toStdString();
    EXPECT_TRUE(two.pending());
    EXPECT_EQ(two.save(a), QString());
    EXPECT_FALSE(two.pending());

    employees::EmployeePanel three(*t.data, 1000);
    const int b = three.create(person("1234", "Петрова", "7501020070"), p);
    EXPECT_EQ(b, 0); // the number is taken
    EXPECT_EQ(p.messages.value(0), QStringLiteral("В базата данни вече съществува служител с този номер.\n"
                                                  "Моля въведете друг номер или натиснете бутона \"ОТКАЗ\"."));
    const int c = three.create(person("1235", "Петрова", "7552020071"), p);
    ASSERT_GT(c, 0);

    const QString persons = t.data->table(u"PERSONS");
    EXPECT_EQ(text(t, QStringLiteral("select PERSON_IME from %1 where PERSON_ID=?").arg(persons), {a}), QStringLiteral("О'Нийл, Иван"));
    EXPECT_EQ(t.scalar(QStringLiteral("select PERSON_ZVENO from %1 where PERSON_ID=?").arg(persons), {a}), 12);
    EXPECT_EQ(t.scalar(QStringLiteral("select PERSON_ZVENO from %1 where PERSON_ID=?").arg(persons), {c}), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select PERSON_POL from %1 where PERSON_ID=?").arg(persons), {a}), 1); // ninth digit 0
    EXPECT_EQ(t.scalar(QStringLiteral("select PERSON_POL from %1 where PERSON_ID=?").arg(persons), {c}), 2); // ninth digit 7
    EXPECT_EQ(text(t, QStringLiteral("select PERSON_NOS from %1 where PERSON_ID=?").arg(persons), {a}), QStringLiteral("01"));

    fb::Statement q(t.data->transaction(),
                    QStringLiteral("select PERO_PEROID, PERO_COD, PERO_TYPE from %1 where PERO_PERSONID=? order by PERO_PEROID")
                        .arg(t.data->table(u"PERA")));
    q.bind(0, a);
    const int expected[][3] = {{1, 2010, 201}, {2, 2000, 200}, {3, 1000, 100}, {4, 101, 140}};
    for (const auto &row : expected) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.toInt(0), row[0]);
        EXPECT_EQ(q.toInt(1), row[1]);
        EXPECT_EQ(q.toInt(2), row[2]);
    }
    EXPECT_FALSE(q.next());

    const struct {
        const char *egn;
        int sex;
    } sexes[] = {{"7501020008", 1}, {"7501020078", 2}, {"7501020048", 1}, {"7501020002", 1}, {"75010", 1}};
    for (const auto &s : sexes)
        EXPECT_EQ(employees::sexFromEgn(QLatin1String(s.egn)), s.sex) << s.egn;
}

TEST(Employees, CancelOnlyUndoesThePendingNewEmployee)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    util::RecordingPrompter p;
    employees::EmployeePanel panel(*t.data, 100);
    const int a = panel.create(person("1", "Иванов", "7501020018"), p);
    panel.cancel();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from %1").arg(t.data->table(u"PERSONS"))), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from %1 where PERO_PERSONID=?").arg(t.data->table(u"PERA")), {a}), 0);

    const int b = panel.create(person("1", "Иванов", "7501020018"), p);
    EXPECT_EQ(panel.save(b), QString());
    panel.cancel();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from %1").arg(t.data->table(u"PERSONS"))), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from %1").arg(t.data->table(u"PERA"))), 4);

    // The new-employee checks.
    EXPECT_EQ(panel.create(person("2", "", "7501020018"), p), 0);
    EXPECT_EQ(p.messages.last(), QStringLiteral("Моля попълнете и трите полета или натиснете бутона \"ОТКАЗ\"."));
    for (const char *bad : {"750102001", "75010200AB", "7513020018", "7501020019"}) {
        EXPECT_EQ(panel.create(person("3", "Петров", bad), p), 0) << bad;
        EXPECT_EQ(p.messages.last(), QStringLiteral("Моля въведете валидно ЕГН или натиснете бутона \"ОТКАЗ\"."));
    }
    EXPECT_TRUE(employees::checkPanelEgn(QStringLiteral("7501020018")).isEmpty());
    EXPECT_FALSE(employees::checkPanelEgn(QStringLiteral("1234567890")).isEmpty());
}

TEST(Employees, DeleteOnlyADismissedEmployeeOfThisMonth)
{
    TestDatabase t(util::Period(2008, 1));
    ASSERT_TRUE(t.open());
    util::RecordingPrompter yes(true);
    employees::EmployeePanel january(*t.data, 100);
    const int id = january.create(person("7", "Колев", "7501020018"), yes);
    january.save(id);

    t.data->changePeriod(2008, 2);
    employees::EmployeePanel february(*t.data, 100);
    ASSERT_EQ(february.create(person("7", "Колев", "7501020018"), yes), id);
    february.save(id);
    EXPECT_FALSE(february.remove(id, yes)); // still active
    february.post(id, {{QStringLiteral("PERSON_ACT"), 0}});
    ASSERT_TRUE(february.remove(id, yes));
    EXPECT_EQ(yes.questions.last(), QStringLiteral("Сигурни ли сте, че искате да изтриете данните за служител с номер 7?"));
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERSONS022008")), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERA022008")), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERSONS012008")), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from PERA012008")), 4);
}

TEST(Employees, QuickSearchIsACaseInsensitiveCyrillicPrefix)
{
    TestDatabase t;
    ASSERT_TRUE(t.open());
    util::RecordingPrompter p;
    employees::EmployeePanel panel(*t.data, 100);
    const int ivan = panel.create(person("10", "ИВАНОВ Иван", "7501020018"), p);
    panel.save(ivan);
    const int petya = panel.create(person("11", "Петя 100% Петрова", "7501020070"), p);
    panel.save(petya);

    // By name (a case-insensitive prefix; the user's "%" is a letter) and by number.
    struct Case {
        bool byName;
        QString text;
        std::optional<int> found;
    };
    const std::vector<Case> cases = {
        {true, QStringLiteral("ива"), ivan},        {true, QStringLiteral("петя 100%"), petya},
        {true, QStringLiteral("%"), std::nullopt},  {true, QStringLiteral("' or ''='"), std::nullopt},
        {true, QString(60, QChar(u'я')), std::nullopt}, {false, QStringLiteral("11"), petya},
        {false, QStringLiteral("99"), std::nullopt},
    };
    for (const Case &c : cases) {
        const auto r = c.byName ? employees::quickSearchByName(*t.data, c.text) : employees::quickSearchByNumber(*t.data, c.text);
        EXPECT_EQ(r.id, c.found) << c.text.toStdString();
    }
    EXPECT_EQ(employees::quickSearchByName(*t.data, QStringLiteral(" ")).message,
              QStringLiteral("Моля въведете данни в полето за име на служител."));

    const auto found = employees::searchEmployees(*t.data, QStringLiteral("1"), QStringLiteral("пет"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, petya);
    EXPECT_EQ(employees::searchEmployees(*t.data, QStringLiteral("1"), QString()).size(), 2u);

    const auto rows = employees::chooserRows(*t.data, employees::ChooserKind::Employees);
    EXPECT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(employees::chooserNewCode(*t.data, employees::ChooserKind::Units), 1);
    EXPECT_EQ(employees::chooserCaption(employees::ChooserKind::Positions), QStringLiteral("Избор на длъжност"));
}

TEST(Employees, EditRulesAndContributionLabels)
{
    EXPECT_TRUE(employees::editRules(false, true).editable);
    EXPECT_TRUE(employees::editRules(true, false).editable);
    EXPECT_FALSE(employees::editRules(false, false).editable);
    EXPECT_TRUE(employees::editRules(false, false).deleteEnabled);
    EXPECT_FALSE(employees::editRules(true, false).deleteEnabled);

    const QVariantMap rate{{"NOI_PROC", 26.5},      {"NOI_PROC_PENSIA", 22.0}, {"NOI_PROC_PKB", 1.0},   {"NOI_PROC_ZAB", 3.5},
                           {"NOI_PROC_LI", 7.95},   {"NOI_PENSI_LI", 6.6},     {"NOI_PKB_LI", 0.2},     {"NOI_ZAB_LI", 1.05},
                           {"NOI_PROC60", 21.5},    {"NOI_PROC_PENSIA60", 17}, {"NOI_PROC_PKB60", 1.0}, {"NOI_PROC_ZAB60", 3.5},
                           {"NOI_PROC_DZPO60", 5},  {"NOI_PROC_LI60", 9.45},   {"NOI_PENSI_LI60", 5.1}, {"NOI_PKB_LI60", 0.2},
                           {"NOI_ZAB_LI60", 1.05},  {"NOI_DZPO_LI60", 2.2}};
    const auto young = employees::contributionLabels(rate, QStringLiteral("6101010000"));
    EXPECT_EQ(young.first, QStringLiteral("Процент ДОО 21.500= 17.000%(пенсия) + 1.000%(ПКБ) + 3.500%(заболяване),  5.000%(ДЗПО)"));
    EXPECT_EQ(young.second, QStringLiteral("9.450=  5.100%(пенсия) + 0.200%(ПКБ) + 1.050%(заболяване),  2.200%(ДЗПО)"));
    const auto old = employees::contributionLabels(rate, QStringLiteral("5901010000"));
    EXPECT_EQ(old.first, QStringLiteral("Процент ДОО = 26.500= 22.000%(пенсия) + 1.000%(ПКБ) + 3.500%(заболяване)"));
    EXPECT_EQ(old.second, QStringLiteral("7.950=  6.600%(пенсия) + 0.200%(ПКБ) + 1.050%(заболяване)"));
    EXPECT_EQ(employees::contributionLabels(rate, QStringLiteral("  ")), (std::pair<QString, QString>{}));
}
