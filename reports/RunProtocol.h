#pragma once

// The run protocol every document uses: what a run is asked and answers,
// the host that answers, the row protocol and the shared page texts. The
// dispatcher that picks the document is in ReportRun.h.

#include "reports/ReportKind.h"
#include "reports/engine/Canvas.h"
#include "reports/engine/Document.h"

#include <QDate>
#include <QMarginsF>
#include <QString>
#include <QStringList>

#include <functional>

namespace plavex::storage {
class DataModule;
}

namespace plavex::calc {
struct Calculation;
struct Parameters;
}

namespace plavex::reports {

// What the dialogs of a run answer (or the command line's options give).
struct ReportRequest {
    ReportKind kind = ReportKind::DefinitionList;
    int employeeId = 0; // kinds 0, 1 and 6 only
    int fromNumber = 0, toNumber = 0;
    bool newPagePerSlip = false;
    RecapType recapType = RecapType::None;
    int unitCode = 0;
    int itemCode = 0;
    QString itemText, itemName;
    int advanceMonth = 0; // 0 the current period, 1 the next
    int certificateKind = 0;
    int year = 0;
    QDate date;
    QDate issued; // the certificate's date of issue; none: the day it is printed
    bool advance = false;  // payment orders for the advance
    bool newCodes = false; // payment orders from 06.2006 on
};

// Whoever runs a report: the windows, the command line or a test. Every
// question of the run is one of these calls; the defaults answer "go on".
class ReportHost {
public:
    virtual ~ReportHost() = default;

    // What the run remembers and restores.
    virtual Orientation printerOrientation() const { return Orientation::Portrait; }
    virtual void setPrinterOrientation(Orientation) {}
    virtual int currentEmployee() const { return 0; }
    virtual void selectEmployee(int id) { (void)id; }
    // Off: moving through employees recalculates without repainting the main
    // window, and its grids are detached.
    virtual void setScreenRefresh(bool on) { (void)on; }
    virtual bool recalcOnScroll() const { return false; }
    virtual void setRecalcOnScroll(bool on) { (void)on; }

    // The first dialog of a kind; false ends the run with nothing printed.
    virtual bool askRange(ReportRequest &request) { (void)request; return true; }
    virtual bool askRecapType(ReportRequest &request) { (void)request; return true; }
    virtual bool askAdvance(ReportRequest &request) { (void)request; return true; }
    virtual bool askItem(ReportRequest &request) { (void)request; return true; }
    virtual bool askCertificate(ReportRequest &request) { (void)request; return true; }
    // The type-145 item that receives the annual tax differences; false
    // (the default) stores nothing and the table still prints.
    virtual bool askTaxDifferenceItem(int &code) { (void)code; return false; }

    // The output setup before the pages are made; false aborts the run.
    virtual bool setupOutput(Document &document) { (void)document; return true; }
    // The printer's unprintable margins (cm); zero without a printer.
    virtual QMarginsF printerMargins() const { return {}; }
    // Status while the pages are made: "Печат на %p страница" and the like.
    virtual void status(const QString &text) { (void)text; }
    // The first `count` pages of the document being made are finished:
    // nothing more is drawn on them (a host may write them out already).
    virtual void pagesFinished(const Document &document, int count) { (void)document; (void)count; }
    virtual bool cancelled() { return false; } // the status window's "Отказ"
    virtual void processEvents() {}
    // The finished document to the chosen destination.
    virtual void output(Document &document) { (void)document; }
    virtual void message(const QString &text) { (void)text; }
};

enum class RunOutcome {
    Done,      // printed, filed or previewed
    Cancelled, // a dialog was cancelled or nothing was to be printed
    Aborted,   // the setup window said "Не" or the status window "Отказ"
    NotBuilt,  // the kind's document is not in this build
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Cancelled;
    QStringList rowErrors; // one "Грешка " line per failed row
    QString message;       // what the host was told, if anything
};

// The run protocol's restore step as a guard.
class RunGuard {
public:
    explicit RunGuard(ReportHost &host);
    ~RunGuard();
    RunGuard(const RunGuard &) = delete;
    RunGuard &operator=(const RunGuard &) = delete;

private:
    ReportHost &host_;
    Orientation orientation_;
    int employee_;
};

// The row protocol: prints units 0..count-1 one after another; a unit that
// throws prints "Грешка " + its message and the run goes on with the next.
// False when the user cancelled.
bool printRows(Canvas &canvas, int count, const std::function<void(Canvas &, int)> &printUnit, ReportHost &host,
               QStringList *errors = nullptr);

// Prints text at the cursor; with endLine it ends the line and, when no
// line is left, starts a new page (whose header the canvas's page event prints).
void printWithPageTurn(Canvas &canvas, const QString &text, bool endLine);

// Aborted by the user in the status window.
struct RunAborted {};

// What the status window says as a page begins.
enum class PageStatus {
    Printing,    // "Печат на 1 страница": the documents of the row drivers
    Generating,  // "Генериране на 1 страница": the tables
    EngineWords, // "Generating page 1": the engine's own words, as the payment orders have always shown
};
// Called as each page begins: the status window shows the page and its
// "Отказ" ends the run (RunAborted).
void announcePage(const Canvas &canvas, ReportHost &host, PageStatus wording = PageStatus::Printing);

// Everyone recalculated before the document, so it prints fresh figures:
// the status window shows how far the walk is and its "Отказ" ends the run
// (RunAborted), keeping what was recalculated. `each` sees every
// employee's calculation.
using EachRecalculated = std::function<void(const calc::Calculation &)>;
void recalculateForReport(storage::DataModule &data, calc::Parameters &params, ReportHost &host,
                          const EachRecalculated &each = {});
// The same on parameters loaded for the walk alone.
void recalculateForReport(storage::DataModule &data, ReportHost &host, const EachRecalculated &each = {});

// The shared header texts.
QString pageOfText(const Canvas &canvas); // "Стр: 1  от  2" once the document is finished
QString monthCaption(int month, int year); // "Януари 2008"
QString printingDate(const QDate &date);   // "Дата: 10.12.2026"
// The employer's ЕИК as the documents head it: "ЕИК 121234567"; empty without one.
QString bulstatText(const QString &bulstat);
// The employer's name and ЕИК on one line: "Плавекс ООД, ЕИК 121234567".
QString employerText(const QString &name, const QString &bulstat);

} // namespace plavex::reports
