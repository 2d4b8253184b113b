// The editor of one item definition.
#include "app/EditPeroDialog.h"
#include "items/DefinitionReader.h"
#include "tests/app/Fixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

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
