#pragma once

#include "storage/Catalogue.h"
#include "util/Period.h"

#include <QString>

namespace plavex::storage::names {

// October to December 2007 have a rates table of their own.
bool hasNoi200710(const util::Period &period);

QString monthTable(QStringView base, const util::Period &period); // base + MMYYYY
QString yearTable(QStringView base, int year);                    // base + YYYY
QString noiTable(const util::Period &period);                     // NOI2007 / NOI200710 / NOI2008 …

// The name a base table has in the given period, by its scope.
QString table(QStringView base, const util::Period &period);

} // namespace plavex::storage::names
