// The main window: its list, search, calendar, title and status, the help entry and the guard of a closed month.
#include "app/CalendarGrid.h"
#include "app/CompanyWindow.h"
#include "app/EmployeePanelWidget.h"
#include "app/HelpWindow.h"
#include "app/ItemsPage.h"
#include "app/MainMenus.h"
#include "app/MainWindow.h"
#include "app/NewEmployeeDialog.h"
#include "app/TableModel.h"
#include "employees/Employees.h"
#include "reference/Company.h"
#include "storage/Settings.h"
#include "storage/Title.h"
#include "storage/fb/Statement.h"
#include "tests/app/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;

const QVariantMap kNamedCompany{{QStringLiteral("FIRMA_IME"), QStringLiteral("Фирма ООД")},
                                {QStringLiteral("FIRMA_BULSTAT"), QStringLiteral("121212127")},
                                {QStringLiteral("FIRMA_KID1"), QStringLiteral("6201")}};
} // namespace

// The first-start hint stays, with or without employees, until the
// company's name, ЕИК and activity are all in.
TEST_F(Gui, TheFirstStartHintStaysUntilTheCompanyIsNamed)
{
    const QString hint = QStringLiteral("Първо попълнете „Параметри → Данни за фирмата“");
    EXPECT_TRUE(window->monthStatus()->text().startsWith(hint)) << window->monthStatus()->text().toStdString();
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    settle();
    EXPECT_TRUE(window->monthStatus()->text().startsWith(hint));
    QVariantMap partly = kNamedCompany;
    partly.remove(QStringLiteral("FIRMA_KID1"));
    reference::postCompany(*t->data, partly);
    settle();
    EXPECT_TRUE(window->monthStatus()->text().startsWith(hint));
    reference::postCompany(*t->data, kNamedCompany);
    settle();
    EXPECT_TRUE(window->monthStatus()->text().isEmpty()) << window->monthStatus()->text().toStdString();
}

TEST_F(Gui, StartsOnANewDatabaseWithTitleStatusAndMenus)
{
    EXPECT_TRUE(QFile::exists(t->settings.database));
    const QString company = fb::Statement::scalar(t->data->transaction(),
                                                  QStringLiteral("select FIRMA_IME from %1").arg(t->data->table(u"FIRMA")))
                                .toString()
                                .trimmed();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Plavex V1.00 - ") + storage::periodCaption(util::Period(2008, 1))
                                         + QStringLiteral(" - ") + company + QStringLiteral("    0 души"));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("    0 души")));
    EXPECT_EQ(window->fileLabel()->text(), QStringLiteral("Файл: ") + t->settings.database);

    // Built commands are live; the others show, disabled, and do nothing.
    const std::pair<const char *, bool> entries[] = {
        {"Персони", true},        {"E&xit", true},          {"&About...", true},        {"Помощ", true},
        {"Autocalc", true},        {"Фиш тип 1", true},      {"Образец 6 нов", true},   {"Данни за фирмата", true},
        {"Списък по перо", true}, {"Платежно нареждане - бюджет", true}, {"Фиш за болнични", true},
        {"Списък на суми по платежни нареждания  - аванс", true},
        {"Таблица ДОД", true},    {"Приключване на месец", true}, {"Калкулатор", true}, {"Номенклатура на градове", true},
        {"Номенклатура длъжности", true}, {"Номенклатура на звена", true},
        {"Ведомост по звена", true}, {"Ведомост аванс", true}, {"Рекапитулации", true},
    };
    for (const auto &[caption, enabled] : entries) {
        QAction *a = menuAction(QString::fromUtf8(caption));
        ASSERT_NE(a, nullptr) << caption;
        EXPECT_EQ(a->isEnabled(), enabled) << caption;
    }
}

TEST_F(Gui, EveryEntryBelongsToACommandThatIsWired)
{
    // A command wired by identity: an entry made without one, or a command
    // left without its slot, shows here as a foreign or disabled entry.
    const app::MainMenus &menus = window->menus();
    QSet<QAction *> made;
    for (int i = 0; i < static_cast<int>(app::Command::Count); ++i) {
        const QList<QAction *> &entries = menus.actions(static_cast<app::Command>(i));
        EXPECT_FALSE(entries.isEmpty()) << "command " << i << " has no entry";
        for (QAction *a : entries)
            made.insert(a);
    }
    QList<QAction *> shown;
    for (QAction *top : window->menuBar()->actions())
        shown += top->menu() ? top->menu()->actions() : QList<QAction *>{top};
    shown += window->findChild<QToolBar *>(QStringLiteral("ToolBar"))->actions();
    shown += menus.listPopup()->actions();
    const QList<QAction *> &deletes = menus.actions(app::Command::DeleteEmployee);
    for (QAction *a : shown) {
        if (a->isSeparator())
            continue;
        EXPECT_TRUE(made.contains(a)) << a->text().toStdString();
        // Nobody is selected, so nobody can be deleted; the rest is live in January.
        EXPECT_EQ(a->isEnabled(), !deletes.contains(a)) << a->text().toStdString();
    }
}

// Ctrl+N is "new" as in every other program: a new employee, never the
// month closing, which has left the first place of the toolbar too.
TEST_F(Gui, CtrlNIsANewEmployeeAndTheClosingStandsApart)
{
    for (QAction *a : window->menus().actions(app::Command::CloseMonth))
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
    const QList<QAction *> tools = window->findChild<QToolBar *>(QStringLiteral("ToolBar"))->actions();
    ASSERT_FALSE(tools.isEmpty());
    EXPECT_NE(tools.first(), window->menus().action(app::Command::CloseMonth));
    EXPECT_EQ(tools.last(), window->menus().action(app::Command::CloseMonth));

    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    test::onModal<app::NewEmployeeDialog>([](app::NewEmployeeDialog *d) { d->reject(); });
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    QTest::qWait(300); // a shortcut presses its button visibly first
    EXPECT_EQ(t->data->period(), util::Period(2008, 1));
    EXPECT_TRUE(t->prompter.questions.isEmpty());
}

// He gets the four standard items and, since 2008 ships its rates, one
// item for each contribution he owes (ДОО, ДЗПО, ЗО, unemployment).
TEST_F(Gui, NewEmployeeComesWithHisItemsAndCancelTakesThemAway)
{
    const int id = newEmployee(QStringLiteral("1234"), QStringLiteral("Иванов Иван"), QStringLiteral("7501020002"));
    ASSERT_GT(id, 0) << t->prompter.messages.join(u'|').toStdString();
    EXPECT_EQ(window->employeeModel()->rowCount(), 1);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("    1 човек")));
    EXPECT_EQ(window->panel()->field(QStringLiteral("PERSON_IME"))->text(), QStringLiteral("Иванов Иван"));
    EXPECT_EQ(window->panel()->field(QStringLiteral("PERSON_ZVENO"))->text(), QStringLiteral("12"));
    QTableView *items = window->itemsPage()->view();
    ASSERT_EQ(items->model()->rowCount(), 8);
    EXPECT_EQ(cell(items, 0, 0), QString()); // by type: 100, 139 × 4, 140, 200, 201; totals show no code
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(cell(items, r, 0), QString::number(101 + r));
    EXPECT_EQ(cell(items, 5, 0), QStringLiteral("101"));
    EXPECT_EQ(items->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Параметри на перо"));

    window->cancelEmployee();
    EXPECT_EQ(window->employeeModel()->rowCount(), 0);
    EXPECT_EQ(window->currentEmployee(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA"))), 0);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("    0 души")));

    // After "Запис" the newcomer stays whatever "Отказ" says.
    saved(QStringLiteral("7"), QStringLiteral("Петров"), QStringLiteral("7501020002"));
    window->cancelEmployee();
    EXPECT_EQ(window->employeeModel()->rowCount(), 1);
}

TEST_F(Gui, QuickSearchFindsACyrillicPrefixWhateverItsCase)
{
    const int ivanov = saved(QStringLiteral("10"), QStringLiteral("ИВАНОВ Иван"), QStringLiteral("7501020002"));
    const int petrov = saved(QStringLiteral("20"), QStringLiteral("ПЕТРОВ Петър"), QStringLiteral("7501020002"));
    window->selectEmployee(ivanov);
    window->searchName()->setText(QStringLiteral("пет"));
    window->quickSearch();
    EXPECT_EQ(window->currentEmployee(), petrov);

    // Nobody by that name: the selection stays, and the user is told.
    t->prompter.messages.clear();
    window->searchName()->setText(QStringLiteral("Жълт"));
    window->quickSearch();
    EXPECT_EQ(window->currentEmployee(), petrov);
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Няма намерени служители за \"Жълт\"."));

    // When no name starts so: a later word of the name, then the start of an ЕГН.
    const int georgiev = saved(QStringLiteral("30"), QStringLiteral("Мария Иванова ГЕОРГИЕВА"), QStringLiteral("7501020018"));
    const std::pair<const char *, int> second[] = {{"георгиева", georgiev}, {"иван", ivanov}, {"Петър", petrov},
                                                   {"750102001", georgiev}};
    for (const auto &[text, id] : second) {
        window->selectEmployee(petrov == id ? ivanov : petrov);
        window->searchName()->setText(QString::fromUtf8(text));
        window->quickSearch();
        EXPECT_EQ(window->currentEmployee(), id) << text;
    }

    window->searchName()->clear();
    window->searchNumber()->setText(QStringLiteral("10"));
    window->quickSearch();
    EXPECT_EQ(window->currentEmployee(), ivanov);
}

TEST_F(Gui, CalendarShowsThePeriodAndSettingsKeepIt)
{
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::CalendarGrid *grid = window->calendar();
    EXPECT_EQ(grid->firstDay(), QDate(2008, 1, 1));
    EXPECT_EQ(grid->dayText(1), QStringLiteral("1"));
    EXPECT_EQ(grid->item(1, 1)->foreground().color(), QColor(Qt::red)); // 1 January, a holiday
    EXPECT_EQ(grid->item(2, 1)->foreground().color(), QColor(Qt::black));

    window->showMaximized();
    window.reset(); // exit writes the settings file
    storage::Settings again(t->dir.path());
    again.read();
    EXPECT_EQ(again.lastDate, util::Period(2008, 1));
    // A window left maximised comes back maximised.
    app::MainWindow reopened(again, *t->data);
    EXPECT_TRUE(reopened.windowState() & Qt::WindowMaximized);
}

TEST_F(Gui, WheelMovesTheListOneRowPerNotchAndEnterSearches)
{
    const int first = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    const int second = saved(QStringLiteral("20"), QStringLiteral("Петров"), QStringLiteral("7501020002"));
    window->selectEmployee(first);
    QWidget *viewport = window->employeeList()->viewport();
    auto turn = [viewport](int delta) {
        QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    };
    turn(-120);
    EXPECT_EQ(window->currentEmployee(), second);
    turn(120);
    EXPECT_EQ(window->currentEmployee(), first);

    QApplication::setActiveWindow(window.get());
    window->searchNumber()->setFocus();
    QTest::keyClicks(window->searchNumber(), QStringLiteral("20"));
    QTest::keyClick(window->searchNumber(), Qt::Key_Return);
    EXPECT_EQ(window->currentEmployee(), second);
}

TEST_F(Gui, HelpOpensTheProgramsPagesOrSaysWhichFileIsMissing)
{
    QAction *help = menuAction(QStringLiteral("Помощ"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    const QString page = t->dir.path() + QStringLiteral("help/plavex.html");
    t->prompter.messages.clear();
    help->trigger();
    EXPECT_EQ(t->prompter.messages.value(0),
              QStringLiteral("Файлът с помощта \"%1\" не може да бъде отворен.").arg(page));

    QDir().mkpath(t->dir.path() + QStringLiteral("help"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PLAVEX_SOURCE_DIR "/help/plavex.html"), page));
    t->prompter.messages.clear();
    help->trigger();
    EXPECT_TRUE(t->prompter.messages.isEmpty()) << t->prompter.messages.join(u'|').toStdString();
    auto *shown = window->findChild<app::HelpWindow *>();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->browser()->toPlainText().contains(QStringLiteral("Месечният цикъл")));
    // What a new employee gets, and how a year's own files are read in.
    EXPECT_TRUE(shown->browser()->toPlainText().contains(QStringLiteral("по едно перо за всяка осигурителна вноска")));
    EXPECT_TRUE(shown->browser()->toPlainText().contains(QStringLiteral("Подмяна на служебните номенклатури")));
}

// F1 opens the page of the window or dialog in front: its own page, else the
// page of the window it was opened from, at last the contents.
TEST_F(Gui, F1OpensThePageOfTheWindowInFront)
{
    const QString folder = t->dir.path() + QStringLiteral("help/");
    QDir().mkpath(folder);
    const QDir shipped(QStringLiteral(PLAVEX_SOURCE_DIR "/help"));
    for (const QString &name : shipped.entryList({QStringLiteral("*.html")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(shipped.filePath(name), folder + name)) << name.toStdString();

    QDialog company(window.get());
    company.setObjectName(QStringLiteral("fFirma"));
    QDialog inner(&company);
    inner.setObjectName(QStringLiteral("fSomethingWithoutAPage"));
    QDialog alone(window.get());
    const std::pair<QWidget *, const char *> pages[] = {
        {window.get(), "plavex.html"}, {&company, "fFirma.html"}, {&inner, "fFirma.html"}, {&alone, "plavex.html"}};
    for (const auto &[w, page] : pages)
        EXPECT_EQ(app::HelpWindow::pageFor(w, folder), folder + QString::fromLatin1(page)) << page;

    // In a modal dialog, where no shortcut of the main window reaches.
    QString shown;
    test::onModal<app::CompanyWindow>([&shown](app::CompanyWindow *d) {
        auto *field = d->findChild<QLineEdit *>();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_F1);
        if (auto *help = d->findChild<app::HelpWindow *>())
            shown = help->browser()->toPlainText();
        d->reject();
    });
    menuAction(QStringLiteral("Данни за фирмата"))->trigger();
    EXPECT_TRUE(shown.contains(QStringLiteral("Данни за фирма"))) << shown.left(200).toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Изход"))) << shown.left(200).toStdString();
}

TEST_F(Gui, AnotherMonthMadeCurrentShowsAtOnce)
{
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    t->data->changePeriod(2008, 2);
    QTest::qWait(20);
    EXPECT_TRUE(window->windowTitle().contains(storage::periodCaption(util::Period(2008, 2))));
    EXPECT_EQ(window->employeeModel()->rowCount(), 0); // a month nobody was carried into
    EXPECT_EQ(window->calendar()->firstDay(), QDate(2008, 2, 1));
}

TEST_F(Gui, AChangeInAClosedMonthIsAskedAboutOnce)
{
    // A named company: the first-start hint has gone, the status is the month's.
    reference::postCompany(*t->data, kNamedCompany);
    util::RecordingPrompter quiet;
    employees::EmployeePanel panel(*t->data, 100);
    const int id = panel.create({QStringLiteral("5"), QStringLiteral("Димитрова"), QStringLiteral("7501020018")}, quiet);
    ASSERT_TRUE(panel.save(id).isEmpty());
    menuAction(QStringLiteral("Приключване на месец"))->trigger();
    settle();
    ASSERT_EQ(t->data->period(), util::Period(2008, 2));
    EXPECT_FALSE(window->monthClosed());

    // Back in January, which was closed into February.
    t->data->changePeriod(2008, 1);
    settle();
    window->showTitle();
    window->reloadList(id);
    EXPECT_TRUE(window->monthClosed());
    EXPECT_TRUE(window->monthStatus()->text().startsWith(QStringLiteral("Приключен месец")));
    window->tabs()->setCurrentWidget(window->panel());
    QLineEdit *address = window->panel()->field(QStringLiteral("PERSON_ADDR"));
    ASSERT_TRUE(address->isEnabled());
    address->setFocus();

    // "No" keeps the field as it was; the next key asks again.
    prompter.questions.clear();
    prompter.answers = {false};
    QTest::keyClick(address, Qt::Key_A);
    EXPECT_TRUE(address->text().isEmpty());
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(prompter.questions.at(0).startsWith(
        QStringLiteral("Месец %1 е приключен.").arg(storage::periodCaption(util::Period(2008, 1)))));
    // "Yes" once: the typing goes on without further questions, browsing never asked.
    prompter.answers = {true};
    QTest::keyClicks(address, QStringLiteral("Rosa 5"));
    EXPECT_EQ(address->text(), QStringLiteral("Rosa 5"));
    EXPECT_EQ(prompter.questions.size(), 2);

    // A month never closed asks nothing.
    t->data->changePeriod(2008, 2);
    settle();
    window->showTitle();
    window->reloadList(0);
    EXPECT_FALSE(window->monthClosed());
    EXPECT_TRUE(window->monthStatus()->text().isEmpty());
}
