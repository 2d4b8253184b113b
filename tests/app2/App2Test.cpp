// The month, user, item-definition and calculator windows driven as a user
// drives them, offscreen, on a fresh database.
#include "app/CalculatorWindow.h"
#include "app/CalendarGrid.h"
#include "app/CalendarWindow.h"
#include "app/CompanyWindow.h"
#include "app/EditPeroDialog.h"
#include "app/EmployeePanelWidget.h"
#include "app/LoginDialog.h"
#include "app/MainWindow.h"
#include "app/MonthGridDialog.h"
#include "app/NewDateDialog.h"
#include "app/PeroDefsWindow.h"
#include "app/TableModel.h"
#include "app/UsersWindow.h"
#include "items/DefinitionReader.h"
#include "storage/IniFile.h"
#include "storage/Title.h"
#include "storage/UsersDatabase.h"
#include "storage/fb/Statement.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TestDatabase.h"
#include "util/Separators.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

using namespace plavex;

namespace {

using test::application;
using test::onModal;

// Answers the questions in the order given, then yes; keeps every text.
class ScriptedPrompter : public util::Prompter {
public:
    void message(const QString &text) override { messages.append(text); }
    bool confirm(const QString &question) override
    {
        questions.append(question);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<bool> answers;
    QStringList messages;
    QStringList questions;
};


void login(app::LoginDialog *d, const QString &user, const QString &password)
{
    d->userEdit()->setText(user);
    d->passwordEdit()->setText(password);
    d->loginButton()->click();
}

// A users file of its own with the login switched on.
class Users : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        ASSERT_TRUE(users.open(dir.path()));
        users.setUserSystem(true);
    }
    test::TempProgramDir dir;
    ScriptedPrompter prompter;
    storage::UsersDatabase users{prompter};
    storage::IniFile ini;
};

// A fresh program folder and database with the main window on it.
class Gui : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        t = std::make_unique<test::TestDatabase>(util::Period(2008, 1));
        t->data = std::make_unique<storage::DataModule>(t->settings, prompter, items::seedChart);
        window = std::make_unique<app::MainWindow>(t->settings, *t->data);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        t.reset();
    }
    qint64 scalar(const QString &sql, const QVariantList &values = {})
    {
        return fb::Statement::scalar(t->data->transaction(), sql, values).toLongLong();
    }
    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    ScriptedPrompter prompter;
    std::unique_ptr<test::TestDatabase> t;
    std::unique_ptr<app::MainWindow> window;
};

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

TEST_F(Gui, ClosingAMonthFromTheMenuShowsTheNewMonth)
{
    window->menuAction(QStringLiteral("Приключване на месец"))->trigger();
    settle();
    // The question names both months; the answer says what was done.
    EXPECT_EQ(prompter.questions.value(0),
              QStringLiteral("Приключване на месец %1 и преминаване към %2.\nСигурни ли сте?")
                  .arg(storage::periodCaption(util::Period(2008, 1)), storage::periodCaption(util::Period(2008, 2))));
    EXPECT_EQ(t->data->period(), util::Period(2008, 2));
    EXPECT_EQ(prompter.messages.value(0),
              QStringLiteral("Месец %1 е приключен.\nТекущ месец: %2.\nПренесени служители: 0.")
                  .arg(storage::periodCaption(util::Period(2008, 1)), storage::periodCaption(util::Period(2008, 2))));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Plavex V1.00 - ")
                                                 + storage::periodCaption(util::Period(2008, 2))))
        << window->windowTitle().toStdString();

    // "No" to the question asks nothing more and closes nothing.
    prompter.answers = {false};
    window->menuAction(QStringLiteral("Приключване на месец"))->trigger();
    settle();
    EXPECT_EQ(t->data->period(), util::Period(2008, 2));
}

TEST_F(Gui, AChangeInAClosedMonthIsAskedAboutOnce)
{
    util::RecordingPrompter quiet;
    employees::EmployeePanel panel(*t->data, 100);
    const int id = panel.create({QStringLiteral("5"), QStringLiteral("Димитрова"), QStringLiteral("7501020018")}, quiet);
    ASSERT_TRUE(panel.save(id).isEmpty());
    window->menuAction(QStringLiteral("Приключване на месец"))->trigger();
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

TEST_F(Gui, ABackupSaysWhereItsFileIsAndHowBig)
{
    const QString file = t->dir.path() + QStringLiteral("archive.gbk");
    onModal<QFileDialog>([file](QFileDialog *d) {
        d->selectFile(file);
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    window->menuAction(QStringLiteral("Архивиране на базата данни"))->trigger();
    settle();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(prompter.messages.value(0),
              QStringLiteral("Архивът е записан във файла\n%1\nРазмер: %2 KB.")
                  .arg(QDir::toNativeSeparators(file))
                  .arg((QFileInfo(file).size() + 1023) / 1024));
}

TEST_F(Gui, TheCalculatorTakesTheKeysWhenItOpens)
{
    window->menuAction(QStringLiteral("Калкулатор"))->trigger();
    QTest::qWait(50);
    auto *calculator = window->findChild<app::CalculatorWindow *>();
    ASSERT_NE(calculator, nullptr);
    ASSERT_TRUE(calculator->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), calculator);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12+3="));
    EXPECT_EQ(calculator->findChild<QLineEdit *>()->text(), QStringLiteral("15"));
    calculator->hide();
}

TEST_F(Gui, DecliningTheOverwriteOfAnExistingMonthChangesNothing)
{
    // March exists already and holds a definition of its own.
    t->data->changePeriod(2008, 2);
    t->data->insertRow(t->data->table(u"PERADEFS"), QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                       {7777, 6, QStringLiteral("Само през февруари"), QStringLiteral("0000000000")});
    t->data->commitRetaining();
    t->data->changePeriod(2008, 1);
    settle();
    const qint64 februaryRows = scalar(QStringLiteral("select count(*) from PERADEFS022008"));

    prompter.answers = {true, false};
    window->menuAction(QStringLiteral("Приключване на месец"))->trigger();
    settle();
    ASSERT_EQ(prompter.questions.size(), 2);
    EXPECT_TRUE(prompter.questions.at(1).startsWith(QStringLiteral("Вече съществуват таблици за новия месец.")));
    EXPECT_EQ(t->data->period(), util::Period(2008, 1));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERADEFS022008")), februaryRows);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERADEFS022008 where PERODEFS_COD=7777")), 1);
    EXPECT_TRUE(window->windowTitle().contains(storage::periodCaption(util::Period(2008, 1))));
}

TEST_F(Gui, NewDateRefusesAThreeDigitYear)
{
    onModal<app::NewDateDialog>([this](app::NewDateDialog *d) {
        EXPECT_EQ(d->monthBox()->currentIndex(), 0);
        EXPECT_EQ(d->yearBox()->value(), 2008);
        d->yearEdit()->selectAll();
        QTest::keyClicks(d->yearEdit(), QStringLiteral("200"));
        d->okButton()->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(prompter.messages.value(0),
                  QStringLiteral("Моля попълнете данни в полето \"ГОДИНА\" или натиснете бутона \"ОТКАЗ\"."));
        QTest::keyClicks(d->yearEdit(), QStringLiteral("9"));
        d->monthBox()->setCurrentIndex(2);
        d->okButton()->click();
    });
    window->menuAction(QStringLiteral("Смяна на текущия месец"))->trigger();
    settle();
    EXPECT_EQ(t->data->period(), util::Period(2009, 3));
    EXPECT_TRUE(window->windowTitle().contains(storage::periodCaption(util::Period(2009, 3))));
}

TEST_F(Gui, ADefinitionStillInUseIsNotDeleted)
{
    const QString peradefs = t->data->table(u"PERADEFS");
    t->data->insertRow(peradefs, QStringLiteral(" (PERODEFS_COD,PERODEFS_TYP,PERODEFS_IME,PERODEFS_HARS) "),
                       {8801, 6, QStringLiteral("Премия"), QStringLiteral("0000000000")});
    t->data->insertRow(t->data->table(u"PERA"), QStringLiteral(" (PERO_PERSONID,PERO_PEROID,PERO_COD,PERO_TYPE) "),
                       {1, 1, 8801, 6});
    t->data->commitRetaining();

    app::PeroDefsWindow list(*t->data, prompter, app::PeroDefsWindow::Mode::Management);
    const int row = list.model()->rowOfKey(8801);
    ASSERT_GE(row, 0);
    list.grid()->setCurrentIndex(list.model()->index(row, 0));
    list.deleteButton()->click();
    EXPECT_EQ(prompter.questions.value(0), QStringLiteral("Сигурни ли сте, че искате да изтриете дефиницията на перо 8801 Премия ?"));
    EXPECT_EQ(prompter.messages.value(0), QStringLiteral("Перо 8801 Премия не може да бъде изтрито?"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1 where PERODEFS_COD=8801").arg(peradefs)), 1);

    // In picker mode nothing is deleted and the totals are not offered.
    app::PeroDefsWindow picker(*t->data, prompter, app::PeroDefsWindow::Mode::Picker);
    EXPECT_FALSE(picker.deleteButton()->isEnabled());
    EXPECT_LT(picker.model()->rowOfKey(1000), 0);
    EXPECT_GE(picker.model()->rowOfKey(8801), 0);
}

TEST_F(Gui, TheDefinitionEditorChecksTheCodeAndFollowsTheType)
{
    app::EditPeroDialog edit(*t->data, prompter, items::Definition{}, true);
    edit.show();
    // A taken code, then no type: neither is stored.
    edit.codeEdit()->setText(QStringLiteral("1000"));
    edit.okButton()->click();
    EXPECT_EQ(prompter.messages.value(0), QStringLiteral("Моля въведете друг код или натиснете бутона \"ОТКАЗ\""));
    EXPECT_EQ(edit.result(), 0);
    edit.codeEdit()->setText(QStringLiteral("8802"));
    edit.okButton()->click();
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(edit.result(), 0);

    edit.typeEdit()->setText(QStringLiteral("139"));
    emit edit.typeEdit()->editingFinished();
    EXPECT_EQ(edit.typeBox()->currentData().toInt(), 139);
    EXPECT_EQ(edit.flagBox(2)->text(), QStringLiteral("ДОО"));
    EXPECT_EQ(edit.flagBox(5)->text(), QStringLiteral("ДЗПО"));
    edit.typeBox()->setCurrentIndex(edit.typeBox()->findData(6));
    emit edit.typeBox()->activated(edit.typeBox()->currentIndex());
    EXPECT_EQ(edit.typeEdit()->text(), QStringLiteral("6"));
    EXPECT_EQ(edit.flagBox(2)->text(), QStringLiteral("База отсъствия"));
    edit.flagBox(1)->setChecked(true);
    edit.flagBox(3)->setChecked(true);
    edit.okButton()->click();
    EXPECT_EQ(edit.result(), QDialog::Accepted);
    EXPECT_EQ(edit.definition().hars, QStringLiteral("1010000000"));
    EXPECT_EQ(edit.definition().code, 8802);
}

TEST(Calculator, EdgeCasesThroughTheButtons)
{
    application();
    storage::IniFile ini;
    app::CalculatorWindow window(ini);
    QStringList told;
    window.setMessageHandler([&told](const util::CalculatorMessage &m) { told << m.caption + QLatin1Char('|') + m.text; });
    using B = util::Calculator::Button;
    auto press = [&window](std::initializer_list<B> keys) {
        for (B k : keys)
            QTest::mouseClick(window.button(k), Qt::LeftButton);
        return window.display()->text();
    };
    const struct {
        const char *what;
        std::initializer_list<B> keys;
        const char *shown;
    } cases[] = {
        {"0 - 5 =", {B::Digit0, B::Subtract, B::Digit5, B::Equals}, "-5"},
        {"5 + =", {B::Digit5, B::Add, B::Equals}, "10"},
        {"8 + 2 / 0 =", {B::Digit8, B::Add, B::Digit2, B::Divide, B::Digit0, B::Equals}, "10"},
        {"5 / 0 =", {B::Digit5, B::Divide, B::Digit0, B::Equals}, "0"},
        {"two operators", {B::Digit6, B::Add, B::Multiply, B::Digit2, B::Equals}, "8"},
        {"<---- on -5", {B::Digit5, B::ChangeSign, B::DeleteLast}, "0"},
        {"<---- on -12", {B::Digit1, B::Digit2, B::ChangeSign, B::DeleteLast}, "-1"},
        {"16 digits", {B::Digit1, B::Digit2, B::Digit3, B::Digit4, B::Digit5, B::Digit6, B::Digit7, B::Digit8,
                       B::Digit9, B::Digit0, B::Digit1, B::Digit2, B::Digit3, B::Digit4, B::Digit5, B::Digit6},
         "123456789012345"},
    };
    for (const auto &c : cases) {
        // Every case starts on a window shown afresh.
        window.hide();
        window.show();
        press({B::ClearAll});
        EXPECT_EQ(press(c.keys), QString::fromUtf8(c.shown)) << c.what;
    }
    // Both divisions by zero say why nothing was divided.
    const QString byZero = QStringLiteral("Калкулатор|Деление на нула не е възможно!");
    EXPECT_EQ(told, (QStringList{byZero, byZero}));
    told.clear();

    press({B::ClearAll, B::Digit4, B::ChangeSign, B::SquareRoot});
    EXPECT_EQ(told, QStringList{QStringLiteral("Отрицателни числа|Отрицателни числа не се позволяват!")});
    EXPECT_EQ(window.display()->text(), QStringLiteral("-4"));

    // A key counts where it was pressed, even when let go elsewhere.
    press({B::ClearAll});
    QTest::mousePress(window.button(B::Digit7), Qt::LeftButton);
    QTest::mouseRelease(window.button(B::Digit7), Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(window.display()->text(), QStringLiteral("7"));
    // Typed keys work anywhere in the window.
    QTest::keyClicks(&window, QStringLiteral("*3"));
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(window.display()->text(), QStringLiteral("21"));

    // M+ shows its marker; MC takes it away.
    press({B::MemoryAdd});
    EXPECT_EQ(window.memoryMarker()->text(), QStringLiteral("M+"));
    press({B::MemoryClear});
    EXPECT_TRUE(window.memoryMarker()->text().isEmpty());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(Gui, CompanyFieldsPostAndOkRebuildsTheTitle)
{
    app::CompanyWindow company(*t->data, t->settings, prompter);
    EXPECT_EQ(company.pages()->count(), 5);
    QStringList percents;
    for (int i = 0; i < company.accidentPercent()->count(); ++i)
        percents << company.accidentPercent()->itemText(i);
    const QChar sep = util::Separators::current().decimal;
    QStringList expected;
    for (const char *p : {"0", "0.4", "0.5", "0.7", "0.9", "1.1"})
        expected << QString::fromLatin1(p).replace(QLatin1Char('.'), sep);
    EXPECT_EQ(percents, expected)
        << percents.join(QLatin1Char('|')).toStdString();

    // A wrong date is refused and the stored value stays.
    company.field(QStringLiteral("FIRMA_DECL6DATE"))->setText(QStringLiteral("31.02.2008"));
    emit company.field(QStringLiteral("FIRMA_DECL6DATE"))->editingFinished();
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(company.field(QStringLiteral("FIRMA_DECL6DATE"))->text().isEmpty());

    const int digits = t->settings.unitDigits;
    company.unitDigits()->setText(QStringLiteral("0"));
    company.field(QStringLiteral("FIRMA_IME"))->setText(QStringLiteral("Нова Фирма ООД"));
    company.ok();
    EXPECT_EQ(company.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.messages.size(), 1) << prompter.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(t->settings.unitDigits, digits);
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(), QStringLiteral("select FIRMA_IME from %1").arg(t->data->table(u"FIRMA")))
                  .toString()
                  .trimmed(),
              QStringLiteral("Нова Фирма ООД"));
    window->showTitle();
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("Нова Фирма ООД")));
}

TEST_F(Gui, WorkingDaysEditedOnTheMonthGridAreStored)
{
    app::CalendarWindow calendars(*t->data, prompter);
    ASSERT_GE(calendars.model()->rowCount(), 2); // the five- and six-day ones
    const int code = calendars.model()->raw(0, QStringLiteral("CAL_COD")).toInt();
    const QString before = calendars.model()->raw(0, QStringLiteral("CAL_RABDNI")).toString();
    ASSERT_EQ(before.at(1), QLatin1Char('1')); // 2 January 2008, a Wednesday

    // Day 2 becomes a day off and day 5 (a Saturday) a working day.
    onModal<app::MonthGridDialog>([](app::MonthGridDialog *grid) {
        grid->toggle(2);
        grid->toggle(5);
        grid->accept();
    });
    calendars.editWorkingDays();
    QString expected = before;
    expected[1] = QLatin1Char('0');
    expected[4] = QLatin1Char('1');
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(), QStringLiteral("select CAL_RABDNI from %1 where CAL_COD=?")
                                                                .arg(t->data->table(u"CAL")),
                                    {code})
                  .toString(),
              expected);

    // "Изход" leaves the days as they were.
    onModal<app::MonthGridDialog>([](app::MonthGridDialog *grid) {
        grid->toggle(3);
        grid->reject();
    });
    calendars.editWorkingDays();
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(), QStringLiteral("select CAL_RABDNI from %1 where CAL_COD=?")
                                                                .arg(t->data->table(u"CAL")),
                                    {code})
                  .toString(),
              expected);
}

TEST_F(Gui, AutocalcIsStoredAndNoNegativeNetsIsSaid)
{
    QAction *autocalc = window->menuAction(QStringLiteral("Autocalc"));
    ASSERT_TRUE(autocalc->isEnabled());
    ASSERT_TRUE(t->data->autocalc());
    autocalc->trigger();
    EXPECT_FALSE(t->data->autocalc());
    EXPECT_FALSE(autocalc->isChecked());
    EXPECT_EQ(scalar(QStringLiteral("select PAR_AUTOCALC from MYPARAMS")), 0);
    autocalc->trigger();
    EXPECT_EQ(scalar(QStringLiteral("select PAR_AUTOCALC from MYPARAMS")), 1);

    window->menuAction(QStringLiteral("Тест червени остатъци"))->trigger();
    EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("Няма намерени.")});
    // January: the previous year's tax may be recomputed.
    EXPECT_TRUE(window->menuAction(QStringLiteral("Годишен ДОД"))->isEnabled());
}
