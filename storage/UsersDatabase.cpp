#include "storage/UsersDatabase.h"

#include "storage/Catalogue.h"
#include "storage/DatabaseFile.h"
#include "storage/ErrorText.h"
#include "storage/Schema.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace plavex::storage {

namespace {
const QString kSysdba = QStringLiteral("SYSDBA");
}

const QString UsersDatabase::kAdminPassword = QStringLiteral("vintaxeru");

UsersDatabase::UsersDatabase(util::Prompter &prompter)
    : prompter_(prompter), transaction_(connection_, fb::Transaction::LockWait::NoWait)
{
}

bool UsersDatabase::open(const QString &programDir)
{
    close();
    QString dir = programDir;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    const QString path = dir + QStringLiteral("users.gdb");
    try {
        // Made whole under a temporary name: a killed first start leaves no
        // users database that never opens again.
        QString failure;
        const FileMade made = makeDatabaseFile(path, [&](const QString &temporary) {
            fb::Connection::createDatabase(temporary, kSysdba, kAdminPassword);
            connection_.attach(temporary, kSysdba, kAdminPassword);
            Schema schema(transaction_, prompter_, QString());
            schema.createTable(QStringLiteral("USERS"), catalogue::table(u"USERS"));
            schema.createTable(QStringLiteral("SYSPARAMS"), catalogue::table(u"SYSPARAMS"));
            transaction_.commit();
            fb::Statement::run(transaction_, QStringLiteral("INSERT INTO USERS (USER_ID,USER_NAME,USER_PASS) VALUES (?,?,?)"),
                               {maxUserId() + 1, QStringLiteral("SYSADMIN"), kAdminPassword});
            fb::Statement::run(transaction_, QStringLiteral("INSERT INTO SYSPARAMS (PAR_USEUSER) VALUES (?)"), {0});
            transaction_.commit();
            connection_.detach();
            return true;
        }, &failure);
        if (made == FileMade::Failed) {
            prompter_.message(failure);
            return false;
        }
        connection_.attach(path, kSysdba, kAdminPassword);
        return true;
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Базата данни не може да бъде отворена. %1: %2").arg(QDir::toNativeSeparators(path), errorText(e)));
        try {
            connection_.detach();
        } catch (const fb::Error &) {
        }
        return false;
    }
}

void UsersDatabase::close()
{
    if (!connection_.isOpen())
        return;
    transaction_.commit();
    connection_.detach();
}

bool UsersDatabase::userSystemOn()
{
    return fb::Statement::scalar(transaction_, QStringLiteral("select PAR_USEUSER from SYSPARAMS")).toInt() == 1;
}

void UsersDatabase::setUserSystem(bool on)
{
    fb::Statement::run(transaction_, QStringLiteral("UPDATE SYSPARAMS SET PAR_USEUSER=?"), {on ? 1 : 0});
    transaction_.commitRetaining();
}

bool UsersDatabase::checkLogin(const QString &user, const QString &password)
{
    // Longer than the stored ten characters: it cannot match.
    constexpr int kLength = 10;
    if (user.trimmed().size() > kLength || password.trimmed().size() > kLength)
        return false;
    fb::Statement q(transaction_, QStringLiteral("SELECT * FROM USERS WHERE USER_NAME=? AND USER_PASS=?"));
    q.bindAll({user.trimmed(), password.trimmed()});
    const bool found = q.next();
    q.close();
    transaction_.commitRetaining();
    return found;
}

bool UsersDatabase::addUser(const QString &user, const QString &password)
{
    if (user.trimmed().isEmpty() || password.trimmed().isEmpty())
        return false;
    locks_.take(QStringLiteral("USERS")); // a second copy adding a user at once waits
    fb::Statement::run(transaction_, QStringLiteral("INSERT INTO USERS (USER_ID,USER_NAME,USER_PASS) VALUES (?,?,?)"),
                       {maxUserId() + 1, user.trimmed(), password.trimmed()});
    transaction_.commitRetaining();
    return true;
}

int UsersDatabase::maxUserId()
{
    return static_cast<int>(fb::Statement::scalar(transaction_, QStringLiteral("select max(USER_ID) from USERS")).toLongLong());
}

} // namespace plavex::storage
