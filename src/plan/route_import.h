// Routes drawn elsewhere (GPX files, flight-plan XML files) turned into plan
// rows, with each leg's distance, true course and variation worked out from
// the waypoints' coordinates.
#pragma once

#include <string>
#include <vector>

#include "plan/magnetic.h"
#include "plan/plan.h"

struct RouteWaypoint {
  std::string name;
  GeoPosition position;
  bool airport = false;  // only flight-plan files say so
};

struct Route {
  std::string name;  // empty when the file names none
  std::vector<RouteWaypoint> points;
};

// Reads a GPX 1.1 document or a flight-plan XML document; which one it is
// comes from the root element, not from the file's name. False with the
// reason in `error` for anything that is not a usable route.
bool ParseRoute(const std::string& bytes, Route& route, std::string& error);

// Replaces the plan's title, route rows and airfields with the route's:
// the first waypoint as the departure, then one row per leg with its
// distance, true course and (only where it changes) variation at the leg's
// midpoint on the decimal year `year`. False, with the plan untouched, for a
// route of fewer than two or more than 33 waypoints.
bool RouteToPlan(const Route& route, const MagneticModel& model, double year, Plan& plan,
                 std::string& error);

// True when the file holds XML (a route file) rather than a plan file.
bool LooksLikeRouteFile(const std::string& path);

// The plan file name that goes with a route file: its extension becomes ".flt".
std::string PlanFileNameFor(const std::string& route_path);

struct ImportResult {
  bool ok = false;
  std::string error;    // why nothing was imported
  std::string warning;  // imported, but the pilot should know this
};

// Reads the route file at `path` into `plan` (title, rows, airfields), with
// the magnetic model the program ships evaluated on `date`. On success the
// plan is marked modified and named after the route file; aircraft and print
// settings are left as they were. On failure the plan is untouched.
ImportResult ImportRoute(const std::string& path, const CivilDate& date, Plan& plan);
