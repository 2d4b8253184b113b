#include "app/NegativeNetsWindow.h"

#include "app/WheelToArrows.h"
#include "util/Separators.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace plavex::app {

NegativeNetsWindow::NegativeNetsWindow(Query query, std::function<void(int)> goTo, QWidget *parent)
    : QDialog(parent), query_(std::move(query)), goTo_(std::move(goTo))
{
    setObjectName(QStringLiteral("fRedTest"));
    setWindowTitle(QStringLiteral("Тест червени остатъци"));
    setAttribute(Qt::WA_DeleteOnClose);
    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("Номер"), QStringLiteral("Име"), QStringLiteral("Сума")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->setColumnWidth(0, 70);
    table_->setColumnWidth(1, 260);
    table_->setColumnWidth(2, 100);
    new WheelToArrows(table_);
    auto *refresh = new QPushButton(QStringLiteral("Обнови"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addStretch();
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(480, 360);
    connect(refresh, &QPushButton::clicked, this, [this] { show(query_()); });
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (QTableWidgetItem *item = table_->item(row, 0))
            goTo_(item->data(Qt::UserRole).toInt());
    });
}

void NegativeNetsWindow::show(const std::vector<operations::NegativeNet> &rows)
{
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const operations::NegativeNet &n = rows[static_cast<size_t>(r)];
        auto *number = new QTableWidgetItem(QString::number(n.number));
        number->setData(Qt::UserRole, n.personId);
        table_->setItem(r, 0, number);
        table_->setItem(r, 1, new QTableWidgetItem(n.name.trimmed()));
        auto *amount = new QTableWidgetItem(QString::number(n.amount, 'f', 2).replace(u'.', util::Separators::current().decimal));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(r, 2, amount);
    }
    QDialog::show();
    raise();
}

} // namespace plavex::app
