#include "reports/RunProtocol.h"

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "util/DateText.h"
#include "util/MonthNames.h"
#include "util/Separators.h"

#include <exception>

namespace plavex::reports {

RunGuard::RunGuard(ReportHost &host)
    : host_(host), orientation_(host.printerOrientation()), employee_(host.currentEmployee())
{
    host_.setScreenRefresh(false);
}

RunGuard::~RunGuard()
{
    // Each step is tried on its own: the guard also runs while an error of
    // the run is on its way out, and one failed step must not stop the others.
    auto step = [](auto &&f) {
        try {
            f();
        } catch (...) {
        }
    };
    // Restoring must not recalculate each employee the selection passes.
    bool recalc = false;
    step([&] { recalc = host_.recalcOnScroll(); });
    step([&] { host_.setRecalcOnScroll(false); });
    step([&] { host_.setScreenRefresh(true); });
    step([&] { host_.setPrinterOrientation(orientation_); });
    step([&] { host_.selectEmployee(employee_); });
    step([&] { host_.setRecalcOnScroll(recalc); });
}

bool printRows(Canvas &canvas, int count, const std::function<void(Canvas &, int)> &printUnit, ReportHost &host,
               QStringList *errors)
{
    for (int i = 0; i < count; ++i) {
        host.processEvents();
        if (host.cancelled())
            return false;
        try {
            printUnit(canvas, i);
        } catch (const std::exception &e) {
            const QString line = QStringLiteral("Грешка ") + storage::errorText(e);
            if (canvas.linesLeft() < 1)
                canvas.newPage();
            canvas.println(line);
            if (errors)
                errors->append(line);
        }
        host.processEvents();
    }
    return true;
}

void printWithPageTurn(Canvas &canvas, const QString &text, bool endLine)
{
    canvas.print(text);
    if (!endLine)
        return;
    canvas.newLine();
    if (canvas.linesLeft() < 1)
        canvas.newPage();
}

void announcePage(const Canvas &canvas, ReportHost &host, PageStatus wording)
{
    const int page = canvas.pageNumber();
    host.pagesFinished(canvas.document(), page - 1);
    switch (wording) {
    case PageStatus::Printing:
        host.status(QStringLiteral("Печат на %1 страница").arg(page));
        break;
    case PageStatus::Generating:
        host.status(QStringLiteral("Генериране на %1 страница").arg(page));
        break;
    case PageStatus::EngineWords:
        host.status(QStringLiteral("Generating page %1").arg(page));
        break;
    }
    host.processEvents();
    if (host.cancelled())
        throw RunAborted{};
}

void recalculateForReport(storage::DataModule &data, calc::Parameters &params, ReportHost &host,
                          const EachRecalculated &each)
{
    try {
        calc::recalculateAll(data, params, [&](const calc::Calculation &c, int done, int total) {
            if (each)
                each(c);
            // Every 50th keeps the window alive without slowing a large walk.
            if (done % 50 == 0 || done == total) {
                host.status(QStringLiteral("Преизчисляване: %1 от %2").arg(done).arg(total));
                host.processEvents();
                if (host.cancelled())
                    throw RunAborted{};
            }
        });
    } catch (const RunAborted &) {
        // What was recalculated is kept, as recalculating everyone keeps it.
        data.commitRetaining();
        throw;
    }
}

void recalculateForReport(storage::DataModule &data, ReportHost &host, const EachRecalculated &each)
{
    calc::Parameters params;
    params.reloadAll(data);
    recalculateForReport(data, params, host, each);
}

QString pageOfText(const Canvas &canvas)
{
    return QStringLiteral("Стр: ") + canvas.pageNumberText() + QStringLiteral("  от  ") + Canvas::totalPagesText();
}

QString monthCaption(int month, int year) { return util::monthName(month) + QLatin1Char(' ') + QString::number(year); }

QString printingDate(const QDate &date) { return QStringLiteral("Дата: ") + util::documentDate(date); }

QString bulstatText(const QString &bulstat)
{
    return bulstat.trimmed().isEmpty() ? QString() : QStringLiteral("ЕИК ") + bulstat.trimmed();
}

QString employerText(const QString &name, const QString &bulstat)
{
    const QString eik = bulstatText(bulstat);
    return eik.isEmpty() ? name.trimmed() : name.trimmed() + QStringLiteral(", ") + eik;
}

} // namespace plavex::reports
