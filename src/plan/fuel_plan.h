// The fuel plan: taxi, climb, cruise, descent, the reserves and what is left
// over, against the fuel on board.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "plan/vertical.h"

struct FuelPlanLine {
  std::string item;  // taxi, climb, cruise, descent, trip, contingency, alternate,
                     // reserve, extra, required, onboard, leftover
  double gallons = 0.0;
  int32_t minutes = 0;
};

// Time and fuel of the route by phase, from the log.
struct PhaseSums {
  int32_t climb_min = 0;
  double climb_gal = 0.0;
  int32_t cruise_min = 0;
  double cruise_gal = 0.0;
  int32_t descent_min = 0;
  double descent_gal = 0.0;
};

struct FuelPlan {
  std::vector<FuelPlanLine> lines;
  double trip = 0.0;
  double required = 0.0;
  double onboard = 0.0;
  bool short_of_fuel = false;  // required is above on board
  std::vector<std::string> warnings;

  const FuelPlanLine* Line(const std::string& item) const;
};

// The phases of a route: the climb and descent of `profile` when it is
// active, the rest cruise; without it the whole of `total_min`/`total_gal`.
PhaseSums SumPhases(const VerticalProfile& profile, int32_t total_min, double total_gal);

// The plan's fuel: taxi and extra as set, contingency a share of the trip,
// the alternate's leg from the destination with the last leg's wind, airspeed
// and fuel flow, the final reserve at the cruise fuel flow.
FuelPlan ComputeFuelPlan(const Plan& plan, const PhaseSums& sums,
                         const std::vector<LegInput>& legs);

// Takeoff and landing weight and balance: the tanks full less taxi fuel at
// takeoff, less the trip fuel at landing.
WeightBalance PlanWeightBalance(const Plan& plan, const FuelPlan& fuel);

// "item,gallons,minutes", then one line per item.
std::string FuelPlanCsv(const FuelPlan& fuel);

// "item,lb,arm,moment", one line per item, then "takeoff,LB,CG,MOMENT,inside"
// and "landing,..." with inside or outside.
std::string LoadingCsv(const WeightBalance& wb);
