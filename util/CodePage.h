#pragma once

#include <QByteArray>
#include <QString>

namespace plavex::util {

// Windows-1251 <-> Unicode by a fixed table. Every text file the program reads
// or writes in that code page goes through here; a character that has no byte
// in the code page becomes "?".
QString fromCp1251(const QByteArray &bytes);
QByteArray toCp1251(QStringView text);

// Why the bytes are not Windows-1251 text, empty when they may be: they hold
// the one byte the code page lacks (0x98), or they are UTF-8 with Cyrillic
// letters (which read as Windows-1251 would be garbage).
QString cp1251Problem(const QByteArray &bytes);
// True for UTF-8 text with Cyrillic letters, which no Cyrillic single-byte
// code page makes readable.
bool isUtf8Cyrillic(const QByteArray &bytes);

// The Bulgarian DOS Cyrillic code page (letters "А".."я" at 0x80..0xBF, "№"
// at 0xD5) <-> Windows-1251, byte for byte. ASCII stays; Windows symbols
// without a DOS byte become "?" (see the tables). Linux has no system OEM
// conversion, so these built-in tables are always the ones used.
QByteArray dosToCp1251(const QByteArray &dos);
QByteArray cp1251ToDos(const QByteArray &windows);

} // namespace plavex::util
