#include "util/TextHelpers.h"

namespace plavex::util {

namespace {

void dropLeading(QString &text, QChar c)
{
    qsizetype n = 0;
    while (n < text.size() && text[n] == c)
        ++n;
    text.remove(0, n);
}

} // namespace

QString padLeft(QStringView text, int length, QChar fill) { return text.toString().rightJustified(length, fill); }

QString padRight(QStringView text, int length, QChar fill) { return text.toString().leftJustified(length, fill); }

QString repeatChar(int count, QChar c) { return count > 0 ? QString(count, c) : QString(); }

QString takeField(QString &source, QChar separator)
{
    const bool blank = separator == u' ';
    if (blank)
        dropLeading(source, separator);
    const qsizetype at = source.indexOf(separator);
    QString field;
    if (at < 0) {
        field = source;
        source.clear();
        return field;
    }
    field = source.left(at);
    source.remove(0, at + 1);
    if (blank)
        dropLeading(source, separator);
    return field;
}

QString removeFirst(QStringView text, QChar c)
{
    QString out = text.toString();
    const qsizetype at = out.indexOf(c);
    if (at >= 0)
        out.remove(at, 1);
    return out;
}

QString replaceAll(QStringView text, QChar from, QChar to) { return text.toString().replace(from, to); }

QString replaceAllUnlessBlank(QStringView text, QChar from, QChar to)
{
    return text.trimmed().isEmpty() ? text.toString() : replaceAll(text, from, to);
}

QString stripLeading(QStringView text, QChar c)
{
    QString out = text.toString();
    dropLeading(out, c);
    return out;
}

} // namespace plavex::util
