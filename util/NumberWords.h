#pragma once

#include "util/Period.h"

#include <QString>

namespace plavex::util {

// A whole number 0 .. 999 999 999 in Bulgarian words, as printed after an
// amount: the whole leva, then " лева и " and the stotinki. 0 and numbers
// outside the range give the empty text.
//
// Joints: " и " before the last part of a number ("сто и пет", "сто
// двадесет и пет"); after the thousands " и " when what follows is one word
// ("хиляда и петстотин", "две хиляди и двадесет"), a blank when it is more
// ("хиляда петстотин и десет"), nothing when it is 0 ("две хиляди").
// Thousands are counted in the feminine: "двадесет и една хиляди", "две
// хиляди", "двенадесет хиляди".
QString numberInWords(long long n);

// An amount (its absolute value, to the cent) in words in the currency of
// `period`: before 2026 "<leva in words> лв. и 50 ст." as payment orders
// print it; in euro "хиляда двеста тридесет и четири евро и петдесет
// евроцента", with the agreement of the numeral ("едно евро", "един
// евроцент", "два евроцента").
QString amountInWords(double amount, const Period &period);

} // namespace plavex::util
