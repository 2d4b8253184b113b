// plavex-cli: the program's operations for scripts, tests and benchmarks.
#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "storage/ErrorText.h"
#include "storage/Locks.h"
#include "storage/UsersDatabase.h"
#include "storage/fb/Error.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>

#include <exception>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>

using namespace plavex;

namespace {

std::vector<cli::Command> allCommands()
{
    std::vector<cli::Command> all;
    for (auto group : {cli::databaseCommands, cli::calcCommands, cli::employeeCommands, cli::declarationCommands,
                       cli::monthCommands, cli::reportCommands, cli::importCommands, cli::payRunCommands})
        for (auto &c : group())
            all.push_back(std::move(c));
    return all;
}

int usage(QTextStream &err, const std::vector<cli::Command> &commands)
{
    err << QStringLiteral("Употреба: plavex-cli [--program-dir DIR] [--db PATH] [--user U --password P] [--db-user U --db-password P] [--yes] КОМАНДА ...")
        << Qt::endl;
    for (const auto &c : commands)
        err << QStringLiteral("  ") << c.usage << Qt::endl;
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef __GLIBC__
    // A command is one batch that ends with the process: memory it frees is
    // kept for its next allocation instead of going back to the system and
    // coming again page by page (the PDF writer takes and frees a
    // compressor's state for every page of a document).
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
    // Documents measure and paint text, which takes the font system; no
    // display is needed for that.
    const bool documents = std::any_of(argv + 1, argv + argc, [](const char *a) {
        return qstrcmp(a, "report") == 0 || qstrcmp(a, "mail-payslips") == 0;
    });
    if (documents && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries one Bulgarian line; the platform's remark about
    // a missing runtime folder of a display is not one.
    if (documents)
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type != QtDebugMsg && type != QtInfoMsg && !text.startsWith(QLatin1String("QStandardPaths:")))
                QTextStream(stderr) << text << Qt::endl;
        });
    std::unique_ptr<QCoreApplication> application =
        documents ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    QStringList args = app.arguments().mid(1);
    // A name the system's encoding cannot hold would reach the files as
    // another name: refused, never altered.
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QString::fromLocal8Bit(raw).toLocal8Bit() != raw) {
            QTextStream(stderr) << QStringLiteral("Аргументът \"%1\" не е текст в кодировката на системата: име на файл или папка "
                                                 "с такива знаци не се приема.")
                                       .arg(QString::fromLocal8Bit(raw))
                                << Qt::endl;
            return 1;
        }
    }

    QString programDir = QCoreApplication::applicationDirPath();
    std::optional<QString> db;
    QString user;
    QString password;
    std::optional<QString> dbUser; // the database server's login, when given
    std::optional<QString> dbPassword;
    bool yes = false;
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        if (a == QLatin1String("--program-dir")) {
            if (auto v = value()) programDir = *v; else rest << a;
        } else if (a == QLatin1String("--db")) {
            if (auto v = value()) db = *v; else rest << a;
        } else if (a == QLatin1String("--user")) {
            if (auto v = value()) user = *v; else rest << a;
        } else if (a == QLatin1String("--password")) {
            if (auto v = value()) password = *v; else rest << a;
        } else if (a == QLatin1String("--db-user")) {
            if (auto v = value()) dbUser = *v; else rest << a;
        } else if (a == QLatin1String("--db-password")) {
            if (auto v = value()) dbPassword = *v; else rest << a;
        } else if (a == QLatin1String("--yes")) {
            yes = true;
        } else {
            rest << a;
        }
    }

    const auto commands = allCommands();
    QTextStream err(stderr);
    if (rest.isEmpty())
        return usage(err, commands);
    const QString name = rest.takeFirst();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const auto &c) { return c.name == name; });
    if (command == commands.end())
        return usage(err, commands);

    cli::CliContext context(QDir(programDir).absolutePath(), yes);
    context.db = db;
    context.loginUser = user;
    context.loginPassword = password;
    context.args = rest;
    try {
        context.settings.read();
        context.settings.commandLineUser = dbUser;
        context.settings.commandLinePassword = dbPassword;
        storage::UsersDatabase users(context.prompter);
        if (!users.open(context.settings.programDir()))
            return 1;
        if (users.userSystemOn() && !users.checkLogin(user, password))
            return context.fail(QStringLiteral("Грешен потребител или парола."));
        users.close();
        const int status = command->run(context);
        // A command that failed leaves nothing of its own half-done.
        if (status != 0 && context.data)
            context.data->abandon();
        return status;
    } catch (const std::exception &e) {
        if (context.data)
            context.data->abandon();
        return context.fail(storage::errorText(e));
    }
}
