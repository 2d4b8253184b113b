#pragma once

#include "reports/engine/Canvas.h"
#include "reports/engine/Document.h"

// The page of the row drivers (payslips, sheets, recapitulation, list by
// item): their type and the section they print in.
namespace plavex::reports::layout {

constexpr double kFontSize = 10.0;

// A line of the body type: 1.2 times its size, in cm.
constexpr double lineHeight() { return kFontSize * 1.2 / 72.0 * 2.54; }

// The section lies 1 cm further in than the page margin on the left and
// 0.5 cm on the other sides.
constexpr double kSectionLeft = 1.0, kSectionOther = 0.5;

inline void setSectionMargins(Canvas &canvas, const PageSetup &page)
{
    canvas.setMargins(page.marginLeft + kSectionLeft, page.marginTop + kSectionOther, page.marginRight + kSectionOther,
                      page.marginBottom + kSectionOther);
}

} // namespace plavex::reports::layout
