// The users window.
#include "app/LoginDialog.h"
#include "app/UsersWindow.h"
#include "storage/UsersDatabase.h"
#include "tests/app/Fixtures.h"


#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::onModal;
using test::login;
using Users = test::UsersFixture;
} // namespace

TEST_F(Users, SwitchingTheLoginOffNeedsALogin)
{
    app::UsersWindow window(users, prompter, ini);
    ASSERT_TRUE(window.switchBox()->isChecked());

    // Cancelling the login leaves the system on and the box ticked.
    onModal<app::LoginDialog>([](app::LoginDialog *d) { d->reject(); });
    window.switchBox()->click();
    EXPECT_TRUE(users.userSystemOn());
    EXPECT_TRUE(window.switchBox()->isChecked());

    // Declining the question asks for no login at all.
    prompter.answers = {false};
    window.switchBox()->click();
    EXPECT_TRUE(users.userSystemOn());
    EXPECT_TRUE(window.switchBox()->isChecked());

    onModal<app::LoginDialog>([](app::LoginDialog *d) {
        login(d, QStringLiteral("SYSADMIN"), storage::UsersDatabase::kAdminPassword);
    });
    window.switchBox()->click();
    EXPECT_FALSE(users.userSystemOn());
    EXPECT_FALSE(window.switchBox()->isChecked());
}

TEST_F(Users, AddingAUserNeedsBothFields)
{
    app::UsersWindow window(users, prompter, ini);
    window.addButton()->click();
    EXPECT_TRUE(window.userEdit()->isEnabled());
    EXPECT_FALSE(window.addButton()->isEnabled());
    EXPECT_FALSE(window.switchBox()->isEnabled());
    window.userEdit()->setText(QStringLiteral("ivan"));
    window.saveButton()->click();
    EXPECT_EQ(prompter.messages.value(0),
              QStringLiteral("Моля попълнете данни и в двете полета или натиснете бътона \"отказ\""));
    EXPECT_FALSE(users.checkLogin(QStringLiteral("ivan"), QString()));

    window.passwordEdit()->setText(QStringLiteral("tajna"));
    window.saveButton()->click();
    EXPECT_TRUE(users.checkLogin(QStringLiteral("ivan"), QStringLiteral("tajna")));
    EXPECT_TRUE(window.userEdit()->text().isEmpty());
    EXPECT_FALSE(window.userEdit()->isEnabled());
    EXPECT_TRUE(window.addButton()->isEnabled());
}
