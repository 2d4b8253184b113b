#include "app/EmployeeWindow.h"

#include "app/FieldFilter.h"
#include "app/FormPlacement.h"
#include "app/GridExport.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "employees/Employees.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "util/Prompter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

// Hides dismissed employees when asked; sorts numbers as numbers.
class EmployeeFilter : public QSortFilterProxyModel {
public:
    EmployeeFilter(TableModel *model, QObject *parent) : QSortFilterProxyModel(parent), model_(model)
    {
        setSourceModel(model);
    }
    bool activeOnly = false;
    void refilter() { invalidateFilter(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &) const override
    {
        return !activeOnly || model_->raw(row, QStringLiteral("PERSON_ACT")).toInt() == 1;
    }
    bool lessThan(const QModelIndex &a, const QModelIndex &b) const override
    {
        const QVariant x = a.data(), y = b.data();
        bool okX = false, okY = false;
        const qlonglong nx = x.toString().toLongLong(&okX), ny = y.toString().toLongLong(&okY);
        if (okX && okY)
            return nx < ny;
        return QString::localeAwareCompare(x.toString(), y.toString()) < 0;
    }

private:
    TableModel *model_;
};

} // namespace

EmployeeWindow::EmployeeWindow(storage::DataModule &data, util::Prompter &prompter, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter),
      model_(new TableModel(data,
                            {QStringLiteral("PERSONS"),
                             {QStringLiteral("PERSON_ZVENO"), QStringLiteral("PERSON_NOMER"), QStringLiteral("PERSON_IME"),
                              QStringLiteral("PERSON_ID"), QStringLiteral("PERSON_ACT")},
                             {QStringLiteral("PERSON_ID")}, {}, {}, QStringLiteral("PERSON_ID")},
                            prompter, this)),
      proxy_(nullptr), view_(new QTableView(this)), number_(new QLineEdit(this)), name_(new QLineEdit(this)),
      activeOnly_(new QCheckBox(QStringLiteral("Само активните"), this))
{
    setObjectName(QStringLiteral("fPersons"));
    setWindowTitle(QStringLiteral("Служители"));
    model_->setColumns({{QStringLiteral("PERSON_ZVENO"), QStringLiteral("Звено")},
                        {QStringLiteral("PERSON_NOMER"), QStringLiteral("Номер")},
                        {QStringLiteral("PERSON_IME"), QStringLiteral("Име")}});
    model_->setRowColour([this](int r) {
        return model_->raw(r, QStringLiteral("PERSON_ACT")).toInt() == 1 ? QColor() : QColor(Qt::red);
    });
    model_->reload();
    auto *filter = new EmployeeFilter(model_, this);
    proxy_ = filter;
    view_->setModel(proxy_);
    addGridExport(view_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setColumnWidth(0, 60);
    view_->setColumnWidth(1, 70);
    new WheelToArrows(view_);
    if (proxy_->rowCount() > 0)
        view_->setCurrentIndex(proxy_->index(0, 0));

    FieldFilter::install(number_, util::KeyFilterKind::Digits, prompter_, false);
    auto *find = new QPushButton(QStringLiteral("Търсене"), this);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *cancel = new QPushButton(QStringLiteral("Изход"), this);
    for (QPushButton *b : {find, ok, cancel})
        b->setAutoDefault(false);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Номер"), this));
    top->addWidget(number_);
    top->addWidget(new QLabel(QStringLiteral("Име"), this));
    top->addWidget(name_, 1);
    top->addWidget(find);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(activeOnly_);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_);
    layout->addLayout(bottom);
    resize(480, 520);
    new FormPlacement(this, data_.settings().ini(), objectName());

    connect(find, &QPushButton::clicked, this, &EmployeeWindow::search);
    for (QLineEdit *box : {number_, name_})
        connect(box, &QLineEdit::returnPressed, this, &EmployeeWindow::search);
    connect(activeOnly_, &QCheckBox::toggled, this, [filter](bool on) {
        filter->activeOnly = on;
        filter->refilter();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (selectedId() > 0)
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(view_, &QTableView::doubleClicked, this, [this] {
        if (selectedId() > 0)
            accept();
    });
}

int EmployeeWindow::selectedId() const
{
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid())
        return 0;
    return model_->raw(proxy_->mapToSource(current).row(), QStringLiteral("PERSON_ID")).toInt();
}

void EmployeeWindow::search()
{
    const QString number = number_->text().trimmed();
    const QString name = name_->text().trimmed();
    if (number.isEmpty() && name.isEmpty())
        return;
    const std::vector<employees::EmployeeRow> found = employees::searchEmployees(data_, number, name);
    if (found.empty()) {
        prompter_.message(QStringLiteral("Няма намерени записи."));
        return;
    }
    view_->sortByColumn(number.isEmpty() ? 2 : 1, Qt::AscendingOrder);
    const int row = model_->rowOfKey(found.front().id);
    const QModelIndex at = proxy_->mapFromSource(model_->index(row, 0));
    if (at.isValid())
        view_->setCurrentIndex(at);
    number_->clear();
    name_->clear();
}

} // namespace plavex::app
