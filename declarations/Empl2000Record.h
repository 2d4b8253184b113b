#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

namespace plavex::storage {
class DataModule;
}

namespace plavex::fb {
class Statement;
}

namespace plavex::declarations {

// One declaration-1 line as a row of EMPL2000: one value per column, in the
// table's column order.
class Empl2000Record {
public:
    Empl2000Record();
    static Empl2000Record fromQuery(const fb::Statement &query); // a "select *" row

    QVariant get(QStringView column) const;
    QVariant get(const char *column) const; // a Latin-1 name
    void set(QStringView column, const QVariant &value);
    int integer(QStringView column) const { return get(column).toInt(); }
    double number(QStringView column) const { return get(column).toDouble(); }
    QString text(QStringView column) const { return get(column).toString(); }
    const QVariantList &values() const { return values_; }

private:
    QVariantList values_;
};

// The two ways a line is written: the monthly export file, and the stored
// records (the "with records" export and the corrections), which differ in
// a few fields' notation.
enum class LineVariant { Monthly, Stored };

// Hours as computed, before the monthly file rounds them and the record
// truncates them; negative when only the record is known.
struct LineHours {
    double worked = -1.0;
    double overtime = -1.0;
};

// The line's text without its end: the fields separated by commas, the
// format identifier last ("NRAD12008" for the Windows format, else "DHI2000").
QString recordToLine(const Empl2000Record &record, LineVariant variant, bool windowsFormat, const LineHours &hours = {});
// The line in the file's code page (Windows-1251 or the DOS Cyrillic page) with CR LF.
QByteArray encodeLine(const QString &line, bool windowsFormat);

// Stores a record; a new monthly declaration first replaces the month's
// earlier one of the same kind. The id is the largest + 1.
void storeRecord(storage::DataModule &data, Empl2000Record &record, bool replaceEarlier);

} // namespace plavex::declarations
