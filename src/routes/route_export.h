// The plan's route written for a GPS or an electronic flight bag: GPX 1.1 and
// the flight-plan XML avionics load. Only rows with a position can go; what
// each point is (an airport, a VOR...) comes from whoever knows the aviation
// data, since a plan row does not say.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plan/plan.h"

enum class ExportKind { User, Airport, Vor, Ndb, Intersection };

struct ExportPoint {
  std::string name;   // the row's caption
  std::string ident;  // the data's ident the caption starts with; empty when none
  ExportKind kind = ExportKind::User;
  std::string country;  // the data's region code, when it gives one
  GeoPosition position;
  std::optional<double> elevation_ft;  // airports' only
};

struct ExportRoute {
  std::string title;
  std::vector<ExportPoint> points;
};

// The plan's rows as export points, in order, with the elevations of the
// plan's airfields of the same name. `unpositioned` gets the captions of
// rows without a position (numbered when the caption is empty); they are
// not in the route.
ExportRoute RouteForExport(const Plan& plan, std::vector<std::string>& unpositioned);

// The texts of the two files. `created` is the time stamp of the flight plan
// (YYYY-MM-DDTHH:MM:SSZ).
std::string FormatGpx(const ExportRoute& route);
std::string FormatFlightPlan(const ExportRoute& route, const std::string& created);

enum class ExportFormat { Gpx, FlightPlan };

// The format a file name asks for by its extension (.gpx, .fpl, any case).
std::optional<ExportFormat> ExportFormatFor(const std::string& path);

// Writes the route to `path` as a save does: whole or not at all. False with
// the reason; a route of fewer than two points is refused.
bool ExportRouteFile(const ExportRoute& route, ExportFormat format, const std::string& path,
                     std::string& error);

// "2026-12-08T10:00:00Z" for now.
std::string NowUtcStamp();
