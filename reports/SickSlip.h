#pragma once

#include "calc/Evaluation.h"
#include "reports/engine/Document.h"
#include "util/Period.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;

// One earlier month of the slip's table.
struct SlipMonth {
    int year = 0, month = 0;
    int workedDays = 0;    // PERSDATA_RABDNI
    double base = 0;       // PERSDATA_BDOO
    int unpaidDays = 0;    // PERSDATA_ONPL
    int sickDays = 0;      // PERSDATA_DBOL
    double sickAmount = 0; // PERSDATA_SBOL
    double personal = 0;   // the employee's contributions
    double tax = 0;        // PERSDATA_SDOD
    double net = 0;
    int daysWorked = 0; // SDNI - ODOO
};

// How the benefit of one sickness item comes out.
struct SlipBenefit {
    double rate = 1.0;  // 0.9 for types 21 and 23, 0.8 for 26
    double daily = 0;   // B / days (B without days)
    double net = 0;     // average daily net N
    double benefit = 0; // rate x B, or days x N when that is less (not for type 21)
};
SlipBenefit slipBenefit(int type, int days, double basis, double dailyNet);
// The fund's benefit by the law from 2015: the type's share of the average
// daily insurable income, at most the average daily net, for each day.
SlipBenefit fundSlipBenefit(int type, int days, double daily, double dailyNet);

// The calendar months before the item's first month (six, or the fund's
// eighteen from 2015), year ascending and, within a year, month descending.
std::vector<SlipMonth> slipHistory(storage::DataModule &data, int personId, const util::Period &began, int months = 6);

struct SickSlip {
    QString company; // the employer's name and ЕИК
    int number = 0;
    QString name, position;
    int years = 0, months = 0, days = 0; // seniority
    double baseSalary = 0;
    std::vector<SlipMonth> history;
    int type = 0;
    QString itemName;
    QDate begin, end;
    int itemDays = 0;
    SlipBenefit benefit;
    bool fundRule2015 = false; // the benefit by the 18 months' rule
    // A type-20 item from 07.2010: the employer's days exactly as the
    // calculation paid them.
    std::optional<calc::EmployerSickPay> employer;
};

// A slip per sickness item of the period, by employee id; everyone is
// recalculated first. A failing item prints "Грешка " + why.
std::vector<SickSlip> sickSlips(storage::DataModule &data, QStringList *errors = nullptr);

PageSetup sickSlipPageSetup();
Document buildSickSlips(storage::DataModule &data, ReportHost &host, QStringList *errors = nullptr);

// Whether the month has an item a slip is printed for; said instead of an empty page.
bool hasSickLeave(storage::DataModule &data);
QString noSickLeaveMessage(const util::Period &period);

} // namespace plavex::reports
