#include "storage/Title.h"

#include "storage/DataModule.h"
#include "storage/fb/Error.h"
#include "storage/fb/Statement.h"
#include "util/Period.h"

#include <QLocale>

namespace plavex::storage {

QString periodCaption(const util::Period &period)
{
    return QLocale(QLocale::Bulgarian, QLocale::Bulgaria).toString(period.firstDay(), QStringLiteral("MMMM yyyy"));
}

QString mainTitle(DataModule &data, bool withEmployeeCount)
{
    QString title = QStringLiteral("Plavex V1.00 - ") + periodCaption(data.period()) + QStringLiteral(" - ");
    if (!data.isConnected())
        return title;
    try {
        title += fb::Statement::scalar(data.transaction(), QStringLiteral("select FIRMA_IME from ") + data.table(u"FIRMA"))
                     .toString()
                     .trimmed();
        if (withEmployeeCount) {
            // "души" counts two or more; one is "човек".
            const int count = data.countRows(data.table(u"PERSONS"), QStringLiteral("PERSON_ID"));
            title += count == 1 ? QStringLiteral("    1 човек") : QStringLiteral("    %1 души").arg(count);
        }
    } catch (const fb::Error &) {
        // A period whose tables could not be opened shows no company.
    }
    return title;
}

} // namespace plavex::storage
