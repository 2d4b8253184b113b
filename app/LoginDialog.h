#pragma once

#include <QDialog>

class QLineEdit;

namespace plavex::storage {
class UsersDatabase;
}

namespace plavex::app {

// "Въведете потребител и парола": three wrong attempts close it as cancelled.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(storage::UsersDatabase &users, QWidget *parent = nullptr);

    // The gate: allowed when the user system is off or a login succeeds.
    static bool gate(storage::UsersDatabase &users, QWidget *parent = nullptr);

private:
    void tryLogin();

    storage::UsersDatabase &users_;
    QLineEdit *user_;
    QLineEdit *password_;
    int failures_ = 0;
};

} // namespace plavex::app
