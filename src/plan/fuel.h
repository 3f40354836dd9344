// Fuel remaining against the pilot's reserve, checkpoint by checkpoint.
#pragma once

#include <cstdint>
#include <string>

#include "plan/plan.h"

enum class FuelState {
  Unknown,       // the leg has no fuel figure (not solved)
  Enough,        // at or above the reserve
  BelowReserve,  // under the reserve, above zero
  Exhausted,     // below zero: the tanks ran dry before this checkpoint
};

// The reserve in gallons: plan.reserve minutes at the plan's fuel burn.
double ReserveFuel(const Plan& plan);

// The reserve's fuel to the tenth, a half rounded up: 5.25 gallons are "5.3",
// never less than the reserve means.
std::string ReserveFuelText(const Plan& plan);

FuelState LegFuelState(const Plan& plan, const LegResult& leg);

// Whole minutes, rounded up, between running dry and reaching the checkpoint
// of an Exhausted leg; -1 when the fuel burn gives no time (0 or less).
int32_t MinutesShort(const Plan& plan, const LegResult& leg);

// The warning for a leg below the reserve or out of fuel; empty otherwise.
std::string FuelWarning(const Plan& plan, const LegResult& leg);

// Minutes as hours and minutes, "3:05"; negative minutes read as 0:00.
std::string HoursMinutes(int64_t minutes);

// The line under the log: total distance, time and fuel used (the log's
// `totals`), fuel and endurance left at the destination.
std::string RouteSummary(const Plan& plan, const LegResult& totals);
