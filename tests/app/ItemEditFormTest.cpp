// The form of one item of an employee.
#include "app/ItemEditForm.h"
#include "items/Items.h"
#include "tests/app/Fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, ItemPageFollowsTheType)
{
    saved(QStringLiteral("1001"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    struct Case {
        const char *code;
        std::vector<const char *> captions;
    };
    const Case cases[] = {
        {"1", {"Сума", "Променена сума", "От дата"}},
        {"11", {"От дата", "До дата", "Дни"}},
        {"102", {"Процент", "ЕГН"}},
    };
    for (const Case &c : cases) {
        app::ItemEditForm form(*t->data, t->prompter, app::ItemEditForm::Mode::New, {}, 1, 0);
        form.show();
        form.codeEdit()->setText(QString::fromLatin1(c.code));
        ASSERT_TRUE(form.acceptCode()) << c.code;
        for (const char *caption : c.captions) {
            bool found = false;
            for (const char *column : {"PERO_SUMA1", "PERO_SUMA2", "PERO_D", "PERO_BEGINDATE", "PERO_ENDDATE", "PERO_PARTIDA"})
                found = found || form.pageCaption(QString::fromLatin1(column)) == QString::fromUtf8(caption);
            EXPECT_TRUE(found) << c.code << " " << caption;
        }
    }
    // A code with no definition is refused with the message.
    app::ItemEditForm form(*t->data, t->prompter, app::ItemEditForm::Mode::New, {}, 1, 0);
    form.codeEdit()->setText(QStringLiteral("9999"));
    t->prompter.messages.clear();
    EXPECT_FALSE(form.acceptCode());
    EXPECT_TRUE(t->prompter.messages.value(0).startsWith(QStringLiteral("Кодът на перо, който сте въвели не съществува")));
}

TEST_F(Gui, ItemFormGoesByKeyboardFromCodeToAmountToOk)
{
    // The remembered code is offered selected: what is typed replaces it.
    app::ItemEditForm form(*t->data, t->prompter, app::ItemEditForm::Mode::New, {}, 1, 6);
    form.show();
    QApplication::setActiveWindow(&form);
    QTest::qWait(20);
    ASSERT_TRUE(form.codeEdit()->hasFocus());
    EXPECT_EQ(form.codeEdit()->selectedText(), QStringLiteral("6"));
    // Without a code Enter goes on to the list, to pick by name.
    QTest::keyClick(form.codeEdit(), Qt::Key_Backspace);
    QTest::keyClick(form.codeEdit(), Qt::Key_Return);
    EXPECT_TRUE(form.definitionList()->hasFocus());
    form.codeEdit()->setFocus();
    QTest::keyClicks(form.codeEdit(), QStringLiteral("1"));
    EXPECT_EQ(form.codeEdit()->text(), QStringLiteral("1"));

    // Enter takes the code: the list shows it and the amount is next; Tab from the list comes back to it.
    QTest::keyClick(form.codeEdit(), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(form.definitionList()->currentData().toInt(), 1);
    QWidget *amount = form.pageField(QStringLiteral("PERO_SUMA1"));
    ASSERT_NE(amount, nullptr);
    EXPECT_TRUE(amount->hasFocus());
    form.definitionList()->setFocus();
    QTest::keyClick(form.definitionList(), Qt::Key_Tab);
    EXPECT_TRUE(amount->hasFocus());

    // The fields in order, then "OK" by Enter from the last one.
    QTest::keyClicks(amount, QStringLiteral("250"));
    QTest::keyClick(amount, Qt::Key_Tab);
    EXPECT_TRUE(form.pageField(QStringLiteral("PERO_SUMA2"))->hasFocus());
    QTest::keyClick(form.pageField(QStringLiteral("PERO_SUMA2")), Qt::Key_Tab);
    QWidget *last = form.pageField(QStringLiteral("PERO_D"));
    ASSERT_TRUE(last->hasFocus());
    QTest::keyClick(last, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.record().code, 1);
}

TEST_F(Gui, AnAmountOpensInTheDecimalSeparatorTheUserTypes)
{
    // With a comma for decimals, a stored amount shown with a point would take a
    // typed comma as well and read as nothing.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    items::ItemRecord stored;
    stored.code = 6;
    stored.type = 6;
    stored.amount1 = 1100.5;
    app::ItemEditForm form(*t->data, t->prompter, app::ItemEditForm::Mode::Edit, stored, 1, 0);
    form.show();
    auto *amount = qobject_cast<QLineEdit *>(form.pageField(QStringLiteral("PERO_SUMA1")));
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(amount->text(), QStringLiteral("1100,50"));
    amount->setFocus();
    amount->end(false);
    QTest::keyClick(amount, ',');
    EXPECT_EQ(amount->text(), QStringLiteral("1100,50"));
    form.okPressed();
    QLocale::setDefault(before);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(form.record().amount1, 1100.5);
}

TEST_F(Gui, ItemFormTakesTheCodeAsItStandsAtOk)
{
    app::ItemEditForm form(*t->data, t->prompter, app::ItemEditForm::Mode::New, {}, 1, 0);
    form.show();
    QApplication::setActiveWindow(&form);
    form.codeEdit()->setText(QStringLiteral("1"));
    ASSERT_TRUE(form.acceptCode());
    // Typed over, then "OK" straight away: the new code, checked once.
    form.codeEdit()->setFocus();
    form.codeEdit()->setText(QStringLiteral("9999"));
    t->prompter.messages.clear();
    form.okPressed();
    QTest::qWait(20);
    EXPECT_EQ(t->prompter.messages.size(), 1) << t->prompter.messages.join(u'|').toStdString();
    EXPECT_EQ(form.result(), 0);
    form.codeEdit()->setText(QStringLiteral("6"));
    // A new item without its amount is not taken.
    t->prompter.messages.clear();
    form.okPressed();
    EXPECT_EQ(form.result(), 0);
    EXPECT_EQ(t->prompter.messages.value(0),
              QStringLiteral("Моля попълнете всички полета или натиснете бутона \"Изход\""));
    // The button the message names is the one on the screen.
    bool named = false;
    for (const QPushButton *b : form.findChildren<QPushButton *>())
        named = named || b->text() == QStringLiteral("Изход");
    EXPECT_TRUE(named);
    auto *amount = qobject_cast<QLineEdit *>(form.pageField(QStringLiteral("PERO_SUMA1")));
    ASSERT_NE(amount, nullptr);
    amount->setText(QStringLiteral("12"));
    form.okPressed();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.record().code, 6);
    EXPECT_EQ(form.record().type, 6);
}
