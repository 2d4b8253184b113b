#include "app/DeclarationWindows.h"
#include "app/TableModel.h"
#include "declarations/Declaration1.h"
#include "employees/Employees.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TestDatabase.h"
#include "util/CodePage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plavex;

using test::application;

TEST(CorrectionForm, CorrectEditCancelAndDelete)
{
    application();
    test::TestDatabase t(util::Period(2008, 3));
    ASSERT_TRUE(t.open());
    util::RecordingPrompter yes(true);
    employees::EmployeePanel panel(*t.data, 100);
    const int id = panel.create({"7", "Иван Петров Колев", "7501020018"}, yes);
    panel.save(id);
    QTemporaryDir out;
    ASSERT_FALSE(declarations::exportDeclaration1(*t.data, out.path(), true, {}, yes).isEmpty());

    app::CorrectionForm form(*t.data, yes, id);
    ASSERT_EQ(form.model()->rowCount(), 1);
    EXPECT_TRUE(form.box("EMPL2000_FAMILIA")->isReadOnly()); // a first declaration is not edited
    EXPECT_EQ(form.box("EMPL2000_FAMILIA")->text(), "КОЛЕВ");
    EXPECT_FALSE(form.deleteButton()->isEnabled());

    form.correctButton()->click();
    ASSERT_EQ(form.model()->rowCount(), 2);
    EXPECT_FALSE(form.box("EMPL2000_FAMILIA")->isReadOnly());
    EXPECT_TRUE(form.cancelButton()->isEnabled());
    EXPECT_EQ(form.box("EMPL2000_FLKOR")->text(), "1");
    form.box("EMPL2000_FAMILIA")->setText("КОЛЕВА");
    form.cancelButton()->click(); // "Отказ от корекция" removes the copy
    EXPECT_EQ(t.scalar("select count(*) from EMPL2000"), 1);

    form.correctButton()->click();
    QLineEdit *family = form.box("EMPL2000_FAMILIA");
    family->setText("КОЛЕВА");
    QMetaObject::invokeMethod(family, "editingFinished");
    form.exportCorrections(out.path());
    QFile file(QDir(out.path()).filePath("EMPL2000.TXT"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(util::cp1251ToDos(QByteArray("\"\xCA\xCE\xCB\xC5\xC2\xC0\"")))); // КОЛЕВА, DOS page

    form.deleteButton()->click();
    EXPECT_EQ(yes.questions.last(), "Сигурни ли сте, че искате да изтриете данните за корекция на служител с номер 7?");
    EXPECT_EQ(t.scalar("select count(*) from EMPL2000"), 1);
    EXPECT_EQ(t.scalar("select count(*) from EMPL2000 where EMPL2000_FLKOR=0"), 1);
}

TEST(CorrectionForm, ExportDialogTicksTheCurrentEmployee)
{
    application();
    test::TestDatabase t(util::Period(2008, 3));
    ASSERT_TRUE(t.open());
    util::RecordingPrompter yes(true);
    employees::EmployeePanel panel(*t.data, 100);
    const int a = panel.create({"1", "Първи Служител", "7501020018"}, yes);
    panel.save(a);
    const int b = panel.create({"2", "Втори Служител", "7501020002"}, yes);
    panel.save(b);
    app::CorrectionExportDialog dialog(*t.data, b);
    EXPECT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(1)->text(), "ЕГН:7501020002;    ИМЕ:Втори Служител");
    EXPECT_EQ(dialog.ticked(), QList<int>{b});
    EXPECT_FALSE(dialog.allMonths());
}
