#pragma once

#include "app/MainWindow.h"
#include "storage/IniFile.h"
#include "storage/UsersDatabase.h"
#include "tests/support/GuiTest.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>

class QAction;
class QTableView;

namespace plavex::app {
class LoginDialog;
}

namespace plavex::test {

// A fresh program folder with the shipped service files and a database in
// January 2008, with the main window on it. Every question goes to
// `prompter` (the database fixture's), which says yes unless a test
// scripts the answers.
class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture();
    void SetUp() override;
    void TearDown() override;

    // A newcomer through the "Нов" dialog, left pending; saved() also presses "Запис".
    int newEmployee(const QString &number, const QString &name, const QString &egn);
    int saved(const QString &number, const QString &name, const QString &egn);
    // The first entry of the menu bar or its menus whose caption reads so, "&" and all:
    // what the user sees, not how the program wires it.
    QAction *menuAction(const QString &caption) const;
    qint64 scalar(const QString &sql, const QVariantList &values = {});
    QString cell(QTableView *view, int row, int column);
    // Lets queued refreshes run.
    void settle();

    std::unique_ptr<TestDatabase> t;
    ScriptedPrompter &prompter;
    std::unique_ptr<app::MainWindow> window;
};

// A users file of its own with the login switched on.
class UsersFixture : public ::testing::Test {
protected:
    void SetUp() override;

    TempProgramDir dir;
    ScriptedPrompter prompter;
    storage::UsersDatabase users{prompter};
    storage::IniFile ini;
};

// Types the name and password into the login dialog and presses its button.
void login(app::LoginDialog *d, const QString &user, const QString &password);

} // namespace plavex::test
