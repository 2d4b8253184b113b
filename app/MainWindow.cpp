#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/CalendarGrid.h"
#include "app/ClosedMonthGuard.h"
#include "app/DeclarationWindows.h"
#include "app/EarlierMonthsPage.h"
#include "app/EmployeeCommands.h"
#include "app/EmployeePanelWidget.h"
#include "app/FieldFilter.h"
#include "app/GridExport.h"
#include "app/HelpWindow.h"
#include "app/ItemsPage.h"
#include "app/MainMenus.h"
#include "app/MenuCommands.h"
#include "app/TableModel.h"
#include "app/WheelToArrows.h"
#include "app/reports/GuiReports.h"
#include "calc/YearSums.h"
#include "reference/Calendar.h"
#include "reference/Company.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "storage/Title.h"
#include "storage/fb/Error.h"
#include "util/Prompter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace plavex::app {

namespace {
const QString kMainForm = QStringLiteral("MAINFORM");
const QString kPersGrid = QStringLiteral("PERSGRID");
const char *const kListColumns[] = {"ZVENO", "NOMER", "IME"};
const int kListWidths[] = {50, 60, 200};
const int kMaximised = 2; // the window state the dialogs' placement records use too
} // namespace

MainWindow::MainWindow(storage::Settings &settings, storage::DataModule &data, QWidget *parent)
    : QMainWindow(parent), settings_(settings), data_(data), prompter_(data.prompter()),
      employeePanel_(data, settings.unitDivisor()), itemEntry_(data)
{
    setObjectName(QStringLiteral("SDIAppForm"));
    storage::IniFile &ini = settings_.ini();
    if (ini.contains(kMainForm, QStringLiteral("WIDTH"))) {
        resize(ini.intValue(kMainForm, QStringLiteral("WIDTH"), 1100), ini.intValue(kMainForm, QStringLiteral("HEIGHT"), 720));
        if (ini.contains(kMainForm, QStringLiteral("LEFT")))
            move(ini.intValue(kMainForm, QStringLiteral("LEFT"), 0), ini.intValue(kMainForm, QStringLiteral("TOP"), 0));
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // The first start: nearly all of the screen, centred, so that every field of the panel has room.
        const QRect free = screen->availableGeometry();
        const QSize size(std::max(1100, free.width() * 19 / 20), std::max(720, free.height() * 19 / 20));
        resize(size.boundedTo(free.size()));
        move(free.center() - QPoint(width() / 2, height() / 2));
    }
    if (ini.intValue(kMainForm, QStringLiteral("STATE"), 0) == kMaximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    // The data module outlives this window in the program but not always
    // in tests: its listeners hold only a weak token of the window.
    std::weak_ptr<int> token = alive_;
    data_.addTableListener([this, token](const QString &base) {
        if (!token.lock())
            return;
        params_.reload(data_, base);
        // The first-start hint goes once the company is named.
        if (base == QLatin1String("FIRMA"))
            QMetaObject::invokeMethod(this, &MainWindow::refreshPeriodView, Qt::QueuedConnection);
    });
    data_.addPeriodListener([this, token](const util::Period &) {
        if (token.lock())
            QMetaObject::invokeMethod(this, &MainWindow::periodChanged, Qt::QueuedConnection);
    });
    employees_ = new EmployeeCommands(*this, data_, prompter_);
    buildPanels();
    buildMenus();
    // A report run gives the window back on the employee it started from.
    setMainWindowHooks({[this] { return currentEmployee(); },
                        [this](int id) {
                            if (id != currentEmployee())
                                selectEmployee(id);
                        },
                        [this](bool on) { setUpdatesEnabled(on); }});
    startUp();
}

MainWindow::~MainWindow()
{
    setMainWindowHooks({});
    saveSettings();
}

void MainWindow::buildPanels()
{
    // Left: quick search, the list, the three buttons, the calendar.
    auto *left = new QWidget(this);
    left->setObjectName(QStringLiteral("Panel1"));
    searchNumber_ = new QLineEdit(left);
    searchNumber_->setMaximumWidth(60);
    searchName_ = new QLineEdit(left);
    FieldFilter::install(searchNumber_, util::KeyFilterKind::Digits, prompter_, false);
    auto *magnifier = new QPushButton(QStringLiteral("Търси"), left);
    magnifier->setFocusPolicy(Qt::NoFocus);
    magnifier->setToolTip(QStringLiteral("Търсене по номер или име"));
    auto *persons = new QPushButton(QStringLiteral("..."), left);
    persons->setFocusPolicy(Qt::NoFocus);
    persons->setToolTip(QStringLiteral("Търсене"));
    persons->setFixedWidth(28);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("№"), left));
    searchRow->addWidget(searchNumber_);
    searchRow->addWidget(new QLabel(QStringLiteral("Име"), left));
    searchRow->addWidget(searchName_, 1);
    searchRow->addWidget(magnifier);
    searchRow->addWidget(persons);

    list_ = new TableModel(data_,
                           {QStringLiteral("PERSONS"),
                            {QStringLiteral("PERSON_ZVENO"), QStringLiteral("PERSON_NOMER"), QStringLiteral("PERSON_IME"),
                             QStringLiteral("PERSON_ID"), QStringLiteral("PERSON_ACT")},
                            {QStringLiteral("PERSON_ID")}, {}, {}, QStringLiteral("PERSON_ID")},
                           prompter_, this);
    list_->setColumns({{QStringLiteral("PERSON_ZVENO"), QStringLiteral("Звено")},
                       {QStringLiteral("PERSON_NOMER"), QStringLiteral("Номер")},
                       {QStringLiteral("PERSON_IME"), QStringLiteral("Име")}});
    list_->setRowColour([this](int r) {
        return list_->raw(r, QStringLiteral("PERSON_ACT")).toInt() == 1 ? QColor() : QColor(Qt::red);
    });
    listView_ = new QTableView(left);
    listView_->setObjectName(QStringLiteral("PersGrid"));
    listView_->setModel(list_);
    listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView_->verticalHeader()->hide();
    listView_->verticalHeader()->setDefaultSectionSize(listView_->fontMetrics().height() + 6);
    listView_->horizontalHeader()->setSectionsClickable(true);
    listView_->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < 3; ++i)
        listView_->setColumnWidth(i, settings_.ini().intValue(kPersGrid, QString::fromLatin1(kListColumns[i]), kListWidths[i]));
    new WheelToArrows(listView_);

    newButton_ = new QPushButton(QStringLiteral("Нов"), left);
    newButton_->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    newButton_->setToolTip(QStringLiteral("Нов служител (Ctrl+N)"));
    saveButton_ = new QPushButton(QStringLiteral("Запис"), left);
    cancelButton_ = new QPushButton(QStringLiteral("Отказ"), left);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(newButton_);
    buttonRow->addWidget(saveButton_);
    buttonRow->addWidget(cancelButton_);

    calendarCaption_ = new QLabel(left);
    calendarCaption_->setAlignment(Qt::AlignCenter);
    calendar_ = new CalendarGrid(left);

    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(4, 4, 4, 4);
    leftLayout->addLayout(searchRow);
    leftLayout->addWidget(listView_, 1);
    leftLayout->addLayout(buttonRow);
    leftLayout->addWidget(calendarCaption_);
    leftLayout->addWidget(calendar_, 0, Qt::AlignHCenter);

    // Right: the three tabs.
    tabs_ = new QTabWidget(this);
    panel_ = new EmployeePanelWidget(data_, prompter_, tabs_);
    items_ = new ItemsPage(data_, prompter_, itemEntry_, params_.definitions, tabs_);
    earlier_ = new EarlierMonthsPage(data_, prompter_, tabs_);
    tabs_->addTab(panel_, QStringLiteral("Кадрова информация"));
    tabs_->addTab(items_, QStringLiteral("Пера"));
    tabs_->addTab(earlier_, QStringLiteral("Стари суми"));
    const int page = settings_.ini().intValue(QStringLiteral("MAINFORMPAGE"), QStringLiteral("PAGE"), 0);
    if (page >= 0 && page < tabs_->count())
        tabs_->setCurrentIndex(page);

    splitter_ = new QSplitter(this);
    splitter_->addWidget(left);
    splitter_->addWidget(tabs_);
    splitter_->setStretchFactor(1, 1);
    const int leftWidth = settings_.ini().intValue(QStringLiteral("MAINFORMP1"), QStringLiteral("WIDTHP1"), 360);
    splitter_->setSizes({leftWidth, std::max(300, width() - leftWidth)});
    setCentralWidget(splitter_);

    fileLabel_ = new QLabel(this);
    fileLabel_->setMinimumWidth(500);
    auto *second = new QLabel(this);
    second->setFixedWidth(50);
    monthStatus_ = new QLabel(this);
    monthStatus_->setObjectName(QStringLiteral("MonthStatus"));
    monthStatus_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    statusBar()->addWidget(fileLabel_);
    statusBar()->addWidget(second);
    statusBar()->addWidget(monthStatus_);
    // Edits in a closed month are asked about once.
    guard_ = new ClosedMonthGuard(data_, prompter_, *this, *tabs_, *newButton_);

    connect(listView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (scrollProcessing_)
            refreshSelection();
    });
    // The column the list is ordered by shows the arrow; the list starts in the order of entry.
    listView_->horizontalHeader()->setSortIndicatorShown(false);
    connect(listView_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        listView_->horizontalHeader()->setSortIndicatorShown(section >= 0 && section < 3);
        listView_->horizontalHeader()->setSortIndicator(section, Qt::AscendingOrder);
        const int id = currentEmployee();
        list_->setOrder(QStringList{QStringLiteral("PERSON_ZVENO"), QStringLiteral("PERSON_NOMER"),
                                    QStringLiteral("PERSON_IME")}
                            .value(section, QStringLiteral("PERSON_ID")));
        loadList(id);
    });
    // A moved column says where it went from and to.
    listView_->horizontalHeader()->setSectionsMovable(true);
    connect(listView_->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { prompter_.message(QStringLiteral("%1 %2").arg(from).arg(to)); });
    connect(listView_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint &at) { menus_->listPopup()->popup(listView_->viewport()->mapToGlobal(at)); });
    connect(newButton_, &QPushButton::clicked, employees_, &EmployeeCommands::newEmployee);
    connect(saveButton_, &QPushButton::clicked, employees_, &EmployeeCommands::saveEmployee);
    connect(cancelButton_, &QPushButton::clicked, employees_, &EmployeeCommands::cancelEmployee);
    connect(magnifier, &QPushButton::clicked, employees_, &EmployeeCommands::quickSearch);
    connect(persons, &QPushButton::clicked, employees_, &EmployeeCommands::openEmployeeWindow);
    for (QLineEdit *box : {searchNumber_, searchName_}) {
        connect(box, &QLineEdit::returnPressed, this, [this, box] {
            if (!box->text().trimmed().isEmpty())
                quickSearch();
        });
    }
    // Reloading the panel inside the write that posted it would pull the
    // model from under the mapper: finish the write first.
    connect(panel_, &EmployeePanelWidget::posted, this, &MainWindow::panelPosted, Qt::QueuedConnection);
    connect(items_, &ItemsPage::itemsChanged, this, &MainWindow::afterItemCommand);
    // Earlier months feed the leave and sickness averages of this month.
    connect(earlier_, &EarlierMonthsPage::changed, this, [this] {
        if (data_.autocalc())
            recalculate(currentEmployee());
        items_->setTotals(last_.totals);
        items_->reload();
    });
}

void MainWindow::buildMenus()
{
    menus_ = std::make_unique<MainMenus>(*this);
    menus_->connect(Command::ExportList, this, [this] { exportGrid(listView_); });
    connectCommands();
    employees_->connectEntries(*menus_);
    // The month, database and item commands.
    commands_ = new MenuCommands(*this, settings_, data_);
}

void MainWindow::connectCommands()
{
    MainMenus &m = *menus_;
    m.connect(Command::Exit, this, [this] { close(); });

    for (int i = 0; i < static_cast<int>(Command::Count); ++i) {
        const auto command = static_cast<Command>(i);
        const std::optional<reports::ReportKind> kind = reportKind(command);
        if (kind && command != Command::AnnualTax)
            m.connect(command, this, [this, kind = *kind] { startReport(this, data_, prompter_, kind); });
    }
    m.connect(Command::AnnualTax, this, [this] {
        startReport(this, data_, prompter_, reports::ReportKind::AnnualTax);
        // The differences stored as items are kept, and the employee shows them.
        data_.commitRetaining();
        selectEmployee(currentEmployee());
    });

    auto afterExport = [this] { selectEmployee(currentEmployee()); };
    m.connect(Command::Declaration1, this, [this, afterExport] {
        runDeclaration1(this, data_, params_, false, prompter_);
        afterExport();
    });
    m.connect(Command::Declaration1Stored, this, [this, afterExport] {
        runDeclaration1(this, data_, params_, true, prompter_);
        afterExport();
    });
    m.connect(Command::Declaration1Correction, this, [this] {
        CorrectionForm form(data_, prompter_, currentEmployee(), this);
        form.exec();
    });
    m.connect(Command::Declaration6, this, [this, afterExport] {
        runDeclaration6(this, data_, params_, prompter_);
        afterExport();
    });
    connect(m.serviceMenu(), &QMenu::aboutToShow, this, [this] {
        menus_->action(Command::Autocalc)->setChecked(data_.autocalc());
        menus_->action(Command::AnnualTax)->setEnabled(calc::annualTaxYear(data_.period()).has_value());
    });

    m.connect(Command::About, this, [this] {
        AboutDialog about(this);
        about.exec();
    });
    // F1 and "Помощ": the page of the window in front.
    const QString helpFolder = settings_.programDir() + QStringLiteral("help/");
    m.connect(Command::Help, this, [this, helpFolder] { HelpWindow::showFor(this, helpFolder, prompter_); });
    HelpWindow::installKey(this, helpFolder, prompter_);

    // The toolbar's editing acts on the focused field.
    auto edit = [this, &m](Command command, auto method) {
        m.connect(command, this, [method] {
            if (auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
                (field->*method)();
        });
    };
    edit(Command::Cut, &QLineEdit::cut);
    edit(Command::Copy, &QLineEdit::copy);
    edit(Command::Paste, &QLineEdit::paste);
}

void MainWindow::setUsersDatabase(storage::UsersDatabase *users) { commands_->setUsersDatabase(users); }

QAction *MainWindow::deleteAction() const { return menus_->action(Command::DeleteEmployee); }

void MainWindow::startUp()
{
    data_.setPeriod(settings_.lastDate);
    if (data_.connectToDatabase(settings_.database, settings_.serverUser(), settings_.serverPassword())) {
        try {
            data_.openPeriod(data_.period());
            params_.reloadAll(data_);
        } catch (const std::exception &e) {
            // The window still opens; the message says what went wrong.
            prompter_.message(storage::errorText(e));
        }
    }
    loadList(0);
    showTitle();
    refreshPeriodView();
}

void MainWindow::showTitle()
{
    // A command that changed the month or the database may have closed or opened this month.
    guard_->forget();
    if (!data_.isConnected()) {
        setWindowTitle(QStringLiteral("Plavex V1.00"));
    } else {
        try {
            setWindowTitle(storage::mainTitle(data_));
        } catch (const fb::Error &) {
            setWindowTitle(QStringLiteral("Plavex V1.00"));
        }
    }
    fileLabel_->setText(QStringLiteral("Файл: ") + settings_.database);
}

void MainWindow::loadList(int keepId)
{
    scrollProcessing_ = false;
    if (data_.isConnected()) {
        try {
            list_->reload();
        } catch (const fb::Error &e) {
            prompter_.message(storage::errorText(e));
        }
    }
    int row = keepId ? list_->rowOfKey(keepId) : -1;
    if (row < 0 && list_->rowCount() > 0)
        row = 0;
    if (row >= 0)
        listView_->setCurrentIndex(list_->index(row, 1));
    scrollProcessing_ = true;
    refreshSelection();
}

int MainWindow::currentEmployee() const
{
    const QModelIndex current = listView_->currentIndex();
    if (!current.isValid())
        return 0;
    return list_->raw(current.row(), QStringLiteral("PERSON_ID")).toInt();
}

void MainWindow::selectEmployee(int id)
{
    const int row = list_->rowOfKey(id);
    if (row < 0)
        return;
    scrollProcessing_ = false;
    listView_->setCurrentIndex(list_->index(row, 1));
    listView_->scrollTo(list_->index(row, 1));
    scrollProcessing_ = true;
    refreshSelection();
}

void MainWindow::recalculate(int id)
{
    if (id == 0)
        return;
    try {
        last_ = calc::calcPerson(data_, params_, id);
        data_.commitRetaining();
    } catch (const std::exception &e) {
        // A calculation that fails must not stop browsing; the amounts stay as stored.
        last_ = calc::Calculation{};
        qWarning("calculation of %d: %s", id, e.what());
    }
}

QString MainWindow::headerText() const
{
    if (panel_->employeeId() == 0)
        return {};
    const bool active = panel_->column(QStringLiteral("PERSON_ACT")).toInt() == 1;
    return QStringLiteral("%1   %2   ЕГН %3   %4")
        .arg(panel_->column(QStringLiteral("PERSON_NOMER")).toString(),
             panel_->column(QStringLiteral("PERSON_IME")).toString().trimmed(),
             panel_->column(QStringLiteral("PERSON_EGN")).toString().trimmed(),
             active ? QStringLiteral("активен") : QStringLiteral("уволнен"));
}

void MainWindow::refreshSelection()
{
    const int id = data_.isConnected() ? currentEmployee() : 0;
    last_ = calc::Calculation{};
    if (id != 0) {
        employees::refreshSelection(data_, id, [this](storage::DataModule &, int personId) {
            last_ = calc::calcPerson(data_, params_, personId);
            data_.commitRetaining();
        });
    }
    try {
        if (data_.isConnected()) {
            panel_->showEmployee(id);
            panel_->setMinimumWageNote(last_.belowMinimumWage ? calc::minimumWageNote(*last_.belowMinimumWage) : QString());
            items_->setTotals(last_.totals);
            items_->showEmployee(id, panel_->column(QStringLiteral("PERSON_SYSZ")).toInt());
            earlier_->showEmployee(id);
        }
        const bool active = panel_->column(QStringLiteral("PERSON_ACT")).toInt() == 1;
        const employees::EditRules rules =
            employees::editRules(employeePanel_.pending() && employeePanel_.pendingId() == id, active);
        panel_->applyRules(rules);
        items_->setEditable(id != 0 && rules.editable);
        earlier_->setEditable(rules.editable);
        const QString header = headerText();
        items_->setHeader(header, id != 0 && !active);
        earlier_->setHeader(header, id != 0 && !active);
        menus_->setEnabled(Command::DeleteEmployee, id != 0 && rules.deleteEnabled);
        saveButton_->setEnabled(id != 0 && rules.editable);
        cancelButton_->setEnabled(id != 0 && rules.editable);
        newButton_->setEnabled(data_.isConnected());

        // The employee's month: the calculation's marks when it ran, else the calendar as stored.
        if (last_.outcome == calc::Outcome::NoItems && id != 0)
            params_.loadCalendar(data_, panel_->column(QStringLiteral("PERSON_KALENDAR")).toInt());
        std::array<int, 32> flags = params_.calendar.day;
        if (id == 0) {
            // Nobody selected: the month as the company's first calendar has it.
            reference::CalendarRecord first;
            flags = data_.isConnected() && reference::loadCalendar(data_, 1, first)
                        ? first.day
                        : CalendarGrid::flagsFromText(QString());
        } else if (params_.calendar.text.isEmpty()) {
            flags = CalendarGrid::flagsFromText(QString());
        }
        calendar_->showMonth(data_.period().firstDay(), flags, id != 0 && !active);
    } catch (const std::exception &e) {
        prompter_.message(storage::errorText(e));
    }
    refreshPeriodView();
}

bool MainWindow::monthClosed() const { return guard_->closed(); }

bool MainWindow::mayChangeMonth() { return guard_->mayChange(); }

void MainWindow::refreshPeriodView()
{
    guard_->refresh();
    bool identified = true;
    if (data_.isConnected()) {
        reference::Company company;
        try {
            identified = reference::loadCompany(data_, company) && reference::identityFilled(company);
        } catch (const std::exception &e) {
            qWarning("company row: %s", e.what());
        }
    }
    if (guard_->closed()) {
        monthStatus_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
        monthStatus_->setText(QStringLiteral("Приключен месец: промените не се пренасят в %1")
                                  .arg(storage::periodCaption(data_.period().next())));
    } else if (data_.isConnected() && !identified) {
        // A new company: what to do first, until its name, ЕИК and activity are in.
        monthStatus_->setStyleSheet(QStringLiteral("color: #1f3f6f; font-weight: bold;"));
        monthStatus_->setText(QStringLiteral("Първо попълнете „Параметри → Данни за фирмата“ (име, ЕИК и дейност), после добавете "
                                             "служителите с бутона „Нов“ (F1 – помощ)."));
    } else {
        monthStatus_->clear();
    }
    calendarCaption_->setText(data_.period().isValid() ? storage::periodCaption(data_.period()) : QString());
    panel_->refreshPeriodView();
    // The annual tax is recomputed in January and December only.
    if (menus_)
        menus_->action(Command::AnnualTax)->setEnabled(data_.period().isValid() && calc::annualTaxYear(data_.period()).has_value());
}

void MainWindow::periodChanged()
{
    loadList(0);
    showTitle();
    refreshPeriodView();
}

void MainWindow::panelPosted(const QString &column)
{
    static const QStringList listColumns = {QStringLiteral("PERSON_ZVENO"), QStringLiteral("PERSON_NOMER"),
                                            QStringLiteral("PERSON_IME"), QStringLiteral("PERSON_ACT")};
    const int id = panel_->employeeId();
    if (listColumns.contains(column)) {
        // One row's figures in the list change: read the list again, keep the row.
        loadList(id);
        return;
    }
    // The unit and town codes only post.
    if (column == QLatin1String("PERSON_ADDRGRAD"))
        return;
    refreshSelection();
}

void MainWindow::afterItemCommand()
{
    const int id = currentEmployee();
    recalculate(id);
    items_->setTotals(last_.totals);
    items_->reload();
    earlier_->reload();
    std::array<int, 32> flags = params_.calendar.day;
    calendar_->showMonth(data_.period().firstDay(), flags,
                         panel_->column(QStringLiteral("PERSON_ACT")).toInt() != 1);
}

void MainWindow::newEmployee() { employees_->newEmployee(); }
void MainWindow::saveEmployee() { employees_->saveEmployee(); }
void MainWindow::cancelEmployee() { employees_->cancelEmployee(); }
void MainWindow::deleteEmployee() { employees_->deleteEmployee(); }
void MainWindow::quickSearch() { employees_->quickSearch(); }
void MainWindow::openEmployeeWindow() { employees_->openEmployeeWindow(); }

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    event->accept();
}

void MainWindow::saveSettings()
{
    if (saved_)
        return;
    saved_ = true;
    if (QWidget *focus = QApplication::focusWidget())
        focus->clearFocus(); // posts the field being typed in
    if (data_.period().isValid())
        settings_.lastDate = data_.period();
    storage::IniFile &ini = settings_.ini();
    const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
    ini.setInt(kMainForm, QStringLiteral("TOP"), g.y());
    ini.setInt(kMainForm, QStringLiteral("LEFT"), g.x());
    ini.setInt(kMainForm, QStringLiteral("WIDTH"), g.width());
    ini.setInt(kMainForm, QStringLiteral("HEIGHT"), g.height());
    ini.setInt(kMainForm, QStringLiteral("STATE"), isMaximized() ? kMaximised : 0);
    ini.setInt(QStringLiteral("MAINFORMP1"), QStringLiteral("WIDTHP1"), splitter_->sizes().value(0));
    for (int i = 0; i < 3; ++i)
        ini.setInt(kPersGrid, QString::fromLatin1(kListColumns[i]), listView_->columnWidth(i));
    ini.setInt(QStringLiteral("MAINFORMPAGE"), QStringLiteral("PAGE"), tabs_->currentIndex());
    settings_.save();
    try {
        data_.close();
    } catch (const fb::Error &) {
        // The work is committed step by step; nothing is lost at this point.
    }
}

} // namespace plavex::app
