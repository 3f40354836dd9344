// Climb and descent along the route: where the tops of climb and descent
// fall, and the time and fuel of each part of each leg, from the handbook's
// climb table and the descent rate. The log builds its rows from this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plan/plan.h"

// What the profile needs of one leg: its carried values and whether the
// wind triangle solved its cruise.
struct LegInput {
  int32_t dist = NOT_ENTERED;
  int32_t alt = NOT_ENTERED;
  int32_t temp = NOT_ENTERED;
  int32_t tc = NOT_ENTERED;
  int32_t winddir = NOT_ENTERED;
  int32_t windvel = NOT_ENTERED;
  int32_t tas = NOT_ENTERED;
  int32_t gs = NOT_ENTERED;  // cruise ground speed; NOT_ENTERED when not solved
};

// The carried values of every leg of `plan`'s route (at most kMaxLegs), with
// the cruise ground speed of the legs the wind triangle solves.
std::vector<LegInput> LegInputs(const Plan& plan);

// One row of a leg as the log shows it: a top of climb or descent inside the
// leg, or the checkpoint that ends it.
struct ProfileRow {
  int leg = 0;
  std::string computed;  // "TOC" or "TOD"; empty for the checkpoint row
  int32_t dist = 0;      // whole miles from the row before
  int32_t ete = 0;       // minutes
  double fuel = 0.0;     // gallons
  // Of these, what climb and descent took (whole minutes, 0.1 gal).
  int32_t climb_min = 0;
  double climb_gal = 0.0;
  int32_t descent_min = 0;
  double descent_gal = 0.0;
};

struct VerticalProfile {
  bool active = false;  // the plan has a climb table
  double departure_ft = 0.0;
  double destination_ft = 0.0;  // pattern altitude
  // Rows of every solved leg in route order; a leg the wind triangle could
  // not solve has none and keeps its row as it is.
  std::vector<ProfileRow> rows;
  std::vector<std::string> warnings;
};

// The first number in an airfield's text ("2,450 ft" gives 2450); false when
// there is none.
bool FirstNumber(const std::string& text, double& value);

// The climb and descent of `plan` over `legs` (LegInputs). Inactive, with no
// rows, without a climb table.
VerticalProfile ComputeVertical(const Plan& plan, const std::vector<LegInput>& legs);
