#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace plavex::operations::legacy {

// A line of an older release's file that cannot be taken over; its reader
// reports it with the file and line and reads that file no further. Not a
// std::exception on purpose: only the readers catch it, and every other
// failure ends the whole import.
struct Fault {
    QString text;
};

// The file's bytes as the older release wrote them (DOS Cyrillic), in
// Unicode. A file written in UTF-8 would read as nonsense letters, so it is
// refused (a Fault) instead.
QString decodeDos(const QByteArray &bytes);
bool looksLikeUtf8(const QByteArray &bytes);

// The text in a message: a long line or field is cut.
QString quoted(const QString &text);

// The comma-separated fields of one line, each value read for its column of
// the catalogue and checked against it (a Fault when it does not fit).
// Blank numbers read as 0 and blank dates as NULL, as the older release
// left them; letters in a number or an impossible date are faults.
class Fields {
public:
    explicit Fields(const QString &line);

    int size() const { return static_cast<int>(parts_.size()); }
    // A Fault when the line has fewer than n fields.
    void require(int n) const;
    QString raw(int i) const; // trimmed; blank beyond the last field

    QVariant integer(int i, QStringView table, const char *column) const;
    // Rounded to the given decimals, as the older release wrote them.
    QVariant amount(int i, QStringView table, const char *column, int decimals = 3) const;
    // Cut to at most maxLength characters (0: the column's size decides).
    QVariant text(int i, QStringView table, const char *column, int maxLength = 0) const;
    // DDMMYYYY; blank or zeros is no date (NULL).
    QVariant date(int i, QStringView table, const char *column) const;
    // A word beginning with "д" is yes.
    bool flag(int i) const;

private:
    QStringList parts_;
};

// A value typed in a file for the column, checked; blank numbers are 0.
QVariant columnValue(QStringView table, const char *column, const QString &text);
// The value checked against its column as it is.
QVariant checkedValue(QStringView table, const char *column, const QVariant &value);

} // namespace plavex::operations::legacy
