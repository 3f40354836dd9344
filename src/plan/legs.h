// The wind triangle, leg by leg, with the values carried forward from earlier rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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

// The totals of the route's first `legs` legs (after ComputeLegs): what
// ComputeLegs gives for the route cut after them.
LegResult TotalsThrough(const Plan& plan, int32_t legs);

// Why a leg was left without headings, time and fuel.
enum class LegProblem : uint8_t {
  None,           // solved
  MissingInputs,  // course, wind or variation not entered on this or an earlier row
  NoAirspeed,     // no true airspeed on this or an earlier row
  AirspeedNotPositive,
  NoDistance,          // no distance on this or an earlier row
  CrosswindTooStrong,  // the crosswind is stronger than the airspeed
  NoGroundSpeed,       // the headwind eats the whole airspeed
};

// Inputs still missing for a MissingInputs leg, as bits.
enum : uint8_t {
  kMissingCourse = 1,
  kMissingWindDir = 2,
  kMissingWindSpeed = 4,
  kMissingVariation = 8,
};

struct LegStatus {
  LegProblem problem = LegProblem::None;
  uint8_t missing = 0;
};

using LegStatusTable = std::array<LegStatus, kMaxLegs>;

// ComputeLegs, telling for each leg why it was not solved.
void ComputeLegs(Plan& plan, LegStatusTable& status);

// The wind triangle for a course, a wind and a true airspeed: the wind
// correction angle and the ground speed, both truncated; anything but None
// when it has no answer.
LegProblem WindTriangle(int32_t tc, int32_t winddir, int32_t windvel, int32_t tas, int32_t& wca,
                        int32_t& gs);

// "Not solved: ..." for the pilot; empty for a solved leg.
std::string LegProblemText(const LegStatus& status);
