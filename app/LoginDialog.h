#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace plavex::storage {
class UsersDatabase;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// "Въведете потребител и парола": three wrong attempts close it as cancelled.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    // Messages go to the prompter when one is given, else to message boxes.
    LoginDialog(storage::UsersDatabase &users, util::Prompter *prompter = nullptr, QWidget *parent = nullptr);

    // The gate: allowed when the user system is off or a login succeeds.
    static bool gate(storage::UsersDatabase &users, util::Prompter *prompter = nullptr, QWidget *parent = nullptr);
    // The dialog itself, whatever the switch says (switching the system off asks for it).
    static bool login(storage::UsersDatabase &users, util::Prompter *prompter = nullptr, QWidget *parent = nullptr);

    QLineEdit *userEdit() const { return user_; }
    QLineEdit *passwordEdit() const { return password_; }
    QPushButton *loginButton() const { return login_; }

private:
    void tryLogin();
    void tell(const QString &text);

    storage::UsersDatabase &users_;
    QLineEdit *user_;
    QLineEdit *password_;
    QPushButton *login_;
    util::Prompter *prompter_;
    int failures_ = 0;
};

} // namespace plavex::app
