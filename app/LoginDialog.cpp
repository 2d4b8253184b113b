#include "app/LoginDialog.h"

#include "storage/UsersDatabase.h"
#include "util/Prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

LoginDialog::LoginDialog(storage::UsersDatabase &users, util::Prompter *prompter, QWidget *parent)
    : QDialog(parent), users_(users), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("Въведете потребител и парола"));
    setObjectName(QStringLiteral("fLogin"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    user_ = new QLineEdit(this);
    user_->setMaxLength(10);
    password_ = new QLineEdit(this);
    password_->setMaxLength(10);
    password_->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Потребител"), user_);
    form->addRow(QStringLiteral("Парола"), password_);
    auto *login = login_ = new QPushButton(QStringLiteral("Вход"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    login->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(login);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    connect(user_, &QLineEdit::returnPressed, password_, qOverload<>(&QWidget::setFocus));
    connect(login, &QPushButton::clicked, this, &LoginDialog::tryLogin);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LoginDialog::tryLogin()
{
    if (user_->text().trimmed().isEmpty() || password_->text().trimmed().isEmpty()) {
        tell(QStringLiteral("Моля попълнете и двете полета или натиснете бутона \"ОТКАЗ\"."));
        return;
    }
    if (users_.checkLogin(user_->text(), password_->text())) {
        accept();
        return;
    }
    tell(QStringLiteral("Грешен потребител или парола."));
    if (++failures_ >= 3)
        reject();
}

void LoginDialog::tell(const QString &text)
{
    if (prompter_)
        prompter_->message(text);
    else
        QMessageBox::information(this, windowTitle(), text);
}

bool LoginDialog::gate(storage::UsersDatabase &users, util::Prompter *prompter, QWidget *parent)
{
    // A users file that cannot be read must not open the door.
    if (!users.isOpen())
        return false;
    if (!users.userSystemOn())
        return true;
    return login(users, prompter, parent);
}

bool LoginDialog::login(storage::UsersDatabase &users, util::Prompter *prompter, QWidget *parent)
{
    LoginDialog dialog(users, prompter, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace plavex::app
