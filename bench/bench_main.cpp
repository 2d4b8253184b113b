// plavex-bench: the figures the issues set targets for. Not part of the tests.
#include "bench/BenchServer.h"
#include "bench/DemoBench.h"
#include "bench/PayRunBench.h"
#include "bench/ReportBench.h"
#include "bench/ScaleBench.h"
#include "calc/CalcPerson.h"
#include "calc/History.h"
#include "calc/Parameters.h"
#include "declarations/Declaration1.h"
#include "items/DefinitionReader.h"
#include "items/Definitions.h"
#include "operations/DemoCompany.h"
#include "operations/MonthClosing.h"
#include "reference/Company.h"
#include "storage/Backup.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <optional>
#include <vector>

using namespace plavex;
using bench::DemoBench;

namespace {

QTextStream out(stdout);

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void storageBench(const QString &nomsDir)
{
    const int runs = 5;
    std::vector<double> create, open;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        if (!nomsDir.isEmpty())
            QDir().mkpath(dir.path() + QStringLiteral("/noms"));
        for (const QString &f : QDir(nomsDir).entryList(QDir::Files))
            QFile::copy(nomsDir + QLatin1Char('/') + f, dir.path() + QStringLiteral("/noms/") + f);
        storage::Settings settings(dir.path());
        settings.lastDate = util::Period(2008, 1);
        util::RecordingPrompter prompter;
        QElapsedTimer timer;
        {
            storage::DataModule data(settings, prompter, items::seedChart);
            timer.start();
            data.connectToDatabase(settings.database, settings.serverUser(), settings.serverPassword());
            data.openPeriod(data.period());
            create.push_back(timer.nsecsElapsed() / 1e9);
        }
        {
            storage::DataModule data(settings, prompter, items::seedChart);
            timer.start();
            data.connectToDatabase(settings.database, settings.serverUser(), settings.serverPassword());
            data.openPeriod(data.period());
            open.push_back(timer.nsecsElapsed() / 1e9);
        }
    }
    out << QStringLiteral("storage: create a new database with one period: %1 s (median of %2; target <= 3 s)\n")
               .arg(median(create), 0, 'f', 3).arg(runs);
    out << QStringLiteral("storage: open an existing period:               %1 s (median of %2; target <= 0.3 s)\n")
               .arg(median(open), 0, 'f', 3).arg(runs);
    out.flush();
}

using bench::ServerDatabase;

// A company of 2 000 active employees with 12 items each and six months of
// history, recalculated as a whole: first with everything to write, then
// unchanged (nothing to write to PERA). Returns the unchanged figure.
double calcBench(const std::optional<ServerDatabase> &server = std::nullopt)
{
    const int employees = 2000;
    const QString calc = server ? QStringLiteral("calc (server)") : QStringLiteral("calc");
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/noms"));
    {
        QFile dod(dir.path() + QStringLiteral("/noms/DOD2008.csv"));
        dod.open(QIODevice::WriteOnly);
        dod.write("2008;0;0;0.10\r\n");
    }
    storage::Settings settings(dir.path());
    settings.lastDate = util::Period(2008, 7);
    if (server) {
        settings.database = server->path;
        settings.user = server->user;
        settings.password = server->password;
    }
    util::RecordingPrompter prompter;
    storage::DataModule data(settings, prompter, items::seedChart);
    if (!data.connectToDatabase(settings.database, settings.serverUser(), settings.serverPassword())) {
        out << calc << QStringLiteral(": the database cannot be opened: ") << prompter.messages.join(u' ') << Qt::endl;
        return 0;
    }
    data.openPeriod(data.period());
    calc::Parameters params;
    params.attach(data);
    params.reloadAll(data);
    reference::postCompany(data, {{QStringLiteral("FIRMA_INDDOO"), 2000.0}, {QStringLiteral("FIRMA_MINDOH"), 220.0},
                                  {QStringLiteral("FIRMA_MINSALARY"), 220.0}});
    struct Def {
        int code, type;
        const char *hars;
    };
    for (const Def &d : {Def{101, 1, "1"}, Def{102, 3, "1"}, Def{103, 5, "0"}, Def{111, 11, "0"}, Def{121, 21, "0010000000"},
                         Def{131, 139, "0"}, Def{132, 139, "0010000000"}, Def{141, 140, "0"}, Def{151, 142, "0"}})
        items::addDefinition(data, items::makeDefinition(d.code, d.type, QStringLiteral("Перо %1").arg(d.code), QLatin1String(d.hars)));

    fb::Transaction &tx = data.transaction();
    fb::Statement person(tx, QStringLiteral("insert into %1 (PERSON_ID,PERSON_NOMER,PERSON_IME,PERSON_EGN,PERSON_ACT,"
                                            "PERSON_KALENDAR,PERSON_SYSZ,PERSON_NOS,PERSON_NOSN) values (?,?,?,'7501010000',1,1,1,'01',1)")
                                 .arg(data.table(u"PERSONS")));
    fb::Statement item(tx, QStringLiteral("insert into %1 (PERO_PEROID,PERO_PERSONID,PERO_COD,PERO_TYPE,PERO_SUMA1,PERO_SUMA2,"
                                          "PERO_D,PERO_BEGINDATE,PERO_ENDDATE) values (?,?,?,?,?,?,?,?,?)")
                               .arg(data.table(u"PERA")));
    fb::Statement history(tx, QStringLiteral("insert into PERSDATA (PERSDATA_PERSONID,PERSDATA_GOD,PERSDATA_MES,PERSDATA_RABDNI,"
                                             "PERSDATA_ODNI,PERSDATA_SDNI,PERSDATA_BOT12,PERSDATA_BDOO,PERSDATA_ZAPL,"
                                             "PERSDATA_SFRZ,PERSDATA_SDOD,PERSDATA_WSDOOLI,PERSDATA_SUZDR) "
                                             "values (?,?,?,22,21,22,?,?,?,?,?,?,?)"));
    int itemId = 0;
    for (int id = 1; id <= employees; ++id) {
        person.bindAll({id, id, QStringLiteral("Служител %1").arg(id)}).execute();
        const double salary = 800 + (id % 50) * 10;
        const QVariant none;
        const QVariantList rows[] = {
            {101, 1, salary, 0, 0, none, none},
            {102, 3, 0.6 * (id % 20), 0, id % 20, none, none},
            {103, 5, 4, 50, 0, none, none},
            {111, 11, 0, 0, 2, QDate(2008, 7, 14), QDate(2008, 7, 15)},
            {121, 21, 0, 0, 2, QDate(2008, 7, 21), QDate(2008, 7, 22)},
            {131, 139, 12.9, 0, 0, none, none},
            {132, 139, 2.4, 0, 0, none, none},
            {141, 140, 0, 0, 0, none, none},
            {151, 142, 200, 0, 0, none, none},
            {1000, 100, 0, 0, 0, none, none},
            {2000, 200, 0, 0, 0, none, none},
            {2010, 201, 0, 0, 0, none, none},
        };
        for (const QVariantList &r : rows)
            item.bindAll(QVariantList{++itemId, id} + r).execute();
        for (int month = 1; month <= 6; ++month)
            history.bindAll({id, 2008, month, salary * 1.05, salary * 1.05, salary, salary * 1.05, salary * 0.08, salary * 0.1,
                             salary * 0.03})
                .execute();
    }
    data.commitRetaining();

    auto walk = [&](int &written, int &summaries) {
        written = 0;
        summaries = 0;
        QElapsedTimer timer;
        timer.start();
        calc::recalculateAll(data, params, [&](const calc::Calculation &c, int, int) {
            written += c.itemsWritten;
            summaries += c.summaryWritten ? 1 : 0;
        });
        return timer.nsecsElapsed() / 1e9;
    };
    int written = 0;
    int summaries = 0;
    const double first = walk(written, summaries);
    out << QStringLiteral("%5: recalculate %1 employees, first time:  %2 s (%3 PERA writes, %4 PERSDATA rows)\n")
               .arg(employees).arg(first, 0, 'f', 3).arg(written).arg(summaries).arg(calc);
    std::vector<double> again;
    for (int i = 0; i < 3; ++i)
        again.push_back(walk(written, summaries));
    out << QStringLiteral("%5: recalculate %1 employees, unchanged:   %2 s (median of 3; %3 PERA writes, %4 PERSDATA "
                          "writes; target <= 2 s)\n")
               .arg(employees).arg(median(again), 0, 'f', 3).arg(written).arg(summaries).arg(calc);
    if (server)
        return median(again); // the formulas alone are the same wherever the data lives

    // The same months on records in memory: what the formulas cost alone.
    calc::MemoryHistory memory;
    {
        fb::Statement q(tx, QStringLiteral("select %1 from PERSDATA").arg(QLatin1String(calc::DatabaseHistory::columns())));
        while (q.next())
            memory.rows.push_back(calc::DatabaseHistory::read(q));
    }
    calc::PersonCalculator calculator(data, params);
    std::vector<std::pair<calc::Employee, std::vector<items::ItemRecord>>> loaded;
    for (const calc::Employee &e : calculator.employees())
        loaded.emplace_back(e, calculator.calculate(e).items);
    reference::CalendarRecord calendar;
    reference::loadCalendar(data, 1, calendar);
    QElapsedTimer timer;
    timer.start();
    for (auto &[employee, list] : loaded) {
        calc::Context context(params, data.period(), employee, memory);
        context.calendar = calendar;
        calc::calculate(context, list, true);
    }
    out << QStringLiteral("calc: the formulas alone, in memory:          %1 s\n").arg(timer.nsecsElapsed() / 1e9, 0, 'f', 3);
    out.flush();
    return median(again);
}


// The demo company of 2 000 employees: closing a month (its recalculation
// walk included), then backup and restore of the whole database.
void monthBench(const QString &nomsDir)
{
    const int employees = 2000;
    DemoBench b(nomsDir, util::Period(2008, 1));
    storage::Settings &settings = b.settings;
    util::RecordingPrompter &prompter = b.prompter;
    storage::DataModule &data = b.data;
    QElapsedTimer timer;
    timer.start();
    operations::buildDemoCompany(data, {employees, 1, util::Period(2008, 1), 2008}, prompter, b.params);
    out << QStringLiteral("month: demo company of %1 employees, one month closed: %2 s\n")
               .arg(employees).arg(timer.nsecsElapsed() / 1e9, 0, 'f', 3);

    // The first closing into a new month, then twice more onto it (emptied first).
    std::vector<double> closing;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            data.changePeriod(2008, 2);
        timer.start();
        operations::closeMonth(data, prompter, &b.params);
        closing.push_back(timer.nsecsElapsed() / 1e9);
    }
    out << QStringLiteral("month: close a month of %1 employees:            %2 s (first), %3 s (median of 3; target <= 5 s)\n")
               .arg(employees).arg(closing.front(), 0, 'f', 3).arg(median(closing), 0, 'f', 3);

    // Declaration 1 of the closed-into month, recalculation walk included.
    {
        QTemporaryDir folder;
        std::vector<double> decl1;
        for (int i = 0; i < 3; ++i) {
            timer.start();
            declarations::exportDeclaration1(data, folder.path(), false, &b.params, prompter);
            decl1.push_back(timer.nsecsElapsed() / 1e9);
        }
        out << QStringLiteral("month: declaration-1 file of %1 employees:       %2 s (median of 3; target <= 3 s)\n")
                   .arg(employees).arg(median(decl1), 0, 'f', 3);
    }

    const QString file = storage::defaultBackupFile(settings, data.period());
    std::vector<double> backup, restore;
    for (int i = 0; i < 3; ++i) {
        timer.start();
        storage::backupCurrent(data, file);
        backup.push_back(timer.nsecsElapsed() / 1e9);
        timer.start();
        storage::restoreOverCurrent(data, file);
        restore.push_back(timer.nsecsElapsed() / 1e9);
    }
    out << QStringLiteral("month: backup of the database (%1 MB):            %2 s (median of 3; target <= 5 s)\n")
               .arg(QFileInfo(settings.database).size() / 1048576.0, 0, 'f', 1).arg(median(backup), 0, 'f', 3);
    out << QStringLiteral("month: restore over the current database:        %1 s (median of 3; target <= 5 s)\n")
               .arg(median(restore), 0, 'f', 3);
    if (!prompter.messages.isEmpty())
        out << QStringLiteral("month: messages: ") << prompter.messages.join(QStringLiteral(" | ")) << '\n';
    out.flush();
}

} // namespace

// The closing of December 2025 into January 2026, converting every amount.
void euroBench(const QString &nomsDir)
{
    const int employees = 2000;
    DemoBench b(nomsDir, util::Period(2025, 11));
    operations::buildDemoCompany(b.data, {employees, 1, util::Period(2025, 11), 2025}, b.prompter, b.params);
    std::vector<double> closing;
    QElapsedTimer timer;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            b.data.changePeriod(2025, 12);
        timer.start();
        operations::closeMonth(b.data, b.prompter, &b.params);
        closing.push_back(timer.nsecsElapsed() / 1e9);
    }
    out << QStringLiteral("euro: close December 2025 into January 2026, %1 employees: %2 s (first), %3 s (median of 3; target <= 5 s)\n")
               .arg(employees).arg(closing.front(), 0, 'f', 3).arg(median(closing), 0, 'f', 3);
    out.flush();
}

int main(int argc, char **argv)
{
    // Documents measure and paint text: the font system, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString noms = QCoreApplication::applicationDirPath() + QStringLiteral("/noms");
    QStringList only = app.arguments().mid(1);
    // The scale group's floor, measured as a process of its own.
    if (only.size() == 2 && only[0] == QLatin1String("--floor"))
        return bench::floorProcess(only[1]);
    // The scale group runs this plavex-cli (another build's, say, for a figure before a change).
    QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/plavex-cli");
    if (const qsizetype at = only.indexOf(QStringLiteral("--cli")); at >= 0 && at + 1 < only.size()) {
        cli = QFileInfo(only[at + 1]).absoluteFilePath();
        only.remove(at, 2);
    }
    // With names (storage, calc) only those run.
    if (only.isEmpty() || only.contains(QStringLiteral("storage")))
        storageBench(QDir(noms).exists() ? QDir(noms).absolutePath() : QString());
    if (only.isEmpty() || only.contains(QStringLiteral("calc"))) {
        const double embedded = calcBench();
        // Through a server on loopback, when make bench started one.
        if (const auto server = bench::benchServer(QStringLiteral("bench"))) {
            const double remote = calcBench(server);
            out << QStringLiteral("calc: through the server %1 s against %2 s embedded: %3 times (target <= 1.5)\n")
                       .arg(remote, 0, 'f', 3).arg(embedded, 0, 'f', 3).arg(embedded > 0 ? remote / embedded : 0, 0, 'f', 2);
            out.flush();
        }
    }
    if (only.isEmpty() || only.contains(QStringLiteral("month")))
        monthBench(QDir(noms).absolutePath());
    if (only.isEmpty() || only.contains(QStringLiteral("euro")))
        euroBench(QDir(noms).absolutePath());
    if (only.isEmpty() || only.contains(QStringLiteral("reports")))
        bench::reportBench();
    if (only.isEmpty() || only.contains(QStringLiteral("payslips")))
        bench::payslipBench(QDir(noms).absolutePath());
    if (only.isEmpty() || only.contains(QStringLiteral("sheets")))
        bench::sheetsBench(QDir(noms).absolutePath());
    if (only.isEmpty() || only.contains(QStringLiteral("scale")))
        bench::scaleBench(cli, QDir(noms).absolutePath());
    if (only.isEmpty() || only.contains(QStringLiteral("payrun")))
        bench::payRunBench(QDir(noms).absolutePath());
    return 0;
}
