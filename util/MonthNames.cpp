#include "util/MonthNames.h"

#include <array>

namespace plavex::util {

QString monthName(int month)
{
    static const std::array<QString, 12> names = {
        QStringLiteral("Януари"), QStringLiteral("Февруари"), QStringLiteral("Март"),
        QStringLiteral("Април"),  QStringLiteral("Май"),      QStringLiteral("Юни"),
        QStringLiteral("Юли"),    QStringLiteral("Август"),   QStringLiteral("Септември"),
        QStringLiteral("Октомври"), QStringLiteral("Ноември"), QStringLiteral("Декември"),
    };
    return month >= 1 && month <= 12 ? names[month - 1] : QString();
}

} // namespace plavex::util
