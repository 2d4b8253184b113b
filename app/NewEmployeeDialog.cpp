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
            // "OK" pressed by the same key checks the field itself: one message is enough.
            QTimer::singleShot(0, this, [this, field, problem, runs = okRuns_] {
                if (runs != okRuns_ || !isVisible())
                    return;
                prompter_.message(problem);
                field->setFocus();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NewEmployeeDialog::tryAccept()
{
    ++okRuns_;
    const employees::NewEmployee e = entry();
    const std::pair<QString, QLineEdit *> checks[] = {
        {employees::checkNewEmployee(e), e.number.isEmpty() ? number_ : e.name.isEmpty() ? name_ : egn_},
        {employees::checkNewNumber(data_, e.number), number_},
        {employees::checkNewEgn(e.egn), egn_}};
    for (const auto &[problem, field] : checks) {
        if (!problem.isEmpty()) {
            prompter_.message(problem);
            field->setFocus();
            return;
        }
    }
    accept();
}

} // namespace plavex::app
