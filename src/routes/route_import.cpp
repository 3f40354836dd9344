#include "routes/route_import.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <pugixml.hpp>

#include "geo/geodesy.h"
#include "plan/fileio.h"
#include "plan/route_row.h"
#include "routes/route_legs.h"

namespace {

// No route a pilot flies needs more; anything bigger is not a route file.
constexpr std::size_t kMaxRouteFileBytes = 16u << 20;

// The element's name without a namespace prefix.
const char* LocalName(const pugi::xml_node& node) {
  const char* name = node.name();
  const char* colon = std::strrchr(name, ':');
  return colon ? colon + 1 : name;
}

pugi::xml_node Child(const pugi::xml_node& parent, const char* name) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_element && std::strcmp(LocalName(child), name) == 0) {
      return child;
    }
  }
  return pugi::xml_node();
}

std::vector<pugi::xml_node> Children(const pugi::xml_node& parent, const char* name) {
  std::vector<pugi::xml_node> nodes;
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_element && std::strcmp(LocalName(child), name) == 0) {
      nodes.push_back(child);
    }
  }
  return nodes;
}

// Text on one line without surrounding blanks: names end up in list cells
// and on the printed log.
std::string CleanText(const std::string& text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == ' ') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

std::string ChildText(const pugi::xml_node& parent, const char* name) {
  return CleanText(Child(parent, name).child_value());
}

// A value from the file as an error message quotes it: a few dozen
// characters at most, whatever the file holds.
std::string Excerpt(const std::string& text) {
  constexpr std::size_t kMaxQuoted = 40;
  if (text.size() <= kMaxQuoted) return text;
  return CutUtf8(text, kMaxQuoted) + "\u2026";
}

std::string Describe(std::size_t index, const std::string& name) {
  std::string what = "waypoint " + std::to_string(index + 1);
  return name.empty() ? what : what + " (" + Excerpt(name) + ")";
}

std::string TooManyPoints(std::size_t count) {
  return std::to_string(count) + " waypoints; a plan holds at most " + std::to_string(kMaxRoute) +
         " (the departure and " + std::to_string(kMaxLegs) + " legs)";
}

// A number and nothing else, an optional plus sign before it.
bool ParseNumber(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  // from_chars takes no plus sign; one is skipped, but never before a minus.
  if (begin < end && *begin == '+' && !(end - begin > 1 && (begin[1] == '-' || begin[1] == '+')))
    ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

// One coordinate in decimal degrees; the reason in `error` when it is
// missing, not a number or outside -limit..limit.
bool ParseCoordinate(const std::string& raw, const char* which, double limit, double& value,
                     std::string& error) {
  const std::string text = CleanText(raw);
  if (text.empty()) {
    error = std::string("has no ") + which;
    return false;
  }
  if (!ParseNumber(text, value)) {
    error = std::string("has a ") + which + " that is not a number: \"" + Excerpt(text) + "\"";
    return false;
  }
  if (value < -limit || value > limit) {
    char range[48];
    std::snprintf(range, sizeof range, " outside -%g..%g", limit, limit);
    error = std::string("has a ") + which + " " + Excerpt(text) + range;
    return false;
  }
  return true;
}

bool ParsePosition(const std::string& lat, const std::string& lon, std::size_t index,
                   const std::string& name, GeoPosition& position, std::string& error) {
  std::string why;
  if (!ParseCoordinate(lat, "latitude", 90.0, position.lat, why) ||
      !ParseCoordinate(lon, "longitude", 180.0, position.lon, why)) {
    error = Describe(index, name) + " " + why;
    return false;
  }
  return true;
}

// Feet from an element's text, when it holds a plausible number.
std::optional<double> Feet(const pugi::xml_node& node) {
  double value = 0.0;
  if (!node || !ParseNumber(CleanText(node.child_value()), value) || value < -2000.0 ||
      value > 100000.0)
    return std::nullopt;
  return value;
}

// Adds a point to the route; false when the route already holds as many
// points as a plan can. A point at the place of the one before is that
// checkpoint again, not a leg of no length.
bool AddPoint(Route& route, RouteWaypoint point) {
  if (!route.points.empty()) {
    RouteWaypoint& last = route.points.back();
    if (MeasureLeg(last.position, point.position).distance_nm < 0.01) {
      last.airport = last.airport || point.airport;
      if (!last.elevation_ft) last.elevation_ft = point.elevation_ft;
      return true;
    }
  }
  if (route.points.size() >= static_cast<std::size_t>(kMaxRoute)) return false;
  route.points.push_back(std::move(point));
  return true;
}

bool ReadGpx(const pugi::xml_node& gpx, Route& route, std::string& error) {
  // The first route that has points if there is one, else the waypoints in
  // file order. A first route left empty must not hide the one after it.
  pugi::xml_node rte;
  std::vector<pugi::xml_node> points;
  for (const pugi::xml_node& candidate : Children(gpx, "rte")) {
    if (!rte) rte = candidate;
    points = Children(candidate, "rtept");
    if (!points.empty()) {
      rte = candidate;
      break;
    }
  }
  if (rte) {
    route.name = ChildText(rte, "name");
  } else {
    points = Children(gpx, "wpt");
    route.name = ChildText(Child(gpx, "metadata"), "name");
  }
  if (!rte && points.empty() && Child(gpx, "trk")) {
    error = "only a track, no route or waypoints; export the route itself";
    return false;
  }
  // A cruise altitude for the whole route, in the route's extensions or the file's.
  for (const pugi::xml_node& extensions :
       {Child(rte, "extensions"), Child(Child(gpx, "metadata"), "extensions"),
        Child(gpx, "extensions")}) {
    if (route.altitude_ft) break;
    if (const std::optional<double> feet = Feet(Child(extensions, "altitude-ft")))
      route.altitude_ft = static_cast<int32_t>(std::lround(*feet));
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    RouteWaypoint point;
    point.name = ChildText(points[i], "name");
    if (!ParsePosition(points[i].attribute("lat").value(), points[i].attribute("lon").value(), i,
                       point.name, point.position, error))
      return false;
    if (point.name.empty()) point.name = "WP " + std::to_string(i + 1);
    if (!AddPoint(route, std::move(point))) {
      error = TooManyPoints(points.size());
      return false;
    }
  }
  return true;
}

struct TableEntry {
  std::string type, country;
  GeoPosition position;
  std::optional<double> elevation_ft;
};

bool ReadFlightPlan(const pugi::xml_node& root, Route& route, std::string& error) {
  // Identifier -> its entries: a route point is found without walking a
  // table that may hold the whole world, and by a tree, which names made to
  // share one hash cannot slow down.
  std::map<std::string, std::vector<TableEntry>> table;
  const std::vector<pugi::xml_node> waypoints = Children(Child(root, "waypoint-table"), "waypoint");
  for (std::size_t i = 0; i < waypoints.size(); ++i) {
    const std::string identifier = ChildText(waypoints[i], "identifier");
    TableEntry entry;
    entry.type = ChildText(waypoints[i], "type");
    entry.country = ChildText(waypoints[i], "country-code");
    entry.elevation_ft = Feet(Child(waypoints[i], "elevation"));
    if (!ParsePosition(Child(waypoints[i], "lat").child_value(),
                       Child(waypoints[i], "lon").child_value(), i, identifier, entry.position,
                       error)) {
      error = "waypoint table: " + error;
      return false;
    }
    table[identifier].push_back(std::move(entry));
  }

  const pugi::xml_node rte = Child(root, "route");
  if (!rte) {
    error = "a flight plan without a route";
    return false;
  }
  if (const std::optional<double> feet = Feet(Child(Child(root, "flight-data"), "altitude-ft")))
    route.altitude_ft = static_cast<int32_t>(std::lround(*feet));
  route.name = ChildText(rte, "route-name");
  const std::vector<pugi::xml_node> points = Children(rte, "route-point");
  if (!points.empty() && waypoints.empty()) {
    error = "the flight plan has no waypoint table, so its route points have no place";
    return false;
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string id = ChildText(points[i], "waypoint-identifier");
    const std::string type = ChildText(points[i], "waypoint-type");
    const std::string country = ChildText(points[i], "waypoint-country-code");
    const std::string which = "route point " + std::to_string(i + 1) + " (" + Excerpt(id) + ")";
    // Identifier, type and country code name a waypoint together; some
    // writers leave the country code out on one side only.
    const TableEntry* found = nullptr;
    int loose_matches = 0;
    const TableEntry* loose = nullptr;
    const auto same_id = table.find(id);
    if (same_id != table.end()) {
      for (const TableEntry& entry : same_id->second) {
        if (entry.type != type) continue;
        if (entry.country == country) {
          found = &entry;
          break;
        }
        if (entry.country.empty() || country.empty()) {
          ++loose_matches;
          loose = &entry;
        }
      }
    }
    if (!found && loose_matches == 1) found = loose;
    if (!found && loose_matches > 1) {
      error = which + " is ambiguous: the waypoint table holds it " +
              std::to_string(loose_matches) + " times, in different countries";
      return false;
    }
    if (!found) {
      error = which + " is not in the waypoint table";
      return false;
    }
    RouteWaypoint point;
    point.name = id.empty() ? "WP " + std::to_string(i + 1) : id;
    point.position = found->position;
    point.airport = type == "AIRPORT";
    if (point.airport) point.elevation_ft = found->elevation_ft;
    if (!AddPoint(route, std::move(point))) {
      error = TooManyPoints(points.size());
      return false;
    }
  }
  return true;
}

// Whether the first thing after a byte-order mark and blanks is a tag.
bool StartsWithTag(const char* head, std::size_t n) {
  std::size_t i = 0;
  if (n >= 2 &&
      ((head[0] == '\xFF' && head[1] == '\xFE') || (head[0] == '\xFE' && head[1] == '\xFF')))
    return true;  // UTF-16 is never a plan file
  if (n >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0) i = 3;
  while (i < n && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n')) ++i;
  return i < n && head[i] == '<';
}

std::size_t LineOf(const std::string& bytes, std::ptrdiff_t offset) {
  const std::size_t end =
      std::min(bytes.size(), static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)));
  std::size_t line = 1;
  for (std::size_t i = 0; i < end; ++i) line += bytes[i] == '\n';
  return line;
}

}  // namespace

bool ParseRoute(const std::string& bytes, Route& route, std::string& error) {
  if (!StartsWithTag(bytes.data(), bytes.size())) {
    error = "not a route file: it holds no XML";
    return false;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(bytes.data(), bytes.size());
  if (!parsed) {
    const std::size_t last = bytes.find_last_not_of(" \t\r\n");
    const std::string line = "line " + std::to_string(LineOf(bytes, parsed.offset));
    if (last != std::string::npos && parsed.offset >= static_cast<std::ptrdiff_t>(last)) {
      error = "the file ends early (" + line + "): it was not saved or copied whole";
    } else {
      error = "not well-formed XML (" + line + ": " + parsed.description() + ")";
    }
    return false;
  }
  const pugi::xml_node root = doc.document_element();
  Route read;
  bool ok = false;
  if (std::strcmp(LocalName(root), "gpx") == 0) {
    ok = ReadGpx(root, read, error);
  } else if (std::strcmp(LocalName(root), "flight-plan") == 0) {
    ok = ReadFlightPlan(root, read, error);
  } else {
    error = std::string("neither a GPX file nor a flight plan (its root element is <") +
            Excerpt(root.name()) + ">)";
    return false;
  }
  if (!ok) return false;
  if (read.points.size() < 2) {
    error = std::to_string(read.points.size()) +
            (read.points.size() == 1 ? " waypoint" : " waypoints") + "; a route needs at least two";
    return false;
  }
  route = std::move(read);
  return true;
}

bool RouteToPlan(const Route& route, const MagneticModel& model, double year, Plan& plan,
                 std::string& error, std::string* warning) {
  if (route.points.size() < 2) {
    error = "a route needs at least two waypoints";
    return false;
  }
  if (route.points.size() > static_cast<std::size_t>(kMaxRoute)) {
    error = TooManyPoints(route.points.size());
    return false;
  }

  Plan built;
  const RouteWaypoint& first = route.points.front();
  const RouteWaypoint& last = route.points.back();
  built.title =
      CutUtf8(route.name.empty() ? first.name + " to " + last.name : route.name, kLongTextMax);
  AddRow(built, RowBuilder(CutUtf8(first.name, kShortTextMax)).position(first.position));

  const VariationSource source{&model, year};
  int32_t previous_var = NOT_ENTERED;
  std::string unreliable;  // the legs whose variation is only a guess
  for (std::size_t i = 1; i < route.points.size(); ++i) {
    const RouteWaypoint& to = route.points[i];
    const MeasuredLeg leg = MeasureRouteLeg(route.points[i - 1].position, to.position, source);
    const int32_t dist = leg.distance_nm;
    const int32_t tc = leg.true_course_deg.value_or(NOT_ENTERED);
    const int32_t var = leg.variation_deg.value_or(NOT_ENTERED);
    if (leg.unreliable) unreliable += (unreliable.empty() ? "" : ", ") + Excerpt(to.name);
    // The planned cruise altitude carries forward from the first leg.
    const int32_t alt = i == 1 && route.altitude_ft ? *route.altitude_ft : NOT_ENTERED;
    AddRow(built, RowBuilder(CutUtf8(to.name, kShortTextMax))
                      .distance_nm(dist)
                      .true_course_deg(tc)
                      .altitude_ft(alt)
                      .variation_deg(var == previous_var ? NOT_ENTERED : var)
                      .position(to.position));
    previous_var = var;
  }

  for (const RouteWaypoint* end : {&first, &last}) {
    if (!end->airport) continue;
    if (end == &last && first.airport && first.name == last.name) continue;  // a round trip
    AirfieldInfo field;
    field.name = end->name;
    if (end->elevation_ft) field.elevation = std::to_string(std::lround(*end->elevation_ft));
    built.airfields.push_back(std::move(field));
  }

  plan.title = std::move(built.title);
  plan.route = std::move(built.route);
  plan.airfields = std::move(built.airfields);
  if (warning && !unreliable.empty()) {
    *warning =
        "Near a magnetic pole the model's variation is unreliable; check it on a chart "
        "for the legs to " +
        unreliable + ".";
  }
  return true;
}

bool LooksLikeRouteText(const std::string& bytes) {
  return StartsWithTag(bytes.data(), std::min<std::size_t>(bytes.size(), 64));
}

bool LooksLikeRouteFile(const std::string& path) {
  InputFile file;
  std::string error;
  if (file.Open(path, error) != ReadStatus::Ok) return false;
  char head[64];
  const long n = file.Read(head, sizeof head, error);
  return n > 0 && StartsWithTag(head, static_cast<std::size_t>(n));
}

std::string PlanFileNameFor(const std::string& route_path) {
  return std::filesystem::path(route_path).replace_extension(".flt").string();
}

namespace {

// Every entry point gives the report beside the old fields.
ImportResult Reported(ImportResult result, const std::string& path) {
  result.report.set_file(path);
  if (!result.error.empty()) result.report.Error(result.error);
  std::size_t begin = 0;
  while (begin < result.warning.size()) {
    const std::size_t nl = result.warning.find('\n', begin);
    result.report.Warning(result.warning.substr(begin, nl - begin));
    begin = nl == std::string::npos ? result.warning.size() : nl + 1;
  }
  return result;
}

ImportResult ReadRouteText(const std::string& bytes, const std::string& path, const CivilDate& date,
                           const MagneticModel& model, Plan& plan) {
  ImportResult result;
  Route route;
  if (!ParseRoute(bytes, route, result.error)) return result;
  std::string poles;
  if (!RouteToPlan(route, model, DecimalYear(date), plan, result.error, &poles)) return result;
  plan.filename = PlanFileNameFor(path);
  std::vector<std::string> warnings;
  if (!model.Covers(date)) {
    warnings.push_back("The magnetic model " + model.name() + " holds from " +
                       FormatCivilDate(model.released()) + " to " +
                       FormatCivilDate(model.expires()) + "; the variation for " +
                       FormatCivilDate(date) + " is only an estimate.");
  }
  if (!poles.empty()) warnings.push_back(poles);
  for (const std::string& warning : warnings)
    result.warning += (result.warning.empty() ? "" : "\n") + warning;
  result.ok = true;
  return result;
}

}  // namespace

bool ReadRouteFile(const std::string& path, std::string& bytes, std::string& error) {
  switch (ReadRegularFile(path, kMaxRouteFileBytes, bytes, error)) {
    case ReadStatus::Ok:
      return true;
    case ReadStatus::Missing:
      error = std::strerror(ENOENT);
      break;
    case ReadStatus::TooLarge:
      error = "too large for a route file";
      break;
    case ReadStatus::Failed:
      break;
  }
  return false;
}

ImportResult ImportRoute(const std::string& path, const CivilDate& date, Plan& plan) {
  ImportResult result;
  std::string bytes;
  if (!ReadRouteFile(path, bytes, result.error)) return Reported(std::move(result), path);
  return ImportRouteText(bytes, path, date, plan);
}

ImportResult ImportRouteText(const std::string& bytes, const std::string& path,
                             const CivilDate& date, Plan& plan) {
  ImportResult result;
  Route route;
  if (!ParseRoute(bytes, route, result.error)) return Reported(std::move(result), path);
  MagneticModel model;
  if (!LoadShippedMagneticModel(model, result.error)) return Reported(std::move(result), path);
  return ImportRouteText(bytes, path, date, model, plan);
}

ImportResult ImportRouteText(const std::string& bytes, const std::string& path,
                             const CivilDate& date, const MagneticModel& model, Plan& plan) {
  return Reported(ReadRouteText(bytes, path, date, model, plan), path);
}
