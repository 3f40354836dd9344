// halvix-navlog's --winds: the legs' winds and temperatures from a forecast,
// a bulletin's stations placed with the aviation data.
#pragma once

#include <optional>
#include <string>

#include "plan/plan.h"
#include "session/planning_session.h"

// Fills the plan's legs from the forecast at `path`, telling of every leg
// left unfilled on standard error. False, with the plan unchanged, after
// reporting a forecast that cannot be read.
bool FillWindsFromForecast(const std::string& path, std::optional<int> depart,
                           PlanningSession& session, const CivilDate& date, Plan& plan);
