// The employee's earlier months page ("Стари суми").
#include "app/EarlierMonthsPage.h"
#include "app/TableModel.h"
#include "tests/app/Fixtures.h"


#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, EarlierMonthsAddEditAndRefuseADuplicate)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EarlierMonthsPage *page = window->earlierMonths();
    const int before = page->model()->rowCount();
    ASSERT_TRUE(page->addMonth(util::Period(2007, 11)));
    EXPECT_EQ(page->model()->rowCount(), before + 1);
    t->prompter.messages.clear();
    EXPECT_FALSE(page->addMonth(util::Period(2007, 11)));
    EXPECT_EQ(t->prompter.messages.value(0),
              QStringLiteral("В базата данни вече съществува запис за това лице за месец ноември 2007 г"));

    // A typed cell is stored at once; year and month head the row and are never edited.
    app::TableModel *model = page->model();
    int row = -1;
    for (int r = 0; r < model->rowCount(); ++r) {
        if (model->raw(r, QStringLiteral("PERSDATA_MES")).toInt() == 11)
            row = r;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(model->headerData(row, Qt::Vertical).toString(), QStringLiteral("Ноември 2007"));
    const int odni = model->section(QStringLiteral("PERSDATA_ODNI"));
    ASSERT_TRUE(model->setData(model->index(row, odni), QStringLiteral("12")));
    EXPECT_EQ(scalar(QStringLiteral("select PERSDATA_ODNI from PERSDATA where PERSDATA_PERSONID=? and PERSDATA_GOD=2007 "
                                    "and PERSDATA_MES=11"),
                     {id}),
              12);
    EXPECT_EQ(model->section(QStringLiteral("PERSDATA_GOD")), -1);
    EXPECT_EQ(model->section(QStringLiteral("PERSDATA_MES")), -1);
}
