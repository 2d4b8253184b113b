#include "app/NoiTypeDialog.h"

#include "app/FormPlacement.h"
#include "app/ReadOnlyGrid.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

NoiTypeDialog::NoiTypeDialog(storage::DataModule &data, util::Prompter &prompter, int type, int variant,
                             QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fNoiType"));
    setWindowTitle(QStringLiteral("Избор на вид осигурен"));
    model_ = new TableModel(data, {QStringLiteral("NOI"), {}, {QStringLiteral("NOI_TYPE")}, {}, {}, QStringLiteral("NOI_TYPE")},
                            prompter, this);
    try {
        model_->reload();
    } catch (const fb::Error &e) {
        prompter.message(storage::errorText(e));
    }
    grid_ = readOnlyGrid(model_, this);
    grid_->horizontalHeader()->setDefaultSectionSize(90);
    grid_->setColumnWidth(2, 300);
    new WheelToArrows(grid_);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(820, 420);
    new FormPlacement(this, data.settings().ini(), objectName());

    int row = model_->rowCount() > 0 ? 0 : -1;
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (model_->raw(r, QStringLiteral("NOI_TYPE")).toInt() == type
            && model_->raw(r, QStringLiteral("NOI_TYPEN")).toInt() == variant) {
            row = r;
            break;
        }
    }
    if (row >= 0)
        grid_->setCurrentIndex(model_->index(row, 0));
    connect(ok, &QPushButton::clicked, this, &NoiTypeDialog::choose);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableView::doubleClicked, this, &NoiTypeDialog::choose);
}

void NoiTypeDialog::choose()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    type_ = model_->raw(current.row(), QStringLiteral("NOI_TYPE")).toInt();
    variant_ = model_->raw(current.row(), QStringLiteral("NOI_TYPEN")).toInt();
    accept();
}

} // namespace plavex::app
