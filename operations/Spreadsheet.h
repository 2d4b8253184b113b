#pragma once

#include "util/Period.h"

#include <QString>
#include <QVariantList>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::operations {

// A table as a spreadsheet gets it: a heading row and typed cells. A cell
// is a QString (text), an integer, a double (an amount, two decimals), a
// QDate or empty (QVariant()).
struct SheetColumn {
    enum class Kind { Text, Integer, Amount, Date };
    QString heading;
    Kind kind = Kind::Text;
};

struct Sheet {
    QString title; // the worksheet's name
    std::vector<SheetColumn> columns;
    std::vector<QVariantList> rows;

    void addColumn(const QString &heading, SheetColumn::Kind kind = SheetColumn::Kind::Text)
    {
        columns.push_back({heading, kind});
    }
};

enum class SheetFormat { Xlsx, Csv };
// By the file's suffix; none for any other.
std::optional<SheetFormat> sheetFormatOf(const QString &path);

// ".xlsx" through libxlsxwriter: amounts as numbers shown with two
// decimals, dates as dates, the heading row bold and frozen.
// ".csv" as a Bulgarian spreadsheet opens it without a question: UTF-8
// with a byte-order mark, ";" between cells, a decimal comma, dates
// DD.MM.YYYY, CR LF. Either file is written whole or not at all; false
// with the reason when it cannot be.
bool writeSheet(const Sheet &sheet, const QString &path, QString *error = nullptr);

// The heading of an amount column: "Сума, евро" in a euro month.
QString amountHeading(const QString &heading, const util::Period &period);

// The month's employees as the employee window lists them, with their
// accounts and addresses.
Sheet employeesSheet(storage::DataModule &data);
// Every item of the month's employees, by employee number and item code.
Sheet itemsSheet(storage::DataModule &data);

} // namespace plavex::operations
