#include "app/PeroDefsWindow.h"
#include "app/reports/GuiReports.h"

#include "app/EditPeroDialog.h"
#include "app/FormPlacement.h"
#include "app/ReadOnlyGrid.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "items/Definitions.h"
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

namespace {
// Short headers after what each characteristic does: carried, the leave,
// sickness and service-leave bases, the ДЗПО share of a contribution, and
// five kept only for the user.
const char *const kFlagCaptions[] = {"Зап",    "Отс",    "Бол",    "Сл",     "ДЗПО",
                                     "Хар. 6", "Хар. 7", "Хар. 8", "Хар. 9", "Хар. 10"};
}

PeroDefsWindow::PeroDefsWindow(storage::DataModule &data, util::Prompter &prompter, Mode mode, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), mode_(mode)
{
    setObjectName(QStringLiteral("fPeroDefs"));
    setWindowTitle(QStringLiteral("Избор на перо"));
    storage::TableData::Query query{QStringLiteral("PERADEFS"),
                                    {QStringLiteral("PERODEFS_COD"), QStringLiteral("PERODEFS_IME"),
                                     QStringLiteral("PERODEFS_TYP"), QStringLiteral("PERODEFS_HARS")},
                                    {QStringLiteral("PERODEFS_COD")},
                                    {},
                                    {},
                                    QStringLiteral("PERODEFS_COD")};
    if (mode_ == Mode::Picker)
        query.condition = QStringLiteral("PERODEFS_TYP not in (100,200,201,101)");
    model_ = new TableModel(data_, query, prompter_, this);
    std::vector<TableModel::Column> columns = {{QStringLiteral("PERODEFS_COD"), {}},
                                               {QStringLiteral("PERODEFS_IME"), {}},
                                               {QStringLiteral("PERODEFS_TYP"), {}}};
    for (int i = 0; i < 10; ++i) {
        columns.push_back({{}, QString::fromUtf8(kFlagCaptions[i]), [this, i](int row) -> QVariant {
                               return items::flagMark(model_->raw(row, QStringLiteral("PERODEFS_HARS")).toString(), i + 1);
                           }});
    }
    model_->setColumns(columns);

    grid_ = readOnlyGrid(model_, this);
    grid_->setColumnWidth(0, 60);
    grid_->setColumnWidth(1, 260);
    grid_->setColumnWidth(2, 100);
    for (int i = 3; i < 13; ++i)
        grid_->setColumnWidth(i, std::max(44, grid_->horizontalHeader()->fontMetrics().horizontalAdvance(
                                                  QString::fromUtf8(kFlagCaptions[i - 3])) + 16));
    new WheelToArrows(grid_);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *add = new QPushButton(QStringLiteral("Ново"), this);
    auto *edit = new QPushButton(QStringLiteral("Редакция"), this);
    delete_ = new QPushButton(QStringLiteral("Изтриване"), this);
    auto *print = new QPushButton(QStringLiteral("Печат"), this);
    connect(print, &QPushButton::clicked, this,
            [this] { startReport(this, data_, prompter_, reports::ReportKind::DefinitionList); });
    delete_->setEnabled(mode_ == Mode::Management);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {add, edit, delete_, print})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(1040, 520);
    new FormPlacement(this, data_.settings().ini(), objectName());

    connect(ok, &QPushButton::clicked, this, &PeroDefsWindow::choose);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &PeroDefsWindow::newDefinition);
    connect(edit, &QPushButton::clicked, this, &PeroDefsWindow::editDefinition);
    connect(delete_, &QPushButton::clicked, this, &PeroDefsWindow::deleteDefinition);
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        if (mode_ == Mode::Management)
            editDefinition();
        else
            choose();
    });
    reload(0);
}

void PeroDefsWindow::reload(int keepCode)
{
    try {
        model_->reload();
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    int row = keepCode ? model_->rowOfKey(keepCode) : -1;
    if (row < 0 && model_->rowCount() > 0)
        row = 0;
    if (row >= 0) {
        grid_->setCurrentIndex(model_->index(row, 0));
        grid_->scrollTo(model_->index(row, 0));
    }
}

int PeroDefsWindow::currentCode() const
{
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? model_->raw(current.row(), QStringLiteral("PERODEFS_COD")).toInt() : 0;
}

void PeroDefsWindow::choose()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    code_ = model_->raw(current.row(), QStringLiteral("PERODEFS_COD")).toInt();
    type_ = model_->raw(current.row(), QStringLiteral("PERODEFS_TYP")).toInt();
    accept();
}

void PeroDefsWindow::newDefinition()
{
    try {
        if (mode_ == Mode::Management)
            items::removeUnfinishedDefinitions(data_);
        EditPeroDialog dialog(data_, prompter_, items::Definition{}, true, this);
        if (dialog.exec() != QDialog::Accepted) {
            reload(currentCode());
            return;
        }
        const items::Definition d = dialog.definition();
        items::addDefinition(data_, d);
        reload(d.code);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
}

void PeroDefsWindow::editDefinition()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    const items::Definition old = items::makeDefinition(
        model_->raw(row, QStringLiteral("PERODEFS_COD")).toInt(), model_->raw(row, QStringLiteral("PERODEFS_TYP")).toInt(),
        model_->raw(row, QStringLiteral("PERODEFS_IME")).toString(), model_->raw(row, QStringLiteral("PERODEFS_HARS")).toString());
    EditPeroDialog dialog(data_, prompter_, old, false, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        items::editDefinition(data_, old.code, old.type, dialog.definition());
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    reload(old.code);
}

void PeroDefsWindow::deleteDefinition()
{
    if (mode_ != Mode::Management)
        return;
    const int code = currentCode();
    if (code == 0)
        return;
    try {
        if (items::deleteDefinition(data_, code, prompter_))
            reload(0);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
}

} // namespace plavex::app
