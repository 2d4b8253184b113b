#include "calc/MinimumWage.h"

#include "util/Rounding.h"

namespace plavex::calc {

std::optional<MinimumWageShortfall> belowMinimumWage(const Employee &employee, const std::vector<items::ItemRecord> &items,
                                                     double minimumWage, int workingDays)
{
    if (employee.active != 1 || minimumWage <= 0)
        return std::nullopt;
    // Pay systems 6 and 7 work four and six hours of the eight.
    const int hours = employee.paySystem == 6 ? 4 : employee.paySystem == 7 ? 6 : 8;
    // A changed amount (the second) stands in the pay systems that have one.
    const bool changed = employee.paySystem == 1 || employee.paySystem == 2 || employee.paySystem == 6 || employee.paySystem == 7;
    double salary = 0;
    for (const items::ItemRecord &item : items) {
        const double amount = changed && item.amount2 != 0 ? item.amount2 : item.amount1;
        if (item.type == 1)
            salary += amount;
        else if (item.type == 2)
            salary += amount * workingDays;
    }
    salary = util::roundHalfEven(salary, 2);
    const double minimum = util::roundHalfEven(minimumWage * hours / 8, 2);
    if (salary <= 0 || salary >= minimum)
        return std::nullopt;
    return MinimumWageShortfall{salary, minimum, hours};
}

QString minimumWageNote(const MinimumWageShortfall &s)
{
    const QString salary = QString::number(s.salary, 'f', 2);
    const QString minimum = QString::number(s.minimum, 'f', 2);
    if (s.hours == 8)
        return QStringLiteral("Основната заплата %1 е под минималната работна заплата %2.").arg(salary, minimum);
    return QStringLiteral("Основната заплата %1 е под минималната работна заплата за %2 часа работно време %3.")
        .arg(salary)
        .arg(s.hours)
        .arg(minimum);
}

} // namespace plavex::calc
