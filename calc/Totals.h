#pragma once

namespace plavex::calc {

// The running totals of one employee's month, one field per PERSDATA column
// the monthly record writes (lower-case column names without the prefix).
// Day counters are integers, amounts doubles. All start at 0 for every
// calculation except korkoef.
struct Totals {
    int personId = 0;
    int workingDays = 0; // of the calendar (K)

    int odni = 0;
    int sdni = 0;
    int nsdni = 0;
    int npls = 0;
    int dni23 = 0;
    int ofrz = 0;
    int odoo = 0;
    int onpl = 0;
    int omajki = 0;
    double snach = 0;
    double sudr = 0;
    double sobl = 0;
    double szdr = 0;
    double sdod = 0;
    double ssoc = 0;
    double spol = 0;
    double szapl = 0;
    double bot12 = 0;
    double bdoo = 0;
    double bsl = 0;
    double pr = 0;
    double sklas = 0;
    double sdoo = 0;
    double s2doo = 0;
    double sp2doo = 0;
    double sudoo = 0;
    double supkb = 0;
    double suzdr = 0;
    double specialobl = 0;
    double specialdod = 0;
    double special35 = 0;
    double zapl = 0;
    double sfrz = 0;
    double sbol = 0;
    double smaj = 0;
    double sindd = 0;
    double sind23 = 0;
    double sind = 0;
    double s39 = 0;
    double ud1 = 0;
    double ud2 = 0;
    int prk = 0;
    int rr = 0;
    double sum50 = 0;
    double wdoo22 = 0;
    double doosbol = 0;
    double pero37 = 0;
    double pero54 = 0;
    double s54 = 0;
    double pero55 = 0;
    double s6zdr = 0;
    double szdrn = 0;
    double wcosuma = 0;
    double wcosuma32 = 0;
    double wcobol = 0;
    double wcosoc = 0;
    double wmdo2 = 0;
    int dbol = 0;
    int dfbol = 0;
    double korkoef = 1;
    double bulgargaz = 0;
    double wcogarant = 0;
    double wsdooli = 0;
    double wszdrli = 0;
    double wsdoofi = 0;
    double wszdrfi = 0;
    double wnetno = 0;
    int wdnitrzl = 0;
    double wizvtrud = 0;
    double testsbol = 0;
    double sudzpo = 0;
    double susocr = 0;
    int rabdni = 0;
    double bolnFirma = 0;
    double bolnNoi = 0;
};

} // namespace plavex::calc
