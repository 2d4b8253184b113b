#pragma once

#include "calc/YearSums.h"
#include "reports/engine/Document.h"
#include "reports/engine/TablePrinter.h"
#include "util/Period.h"

#include <QDate>
#include <QImage>
#include <QString>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::calc {
struct Parameters;
}

namespace plavex::reports {

class ReportHost;
struct ReportRequest;

// The certificate dialog ("Избор на вид служебна бележка").
enum CertificateKind { AnnualCertificate = 0, DismissalCertificate = 1 };
// The two years it offers: the previous one (chosen first) and the period's.
std::vector<int> certificateYears(const util::Period &period);
// The message that keeps the dialog open, empty when it may close; kind -1
// is none chosen, year 0 none, an invalid date an empty field.
QString checkCertificateChoice(int kind, int year, const QDate &date);
// The year the certificate sums: the chosen one, or that of the dismissal.
int certificateYear(const ReportRequest &request);

// Everything one certificate prints.
struct CertificateData {
    QString company, companyAddress, bulstat, taxOffice;
    QString name, egn, idNumber, idDate, town, region, address, phone;
    int year = 0;       // the certificate's
    int periodYear = 0; // of the current period
    QDate issued;       // written DD.MM.YYYY; none: the day it is printed
    calc::YearSums sums;
    // From 2009: the year's recomputation of the employee (the annual
    // table's own figures) and whether its difference was stored.
    bool recomputation = false;
    calc::AnnualTaxRow annual;
    bool differenceInserted = false;
};
CertificateData certificateData(storage::DataModule &data, int personId, int year, const QDate &issued);

PageSetup certificatePageSetup();
// The form image the certificate is printed over, when the program folder has one.
QString certificateImagePath(const QString &programDir);
// One page per certificate; without a background the form's frame,
// captions and boxes are drawn.
Document printTaxCertificates(const std::vector<CertificateData> &certificates, const QImage &background = {});
// The run's document: everyone recalculated first, then the chosen employee
// (every active one by number when none is chosen).
Document buildTaxCertificates(storage::DataModule &data, const ReportRequest &request, ReportHost &host);

// The annual recomputation table.
QString annualTaxTitle(const QString &company, int year);
std::vector<TableColumn> annualTaxColumns();
TableData annualTaxTable(const std::vector<calc::AnnualTaxRow> &rows);
Document printAnnualTax(const QString &title, const TableData &rows, ReportHost &host,
                        const QMarginsF &printerMargins = {});
// The rows' differences as items of the type-145 code, replacing every item
// of that code in the month; the number of items added, nothing when the
// code is refused (after the message). With `params` and automatic
// calculation on, the items are calculated in the same unit of work.
std::optional<int> insertAnnualTaxDifferences(storage::DataModule &data, int code,
                                              const std::vector<calc::AnnualTaxRow> &rows,
                                              calc::Parameters *params = nullptr);
// The run: everyone recalculated, the rows of the year, the host's choice
// of the item that receives the differences (none: nothing stored), the table.
Document buildAnnualTax(storage::DataModule &data, int year, ReportHost &host);

} // namespace plavex::reports
