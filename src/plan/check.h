// The pre-print check of the first en-route row, without any user interface.
#pragma once

#include "plan/plan.h"

// The four values the first leg needs before a wind triangle can be solved,
// in the order they are asked for.
enum class MissingItem { None, TrueCourse, WindDirection, WindSpeed, MagneticVariation };

// The first of course, wind direction, wind speed and variation that route
// row 1's own cells leave empty; None when all are there or the route has
// fewer than two rows (a separate failure: see kTooFewCheckpoints).
MissingItem FindMissingItem(const Plan& plan);

// "True Course", "Predicted Wind Direction", "Predicted Wind Speed",
// "Magnetic Variation"; empty for None.
const char* MissingItemName(MissingItem item);

extern const char* const kTooFewCheckpoints;  // the message for fewer than two rows
