#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reference {

// The company row as the calculation, the reports and the declarations read
// it; texts trimmed and cut to their column sizes. Before any row is loaded
// the minimum wage is 150.00 and the working week five days.
struct Company {
    QString name;
    QString director;
    QString chiefAccountant;
    int workingWeek = 5;
    QDate currentMonth;
    double minSalary = 150.0;
    double maxInsurable = 0.0;
    QString taxNumber;
    QString bulstat;
    QString street;
    QString phone;
    QString email;
    double coefficient1 = 0.0;
    double coefficient2 = 0.0;
    QString bin;
    QString budgetAccount;
    QString activityCode;   // FIRMA_KID1
    QString activityNumber; // FIRMA_KID2
    double accidentPercent = 0.0;   // FIRMA_DOOPROCF3
    double guaranteedPercent = 0.0; // FIRMA_DATA3
    double maternity = 0.0;
    double minInsurable = 0.0;
    int townCode = 0;
    QString bankBranch;
    QString bankName;
    QString bankCode;
    QString bankAccount;
    QString taxBankName;
    QString taxBankBranch;
    QString taxOfficeName;
    QString taxMunicipality;
    QString taxBankCode;
    QString bic;
    QString iban;
    QString taxBic;
    QString taxIban;
    QString taxPaymentType;
    bool windowsDeclaration = false; // FIRMA_WINOUT = 1
    QDate decl6Date;
};

// Fills the record from the period's company row; an empty table leaves it
// as it was (false).
bool loadCompany(storage::DataModule &data, Company &company);

// The name, ЕИК and activity: what a new company fills in first.
bool identityFilled(const Company &company);

// The law's percentages that the company row still leaves empty or 0 where
// the month's law has a figure: the work-accident fund's (every employer
// pays one, by its activity) and the guaranteed-receivables fund's, unless
// the figures shipped for the year set it to 0. Their column names.
QStringList missingLawFigures(storage::DataModule &data, const Company &company);

// Writes the given columns of the company row, makes it durable and raises
// the after-post event (the calculation reloads, the title is rebuilt).
void postCompany(storage::DataModule &data, const QVariantMap &columns);

// Activity code typed into the company form: its sequence number becomes
// FIRMA_KID2 when the activity table knows the code; nothing else changes.
void activityTyped(storage::DataModule &data, const QString &code);
// Chosen in the form's drop-down: both values are stored, nothing else changes.
void activityChosen(storage::DataModule &data, const QString &code, const QString &number);
// Chosen in the activity dialog: stored, then every position takes the
// activity and the category limits are refreshed from the minimum incomes.
void activitySelected(storage::DataModule &data, const QString &code, const QString &number);

} // namespace plavex::reference
