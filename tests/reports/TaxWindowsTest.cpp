#include "tests/support/GuiTest.h"

#include "app/reports/TaxDialogs.h"
#include "reports/TaxCertificates.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace plavex;
using namespace plavex::app;

namespace {

TEST(CertificateKindDialog, OpensOnTheCurrentEmployeeAndChecksItsFields)
{
    test::application();
    util::RecordingPrompter prompter;
    CertificateKindDialog dialog({{5, 11, QStringLiteral("Анна")}, {9, 12, QStringLiteral("Борис")}}, 9, {2008, 2009},
                                 prompter);
    EXPECT_EQ(dialog.employeeId(), 9);
    EXPECT_EQ(dialog.numberEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(dialog.kind(), reports::AnnualCertificate);
    EXPECT_EQ(dialog.year(), 2008); // the previous year first

    dialog.numberEdit()->setText(QStringLiteral("11"));
    emit dialog.numberEdit()->textEdited(QStringLiteral("11"));
    EXPECT_EQ(dialog.employeeId(), 5);

    dialog.kinds()->button(reports::DismissalCertificate)->click();
    dialog.accept();
    EXPECT_EQ(prompter.messages, QStringList{QStringLiteral("Моля попълнете полето за дата.")});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.dateEdit()->setText(QDate(2008, 3, 15).toString(util::displayDateFormat(util::Separators::current().date)));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.date(), QDate(2008, 3, 15));
    EXPECT_EQ(prompter.messages.size(), 1);
}

} // namespace
