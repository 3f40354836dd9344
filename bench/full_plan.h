// The largest plan a pilot can make: 33 route rows and 23 airfields, with
// winds, VOR texts and a course change on every row.
#pragma once

#include <string>

#include "plan/plan.h"

inline Plan FullPlan() {
  Plan plan;
  plan.title = "Long cross country with every row used";
  AddRow(plan, "Departure Field", NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED,
         NOT_ENTERED, NOT_ENTERED, NOT_ENTERED);
  for (int i = 1; i < kMaxRoute; ++i) {
    AddRow(plan, "Checkpoint " + std::to_string(i), 10 + i, (i * 37) % 360 + 1, 4500, 270, 15, 8,
           110, -5, i % 3 == 0 ? "112.3/ 090/ ABC/ To" : nullptr);
  }
  for (int j = 0; j < 23; ++j) {
    plan.airfields.push_back({"Airfield " + std::to_string(j), "812", "1800", "14/32, 5/23",
                              "124.35", "118.3", "126.65", "121.7", "122.8"});
  }
  return plan;
}
