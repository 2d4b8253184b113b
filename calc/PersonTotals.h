#pragma once

#include "calc/Evaluation.h"

#include <vector>

namespace plavex::calc {

// Leave days carry their item's code; days before hiring and from leaving
// become 0 and count as uninsured; then W and the insured days.
void markCalendar(Context &context, const std::vector<items::ItemRecord> &items);

// The insurable income and its parts, capped at the maximum, then raised
// to the position's floor.
void capInsurable(Context &context);
void applyFloor(Context &context);

// Type 139 and type 140, before the common accumulation.
void evaluateContribution(Context &context, items::ItemRecord &item, double &full);
void evaluateIncomeTax(Context &context, items::ItemRecord &item);

// Type-198 items move their amount onto the correction of the item whose
// code they name; the last item (the net pay) is out of their reach.
void applyCorrections(std::vector<items::ItemRecord> &items);

// The second pass over one item when the net pay came out negative.
void fixDeductions(Context &context, items::ItemRecord &item);

enum class Outcome {
    NoItems,     // nothing to write
    Inactive,    // items zeroed, no monthly record
    AutocalcOff, // leave days recounted, amounts as stored, no monthly record
    Calculated,  // items and monthly record to write
};

// Everything of one employee's month between loading the items and writing
// them: calendar marks, corrections, evaluation in type order, the
// negative-net pass and the final cap. `context.calendar` must hold the
// employee's calendar as loaded; items must be in ascending type order.
Outcome calculate(Context &context, std::vector<items::ItemRecord> &items, bool autocalc);

// The item differs from what was read as it would be stored (amounts to
// the cent), so it has to be written back.
bool itemChanged(const items::ItemRecord &item);
// Types whose second amount the calculation sets and writes.
bool writesAmount2(int type);

} // namespace plavex::calc
