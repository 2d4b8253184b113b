// The list of item definitions.
#include "app/PeroDefsWindow.h"
#include "app/TableModel.h"
#include "tests/app/Fixtures.h"


#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, ADefinitionStillInUseIsNotDeleted)
{
    const QString peradefs = t->data->table(u"PERADEFS");
    t->data->insertRow(peradefs, QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                       {8801, 6, QStringLiteral("Премия"), QStringLiteral("0000000000")});
    t->data->insertRow(t->data->table(u"PERA"), QStringLiteral(" (PERO_PERSONID,PERO_PEROID,PERO_COD,PERO_TYPE) "),
                       {1, 1, 8801, 6});
    t->data->commitRetaining();

    app::PeroDefsWindow list(*t->data, prompter, app::PeroDefsWindow::Mode::Management);
    const int row = list.model()->rowOfKey(8801);
    ASSERT_GE(row, 0);
    list.grid()->setCurrentIndex(list.model()->index(row, 0));
    list.deleteButton()->click();
    EXPECT_EQ(prompter.questions.value(0), QStringLiteral("Сигурни ли сте, че искате да изтриете дефиницията на перо 8801 Премия ?"));
    EXPECT_EQ(prompter.messages.value(0), QStringLiteral("Перо 8801 Премия не може да бъде изтрито?"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1 where PERODEFS_COD=8801").arg(peradefs)), 1);

    // In picker mode nothing is deleted and the totals are not offered.
    app::PeroDefsWindow picker(*t->data, prompter, app::PeroDefsWindow::Mode::Picker);
    EXPECT_FALSE(picker.deleteButton()->isEnabled());
    EXPECT_LT(picker.model()->rowOfKey(1000), 0);
    EXPECT_GE(picker.model()->rowOfKey(8801), 0);
}
