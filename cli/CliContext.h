#pragma once

#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "util/Prompter.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

namespace plavex::calc {
struct Parameters;
}

namespace plavex::cli {

// Messages go to standard error as single lines; a question is answered by
// --yes; long work prints its percentage.
class CliPrompter : public util::Prompter {
public:
    CliPrompter(QTextStream &err, bool yes) : err_(err), yes_(yes) {}
    void message(const QString &text) override;
    bool confirm(const QString &question) override;
    void progressStart(const QString &caption) override;
    void progressStep(int done, int total) override;
    void progressEnd() override;
    bool showProgress = false;

private:
    QTextStream &err_;
    bool yes_;
    int lastPercent_ = -1;
};

// What a command gets: the global options, its own arguments, the settings
// of the program folder and, once opened, the company database.
struct CliContext {
    CliContext(const QString &programDir, bool yes);

    QString programDir;
    std::optional<QString> db;
    QString loginUser;
    QString loginPassword;
    bool yes = false;
    QStringList args; // after the command name

    QTextStream out;
    QTextStream err;
    storage::Settings settings;
    CliPrompter prompter;
    std::unique_ptr<storage::DataModule> data;

    QString databasePath() const;
    // Opens the database and its current period; create: a missing file is
    // made (as the program does at start), otherwise it is an error.
    bool openDatabase(bool create);
    // False (after the message) when a service file's load stopped at a bad line.
    bool seedsLoaded();
    // Option value of the command's own arguments ("--name value"); removes both.
    std::optional<QString> takeOption(const QString &name);
    bool takeFlag(const QString &name);
    // The folder of "--out": nothing (after the message) when it is blank,
    // a file, or missing.
    std::optional<QString> outFolder(const QString &text);
    int fail(const QString &message); // prints the message, returns 1
    // The calculation parameters of the open database, loaded by the first
    // calculation: a command refused before it writes nothing, not even the
    // default calendars.
    calc::Parameters &parameters();

private:
    std::shared_ptr<calc::Parameters> parameters_;
};

} // namespace plavex::cli
