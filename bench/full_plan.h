// The largest plan a pilot can make: 33 route rows and 23 airfields, with
// winds, VOR texts and a course change on every row.
#pragma once

#include <string>

#include "plan/plan.h"
#include "plan/route_row.h"

inline Plan FullPlan() {
  Plan plan;
  plan.title = "Long cross country with every row used";
  AddRow(plan, RowBuilder("Departure Field"));
  for (int i = 1; i < kMaxRoute; ++i) {
    AddRow(plan, RowBuilder("Checkpoint " + std::to_string(i))
                     .distance_nm(10 + i)
                     .true_course_deg((i * 37) % 360 + 1)
                     .altitude_ft(4500)
                     .wind_from_deg(270)
                     .wind_speed_kt(15)
                     .temperature_c(8)
                     .true_airspeed_kt(110)
                     .variation_deg(-5)
                     .vor(i % 3 == 0 ? "112.3/ 090/ ABC/ To" : ""));
  }
  for (int j = 0; j < 23; ++j) {
    plan.airfields.push_back({"Airfield " + std::to_string(j), "812", "1800", "14/32, 5/23",
                              "124.35", "118.3", "126.65", "121.7", "122.8"});
  }
  return plan;
}
