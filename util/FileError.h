#pragma once

#include <QString>

class QFileDevice;

namespace plavex::util {

// Why the file could not be written, in the user's words: a full disk says
// so and names the folder ("Няма място на диска: …"); anything else is the
// system's own reason.
QString fileErrorText(const QFileDevice &file);

} // namespace plavex::util
