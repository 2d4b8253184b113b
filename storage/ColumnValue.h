#pragma once

#include "storage/Catalogue.h"

#include <QString>
#include <QVariant>

namespace plavex::storage {

// Whether a value fits its column as the catalogue defines it: integers in
// the range of INTEGER or SMALLINT, finite NUMERIC amounts within their
// digits (narrow NUMERICs within what the engine stores for them), texts no
// longer than the column and in its code page, real dates.
// The message names the field and says why (empty when the value fits);
// NULL always fits here (NOT NULL is the table's business).
// A window passes the caption its user sees as `field`; otherwise the
// catalogue's caption and column name the field.
QString checkColumnValue(const ColumnDef &column, const QVariant &value, const QString &field = {});

// How many characters a text column holds; 0 for other columns.
int textLength(const ColumnDef &column);

// A value typed as text (the command line, a file) for the column: a
// number in plain decimal notation ("," or "." before the decimals), a
// date DD.MM.YYYY, a text as it is; blank is NULL for numbers and dates.
// Empty message when it parsed and fits.
QString parseColumnValue(const ColumnDef &column, const QString &text, QVariant &value);

// A column of the catalogue; throws std::out_of_range when there is none.
const ColumnDef &catalogueColumn(QStringView base, const QString &column);

// The field's name in messages: its caption and column.
QString fieldName(const ColumnDef &column);

} // namespace plavex::storage
