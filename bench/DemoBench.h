#pragma once

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "items/DefinitionReader.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "util/Period.h"
#include "util/Prompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace plavex::bench {

// A demo company's program folder and open database, with the calculation
// parameters the closings recalculate with.
struct DemoBench {
    DemoBench(const QString &nomsDir, const util::Period &start) : settings(dir.path()), data(settings, prompter, items::seedChart)
    {
        QDir().mkpath(dir.path() + QStringLiteral("/noms"));
        for (const QString &f : QDir(nomsDir).entryList(QDir::Files))
            QFile::copy(nomsDir + QLatin1Char('/') + f, dir.path() + QStringLiteral("/noms/") + f);
        settings.lastDate = start;
        data.connectToDatabase(settings.database, settings.serverUser(), settings.serverPassword());
        data.openPeriod(data.period());
        params.attach(data);
        params.reloadAll(data);
    }
    QTemporaryDir dir;
    storage::Settings settings;
    util::RecordingPrompter prompter;
    storage::DataModule data;
    calc::Parameters params;
};

} // namespace plavex::bench
