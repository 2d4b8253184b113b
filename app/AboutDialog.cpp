#include "app/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("За програмата Plavex"));
    auto *layout = new QVBoxLayout(this);
    auto *product = new QLabel(QStringLiteral("Plavex"), this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Версия 1.00"), this), 0, Qt::AlignHCenter);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    // The frame shows the whole caption, with room for its buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
}

} // namespace plavex::app
