#include "cli/CliContext.h"
#include "cli/Commands.h"

#include "calc/CalcError.h"
#include "calc/CalcPerson.h"
#include "calc/Parameters.h"
#include "employees/Employees.h"
#include "storage/fb/Statement.h"
#include "util/NumberText.h"

namespace plavex::cli {

namespace {

struct Sums {
    int employees = 0;
    double gross = 0;
    double contributions = 0;
    double tax = 0;
    double net = 0;
};

QString money(double value) { return util::fixedNumber(value, 12, 2); }

void printHeader(CliContext &c)
{
    c.out << QStringLiteral("%1  %2 %3 %4 %5 %6")
                 .arg(QStringLiteral("Номер"), 6)
                 .arg(QStringLiteral("Име"), -30)
                 .arg(QStringLiteral("Бруто"), 12)
                 .arg(QStringLiteral("Осигуровки"), 12)
                 .arg(QStringLiteral("ДОД"), 12)
                 .arg(QStringLiteral("За получаване"), 14)
          << Qt::endl;
}

// One line per employee; only calculated months count in the total.
bool printEmployee(CliContext &c, const calc::Calculation &r, Sums &sums)
{
    const QString head = QStringLiteral("%1  %2 ").arg(r.employee.number, 6).arg(r.employee.name.left(30), -30);
    if (!r.error.isEmpty()) {
        c.out << head << QStringLiteral("грешка: ") << r.error << '\n';
        return false;
    }
    switch (r.outcome) {
    case calc::Outcome::NoItems:
        c.out << head << QStringLiteral("няма пера") << '\n';
        return true;
    case calc::Outcome::Inactive:
        c.out << head << QStringLiteral("уволнен") << '\n';
        return true;
    case calc::Outcome::AutocalcOff:
    case calc::Outcome::Calculated:
        break;
    }
    const calc::Totals &t = r.totals;
    c.out << head << money(t.snach) << ' ' << money(t.s39) << ' ' << money(t.sdod) << ' ' << util::fixedNumber(t.spol, 14, 2)
          << '\n';
    if (r.belowMinimumWage)
        c.out << QString(8, QLatin1Char(' ')) << calc::minimumWageNote(*r.belowMinimumWage) << '\n';
    ++sums.employees;
    sums.gross += t.snach;
    sums.contributions += t.s39;
    sums.tax += t.sdod;
    sums.net += t.spol;
    return true;
}

void printTotal(CliContext &c, const Sums &s)
{
    c.out << QStringLiteral("%1  %2 ").arg(QString(), 6).arg(QStringLiteral("Общо (%1 служители)").arg(s.employees), -30)
          << money(s.gross) << ' ' << money(s.contributions) << ' ' << money(s.tax) << ' ' << util::fixedNumber(s.net, 14, 2)
          << Qt::endl;
}

int recalc(CliContext &c)
{
    const auto number = c.takeOption(QStringLiteral("--employee"));
    if (!c.args.isEmpty())
        return c.fail(QStringLiteral("Употреба: plavex-cli recalc [--employee НОМЕР]"));
    bool numeric = false;
    const int wanted = number ? number->toInt(&numeric) : 0;
    if (number && !numeric)
        return c.fail(QStringLiteral("Невалиден номер на служител \"%1\".").arg(*number));
    if (!c.openDatabase(false))
        return 1;
    storage::DataModule &d = *c.data;
    calc::Parameters params;
    params.attach(d);
    params.reloadAll(d);

    Sums sums;
    bool ok = true;
    printHeader(c);
    if (number) {
        const std::optional<int> id = employees::idByNumber(d, wanted);
        if (!id)
            return c.fail(QStringLiteral("Няма служител с номер %1 в месец %2.").arg(wanted).arg(d.period().text()));
        calc::PersonCalculator calculator(d, params);
        calculator.autocalc = true; // asked for by name: computed whatever the switch says
        calc::Calculation result;
        try {
            result = calculator.calculate(*id);
        } catch (const calc::CalcError &e) {
            return c.fail(e.message());
        }
        d.commitRetaining();
        ok = printEmployee(c, result, sums);
    } else {
        // Lines go out a screenful at a time, not each with a write of its own.
        calc::recalculateAll(d, params, [&](const calc::Calculation &r, int done, int) {
            ok = printEmployee(c, r, sums) && ok;
            if (done % 50 == 0)
                c.out.flush();
        });
    }
    printTotal(c, sums);
    if (!ok)
        return c.fail(QStringLiteral("Някои служители не бяха изчислени."));
    return 0;
}

} // namespace

std::vector<Command> calcCommands()
{
    return {
        {QStringLiteral("recalc"), QStringLiteral("recalc [--employee НОМЕР]"), recalc},
    };
}

} // namespace plavex::cli
