#pragma once

#include "reports/engine/Document.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;
struct ReportRequest;

// The middle columns of the list by item, by the item's type.
struct MiddleColumn {
    QString heading;
    double width = 0; // cm
    bool number = false; // right-aligned
    bool total = false;  // summed in the total row
    int totalDecimals = 0;
};
std::vector<MiddleColumn> middleColumns(int type);

// One row of the list: an item of the code on an active employee.
struct ItemListRow {
    int number = 0;
    QString name;
    QStringList middle; // as printed
    std::vector<double> middleValues; // what the totals add up
    double amount = 0; // PERO_SUMA
};

struct ItemList {
    QString company;
    int code = 0;
    QString name;
    int type = 0;
    std::vector<ItemListRow> rows;
};

// Every item of the code on the active employees, by employee number.
ItemList itemList(storage::DataModule &data, int code);

// "Списък по перо" after recalculating everyone; the code is the request's.
Document buildItemList(storage::DataModule &data, const ReportRequest &request, ReportHost &host,
                       QStringList *errors = nullptr);

} // namespace plavex::reports
