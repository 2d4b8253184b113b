#include "app/EmployeePanelWidget.h"

#include "app/CalendarWindow.h"
#include "app/ChooserDialog.h"
#include "app/DatePicker.h"
#include "app/FieldFilter.h"
#include "app/NoiTypeDialog.h"
#include "app/TableModel.h"
#include "reference/Nomenclatures.h"
#include "reference/Rates.h"
#include "storage/DataModule.h"
#include "storage/Settings.h"
#include "storage/fb/Error.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

enum FieldKind { Free, Digits, Date, Decimal };
enum Lookup { NoLookup = 0, Town = 1, Unit = 2, Position = 3, DateButton = 10, Disabled = 11 };

util::KeyFilterKind filterOf(int kind)
{
    switch (kind) {
    case Digits: return util::KeyFilterKind::Digits;
    case Date: return util::KeyFilterKind::DigitsAndDateSeparator;
    case Decimal: return util::KeyFilterKind::Decimal;
    default: return util::KeyFilterKind::EnterOnly;
    }
}

const QStringList kSexes = {QStringLiteral("Мъж"), QStringLiteral("Жена")};
const QStringList kEducation = {QStringLiteral("Основно"), QStringLiteral("Средно"), QStringLiteral("Средно специално"),
                                QStringLiteral("Полувисше"), QStringLiteral("Висше")};
const QStringList kFamily = {QStringLiteral("Женен"), QStringLiteral("Неженен"), QStringLiteral("Разведен"),
                             QStringLiteral("Вдовец")};
const QStringList kPaySystems = {QStringLiteral("Повременно"), QStringLiteral("Сделно"), QStringLiteral("Почасово"),
                                 QStringLiteral("ИРЗ"), QStringLiteral("ИРЗ2"), QStringLiteral("Повр. 4 часа"),
                                 QStringLiteral("Повр. 6 часа")};

} // namespace

EmployeePanelWidget::EmployeePanelWidget(storage::DataModule &data, util::Prompter &prompter, QWidget *parent)
    : QWidget(parent), data_(data), prompter_(prompter),
      model_(new TableModel(data, {QStringLiteral("PERSONS"), {}, {QStringLiteral("PERSON_ID")}, QStringLiteral("PERSON_ID=?"), {0}, {}}, prompter, this)),
      mapper_(new QDataWidgetMapper(this))
{
    mapper_->setModel(model_);
    mapper_->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);

    auto *inner = new QWidget;
    auto *grid = new QGridLayout(inner);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    header_ = new QLabel(inner);
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    grid->addWidget(header_, 0, 0, 1, 8);

    int r = 1;
    // Left column: identity, status, personal data.
    addField(grid, r++, 0, "PERSON_NOMER", QStringLiteral("Номер"), Digits);
    addField(grid, r++, 0, "PERSON_IME", QStringLiteral("Име"), Free);
    addField(grid, r++, 0, "PERSON_EGN", QStringLiteral("ЕГН"), Digits)->setMaxLength(10);
    addField(grid, r++, 0, "PERSON_ZVENO", QStringLiteral("Звено"), Digits, Unit);
    active_ = addCheck(grid, r++, 0, "PERSON_ACT", QStringLiteral("Активен"));
    addList(grid, r++, 0, "PERSON_POL", QStringLiteral("Пол"), kSexes);
    addList(grid, r++, 0, "PERSON_OBR", QStringLiteral("Образование"), kEducation);
    addList(grid, r++, 0, "PERSON_SEMP", QStringLiteral("Семейно положение"), kFamily);
    addList(grid, r++, 0, "PERSON_SYSZ", QStringLiteral("С-ма на заплащане"), kPaySystems);
    addField(grid, r++, 0, "PERSON_DECA", QStringLiteral("Брой деца"), Digits);
    addField(grid, r++, 0, "PERSON_DATANAZ", QStringLiteral("Дата на назначение"), Date, DateButton);
    addField(grid, r++, 0, "PERSON_DATAUWOL", QStringLiteral("Дата на уволнение"), Date, DateButton);
    {
        // Length of service as "ГГ.ММ.ДД": three small fields in a row.
        for (const auto &[prefix, caption] : {std::pair{"PERSON_STAV1", QStringLiteral("Трудов стаж - общ")},
                                              std::pair{"PERSON_STAV2", QStringLiteral("Трудов стаж по спец. общ")}}) {
            grid->addWidget(new QLabel(caption + QStringLiteral(" (ГГ.ММ.ДД)"), inner), r, 0);
            auto *box = new QHBoxLayout;
            for (const char *part : {"Y", "M", "D"}) {
                const QString column = QString::fromLatin1(prefix) + QLatin1String(part);
                auto *edit = new QLineEdit(inner);
                edit->setMaximumWidth(40);
                mapper_->addMapping(edit, model_->section(column));
                FieldFilter::install(edit, util::KeyFilterKind::Digits, prompter_);
                fields_.insert(column, edit);
                box->addWidget(edit);
            }
            box->addStretch();
            grid->addLayout(box, r++, 1, 1, 2);
        }
    }
    addField(grid, r++, 0, "PERSON_SPEC", QStringLiteral("Специалност"), Free);
    addField(grid, r++, 0, "PERSON_DLUV", QStringLiteral("Длъжност"), Digits, Position);
    addField(grid, r++, 0, "PERSON_KALENDAR", QStringLiteral("Номер на календар"), Digits, Disabled);
    const int leftRows = r;

    // Right column: address, documents, phones, insurance, bank.
    r = 1;
    addField(grid, r++, 4, "PERSON_ADDR", QStringLiteral("Адрес"), Free);
    addField(grid, r++, 4, "PERSON_ADDRGRAD", QStringLiteral("Нас. място"), Digits, Town);
    addField(grid, r++, 4, "PERSON_PCODE", QStringLiteral("Пощенски код"), Digits)->setMaxLength(4);
    addField(grid, r++, 4, "PERSON_TELDOM", QStringLiteral("Домашен телефон"), Free);
    addField(grid, r++, 4, "PERSON_TELSLU", QStringLiteral("Служебен телефон"), Free);
    addField(grid, r++, 4, "PERSON_GSM", QStringLiteral("GSM"), Free);
    addField(grid, r++, 4, "PERSON_PASNOMER", QStringLiteral("ЛК номер"), Digits);
    addField(grid, r++, 4, "PERSON_PASDATE", QStringLiteral("Издадена на:"), Date, DateButton);
    addField(grid, r++, 4, "PERSON_PASGRAD", QStringLiteral("Издадена от ... град"), Digits, Town);
    addField(grid, r++, 4, "PERSON_BKOD", QStringLiteral("Банков код"), Digits);
    addField(grid, r++, 4, "PERSON_BSMETKA", QStringLiteral("Банкова сметка"), Digits);
    addField(grid, r++, 4, "PERSON_KLNOMER", QStringLiteral("Банков клиентски номер"), Digits);
    addField(grid, r++, 4, "PERSON_BOLNBIC", QStringLiteral("BIC"), Free);
    addField(grid, r++, 4, "PERSON_BOLNIBAN", QStringLiteral("IBAN"), Free);
    // The salary's own account; empty: the benefits account above.
    addField(grid, r++, 4, "PERSON_ZPIBAN", QStringLiteral("IBAN за заплата"), Free)
        ->setToolTip(QStringLiteral("Празно: заплатата отива по сметката за обезщетения"));
    addField(grid, r++, 4, "PERSON_ZPBIC", QStringLiteral("BIC за заплата"), Free);
    addField(grid, r++, 4, "PERSON_EMAIL", QStringLiteral("E-mail"), Free);
    addField(grid, r++, 4, "PERSON_KORDOD", QStringLiteral("Преизчисл. год. ДОД"), Decimal);
    addField(grid, r++, 4, "PERSON_NOTP", QStringLiteral("Неплатен отпуск"), Digits);
    addCheck(grid, r++, 4, "PERSON_TRUSTR", QStringLiteral("Трудоустроен"));
    addCheck(grid, r++, 4, "PERSON_GARVZ", QStringLiteral("Гарантирани вземания"));
    addCheck(grid, r++, 4, "PERSON_INDEC", QStringLiteral("Учителски фонд"));
    addCheck(grid, r++, 4, "PERSON_SEMOBL", QStringLiteral("Сем подоходно обл."));
    for (const char *column : {"PERSON_BOLNBIC", "PERSON_BOLNIBAN"}) {
        QLineEdit *edit = fields_.value(QString::fromLatin1(column));
        bankSickWidgets_ << edit << qobject_cast<QWidget *>(edit->property("captionLabel").value<QObject *>());
    }

    // Insurance: the code, its ordinal, the list of types and the rate lines.
    r = std::max(r, leftRows);
    auto *insuranceBox = new QGroupBox(QStringLiteral("Вид осигурен"), inner);
    auto *ib = new QGridLayout(insuranceBox);
    auto *nos = new QLineEdit(insuranceBox);
    nos->setMaximumWidth(40);
    mapper_->addMapping(nos, model_->section(QStringLiteral("PERSON_NOS")));
    FieldFilter::install(nos, util::KeyFilterKind::EnterOnly, prompter_);
    fields_.insert(QStringLiteral("PERSON_NOS"), nos);
    auto *nosn = new QLineEdit(insuranceBox);
    nosn->setMaximumWidth(40);
    mapper_->addMapping(nosn, model_->section(QStringLiteral("PERSON_NOSN")));
    FieldFilter::install(nosn, util::KeyFilterKind::EnterOnly, prompter_);
    fields_.insert(QStringLiteral("PERSON_NOSN"), nosn);
    insurance_ = new QComboBox(insuranceBox);
    for (const employees::InsuranceType &t : employees::insuranceTypes())
        insurance_->addItem(QString::fromUtf8(t.code) + u' ' + QString::fromUtf8(t.text), QString::fromUtf8(t.code));
    insurance_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    insurance_->setMinimumContentsLength(30);
    // The drop-down is as wide as the longest entry.
    insurance_->view()->setMinimumWidth(insurance_->view()->sizeHintForColumn(0));
    new EnterMovesFocus(insurance_);
    // The longest types do not fit the field: the whole text shows on hovering.
    connect(insurance_, &QComboBox::currentIndexChanged, insurance_,
            [this] { insurance_->setToolTip(insurance_->currentText()); });
    auto *rateButton = new QPushButton(QStringLiteral("..."), insuranceBox);
    rateButton->setFixedWidth(28);
    rateButton->setToolTip(QStringLiteral("Проценти социални и здравни вноски"));
    connect(rateButton, &QPushButton::clicked, this, [this] {
        NoiTypeDialog dialog(data_, prompter_, column(QStringLiteral("PERSON_NOS")).toString().trimmed().toInt(),
                             column(QStringLiteral("PERSON_NOSN")).toInt(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        setColumn(QStringLiteral("PERSON_NOS"), QStringLiteral("%1").arg(dialog.type(), 2, 10, QLatin1Char('0')));
        setColumn(QStringLiteral("PERSON_NOSN"), dialog.variant());
    });
    ib->addWidget(new QLabel(QStringLiteral("Вид осигурен"), insuranceBox), 0, 0);
    ib->addWidget(nos, 0, 1);
    ib->addWidget(insurance_, 0, 2);
    ib->addWidget(rateButton, 0, 3);
    ib->addWidget(new QLabel(QStringLiteral("Пореден номер"), insuranceBox), 1, 0);
    ib->addWidget(nosn, 1, 1);
    contribution1_ = new QLabel(insuranceBox);
    contribution2_ = new QLabel(insuranceBox);
    for (QLabel *l : {contribution1_, contribution2_}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setWordWrap(true);
    }
    ib->addWidget(contribution1_, 2, 0, 1, 4);
    ib->addWidget(contribution2_, 3, 0, 1, 4);
    minimumWage_ = new QLabel(insuranceBox);
    minimumWage_->setWordWrap(true);
    minimumWage_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    minimumWage_->hide();
    ib->addWidget(minimumWage_, 4, 0, 1, 4);
    ib->setColumnStretch(2, 1);
    grid->addWidget(insuranceBox, r++, 0, 1, 8);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(3, 16);
    grid->setRowStretch(r, 1);
    buttons_ << rateButton;

    connect(insurance_, &QComboBox::activated, this, [this](int index) {
        setColumn(QStringLiteral("PERSON_NOS"), insurance_->itemData(index));
    });
    // Leaving the ЕГН checks it as an ЕГН or a ЛНЧ; the value stays either way.
    fields_.value(QStringLiteral("PERSON_EGN"))->installEventFilter(this);
    connect(model_, &TableModel::posted, this, [this](int, const QString &column) {
        fillFromRow();
        emit posted(column);
    });

    auto *scroll = new QScrollArea(this);
    scroll->setWidget(inner);
    model_->fitMappedFields(*mapper_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    applyRules({});
}

QLineEdit *EmployeePanelWidget::addField(QGridLayout *grid, int row, int col, const char *column,
                                         const QString &caption, int kind, int lookup)
{
    QWidget *parent = grid->parentWidget();
    const QString name = QString::fromLatin1(column);
    auto *label = new QLabel(caption, parent);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Wide enough for what the field holds: a whole date, a readable address, name or IBAN.
    static const QStringList wide = {QStringLiteral("PERSON_IME"),      QStringLiteral("PERSON_ADDR"),
                                     QStringLiteral("PERSON_SPEC"),     QStringLiteral("PERSON_BSMETKA"),
                                     QStringLiteral("PERSON_BOLNIBAN"), QStringLiteral("PERSON_KLNOMER"),
                                     QStringLiteral("PERSON_ZPIBAN"),   QStringLiteral("PERSON_EMAIL")};
    const int chars = wide.contains(name) ? 26 : kind == Date ? 11 : 13;
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
    edit->setProperty("captionLabel", QVariant::fromValue<QObject *>(label));
    label->setBuddy(edit);
    mapper_->addMapping(edit, model_->section(name));
    // After the mapping, so that Enter reaches this filter first.
    FieldFilter::install(edit, filterOf(kind), prompter_);
    fields_.insert(name, edit);
    grid->addWidget(label, row, col);
    if (lookup == NoLookup) {
        grid->addWidget(edit, row, col + 1, 1, 2);
        return edit;
    }
    grid->addWidget(edit, row, col + 1);
    auto *button = new QPushButton(lookup == DateButton ? QStringLiteral("…") : QStringLiteral("?"), parent);
    button->setFixedWidth(28);
    button->setFocusPolicy(Qt::NoFocus);
    if (lookup == Town || lookup == Unit || lookup == Position) {
        // A code says little: its name stands beside it.
        auto *cell = new QHBoxLayout;
        cell->setSpacing(6);
        cell->addWidget(button);
        auto *named = new QLabel(parent);
        named->setObjectName(name + QStringLiteral("_NAME"));
        cell->addWidget(named, 1);
        grid->addLayout(cell, row, col + 2);
        names_.insert(name, {named, lookup});
    } else {
        grid->addWidget(button, row, col + 2);
    }
    buttons_ << button;
    if (lookup == DateButton) {
        button->setToolTip(QStringLiteral("Календар"));
        connect(button, &QPushButton::clicked, this, [this, name] { pickDate(name); });
    } else if (lookup == Disabled) {
        // The calendar list: "OK" gives the employee its calendar.
        button->setToolTip(QStringLiteral("Настройка на календар"));
        connect(button, &QPushButton::clicked, this, [this, name] {
            CalendarWindow calendars(data_, prompter_, this);
            if (calendars.exec() == QDialog::Accepted && calendars.chosen() >= 0)
                setColumn(name, calendars.chosen());
        });
    } else {
        connect(button, &QPushButton::clicked, this, [this, name, lookup] { this->lookup(name, lookup); });
    }
    return edit;
}

QComboBox *EmployeePanelWidget::addList(QGridLayout *grid, int row, int col, const char *column,
                                        const QString &caption, const QStringList &entries)
{
    QWidget *parent = grid->parentWidget();
    const QString name = QString::fromLatin1(column);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(40);
    mapper_->addMapping(edit, model_->section(name));
    FieldFilter::install(edit, util::KeyFilterKind::Digits, prompter_);
    fields_.insert(name, edit);
    auto *list = new QComboBox(parent);
    list->addItems(entries);
    new EnterMovesFocus(list);
    lists_.insert(name, list);
    grid->addWidget(new QLabel(caption, parent), row, col);
    grid->addWidget(edit, row, col + 1, Qt::AlignLeft);
    grid->addWidget(list, row, col + 2);
    // The list stores its position + 1; the field behind it follows.
    connect(list, &QComboBox::activated, this, [this, name](int index) { setColumn(name, index + 1); });
    return list;
}

QCheckBox *EmployeePanelWidget::addCheck(QGridLayout *grid, int row, int col, const char *column,
                                         const QString &caption)
{
    const QString name = QString::fromLatin1(column);
    auto *box = new QCheckBox(caption, grid->parentWidget());
    box->setObjectName(name);
    new EnterMovesFocus(box);
    checks_.insert(name, box);
    grid->addWidget(box, row, col, 1, 3);
    connect(box, &QCheckBox::clicked, this, [this, name](bool on) {
        // PERSON_SEMOBL is a one-character text; the others are numbers.
        if (name == QLatin1String("PERSON_SEMOBL"))
            setColumn(name, on ? QStringLiteral("1") : QStringLiteral("0"));
        else
            setColumn(name, on ? 1 : 0);
    });
    return box;
}

bool EmployeePanelWidget::eventFilter(QObject *watched, QEvent *event)
{
    auto *egn = fields_.value(QStringLiteral("PERSON_EGN"));
    if (watched == egn && leftForAnotherField(event) && editable_ && !egn->isReadOnly()) {
        const QString problem = employees::checkPanelEgn(egn->text());
        if (!problem.isEmpty())
            QTimer::singleShot(0, this, [this, problem] { prompter_.message(problem); });
    }
    return QWidget::eventFilter(watched, event);
}

void EmployeePanelWidget::showEmployee(int id)
{
    id_ = id;
    model_->reload({id});
    mapper_->toFirst();
    if (model_->rowCount() == 0) {
        for (QLineEdit *e : std::as_const(fields_))
            e->clear();
    }
    fillFromRow();
}

QVariant EmployeePanelWidget::column(const QString &column) const { return model_->raw(0, column); }

bool EmployeePanelWidget::setColumn(const QString &column, const QVariant &value)
{
    if (model_->rowCount() == 0)
        return false;
    QString text = value.toString();
    if (value.typeId() == QMetaType::QDate)
        text = value.toDate().toString(util::displayDateFormat(util::Separators::current().date));
    return model_->setData(model_->index(0, model_->section(column)), text);
}

void EmployeePanelWidget::fillFromRow()
{
    filling_ = true;
    const bool hasRow = model_->rowCount() > 0;
    for (auto it = lists_.begin(); it != lists_.end(); ++it) {
        const QVariant v = column(it.key());
        const int index = v.isNull() ? -1 : v.toInt() - 1;
        it.value()->setCurrentIndex(index >= 0 && index < it.value()->count() ? index : -1);
    }
    const QString nos = column(QStringLiteral("PERSON_NOS")).toString().trimmed();
    insurance_->setCurrentIndex(nos.isEmpty() ? -1 : insurance_->findData(nos));
    for (auto it = checks_.begin(); it != checks_.end(); ++it)
        it.value()->setChecked(column(it.key()).toString().trimmed() == QLatin1String("1"));
    const bool active = column(QStringLiteral("PERSON_ACT")).toInt() == 1;
    if (hasRow) {
        header_->setText(QStringLiteral("%1   %2   ЕГН %3   %4")
                             .arg(column(QStringLiteral("PERSON_NOMER")).toString(),
                                  column(QStringLiteral("PERSON_IME")).toString().trimmed(),
                                  column(QStringLiteral("PERSON_EGN")).toString().trimmed(),
                                  active ? QStringLiteral("активен") : QStringLiteral("уволнен")));
    } else {
        header_->clear();
    }
    header_->setStyleSheet(active ? QString() : QStringLiteral("color: red;"));
    for (auto it = names_.begin(); it != names_.end(); ++it) {
        const QVariant code = column(it.key());
        QString name;
        if (hasRow && !code.isNull() && code.toInt() != 0) {
            const auto kind = it.value().second == Position ? reference::Named::Position
                              : it.value().second == Unit   ? reference::Named::Unit
                                                            : reference::Named::Town;
            try {
                name = reference::nameOf(data_, kind, code.toInt());
            } catch (const fb::Error &) {
                // Only a label: the code itself stays as stored.
            }
        }
        it.value().first->setText(name);
    }
    updateContributionLabels();
    filling_ = false;
}

void EmployeePanelWidget::updateContributionLabels()
{
    const QString egn = column(QStringLiteral("PERSON_EGN")).toString();
    QVariantMap rate;
    if (model_->rowCount() > 0) {
        if (auto row = reference::screenRateRow(data_, column(QStringLiteral("PERSON_NOS")).toString().trimmed()))
            rate = *row;
    }
    auto [first, second] = employees::contributionLabels(rate, egn);
    // The labels hold only numbers with a point: on screen they take the user's separator.
    const QChar decimal = util::Separators::current().decimal;
    contribution1_->setText(first.replace(u'.', decimal));
    contribution2_->setText(second.replace(u'.', decimal));
}

void EmployeePanelWidget::setMinimumWageNote(const QString &note)
{
    minimumWage_->setText(note);
    minimumWage_->setVisible(!note.isEmpty());
}

void EmployeePanelWidget::applyRules(const employees::EditRules &rules)
{
    editable_ = rules.editable;
    for (auto it = fields_.begin(); it != fields_.end(); ++it)
        it.value()->setReadOnly(!rules.editable);
    // The number is never typed over here: it only shows a stored number.
    if (QLineEdit *number = fields_.value(QStringLiteral("PERSON_NOMER"))) {
        number->setReadOnly(true);
        number->setEnabled(!rules.editable);
    }
    for (QComboBox *list : std::as_const(lists_))
        list->setEnabled(rules.editable);
    insurance_->setEnabled(rules.editable);
    for (auto it = checks_.begin(); it != checks_.end(); ++it)
        it.value()->setEnabled(rules.editable);
    for (QPushButton *b : std::as_const(buttons_))
        b->setEnabled(rules.editable && !b->property("alwaysDisabled").toBool());
    active_->setEnabled(model_->rowCount() > 0);
    // A dismissed employee's panel reads in red.
    const bool red = model_->rowCount() > 0 && !rules.editable;
    setStyleSheet(red ? QStringLiteral("QLineEdit, QLabel, QCheckBox { color: red; }") : QString());
}

void EmployeePanelWidget::refreshPeriodView()
{
    const bool show = data_.period().year() >= 2007;
    for (QWidget *w : std::as_const(bankSickWidgets_)) {
        if (w)
            w->setVisible(show);
    }
}

void EmployeePanelWidget::lookup(const QString &column, int kind)
{
    const QString code = ChooserDialog::choose(data_, prompter_, static_cast<employees::ChooserKind>(kind),
                                               false, this);
    if (!code.isEmpty() && code != fields_.value(column)->text().trimmed())
        setColumn(column, code);
}

void EmployeePanelWidget::pickDate(const QString &column)
{
    const QDate start = this->column(column).toDate();
    const QDate chosen = DatePicker::pick(start, data_.period().firstDay(), this, &data_.settings().ini());
    if (chosen.isValid())
        setColumn(column, chosen);
}

} // namespace plavex::app
