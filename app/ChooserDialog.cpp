#include "app/ChooserDialog.h"
#include "app/reports/GuiReports.h"

#include "app/FormPlacement.h"
#include "app/NomenclatureEditor.h"
#include "app/WheelToArrows.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include "util/Separators.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

ChooserDialog::ChooserDialog(storage::DataModule &data, util::Prompter &prompter, employees::ChooserKind kind,
                             bool editMode, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter), kind_(kind), editMode_(editMode),
      model_(new QStandardItemModel(this)), proxy_(new QSortFilterProxyModel(this)), view_(new QTableView(this))
{
    setObjectName(QStringLiteral("fSearch"));
    setWindowTitle(employees::chooserCaption(kind));
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole); // numbers by value, not as text
    view_->setModel(proxy_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSortingEnabled(true);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(true);
    new WheelToArrows(view_);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    auto *add = new QPushButton(QStringLiteral("Нов"), this);
    auto *edit = new QPushButton(QStringLiteral("Редакция"), this);
    auto *remove = new QPushButton(QStringLiteral("Изтриване"), this);
    auto *print = new QPushButton(QStringLiteral("Печат"), this);
    auto *minimum = new QPushButton(QStringLiteral("Мин.осиг.дох"), this);
    const bool editable = employees::chooserEditable(kind);
    for (QPushButton *b : {add, edit, remove, print})
        b->setVisible(editable);
    // Units and positions print their lists.
    print->setVisible(editable && (kind == employees::ChooserKind::Units || kind == employees::ChooserKind::Positions));
    connect(print, &QPushButton::clicked, this, [this] {
        startReport(this, data_, prompter_,
                    kind_ == employees::ChooserKind::Units ? reports::ReportKind::UnitList : reports::ReportKind::PositionList);
    });
    minimum->setVisible(kind == employees::ChooserKind::Positions);
    connect(minimum, &QPushButton::clicked, this, [this] {
        try {
            reference::Company company;
            reference::loadCompany(data_, company);
            reference::refreshMinimumIncome(data_, company.activityCode, company.activityNumber);
        } catch (const fb::Error &e) {
            prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
        }
        const QVariant current = currentValue(0);
        reload();
        selectCode(current);
    });

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {add, edit, remove, print, minimum})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    // Every button keeps its caption whole, however narrow the saved bounds.
    setMinimumWidth(buttons->sizeHint().width() + layout->contentsMargins().left() + layout->contentsMargins().right());
    resize(720, 420);
    new FormPlacement(this, data_.settings().ini(), QStringLiteral("fSearch"));

    connect(ok, &QPushButton::clicked, this, &ChooserDialog::okPressed);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &ChooserDialog::newPressed);
    connect(edit, &QPushButton::clicked, this, &ChooserDialog::editPressed);
    connect(remove, &QPushButton::clicked, this, &ChooserDialog::deletePressed);
    connect(view_, &QTableView::doubleClicked, this, [this] {
        if (editMode_ && employees::chooserEditable(kind_))
            editPressed();
        else
            okPressed();
    });
    reload();
}

QString ChooserDialog::choose(storage::DataModule &data, util::Prompter &prompter, employees::ChooserKind kind,
                              bool editMode, QWidget *parent)
{
    ChooserDialog dialog(data, prompter, kind, editMode, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenCode() : QString();
}

void ChooserDialog::reload()
{
    const employees::ChooserRows rows = employees::chooserRows(data_, kind_);
    model_->clear();
    model_->setHorizontalHeaderLabels(rows.columns);
    const QChar decimal = util::Separators::current().decimal;
    for (const QVariantList &row : rows.rows) {
        QList<QStandardItem *> items;
        for (const QVariant &v : row) {
            auto *item = new QStandardItem;
            QVariant shown = v;
            if (kind_ == employees::ChooserKind::TaxScale && items.size() == 3) // the rate, stored as 0.10 for 10 %
                shown = QString::number(v.toDouble() * 100, 'f', 2).replace(u'.', decimal) + QStringLiteral(" %");
            else if (v.typeId() == QMetaType::Double)
                shown = QString::number(v.toDouble(), 'f', 2).replace(u'.', decimal);
            item->setData(shown, Qt::DisplayRole);
            item->setData(v, Qt::UserRole);
            items << item;
        }
        model_->appendRow(items);
    }
    // The employees' id is only the code to return.
    view_->setColumnHidden(0, kind_ == employees::ChooserKind::Employees);
    view_->resizeColumnsToContents();
    if (proxy_->rowCount() > 0 && !view_->currentIndex().isValid())
        view_->setCurrentIndex(proxy_->index(0, 0));
}

int ChooserDialog::rowCount() const { return proxy_->rowCount(); }

QVariant ChooserDialog::currentValue(int column) const
{
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid())
        return {};
    return proxy_->index(current.row(), column).data(Qt::UserRole);
}

void ChooserDialog::selectCode(const QVariant &code)
{
    const int column = kind_ == employees::ChooserKind::TaxScale ? 1 : 0;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        if (proxy_->index(r, column).data(Qt::UserRole).toString() == code.toString()) {
            view_->setCurrentIndex(proxy_->index(r, 0));
            return;
        }
    }
}

void ChooserDialog::okPressed()
{
    if (rowCount() == 0) {
        reject();
        return;
    }
    chosen_ = currentValue(0).toString().trimmed();
    accept();
}

bool ChooserDialog::openEditor(const QVariant &code)
{
    NomenclatureEditor editor(data_, prompter_, kind_, code, this);
    const bool ok = editor.exec() == QDialog::Accepted;
    reload();
    if (ok)
        selectCode(editor.code());
    return ok;
}

void ChooserDialog::newPressed()
{
    if (!employees::chooserEditable(kind_))
        return;
    try {
        if (kind_ == employees::ChooserKind::TaxScale) {
            openEditor(QVariant());
            return;
        }
        // The row exists while its editor is open; cancelling removes it again.
        int code = 0;
        if (kind_ == employees::ChooserKind::Towns)
            code = reference::addTown(data_, QString(), 0);
        else if (kind_ == employees::ChooserKind::Units)
            code = reference::addUnit(data_, QString(), 0);
        else
            code = reference::addPosition(data_, QString(), 0, QString(), 0);
        data_.commitRetaining();
        NomenclatureEditor editor(data_, prompter_, kind_, code, this);
        if (editor.exec() != QDialog::Accepted) {
            employees::chooserDelete(data_, kind_, code);
            reload();
            return;
        }
        reload();
        selectCode(editor.code());
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при запис: %1").arg(storage::errorText(e)));
        reload();
    }
}

void ChooserDialog::editPressed()
{
    if (!employees::chooserEditable(kind_))
        return;
    if (rowCount() == 0) {
        newPressed();
        return;
    }
    openEditor(currentValue(kind_ == employees::ChooserKind::TaxScale ? 1 : 0));
}

void ChooserDialog::deletePressed()
{
    if (!employees::chooserEditable(kind_) || rowCount() == 0)
        return;
    try {
        employees::chooserDelete(data_, kind_, currentValue(kind_ == employees::ChooserKind::TaxScale ? 1 : 0));
    } catch (const fb::Error &e) {
        prompter_.message(QStringLiteral("Грешка при изтриване: %1").arg(storage::errorText(e)));
    }
    reload();
}

} // namespace plavex::app
