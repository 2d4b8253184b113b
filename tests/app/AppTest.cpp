// The windows driven as a user drives them, offscreen, on a fresh database.
#include "app/CalendarGrid.h"
#include "app/ChooserDialog.h"
#include "app/EarlierMonthsPage.h"
#include "app/EmployeePanelWidget.h"
#include "app/EmployeeWindow.h"
#include "app/FormPlacement.h"
#include "app/HelpWindow.h"
#include "app/ItemDialog.h"
#include "app/ItemEditForm.h"
#include "app/ItemsPage.h"
#include "app/MainWindow.h"
#include "app/NewEmployeeDialog.h"
#include "app/NomenclatureEditor.h"
#include "app/ProgressWindow.h"
#include "app/TableModel.h"
#include "items/DefinitionReader.h"
#include "storage/IniFile.h"
#include "storage/Title.h"
#include "storage/fb/Statement.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TestDatabase.h"
#include "util/Separators.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace plavex;

namespace {

using test::application;
using test::onModal;


// A fresh program folder and database with the main window on it.
class Gui : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        t = std::make_unique<test::TestDatabase>(util::Period(2008, 1));
        // The shipped service files: item chart, rates and tax scale, as a real start has them.
        const QDir noms(QStringLiteral(PLAVEX_SOURCE_DIR "/noms"));
        for (const QString &name : noms.entryList(QDir::Files))
            QFile::copy(noms.filePath(name), t->dir.path() + QStringLiteral("noms/") + name);
        t->data = std::make_unique<storage::DataModule>(t->settings, t->prompter, items::seedChart);
        window = std::make_unique<app::MainWindow>(t->settings, *t->data);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        t.reset();
    }

    int newEmployee(const QString &number, const QString &name, const QString &egn)
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

    int saved(const QString &number, const QString &name, const QString &egn)
    {
        const int id = newEmployee(number, name, egn);
        window->saveEmployee();
        return id;
    }

    qint64 scalar(const QString &sql, const QVariantList &values = {})
    {
        return fb::Statement::scalar(t->data->transaction(), sql, values).toLongLong();
    }

    QString cell(QTableView *view, int row, int column) { return view->model()->index(row, column).data().toString(); }

    std::unique_ptr<test::TestDatabase> t;
    std::unique_ptr<app::MainWindow> window;
};

} // namespace

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
        QAction *a = window->menuAction(QString::fromUtf8(caption));
        ASSERT_NE(a, nullptr) << caption;
        EXPECT_EQ(a->isEnabled(), enabled) << caption;
    }
}

TEST_F(Gui, NewEmployeeComesWithFourItemsAndCancelTakesThemAway)
{
    const int id = newEmployee(QStringLiteral("1234"), QStringLiteral("Иванов Иван"), QStringLiteral("7501020002"));
    ASSERT_GT(id, 0) << t->prompter.messages.join(u'|').toStdString();
    EXPECT_EQ(window->employeeModel()->rowCount(), 1);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("    1 души")));
    EXPECT_EQ(window->panel()->field(QStringLiteral("PERSON_IME"))->text(), QStringLiteral("Иванов Иван"));
    EXPECT_EQ(window->panel()->field(QStringLiteral("PERSON_ZVENO"))->text(), QStringLiteral("12"));
    QTableView *items = window->itemsPage()->view();
    ASSERT_EQ(items->model()->rowCount(), 4);
    EXPECT_EQ(cell(items, 0, 0), QString()); // by type: 100, 140, 200, 201; totals show no code
    EXPECT_EQ(cell(items, 1, 0), QStringLiteral("101"));
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

TEST_F(Gui, BaseSalaryShowsItsAmountAndTheNet)
{
    const int id = saved(QStringLiteral("1001"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    ASSERT_GT(id, 0);
    app::ItemsPage *page = window->itemsPage();
    window->tabs()->setCurrentWidget(page);
    onModal<app::ItemEditForm>([this](app::ItemEditForm *form) {
        form->codeEdit()->setText(QStringLiteral("1"));
        ASSERT_TRUE(form->acceptCode()) << t->prompter.messages.join(u'|').toStdString();
        EXPECT_TRUE(form->typePage()->isVisible());
        auto *amount = qobject_cast<QLineEdit *>(form->pageField(QStringLiteral("PERO_SUMA1")));
        ASSERT_NE(amount, nullptr);
        amount->setText(QStringLiteral("1000"));
        form->okPressed();
    });
    page->addItem();
    QTableView *items = page->view();
    ASSERT_EQ(items->model()->rowCount(), 5) << t->prompter.messages.join(u'|').toStdString();
    int salaryRow = -1;
    for (int r = 0; r < 5; ++r) {
        if (cell(items, r, 0) == QLatin1String("1"))
            salaryRow = r;
    }
    ASSERT_GE(salaryRow, 0);
    EXPECT_FALSE(cell(items, salaryRow, 1).isEmpty()); // the definition's name
    EXPECT_EQ(cell(items, salaryRow, 3), QStringLiteral("1000.00"));
    // The net (type 201, last by type) is what is left after contributions and tax.
    const double net = cell(items, 4, 3).toDouble();
    EXPECT_GT(net, 0.0);
    EXPECT_LT(net, 1000.0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSDATA where PERSDATA_PERSONID=?"), {id}), 1);

    // The next "Добави перо" offers the code just used, already accepted.
    onModal<app::ItemEditForm>([](app::ItemEditForm *form) {
        EXPECT_EQ(form->codeEdit()->text(), QStringLiteral("1"));
        EXPECT_TRUE(form->typePage()->isVisible());
        form->reject();
    });
    page->addItem();
    EXPECT_EQ(items->model()->rowCount(), 5); // a cancelled item leaves no row
}

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

TEST_F(Gui, EarlierMonthsAddEditAndRefuseADuplicate)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EarlierMonthsPage *page = window->earlierMonths();
    const int before = page->model()->rowCount();
    ASSERT_TRUE(page->addMonth(util::Period(2007, 11)));
    EXPECT_EQ(page->model()->rowCount(), before + 1);
    t->prompter.messages.clear();
    EXPECT_FALSE(page->addMonth(util::Period(2007, 11)));
    EXPECT_EQ(t->prompter.messages.value(0),
              QStringLiteral("В базата данни вече съществува запис за това лице за месец Ноември 2007 г"));

    // A typed cell is stored at once; year and month head the row and are never edited.
    app::TableModel *model = page->model();
    int row = -1;
    for (int r = 0; r < model->rowCount(); ++r) {
        if (model->raw(r, QStringLiteral("PERSDATA_MES")).toInt() == 11)
            row = r;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(model->headerData(row, Qt::Vertical).toString(), QStringLiteral("Ноември 2007"));
    const int odni = model->section(QStringLiteral("PERSDATA_ODNI"));
    ASSERT_TRUE(model->setData(model->index(row, odni), QStringLiteral("12")));
    EXPECT_EQ(scalar(QStringLiteral("select PERSDATA_ODNI from PERSDATA where PERSDATA_PERSONID=? and PERSDATA_GOD=2007 "
                                    "and PERSDATA_MES=11"),
                     {id}),
              12);
    EXPECT_EQ(model->section(QStringLiteral("PERSDATA_GOD")), -1);
    EXPECT_EQ(model->section(QStringLiteral("PERSDATA_MES")), -1);
}

TEST_F(Gui, ADismissedEmployeeIsReadOnlyAndRed)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EmployeePanelWidget *panel = window->panel();
    EXPECT_FALSE(panel->field(QStringLiteral("PERSON_IME"))->isReadOnly());
    EXPECT_FALSE(window->deleteAction()->isEnabled());

    panel->activeBox()->click(); // dismissed
    QTest::qWait(20);            // the refresh follows the write
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_ACT from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")), {id}), 0);
    EXPECT_TRUE(panel->field(QStringLiteral("PERSON_IME"))->isReadOnly());
    EXPECT_FALSE(panel->insuranceList()->isEnabled());
    EXPECT_TRUE(panel->activeBox()->isEnabled()); // can be taken back
    EXPECT_TRUE(panel->styleSheet().contains(QStringLiteral("red")));
    const QModelIndex row = window->employeeModel()->index(0, 2);
    EXPECT_EQ(row.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_TRUE(window->deleteAction()->isEnabled());
    EXPECT_FALSE(window->itemsPage()->popup()->actions().value(0)->isEnabled());

    // Deleting him takes his row and items of this month.
    window->deleteEmployee();
    EXPECT_EQ(window->employeeModel()->rowCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA"))), 0);
    EXPECT_FALSE(t->prompter.questions.isEmpty());
}

TEST_F(Gui, PanelFieldsPostWhenLeftAndRefuseWrongKeys)
{
    const int id = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    app::EmployeePanelWidget *panel = window->panel();
    QApplication::setActiveWindow(window.get());
    window->tabs()->setCurrentWidget(panel);
    QLineEdit *children = panel->field(QStringLiteral("PERSON_DECA"));
    children->setFocus();
    t->prompter.messages.clear();
    QTest::keyClicks(children, QStringLiteral("2x"));
    EXPECT_EQ(children->text(), QStringLiteral("2"));
    EXPECT_FALSE(t->prompter.messages.isEmpty()); // the refused letter says why
    QTest::keyClick(children, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_FALSE(children->hasFocus());
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_DECA from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")), {id}), 2);

    // A wrong ЕГН is said when left, and kept as typed.
    QLineEdit *egn = panel->field(QStringLiteral("PERSON_EGN"));
    egn->setFocus();
    egn->selectAll();
    QTest::keyClicks(egn, QStringLiteral("1234"));
    t->prompter.messages.clear();
    QTest::keyClick(egn, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Невалидно ЕГН или ЛНЧ. Моля въведете коректна стойност или "
                                                            "натиснете бутона \"ОТКАЗ\"."));
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(),
                                    QStringLiteral("select PERSON_EGN from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                    {id})
                  .toString(),
              QStringLiteral("1234"));

    // A list stores its position + 1; a date goes in as dd.mm.yyyy and out as a DATE.
    QComboBox *education = nullptr;
    for (QComboBox *c : panel->findChildren<QComboBox *>()) {
        if (c->findText(QStringLiteral("Висше")) >= 0)
            education = c;
    }
    ASSERT_NE(education, nullptr);
    education->setCurrentIndex(4);
    emit education->activated(4);
    EXPECT_EQ(scalar(QStringLiteral("select PERSON_OBR from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")), {id}), 5);
    ASSERT_TRUE(panel->setColumn(QStringLiteral("PERSON_DATANAZ"), QDate(2007, 3, 15)));
    EXPECT_EQ(fb::Statement::scalar(t->data->transaction(),
                                    QStringLiteral("select PERSON_DATANAZ from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                    {id})
                  .toDate(),
              QDate(2007, 3, 15));
    ASSERT_TRUE(panel->setColumn(QStringLiteral("PERSON_DATANAZ"), QString()));
    EXPECT_TRUE(fb::Statement::scalar(t->data->transaction(),
                                      QStringLiteral("select PERSON_DATANAZ from %1 where PERSON_ID=?").arg(t->data->table(u"PERSONS")),
                                      {id})
                    .isNull());
}

TEST_F(Gui, ContributionLabelsFollowTheBirthYear)
{
    saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("6101020006"));
    const QString after1959 = window->panel()->contributionLine(0)->text();
    saved(QStringLiteral("11"), QStringLiteral("Петров"), QStringLiteral("5901020003"));
    const QString before1960 = window->panel()->contributionLine(0)->text();
    EXPECT_TRUE(after1959.contains(QStringLiteral("ДЗПО"))) << after1959.toStdString();
    EXPECT_FALSE(before1960.contains(QStringLiteral("ДЗПО"))) << before1960.toStdString();
}

TEST_F(Gui, ChooserAddsAUnitAndCancellingLeavesNone)
{
    const qint64 units = scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"ZVENA")));
    app::ChooserDialog chooser(*t->data, t->prompter, employees::ChooserKind::Units, true);
    onModal<app::NomenclatureEditor>([](app::NomenclatureEditor *editor) { editor->reject(); });
    chooser.newPressed();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"ZVENA"))), units);

    onModal<app::NomenclatureEditor>([](app::NomenclatureEditor *editor) {
        editor->field(1)->setText(QStringLiteral("Счетоводство"));
        editor->tryAccept();
    });
    chooser.newPressed();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"ZVENA"))), units + 1);
    chooser.okPressed();
    EXPECT_EQ(chooser.chosenCode(), QString::number(units + 1));
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

TEST(Placement, AMaximisedDialogKeepsItsNormalBounds)
{
    application();
    storage::IniFile ini;
    {
        QDialog dialog;
        new app::FormPlacement(&dialog, ini, QStringLiteral("fSearch"));
        dialog.setGeometry(100, 120, 400, 300);
        dialog.show();
        dialog.hide();
        EXPECT_EQ(ini.intValue(QStringLiteral("fSearch"), QStringLiteral("width"), 0), 400);
        dialog.showMaximized();
        dialog.hide();
    }
    EXPECT_EQ(ini.intValue(QStringLiteral("fSearch"), QStringLiteral("state"), -1), 2);
    EXPECT_EQ(ini.intValue(QStringLiteral("fSearch"), QStringLiteral("width"), 0), 400); // untouched
    QDialog again;
    new app::FormPlacement(&again, ini, QStringLiteral("fSearch"));
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);

    // A record never saved leaves the design bounds.
    QDialog fresh;
    fresh.resize(333, 222);
    new app::FormPlacement(&fresh, ini, QStringLiteral("fGrad"));
    EXPECT_EQ(fresh.width(), 333);
}

TEST_F(Gui, ItemDialogFillsARecordOnlyWithItsRequiredFields)
{
    const qint64 items = scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA")));
    app::ItemDialog dialog(*t->data, t->prompter, items::ItemRecord{}, 0);
    dialog.show();
    dialog.codeEdit()->setText(QStringLiteral("6"));
    ASSERT_TRUE(dialog.acceptCode());
    t->prompter.messages.clear();
    dialog.okPressed();
    EXPECT_EQ(t->prompter.messages.value(0),
              QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\""));
    EXPECT_EQ(dialog.result(), 0);
    qobject_cast<QLineEdit *>(dialog.pageField(QStringLiteral("PERO_SUMA1")))->setText(QStringLiteral("50.5"));
    dialog.okPressed();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.record().code, 6);
    EXPECT_EQ(dialog.record().type, 6);
    EXPECT_DOUBLE_EQ(dialog.record().amount1, 50.5);
    // The table is not touched.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from %1").arg(t->data->table(u"PERA"))), items);
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

TEST_F(Gui, HelpOpensTheProgramsPagesOrSaysWhichFileIsMissing)
{
    QAction *help = window->menuAction(QStringLiteral("Помощ"));
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

TEST(Progress, StepsByItsStepOrByTheShareDone)
{
    application();
    app::ProgressWindow byShare(QStringLiteral("Приключване"), 0);
    byShare.stepProgress(3, 2);
    EXPECT_EQ(byShare.position(), 67);
    app::ProgressWindow byStep(QStringLiteral("Приключване"), 30);
    for (int i = 0; i < 4; ++i)
        byStep.stepProgress(10, i);
    EXPECT_EQ(byStep.position(), 100); // never past the end
}

TEST(TableModelTyping, TypedTextBecomesTheColumnsValue)
{
    using Kind = storage::TableData::Kind;
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    const QChar d = util::Separators::current().date;
    struct Case {
        QString text;
        Kind kind;
        bool ok;
        QVariant value;
    };
    const Case cases[] = {
        {QStringLiteral("12"), Kind::Integer, true, qlonglong(12)},
        {QStringLiteral(""), Kind::Integer, true, QVariant()}, // emptied: no value, not 0
        {QStringLiteral("1x"), Kind::Integer, false, {}},
        {QStringLiteral("12,5"), Kind::Number, true, 12.5},
        {QStringLiteral("12.5"), Kind::Number, true, 12.5},
        {QStringLiteral("15") + d + QStringLiteral("03") + d + QStringLiteral("2007"), Kind::Date, true, QDate(2007, 3, 15)},
        {QStringLiteral("31") + d + QStringLiteral("02") + d + QStringLiteral("2007"), Kind::Date, false, {}},
        {QStringLiteral(" "), Kind::Date, true, QVariant()},
        {QStringLiteral(" Иван "), Kind::Text, true, QStringLiteral("Иван")},
    };
    for (const Case &c : cases) {
        QVariant value;
        EXPECT_EQ(app::TableModel::parseTyped(c.text, c.kind, value), c.ok) << c.text.toStdString();
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text.toStdString();
        }
    }
    QLocale::setDefault(before);
}

TEST_F(Gui, EmployeeWindowFindsByNameAndHidesTheDismissed)
{
    const int ivanov = saved(QStringLiteral("10"), QStringLiteral("Иванов"), QStringLiteral("7501020002"));
    const int petrov = saved(QStringLiteral("20"), QStringLiteral("Петров"), QStringLiteral("7501020002"));
    window->selectEmployee(ivanov);
    window->panel()->activeBox()->click(); // Иванов is dismissed
    QTest::qWait(20);

    app::EmployeeWindow persons(*t->data, t->prompter);
    persons.nameBox()->setText(QStringLiteral("петр"));
    persons.search();
    EXPECT_EQ(persons.selectedId(), petrov);
    EXPECT_TRUE(persons.nameBox()->text().isEmpty());

    t->prompter.messages.clear();
    persons.nameBox()->setText(QStringLiteral("Жълт"));
    persons.search();
    EXPECT_EQ(t->prompter.messages.value(0), QStringLiteral("Няма намерени записи."));

    EXPECT_EQ(persons.view()->model()->rowCount(), 2);
    persons.activeOnly()->setChecked(true);
    EXPECT_EQ(persons.view()->model()->rowCount(), 1);
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
              QStringLiteral("Моля попълнете всички полета или натиснете бутона \"ОТКАЗ\""));
    auto *amount = qobject_cast<QLineEdit *>(form.pageField(QStringLiteral("PERO_SUMA1")));
    ASSERT_NE(amount, nullptr);
    amount->setText(QStringLiteral("12"));
    form.okPressed();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.record().code, 6);
    EXPECT_EQ(form.record().type, 6);
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
