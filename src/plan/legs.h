// The wind triangle, leg by leg, with the values carried forward from earlier rows.
#pragma once

#include <cstdint>

#include "plan/plan.h"

// a when b is NOT_ENTERED, b when a is NOT_ENTERED, else a + b.
int32_t SumKnown(int32_t a, int32_t b);

// n brought into 1..360; 0 becomes 360.
int32_t NormDegrees(int32_t n);

// Rebuilds plan.legcount, plan.legs and plan.totals from the route.
// Legs the wind triangle cannot solve (unknown or zero airspeed, crosswind
// stronger than the airspeed, no ground speed, no distance yet) keep their
// computed fields NOT_ENTERED and add no time or fuel to the totals.
void ComputeLegs(Plan& plan);
