#pragma once

#include <QString>

#include <exception>

namespace plavex::storage {

// The one Bulgarian text of a failure for the user: another copy holding
// the data says "busy", a lost server connection and a full disk say so,
// any other engine failure its message and code, anything else what it says
// of itself.
QString errorText(const std::exception &e);

} // namespace plavex::storage
