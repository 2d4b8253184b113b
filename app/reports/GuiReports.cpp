#include "app/reports/GuiReports.h"

#include "app/ChooserDialog.h"
#include "app/GridExport.h"
#include "app/reports/OutputSetupDialog.h"
#include "app/reports/PreviewWindow.h"
#include "app/reports/ReportDialogs.h"
#include "app/reports/TaxDialogs.h"
#include "app/CasePeroDialog.h"
#include "app/reports/AdvanceDialog.h"
#include "calc/YearSums.h"
#include "items/Definitions.h"
#include "reports/PayRunDocuments.h"
#include "reports/TaxCertificates.h"
#include "reports/ReportRun.h"
#include "reports/engine/Render.h"
#include "reports/engine/Snapshot.h"
#include "employees/Chooser.h"
#include "employees/Employees.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace plavex::app {

namespace {

MainWindowHooks &hooks()
{
    static MainWindowHooks h;
    return h;
}

// The printer every run reads and restores the orientation of.
QPrinter &systemPrinter()
{
    static QPrinter printer(QPrinterInfo::defaultPrinter());
    return printer;
}

class GuiHost : public reports::ReportHost {
public:
    GuiHost(QWidget *parent, storage::DataModule &data, util::Prompter &prompter)
        : parent_(parent), data_(data), prompter_(prompter)
    {
    }

    reports::Orientation printerOrientation() const override
    {
        return systemPrinter().pageLayout().orientation() == QPageLayout::Landscape ? reports::Orientation::Landscape
                                                                                    : reports::Orientation::Portrait;
    }
    void setPrinterOrientation(reports::Orientation o) override
    {
        systemPrinter().setPageOrientation(o == reports::Orientation::Landscape ? QPageLayout::Landscape
                                                                                 : QPageLayout::Portrait);
    }
    int currentEmployee() const override { return hooks().currentEmployee ? hooks().currentEmployee() : 0; }
    void selectEmployee(int id) override
    {
        if (hooks().selectEmployee && id != 0)
            hooks().selectEmployee(id);
    }
    void setScreenRefresh(bool on) override
    {
        if (hooks().setRefresh)
            hooks().setRefresh(on);
    }

    bool askRange(reports::ReportRequest &r) override
    {
        auto search = [this] { return chooseEmployeeNumber(); };
        RangeDialog dialog(reports::activeEmployees(data_), prompter_, search, &data_.settings().ini(), parent_);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        r.fromNumber = dialog.from();
        r.toNumber = dialog.to();
        r.newPagePerSlip = dialog.newPagePerSlip();
        return true;
    }
    bool askRecapType(reports::ReportRequest &r) override
    {
        RecapTypeDialog dialog(reports::namedUnits(data_), prompter_, &data_.settings().ini(), parent_);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        r.recapType = dialog.type();
        r.unitCode = dialog.unitCode();
        answered = r;
        return true;
    }

    bool askAdvance(reports::ReportRequest &r) override
    {
        AdvanceDialog dialog(reports::advanceItems(data_), data_.period(), true, &data_.settings().ini(), parent_);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        r.itemText = dialog.itemText();
        r.itemCode = r.itemText.toInt();
        r.advanceMonth = dialog.monthIndex();
        answered = r;
        return true;
    }

    bool askItem(reports::ReportRequest &r) override
    {
        CasePeroDialog dialog(data_, prompter_, 0, parent_);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        r.itemText = dialog.code().trimmed();
        r.itemCode = r.itemText.toInt();
        r.itemName = dialog.name().trimmed();
        answered = r;
        return true;
    }
    bool askCertificate(reports::ReportRequest &r) override
    {
        std::vector<CertificateKindDialog::Employee> employees;
        for (const reports::NumberedName &e : reports::activeEmployees(data_))
            employees.push_back({e.id, e.number, e.name});
        auto search = [this] { return chooseEmployeeNumber(); };
        CertificateKindDialog dialog(employees, currentEmployee(), reports::certificateYears(data_.period()), prompter_,
                                     search, &data_.settings().ini(), parent_);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        r.certificateKind = dialog.kind();
        r.employeeId = dialog.employeeId();
        r.year = dialog.year();
        r.date = dialog.date();
        return true;
    }
    bool askTaxDifferenceItem(int &code) override
    {
        CasePeroDialog dialog(data_, prompter_, 145, parent_);
        // The deduction made for the differences is offered first.
        if (const auto dedicated = calc::annualTaxItemCode(items::loadDefinitions(data_))) {
            dialog.codeEdit()->setText(QString::number(*dedicated));
            dialog.list()->setCurrentIndex(dialog.list()->findData(*dedicated));
        }
        if (dialog.exec() != QDialog::Accepted || dialog.code().trimmed().isEmpty())
            return false;
        code = dialog.code().trimmed().toInt();
        return code != 0;
    }
    QMarginsF printerMargins() const override
    {
        if (installedPrinter().isEmpty())
            return {};
        const QMarginsF mm = systemPrinter().pageLayout().minimumMargins();
        const double k = systemPrinter().pageLayout().units() == QPageLayout::Millimeter ? 0.1 : 2.54 / 72.0;
        return {mm.left() * k, mm.top() * k, mm.right() * k, mm.bottom() * k};
    }

    bool setupOutput(reports::Document &document) override
    {
        options.copies = document.setup.copies;
        OutputSetupDialog dialog(OutputSetupDialog::Mode::Run, options, installedPrinter(), 0, parent_);
        dialog.setWindowTitle(QStringLiteral("Настройки за печата"));
        QObject::connect(&dialog, &OutputSetupDialog::printerSetupRequested, &dialog, [&dialog] {
            QPrintDialog setup(&systemPrinter(), &dialog);
            setup.exec();
        });
        if (dialog.exec() != QDialog::Accepted)
            return false;
        status_ = std::make_unique<StatusWindow>(parent_);
        // While the pages are made only "Отказ" may be pressed.
        status_->setWindowModality(Qt::ApplicationModal);
        status_->show();
        return true;
    }
    void status(const QString &text) override
    {
        if (status_)
            status_->setStatus(text);
    }
    bool cancelled() override { return status_ && status_->cancelled(); }
    void processEvents() override { QCoreApplication::processEvents(); }

    void output(reports::Document &document) override
    {
        status_.reset();
        switch (options.destination) {
        case reports::Destination::Screen: {
            PreviewWindow preview(document, parent_);
            preview.setWindowTitle(document.title.trimmed().isEmpty()
                                       ? QStringLiteral("Преглед на печата")
                                       : QStringLiteral("Преглед на печата - ") + document.title.trimmed());
            if (!installedPrinter().isEmpty())
                preview.printer = [this](PreviewWindow &w) { printFromPreview(w); };
            if (isTable(answered.kind))
                preview.setExporter([this](PreviewWindow &w) { exportTable(w); });
            preview.setWindowState(Qt::WindowMaximized);
            preview.exec();
            break;
        }
        case reports::Destination::Printer:
            printDocument(document, options);
            break;
        case reports::Destination::File:
            writeFile(document);
            break;
        }
    }
    void message(const QString &text) override { prompter_.message(text); }

    reports::OutputOptions options;
    reports::ReportRequest answered; // the kind and what its dialogs answered

private:
    static bool isTable(reports::ReportKind kind)
    {
        using K = reports::ReportKind;
        return kind == K::Sheet || kind == K::Recapitulation || kind == K::ItemList || kind == K::AnnualTax
               || kind == K::PaymentList || kind == K::AdvancePaymentList;
    }
    void exportTable(PreviewWindow &w)
    {
        QString why;
        try {
            const auto sheet = reports::documentSheet(data_, answered.kind, answered, &why);
            if (!sheet) {
                prompter_.message(why);
                return;
            }
            exportSheet(&w, *sheet);
        } catch (const std::exception &e) {
            prompter_.message(storage::errorText(e));
        }
    }

    // The number of the employee picked in the chooser; nothing when none was.
    std::optional<int> chooseEmployeeNumber()
    {
        const QString id = ChooserDialog::choose(data_, prompter_, employees::ChooserKind::Employees, false, parent_);
        if (id.isEmpty())
            return std::nullopt;
        const auto row = employees::employeeRow(data_, id.toInt());
        if (!row)
            return std::nullopt;
        return row->value(QStringLiteral("PERSON_NOMER")).toInt();
    }

    void printFromPreview(PreviewWindow &w)
    {
        reports::OutputOptions o = options;
        OutputSetupDialog dialog(OutputSetupDialog::Mode::PreviewPrint, o, installedPrinter(), w.pageCount(), &w);
        dialog.setWindowTitle(QStringLiteral("Настройки за печата"));
        if (dialog.exec() == QDialog::Accepted)
            printDocument(w.document(), o);
    }
    void writeFile(const reports::Document &document)
    {
        QString error;
        bool ok = true;
        switch (options.format) {
        case reports::FileFormat::Snapshot:
            ok = reports::writeSnapshot(reports::snapshotBytes(document), options.fileName, &error);
            break;
        case reports::FileFormat::Pdf:
            ok = reports::writePdf(document, options.fileName, &error);
            break;
        case reports::FileFormat::Native: {
            reports::OutputOptions o = options;
            printDocument(document, o);
            break;
        }
        }
        if (!ok)
            prompter_.message(QStringLiteral("Файлът %1 не е записан: %2").arg(options.fileName, error));
    }

    QWidget *parent_;
    storage::DataModule &data_;
    util::Prompter &prompter_;
    std::unique_ptr<StatusWindow> status_;
};

} // namespace

void setMainWindowHooks(MainWindowHooks h) { hooks() = std::move(h); }

QString installedPrinter()
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return {};
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? QPrinterInfo::availablePrinterNames().first() : name;
}

void printDocument(const reports::Document &doc, const reports::OutputOptions &options)
{
    QPrinter printer(QPrinterInfo::printerInfo(installedPrinter()));
    printer.setDocName(doc.title);
    printer.setPageOrientation(doc.setup.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCollateCopies(options.collate);
    if (options.duplex) {
        // A duplex mode chosen in the printer's setup is kept.
        if (printer.duplex() == QPrinter::DuplexNone)
            printer.setDuplex(QPrinter::DuplexAuto);
    } else {
        printer.setDuplex(QPrinter::DuplexNone);
    }
    if (options.destination == reports::Destination::File && options.format == reports::FileFormat::Native)
        printer.setOutputFileName(options.fileName);
    std::vector<int> pages;
    if (!options.pageList.trimmed().isEmpty())
        pages = reports::pagesOfList(options.pageList, doc.pageCount());
    else
        for (int p = std::max(1, options.firstPage); p <= std::min(options.lastPage, doc.pageCount()); ++p)
            pages.push_back(p);
    if (pages.empty())
        return;
    int runs = 1;
    if (printer.supportsMultipleCopies() || options.copies < 2) {
        printer.setCopyCount(std::max(1, options.copies));
    } else {
        printer.setCopyCount(1);
        runs = options.copies;
    }
    QPainter painter(&printer);
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const QPointF offset(paint.left() / 10.0, paint.top() / 10.0);
    bool first = true;
    for (int r = 0; r < runs; ++r)
        for (int p : pages) {
            if (!first)
                printer.newPage();
            first = false;
            reports::paintPage(painter, doc, p - 1, printer.logicalDpiX(), offset);
        }
}

void startReport(QWidget *parent, storage::DataModule &data, util::Prompter &prompter, reports::ReportKind kind,
                 int employeeId)
{
    GuiHost host(parent, data, prompter);
    reports::ReportRequest request;
    request.kind = kind;
    request.employeeId = employeeId;
    host.answered = request;
    try {
        const reports::RunResult result = reports::startReport(data, host, request);
        if (!result.rowErrors.isEmpty())
            prompter.message(result.rowErrors.join(QLatin1Char('\n')));
    } catch (const std::exception &e) {
        prompter.message(QStringLiteral("Грешка ") + storage::errorText(e));
    }
}

} // namespace plavex::app
