// The remembered bounds of a dialog.
#include "app/FormPlacement.h"
#include "storage/IniFile.h"
#include "tests/support/GuiTest.h"

#include <QDialog>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::application;
} // namespace

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
