#include "app/NewEmployeeDialog.h"

#include "app/FieldFilter.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace plavex::app {

NewEmployeeDialog::NewEmployeeDialog(storage::DataModule &data, util::Prompter &prompter, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), number_(new QLineEdit(this)), name_(new QLineEdit(this)),
      egn_(new QLineEdit(this)), ok_(new QPushButton(QStringLiteral("ОК"), this)),
      cancel_(new QPushButton(QStringLiteral("Отказ"), this))
{
    setObjectName(QStringLiteral("fNewPerson"));
    setWindowTitle(QStringLiteral("Нов служител"));
    egn_->setMaxLength(10);
    name_->setMaxLength(50);
    name_->setMinimumWidth(320);
    FieldFilter::install(number_, util::KeyFilterKind::Digits, prompter_);
    FieldFilter::install(name_, util::KeyFilterKind::EnterOnly, prompter_);
    FieldFilter::install(egn_, util::KeyFilterKind::Digits, prompter_);
    ok_->setProperty("pressOnFocus", true);
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Номер"), number_);
    form->addRow(QStringLiteral("Име"), name_);
    form->addRow(QStringLiteral("ЕГН"), egn_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    number_->installEventFilter(this);
    egn_->installEventFilter(this);
    connect(ok_, &QPushButton::clicked, this, &NewEmployeeDialog::tryAccept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

employees::NewEmployee NewEmployeeDialog::entry() const
{
    return {number_->text().trimmed(), name_->text().trimmed(), egn_->text().trimmed()};
}

bool NewEmployeeDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (leftForAnotherField(event) && isVisible() && QApplication::focusWidget() != cancel_) {
        QString problem;
        if (watched == number_)
            problem = employees::checkNewNumber(data_, number_->text());
        else if (watched == egn_)
            problem = employees::checkNewEgn(egn_->text());
        if (!problem.isEmpty()) {
            auto *field = static_cast<QLineEdit *>(watched);
            // After the focus change has finished, or it would take the focus away again.
            QTimer::singleShot(0, this, [this, field, problem] {
                prompter_.message(problem);
                field->setFocus();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NewEmployeeDialog::tryAccept()
{
    const employees::NewEmployee e = entry();
    for (const QString &problem : {employees::checkNewEmployee(e), employees::checkNewNumber(data_, e.number),
                                   employees::checkNewEgn(e.egn)}) {
        if (!problem.isEmpty()) {
            prompter_.message(problem);
            return;
        }
    }
    accept();
}

} // namespace plavex::app
