#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace plavex::storage {
class IniFile;
class UsersDatabase;
}

namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// "Потребители": the switch of the login and the adding of users. Users are
// never changed or deleted here.
class UsersWindow : public QDialog {
    Q_OBJECT
public:
    UsersWindow(storage::UsersDatabase &users, util::Prompter &prompter, storage::IniFile &ini,
                QWidget *parent = nullptr);

    QCheckBox *switchBox() const { return switch_; }
    QPushButton *addButton() const { return add_; }
    QPushButton *saveButton() const { return save_; }
    QPushButton *cancelButton() const { return cancel_; }
    QLineEdit *userEdit() const { return user_; }
    QLineEdit *passwordEdit() const { return password_; }

private:
    void switchClicked(bool on);
    void setAdding(bool adding);
    void saveUser();

    storage::UsersDatabase &users_;
    util::Prompter &prompter_;
    QCheckBox *switch_;
    QLineEdit *user_;
    QLineEdit *password_;
    QPushButton *add_;
    QPushButton *save_;
    QPushButton *cancel_;
    QPushButton *ok_;
    QPushButton *exit_;
};

} // namespace plavex::app
