#include "app/NkidDialog.h"

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

NkidDialog::NkidDialog(storage::DataModule &data, util::Prompter &prompter, const QString &code, const QString &number,
                       QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fNkid"));
    setWindowTitle(QStringLiteral("Номенклатура на КИД"));
    model_ = new TableModel(data,
                            {QStringLiteral("NKID"),
                             {QStringLiteral("NKID_KID"), QStringLiteral("NKID_KIDIME"), QStringLiteral("NKID_PORN")},
                             {QStringLiteral("NKID_KID")}, {}, {}, QStringLiteral("NKID_KID,NKID_PORN")},
                            prompter, this);
    try {
        model_->reload();
    } catch (const fb::Error &e) {
        prompter.message(storage::errorText(e));
    }
    grid_ = readOnlyGrid(model_, this);
    grid_->setColumnWidth(0, 80);
    grid_->setColumnWidth(1, 640); // the longest names whole on a usual screen
    grid_->setColumnWidth(2, 130);
    new WheelToArrows(grid_);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(920, 520);
    new FormPlacement(this, data.settings().ini(), objectName());

    int row = model_->rowCount() > 0 ? 0 : -1;
    if (!code.trimmed().isEmpty() && !number.trimmed().isEmpty()) {
        for (int r = 0; r < model_->rowCount(); ++r) {
            if (model_->raw(r, QStringLiteral("NKID_KID")).toString().trimmed() == code.trimmed()
                && model_->raw(r, QStringLiteral("NKID_PORN")).toString().trimmed() == number.trimmed()) {
                row = r;
                break;
            }
        }
    }
    if (row >= 0) {
        grid_->setCurrentIndex(model_->index(row, 0));
        grid_->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
    }
    connect(ok, &QPushButton::clicked, this, &NkidDialog::choose);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableView::doubleClicked, this, &NkidDialog::choose);
}

void NkidDialog::choose()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    code_ = model_->raw(current.row(), QStringLiteral("NKID_KID")).toString().trimmed();
    number_ = model_->raw(current.row(), QStringLiteral("NKID_PORN")).toString().trimmed();
    accept();
}

} // namespace plavex::app
