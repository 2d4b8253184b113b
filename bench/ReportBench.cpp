#include "bench/ReportBench.h"

#include "bench/DemoBench.h"

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "items/Items.h"
#include "operations/DemoCompany.h"
#include "reports/Payslips.h"
#include "reports/Recapitulation.h"
#include "reports/ReportRun.h"
#include "reports/Selections.h"
#include "reports/Sheets.h"
#include "reports/engine/Canvas.h"
#include "reports/engine/Render.h"
#include "reports/engine/Snapshot.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace plavex::bench {

namespace {

// A page as the payroll sheets will fill it: a header, a boxed and shaded
// heading row and 50 rows of eight tab cells with names and amounts.
reports::Document tableDocument(int pages)
{
    using reports::Justify;
    reports::Document doc;
    reports::Canvas c(doc);
    c.setMargins(1, 1, 1, 1);
    c.setLineHeight(0.5);
    const char *headings[] = {"Номер", "Име", "Дни", "Бруто", "ДОО", "ЗО", "ДОД", "Сума"};
    auto tabs = [&c](int shade) {
        c.clearTabs();
        c.setTab(1.0, Justify::Right, 1.5, 10, reports::BoxAll, shade);
        c.setTab(-1, Justify::Left, 6.0, 10, reports::BoxAll, shade);
        for (int i = 0; i < 6; ++i)
            c.setTab(-1, Justify::Right, 1.9, 10, reports::BoxAll, shade);
    };
    c.onNewPage = [&](reports::Canvas &canvas) {
        canvas.setBold(true);
        canvas.println(QStringLiteral("Ведомост за заплати за месец Януари 2008"));
        canvas.textAt(reports::pageOfText(canvas), 20.0, canvas.baseline(), Justify::Right);
        tabs(20);
        QString row;
        for (const char *h : headings)
            row += QLatin1Char('\t') + QString::fromUtf8(h);
        canvas.println(row);
        canvas.setBold(false);
        tabs(0);
    };
    c.begin();
    int n = 0;
    while (doc.pageCount() <= pages) {
        if (c.linesLeft() < 1) {
            if (doc.pageCount() == pages)
                break;
            c.newPage();
        }
        ++n;
        c.println(QStringLiteral("\t%1\tСлужител Иванов Петров %1\t21\t%2\t%3\t%4\t%5\t%6")
                      .arg(n)
                      .arg(1234.56 + n, 0, 'f', 2)
                      .arg(97.53, 0, 'f', 2)
                      .arg(37.04, 0, 'f', 2)
                      .arg(110.0, 0, 'f', 2)
                      .arg(989.99 + n, 0, 'f', 2));
    }
    c.finish();
    return doc;
}

} // namespace

void reportBench()
{
    QTextStream out(stdout);
    const int pages = 1000;
    QElapsedTimer t;
    t.start();
    const reports::Document doc = tableDocument(pages);
    const double describe = t.nsecsElapsed() / 1e6;

    QTemporaryDir dir;
    t.restart();
    const QByteArray bytes = reports::snapshotBytes(doc);
    reports::writeSnapshot(bytes, dir.filePath(QStringLiteral("b.ndr")));
    const double snapshot = t.nsecsElapsed() / 1e6;

    t.restart();
    reports::writePdf(doc, dir.filePath(QStringLiteral("b.pdf")));
    const double pdf = t.nsecsElapsed() / 1e6;

    std::size_t ops = 0;
    for (const auto &p : doc.pages)
        ops += p.ops.size();
    out << QStringLiteral("reports: %1 table pages (%2 operations a page)\n").arg(doc.pageCount()).arg(ops / doc.pages.size());
    out << QStringLiteral("  page description  %1 ms/page (target <= 2)\n").arg(describe / doc.pageCount(), 0, 'f', 3);
    out << QStringLiteral("  snapshot .ndr     %1 ms/page (%2 KB)\n")
               .arg(snapshot / doc.pageCount(), 0, 'f', 3)
               .arg(bytes.size() / 1024);
    out << QStringLiteral("  PDF               %1 ms/page (target <= 5)\n").arg(pdf / doc.pageCount(), 0, 'f', 3);
    out.flush();
}

void payslipBench(const QString &nomsDir)
{
    QTextStream out(stdout);
    const int employees = 2000;
    DemoBench b(nomsDir, util::Period(2008, 1));
    QTemporaryDir &dir = b.dir;
    storage::DataModule &data = b.data;
    util::RecordingPrompter &prompter = b.prompter;
    calc::Parameters &params = b.params;
    operations::buildDemoCompany(data, {employees, 1, util::Period(2008, 1), 2008}, prompter, b.params);
    const auto range = reports::defaultRange(reports::activeEmployees(data));

    // What the parts cost alone: the recalculation walk and the items query.
    QElapsedTimer t;
    std::vector<int> ids;
    for (const calc::Employee &e : calc::PersonCalculator(data, params).employees())
        if (e.active == 1)
            ids.push_back(e.id);
    t.start();
    {
        calc::PersonCalculator c(data, params);
        c.autocalc = true;
        for (int id : ids)
            c.calculate(id);
    }
    const double recalc = t.nsecsElapsed() / 1e9;
    t.restart();
    for (int id : ids)
        items::payslipItems(data, id);
    const double itemQueries = t.nsecsElapsed() / 1e9;
    out << QStringLiteral("payslips: %1 active employees; recalculation alone %2 s, the payslip items queries %3 s\n")
               .arg(ids.size()).arg(recalc, 0, 'f', 3).arg(itemQueries, 0, 'f', 3);

    // Each type twice: on a month that is up to date, then after every base
    // salary changed, so that each payslip's recalculation writes.
    for (const reports::ReportKind kind : {reports::ReportKind::Payslip1, reports::ReportKind::Payslip2}) {
        for (const bool changed : {false, true}) {
            if (changed) {
                fb::Statement::run(data.transaction(),
                                   QStringLiteral("UPDATE %1 SET PERO_SUMA1=PERO_SUMA1+1 WHERE PERO_TYPE=1").arg(data.table(u"PERA")));
                data.commitRetaining();
            }
            reports::ReportRequest request;
            request.kind = kind;
            request.fromNumber = range.first;
            request.toNumber = range.second;
            reports::ReportHost host;
            t.restart();
            const reports::Document doc = reports::buildPayslips(data, request, host);
            const double build = t.nsecsElapsed() / 1e9;
            t.restart();
            reports::writePdf(doc, dir.filePath(QStringLiteral("fish.pdf")));
            const double pdf = t.nsecsElapsed() / 1e9;
            out << QStringLiteral("payslips: type %1%7, %2 pages: %3 s in all (target <= 10 s, stretch <= 3 s): "
                                  "document with recalculation %4 s, PDF %5 s (%6 MB)\n")
                       .arg(kind == reports::ReportKind::Payslip1 ? 1 : 2)
                       .arg(doc.pageCount())
                       .arg(build + pdf, 0, 'f', 3)
                       .arg(build, 0, 'f', 3)
                       .arg(pdf, 0, 'f', 3)
                       .arg(QFileInfo(dir.filePath(QStringLiteral("fish.pdf"))).size() / 1048576.0, 0, 'f', 1)
                       .arg(changed ? QStringLiteral(" (every salary changed)") : QString());
            out.flush();
        }
    }
}

void sheetsBench(const QString &nomsDir)
{
    QTextStream out(stdout);
    const int employees = 2000;
    DemoBench b(nomsDir, util::Period(2008, 1));
    QTemporaryDir &dir = b.dir;
    storage::DataModule &data = b.data;
    util::RecordingPrompter &prompter = b.prompter;
    operations::buildDemoCompany(data, {employees, 1, util::Period(2008, 1), 2008}, prompter, b.params);
    const QString pdfPath = dir.filePath(QStringLiteral("sheet.pdf"));

    // Each document on a month that is up to date, then after every base
    // salary changed, so that the recalculation writes.
    for (const bool changed : {false, true}) {
        if (changed) {
            fb::Statement::run(data.transaction(),
                               QStringLiteral("UPDATE %1 SET PERO_SUMA1=PERO_SUMA1+1 WHERE PERO_TYPE=1").arg(data.table(u"PERA")));
            data.commitRetaining();
        }
        const QString when = changed ? QStringLiteral(" (every salary changed)") : QString();
        reports::ReportHost host;
        reports::ReportRequest request;
        request.kind = reports::ReportKind::Sheet;
        QElapsedTimer t;
        t.start();
        const reports::Document sheet = reports::buildPaySheet(data, request, host);
        const double build = t.nsecsElapsed() / 1e9;
        t.restart();
        reports::writePdf(sheet, pdfPath);
        const double pdf = t.nsecsElapsed() / 1e9;
        out << QStringLiteral("sheets: pay sheet%1, %2 pages: %3 s in all (target <= 3 s): document with recalculation %4 s, "
                              "PDF %5 s\n")
                   .arg(when).arg(sheet.pageCount()).arg(build + pdf, 0, 'f', 3).arg(build, 0, 'f', 3).arg(pdf, 0, 'f', 3);
        out.flush();
        if (changed) {
            fb::Statement::run(data.transaction(),
                               QStringLiteral("UPDATE %1 SET PERO_SUMA1=PERO_SUMA1+1 WHERE PERO_TYPE=1").arg(data.table(u"PERA")));
            data.commitRetaining();
        }
        request.kind = reports::ReportKind::Recapitulation;
        request.recapType = reports::RecapType::General;
        t.restart();
        const std::optional<reports::Document> recap = reports::buildRecapitulation(data, request, host);
        const double recapBuild = t.nsecsElapsed() / 1e9;
        t.restart();
        if (recap)
            reports::writePdf(*recap, pdfPath);
        const double recapPdf = t.nsecsElapsed() / 1e9;
        out << QStringLiteral("sheets: recapitulation%1, %2 pages: %3 s in all (target <= 2 s, stretch <= 0.5 s): "
                              "document with recalculation %4 s, PDF %5 s\n")
                   .arg(when).arg(recap ? recap->pageCount() : 0).arg(recapBuild + recapPdf, 0, 'f', 3)
                   .arg(recapBuild, 0, 'f', 3).arg(recapPdf, 0, 'f', 3);
        out.flush();
    }
}

} // namespace plavex::bench
