// The employee's items page ("Пера") in the main window.
#include "app/ItemEditForm.h"
#include "app/ItemsPage.h"
#include "tests/app/Fixtures.h"

#include <QGroupBox>
#include <QLatin1String>
#include <QLineEdit>
#include <QTableView>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::onModal;
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, BaseSalaryShowsItsAmountAndTheNet)
{
    const int id = saved(QStringLiteral("1001"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    ASSERT_GT(id, 0);
    app::ItemsPage *page = window->itemsPage();
    window->tabs()->setCurrentWidget(page);
    onModal<app::ItemEditForm>([this](app::ItemEditForm *form) {
        form->codeEdit()->setText(QStringLiteral("1"));
        ASSERT_TRUE(form->acceptCode()) << t->prompter.messages.join(u'|').toStdString();
        EXPECT_TRUE(form->typePage()->isVisible());
        auto *amount = qobject_cast<QLineEdit *>(form->pageField(QStringLiteral("PERO_SUMA1")));
        ASSERT_NE(amount, nullptr);
        amount->setText(QStringLiteral("1000"));
        form->okPressed();
    });
    page->addItem();
    QTableView *items = page->view();
    // The four standard items, his four contributions and the salary.
    const int rows = items->model()->rowCount();
    ASSERT_EQ(rows, 9) << t->prompter.messages.join(u'|').toStdString();
    int salaryRow = -1;
    for (int r = 0; r < rows; ++r) {
        if (cell(items, r, 0) == QLatin1String("1"))
            salaryRow = r;
    }
    ASSERT_GE(salaryRow, 0);
    EXPECT_FALSE(cell(items, salaryRow, 1).isEmpty()); // the definition's name
    EXPECT_EQ(cell(items, salaryRow, 3), QStringLiteral("1000.00"));
    // The net (type 201, last by type) is what is left after contributions and tax.
    const double net = cell(items, rows - 1, 3).toDouble();
    EXPECT_GT(net, 0.0);
    EXPECT_LT(net, 1000.0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSDATA where PERSDATA_PERSONID=?"), {id}), 1);

    // The next "Добави перо" offers the code just used, already accepted.
    onModal<app::ItemEditForm>([](app::ItemEditForm *form) {
        EXPECT_EQ(form->codeEdit()->text(), QStringLiteral("1"));
        EXPECT_TRUE(form->typePage()->isVisible());
        form->reject();
    });
    page->addItem();
    EXPECT_EQ(items->model()->rowCount(), rows); // a cancelled item leaves no row
}
