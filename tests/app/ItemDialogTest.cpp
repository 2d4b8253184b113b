// The item dialog of the bulk item commands.
#include "app/ItemDialog.h"
#include "items/Items.h"
#include "tests/app/Fixtures.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, ItemDialogFillsARecordOnlyWithItsRequiredFields)
{
    const qint64 items = scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA")));
    app::ItemDialog dialog(*t->data, t->prompter, items::ItemRecord{}, 0);
    dialog.show();
    dialog.codeEdit()->setText(QStringLiteral("6"));
    ASSERT_TRUE(dialog.acceptCode());
    t->prompter.messages.clear();
    dialog.okPressed();
    EXPECT_EQ(t->prompter.messages.value(0),
              QStringLiteral("Моля попълнете всички полета или натиснете бутона \"Изход\""));
    // The button the message names is the one on the screen.
    bool named = false;
    for (const QPushButton *b : dialog.findChildren<QPushButton *>())
        named = named || b->text() == QStringLiteral("Изход");
    EXPECT_TRUE(named);
    EXPECT_EQ(dialog.result(), 0);
    qobject_cast<QLineEdit *>(dialog.pageField(QStringLiteral("PERO_SUMA1")))->setText(QStringLiteral("50.5"));
    dialog.okPressed();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.record().code, 6);
    EXPECT_EQ(dialog.record().type, 6);
    EXPECT_DOUBLE_EQ(dialog.record().amount1, 50.5);
    // The table is not touched.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA"))), items);
}
