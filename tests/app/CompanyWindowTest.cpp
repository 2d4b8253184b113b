// The company window ("Данни за фирмата").
#include "app/CompanyWindow.h"
#include "storage/fb/Statement.h"
#include "tests/app/Fixtures.h"
#include "util/Separators.h"

#include <QComboBox>
#include <QDialog>
#include <QLatin1Char>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace plavex;

namespace {
using Gui = test::MainWindowFixture;
} // namespace

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

// The law's percentages still empty or 0 are marked until they are filled:
// 2008 ships neither the accident fund's (it goes by activity) nor the
// guaranteed-receivables fund's.
TEST_F(Gui, TheLawsPercentagesLeftEmptyAreMarked)
{
    app::CompanyWindow company(*t->data, t->settings, prompter);
    QLineEdit *guaranteed = company.field(QStringLiteral("FIRMA_DATA3"));
    EXPECT_TRUE(company.accidentPercent()->property("lawFigureMissing").toBool());
    EXPECT_TRUE(guaranteed->property("lawFigureMissing").toBool());
    EXPECT_FALSE(guaranteed->toolTip().isEmpty());

    guaranteed->setText(QString(QStringLiteral("0.1")).replace(QLatin1Char('.'), util::Separators::current().decimal));
    emit guaranteed->editingFinished();
    EXPECT_FALSE(guaranteed->property("lawFigureMissing").toBool());
    EXPECT_TRUE(guaranteed->toolTip().isEmpty());
    EXPECT_TRUE(company.accidentPercent()->property("lawFigureMissing").toBool());
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(QLatin1Char('|')).toStdString();
}
