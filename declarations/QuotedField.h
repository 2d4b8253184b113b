#pragma once

#include <QString>

namespace plavex::declarations {

// A text field of a declaration line, in double quotes. A double quote of
// the text itself becomes a single one: the agencies' readers take the
// first quote as the field's end, and the line would lose its field count.
inline QString quotedField(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1Char('\'')) + QLatin1Char('"');
}

} // namespace plavex::declarations
