#include "tests/app/Fixtures.h"

#include "app/LoginDialog.h"
#include "app/NewEmployeeDialog.h"
#include "items/DefinitionReader.h"
#include "storage/fb/Statement.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>

namespace plavex::test {

MainWindowFixture::MainWindowFixture()
    : t(std::make_unique<TestDatabase>(util::Period(2008, 1))), prompter(t->prompter)
{
}

void MainWindowFixture::SetUp()
{
    application();
    // The shipped service files: item chart, rates and tax scale, as a real start has them.
    const QDir noms(QStringLiteral(PLAVEX_SOURCE_DIR "/noms"));
    for (const QString &name : noms.entryList(QDir::Files))
        QFile::copy(noms.filePath(name), t->dir.path() + QStringLiteral("noms/") + name);
    t->data = std::make_unique<storage::DataModule>(t->settings, t->prompter, items::seedChart);
    window = std::make_unique<app::MainWindow>(t->settings, *t->data);
    window->show();
}

void MainWindowFixture::TearDown()
{
    window.reset();
    t.reset();
}

int MainWindowFixture::newEmployee(const QString &number, const QString &name, const QString &egn)
{
    onModal<app::NewEmployeeDialog>([=](app::NewEmployeeDialog *d) {
        d->numberEdit()->setText(number);
        d->nameEdit()->setText(name);
        d->egnEdit()->setText(egn);
        d->okButton()->click();
    });
    window->newEmployee();
    return window->currentEmployee();
}

int MainWindowFixture::saved(const QString &number, const QString &name, const QString &egn)
{
    const int id = newEmployee(number, name, egn);
    window->saveEmployee();
    return id;
}

QAction *MainWindowFixture::menuAction(const QString &caption) const
{
    for (QAction *top : window->menuBar()->actions()) {
        if (top->text() == caption)
            return top;
        if (QMenu *menu = top->menu()) {
            for (QAction *a : menu->actions()) {
                if (a->text() == caption)
                    return a;
            }
        }
    }
    return nullptr;
}

qint64 MainWindowFixture::scalar(const QString &sql, const QVariantList &values)
{
    return fb::Statement::scalar(t->data->transaction(), sql, values).toLongLong();
}

QString MainWindowFixture::cell(QTableView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

void MainWindowFixture::settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void UsersFixture::SetUp()
{
    application();
    ASSERT_TRUE(users.open(dir.path()));
    users.setUserSystem(true);
}

void login(app::LoginDialog *d, const QString &user, const QString &password)
{
    d->userEdit()->setText(user);
    d->passwordEdit()->setText(password);
    d->loginButton()->click();
}

} // namespace plavex::test
