#pragma once

#include <QString>

#include <stdexcept>

namespace plavex::calc {

// An employee that cannot be calculated; the message is for the user.
class CalcError : public std::runtime_error {
public:
    explicit CalcError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

} // namespace plavex::calc
