#include "app/PayRunWindows.h"

#include "operations/PayFile.h"
#include "reference/LawCalendar.h"
#include "reports/PayRunDocuments.h"
#include "reports/Sheets.h"
#include "storage/DataModule.h"
#include "storage/ErrorText.h"
#include "storage/Settings.h"
#include "util/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace plavex::app {

namespace {

QString listOf(const std::vector<operations::LeftOut> &people, bool withReason)
{
    QStringList lines;
    for (const operations::LeftOut &l : people)
        lines << (withReason ? QStringLiteral("  %1 %2: %3").arg(l.number).arg(l.name, l.reason)
                             : QStringLiteral("  %1 %2").arg(l.number).arg(l.name));
    return lines.join(QLatin1Char('\n'));
}

// OK and "Отказ"; what OK does is the dialog's own.
QDialogButtonBox *okAndCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отказ"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

PayFileDialog::PayFileDialog(const QDate &executionDate, bool hasAdvance, QWidget *parent)
    : QDialog(parent), date_(new QDateEdit(executionDate, this)), advance_(new QCheckBox(QStringLiteral("Аванс"), this))
{
    setObjectName(QStringLiteral("fPayFile"));
    setWindowTitle(QStringLiteral("Файл за превод на заплатите (SEPA)"));
    date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    date_->setCalendarPopup(true);
    date_->setMinimumDate(QDate::currentDate());
    advance_->setEnabled(hasAdvance);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Дата на изпълнение"), date_);
    form->addRow(QString(), advance_);
    auto *buttons = okAndCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QDate PayFileDialog::executionDate() const { return date_->date(); }
bool PayFileDialog::advance() const { return advance_->isChecked(); }

MailSettingsDialog::MailSettingsDialog(const operations::MailServer &server, QWidget *parent)
    : QDialog(parent), server_(new QLineEdit(server.address(), this)), tls_(new QComboBox(this)),
      from_(new QLineEdit(server.from, this)), user_(new QLineEdit(server.fileUser, this)),
      password_(new QLineEdit(server.filePassword, this))
{
    setObjectName(QStringLiteral("fMailSettings"));
    setWindowTitle(QStringLiteral("Настройки за e-mail"));
    server_->setPlaceholderText(QStringLiteral("smtp.example.com:587"));
    tls_->addItem(QStringLiteral("STARTTLS"), QStringLiteral("starttls"));
    tls_->addItem(QStringLiteral("SSL/TLS"), QStringLiteral("ssl"));
    tls_->addItem(QStringLiteral("Без шифриране"), QStringLiteral("none"));
    tls_->setCurrentIndex(tls_->findData(operations::mailTlsText(server.tls)));
    password_->setEchoMode(QLineEdit::Password);
    // Room for a whole server name and address without scrolling.
    for (QLineEdit *edit : {server_, from_, user_, password_})
        edit->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Сървър (хост:порт)"), server_);
    form->addRow(QStringLiteral("Шифриране"), tls_);
    form->addRow(QStringLiteral("Адрес на подателя"), from_);
    form->addRow(QStringLiteral("Потребител"), user_);
    form->addRow(QStringLiteral("Парола"), password_);
    auto *note = new QLabel(QStringLiteral("PLAVEX_SMTP_USER и PLAVEX_SMTP_PASSWORD от средата имат предимство."), this);
    note->setWordWrap(true);
    auto *buttons = okAndCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MailSettingsDialog::tryAccept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

bool MailSettingsDialog::read(operations::MailServer &server, QString *why) const
{
    operations::MailServer s = server;
    if (!s.setAddress(server_->text())) {
        if (why)
            *why = QStringLiteral("Сървърът трябва да е ХОСТ:ПОРТ, например smtp.example.com:587.");
        return false;
    }
    s.tls = operations::mailTlsFromText(tls_->currentData().toString()).value_or(operations::MailTls::StartTls);
    s.from = from_->text().trimmed();
    s.fileUser = user_->text().trimmed();
    s.filePassword = password_->text();
    if (const QString problem = operations::checkMailServer(s); !problem.isEmpty()) {
        if (why)
            *why = problem;
        return false;
    }
    server = s;
    return true;
}

void MailSettingsDialog::tryAccept()
{
    operations::MailServer s;
    QString why;
    if (!read(s, &why)) {
        QMessageBox::warning(this, windowTitle(), why);
        return;
    }
    accept();
}

QString payFileReport(const operations::PayFileResult &result, const QDate &date, const QString &path)
{
    QString text = QStringLiteral("%1 превода за %2 EUR, дата на изпълнение %3, са записани в %4.")
                       .arg(result.transactions)
                       .arg(QString::number(result.controlSum, 'f', 2), date.toString(QStringLiteral("dd.MM.yyyy")), path);
    if (!result.leftOut.empty())
        text += QStringLiteral("\n\nБез валидна сметка, не са във файла:\n") + listOf(result.leftOut, true);
    return text;
}

QString mailReport(const operations::MailResult &result)
{
    QString text = QStringLiteral("Изпратени: %1").arg(result.sent);
    if (!result.alreadySent.empty())
        text += QStringLiteral("\n\nВече получили фиша си за месеца:\n") + listOf(result.alreadySent, false);
    if (!result.noAddress.empty())
        text += QStringLiteral("\n\nБез e-mail адрес:\n") + listOf(result.noAddress, false);
    if (!result.failed.empty())
        text += QStringLiteral("\n\nНеизпратени:\n") + listOf(result.failed, true);
    return text;
}

void runPayFile(QWidget *parent, storage::DataModule &data, storage::Settings &settings)
{
    const QString title = QStringLiteral("Файл за превод на заплатите (SEPA)");
    if (const QString why = operations::payFileRefusal(data.period()); !why.isEmpty()) {
        QMessageBox::warning(parent, title, why);
        return;
    }
    const QDate next = operations::nextWorkingDay(reference::LawCalendar::fromNoms(settings.nomsDir()), QDate::currentDate());
    PayFileDialog dialog(next, !reports::advanceItems(data).empty(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = QFileDialog::getSaveFileName(
        parent, title,
        QStringLiteral("%1-%2.xml").arg(dialog.advance() ? QStringLiteral("avans") : QStringLiteral("zaplati"), data.period().text()),
        QStringLiteral("ISO 20022 (*.xml)"));
    if (path.isEmpty())
        return;
    try {
        QString refusal;
        const auto payments = reports::payFilePayments(data, dialog.advance(), &refusal);
        if (!refusal.isEmpty()) {
            QMessageBox::warning(parent, title, refusal);
            return;
        }
        operations::PayFileRequest request;
        request.advance = dialog.advance();
        request.executionDate = dialog.executionDate();
        const operations::PayFileResult result = operations::writePayFile(data, payments, request, path);
        if (!result.refusal.isEmpty()) {
            QString text = result.refusal;
            if (!result.leftOut.empty())
                text += QStringLiteral("\n\n") + listOf(result.leftOut, true);
            QMessageBox::warning(parent, title, text);
            return;
        }
        QMessageBox::information(parent, title, payFileReport(result, request.executionDate, path));
    } catch (const std::exception &e) {
        QMessageBox::warning(parent, title, storage::errorText(e));
    }
}

void editMailSettings(QWidget *parent, storage::Settings &settings)
{
    operations::MailServer server = operations::readMailServer(settings.ini());
    MailSettingsDialog dialog(server, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.read(server, nullptr))
        return;
    operations::writeMailServer(settings.ini(), server);
    settings.save();
}

void runMailPayslips(QWidget *parent, storage::DataModule &data, storage::Settings &settings)
{
    const QString title = QStringLiteral("Фишове по e-mail");
    operations::MailServer server = operations::readMailServer(settings.ini());
    if (!operations::checkMailServer(server).isEmpty()) {
        editMailSettings(parent, settings);
        server = operations::readMailServer(settings.ini());
        if (!operations::checkMailServer(server).isEmpty())
            return;
    }
    util::Prompter &prompter = data.prompter();
    const util::Period period = data.period();
    if (!prompter.confirm(QStringLiteral("Фишовете за %1 ще бъдат изпратени по e-mail на всички активни служители с адрес "
                                         "(без тези, които вече са ги получили). Сигурни ли сте?")
                              .arg(period.text().left(2) + QLatin1Char('.') + period.text().mid(2))))
        return;
    try {
        const auto transport = operations::smtpTransport(server);
        const operations::MailResult result = operations::mailPayslips(
            data, *transport, server, {}, [&data](int id, QString *why) { return reports::payslipPdf(data, id, why); },
            prompter);
        if (!result.refusal.isEmpty())
            QMessageBox::warning(parent, title, result.refusal);
        else
            QMessageBox::information(parent, title, mailReport(result));
    } catch (const util::Cancelled &) {
        QMessageBox::information(parent, title, QStringLiteral("Изпращането е прекъснато; изпратените са отбелязани."));
    } catch (const std::exception &e) {
        QMessageBox::warning(parent, title, storage::errorText(e));
    }
}

} // namespace plavex::app
