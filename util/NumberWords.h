#pragma once

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

} // namespace plavex::util
