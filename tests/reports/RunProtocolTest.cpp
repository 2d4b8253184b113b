// What every document tells the status window, and that its "Отказ" ends
// the run right after any of those texts: while everyone is recalculated
// and as each page begins.
#include "reports/ItemList.h"
#include "reports/NomenclatureLists.h"
#include "reports/PaymentOrders.h"
#include "reports/Payslips.h"
#include "reports/Recapitulation.h"
#include "reports/RunProtocol.h"
#include "reports/Sheets.h"
#include "reports/SickSlip.h"
#include "reports/TaxCertificates.h"
#include "tests/reports/SheetsFixture.h"

#include <functional>

using namespace plavex;
using namespace plavex::reports;

namespace {

class StatusHost : public ReportHost {
public:
    void status(const QString &text) override { statuses << text; }
    bool cancelled() override { return cancelAfter >= 0 && statuses.size() > cancelAfter; }
    QStringList statuses;
    qsizetype cancelAfter = -1; // "Отказ" once this many texts and one more were shown
};

struct Case {
    const char *name;
    std::function<void(storage::DataModule &, ReportHost &)> build;
    QStringList statuses; // of a run nobody cancels
};

using RunProtocol = test::SheetsCompany;

TEST_F(RunProtocol, EveryDocumentShowsItsProgressAndStopsOnCancel)
{
    const QString walk = QStringLiteral("Преизчисляване: 5 от 5");
    const QString print = QStringLiteral("Печат на 1 страница");
    auto request = [](ReportKind kind) {
        ReportRequest r;
        r.kind = kind;
        return r;
    };
    const std::vector<Case> cases{
        {"payslips",
         [&](storage::DataModule &data, ReportHost &host) {
             ReportRequest r = request(ReportKind::Payslip1);
             r.toNumber = 99;
             buildPayslips(data, r, host);
         },
         {print, QStringLiteral("Печат на 2 страница")}},
        {"pay sheet", [&](storage::DataModule &data, ReportHost &host) { buildPaySheet(data, request(ReportKind::Sheet), host); },
         {walk, print, QStringLiteral("Печат на 2 страница")}},
        {"recapitulation",
         [&](storage::DataModule &data, ReportHost &host) {
             ReportRequest r = request(ReportKind::Recapitulation);
             r.recapType = RecapType::General;
             buildRecapitulation(data, r, host);
         },
         {walk, print}},
        {"item list",
         [&](storage::DataModule &data, ReportHost &host) {
             ReportRequest r = request(ReportKind::ItemList);
             r.itemCode = 101;
             buildItemList(data, r, host);
         },
         {walk, print}},
        {"sick-leave slips", [](storage::DataModule &data, ReportHost &host) { buildSickSlips(data, host); }, {walk, print}},
        {"payment orders",
         [&](storage::DataModule &data, ReportHost &host) {
             buildPaymentOrders(data, request(ReportKind::PaymentOrders), host);
         },
         {walk, QStringLiteral("Generating page 1"), QStringLiteral("Generating page 2"), QStringLiteral("Generating page 3"),
          QStringLiteral("Generating page 4")}},
        {"payment list",
         [&](storage::DataModule &data, ReportHost &host) {
             buildPaymentList(data, request(ReportKind::PaymentList), host);
         },
         {walk, QStringLiteral("Generating page 1")}},
        {"tax certificates",
         [&](storage::DataModule &data, ReportHost &host) {
             ReportRequest r = request(ReportKind::TaxCertificate);
             r.year = 2007;
             buildTaxCertificates(data, r, host);
         },
         {walk}},
        {"annual tax", [](storage::DataModule &data, ReportHost &host) { buildAnnualTax(data, 2007, host); },
         {walk, QStringLiteral("Генериране на 1 страница")}},
        {"definition list",
         [](storage::DataModule &data, ReportHost &host) { buildNomenclatureList(data, ReportKind::DefinitionList, host); },
         {QStringLiteral("Генериране на 1 страница")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StatusHost done;
        ASSERT_NO_THROW(c.build(*d, done));
        EXPECT_EQ(done.statuses.join(u'|').toStdString(), c.statuses.join(u'|').toStdString());
        // Cancelled after the walk's text and after the first page's.
        std::vector<qsizetype> points{0};
        if (c.statuses.front() == walk && c.statuses.size() > 1)
            points.push_back(1);
        for (qsizetype at : points) {
            StatusHost cancelling;
            cancelling.cancelAfter = at;
            EXPECT_THROW(c.build(*d, cancelling), RunAborted);
            EXPECT_EQ(cancelling.statuses.join(u'|').toStdString(), c.statuses.mid(0, at + 1).join(u'|').toStdString());
        }
    }
}

} // namespace
