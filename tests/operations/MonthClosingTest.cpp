#include "calc/Parameters.h"
#include "operations/MonthClosing.h"
#include "reference/Calendar.h"
#include "storage/fb/Connection.h"
#include "storage/fb/Transaction.h"
#include "tests/support/MonthFixture.h"
#include "util/CodePage.h"

#include <QFile>

#include <stdexcept>

using namespace plavex;
using operations::CarriedItem;
using operations::ServiceLength;

namespace {

const QDate kFirstOfFebruary(2008, 2, 1);

class MonthClosing : public test::MonthFixture {
protected:
    MonthClosing() : MonthFixture(util::Period(2008, 1)) {}
    // Without parameters the months are closed as stored, as the fixture wrote them.
    operations::ClosingResult close(util::Prompter &prompter, calc::Parameters *params = nullptr)
    {
        return operations::closeMonth(data(), prompter, params);
    }
    operations::ClosingResult close() { return close(t.prompter); }
    QByteArray endmes()
    {
        QFile f(t.dir.path() + QStringLiteral("ENDMES.TXT"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ServiceLength service(int person, const char *which)
    {
        const QString prefix = QStringLiteral("PERSON_STAV") + QLatin1String(which);
        const QString sql = QStringLiteral("select %1 from %2 where PERSON_ID=?").arg(QStringLiteral("%1"), table(u"PERSONS"));
        return {static_cast<int>(scalar(sql.arg(prefix + u'Y'), {person})), static_cast<int>(scalar(sql.arg(prefix + u'M'), {person})),
                static_cast<int>(scalar(sql.arg(prefix + u'D'), {person}))};
    }
    QVariant personValue(int person, const char *column)
    {
        return value(QStringLiteral("select %1 from %2 where PERSON_ID=?").arg(QLatin1String(column), table(u"PERSONS")), {person});
    }
    QVariant itemValue(int item, const char *column)
    {
        return value(QStringLiteral("select %1 from %2 where PERO_PEROID=?").arg(QLatin1String(column), table(u"PERA")), {item});
    }
};

// A prompter whose progress callback fails once the closing passes a point.
class FailingPrompter : public util::RecordingPrompter {
public:
    explicit FailingPrompter(int from, int to) : from_(from), to_(to) {}
    void progressStep(int done, int total) override
    {
        const int percent = done * 100 / total;
        steps.push_back(percent);
        if (percent > from_ && percent < to_)
            throw std::runtime_error("прекъснато");
    }
    std::vector<int> steps;

private:
    int from_;
    int to_;
};

} // namespace

TEST(MonthClosingRules, LengthOfService)
{
    const int d31 = 31;
    struct Case {
        ServiceLength before;
        std::optional<operations::MonthDays> days;
        int monthDays;
        ServiceLength after;
    } cases[] = {
        {{3, 4, 5}, std::nullopt, d31, {3, 4, 5}},            // no summary row
        {{3, 4, 5}, operations::MonthDays{0, 0, 23}, d31, {3, 4, 5}}, // no days worked
        {{3, 4, 5}, operations::MonthDays{23, 0, 23}, d31, {3, 5, 5}},
        {{3, 11, 5}, operations::MonthDays{23, 0, 23}, d31, {4, 0, 5}},
        {{0, 0, 0}, operations::MonthDays{20, 5, 23}, d31, {0, 0, 26}},
        {{0, 0, 10}, operations::MonthDays{20, 5, 23}, d31, {0, 1, 6}},
        {{1, 11, 29}, operations::MonthDays{1, 0, 20}, 29, {2, 0, 28}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(operations::advanceService(c.before, c.days, c.monthDays), c.after)
            << c.before.years << "y" << c.before.months << "m" << c.before.days << "d";
}

TEST(MonthClosingRules, ItemCarryOver)
{
    const QDate first = kFirstOfFebruary;
    const QString none = QStringLiteral("0000000000");
    const QString one = QStringLiteral("1000000000");
    const QString three = QStringLiteral("0010000000");
    auto item = [](int type, const QString &flags, int paySystem, double amount, double amount1, double amount2 = 0,
                   int d = 0, const QDate &end = {}) {
        CarriedItem i;
        i.type = type;
        i.flags = flags;
        i.paySystem = paySystem;
        i.amount = amount;
        i.amount1 = amount1;
        i.amount2 = amount2;
        i.d = d;
        i.end = end;
        return i;
    };
    struct Case {
        const char *what;
        CarriedItem item;
        bool removed;
        std::optional<double> amount, amount1, amount2;
        std::optional<int> d;
        int paid = 0, unpaid = 0;
    } cases[] = {
        {"one-month type dropped", item(6, none, 1, 0, 50), true, {}, {}, {}, {}},
        {"one-month type kept by flag 1", item(139, one, 1, 5, 12.9), false, {}, {}, {}, {}},
        {"type 1, pay system 1: new salary", item(1, none, 1, 0, 800, 900), false, {}, 900.0, 0.0, {}},
        {"type 1, pay system 4: change dropped", item(1, none, 4, 0, 800, 900), false, {}, {}, 0.0, {}},
        {"type 1, pay system 3: untouched", item(1, none, 3, 0, 800, 160), false, {}, {}, {}, {}},
        {"type 2", item(2, none, 0, 0, 40, 45), false, {}, 45.0, 0.0, {}},
        {"type 5", item(5, none, 0, 0, 50, 8, 3), false, {}, {}, {}, 0},
        {"type 9", item(9, none, 0, 0, 2, 3), false, {}, {}, 0.0, {}},
        {"leave ending in the old month", item(11, none, 0, 0, 0, 0, 5, QDate(2008, 1, 31)), true, {}, {}, {}, {}},
        {"leave without an end", item(11, none, 0, 0, 0, 0, 5, QDate()), true, {}, {}, {}, {}},
        {"leave running on", item(11, none, 0, 0, 0, 0, 5, first), false, {}, {}, {}, {}},
        {"sickness with flag 3 counts as paid leave", item(21, three, 0, 0, 0, 0, 4, QDate(2008, 1, 20)), true, {}, {}, {}, {}, 4},
        {"sickness without flag 3", item(26, none, 0, 0, 0, 0, 4, QDate(2008, 2, 3)), false, {}, {}, {}, {}},
        {"unpaid leave", item(14, none, 0, 0, 0, 0, 2, QDate(2008, 2, 3)), false, {}, {}, {}, {}, 0, 2},
        {"advance", item(142, none, 0, 0, 200, 150), false, {}, 150.0, {}, {}},
        {"instalments: one paid", item(143, none, 0, 300, 100), false, 200.0, {}, {}, {}},
        {"instalments: the last paid", item(143, none, 0, 100, 100), true, {}, {}, {}, {}},
        {"instalments: less left than one", item(143, none, 0, 50, 100), true, {}, {}, {}, {}},
        {"144 without a first instalment", item(144, none, 0, 0, 0, 30, 5), false, {}, {}, {}, {}},
        {"144 first instalment paid", item(144, none, 0, 0, 80, 30, 5), false, {}, {}, 0.0, {}},
        {"144 counting down", item(144, none, 0, 0, 80, 0, 5), false, {}, {}, {}, 4},
        {"144 last one", item(144, none, 0, 0, 80, 0, 1), true, {}, {}, {}, 0},
        {"144 count already spent", item(144, none, 0, 0, 80, 0, 0), true, {}, {}, {}, -1},
        {"other types stay", item(140, none, 0, 55, 0), false, {}, {}, {}, {}},
    };
    for (const Case &c : cases) {
        const operations::CarryOver r = operations::carryOver(c.item, first);
        EXPECT_EQ(r.remove, c.removed) << c.what;
        EXPECT_EQ(r.amount, c.amount) << c.what;
        EXPECT_EQ(r.amount1, c.amount1) << c.what;
        EXPECT_EQ(r.amount2, c.amount2) << c.what;
        EXPECT_EQ(r.d, c.d) << c.what;
        EXPECT_EQ(r.paidLeave, c.paid) << c.what;
        EXPECT_EQ(r.unpaidLeave, c.unpaid) << c.what;
    }
}

class DecemberClosing : public MonthClosing {
protected:
    DecemberClosing() { t.settings.lastDate = util::Period(2007, 12); }
};

TEST_F(DecemberClosing, OpensTheNewYear)
{
    const util::Period december(2007, 12);
    ASSERT_EQ(data().period(), december);
    // Service rolls into a new year for the first, by days for the second.
    const int full = addPerson(7, QStringLiteral("Иванов"), {{"PERSON_STAV1Y", 4}, {"PERSON_STAV1M", 11}, {"PERSON_STAV1D", 3},
                                                            {"PERSON_STAV2Y", 1}, {"PERSON_STAV2M", 2}, {"PERSON_STAV2D", 0},
                                                            {"PERSON_OTP", 12}, {"PERSON_NOTP", 3}});
    const int part = addPerson(12, QStringLiteral("Петрова"), {{"PERSON_STAV1D", 10}, {"PERSON_STAV2D", 10}, {"PERSON_OTP", 4}});
    addSummary(full, december, 21, 0, 21);
    addSummary(part, december, 20, 5, 21);
    data().insertValues(table(u"CAL"), QStringLiteral("CAL_COD,CAL_IME,CAL_MESEC,CAL_GODINA,CAL_RABDNI"),
                        {1, QStringLiteral("Петдневна"), 12, 2007, QString(31, QLatin1Char('0'))});
    data().commitRetaining();

    ASSERT_EQ(close(), operations::ClosingResult::Closed) << t.prompter.messages.join(u'|').toStdString();
    const util::Period january(2008, 1);
    EXPECT_EQ(data().period(), january);
    EXPECT_EQ(storedPeriod(), QStringLiteral("012008"));
    EXPECT_TRUE(t.prompter.questions.isEmpty());

    // The year's tables, seeded.
    EXPECT_EQ(rows(QStringLiteral("KAT2008")), 9);
    EXPECT_TRUE(data().schema().tableExists(QStringLiteral("NOI2008")));
    EXPECT_TRUE(data().schema().tableExists(QStringLiteral("DOD2008")));

    EXPECT_EQ(service(full, "1"), (ServiceLength{5, 0, 3}));
    EXPECT_EQ(service(full, "2"), (ServiceLength{1, 3, 0}));
    EXPECT_EQ(service(part, "1"), (ServiceLength{0, 1, 6}));
    EXPECT_EQ(service(part, "2"), (ServiceLength{0, 1, 6}));
    for (const int person : {full, part}) {
        EXPECT_EQ(personValue(person, "PERSON_OTP").toInt(), 0);
        EXPECT_EQ(personValue(person, "PERSON_NOTP").toInt(), 0);
    }

    EXPECT_EQ(scalar(QStringLiteral("select CAL_MESEC from %1").arg(table(u"CAL"))), 1);
    EXPECT_EQ(scalar(QStringLiteral("select CAL_GODINA from %1").arg(table(u"CAL"))), 2008);
    EXPECT_EQ(value(QStringLiteral("select CAL_RABDNI from %1").arg(table(u"CAL"))).toString(),
              reference::defaultMonthText(5, january.firstDay()));
    EXPECT_EQ(value(QStringLiteral("select FIRMA_CURMES from %1").arg(table(u"FIRMA"))).toDate(), january.firstDay());
    // The closed month keeps what it had.
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_OTP from %1 where PERSON_ID=?").arg(table(u"PERSONS", december)), {full}), 12);

    QByteArray expected = util::toCp1251(QStringLiteral("Лица с променен трудож стаж от Януари 2008 г.")) + "\r\n";
    expected += util::toCp1251(QStringLiteral("Номер   Име                                  Стаж   Кат. Стар % Нов %")) + "\r\n";
    expected += "7" + util::toCp1251(QStringLiteral("Иванов").leftJustified(50)) + util::toCp1251(QStringLiteral("3д 0м 5г")) + "\r\n";
    EXPECT_EQ(endmes(), expected);
}

TEST_F(MonthClosing, DismissalDecidesWhoStaysActive)
{
    struct Case {
        QVariant dismissed;
        int active;
    } cases[] = {
        {QVariant(), 1},
        {QDate(1899, 12, 30), 1}, // an older release's "no date"
        {QDate(2008, 1, 31), 0}, // in the closed month
        {QDate(2008, 2, 15), 0}, // in the new month
        {QDate(2008, 3, 1), 1},  // the month after
        {QDate(2008, 3, 20), 1},
    };
    std::vector<int> ids;
    for (const Case &c : cases)
        ids.push_back(addPerson(static_cast<int>(ids.size()) + 1, QStringLiteral("Служител"),
                                {{"PERSON_DATAUWOL", c.dismissed}, {"PERSON_ACT", 1 - c.active}}));
    ASSERT_EQ(close(), operations::ClosingResult::Closed);
    for (size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(personValue(ids[i], "PERSON_ACT").toInt(), cases[i].active) << cases[i].dismissed.toDate().toString().toStdString();
}

TEST_F(MonthClosing, ItemsFollowTheirTypeAndFlags)
{
    addDefinition(30, 6, QStringLiteral("1000000000")); // one-month, carried by flag 1
    addDefinition(31, 6);                               // one-month
    addDefinition(21, 21, QStringLiteral("0010000000"));
    addDefinition(43, 143);
    addDefinition(10, 1);
    const int p = addPerson(1, QStringLiteral("Стоянов"), {{"PERSON_SYSZ", 2}}); // PERSON_OTP left NULL
    const int kept = addItem(p, 30, 6, 120, 120, QVariant(), QVariant(), QVariant());
    const int dropped = addItem(p, 31, 6, 80, 80);
    const int sick = addItem(p, 21, 21, 0, 0, 0, 3, QDate(2008, 1, 18));
    const int loan = addItem(p, 43, 143, 300, 100);
    const int salary = addItem(p, 10, 1, 0, 900, 950);

    ASSERT_EQ(close(), operations::ClosingResult::Closed);
    EXPECT_EQ(itemValue(kept, "PERO_SUMA1").toDouble(), 120.0);
    EXPECT_TRUE(itemValue(kept, "PERO_SUMA2").isNull()); // columns the rules do not touch stay as they were
    EXPECT_FALSE(itemValue(dropped, "PERO_PEROID").isValid());
    EXPECT_FALSE(itemValue(sick, "PERO_PEROID").isValid());
    EXPECT_EQ(personValue(p, "PERSON_OTP").toInt(), 3); // NULL counted as 0
    EXPECT_EQ(itemValue(salary, "PERO_SUMA1").toDouble(), 950.0);
    EXPECT_EQ(itemValue(salary, "PERO_SUMA2").toDouble(), 0.0);

    // 300 by 100: 200, 100, then gone.
    EXPECT_EQ(itemValue(loan, "PERO_SUMA").toDouble(), 200.0);
    ASSERT_EQ(close(), operations::ClosingResult::Closed);
    EXPECT_EQ(itemValue(loan, "PERO_SUMA").toDouble(), 100.0);
    ASSERT_EQ(close(), operations::ClosingResult::Closed);
    EXPECT_FALSE(itemValue(loan, "PERO_PEROID").isValid());
    EXPECT_EQ(data().period(), util::Period(2008, 4));
    EXPECT_EQ(itemValue(kept, "PERO_SUMA1").toDouble(), 120.0);
}

TEST_F(MonthClosing, ClosingOntoAnExistingMonthAsksThenCopiesAfresh)
{
    const int a = addPerson(1, QStringLiteral("Първи"));
    addDefinition(10, 1);
    addItem(a, 10, 1, 0, 700);
    ASSERT_EQ(close(), operations::ClosingResult::Closed);
    const util::Period january(2008, 1), february(2008, 2);
    // February gets work of its own, then January is changed and closed again.
    addPerson(2, QStringLiteral("Само във февруари"));
    data().changePeriod(2008, 1);
    const int late = addItem(a, 10, 1, 0, 750);

    util::RecordingPrompter no(false);
    EXPECT_EQ(close(no), operations::ClosingResult::Declined);
    ASSERT_EQ(no.questions.size(), 1);
    EXPECT_EQ(no.questions[0], QStringLiteral("Вече съществуват таблици за новия месец.\nСигурни ли сте,че искате да "
                                              "продължите?\nАко продължите информацията ще бъде изтрита"));
    EXPECT_EQ(data().period(), january);
    EXPECT_EQ(storedPeriod(), QStringLiteral("012008"));
    EXPECT_EQ(rows(table(u"PERSONS", february)), 2);

    util::RecordingPrompter yes(true);
    ASSERT_EQ(close(yes), operations::ClosingResult::Closed);
    EXPECT_EQ(yes.questions.size(), 1);
    EXPECT_EQ(data().period(), february);
    EXPECT_EQ(rows(table(u"PERSONS")), 1);
    EXPECT_EQ(rows(table(u"FIRMA")), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1 where PERO_PEROID=?").arg(table(u"PERA")), {late}), 1);
    EXPECT_EQ(rows(table(u"PERA")), rows(table(u"PERA", january)));
}

TEST_F(MonthClosing, AFailureLeavesTheOldMonthAsItWas)
{
    for (int i = 1; i <= 6; ++i) {
        const int p = addPerson(i, QStringLiteral("Служител %1").arg(i), {{"PERSON_STAV1D", 3}});
        addSummary(p, util::Period(2008, 1), 22, 0, 22);
        addItem(p, 1000, 100, 0, 0);
    }
    t.dir.writeFile(QStringLiteral("ENDMES.TXT"), "earlier\r\n");
    const util::Period january(2008, 1), february(2008, 2);

    // Stop in the middle of the employees' carry-over: some are updated by then.
    FailingPrompter failing(70, 80);
    EXPECT_EQ(close(failing), operations::ClosingResult::Failed);
    ASSERT_FALSE(failing.steps.empty());
    EXPECT_GT(failing.steps.back(), 70);
    EXPECT_TRUE(failing.messages.value(0).contains(QStringLiteral("прекъснато"))) << failing.messages.join(u'|').toStdString();

    EXPECT_EQ(data().period(), january);
    EXPECT_EQ(storedPeriod(), QStringLiteral("012008"));
    for (const char *base : {"PERSONS", "PERA", "CAL", "DL", "GR", "PERADEFS", "ZVENA"})
        EXPECT_EQ(rows(table(QString::fromLatin1(base), february)), 0) << base;
    EXPECT_EQ(rows(table(u"PERSONS")), 6);
    EXPECT_EQ(endmes(), QByteArray("earlier\r\n"));

    // What another attachment sees while a closing runs (what a killed
    // process would leave): the old month, nothing of the new one.
    fb::Connection other;
    other.attach(data().databasePath(), t.settings.user, t.settings.password);
    class Watching : public util::RecordingPrompter {
    public:
        explicit Watching(fb::Connection &c, const QString &persons) : connection(c), persons(persons) {}
        void progressStep(int done, int) override
        {
            fb::Transaction look(connection);
            periods << fb::Statement::scalar(look, QStringLiteral("select PAR_CURDATE from MYPARAMS")).toString().trimmed();
            employees.push_back(fb::Statement::scalar(look, QStringLiteral("select count(*) from ") + persons).toLongLong());
            last = done;
            look.commit();
        }
        fb::Connection &connection;
        QString persons;
        QStringList periods;
        std::vector<qint64> employees;
        int last = 0;
    } watching(other, table(u"PERSONS", february));
    ASSERT_EQ(close(watching), operations::ClosingResult::Closed) << watching.messages.join(u'|').toStdString();
    EXPECT_EQ(watching.last, 100);
    ASSERT_FALSE(watching.employees.empty());
    ASSERT_FALSE(watching.periods.isEmpty());
    for (const QString &seen : watching.periods)
        EXPECT_EQ(seen, QStringLiteral("012008"));
    EXPECT_EQ(*std::max_element(watching.employees.begin(), watching.employees.end()), 0);
    {
        fb::Transaction look(other);
        EXPECT_EQ(fb::Statement::scalar(look, QStringLiteral("select PAR_CURDATE from MYPARAMS")).toString().trimmed(),
                  QStringLiteral("022008"));
        EXPECT_EQ(fb::Statement::scalar(look, QStringLiteral("select count(*) from ") + table(u"PERSONS", february)).toLongLong(), 6);
    }
    EXPECT_TRUE(endmes().startsWith(util::toCp1251(QStringLiteral("Лица с променен трудож стаж от Февруари 2008 г."))));
}

TEST_F(MonthClosing, TheWalkRecalculatesEveryoneFirst)
{
    const int a = addPerson(5, QStringLiteral("А"));
    const int b = addPerson(9, QStringLiteral("Б"), {{"PERSON_KALENDAR", 3}});
    for (const int p : {a, b}) {
        addItem(p, 1, 1, 0, 900.0);
        addItem(p, 1000, 100, 0, 0);
    }
    // Calendar 3 has no working day: its employee cannot be calculated.
    reference::ensureDefaultCalendars(data());
    data().insertValues(table(u"CAL"), QStringLiteral("CAL_COD,CAL_IME,CAL_MESEC,CAL_GODINA,CAL_RABDNI"),
                        {3, QStringLiteral("Празен"), 1, 2008, QString(31, QLatin1Char('0'))});
    data().commitRetaining();
    calc::Parameters params;
    params.attach(data());
    auto stored = [&](int person) {
        return scalar(QStringLiteral("select count(*) from PERSDATA where PERSDATA_PERSONID=? and PERSDATA_GOD=2008 and "
                                     "PERSDATA_MES=1"),
                      {person});
    };

    data().setAutocalc(false);
    ASSERT_EQ(close(t.prompter, &params), operations::ClosingResult::Closed);
    EXPECT_EQ(stored(a), 0);

    data().setAutocalc(true);
    data().changePeriod(2008, 1);
    util::RecordingPrompter yes;
    EXPECT_EQ(close(yes, &params), operations::ClosingResult::Failed);
    EXPECT_TRUE(yes.messages.value(0).contains(QStringLiteral("номер 9"))) << yes.messages.join(u'|').toStdString();
    EXPECT_EQ(data().period(), util::Period(2008, 1));

    fb::Statement::run(data().transaction(), QStringLiteral("update %1 set PERSON_KALENDAR=1 where PERSON_ID=?").arg(table(u"PERSONS")),
                       {b});
    data().commitRetaining();
    ASSERT_EQ(close(yes, &params), operations::ClosingResult::Closed);
    EXPECT_EQ(stored(a), 1);
    EXPECT_EQ(stored(b), 1);
}

TEST_F(MonthClosing, ChangingToAMonthNeverClosedIntoGivesEmptyTables)
{
    addPerson(1, QStringLiteral("Първи"));
    data().changePeriod(2008, 6);
    EXPECT_EQ(storedPeriod(), QStringLiteral("062008"));
    EXPECT_EQ(rows(table(u"PERSONS")), 0);
    EXPECT_EQ(rows(table(u"PERA")), 0);
    EXPECT_EQ(rows(table(u"FIRMA")), 1);
    data().changePeriod(2008, 1);
    EXPECT_EQ(rows(table(u"PERSONS")), 1);
}

TEST_F(MonthClosing, AMonthIsClosedOnlyWhenItsEmployeesWentOn)
{
    addPerson(1, QStringLiteral("Първи"));
    EXPECT_FALSE(operations::isMonthClosed(data()));
    ASSERT_EQ(close(), operations::ClosingResult::Closed);
    EXPECT_FALSE(operations::isMonthClosed(data())); // the newest month
    data().changePeriod(2008, 1);
    EXPECT_TRUE(operations::isMonthClosed(data()));
    // June was only switched to: its tables exist, but nobody was carried into them.
    data().changePeriod(2008, 6);
    data().changePeriod(2008, 5);
    EXPECT_FALSE(operations::isMonthClosed(data()));
}
