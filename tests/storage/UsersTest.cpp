#include "storage/UsersDatabase.h"
#include "tests/support/TestDatabase.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace plavex;

TEST(Users, FreshFolderGetsUsersDatabaseWithSysadminAndNoLogin)
{
    test::TempProgramDir dir;
    util::RecordingPrompter prompter;
    storage::UsersDatabase users(prompter);
    ASSERT_TRUE(users.open(dir.path()));
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("users.gdb")));
    EXPECT_FALSE(users.userSystemOn());
    EXPECT_EQ(users.maxUserId(), 1);
    EXPECT_TRUE(users.checkLogin(QStringLiteral("SYSADMIN"), storage::UsersDatabase::kAdminPassword));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(Users, LoginTrimsAndNeverSplicesItsText)
{
    test::TempProgramDir dir;
    util::RecordingPrompter prompter;
    {
        storage::UsersDatabase users(prompter);
        ASSERT_TRUE(users.open(dir.path()));
        EXPECT_TRUE(users.addUser(QStringLiteral(" Иванова "), QStringLiteral("пар'ола")));
        EXPECT_FALSE(users.addUser(QStringLiteral("   "), QStringLiteral("x")));
        users.setUserSystem(true);
    }
    storage::UsersDatabase users(prompter);
    ASSERT_TRUE(users.open(dir.path()));
    EXPECT_TRUE(users.userSystemOn());
    EXPECT_EQ(users.maxUserId(), 2);

    struct Case {
        const char *user;
        const char *password;
        bool allowed;
    } cases[] = {
        {"  Иванова  ", " пар'ола", true},
        {"Иванова", "пар'ола", true},
        {"Иванова", "парола", false},
        {"SYSADMIN", "' or ''='", false},
        {"' or ''='", "' or ''='", false},
        {"SYSADMIN' --", "x", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(users.checkLogin(QString::fromUtf8(c.user), QString::fromUtf8(c.password)), c.allowed) << c.user << "/" << c.password;
}

