#include "app/UsersWindow.h"

#include "app/FormPlacement.h"
#include "app/LoginDialog.h"
#include "storage/ErrorText.h"
#include "storage/UsersDatabase.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace plavex::app {

UsersWindow::UsersWindow(storage::UsersDatabase &users, util::Prompter &prompter, storage::IniFile &ini,
                         QWidget *parent)
    : QDialog(parent), users_(users), prompter_(prompter)
{
    setObjectName(QStringLiteral("fSysusers"));
    setWindowTitle(QStringLiteral("Потребители"));
    switch_ = new QCheckBox(QStringLiteral("работа с потребители"), this);
    switch_->setChecked(users_.userSystemOn());
    add_ = new QPushButton(QStringLiteral("Добавяне на потребители"), this);
    user_ = new QLineEdit(this);
    user_->setMaxLength(10);
    password_ = new QLineEdit(this);
    password_->setMaxLength(10);
    password_->setEchoMode(QLineEdit::Password);
    save_ = new QPushButton(QStringLiteral("Запис"), this);
    cancel_ = new QPushButton(QStringLiteral("Отказ"), this);
    ok_ = new QPushButton(QStringLiteral("ОК"), this);
    exit_ = new QPushButton(QStringLiteral("Изход"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Потребител"), user_);
    form->addRow(QStringLiteral("Парола"), password_);
    auto *entryButtons = new QHBoxLayout;
    entryButtons->addStretch();
    entryButtons->addWidget(save_);
    entryButtons->addWidget(cancel_);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok_);
    bottom->addWidget(exit_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(switch_);
    layout->addWidget(add_, 0, Qt::AlignLeft);
    layout->addLayout(form);
    layout->addLayout(entryButtons);
    layout->addStretch();
    layout->addLayout(bottom);
    resize(360, 220);
    new FormPlacement(this, ini, objectName());

    connect(switch_, &QCheckBox::clicked, this, &UsersWindow::switchClicked);
    connect(add_, &QPushButton::clicked, this, [this] { setAdding(true); });
    connect(save_, &QPushButton::clicked, this, &UsersWindow::saveUser);
    connect(cancel_, &QPushButton::clicked, this, [this] { setAdding(false); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    connect(user_, &QLineEdit::returnPressed, password_, qOverload<>(&QWidget::setFocus));
    connect(password_, &QLineEdit::returnPressed, save_, qOverload<>(&QWidget::setFocus));
    setAdding(false);
}

void UsersWindow::switchClicked(bool on)
{
    try {
        if (on) {
            if (prompter_.confirm(QStringLiteral(
                    "Сигурни ли сте, че искате да активирате системата с потребители и пароли?\n"
                    "При следващото стартиране на програмата ще ви бъде поискан потребител и парола"))) {
                users_.setUserSystem(true);
                prompter_.message(QStringLiteral("Ако нямате създаден потребител, моля създайте си такъв."));
            }
        } else if (prompter_.confirm(QStringLiteral("Сигурни ли сте, че искате да изключите системата с потребители "))) {
            // Only someone who can log in may switch the login off.
            if (LoginDialog::login(users_, &prompter_, this))
                users_.setUserSystem(false);
        }
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    const QSignalBlocker block(switch_);
    switch_->setChecked(users_.userSystemOn());
}

void UsersWindow::setAdding(bool adding)
{
    if (!adding) {
        user_->clear();
        password_->clear();
    }
    user_->setEnabled(adding);
    password_->setEnabled(adding);
    save_->setEnabled(adding);
    cancel_->setEnabled(adding);
    add_->setEnabled(!adding);
    ok_->setEnabled(!adding);
    exit_->setEnabled(!adding);
    switch_->setEnabled(!adding);
    if (adding)
        user_->setFocus();
}

void UsersWindow::saveUser()
{
    try {
        if (!users_.addUser(user_->text(), password_->text())) {
            prompter_.message(
                QStringLiteral("Моля попълнете данни и в двете полета или натиснете бътона \"отказ\""));
            return;
        }
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    setAdding(false);
}

} // namespace plavex::app
