#pragma once

#include "calc/Totals.h"
#include "items/Definitions.h"
#include "items/ItemRecord.h"

#include <QChar>
#include "util/Period.h"

#include <QString>

#include <vector>

namespace plavex::calc {

// "Параметри на перо": what was entered for the item, as the item grid and
// the payslips show it. The contribution base, the tax base and the worked
// days come from the employee's last calculation; dates and amounts use the
// separators given; amounts are in the currency of the period.
QString itemDescription(const items::ItemRecord &item, const std::vector<items::Definition> &definitions,
                        const Totals &last, int paySystem, const util::Period &period, QChar dateSeparator = u'.',
                        QChar decimal = u'.');

// "Код" and "Име на перо" of the item grid: blank for the totals.
QString itemCodeText(const items::ItemRecord &item);
QString itemNameText(const items::ItemRecord &item, const std::vector<items::Definition> &definitions);

} // namespace plavex::calc
