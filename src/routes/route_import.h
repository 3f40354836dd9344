// Routes drawn elsewhere (GPX files, flight-plan XML files) turned into plan
// rows, with each leg's distance, true course and variation worked out from
// the waypoints' coordinates.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geo/magnetic.h"
#include "plan/plan.h"
#include "plan/read_report.h"

struct RouteWaypoint {
  std::string name;
  GeoPosition position;
  bool airport = false;                // only flight-plan files say so
  std::optional<double> elevation_ft;  // the same
};

struct Route {
  std::string name;  // empty when the file names none
  std::vector<RouteWaypoint> points;
  std::optional<int32_t> altitude_ft;  // the planned cruise altitude, when the file has one
};

// Reads a GPX 1.1 document or a flight-plan XML document; which one it is
// comes from the root element, not from the file's name. Two points in a row
// at the same place are one. False with the reason in `error` for anything
// that is not a usable route, as soon as it is known: a route of more points
// than a plan holds is refused at the first point too many.
bool ParseRoute(const std::string& bytes, Route& route, std::string& error);

// Replaces the plan's title, route rows and airfields with the route's:
// the first waypoint as the departure, then one row per leg with its
// distance, true course and (only where it changes) variation at the leg's
// midpoint on the decimal year `year`; the cruise altitude on the first leg
// and airport elevations on the airfields. False, with the plan untouched,
// for a route of fewer than two or more than 33 waypoints. `warning`, when
// given, tells of legs whose variation the model cannot give reliably.
bool RouteToPlan(const Route& route, const MagneticModel& model, double year, Plan& plan,
                 std::string& error, std::string* warning = nullptr);

// True when the file holds XML (a route file) rather than a plan file. Only
// a regular file is looked into, without waiting on a device or a FIFO.
bool LooksLikeRouteFile(const std::string& path);

// The same for the first bytes of a file.
bool LooksLikeRouteText(const std::string& bytes);

// The plan file name that goes with a route file: its extension becomes ".flt".
std::string PlanFileNameFor(const std::string& route_path);

struct ImportResult {
  bool ok = false;
  std::string error;    // why nothing was imported
  std::string warning;  // imported, but the pilot should know this
  ReadReport report;    // the same, as every reader of an outside file reports
};

// Reads the route file at `path` into `plan` (title, rows, airfields), with
// the magnetic model the program ships evaluated on `date`. On success the
// plan is marked modified and named after the route file; aircraft and print
// settings are left as they were. On failure the plan is untouched.
ImportResult ImportRoute(const std::string& path, const CivilDate& date, Plan& plan);

// The same for the bytes of a route file already read from `path`.
ImportResult ImportRouteText(const std::string& bytes, const std::string& path,
                             const CivilDate& date, Plan& plan);

// The same with a magnetic model already read.
ImportResult ImportRouteText(const std::string& bytes, const std::string& path,
                             const CivilDate& date, const MagneticModel& model, Plan& plan);

// The bytes of the route file at `path`; false with the reason (missing, too
// large for a route file, unreadable).
bool ReadRouteFile(const std::string& path, std::string& bytes, std::string& error);
