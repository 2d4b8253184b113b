// The employee search window ("Персони").
#include "app/EmployeePanelWidget.h"
#include "app/EmployeeWindow.h"
#include "tests/app/Fixtures.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, EmployeeWindowFindsByNameAndHidesTheDismissed)
{
    const int ivanov = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    const int petrov = saved(QStringLiteral("20"), QStringLiteral("Петров"), QStringLiteral("7501020002"));
    window->selectEmployee(ivanov);
    window->panel()->activeBox()->click(); // Иванов is dismissed
    QTest::qWait(20);

    app::EmployeeWindow persons(*t->data, t->prompter);
    persons.nameBox()->setText(QStringLiteral("петр"));
    persons.search();
    EXPECT_EQ(persons.selectedId(), petrov);
    EXPECT_TRUE(persons.nameBox()->text().isEmpty());

    t->prompter.messages.clear();
    persons.nameBox()->setText(QStringLiteral("Жълт"));
    persons.search();
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Няма намерени записи."));

    EXPECT_EQ(persons.view()->model()->rowCount(), 2);
    persons.activeOnly()->setChecked(true);
    EXPECT_EQ(persons.view()->model()->rowCount(), 1);
}
