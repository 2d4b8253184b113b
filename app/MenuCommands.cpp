#include "app/MenuCommands.h"

#include "app/CalculatorWindow.h"
#include "app/CalendarWindow.h"
#include "app/CasePeroDialog.h"
#include "app/ChooserDialog.h"
#include "app/CompanyWindow.h"
#include "app/ItemDialog.h"
#include "app/ItemsPage.h"
#include "app/MainMenus.h"
#include "app/MainWindow.h"
#include "app/NegativeNetsWindow.h"
#include "app/NewDateDialog.h"
#include "app/NkidDialog.h"
#include "app/PayRunWindows.h"
#include "app/PercentDialog.h"
#include "app/PeroDefsWindow.h"
#include "app/RatesWindow.h"
#include "app/TableWindow.h"
#include "app/UsersWindow.h"
#include "calc/CalcPerson.h"
#include "employees/Employees.h"
#include "operations/BulkOperations.h"
#include "operations/LegacyImport.h"
#include "operations/MonthClosing.h"
#include "reference/Company.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "storage/Backup.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/Title.h"
#include "storage/UsersDatabase.h"
#include "storage/fb/Error.h"
#include "util/MonthNames.h"
#include "util/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <utility>

namespace plavex::app {

MenuCommands::MenuCommands(MainWindow &window, storage::Settings &settings, storage::DataModule &data)
    : QObject(&window), window_(window), settings_(settings), data_(data)
{
    MainMenus &menus = window_.menus();
    using C = Command;
    const std::pair<Command, void (MenuCommands::*)()> entries[] = {
        {C::CloseMonth, &MenuCommands::closeMonth},
        {C::ChangeDatabase, &MenuCommands::changeDatabase},
        {C::ChangeMonth, &MenuCommands::changeMonth},
        {C::Users, &MenuCommands::users},
        {C::Save, &MenuCommands::save},
        {C::SaveAs, &MenuCommands::saveAs},
        {C::Backup, &MenuCommands::backup},
        {C::Restore, &MenuCommands::restore},
        {C::ItemDefinitions, &MenuCommands::itemDefinitions},
        {C::DeleteCodeFromAll, &MenuCommands::deleteCodeFromAll},
        {C::AddItemToAll, &MenuCommands::addItemToAll},
        {C::ChangePercent, &MenuCommands::changePercent},
        {C::CorrectPercents, &MenuCommands::correctPercents},
        {C::NegativeNets, &MenuCommands::negativeNets},
        {C::ReplaceNomenclatures, &MenuCommands::replaceNomenclatures},
        {C::Calculator, &MenuCommands::calculator},
        {C::Company, &MenuCommands::company},
        {C::Activities, &MenuCommands::activities},
        {C::TaxTable, &MenuCommands::taxTable},
        {C::Towns, &MenuCommands::towns},
        {C::Positions, &MenuCommands::positions},
        {C::Units, &MenuCommands::units},
        {C::Calendars, &MenuCommands::calendars},
        {C::MinimumIncomeTable, &MenuCommands::minimumIncomeTable},
        {C::Rates, &MenuCommands::rates},
        {C::RefreshMinimumIncome, &MenuCommands::refreshMinimumIncome},
        {C::ImportLegacy, &MenuCommands::importLegacy},
        {C::PayFile, &MenuCommands::payFile},
        {C::MailPayslips, &MenuCommands::mailPayslips},
        {C::MailSettings, &MenuCommands::mailSettings},
    };
    for (const auto &[command, slot] : entries)
        menus.connect(command, this, slot);
    // The switch flips what is stored, whatever the mark showed before.
    menus.action(C::Autocalc)->setChecked(data_.autocalc());
    menus.connect(C::Autocalc, this, [this] { setAutocalc(!data_.autocalc()); });
}

bool MenuCommands::connected()
{
    if (data_.isConnected())
        return true;
    data_.prompter().message(QStringLiteral("Базата данни не е отворена."));
    return false;
}

void MenuCommands::afterBulkChange(int keepId)
{
    window_.reloadList(keepId);
}

void MenuCommands::closeMonth()
{
    util::Prompter &prompter = data_.prompter();
    if (!connected())
        return;
    const util::Period closing = data_.period();
    if (!prompter.confirmDefaultNo(QStringLiteral("Приключване на месец %1 и преминаване към %2.\nСигурни ли сте?")
                                       .arg(storage::periodCaption(closing), storage::periodCaption(closing.next()))))
        return;
    operations::ClosingResult result = operations::ClosingResult::Failed;
    try {
        result = operations::closeMonth(data_, prompter, &window_.parameters());
    } catch (const std::exception &e) {
        prompter.message(storage::errorText(e));
    }
    window_.reloadList(0);
    window_.showTitle();
    if (result == operations::ClosingResult::Closed && data_.period() != closing) {
        int carried = 0;
        try {
            carried = data_.countRows(data_.table(u"PERSONS"), QStringLiteral("PERSON_ID"));
        } catch (const fb::Error &) {
            // The count only informs; the closing itself is done.
        }
        prompter.message(QStringLiteral("Месец %1 е приключен.\nТекущ месец: %2.\nПренесени служители: %3.")
                             .arg(storage::periodCaption(closing), storage::periodCaption(data_.period()))
                             .arg(carried));
    }
}

void MenuCommands::changeMonth()
{
    if (!connected())
        return;
    const util::Period &p = data_.period();
    NewDateDialog dialog(p.year(), p.month(), data_.prompter(), &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!util::Period(dialog.year(), dialog.month()).isValid()) {
        data_.prompter().message(util::Period::rangeMessage());
        return;
    }
    try {
        data_.changePeriod(dialog.year(), dialog.month());
    } catch (const std::exception &e) {
        data_.prompter().message(storage::errorText(e));
    }
    window_.reloadList(0);
    window_.showTitle();
}

void MenuCommands::changeDatabase()
{
    const QString folder = QFileInfo(settings_.database).absolutePath();
    const QString path = QFileDialog::getOpenFileName(&window_, QString(), folder, QStringLiteral("Бази данни (*.gdb)"));
    if (!path.isEmpty()) {
        try {
            data_.close();
        } catch (const fb::Error &) {
            // The work is committed step by step; the old file has nothing pending.
        }
        settings_.database = QDir::toNativeSeparators(path);
        // A new file starts in today's month.
        if (!QFileInfo::exists(path))
            data_.setPeriod(util::Period(QDate::currentDate().year(), QDate::currentDate().month()));
        try {
            if (data_.connectToDatabase(path, settings_.serverUser(), settings_.serverPassword())) {
                data_.openPeriod(data_.period());
                window_.parameters().reloadAll(data_);
            }
        } catch (const std::exception &e) {
            data_.prompter().message(storage::errorText(e));
        }
        window_.reloadList(0);
    }
    window_.showTitle();
}

void MenuCommands::users()
{
    if (!users_ || !users_->isOpen()) {
        data_.prompter().message(QStringLiteral("Базата данни с потребителите не е отворена."));
        return;
    }
    UsersWindow window(*users_, data_.prompter(), settings_.ini(), &window_);
    window.exec();
}

bool MenuCommands::writePending()
{
    util::Prompter &prompter = data_.prompter();
    // The field being typed in posts as it loses the focus, and keeps it.
    QPointer<QWidget> focus = QApplication::focusWidget();
    if (focus)
        focus->clearFocus();
    QApplication::processEvents();
    if (focus)
        focus->setFocus();
    employees::EmployeePanel &panel = window_.employeePanel();
    try {
        // A new employee still pending is kept as "Запис" keeps him, with its checks.
        if (panel.pending()) {
            const QString problem = panel.save(panel.pendingId());
            if (!problem.isEmpty()) {
                prompter.message(problem);
                return false;
            }
            window_.refreshSelection();
        }
        data_.commitRetaining();
    } catch (const std::exception &e) {
        prompter.message(storage::errorText(e));
        return false;
    }
    return true;
}

void MenuCommands::save()
{
    if (!connected() || !writePending())
        return;
    data_.prompter().message(QStringLiteral("Данните са записани."));
}

void MenuCommands::saveAs()
{
    if (!connected() || !writePending())
        return;
    backupToChosenFile();
}

void MenuCommands::backup()
{
    util::Prompter &prompter = data_.prompter();
    if (!connected() || !prompter.confirm(storage::backupQuestion()))
        return;
    backupToChosenFile();
}

void MenuCommands::backupToChosenFile()
{
    util::Prompter &prompter = data_.prompter();
    const QString proposal = storage::defaultBackupFile(settings_, data_.period());
    QDir().mkpath(QFileInfo(proposal).absolutePath());
    QFileDialog dialog(&window_, QString(), proposal, QStringLiteral("Архиви (*.gbk)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("gbk"));
    dialog.selectFile(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().first();
    prompter.progressStart(QStringLiteral("Архивиране на базата данни"));
    const bool done = storage::backupCurrent(data_, file);
    prompter.progressEnd();
    if (!done)
        return; // the reason was shown
    const QFileInfo written(file);
    QString text = QStringLiteral("Архивът е записан във файла\n%1").arg(QDir::toNativeSeparators(written.absoluteFilePath()));
    // A server writes its backups on its own disk, out of sight here.
    if (written.exists())
        text += QStringLiteral("\nРазмер: %1 KB.").arg((written.size() + 1023) / 1024);
    prompter.message(text);
}

void MenuCommands::restore()
{
    util::Prompter &prompter = data_.prompter();
    if (!connected() || !prompter.confirm(storage::restoreQuestion()))
        return;
    QString target;
    if (prompter.confirm(storage::restoreOtherQuestion())) {
        QFileDialog dialog(&window_, QString(), QFileInfo(data_.databasePath()).absolutePath(),
                           QStringLiteral("Бази данни (*.gdb)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("gdb"));
        dialog.selectFile(QFileInfo(data_.databasePath()).fileName());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        target = dialog.selectedFiles().first();
    } else if (!prompter.confirm(storage::restoreCurrentQuestion())) {
        return;
    }
    const QString proposal = storage::defaultBackupFile(settings_, data_.period());
    QFileDialog dialog(&window_, QString(), proposal, QStringLiteral("Архиви (*.gbk)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("gbk"));
    dialog.selectFile(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().first();
    prompter.progressStart(QStringLiteral("Разархивиране на базата данни"));
    const bool restored = target.isEmpty() ? storage::restoreOverCurrent(data_, file)
                                           : storage::restoreInto(data_, file, target);
    prompter.progressEnd();
    if (restored)
        prompter.message(target.isEmpty()
                             ? QStringLiteral("Базата данни е възстановена от архива\n%1").arg(QDir::toNativeSeparators(file))
                             : QStringLiteral("Архивът\n%1\nе възстановен във файла\n%2")
                                   .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(target)));
    if (restored && target.isEmpty()) {
        try {
            window_.parameters().reloadAll(data_);
        } catch (const std::exception &e) {
            prompter.message(storage::errorText(e));
        }
        window_.reloadList(0);
        window_.showTitle();
    }
}

void MenuCommands::setAutocalc(bool on)
{
    if (!connected())
        return;
    try {
        data_.setAutocalc(on);
    } catch (const fb::Error &e) {
        data_.prompter().message(storage::errorText(e));
    }
    window_.menus().action(Command::Autocalc)->setChecked(data_.autocalc());
    if (data_.autocalc())
        window_.refreshSelection();
}

void MenuCommands::itemDefinitions()
{
    if (!connected())
        return;
    PeroDefsWindow window(data_, data_.prompter(), PeroDefsWindow::Mode::Management, &window_);
    window.exec();
    window_.refreshSelection();
}

void MenuCommands::deleteCodeFromAll()
{
    if (!connected() || !window_.mayChangeMonth())
        return;
    CasePeroDialog picker(data_, data_.prompter(), 0, &window_);
    if (picker.exec() != QDialog::Accepted || picker.code().isEmpty())
        return;
    const int keep = window_.currentEmployee();
    try {
        operations::deleteCodeFromAll(data_, picker.code().toInt(), data_.prompter(), window_.parameters());
    } catch (const std::exception &e) {
        data_.prompter().message(storage::errorText(e));
    }
    afterBulkChange(keep);
}

void MenuCommands::addItemToAll()
{
    if (!connected() || !window_.mayChangeMonth())
        return;
    ItemDialog dialog(data_, data_.prompter(), items::ItemRecord{}, 0, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int keep = window_.currentEmployee();
    try {
        operations::addItemToAll(data_, dialog.record(), data_.prompter(), window_.parameters());
    } catch (const std::exception &e) {
        data_.prompter().message(storage::errorText(e));
    }
    afterBulkChange(keep);
}

void MenuCommands::changePercent()
{
    if (!connected() || !window_.mayChangeMonth())
        return;
    PercentDialog dialog(data_, data_.prompter(), &window_);
    if (dialog.exec() == QDialog::Accepted)
        window_.refreshSelection();
}

void MenuCommands::correctPercents()
{
    if (!connected() || !window_.mayChangeMonth())
        return;
    try {
        operations::correctPercents(data_);
    } catch (const std::exception &e) {
        data_.prompter().message(storage::errorText(e));
    }
    window_.refreshSelection();
}

void MenuCommands::negativeNets()
{
    if (!connected())
        return;
    const int keep = window_.currentEmployee();
    auto query = [this] {
        try {
            return operations::negativeNets(data_, window_.parameters(), &data_.prompter());
        } catch (const std::exception &e) {
            data_.prompter().message(storage::errorText(e));
            return std::vector<operations::NegativeNet>{};
        }
    };
    const std::vector<operations::NegativeNet> rows = query();
    if (rows.empty()) {
        data_.prompter().message(operations::noNegativeNets());
        afterBulkChange(keep);
        return;
    }
    afterBulkChange(keep);
    if (!negatives_)
        negatives_ = new NegativeNetsWindow(query, [this](int id) { window_.selectEmployee(id); }, &window_);
    negatives_->show(rows);
}

void MenuCommands::replaceNomenclatures()
{
    // The year's rates, tax scale and activities are emptied and read again.
    if (!connected() || !data_.prompter().confirm(QStringLiteral("Сигурни ли сте?")))
        return;
    data_.prompter().progressStart(QStringLiteral("Подмяна на служебните номенклатури"));
    try {
        reference::replaceServiceNomenclatures(data_);
        data_.commitRetaining();
    } catch (const std::exception &e) {
        data_.prompter().progressEnd();
        data_.prompter().message(storage::errorText(e));
        return;
    }
    data_.prompter().progressEnd();
    window_.refreshSelection();
}

void MenuCommands::calculator()
{
    if (!calculator_)
        calculator_ = new CalculatorWindow(settings_.ini(), &window_);
    calculator_->show();
    calculator_->raise();
    calculator_->activateWindow();
    calculator_->setFocus(Qt::ActiveWindowFocusReason);
}

void MenuCommands::company()
{
    if (!connected())
        return;
    CompanyWindow window(data_, settings_, data_.prompter(), &window_);
    window.exec();
    window_.showTitle();
    window_.refreshSelection();
}

void MenuCommands::calendars()
{
    if (!connected())
        return;
    CalendarWindow window(data_, data_.prompter(), &window_);
    window.exec();
    window_.refreshSelection();
}

void MenuCommands::activities()
{
    if (!connected())
        return;
    NkidDialog dialog(data_, data_.prompter(), {}, {}, &window_);
    dialog.exec();
}

void MenuCommands::nomenclature(int kind)
{
    if (!connected())
        return;
    ChooserDialog dialog(data_, data_.prompter(), static_cast<employees::ChooserKind>(kind), true, &window_);
    dialog.exec();
    // A changed tax bracket, position or unit shows in the employee's figures.
    window_.refreshSelection();
}

void MenuCommands::taxTable() { nomenclature(int(employees::ChooserKind::TaxScale)); }
void MenuCommands::towns() { nomenclature(int(employees::ChooserKind::Towns)); }
void MenuCommands::positions() { nomenclature(int(employees::ChooserKind::Positions)); }
void MenuCommands::units() { nomenclature(int(employees::ChooserKind::Units)); }

void MenuCommands::minimumIncomeTable()
{
    if (!connected())
        return;
    // Broken into lines so that the nine categories fit side by side.
    static const char *const captions[] = {
        "Пореден\nномер", "Икономически\nдейности", "КИД", "Наименование на\nикономическата дейност",
        "Ръководни\nслужители", "Аналитични\nспециалисти", "Приложни\nспециалисти", "Помощен\nперсонал",
        "Персонал зает\nс услуги за насел.,\nохрана и търговия",
        "Производители\nв селското, горското\nи риб. стоп., ловци\nи риболовци",
        "Квалифицирани\nпроизводствени\nработници", "Оператори на\nсъоръжения, машини\nи трансп. средства",
        "Ниско\nквалифицирани\nраб."};
    static const char *const columns[] = {"PRIL_PORN", "PRIL_IK", "PRIL_KID", "PRIL_KIDNAME", "PRIL_K1",
                                          "PRIL_K2",   "PRIL_K3", "PRIL_K4",  "PRIL_K5",      "PRIL_K6",
                                          "PRIL_K7",   "PRIL_K8", "PRIL_K9"};
    std::vector<TableModel::Column> shown;
    QSet<QString> editable;
    QStringList names;
    for (size_t i = 0; i < std::size(columns); ++i) {
        const QString name = QString::fromLatin1(columns[i]);
        shown.push_back({name, QString::fromUtf8(captions[i])});
        editable.insert(name);
        names << name;
    }
    TableWindow window(data_, data_.prompter(), QStringLiteral("fPril1"),
                       QStringLiteral("Таблица по приложение 1 на НОИ за минималния осигурителен доход"),
                       {QStringLiteral("PRIL1"), names, {QStringLiteral("PRIL_PORN")}, {}, {}, QStringLiteral("PRIL_PORN")},
                       shown, editable, false, &window_);
    window.exec();
}

void MenuCommands::rates()
{
    if (!connected())
        return;
    RatesWindow window(data_, data_.prompter(), &window_);
    window.exec();
}

void MenuCommands::refreshMinimumIncome()
{
    if (!connected() || !window_.mayChangeMonth())
        return;
    try {
        reference::Company company;
        reference::loadCompany(data_, company);
        reference::refreshMinimumIncome(data_, company.activityCode, company.activityNumber);
        data_.commitRetaining();
    } catch (const std::exception &e) {
        data_.prompter().message(storage::errorText(e));
    }
    window_.refreshSelection();
}

void MenuCommands::importLegacy()
{
    if (!connected())
        return;
    if (importFolder_.isEmpty())
        importFolder_ = settings_.programDir();
    const QString path =
        QFileDialog::getOpenFileName(&window_, QString(), importFolder_, QStringLiteral("Текстови файлове (*.txt)"));
    if (path.isEmpty())
        return;
    importFolder_ = QFileInfo(path).absolutePath();
    try {
        operations::importLegacy(data_, importFolder_, data_.prompter());
        window_.parameters().reloadAll(data_);
    } catch (const std::exception &e) {
        data_.prompter().message(storage::errorText(e));
    }
    window_.reloadList(0);
    window_.showTitle();
}

void MenuCommands::payFile()
{
    if (!connected() || !writePending())
        return;
    runPayFile(&window_, data_, settings_);
}

void MenuCommands::mailPayslips()
{
    if (!connected() || !writePending())
        return;
    runMailPayslips(&window_, data_, settings_);
}

void MenuCommands::mailSettings() { editMailSettings(&window_, settings_); }

} // namespace plavex::app
