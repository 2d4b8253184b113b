#include "app/MainMenus.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QToolBar>

namespace plavex::app {

MainMenus::MainMenus(QMainWindow &window)
{
    using C = Command;
    QMenuBar *bar = window.menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    // No shortcut: Ctrl+N is "new" everywhere else, and here it is a new employee.
    QAction *closeMonth = add(file, C::CloseMonth, QStringLiteral("&Приключване на месец"));
    QAction *changeDb = add(file, C::ChangeDatabase, QStringLiteral("&Смяна на текущата база данни"),
                            QKeySequence(QStringLiteral("Ctrl+O")));
    QAction *save = add(file, C::Save, QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")));
    add(file, C::SaveAs, QStringLiteral("Save &As..."));
    file->addSeparator();
    add(file, C::Exit, QStringLiteral("E&xit"));

    keep(C::FindEmployee, bar->addAction(QStringLiteral("Персони")));

    QMenu *sheets = bar->addMenu(QStringLiteral("Ведомости"));
    add(sheets, C::NegativeNets, QStringLiteral("Тест червени остатъци"));
    for (const C command : {C::Payslip1, C::Payslip2, C::Sheet, C::AdvanceSheet, C::ItemList, C::TaxCertificate,
                            C::AdvancePaymentOrders, C::PaymentOrders, C::SickSlip, C::AdvancePaymentList, C::PaymentList})
        add(sheets, command, reportCaption(command));
    sheets->addSeparator();
    add(sheets, C::PayFile, QStringLiteral("Файл за превод на заплатите (SEPA)"));
    add(sheets, C::MailPayslips, QStringLiteral("Фишове по e-mail"));

    keep(C::Recapitulation, bar->addAction(reportCaption(C::Recapitulation)));

    QMenu *parameters = bar->addMenu(QStringLiteral("Параметри"));
    add(parameters, C::Company, QStringLiteral("Данни за фирмата"));
    add(parameters, C::Calendars, QStringLiteral("Календари"));
    add(parameters, C::ItemDefinitions, QStringLiteral("Пера"));
    add(parameters, C::TaxTable, QStringLiteral("Таблица ДОД"));
    add(parameters, C::Towns, QStringLiteral("Номенклатура на градове"));
    add(parameters, C::Positions, QStringLiteral("Номенклатура длъжности"));
    add(parameters, C::Units, QStringLiteral("Номенклатура на звена"));
    add(parameters, C::Activities, QStringLiteral("НКИД"));
    add(parameters, C::MinimumIncomeTable, QStringLiteral("Минимален осиг. доход по прил 1 на НОИ"));
    add(parameters, C::Rates, QStringLiteral("проценти социални и здравни вноски"));

    QMenu *noi = bar->addMenu(QStringLiteral("Изход за НОИ"));
    add(noi, C::Declaration1, QStringLiteral("Образец 1"));
    add(noi, C::Declaration1Stored, QStringLiteral("Образец 1 със запис в базата данни"));
    add(noi, C::Declaration1Correction, QStringLiteral("Корекция на данни за декларация по образец 1"));
    add(noi, C::Declaration6, QStringLiteral("Образец 6 нов"));

    service_ = bar->addMenu(QStringLiteral("Служебни настройки"));
    add(service_, C::Users, QStringLiteral("Включване на система с потребители"));
    add(service_, C::ChangeDatabase, QStringLiteral("Смяна на текущата база данни"));
    add(service_, C::ChangeMonth, QStringLiteral("Смяна на текущия месец"));
    add(service_, C::CloseMonth, QStringLiteral("Приключване на месец"));
    add(service_, C::ImportLegacy, QStringLiteral("Четене на текст"));
    add(service_, C::Backup, QStringLiteral("Архивиране на базата данни"));
    add(service_, C::Restore, QStringLiteral("Разархивиране на базата данни"));
    add(service_, C::Calculator, QStringLiteral("Калкулатор"));
    add(service_, C::RefreshMinimumIncome, QStringLiteral("Попълване на минималния осигурителен доход"));
    add(service_, C::ChangePercent, QStringLiteral("Смяна на процент на перо по код"));
    add(service_, C::Autocalc, QStringLiteral("Autocalc"))->setCheckable(true);
    add(service_, C::DeleteCodeFromAll, QStringLiteral("Изтриване на перо по код"));
    add(service_, C::AddItemToAll, QStringLiteral("Добавяне на перо на всички служители"));
    add(service_, C::CorrectPercents, QStringLiteral("Коригиране на процентите на перата за ДОО, ЗДР, ПКБ и ЗДПО"));
    add(service_, C::AnnualTax, reportCaption(C::AnnualTax));
    add(service_, C::ReplaceNomenclatures, QStringLiteral("Подмяна на служебните номенклатури"));
    add(service_, C::MailSettings, QStringLiteral("Настройки за e-mail"));

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    add(help, C::About, QStringLiteral("&About..."));
    add(help, C::Help, QStringLiteral("Помощ"), QKeySequence(Qt::Key_F1));

    // Toolbar: change database, save, then the editing actions on the
    // focused field and the delete of a dismissed employee. The month
    // closing stands last, apart, where no hurried click lands on it.
    QToolBar *tools = window.addToolBar(QStringLiteral("Лента"));
    tools->setObjectName(QStringLiteral("ToolBar"));
    tools->addAction(changeDb);
    tools->addAction(save);
    tools->addSeparator();
    keep(C::Cut, tools->addAction(QStringLiteral("Изрежи")));
    keep(C::Copy, tools->addAction(QStringLiteral("Копирай")));
    keep(C::Paste, tools->addAction(QStringLiteral("Постави")));
    tools->addSeparator();
    keep(C::DeleteEmployee, tools->addAction(QStringLiteral("Изтрий")))
        ->setToolTip(QStringLiteral("Изтриване на неактивен служител"));
    tools->addSeparator();
    tools->addAction(closeMonth);

    listPopup_ = new QMenu(&window);
    add(listPopup_, C::DeleteEmployee, QStringLiteral("Изтриване"));
    add(listPopup_, C::FindEmployee, QStringLiteral("Търсене"));
    add(listPopup_, C::AddStandardItems, QStringLiteral("Добавяне на стандартните пера"));
    listPopup_->addSeparator();
    add(listPopup_, C::ExportList, QStringLiteral("Експорт…"));
}

const QList<QAction *> &MainMenus::actions(Command command) const { return entries_.at(static_cast<size_t>(command)); }

QAction *MainMenus::action(Command command) const { return actions(command).value(0); }

void MainMenus::setEnabled(Command command, bool on)
{
    for (QAction *a : actions(command))
        a->setEnabled(on);
}

QAction *MainMenus::add(QMenu *menu, Command command, const QString &caption, const QKeySequence &keys)
{
    QAction *a = add(menu, command, caption);
    a->setShortcut(keys);
    return a;
}

QAction *MainMenus::add(QMenu *menu, Command command, const QString &caption) { return keep(command, menu->addAction(caption)); }

QAction *MainMenus::keep(Command command, QAction *action)
{
    action->setEnabled(false);
    entries_.at(static_cast<size_t>(command)).append(action);
    return action;
}

QString MainMenus::reportCaption(Command command) const
{
    return QString::fromUtf8(reports::kindInfo(*reportKind(command)).caption);
}

} // namespace plavex::app
