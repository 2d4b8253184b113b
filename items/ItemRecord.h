#pragma once

#include "util/CompactDate.h"

#include <QDate>
#include <QString>

namespace plavex::items {

// One item of an employee (a row of PERA) as the calculation works on it
// and the item dialogs exchange it. Dates hold the sentinel 31.12.1899 when
// there is none; the "as read" values detect which items the calculation
// changed, so that only those are written back.
struct ItemRecord {
    int id = 0;
    int person = 0;
    int month = 0;
    int year = 0;
    int code = 0;
    double amount1 = 0.0;
    double amount2 = 0.0;
    int d = 0;
    QDate begin = sentinelDate();
    QDate end = sentinelDate();
    QString partida; // at most 20 characters
    double amount = 0.0;     // PERO_SUMA
    double correction = 0.0; // PERO_SUMAKOR
    double final = 0.0;      // PERO_SUMAFINAL
    int type = 0;
    util::CompactDate beginPacked;
    util::CompactDate endPacked;
    int dRead = 0;
    double amountRead = 0.0;
    double correctionRead = 0.0;
    double finalRead = 0.0;
    double amount2Read = 0.0;
    QString certificate; // PERO_BOLNN
    bool firstCertificate = false; // PERO_FLFIRST
    QString documents;             // PERO_BOLNDOPDOC

    static QDate sentinelDate() { return QDate(1899, 12, 31); }
    // No date: null, invalid or the sentinel.
    static bool isNoDate(const QDate &date) { return !date.isValid() || date == sentinelDate(); }
    bool hasBegin() const { return !isNoDate(begin); }
    bool hasEnd() const { return !isNoDate(end); }
};

} // namespace plavex::items
