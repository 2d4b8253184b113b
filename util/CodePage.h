#pragma once

#include <QByteArray>
#include <QString>

namespace plavex::util {

// Windows-1251 <-> Unicode by a fixed table. Every text file the program reads
// or writes in that code page goes through here; a character that has no byte
// in the code page becomes "?".
QString fromCp1251(const QByteArray &bytes);
QByteArray toCp1251(QStringView text);

// The Bulgarian DOS Cyrillic code page (letters "А".."я" at 0x80..0xBF, "№"
// at 0xD5) <-> Windows-1251, byte for byte. ASCII stays; Windows symbols
// without a DOS byte become "?" (see the tables). Linux has no system OEM
// conversion, so these built-in tables are always the ones used.
QByteArray dosToCp1251(const QByteArray &dos);
QByteArray cp1251ToDos(const QByteArray &windows);

} // namespace plavex::util
