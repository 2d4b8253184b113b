#pragma once

// Readable failure output for the Qt types these tests compare.

#include <QByteArray>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << b.toHex(' ').toStdString(); }
