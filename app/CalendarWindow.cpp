#include "app/CalendarWindow.h"

#include "app/EditCalendarDialog.h"
#include "app/FormPlacement.h"
#include "app/MonthGridDialog.h"
#include "app/ReadOnlyGrid.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "reference/Calendar.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

QList<int> CalendarWindow::daysOf(int row, bool working) const
{
    // The text has a mark for 31 days; only the month's own days count.
    const QString marks = model_->raw(row, QStringLiteral("CAL_RABDNI")).toString();
    const QDate first(model_->raw(row, QStringLiteral("CAL_GODINA")).toInt(),
                      model_->raw(row, QStringLiteral("CAL_MESEC")).toInt(), 1);
    const int length = first.isValid() ? first.daysInMonth() : 31;
    QList<int> days;
    for (int d = 1; d <= length; ++d) {
        if ((d <= marks.size() && marks.at(d - 1) == QLatin1Char('1')) == working)
            days << d;
    }
    return days;
}

CalendarWindow::CalendarWindow(storage::DataModule &data, util::Prompter &prompter, QWidget *parent)
    : QDialog(parent), data_(data), prompter_(prompter)
{
    setObjectName(QStringLiteral("fCalendar"));
    setWindowTitle(QStringLiteral("Настройка на календар"));
    model_ = new TableModel(data_,
                            {QStringLiteral("CAL"),
                             {QStringLiteral("CAL_COD"), QStringLiteral("CAL_IME"), QStringLiteral("CAL_MESEC"),
                              QStringLiteral("CAL_GODINA"), QStringLiteral("CAL_RABDNI")},
                             {QStringLiteral("CAL_COD")}, {}, {}, QStringLiteral("CAL_COD")},
                            prompter_, this);
    model_->setColumns({{QStringLiteral("CAL_COD"), QStringLiteral("Номер")},
                        {QStringLiteral("CAL_IME"), QStringLiteral("Наименование")},
                        {{}, QStringLiteral("Месец"),
                         [this](int row) -> QVariant {
                             return util::monthName(model_->raw(row, QStringLiteral("CAL_MESEC")).toInt());
                         }},
                        {QStringLiteral("CAL_GODINA"), QStringLiteral("Година")},
                        {{}, QStringLiteral("Работни дни"),
                         [this](int row) -> QVariant { return daysOf(row, true).size(); }},
                        {{}, QStringLiteral("Почивни дни"), [this](int row) -> QVariant {
                             QStringList days;
                             for (int d : daysOf(row, false))
                                 days << QString::number(d);
                             return days.join(QStringLiteral(", "));
                         }}});
    grid_ = readOnlyGrid(model_, this);
    grid_->setColumnWidth(0, 60);
    grid_->setColumnWidth(1, 180);
    grid_->setColumnWidth(2, 90);
    grid_->setColumnWidth(3, 60);
    grid_->setColumnWidth(4, 90);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    new WheelToArrows(grid_);
    popup_ = new QMenu(this);
    popup_->addAction(QStringLiteral("Редакция на работните дни"), this, &CalendarWindow::editWorkingDays);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    auto *add = new QPushButton(QStringLiteral("Нов"), this);
    auto *edit = new QPushButton(QStringLiteral("Редакция"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(900, 400);
    new FormPlacement(this, data_.settings().ini(), objectName());

    connect(ok, &QPushButton::clicked, this, [this] {
        chosen_ = model_->rowCount() > 0 ? currentCode() : -1;
        accept();
    });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &CalendarWindow::newCalendar);
    connect(edit, &QPushButton::clicked, this, &CalendarWindow::editCalendar);
    connect(grid_, &QTableView::doubleClicked, this, &CalendarWindow::editCalendar);
    connect(grid_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });
    try {
        reference::ensureDefaultCalendars(data_);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    reload(0);
}

int CalendarWindow::currentCode() const
{
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? model_->raw(current.row(), QStringLiteral("CAL_COD")).toInt() : -1;
}

void CalendarWindow::reload(int keepCode)
{
    try {
        model_->reload();
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
    }
    int row = model_->rowOfKey(keepCode);
    if (row < 0 && model_->rowCount() > 0)
        row = 0;
    if (row >= 0)
        grid_->setCurrentIndex(model_->index(row, 0));
}

void CalendarWindow::newCalendar()
{
    int code = 0;
    try {
        code = reference::newCalendar(data_);
    } catch (const fb::Error &e) {
        prompter_.message(storage::errorText(e));
        return;
    }
    reload(code);
    editCalendar();
}

void CalendarWindow::editCalendar()
{
    const int code = currentCode();
    if (code < 0)
        return;
    EditCalendarDialog dialog(data_, prompter_, code, this);
    dialog.exec();
    reload(code);
}

void CalendarWindow::editWorkingDays()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    const int code = currentCode();
    const QDate first(model_->raw(row, QStringLiteral("CAL_GODINA")).toInt(),
                      model_->raw(row, QStringLiteral("CAL_MESEC")).toInt(), 1);
    if (!first.isValid())
        return;
    const QString text = model_->raw(row, QStringLiteral("CAL_RABDNI")).toString();
    MonthGridDialog dialog(first, text, this);
    dialog.exec();
    if (dialog.text() != text) {
        QString error;
        try {
            if (!reference::setWorkingDays(data_, code, dialog.text(), &error))
                prompter_.message(error);
        } catch (const fb::Error &e) {
            prompter_.message(storage::errorText(e));
        }
    }
    reload(code);
}

} // namespace plavex::app
