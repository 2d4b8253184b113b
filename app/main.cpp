// plavex: the payroll program's window.
#include "app/BoxPrompter.h"
#include "app/Language.h"
#include "app/LoginDialog.h"
#include "app/MainWindow.h"

#include "items/DefinitionReader.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/UsersDatabase.h"

#include <QApplication>
#include <QCommandLineParser>

using namespace plavex;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app::useBulgarian(app);
    QApplication::setApplicationName(QStringLiteral("Plavex"));

    QCommandLineParser parser;
    QCommandLineOption programDirOption(QStringLiteral("program-dir"), QStringLiteral("Папка на програмата."),
                                        QStringLiteral("DIR"), QCoreApplication::applicationDirPath());
    parser.addOption(programDirOption);
    parser.process(app);

    app::BoxPrompter prompter;
    storage::Settings settings(parser.value(programDirOption));
    settings.read();

    // Start order: the data module, the login gate, then the main window.
    storage::DataModule data(settings, prompter, items::seedChart);
    storage::UsersDatabase users(prompter);
    users.open(settings.programDir());
    if (!app::LoginDialog::gate(users, &prompter))
        return 0;

    app::MainWindow window(settings, data);
    prompter.setParent(&window);
    window.setUsersDatabase(&users);
    window.show();
    return app.exec();
}
