#include "bench/ScaleBench.h"

#include "bench/BenchServer.h"
#include "items/DefinitionReader.h"
#include "storage/Catalogue.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

extern char **environ;

namespace plavex::bench {

namespace {

QTextStream out(stdout);

struct Process {
    double seconds = 0;
    double peakMiB = 0;
    int status = -1;
};

// One child process, timed from its start to its end, with the most memory
// it held at once (the kernel's high-water mark of its resident set).
Process run(const QString &program, const QStringList &args, const QString &log)
{
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString &a : args)
        bytes.push_back(a.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray logName = QFile::encodeName(log);
    posix_spawn_file_actions_addopen(&actions, 1, logName.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    Process p;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            p.seconds = timer.nsecsElapsed() / 1e9;
            p.peakMiB = usage.ru_maxrss / 1024.0;
            p.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return p;
}

struct Figure {
    double seconds = 0; // the median
    double peakMiB = 0; // the largest
    bool failed = false;
};

// The same process `runs` times; `before` prepares each run untimed.
Figure measure(int runs, const QString &program, const QStringList &args, const QString &log,
               const std::function<void()> &before = {})
{
    std::vector<double> times;
    Figure f;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        const Process p = run(program, args, log);
        f.failed = f.failed || p.status != 0;
        f.peakMiB = std::max(f.peakMiB, p.peakMiB);
        times.push_back(p.seconds);
    }
    std::sort(times.begin(), times.end());
    f.seconds = times[times.size() / 2];
    return f;
}

double loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().split(' ').value(0).toDouble() : -1;
}

// A variable for each column, declared as the column is.
QString declarations(const char *base, const QStringList &columns, const QString &prefix)
{
    const storage::TableDef &table = storage::catalogue::table(QString::fromLatin1(base));
    QString text;
    for (int i = 0; i < columns.size(); ++i) {
        const storage::ColumnDef &c = table.columns[static_cast<size_t>(table.columnIndex(columns[i]))];
        QString type = QLatin1String(c.type) + QLatin1String(c.extras);
        type = type.remove(QStringLiteral("NOT NULL")).simplified();
        text += QStringLiteral("DECLARE %1%2 %3;\n").arg(prefix).arg(i).arg(type);
    }
    return text;
}

QString into(const QStringList &columns, const QString &prefix)
{
    QStringList names;
    for (int i = 0; i < columns.size(); ++i)
        names << QStringLiteral(":%1%2").arg(prefix).arg(i);
    return names.join(u',');
}

const QStringList kPersonColumns = {
    QStringLiteral("PERSON_ID"), QStringLiteral("PERSON_NOMER"), QStringLiteral("PERSON_IME"), QStringLiteral("PERSON_ACT"),
    QStringLiteral("PERSON_KALENDAR"), QStringLiteral("PERSON_NOS"), QStringLiteral("PERSON_NOSN"), QStringLiteral("PERSON_DLUV"),
    QStringLiteral("PERSON_SYSZ"), QStringLiteral("PERSON_TRUSTR"), QStringLiteral("PERSON_DATANAZ"),
    QStringLiteral("PERSON_DATAUWOL")};
const QStringList kItemColumns = {
    QStringLiteral("PERO_PEROID"), QStringLiteral("PERO_PERSONID"), QStringLiteral("PERO_MES"), QStringLiteral("PERO_GOD"),
    QStringLiteral("PERO_COD"), QStringLiteral("PERO_SUMA1"), QStringLiteral("PERO_SUMA2"), QStringLiteral("PERO_D"),
    QStringLiteral("PERO_BEGINDATE"), QStringLiteral("PERO_ENDDATE"), QStringLiteral("PERO_PARTIDA"), QStringLiteral("PERO_SUMA"),
    QStringLiteral("PERO_SUMAKOR"), QStringLiteral("PERO_SUMAFINAL"), QStringLiteral("PERO_TYPE"), QStringLiteral("PERO_BOLNN"),
    QStringLiteral("PERO_FLFIRST"), QStringLiteral("PERO_BOLNDOPDOC")};

// One EXECUTE BLOCK: the month's employees and items and every monthly
// record, each row fetched once into variables inside the engine, nothing
// sent back but a count.
QString floorBlock(storage::DataModule &data)
{
    QStringList history;
    for (const storage::ColumnDef &c : storage::catalogue::table(u"PERSDATA").columns)
        history << QString::fromLatin1(c.name);
    QString sql = QStringLiteral("EXECUTE BLOCK RETURNS (N INTEGER) AS\n");
    sql += declarations("PERSONS", kPersonColumns, QStringLiteral("P"));
    sql += declarations("PERA", kItemColumns, QStringLiteral("I"));
    sql += declarations("PERSDATA", history, QStringLiteral("H"));
    sql += QStringLiteral("BEGIN\nN = 0;\n");
    sql += QStringLiteral("FOR SELECT %1 FROM %2 INTO %3 DO N = N + 1;\n")
               .arg(kPersonColumns.join(u','), data.table(u"PERSONS"), into(kPersonColumns, QStringLiteral("P")));
    sql += QStringLiteral("FOR SELECT %1 FROM %2 INTO %3 DO N = N + 1;\n")
               .arg(kItemColumns.join(u','), data.table(u"PERA"), into(kItemColumns, QStringLiteral("I")));
    sql += QStringLiteral("FOR SELECT %1 FROM PERSDATA INTO %2 DO N = N + 1;\n")
               .arg(history.join(u','), into(history, QStringLiteral("H")));
    sql += QStringLiteral("SUSPEND;\nEND");
    return sql;
}

// A demo company's program folder: the shipped service files and the
// database `demo` made there, kept for every figure of its size.
struct Company {
    QString label;
    int employees;
    int months;
    QString start;
    QString folder;
    QString database() const { return folder + QStringLiteral("/database/plavex.gdb"); }
};

void copyNoms(const QString &nomsDir, const QString &folder)
{
    QDir().mkpath(folder + QStringLiteral("/noms"));
    for (const QString &f : QDir(nomsDir).entryList(QDir::Files))
        QFile::copy(nomsDir + QLatin1Char('/') + f, folder + QStringLiteral("/noms/") + f);
}

void replaceFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    QFile::copy(from, to);
}

QString line(const QString &what, const Figure &f, double floor)
{
    return QStringLiteral("scale:   %1 %2 s  %3 x floor  peak %4 MiB%5\n")
        .arg(what, -16)
        .arg(f.seconds, 7, 'f', 3)
        .arg(floor > 0 ? f.seconds / floor : 0, 5, 'f', 1)
        .arg(f.peakMiB, 5, 'f', 0)
        .arg(f.failed ? QStringLiteral("  (FAILED: see the log)") : QString());
}

} // namespace

int floorProcess(const QString &programDir)
{
    storage::Settings settings(programDir);
    settings.read();
    util::RecordingPrompter prompter;
    storage::DataModule data(settings, prompter, items::seedChart);
    if (!data.connectToDatabase(settings.database, settings.serverUser(), settings.serverPassword()))
        return 1;
    data.openPeriod(data.period());
    fb::Statement q(data.transaction(), floorBlock(data));
    return q.next() && q.toInt(0) > 0 ? 0 : 1;
}

void scaleBench(const QString &cli, const QString &nomsDir)
{
    const int runs = 3;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("commands.log"));
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<Company> companies{{QStringLiteral("2 000 x 6 from 07.2025"), 2000, 6, QStringLiteral("072025"), {}},
                                   {QStringLiteral("10 000 x 2 from 11.2025"), 10000, 2, QStringLiteral("112025"), {}}};
    for (Company &company : companies) {
        company.folder = dir.filePath(QString::number(company.employees));
        copyNoms(nomsDir, company.folder);
        auto cliIn = [&](QStringList args) { return QStringList{QStringLiteral("--program-dir"), company.folder} + args; };
        // Made once per bench run: every figure of this size reads the same company.
        const Process made = run(cli, cliIn({QStringLiteral("demo"), QStringLiteral("--employees"), QString::number(company.employees),
                                             QStringLiteral("--months"), QString::number(company.months), QStringLiteral("--period"),
                                             company.start}),
                                 log);
        out << QStringLiteral("scale: demo company %1: made in %2 s (%3 MiB peak)%4\n")
                   .arg(company.label)
                   .arg(made.seconds, 0, 'f', 1)
                   .arg(made.peakMiB, 0, 'f', 0)
                   .arg(made.status == 0 ? QString() : QStringLiteral(" FAILED: see ") + log);
        out.flush();
        if (made.status != 0)
            continue;
        // The first recalculation after the demo may still write; the figures are of a month as it stands.
        run(cli, cliIn({QStringLiteral("recalc")}), log);
        const QString pristine = company.database() + QStringLiteral(".pristine");
        QFile::copy(company.database(), pristine);

        out << QStringLiteral("scale: %1 (median of %2; load average %3 before)\n")
                   .arg(company.label)
                   .arg(runs)
                   .arg(loadAverage(), 0, 'f', 2);
        const Figure floor = measure(runs, self, {QStringLiteral("--floor"), company.folder}, log);
        const QString outDir = dir.filePath(QStringLiteral("out"));
        QDir().mkpath(outDir);
        const std::vector<std::pair<QString, QStringList>> commands{
            {QStringLiteral("recalc"), {QStringLiteral("recalc")}},
            {QStringLiteral("decl1"), {QStringLiteral("decl1"), QStringLiteral("--out"), outDir}},
            {QStringLiteral("payslip1"),
             {QStringLiteral("report"), QStringLiteral("payslip1"), QStringLiteral("--out"), outDir + QStringLiteral("/p1.pdf")}},
            {QStringLiteral("sheet"),
             {QStringLiteral("report"), QStringLiteral("sheet"), QStringLiteral("--out"), outDir + QStringLiteral("/sheet.pdf")}},
            {QStringLiteral("recap"),
             {QStringLiteral("report"), QStringLiteral("recap"), QStringLiteral("--out"), outDir + QStringLiteral("/recap.pdf")}},
        };
        out << line(QStringLiteral("floor"), floor, floor.seconds);
        out.flush();
        std::map<QString, double> seconds;
        for (const auto &[name, args] : commands) {
            const Figure f = measure(runs, cli, cliIn(args), log);
            seconds[name] = f.seconds;
            out << line(name, f, floor.seconds);
            out.flush();
        }
        const double recalc = seconds[QStringLiteral("recalc")];
        // Each closing starts from the month as it was.
        const Figure closing = measure(runs, cli, cliIn({QStringLiteral("--yes"), QStringLiteral("close-month")}), log,
                                       [&] { replaceFile(pristine, company.database()); });
        replaceFile(pristine, company.database());
        out << line(QStringLiteral("close-month"), closing, floor.seconds);
        out << QStringLiteral("scale:   decl1 %1 x recalc (target <= 2), recalc %2 x floor (target <= %3)\n")
                   .arg(recalc > 0 ? seconds[QStringLiteral("decl1")] / recalc : 0, 0, 'f', 2)
                   .arg(floor.seconds > 0 ? recalc / floor.seconds : 0, 0, 'f', 2)
                   .arg(company.employees >= 10000 ? QStringLiteral("2.5") : QStringLiteral("2"));

        // The same recalculation through the loopback server, when make bench started one.
        if (const auto server = benchServer(QStringLiteral("scale-%1").arg(company.employees))) {
            const QString local = server->path.section(u':', 1);
            replaceFile(pristine, local);
            const Figure remote = measure(runs, cli,
                                          cliIn({QStringLiteral("--db"), server->path, QStringLiteral("--db-user"), server->user,
                                                 QStringLiteral("--db-password"), server->password, QStringLiteral("recalc")}),
                                          log);
            out << line(QStringLiteral("recalc (server)"), remote, floor.seconds);
            out << QStringLiteral("scale:   through the server %1 x embedded (target <= 1.5 at 10 000)\n")
                       .arg(recalc > 0 ? remote.seconds / recalc : 0, 0, 'f', 2);
            QFile::remove(local);
        }
        QFile::remove(pristine);
        out.flush();
    }
}

} // namespace plavex::bench
