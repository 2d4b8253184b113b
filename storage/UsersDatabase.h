#pragma once

#include "storage/fb/Connection.h"
#include "storage/Locks.h"
#include "storage/fb/Transaction.h"

#include <QString>

namespace plavex::util {
class Prompter;
}

namespace plavex::storage {

// "users.gdb" in the program folder: the user accounts of the optional login
// and the switch that turns the login on. Created silently, with SYSADMIN and
// the switch off, when it is missing.
class UsersDatabase {
public:
    static const QString kAdminPassword;

    explicit UsersDatabase(util::Prompter &prompter);

    bool open(const QString &programDir); // false (after the message) when it cannot be opened
    bool isOpen() const { return connection_.isOpen(); }
    void close();

    bool userSystemOn();
    void setUserSystem(bool on);
    // Both texts are trimmed and bound, never spliced into the statement.
    bool checkLogin(const QString &user, const QString &password);
    // False with nothing stored when either text is blank.
    bool addUser(const QString &user, const QString &password);
    int maxUserId();

private:
    util::Prompter &prompter_;
    fb::Connection connection_;
    fb::Transaction transaction_;
    Locks locks_{transaction_};
};

} // namespace plavex::storage
