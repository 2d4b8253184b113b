// The advance item and month dialog.
#include "tests/support/GuiTest.h"

#include "app/reports/AdvanceDialog.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace plavex;
using namespace plavex::app;

TEST(AdvanceDialog, ItemCodeAndMonthOfDecember)
{
    test::application();
    AdvanceDialog dialog({{601, QStringLiteral("Аванс")}, {602, QStringLiteral("Втори аванс")}}, util::Period(2008, 12));
    ASSERT_EQ(dialog.months()->count(), 2);
    EXPECT_EQ(dialog.months()->itemText(0), QStringLiteral("Декември 2008г."));
    EXPECT_EQ(dialog.months()->itemText(1), QStringLiteral("Януари 2009г."));
    // The first item and the current month are chosen; the code field is read-only.
    EXPECT_EQ(dialog.itemText(), QStringLiteral("601"));
    EXPECT_EQ(dialog.monthIndex(), 0);
    EXPECT_TRUE(dialog.codeEdit()->isReadOnly());
    dialog.items()->setCurrentIndex(1);
    dialog.months()->setCurrentIndex(1);
    EXPECT_EQ(dialog.itemText(), QStringLiteral("602"));
    EXPECT_EQ(dialog.monthIndex(), 1);

    // Without an advance item there is no code to return.
    AdvanceDialog none({}, util::Period(2008, 5));
    EXPECT_EQ(none.itemText(), QString());
    EXPECT_EQ(none.windowTitle(), QStringLiteral("Избор на перо и месец на аванс"));
}
