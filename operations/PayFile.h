#pragma once

#include "util/Period.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace plavex::reference {
class LawCalendar;
}

namespace plavex::storage {
class DataModule;
}

namespace plavex::operations {

// One amount to transfer: an employee's net pay or advance as the pay sheet
// (or the advance sheet) has it.
struct Payment {
    int number = 0;
    QString name;
    double amount = 0;
};

struct PayFileRequest {
    bool advance = false;
    QDate executionDate;
    QDateTime created = QDateTime::currentDateTime();
};

// Someone the file leaves out, and why.
struct LeftOut {
    int number = 0;
    QString name;
    QString reason;
};

struct PayFileResult {
    int transactions = 0;
    double controlSum = 0;
    std::vector<LeftOut> leftOut;
    QString refusal; // why nothing was written; empty when the file was
};

// The next day after `day` that the law's calendar makes a working day of
// the five-day week.
QDate nextWorkingDay(const reference::LawCalendar &calendar, const QDate &day);

// Why a month's pay cannot go to the bank as a SEPA file (a leva month),
// empty when it can.
QString payFileRefusal(const util::Period &period);

// "Zaplata 01.2026" / "Avans 01.2026": the remittance text, in the EPC's
// Latin letters like every text of the file.
QString remittanceText(const util::Period &period, bool advance);
// Month and employee number, unique in the month: "ZAPL-012026-42".
QString endToEndId(const util::Period &period, bool advance, int number);

// One pain.001.001.09 credit transfer document (EPC SEPA Credit Transfer,
// category purpose SALA) for the positive payments whose employee has a
// valid salary account (his own salary IBAN, or the benefits account when
// that is empty); the debtor is the company row's name, IBAN and BIC. The
// file is written whole or not at all.
PayFileResult writePayFile(storage::DataModule &data, const std::vector<Payment> &payments,
                           const PayFileRequest &request, const QString &path);

} // namespace plavex::operations
