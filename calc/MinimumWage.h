#pragma once

#include "calc/Evaluation.h"
#include "items/ItemRecord.h"

#include <QString>

#include <optional>
#include <vector>

namespace plavex::calc {

// A basic salary below the minimum wage: for full time the month's minimum
// wage, for four or six hours a day its share by the hours (КТ art. 244 and
// the yearly decree; seniority and other bonuses do not count).
struct MinimumWageShortfall {
    double salary = 0;
    double minimum = 0;
    int hours = 8;
};

// The employee's basic salary before proration, from his items of types 1
// (a month's salary; a changed amount counts from its day on) and 2 (a day's
// tariff, times the working days), compared with the minimum wage. Nothing
// for an inactive employee, one without a basic salary, or no minimum wage.
std::optional<MinimumWageShortfall> belowMinimumWage(const Employee &employee, const std::vector<items::ItemRecord> &items,
                                                     double minimumWage, int workingDays);

// "Основната заплата 603.33 е под минималната работна заплата 620.20."
QString minimumWageNote(const MinimumWageShortfall &shortfall);

} // namespace plavex::calc
