#include "util/Separators.h"

#include <QLocale>

namespace plavex::util {

Separators Separators::current()
{
    const QLocale locale;
    Separators s;
    const QString point = locale.decimalPoint();
    if (!point.isEmpty())
        s.decimal = point.front();

    // The first character of the short date format that is not part of a
    // field or a quoted literal: "d.MM.yy" gives ".", "M/d/yy" gives "/".
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    for (QChar c : format) {
        if (c.isLetter() || c == u'\'')
            continue;
        s.date = c;
        break;
    }
    return s;
}

} // namespace plavex::util
