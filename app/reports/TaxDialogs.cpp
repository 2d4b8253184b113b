#include "app/reports/TaxDialogs.h"

#include "app/DatePicker.h"
#include "reports/TaxCertificates.h"
#include "util/DateText.h"
#include "util/Prompter.h"
#include "util/Separators.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
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
QString dateFormat() { return util::displayDateFormat(util::Separators::current().date); }
} // namespace

CertificateKindDialog::CertificateKindDialog(const std::vector<Employee> &employees, int currentId,
                                             const std::vector<int> &years, util::Prompter &prompter, Search search,
                                             storage::IniFile *placement, QWidget *parent)
    : QDialog(parent), employees_(employees), prompter_(prompter)
{
    (void)placement;
    setObjectName(QStringLiteral("fSlBelType"));
    setWindowTitle(QStringLiteral("Избор на вид служебна бележка"));
    auto *layout = new QVBoxLayout(this);

    auto *employee = new QGroupBox(QStringLiteral("Служител"), this);
    auto *eg = new QHBoxLayout(employee);
    eg->addWidget(new QLabel(QStringLiteral("Номер"), employee));
    number_ = new QLineEdit(employee);
    number_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number_));
    eg->addWidget(number_);
    list_ = new QComboBox(employee);
    for (const Employee &e : employees_)
        list_->addItem(QString::number(e.number) + QStringLiteral("  ") + e.name, e.id);
    eg->addWidget(list_, 1);
    auto *find = new QPushButton(QStringLiteral("..."), employee);
    find->setEnabled(static_cast<bool>(search));
    eg->addWidget(find);
    layout->addWidget(employee);

    auto selectNumber = [this](int number) {
        for (size_t i = 0; i < employees_.size(); ++i)
            if (employees_[i].number == number) {
                list_->setCurrentIndex(static_cast<int>(i));
                return;
            }
    };
    connect(number_, &QLineEdit::textEdited, this, [selectNumber](const QString &t) { selectNumber(t.toInt()); });
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < static_cast<int>(employees_.size()))
            number_->setText(QString::number(employees_[static_cast<size_t>(i)].number));
    });
    connect(find, &QPushButton::clicked, this, [search, selectNumber] {
        if (const auto n = search())
            selectNumber(*n);
    });
    list_->setCurrentIndex(-1);
    for (size_t i = 0; i < employees_.size(); ++i)
        if (employees_[i].id == currentId)
            list_->setCurrentIndex(static_cast<int>(i));
    if (list_->currentIndex() < 0 && !employees_.empty())
        list_->setCurrentIndex(0);

    auto *kind = new QGroupBox(QStringLiteral("Вид служебна бележка"), this);
    auto *kg = new QGridLayout(kind);
    kinds_ = new QButtonGroup(this);
    auto *annual = new QRadioButton(QStringLiteral("Годишна  (от 01.01 до 31.12)"), kind);
    auto *dismissal = new QRadioButton(QStringLiteral("При уволнение"), kind);
    kinds_->addButton(annual, reports::AnnualCertificate);
    kinds_->addButton(dismissal, reports::DismissalCertificate);
    annual->setChecked(true);
    years_ = new QComboBox(kind);
    for (int y : years)
        years_->addItem(QString::number(y), y);
    years_->setCurrentIndex(0);
    date_ = new QLineEdit(kind);
    date_->setPlaceholderText(QDate(2000, 12, 31).toString(dateFormat()));
    auto *calendar = new QPushButton(QStringLiteral("..."), kind);
    connect(calendar, &QPushButton::clicked, this, [this] {
        const QDate d = DatePicker::pick(date(), QDate::currentDate(), this);
        if (d.isValid())
            date_->setText(d.toString(dateFormat()));
    });
    kg->addWidget(annual, 0, 0);
    kg->addWidget(years_, 0, 1);
    kg->addWidget(new QLabel(QStringLiteral("г."), kind), 0, 2);
    kg->addWidget(dismissal, 1, 0);
    kg->addWidget(date_, 1, 1);
    kg->addWidget(calendar, 1, 2);
    kg->addWidget(new QLabel(QStringLiteral("дата"), kind), 1, 3);
    layout->addWidget(kind);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *cancel = new QPushButton(QStringLiteral("Отказ"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CertificateKindDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

int CertificateKindDialog::kind() const { return kinds_->checkedId(); }

int CertificateKindDialog::employeeId() const { return list_->currentData().toInt(); }

int CertificateKindDialog::year() const { return years_->currentIndex() < 0 ? 0 : years_->currentData().toInt(); }

QDate CertificateKindDialog::date() const { return QDate::fromString(date_->text().trimmed(), dateFormat()); }

void CertificateKindDialog::accept()
{
    const QString why = reports::checkCertificateChoice(kind(), year(), date());
    if (!why.isEmpty()) {
        prompter_.message(why);
        return;
    }
    if (employeeId() == 0) {
        prompter_.message(QStringLiteral("Моля изберете служител."));
        return;
    }
    QDialog::accept();
}

} // namespace plavex::app
