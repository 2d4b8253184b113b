#include "app/GridExport.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>

namespace plavex::app {

namespace {

using Kind = operations::SheetColumn::Kind;

std::optional<qlonglong> wholeNumber(const QString &text)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok || QString::number(n) != text)
        return std::nullopt;
    return n;
}

std::optional<double> amount(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^-?[0-9]+[.,][0-9]{1,3}$"));
    if (!shape.match(text).hasMatch())
        return std::nullopt;
    return QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

std::optional<QDate> date(const QString &text)
{
    const QDate d = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

} // namespace

operations::Sheet sheetOfModel(const QAbstractItemModel &model, const QTableView *view, const QString &title)
{
    operations::Sheet sheet;
    sheet.title = title;
    std::vector<int> columns;
    for (int c = 0; c < model.columnCount(); ++c)
        if (!view || !view->isColumnHidden(c))
            columns.push_back(c);
    const int rows = model.rowCount();
    for (const int c : columns) {
        // The kind every shown text of the column fits; whole numbers before amounts.
        bool whole = true, money = true, dates = true, any = false;
        for (int r = 0; r < rows; ++r) {
            const QString t = model.index(r, c).data(Qt::DisplayRole).toString().trimmed();
            if (t.isEmpty())
                continue;
            any = true;
            whole = whole && wholeNumber(t).has_value();
            money = money && (wholeNumber(t) || amount(t));
            dates = dates && date(t).has_value();
        }
        const Kind kind = !any ? Kind::Text : whole ? Kind::Integer : money ? Kind::Amount : dates ? Kind::Date : Kind::Text;
        sheet.addColumn(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().simplified(), kind);
    }
    for (int r = 0; r < rows; ++r) {
        QVariantList row;
        for (size_t i = 0; i < columns.size(); ++i) {
            const QString t = model.index(r, columns[i]).data(Qt::DisplayRole).toString().trimmed();
            if (t.isEmpty()) {
                row << QVariant();
                continue;
            }
            switch (sheet.columns[i].kind) {
            case Kind::Integer: row << QVariant(*wholeNumber(t)); break;
            case Kind::Amount: row << QVariant(wholeNumber(t) ? static_cast<double>(*wholeNumber(t)) : *amount(t)); break;
            case Kind::Date: row << QVariant(*date(t)); break;
            case Kind::Text: row << QVariant(t); break;
            }
        }
        sheet.rows.push_back(row);
    }
    return sheet;
}

void exportSheet(QWidget *parent, const operations::Sheet &sheet)
{
    const QString xlsx = QStringLiteral("Excel (*.xlsx)");
    const QString csv = QStringLiteral("CSV, разделител \";\" (*.csv)");
    QString filter = xlsx;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Експорт"), sheet.title + QStringLiteral(".xlsx"),
                                                xlsx + QStringLiteral(";;") + csv, &filter);
    if (path.isEmpty())
        return;
    if (!operations::sheetFormatOf(path))
        path += filter == csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    QString why;
    if (operations::writeSheet(sheet, path, &why))
        QMessageBox::information(parent, QStringLiteral("Експорт"),
                                 QStringLiteral("Записани %1 реда в %2.").arg(sheet.rows.size()).arg(QFileInfo(path).fileName()));
    else
        QMessageBox::warning(parent, QStringLiteral("Експорт"),
                             QStringLiteral("Файлът %1 не може да бъде записан: %2").arg(path, why));
}

void exportGrid(QTableView *view)
{
    if (!view->model())
        return;
    const QString title = view->window()->windowTitle().trimmed();
    exportSheet(view, sheetOfModel(*view->model(), view, title.isEmpty() ? QStringLiteral("Таблица") : title));
}

QAction *addGridExport(QTableView *view)
{
    auto *action = new QAction(QStringLiteral("Експорт…"), view);
    QObject::connect(action, &QAction::triggered, view, [view] { exportGrid(view); });
    if (view->contextMenuPolicy() == Qt::DefaultContextMenu) {
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        view->addAction(action);
    }
    return action;
}

} // namespace plavex::app
