#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace plavex::util {

// Small text editing used by the readers of comma-separated lines and by
// the fixed-width columns of printed and declared files.

QString padLeft(QStringView text, int length, QChar fill);  // unchanged when long enough
QString padRight(QStringView text, int length, QChar fill);
QString repeatChar(int count, QChar c); // empty for count <= 0

// Takes the text before the first separator out of `source`, together with
// the separator; without one, takes all of it. With a blank as separator, a
// run of blanks counts as one, blanks at the start included.
QString takeField(QString &source, QChar separator);
inline QString takeCommaField(QString &source) { return takeField(source, u','); }

QString removeFirst(QStringView text, QChar c);
QString replaceAll(QStringView text, QChar from, QChar to);
// The same, but a text that is blank after trimming comes back as it is.
QString replaceAllUnlessBlank(QStringView text, QChar from, QChar to);
QString stripLeading(QStringView text, QChar c);

} // namespace plavex::util
