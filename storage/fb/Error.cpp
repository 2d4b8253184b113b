#include "storage/fb/Error.h"

namespace plavex::fb {

Error::Error(long code, const QString &message, const QString &sql)
    : std::runtime_error(QStringLiteral("%1 %2").arg(code).arg(message).toStdString()),
      code_(code), message_(message), sql_(sql)
{
}

} // namespace plavex::fb
