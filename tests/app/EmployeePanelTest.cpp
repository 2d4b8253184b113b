// The employee's personnel page ("Кадрова информация") in the main window.
#include "app/EmployeePanelWidget.h"
#include "app/ItemsPage.h"
#include "app/TableModel.h"
#include "items/Items.h"
#include "reference/Nomenclatures.h"
#include "storage/fb/Statement.h"
#include "tests/app/Fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, ADismissedEmployeeIsReadOnlyAndRed)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EmployeePanelWidget *panel = window->panel();
    EXPECT_FALSE(panel->field(QStringLiteral("PERSON_IME"))->isReadOnly());
    EXPECT_FALSE(window->deleteAction()->isEnabled());

    panel->activeBox()->click(); // dismissed
    QTest::qWait(20);            // the refresh follows the write
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_ACT from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")), {id}), 0);
    EXPECT_TRUE(panel->field(QStringLiteral("PERSON_IME"))->isReadOnly());
    EXPECT_FALSE(panel->insuranceList()->isEnabled());
    EXPECT_TRUE(panel->activeBox()->isEnabled()); // can be taken back
    EXPECT_TRUE(panel->styleSheet().contains(QStringLiteral("red")));
    const QModelIndex row = window->employeeModel()->index(0, 2);
    EXPECT_EQ(row.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_TRUE(window->deleteAction()->isEnabled());
    EXPECT_FALSE(window->itemsPage()->popup()->actions().value(0)->isEnabled());

    // Deleting him takes his row and items of this month.
    window->deleteEmployee();
    EXPECT_EQ(window->employeeModel()->rowCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA"))), 0);
    EXPECT_FALSE(t->prompter.questions.isEmpty());
}

TEST_F(Gui, PanelFieldsPostWhenLeftAndRefuseWrongKeys)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EmployeePanelWidget *panel = window->panel();
    QApplication::setActiveWindow(window.get());
    window->tabs()->setCurrentWidget(panel);
    QLineEdit *children = panel->field(QStringLiteral("PERSON_DECA"));
    children->setFocus();
    t->prompter.messages.clear();
    QTest::keyClicks(children, QStringLiteral("2x"));
    EXPECT_EQ(children->text(), QStringLiteral("2"));
    EXPECT_FALSE(t->prompter.messages.isEmpty()); // the refused letter says why
    QTest::keyClick(children, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_FALSE(children->hasFocus());
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_DECA from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")), {id}), 2);

    // A wrong ЕГН is said when left, and kept as typed.
    QLineEdit *egn = panel->field(QStringLiteral("PERSON_EGN"));
    egn->setFocus();
    egn->selectAll();
    QTest::keyClicks(egn, QStringLiteral("1234"));
    t->prompter.messages.clear();
    QTest::keyClick(egn, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Невалидно ЕГН или ЛНЧ. Моля въведете коректна стойност или "
                                                            "натиснете бутона \"ОТКАЗ\"."));
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(),
                                    QStringLiteral("select PERSON_EGN from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                    {id})
                  .toString(),
              QStringLiteral("1234"));

    // A list stores its position + 1; a date goes in as dd.mm.yyyy and out as a DATE.
    QComboBox *education = nullptr;
    for (QComboBox *c : panel->findChildren<QComboBox *>()) {
        if (c->findText(QStringLiteral("Висше")) >= 0)
            education = c;
    }
    ASSERT_NE(education, nullptr);
    education->setCurrentIndex(4);
    emit education->activated(4);
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_OBR from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")), {id}), 5);
    ASSERT_TRUE(panel->setColumn(QStringLiteral("PERSON_DATANAZ"), QDate(2007, 3, 15)));
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(),
                                    QStringLiteral("select PERSON_DATANAZ from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                    {id})
                  .toDate(),
              QDate(2007, 3, 15));
    ASSERT_TRUE(panel->setColumn(QStringLiteral("PERSON_DATANAZ"), QString()));
    EXPECT_TRUE(fb::Statement::scalar(t->data->transaction(),
                                      QStringLiteral("select PERSON_DATANAZ from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                      {id})
                    .isNull());
}

TEST_F(Gui, ContributionLabelsFollowTheBirthYear)
{
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("6101020006"));
    const QString after1959 = window->panel()->contributionLine(0)->text();
    saved(QStringLiteral("11"), QStringLiteral("Петров"), QStringLiteral("5901020003"));
    const QString before1960 = window->panel()->contributionLine(0)->text();
    EXPECT_TRUE(after1959.contains(QStringLiteral("ДЗПО"))) << after1959.toStdString();
    EXPECT_FALSE(before1960.contains(QStringLiteral("ДЗПО"))) << before1960.toStdString();
}

// A basic salary below the month's minimum wage (220.00 лв in 2008) is said
// on the panel after the calculation, and goes when it is raised.
TEST_F(Gui, ABaseSalaryBelowTheMinimumWageIsSaidOnThePanel)
{
    const int id = saved(QStringLiteral("1"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    ASSERT_GT(id, 0);
    items::ItemRecord salary;
    salary.person = id;
    salary.code = 1;
    salary.type = 1;
    salary.amount1 = 200;
    items::insertItem(*t->data, salary);
    t->data->commitRetaining();
    window->refreshSelection();
    QLabel *note = window->panel()->minimumWageLabel();
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), QStringLiteral("Основната заплата 200.00 е под минималната работна заплата 220.00."));

    fb::Statement::run(t->data->transaction(), QStringLiteral("update %1 set PERO_SUMA1=220 where PERO_COD=1").arg(t->data->table(u"PERA")));
    t->data->commitRetaining();
    window->refreshSelection();
    EXPECT_TRUE(note->isHidden());
    EXPECT_TRUE(note->text().isEmpty());
}

// A text field takes no more than its column holds, and a refused value is
// named by the caption on the screen, not by its column.
TEST_F(Gui, FieldsHoldTheirColumnsAndRefusalsNameTheirCaptions)
{
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EmployeePanelWidget *panel = window->panel();
    for (const auto &[column, length] : {std::pair{"PERSON_IME", 50}, {"PERSON_SPEC", 15}, {"PERSON_EGN", 10}})
        EXPECT_EQ(panel->field(QString::fromLatin1(column))->maxLength(), length) << column;

    QApplication::setActiveWindow(window.get());
    window->tabs()->setCurrentWidget(panel);
    QLineEdit *speciality = panel->field(QStringLiteral("PERSON_SPEC"));
    speciality->setFocus();
    QTest::keyClicks(speciality, QStringLiteral("accountant-economist"));
    EXPECT_EQ(speciality->text(), QStringLiteral("accountant-econ"));

    QLineEdit *children = panel->field(QStringLiteral("PERSON_DECA"));
    children->setFocus();
    t->prompter.messages.clear();
    QTest::keyClicks(children, QStringLiteral("99999"));
    QTest::keyClick(children, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Брой деца: числото 99999 е извън допустимото (до 32767)."))
        << t->prompter.messages.join(u'|').toStdString();
}

// The card shows a position's name beside its number, and follows a change.
TEST_F(Gui, ThePositionIsShownByItsName)
{
    const int accountant = reference::addPosition(*t->data, QStringLiteral("Счетоводител"), 3, QStringLiteral("6920"), 1);
    const int driver = reference::addPosition(*t->data, QStringLiteral("Шофьор"), 4, QStringLiteral("6920"), 1);
    t->data->commitRetaining();
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EmployeePanelWidget *panel = window->panel();
    ASSERT_TRUE(panel->setColumn(QStringLiteral("PERSON_DLUV"), accountant));
    QTest::qWait(20);
    EXPECT_EQ(panel->nameLabel(QStringLiteral("PERSON_DLUV"))->text(), QStringLiteral("Счетоводител"));
    ASSERT_TRUE(panel->setColumn(QStringLiteral("PERSON_DLUV"), driver));
    QTest::qWait(20);
    EXPECT_EQ(panel->nameLabel(QStringLiteral("PERSON_DLUV"))->text(), QStringLiteral("Шофьор"));
}
