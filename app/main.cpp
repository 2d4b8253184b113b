// plavex: the payroll program's window.
#include "app/LoginDialog.h"
#include "app/MainWindow.h"

#include "items/Install.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/UsersDatabase.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

using namespace plavex;

namespace {

class BoxPrompter : public util::Prompter {
public:
    void message(const QString &text) override { QMessageBox::information(nullptr, QStringLiteral("Plavex"), text); }
    bool confirm(const QString &question) override
    {
        return QMessageBox::question(nullptr, QStringLiteral("Plavex"), question) == QMessageBox::Yes;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    items::install();
    QApplication::setApplicationName(QStringLiteral("Plavex"));

    QCommandLineParser parser;
    QCommandLineOption programDirOption(QStringLiteral("program-dir"), QStringLiteral("Папка на програмата."),
                                        QStringLiteral("DIR"), QCoreApplication::applicationDirPath());
    parser.addOption(programDirOption);
    parser.process(app);

    BoxPrompter prompter;
    storage::Settings settings(parser.value(programDirOption));
    settings.read();

    // Start order: the users database, the login gate, then the main window.
    storage::UsersDatabase users(prompter);
    users.open(settings.programDir());
    if (!app::LoginDialog::gate(users))
        return 0;

    storage::DataModule data(settings, prompter);
    app::MainWindow window(settings, data);
    window.show();
    return app.exec();
}
