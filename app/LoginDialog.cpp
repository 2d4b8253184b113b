#include "app/LoginDialog.h"

#include "storage/UsersDatabase.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

LoginDialog::LoginDialog(storage::UsersDatabase &users, QWidget *parent) : QDialog(parent), users_(users)
{
    setWindowTitle(QStringLiteral("Въведете потребител и парола"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    user_ = new QLineEdit(this);
    user_->setMaxLength(10);
    password_ = new QLineEdit(this);
    password_->setMaxLength(10);
    password_->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Потребител"), user_);
    form->addRow(QStringLiteral("Парола"), password_);
    auto *login = new QPushButton(QStringLiteral("Вход"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    login->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(login);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(user_, &QLineEdit::returnPressed, password_, qOverload<>(&QWidget::setFocus));
    connect(login, &QPushButton::clicked, this, &LoginDialog::tryLogin);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LoginDialog::tryLogin()
{
    if (user_->text().trimmed().isEmpty() || password_->text().trimmed().isEmpty()) {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Моля попълнете и двете полета или натиснете бутона \"ОТКАЗ\"."));
        return;
    }
    if (users_.checkLogin(user_->text(), password_->text())) {
        accept();
        return;
    }
    QMessageBox::warning(this, windowTitle(), QStringLiteral("Грешен потребител или парола."));
    if (++failures_ >= 3)
        reject();
}

bool LoginDialog::gate(storage::UsersDatabase &users, QWidget *parent)
{
    if (!users.isOpen() || !users.userSystemOn())
        return true;
    LoginDialog dialog(users, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace plavex::app
