#include "app/PercentDialog.h"

#include "app/FieldFilter.h"
#include "calc/Parameters.h"
#include "operations/BulkOperations.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

namespace {
// Either separator reads: the field filter lets the locale's one through.
bool readNumber(const QString &text, double &value)
{
    bool ok = false;
    value = QString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok;
}
} // namespace

PercentDialog::PercentDialog(storage::DataModule &data, util::Prompter &prompter, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter)
{
    setObjectName(QStringLiteral("fChangeProc"));
    setWindowTitle(QStringLiteral("Смяна на процент на перо "));
    try {
        definitions_ = operations::percentDefinitions(data_);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    code_ = new QLineEdit(this);
    code_->setMaxLength(9);
    code_->setMaximumWidth(90);
    list_ = new QComboBox(this);
    for (const items::Definition &d : definitions_)
        list_->addItem(QStringLiteral("%1  %2").arg(d.code).arg(d.name.trimmed()), d.code);
    list_->setCurrentIndex(-1);
    list_->setMinimumContentsLength(30);
    old_ = new QLineEdit(this);
    new_ = new QLineEdit(this);
    FieldFilter::install(code_, util::KeyFilterKind::Digits, prompter_);
    FieldFilter::install(old_, util::KeyFilterKind::Decimal, prompter_);
    FieldFilter::install(new_, util::KeyFilterKind::Decimal, prompter_);
    ok_ = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(code_);
    codeRow->addWidget(list_, 1);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Номер на перо"), codeRow);
    form->addRow(QStringLiteral("Стар процент"), old_);
    form->addRow(QStringLiteral("Нов процент"), new_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(code_, &QLineEdit::editingFinished, this, &PercentDialog::codeEntered);
    connect(list_, &QComboBox::activated, this, [this](int index) {
        code_->setText(QString::number(list_->itemData(index).toInt()));
        codeEntered();
    });
    connect(ok_, &QPushButton::clicked, this, &PercentDialog::tryAccept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void PercentDialog::codeEntered()
{
    const QString text = code_->text().trimmed();
    if (text.isEmpty())
        return;
    list_->setCurrentIndex(list_->findData(text.toInt()));
    try {
        old_->setText(QString::number(operations::firstPercent(data_, text.toInt()), 'f', 3).replace(u'.', util::Separators::current().decimal));
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
}

void PercentDialog::tryAccept()
{
    const QString problem = operations::checkPercentFields(code_->text(), old_->text(), new_->text());
    if (!problem.isEmpty()) {
        prompter_.message(problem);
        return;
    }
    double oldPercent = 0;
    double newPercent = 0;
    if (!readNumber(old_->text(), oldPercent) || !readNumber(new_->text(), newPercent)) {
        prompter_.message(QStringLiteral("Моля въведете число."));
        return;
    }
    try {
        calc::Parameters params;
        params.reloadAll(data_);
        if (!operations::changePercent(data_, code_->text().trimmed().toInt(), oldPercent, newPercent, prompter_, &params))
            return;
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    accept();
}

} // namespace plavex::app
