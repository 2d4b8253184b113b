#include "app/reports/AdvanceDialog.h"

#include "app/FormPlacement.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

AdvanceDialog::AdvanceDialog(const std::vector<reports::AdvanceItem> &items, const util::Period &period, bool monthChoice,
                             storage::IniFile *placement, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fGetAvansPeroDate"));
    setWindowTitle(QStringLiteral("Избор на перо и месец на аванс"));
    items_ = new QComboBox(this);
    for (const reports::AdvanceItem &item : items)
        items_->addItem(QStringLiteral("%1  %2").arg(item.code).arg(item.name), item.code);
    code_ = new QLineEdit(this);
    code_->setReadOnly(true);
    code_->setMaximumWidth(80);
    months_ = new QComboBox(this);
    months_->addItems(reports::advanceMonths(period));
    months_->setCurrentIndex(0);
    auto showCode = [this](int i) { code_->setText(i >= 0 ? items_->itemData(i).toString() : QString()); };
    connect(items_, &QComboBox::currentIndexChanged, this, showCode);
    items_->setCurrentIndex(items.empty() ? -1 : 0);
    showCode(items_->currentIndex());

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Перо аванс"), items_);
    form->addRow(QStringLiteral("Номер на перо аванс"), code_);
    form->addRow(QStringLiteral("Аванс за месец"), months_);
    months_->setVisible(monthChoice);
    form->labelForField(months_)->setVisible(monthChoice);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *cancel = new QPushButton(QStringLiteral("Изход"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());
    if (placement)
        new FormPlacement(this, *placement, objectName());
}

QString AdvanceDialog::itemText() const { return code_->text().trimmed(); }
int AdvanceDialog::monthIndex() const { return months_->currentIndex() == 1 ? 1 : 0; }

} // namespace plavex::app
