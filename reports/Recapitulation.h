#pragma once

#include "reports/engine/Document.h"

#include <QString>

#include <optional>
#include <vector>

namespace plavex::storage {
class DataModule;
}

namespace plavex::reports {

class ReportHost;
struct ReportRequest;

// One item code's total over the active employees (of one unit); type 198
// never counts.
struct RecapItem {
    int code = 0;
    int type = 0;
    double count = 0; // SUM(PERO_D)
    double sum = 0;   // SUM(PERO_SUMAFINAL)
};
std::vector<RecapItem> recapItems(storage::DataModule &data, std::optional<int> unit);
// The active employees (of one unit); `women` counts those with PERSON_POL=2.
int activeCount(storage::DataModule &data, std::optional<int> unit, bool women = false);

PageSetup recapPageSetup();
// The recapitulation "Обща" (RecapType::General) or "На звено"
// (RecapType::Unit of the request's unit; unit 0 is the whole company): everyone recalculated first. Nothing
// when the selection has no items.
std::optional<Document> buildRecapitulation(storage::DataModule &data, const ReportRequest &request, ReportHost &host);
QString noRecapItemsMessage();

} // namespace plavex::reports
