#include "app/EditPeroDialog.h"

#include "app/FieldFilter.h"
#include "items/ItemTypes.h"
#include "storage/ErrorText.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace plavex::app {

EditPeroDialog::EditPeroDialog(storage::DataModule &data, util::Prompter &prompter, const items::Definition &definition,
                               bool isNew, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), isNew_(isNew)
{
    setObjectName(QStringLiteral("feditpero"));
    setWindowTitle(QStringLiteral("Редакция на перо"));
    code_ = new QLineEdit(this);
    code_->setMaxLength(9);
    code_->setReadOnly(!isNew);
    if (!isNew || definition.code != 0)
        code_->setText(QString::number(definition.code));
    name_ = new QLineEdit(definition.name.trimmed(), this);
    name_->setMaxLength(50);
    type_ = new QLineEdit(this);
    type_->setMaxLength(3);
    type_->setMaximumWidth(60);
    if (definition.type != 0)
        type_->setText(QString::number(definition.type));
    types_ = new QComboBox(this);
    for (const items::TypeName &t : items::typeNames())
        types_->addItem(items::typeEntry(t), t.code);
    types_->setMinimumContentsLength(40);
    types_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FieldFilter::install(code_, util::KeyFilterKind::Digits, prompter_);
    FieldFilter::install(name_, util::KeyFilterKind::EnterOnly, prompter_);
    FieldFilter::install(type_, util::KeyFilterKind::Digits, prompter_);
    code_->installEventFilter(this);

    auto *group = new QGroupBox(QStringLiteral("Характеристики на перо"), this);
    auto *grid = new QGridLayout(group);
    const QString hars = items::padFlags(definition.hars);
    for (int i = 0; i < 10; ++i) {
        auto *box = new QCheckBox(group);
        box->setChecked(hars.at(i) == QLatin1Char('1'));
        new EnterMovesFocus(box);
        flags_[static_cast<size_t>(i)] = box;
        grid->addWidget(box, i % 5, i / 5);
    }

    auto *typeRow = new QHBoxLayout;
    typeRow->addWidget(type_);
    typeRow->addWidget(types_, 1);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Код"), code_);
    form->addRow(QStringLiteral("Име"), name_);
    form->addRow(QStringLiteral("Тип на перото"), typeRow);
    ok_ = new QPushButton(QStringLiteral("ОК"), this);
    cancel_ = new QPushButton(QStringLiteral("Отказ"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addLayout(buttons);

    typeTyped();
    connect(type_, &QLineEdit::editingFinished, this, &EditPeroDialog::typeTyped);
    connect(types_, &QComboBox::activated, this, &EditPeroDialog::typeChosen);
    connect(ok_, &QPushButton::clicked, this, &EditPeroDialog::tryAccept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    (isNew ? code_ : name_)->setFocus();
}

items::Definition EditPeroDialog::definition() const
{
    QString hars(10, QLatin1Char('0'));
    for (int i = 0; i < 10; ++i) {
        if (flags_[static_cast<size_t>(i)]->isChecked())
            hars[i] = QLatin1Char('1');
    }
    return items::makeDefinition(code_->text().trimmed().toInt(), type_->text().trimmed().toInt(), name_->text().trimmed(),
                                 hars);
}

bool EditPeroDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the code for another field checks it; going to "Отказ" does not.
    if (watched == code_ && isNew_ && event->type() == QEvent::FocusOut && leftForAnotherField(event)) {
        QTimer::singleShot(0, this, [this] {
            if (!isVisible() || QApplication::focusWidget() == cancel_)
                return;
            const QString problem = checkCode();
            if (!problem.isEmpty()) {
                prompter_.message(problem);
                code_->setFocus();
            }
        });
    }
    return QDialog::eventFilter(watched, event);
}

QString EditPeroDialog::checkCode()
{
    try {
        return items::checkNewCode(data_, code_->text());
    } catch (const fb::Error &e) {
        return storage::errorText(e);
    }
}

void EditPeroDialog::typeTyped()
{
    const int type = type_->text().trimmed().toInt();
    types_->setCurrentIndex(type == 0 ? -1 : types_->findData(type));
    setCaptions(type);
}

void EditPeroDialog::typeChosen(int index)
{
    const int type = types_->itemData(index).toInt();
    type_->setText(QString::number(type));
    setCaptions(type);
}

void EditPeroDialog::setCaptions(int type)
{
    for (int i = 0; i < 10; ++i)
        flags_[static_cast<size_t>(i)]->setText(items::flagCaption(type, i + 1));
}

void EditPeroDialog::tryAccept()
{
    // The code is checked again: "ОК" may be clicked without leaving the field.
    if (isNew_) {
        const QString problem = checkCode();
        if (!problem.isEmpty()) {
            prompter_.message(problem);
            code_->setFocus();
            return;
        }
    }
    // A definition without a type would leave its items outside every formula.
    if (type_->text().trimmed().toInt() == 0) {
        prompter_.message(QStringLiteral("Моля изберете тип на перото или натиснете бутона \"ОТКАЗ\"."));
        type_->setFocus();
        return;
    }
    accept();
}

} // namespace plavex::app
