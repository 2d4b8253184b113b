// plavex-bench: the figures the issues set targets for. Not part of the tests.
#include "items/Install.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "util/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace plavex;

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
            storage::DataModule data(settings, prompter);
            timer.start();
            data.connectToDatabase(settings.database, settings.user, settings.password);
            data.openPeriod(data.period());
            create.push_back(timer.nsecsElapsed() / 1e9);
        }
        {
            storage::DataModule data(settings, prompter);
            timer.start();
            data.connectToDatabase(settings.database, settings.user, settings.password);
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    items::install();
    const QString noms = QCoreApplication::applicationDirPath() + QStringLiteral("/noms");
    storageBench(QDir(noms).exists() ? QDir(noms).absolutePath() : QString());
    return 0;
}
