#pragma once

#include <QString>

#include <stdexcept>

namespace plavex::fb {

// Server codes the program decides on.
inline constexpr long kObjectExists = 335544351; // unsuccessful metadata update: the object exists
inline constexpr long kLoginFailed = 335544472;  // user name and password not defined

// A failure reported by the database engine: its main ISC code, its message
// and the statement that failed (empty when none).
class Error : public std::runtime_error {
public:
    Error(long code, const QString &message, const QString &sql = {});

    long code() const { return code_; }
    const QString &message() const { return message_; }
    const QString &sql() const { return sql_; }

private:
    long code_;
    QString message_;
    QString sql_;
};

} // namespace plavex::fb
