#pragma once

#include <QByteArray>
#include <QString>

namespace plavex::util {

// Windows-1251 <-> Unicode by a fixed table. Every text file the program reads
// or writes in that code page goes through here; a character that has no byte
// in the code page becomes "?".
QString fromCp1251(const QByteArray &bytes);
QByteArray toCp1251(QStringView text);

} // namespace plavex::util
