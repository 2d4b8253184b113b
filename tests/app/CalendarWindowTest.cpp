// The calendars window and its month grid.
#include "app/CalendarWindow.h"
#include "app/MonthGridDialog.h"
#include "app/TableModel.h"
#include "storage/fb/Statement.h"
#include "tests/app/Fixtures.h"

#include <QLatin1Char>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::onModal;
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, WorkingDaysEditedOnTheMonthGridAreStored)
{
    app::CalendarWindow calendars(*t->data, prompter);
    ASSERT_GE(calendars.model()->rowCount(), 2); // the five- and six-day ones
    const int code = calendars.model()->raw(0, QStringLiteral("CAL_COD")).toInt();
    const QString before = calendars.model()->raw(0, QStringLiteral("CAL_RABDNI")).toString();
    ASSERT_EQ(before.at(1), QLatin1Char('1')); // 2 January 2008, a Wednesday

    // Day 2 becomes a day off and day 5 (a Saturday) a working day.
    onModal<app::MonthGridDialog>([](app::MonthGridDialog *grid) {
        grid->toggle(2);
        grid->toggle(5);
        grid->accept();
    });
    calendars.editWorkingDays();
    QString expected = before;
    expected[1] = QLatin1Char('0');
    expected[4] = QLatin1Char('1');
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(), QStringLiteral("select CAL_RABDNI from %1 where CAL_COD=?")
                                                                .arg(t->data->table(u"CAL")),
                                    {code})
                  .toString(),
              expected);

    // "Изход" leaves the days as they were.
    onModal<app::MonthGridDialog>([](app::MonthGridDialog *grid) {
        grid->toggle(3);
        grid->reject();
    });
    calendars.editWorkingDays();
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(), QStringLiteral("select CAL_RABDNI from %1 where CAL_COD=?")
                                                                .arg(t->data->table(u"CAL")),
                                    {code})
                  .toString(),
              expected);
}
