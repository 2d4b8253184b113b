// The login at start.
#include "app/LoginDialog.h"
#include "storage/UsersDatabase.h"
#include "tests/app/Fixtures.h"

#include <QLatin1Char>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::onModal;
using test::login;
using Users = test::UsersFixture;
} // namespace

TEST_F(Users, ThreeWrongPasswordsRefuseTheProgram)
{
    onModal<app::LoginDialog>([](app::LoginDialog *d) {
        // Blank fields are not an attempt.
        login(d, QStringLiteral("SYSADMIN"), QStringLiteral("  "));
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(d->isVisible()) << i;
            login(d, QStringLiteral("SYSADMIN"), QStringLiteral("wrong"));
        }
    });
    EXPECT_FALSE(app::LoginDialog::gate(users, &prompter));
    const QString wrong = QStringLiteral("Грешен потребител или парола.");
    EXPECT_EQ(prompter.messages,
              (QStringList{QStringLiteral("Моля попълнете и двете полета или натиснете бутона \"ОТКАЗ\"."), wrong, wrong,
                           wrong}));
}

TEST_F(Users, ANameTypedWithBlanksLogsIn)
{
    onModal<app::LoginDialog>([](app::LoginDialog *d) {
        login(d, QStringLiteral(" SYSADMIN  "), storage::UsersDatabase::kAdminPassword);
    });
    EXPECT_TRUE(app::LoginDialog::gate(users, &prompter));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(QLatin1Char('|')).toStdString();
}
