// The nomenclature chooser and its editor.
#include "app/ChooserDialog.h"
#include "app/NomenclatureEditor.h"
#include "employees/Employees.h"
#include "tests/app/Fixtures.h"


#include <QLineEdit>

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
