#pragma once

#include "operations/PayslipMail.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace plavex::storage {
class DataModule;
class Settings;
}
namespace plavex::util {
class Prompter;
}

namespace plavex::app {

// "Файл за превод на заплатите (SEPA)": the execution date (the next
// working day unless changed) and whether it is the advance.
class PayFileDialog : public QDialog {
    Q_OBJECT
public:
    PayFileDialog(const QDate &executionDate, bool hasAdvance, QWidget *parent = nullptr);
    QDate executionDate() const;
    bool advance() const;
    QDateEdit *dateEdit() const { return date_; }
    QCheckBox *advanceBox() const { return advance_; }

private:
    QDateEdit *date_;
    QCheckBox *advance_;
};

// "Настройки за e-mail": the company's mail server and sender address, kept
// in the settings file.
class MailSettingsDialog : public QDialog {
    Q_OBJECT
public:
    MailSettingsDialog(const operations::MailServer &server, QWidget *parent = nullptr);
    // What the fields say; false with the message when the server is not
    // host:port or the sender no address.
    bool read(operations::MailServer &server, QString *why) const;

    QLineEdit *serverEdit() const { return server_; }
    QComboBox *tlsBox() const { return tls_; }
    QLineEdit *fromEdit() const { return from_; }
    QLineEdit *userEdit() const { return user_; }
    QLineEdit *passwordEdit() const { return password_; }

private:
    void tryAccept();

    QLineEdit *server_;
    QComboBox *tls_;
    QLineEdit *from_;
    QLineEdit *user_;
    QLineEdit *password_;
};

// The menu commands: each asks, calls the core and tells the result.
void runPayFile(QWidget *parent, storage::DataModule &data, storage::Settings &settings);
void editMailSettings(QWidget *parent, storage::Settings &settings);
void runMailPayslips(QWidget *parent, storage::DataModule &data, storage::Settings &settings);

// What a run says at its end, in lines.
QString payFileReport(const operations::PayFileResult &result, const QDate &date, const QString &path);
QString mailReport(const operations::MailResult &result);

} // namespace plavex::app
