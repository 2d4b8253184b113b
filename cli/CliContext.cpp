#include "cli/CliContext.h"

#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "items/DefinitionReader.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"

#include <QFileInfo>

#include <cstdio>

namespace plavex::cli {

namespace {
QString oneLine(const QString &text) { return QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified(); }
} // namespace

void CliPrompter::message(const QString &text)
{
    err_ << oneLine(text) << Qt::endl;
}

bool CliPrompter::confirm(const QString &question)
{
    if (!yes_)
        err_ << oneLine(question) << QStringLiteral(" (потвърдете с --yes)") << Qt::endl;
    return yes_;
}

void CliPrompter::progressStart(const QString &caption)
{
    lastPercent_ = -1;
    if (showProgress)
        err_ << caption << Qt::endl;
}

void CliPrompter::progressStep(int done, int total)
{
    if (!showProgress || total <= 0)
        return;
    const int percent = done * 100 / total;
    if (percent / 10 != lastPercent_ / 10) {
        lastPercent_ = percent;
        err_ << percent << '%' << Qt::endl;
    }
}

void CliPrompter::progressEnd() {}

CliContext::CliContext(const QString &dir, bool yesFlag)
    : programDir(dir), yes(yesFlag), out(stdout), err(stderr), settings(dir), prompter(err, yesFlag)
{
}

QString CliContext::databasePath() const { return db ? *db : settings.database; }

bool CliContext::openDatabase(bool create)
{
    const QString path = databasePath();
    if (!create && !fb::Connection::isRemote(path) && !QFileInfo::exists(path)) {
        fail(QStringLiteral("Базата данни %1 не съществува.").arg(path));
        return false;
    }
    data = std::make_unique<storage::DataModule>(settings, prompter, items::seedChart);
    if (!data->connectToDatabase(path, settings.serverUser(), settings.serverPassword()))
        return false;
    try {
        data->openPeriod(data->period());
    } catch (const fb::Error &e) {
        fail(storage::errorText(e));
        return false;
    }
    return seedsLoaded();
}

bool CliContext::seedsLoaded()
{
    if (!data || data->schema().stoppedLoads() == 0)
        return true;
    // The line was named above; the command must not look as if all went well.
    fail(QStringLiteral("Служебните данни не са заредени изцяло: поправете файла и създайте месеца отново."));
    return false;
}

std::optional<QString> CliContext::takeOption(const QString &name)
{
    const int i = static_cast<int>(args.indexOf(name));
    if (i < 0 || i + 1 >= args.size())
        return std::nullopt;
    const QString value = args.at(i + 1);
    args.remove(i, 2);
    return value;
}

bool CliContext::takeFlag(const QString &name) { return args.removeAll(name) > 0; }

std::optional<QString> CliContext::outFolder(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        fail(QStringLiteral("Посочете папка с --out."));
        return std::nullopt;
    }
    const QFileInfo folder(text);
    if (folder.exists() && !folder.isDir()) {
        fail(QStringLiteral("%1 е файл, а не папка. Посочете папка с --out.").arg(text));
        return std::nullopt;
    }
    if (!folder.exists()) {
        fail(QStringLiteral("Папката %1 не съществува.").arg(text));
        return std::nullopt;
    }
    return folder.absoluteFilePath();
}

calc::Parameters &CliContext::parameters()
{
    if (!parameters_) {
        parameters_ = std::make_shared<calc::Parameters>();
        if (data)
            parameters_->attach(*data);
    }
    return *parameters_;
}

int CliContext::fail(const QString &message)
{
    err << oneLine(message) << Qt::endl;
    return 1;
}

} // namespace plavex::cli
