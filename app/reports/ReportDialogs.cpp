#include "app/reports/ReportDialogs.h"

#include "app/FormPlacement.h"
#include "util/Prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

QLineEdit *digitsEdit(QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setMaximumWidth(80);
    return e;
}

// An edit and its list of numbered names kept in step.
QComboBox *pairedList(const std::vector<reports::NumberedName> &rows, QLineEdit *edit, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    for (const auto &r : rows)
        list->addItem(QStringLiteral("%1  %2").arg(r.number).arg(r.name), r.number);
    QObject::connect(list, &QComboBox::activated, edit, [edit, list](int i) { edit->setText(list->itemData(i).toString()); });
    QObject::connect(edit, &QLineEdit::editingFinished, list, [edit, list] {
        const int i = list->findData(edit->text().trimmed().toInt());
        if (i >= 0)
            list->setCurrentIndex(i);
    });
    return list;
}

} // namespace

RangeDialog::RangeDialog(const std::vector<reports::NumberedName> &employees, util::Prompter &prompter, Search search,
                         storage::IniFile *placement, QWidget *parent)
    : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("fOtDoNomer"));
    auto *group = new QGroupBox(QStringLiteral("Данни"), this);
    from_ = digitsEdit(group);
    to_ = digitsEdit(group);
    const auto [first, last] = reports::defaultRange(employees);
    from_->setText(QString::number(first));
    to_->setText(QString::number(last));
    fromList_ = pairedList(employees, from_, group);
    toList_ = pairedList(employees, to_, group);
    fromList_->setCurrentIndex(0);
    toList_->setCurrentIndex(toList_->count() - 1);
    newPage_ = new QCheckBox(QStringLiteral("Всеки фиш на нова страница"), group);
    auto *form = new QFormLayout(group);
    auto row = [group, search](QLineEdit *e, QComboBox *l) {
        auto *h = new QHBoxLayout;
        h->addWidget(e);
        h->addWidget(l, 1);
        auto *find = new QPushButton(QStringLiteral("..."), group);
        find->setFixedWidth(32);
        find->setToolTip(QStringLiteral("Търсене"));
        find->setEnabled(static_cast<bool>(search));
        QObject::connect(find, &QPushButton::clicked, e, [e, search] {
            if (const auto number = search()) {
                e->setText(QString::number(*number));
                emit e->editingFinished();
            }
        });
        h->addWidget(find);
        return h;
    };
    form->addRow(QStringLiteral("От номер"), row(from_, fromList_));
    form->addRow(QStringLiteral("До номер"), row(to_, toList_));
    form->addRow(newPage_);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    resize(460, sizeHint().height());
    if (placement)
        new FormPlacement(this, *placement, objectName());
}

int RangeDialog::from() const { return from_->text().trimmed().toInt(); }
int RangeDialog::to() const { return to_->text().trimmed().toInt(); }
bool RangeDialog::newPagePerSlip() const { return newPage_->isChecked(); }

void RangeDialog::accept()
{
    const QString message = reports::checkRange(from_->text(), to_->text());
    if (!message.isEmpty()) {
        prompter_.message(message);
        return;
    }
    QDialog::accept();
}

RecapTypeDialog::RecapTypeDialog(const std::vector<reports::NumberedName> &units, util::Prompter &prompter,
                                 storage::IniFile *placement, QWidget *parent)
    : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("frecaptype"));
    setWindowTitle(QStringLiteral("Избор на тип рекапитулация"));
    auto *group = new QGroupBox(QStringLiteral("Вид рекапитулация"), this);
    types_ = new QButtonGroup(this);
    auto *v = new QVBoxLayout(group);
    const QStringList names = reports::recapTypeNames();
    for (int i = 0; i < names.size(); ++i) {
        auto *b = new QRadioButton(names[i], group);
        types_->addButton(b, i + 1);
        v->addWidget(b);
    }
    // "Обща": the first of the kinds that print something.
    types_->button(static_cast<int>(reports::RecapType::General))->setChecked(true);
    unit_ = digitsEdit(this);
    unit_->setText(QStringLiteral("0"));
    units_ = pairedList(units, unit_, this);
    units_->setMaxVisibleItems(15);
    units_->setMinimumWidth(350);
    units_->setCurrentIndex(-1);
    auto *unitRow = new QHBoxLayout;
    unitRow->addWidget(new QLabel(QStringLiteral("Звено"), this));
    unitRow->addWidget(unit_);
    unitRow->addWidget(units_, 1);
    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(types_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            typeChanged();
    });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(unitRow);
    layout->addLayout(buttons);
    typeChanged();
    if (placement)
        new FormPlacement(this, *placement, objectName());
}

void RecapTypeDialog::typeChanged()
{
    const bool unit = type() == reports::RecapType::Unit;
    unit_->setEnabled(unit);
    units_->setEnabled(unit);
    if (!unit) {
        unit_->setText(QStringLiteral("0"));
        units_->setCurrentIndex(-1);
    }
}

// The buttons' ids are the types' numbers.
reports::RecapType RecapTypeDialog::type() const { return static_cast<reports::RecapType>(types_->checkedId()); }
int RecapTypeDialog::unitCode() const { return type() == reports::RecapType::Unit ? unit_->text().trimmed().toInt() : 0; }

void RecapTypeDialog::accept()
{
    const QString message = reports::checkRecapType(type(), unit_->text());
    if (!message.isEmpty()) {
        prompter_.message(message);
        unit_->setFocus();
        return;
    }
    QDialog::accept();
}

StatusWindow::StatusWindow(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Статус"));
    QFont f(QStringLiteral("MS Sans Serif"));
    setFont(f);
    text_ = new QLabel(this);
    text_->setMinimumWidth(260);
    text_->setAlignment(Qt::AlignCenter);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void StatusWindow::setStatus(const QString &text) { text_->setText(text); }

} // namespace plavex::app
