#include "app/CasePeroDialog.h"

#include "app/FieldFilter.h"
#include "app/PeroDefsWindow.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

CasePeroDialog::CasePeroDialog(storage::DataModule &data, util::Prompter &prompter, int type, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter)
{
    setObjectName(QStringLiteral("fCasePero"));
    setWindowTitle(QStringLiteral("Избор на перо"));
    try {
        definitions_ = items::pickerDefinitions(data_, type);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    code_ = new QLineEdit(this);
    code_->setMaxLength(9);
    code_->setMaximumWidth(90);
    FieldFilter::install(code_, util::KeyFilterKind::Digits, prompter_);
    list_ = new QComboBox(this);
    for (const items::Definition &d : definitions_)
        list_->addItem(QStringLiteral("%1  %2").arg(d.code).arg(d.name.trimmed()), d.code);
    list_->setCurrentIndex(-1);
    list_->setMinimumContentsLength(36);
    auto *all = new QPushButton(QStringLiteral("..."), this);
    all->setFixedWidth(32);
    all->setToolTip(QStringLiteral("Списък на перата"));
    ok_ = new QPushButton(QStringLiteral("ОК"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    auto *row = new QHBoxLayout;
    row->addWidget(code_);
    row->addWidget(list_, 1);
    row->addWidget(all);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Номер"), row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(code_, &QLineEdit::textEdited, this, &CasePeroDialog::codeTyped);
    connect(list_, &QComboBox::activated, this,
            [this](int index) { code_->setText(QString::number(list_->itemData(index).toInt())); });
    connect(all, &QPushButton::clicked, this, [this, type] {
        PeroDefsWindow picker(data_, prompter_, PeroDefsWindow::Mode::Picker, this);
        if (picker.exec() != QDialog::Accepted || picker.chosenCode() == 0)
            return;
        if (type != 0 && picker.chosenType() != type)
            return;
        code_->setText(QString::number(picker.chosenCode()));
        codeTyped();
    });
    connect(ok_, &QPushButton::clicked, this, &CasePeroDialog::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CasePeroDialog::codeTyped()
{
    list_->setCurrentIndex(list_->findData(code_->text().trimmed().toInt()));
}

void CasePeroDialog::tryAccept()
{
    const QString code = code_->text().trimmed();
    if (code.isEmpty()) {
        prompter_.message(QStringLiteral("Моля изберете перо или натиснете бутона \"ОТКАЗ\"."));
        return;
    }
    // Only a code of the list: another would act on items of the wrong kind.
    const int index = list_->findData(code.toInt());
    if (index < 0) {
        prompter_.message(QStringLiteral("Моля изберете перо или натиснете бутона \"ОТКАЗ\"."));
        return;
    }
    const items::Definition &d = definitions_[static_cast<size_t>(index)];
    chosenCode_ = code;
    chosenName_ = d.name.trimmed();
    chosenType_ = d.type;
    accept();
}

} // namespace plavex::app
