// The month, database and item commands of the main menu, triggered as a user picks them.
#include "app/CalculatorWindow.h"
#include "app/EmployeePanelWidget.h"
#include "app/NewDateDialog.h"
#include "storage/Title.h"
#include "storage/fb/Statement.h"
#include "tests/app/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::onModal;
using Gui = test::MainWindowFixture;
} // namespace

TEST_F(Gui, ClosingAMonthFromTheMenuShowsTheNewMonth)
{
    menuAction(QStringLiteral("Приключване на месец"))->trigger();
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
    menuAction(QStringLiteral("Приключване на месец"))->trigger();
    settle();
    EXPECT_EQ(t->data->period(), util::Period(2008, 2));
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
    menuAction(QStringLiteral("Приключване на месец"))->trigger();
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
                  QStringLiteral("Моля попълнете данни в полето \"ГОДИНА\" или натиснете бутона \"Изход\"."));
        QTest::keyClicks(d->yearEdit(), QStringLiteral("9"));
        d->monthBox()->setCurrentIndex(2);
        d->okButton()->click();
    });
    menuAction(QStringLiteral("Смяна на текущия месец"))->trigger();
    settle();
    EXPECT_EQ(t->data->period(), util::Period(2009, 3));
    EXPECT_TRUE(window->windowTitle().contains(storage::periodCaption(util::Period(2009, 3))));
}

TEST_F(Gui, ABackupSaysWhereItsFileIsAndHowBig)
{
    const QString file = t->dir.path() + QStringLiteral("archive.gbk");
    onModal<QFileDialog>([file](QFileDialog *d) {
        d->selectFile(file);
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    menuAction(QStringLiteral("Архивиране на базата данни"))->trigger();
    settle();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(prompter.messages.value(0),
              QStringLiteral("Архивът е записан във файла\n%1\nРазмер: %2 KB.")
                  .arg(QDir::toNativeSeparators(file))
                  .arg((QFileInfo(file).size() + 1023) / 1024));
}

// "Save" posts what is being typed and says so, with no dialog; "Save As..."
// makes a backup copy into the file the user names.
TEST_F(Gui, SaveWritesWhatIsTypedAndSaveAsMakesABackup)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    QApplication::setActiveWindow(window.get());
    window->tabs()->setCurrentWidget(window->panel());
    QLineEdit *address = window->panel()->field(QStringLiteral("PERSON_ADDR"));
    address->setFocus();
    QTest::keyClicks(address, QStringLiteral("Roza 1"));
    prompter.messages.clear();
    QAction *save = menuAction(QStringLiteral("&Save"));
    EXPECT_EQ(save->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    save->trigger();
    settle();
    EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("Данните са записани.")});
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(),
                                    QStringLiteral("select trim(PERSON_ADDR) from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                    {id})
                  .toString(),
              QStringLiteral("Roza 1"));
    EXPECT_TRUE(address->hasFocus()); // the user goes on where he was

    // A newcomer without his ЕГН is not saved by it; the message says what is missing.
    newEmployee(QStringLiteral("11"), QStringLiteral("Петров"), QStringLiteral("8001010008"));
    window->panel()->setColumn(QStringLiteral("PERSON_EGN"), QString());
    prompter.messages.clear();
    save->trigger();
    EXPECT_EQ(prompter.messages,
              QStringList{QStringLiteral("Трите полета \"НОМЕР\",\"ИМЕ\",\"ЕГН\" са задължителни. Моля попълнете информация в тях.")});
    EXPECT_TRUE(window->employeePanel().pending());
    window->cancelEmployee();

    const QString file = t->dir.path() + QStringLiteral("copy.gbk");
    onModal<QFileDialog>([file](QFileDialog *d) {
        d->selectFile(file);
        static_cast<QDialog *>(d)->accept();
    });
    prompter.messages.clear();
    prompter.questions.clear();
    menuAction(QStringLiteral("Save &As..."))->trigger();
    settle();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(prompter.messages.value(0).startsWith(QStringLiteral("Архивът е записан във файла\n%1").arg(QDir::toNativeSeparators(file))))
        << prompter.messages.join(u'|').toStdString();
    EXPECT_TRUE(prompter.questions.isEmpty()); // the user asked for the copy himself
}

TEST_F(Gui, TheCalculatorTakesTheKeysWhenItOpens)
{
    menuAction(QStringLiteral("Калкулатор"))->trigger();
    QTest::qWait(50);
    auto *calculator = window->findChild<app::CalculatorWindow *>();
    ASSERT_NE(calculator, nullptr);
    ASSERT_TRUE(calculator->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), calculator);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12+3="));
    EXPECT_EQ(calculator->findChild<QLineEdit *>()->text(), QStringLiteral("15"));
    calculator->hide();
}

TEST_F(Gui, AutocalcIsStoredAndNoNegativeNetsIsSaid)
{
    QAction *autocalc = menuAction(QStringLiteral("Autocalc"));
    ASSERT_TRUE(autocalc->isEnabled());
    ASSERT_TRUE(t->data->autocalc());
    autocalc->trigger();
    EXPECT_FALSE(t->data->autocalc());
    EXPECT_FALSE(autocalc->isChecked());
    EXPECT_EQ(scalar(QStringLiteral("select PAR_AUTOCALC from MYPARAMS")), 0);
    autocalc->trigger();
    EXPECT_EQ(scalar(QStringLiteral("select PAR_AUTOCALC from MYPARAMS")), 1);

    menuAction(QStringLiteral("Тест червени остатъци"))->trigger();
    EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("Няма намерени.")});
    // January: the previous year's tax may be recomputed.
    EXPECT_TRUE(menuAction(QStringLiteral("Годишен ДОД"))->isEnabled());
}
