#pragma once

#include <QString>

#include <functional>

namespace plavex::storage {

// A new database file on this machine is made whole or not at all: `make`
// creates and fills it under a temporary name, and only a file it finished
// gets the real name. Two copies making the same file take turns, and the
// second then finds it made; what a killed copy left under the temporary
// name is thrown away. False (with `failure` set, unless `make` said why
// itself) when nothing was made.
enum class FileMade { Created, Existed, Failed };
FileMade makeDatabaseFile(const QString &path, const std::function<bool(const QString &temporary)> &make,
                          QString *failure = nullptr);

} // namespace plavex::storage
