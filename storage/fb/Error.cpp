#include "storage/fb/Error.h"

#include <algorithm>

namespace plavex::fb {

Error::Error(long code, const QString &message, const QString &sql, std::vector<long> codes)
    : std::runtime_error(QStringLiteral("%1 %2").arg(code).arg(message).toStdString()),
      code_(code), message_(message), sql_(sql), codes_(std::move(codes))
{
    if (codes_.empty() && code_ != 0)
        codes_.push_back(code_);
}

bool Error::has(long code) const { return std::find(codes_.begin(), codes_.end(), code) != codes_.end(); }

bool Error::isConflict() const
{
    return has(kDeadlock) || has(kLockConflict) || has(kUpdateConflict) || has(kLockTimeout) || has(kConcurrentTransaction);
}

} // namespace plavex::fb
