// The pay run's windows: the mail settings kept in the settings file, the
// transfer file's dialog, the grids' export and the menu entries.
#include "app/GridExport.h"
#include "app/PayRunWindows.h"
#include "storage/IniFile.h"
#include "tests/app/Fixtures.h"
#include "tests/support/GuiTest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Kind = operations::SheetColumn::Kind;
using test::application;
} // namespace

TEST(MailSettingsWindow, ReadsChecksAndKeepsTheServer)
{
    application();
    storage::IniFile ini;
    operations::MailServer server = operations::readMailServer(ini);
    EXPECT_TRUE(server.host.isEmpty());
    app::MailSettingsDialog dialog(server);
    QString why;
    dialog.serverEdit()->setText(QStringLiteral("smtp.example.com"));
    dialog.fromEdit()->setText(QStringLiteral("zaplati@example.com"));
    EXPECT_FALSE(dialog.read(server, &why)) << "a port is needed";
    dialog.serverEdit()->setText(QStringLiteral("smtp.example.com:587"));
    dialog.fromEdit()->setText(QStringLiteral("zaplati"));
    EXPECT_FALSE(dialog.read(server, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("подателя"))) << why.toStdString();
    dialog.fromEdit()->setText(QStringLiteral("zaplati@example.com"));
    dialog.tlsBox()->setCurrentIndex(dialog.tlsBox()->findData(QStringLiteral("ssl")));
    dialog.userEdit()->setText(QStringLiteral("firma"));
    dialog.passwordEdit()->setText(QStringLiteral("tajna"));
    ASSERT_TRUE(dialog.read(server, &why)) << why.toStdString();
    operations::writeMailServer(ini, server);
    const operations::MailServer back = operations::readMailServer(ini);
    EXPECT_EQ(back.address(), QStringLiteral("smtp.example.com:587"));
    EXPECT_EQ(back.tls, operations::MailTls::Ssl);
    EXPECT_EQ(back.from, QStringLiteral("zaplati@example.com"));
    EXPECT_EQ(back.fileUser, QStringLiteral("firma"));
    // The environment's login wins for the run and never reaches the file.
    qputenv("PLAVEX_SMTP_USER", "from-env");
    EXPECT_EQ(back.user(), QStringLiteral("from-env"));
    operations::writeMailServer(ini, back);
    EXPECT_EQ(ini.value(QStringLiteral("MAIL"), QStringLiteral("USER")), QStringLiteral("firma"));
    qunsetenv("PLAVEX_SMTP_USER");
}

TEST(PayFileWindow, OffersTheNextWorkingDayAndTheAdvanceWhenThereIsOne)
{
    application();
    const QDate next = QDate::currentDate().addDays(3);
    app::PayFileDialog with(next, true);
    EXPECT_EQ(with.executionDate(), next);
    EXPECT_TRUE(with.advanceBox()->isEnabled());
    EXPECT_FALSE(with.advance());
    // No day before today can be chosen.
    with.dateEdit()->setDate(QDate::currentDate().addDays(-5));
    EXPECT_EQ(with.executionDate(), QDate::currentDate());
    app::PayFileDialog without(next, false);
    EXPECT_FALSE(without.advanceBox()->isEnabled());
}

TEST(GridExport, AGridsColumnsKeepTheirKinds)
{
    application();
    QStandardItemModel model(0, 5);
    model.setHorizontalHeaderLabels({QStringLiteral("Номер"), QStringLiteral("ЕГН"), QStringLiteral("Сума"),
                                     QStringLiteral("Дата"), QStringLiteral("Име")});
    const QStringList rows[] = {{"1", "0541010003", "1250,50", "01.02.2026", "Иван"},
                                {"12", "8001010008", "13", "", "Мария"},
                                {"103", "7501011234", "-4,10", "15.02.2026", "1,5 души"}};
    for (const QStringList &r : rows) {
        QList<QStandardItem *> items;
        for (const QString &text : r)
            items << new QStandardItem(text);
        model.appendRow(items);
    }
    QTableView view;
    view.setModel(&model);
    view.setColumnHidden(4, false);
    const operations::Sheet sheet = app::sheetOfModel(model, &view, QStringLiteral("Служители"));
    ASSERT_EQ(sheet.columns.size(), 5u);
    EXPECT_EQ(sheet.columns[0].kind, Kind::Integer);
    EXPECT_EQ(sheet.columns[1].kind, Kind::Text) << "an ЕГН with a leading zero is no number";
    EXPECT_EQ(sheet.columns[2].kind, Kind::Amount);
    EXPECT_EQ(sheet.columns[3].kind, Kind::Date);
    EXPECT_EQ(sheet.columns[4].kind, Kind::Text);
    EXPECT_EQ(sheet.rows[0][1].toString(), QStringLiteral("0541010003"));
    EXPECT_DOUBLE_EQ(sheet.rows[0][2].toDouble(), 1250.5);
    EXPECT_DOUBLE_EQ(sheet.rows[1][2].toDouble(), 13.0);
    EXPECT_EQ(sheet.rows[2][3].toDate(), QDate(2026, 2, 15));
    EXPECT_FALSE(sheet.rows[1][3].isValid());
    // A hidden column stays out.
    view.setColumnHidden(1, true);
    EXPECT_EQ(app::sheetOfModel(model, &view, QString()).columns.size(), 4u);
    // The grid offers it in its menu.
    QTableView plain;
    QAction *a = app::addGridExport(&plain);
    EXPECT_TRUE(plain.actions().contains(a));
    EXPECT_EQ(plain.contextMenuPolicy(), Qt::ActionsContextMenu);
}

using PayRunMenus = test::MainWindowFixture;

TEST_F(PayRunMenus, TheEntriesAreThere)
{
    for (const char *caption : {"Файл за превод на заплатите (SEPA)", "Фишове по e-mail", "Настройки за e-mail"}) {
        QAction *a = menuAction(QString::fromUtf8(caption));
        ASSERT_NE(a, nullptr) << caption;
        EXPECT_TRUE(a->isEnabled()) << caption;
    }
}
