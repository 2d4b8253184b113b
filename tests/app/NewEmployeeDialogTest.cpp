// The dialog of a new employee.
#include "app/NewEmployeeDialog.h"
#include "tests/app/Fixtures.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, NewEmployeeDialogRefusesATakenNumberAndABadEgn)
{
    saved(QStringLiteral("1234"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    t->prompter.messages.clear();
    app::NewEmployeeDialog dialog(*t->data, t->prompter);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.numberEdit()->setFocus();
    QTest::keyClicks(dialog.numberEdit(), QStringLiteral("12a34"));
    EXPECT_EQ(dialog.numberEdit()->text(), QStringLiteral("1234")); // the letter is refused
    QTest::keyClick(dialog.numberEdit(), Qt::Key_Return); // Enter moves on, leaving the number
    QTest::qWait(50);
    ASSERT_TRUE(t->prompter.messages.contains(QStringLiteral(
        "В базата данни вече съществува служител с този номер.\nМоля въведете друг номер или натиснете бутона \"ОТКАЗ\".")))
        << t->prompter.messages.join(u'|').toStdString();
    EXPECT_TRUE(dialog.numberEdit()->hasFocus());
    EXPECT_TRUE(dialog.isVisible());

    dialog.numberEdit()->setText(QStringLiteral("1235"));
    dialog.nameEdit()->setText(QStringLiteral("Петрова"));
    dialog.egnEdit()->setText(QStringLiteral("7501020001"));
    t->prompter.messages.clear();
    dialog.okButton()->click();
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Моля въведете валидно ЕГН или натиснете бутона \"ОТКАЗ\"."));
    EXPECT_EQ(dialog.result(), 0);

    // Enter on the wrong ЕГН leaves the field and lands on "OK": one message, the focus back on the ЕГН.
    dialog.egnEdit()->setFocus();
    t->prompter.messages.clear();
    QTest::keyClick(dialog.egnEdit(), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_EQ(t->prompter.messages.size(), 1) << t->prompter.messages.join(u'|').toStdString();
    EXPECT_TRUE(dialog.egnEdit()->hasFocus());
    EXPECT_EQ(dialog.result(), 0);
}
