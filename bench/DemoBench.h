#pragma once

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "items/BulkOperations.h"
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
// the closings recalculate through.
struct DemoBench {
    DemoBench(const QString &nomsDir, const util::Period &start) : settings(dir.path()), data(settings, prompter)
    {
        QDir().mkpath(dir.path() + QStringLiteral("/noms"));
        for (const QString &f : QDir(nomsDir).entryList(QDir::Files))
            QFile::copy(nomsDir + QLatin1Char('/') + f, dir.path() + QStringLiteral("/noms/") + f);
        settings.lastDate = start;
        data.connectToDatabase(settings.database, settings.serverUser(), settings.serverPassword());
        data.openPeriod(data.period());
        params.attach(data);
        params.reloadAll(data);
        recalculate = [this](storage::DataModule &d, int id) {
            if (!calculator || calculatorPeriod != d.period()) {
                calculator = std::make_unique<calc::Calculator>(d, params);
                calculatorPeriod = d.period();
            }
            calculator->autocalc = true;
            calculator->calculate(id);
        };
    }
    QTemporaryDir dir;
    storage::Settings settings;
    util::RecordingPrompter prompter;
    storage::DataModule data;
    calc::Parameters params;
    std::unique_ptr<calc::Calculator> calculator;
    util::Period calculatorPeriod;
    items::RecalculateEmployee recalculate;
};

} // namespace plavex::bench
