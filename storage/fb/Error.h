#pragma once

#include <QString>

#include <stdexcept>
#include <vector>

namespace plavex::fb {

// Server codes the program decides on.
inline constexpr long kObjectExists = 335544351; // unsuccessful metadata update: the object exists
inline constexpr long kLoginFailed = 335544472;  // user name and password not defined

// Another transaction holds the rows (or the key) this one wants.
inline constexpr long kDeadlock = 335544336;        // also "update conflicts with concurrent update"
inline constexpr long kLockConflict = 335544345;
inline constexpr long kUpdateConflict = 335544451;
inline constexpr long kLockTimeout = 335544510;
inline constexpr long kConcurrentTransaction = 335544878;
inline constexpr long kDuplicateKey = 335544349;    // a unique index refused the value
inline constexpr long kUniqueViolation = 335544665;

// A failure reported by the database engine: its main ISC code, its message
// and the statement that failed (empty when none).
class Error : public std::runtime_error {
public:
    Error(long code, const QString &message, const QString &sql = {}, std::vector<long> codes = {});

    long code() const { return code_; }
    // Every code of the status vector, the main one first.
    const std::vector<long> &codes() const { return codes_; }
    bool has(long code) const;
    // A lock or update conflict with another transaction: worth another try.
    bool isConflict() const;
    bool isDuplicateKey() const { return has(kDuplicateKey) || has(kUniqueViolation); }
    const QString &message() const { return message_; }
    const QString &sql() const { return sql_; }

private:
    long code_;
    QString message_;
    QString sql_;
    std::vector<long> codes_;
};

} // namespace plavex::fb
