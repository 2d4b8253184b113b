// The nomenclature chooser and its editor.
#include "app/ChooserDialog.h"
#include "app/NomenclatureEditor.h"
#include "employees/Employees.h"
#include "storage/fb/Statement.h"
#include "tests/app/Fixtures.h"


#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::onModal;
using Gui = test::MainWindowFixture;
} // namespace

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

// The fields of a position take no more characters than their columns hold.
TEST_F(Gui, APositionsFieldsHoldTheirColumns)
{
    app::ChooserDialog chooser(*t->data, t->prompter, employees::ChooserKind::Positions, true);
    onModal<app::NomenclatureEditor>([](app::NomenclatureEditor *editor) {
        EXPECT_EQ(editor->field(1)->maxLength(), 30);
        QLineEdit *activity = editor->field(3);
        EXPECT_EQ(activity->maxLength(), 4);
        activity->setFocus();
        QTest::keyClicks(activity, QStringLiteral("12345678"));
        EXPECT_EQ(activity->text(), QStringLiteral("1234"));
        editor->reject();
    });
    chooser.newPressed();
}

// A town's region, chosen by name, shows in the list of towns.
TEST_F(Gui, ATownsRegionShowsInTheList)
{
    app::ChooserDialog chooser(*t->data, t->prompter, employees::ChooserKind::Towns, true);
    onModal<app::NomenclatureEditor>([](app::NomenclatureEditor *editor) {
        editor->field(1)->setText(QStringLiteral("Варна"));
        auto *regions = editor->findChild<QComboBox *>();
        ASSERT_NE(regions, nullptr);
        const int varna = regions->findText(QStringLiteral("ВАРНА"));
        ASSERT_GT(varna, 0);
        regions->setCurrentIndex(varna);
        emit regions->activated(varna);
        editor->tryAccept();
    });
    chooser.newPressed();
    const QAbstractItemModel *rows = chooser.view()->model();
    ASSERT_GT(rows->rowCount(), 0);
    const int last = rows->rowCount() - 1;
    EXPECT_EQ(rows->index(last, 1).data().toString().trimmed(), QStringLiteral("Варна"));
    EXPECT_EQ(rows->index(last, 2).data().toString().trimmed(), QStringLiteral("ВАРНА"));
}

// The tax rate is kept as a fraction and shown and typed as a percentage.
TEST_F(Gui, TheTaxRateIsAPercentage)
{
    app::ChooserDialog chooser(*t->data, t->prompter, employees::ChooserKind::TaxScale, true);
    const QAbstractItemModel *rows = chooser.view()->model();
    ASSERT_GT(rows->rowCount(), 0);
    EXPECT_EQ(rows->index(0, 3).data().toString(), QStringLiteral("10.00 %"));
    onModal<app::NomenclatureEditor>([](app::NomenclatureEditor *editor) {
        EXPECT_EQ(editor->field(2)->text(), QStringLiteral("10.00"));
        editor->field(2)->setText(QStringLiteral("12"));
        editor->tryAccept();
    });
    chooser.editPressed();
    EXPECT_DOUBLE_EQ(fb::Statement::scalar(t->data->transaction(),
                                           QStringLiteral("select max(DOD_PROC) from %1").arg(t->data->table(u"DOD")))
                         .toDouble(),
                     0.12);
}
