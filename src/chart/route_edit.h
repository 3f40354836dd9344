// Changes of the route made on the chart: a checkpoint appended, inserted,
// moved or removed. The legs each change touches get their distance, true
// course and variation again from the positions, as imported rows get them;
// every other cell, and a value the pilot typed over a measured one, stays as
// the pilot typed it.
#pragma once

#include <optional>
#include <string>

#include "data/aviation_records.h"
#include "plan/plan.h"
#include "routes/route_legs.h"

// What is put on the route: a place of the data or a point of the map.
struct RoutePoint {
  std::string name;
  GeoPosition position;
  std::optional<Airport> airport;  // an airport joins the airfields too
};

// The name of a point of the map that is no place of the data: "36.9358,-121.7897",
// as such a point is typed.
std::string CoordinateName(const GeoPosition& position);

// Each false, with the plan untouched, when the change cannot be made: a full
// route, a row that is not there.
bool InsertRoutePoint(Plan& plan, int row, const RoutePoint& point, const VariationSource& var);
bool AppendRoutePoint(Plan& plan, const RoutePoint& point, const VariationSource& var);
bool MoveRoutePoint(Plan& plan, int row, const RoutePoint& point, const VariationSource& var);
bool RemoveRoutePoint(Plan& plan, int row, const VariationSource& var);
