#include "plan/route_import.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>

#include "plan/fileio.h"
#include "plan/geodesy.h"

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

std::string Describe(std::size_t index, const std::string& name) {
  std::string what = "waypoint " + std::to_string(index + 1);
  return name.empty() ? what : what + " (" + name + ")";
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
  const char* begin = text.data();
  if (*begin == '+') ++begin;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
    error = std::string("has a ") + which + " that is not a number: \"" + text + "\"";
    return false;
  }
  if (value < -limit || value > limit) {
    char range[48];
    std::snprintf(range, sizeof range, " outside -%g..%g", limit, limit);
    error = std::string("has a ") + which + " " + text + range;
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

bool ReadGpx(const pugi::xml_node& gpx, Route& route, std::string& error) {
  // The route if there is one, else the waypoints in file order.
  const pugi::xml_node rte = Child(gpx, "rte");
  std::vector<pugi::xml_node> points;
  if (rte) {
    points = Children(rte, "rtept");
    route.name = ChildText(rte, "name");
  } else {
    points = Children(gpx, "wpt");
    route.name = ChildText(Child(gpx, "metadata"), "name");
  }
  if (!rte && points.empty() && Child(gpx, "trk")) {
    error = "only a track, no route or waypoints; export the route itself";
    return false;
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    RouteWaypoint point;
    point.name = ChildText(points[i], "name");
    if (!ParsePosition(points[i].attribute("lat").value(), points[i].attribute("lon").value(), i,
                       point.name, point.position, error))
      return false;
    if (point.name.empty()) point.name = "WP " + std::to_string(i + 1);
    route.points.push_back(std::move(point));
  }
  return true;
}

struct TableEntry {
  std::string identifier, type, country;
  GeoPosition position;
};

bool ReadFlightPlan(const pugi::xml_node& root, Route& route, std::string& error) {
  std::vector<TableEntry> table;
  const std::vector<pugi::xml_node> waypoints = Children(Child(root, "waypoint-table"), "waypoint");
  for (std::size_t i = 0; i < waypoints.size(); ++i) {
    TableEntry entry;
    entry.identifier = ChildText(waypoints[i], "identifier");
    entry.type = ChildText(waypoints[i], "type");
    entry.country = ChildText(waypoints[i], "country-code");
    if (!ParsePosition(Child(waypoints[i], "lat").child_value(),
                       Child(waypoints[i], "lon").child_value(), i, entry.identifier,
                       entry.position, error)) {
      error = "waypoint table: " + error;
      return false;
    }
    table.push_back(std::move(entry));
  }

  const pugi::xml_node rte = Child(root, "route");
  if (!rte) {
    error = "a flight plan without a route";
    return false;
  }
  route.name = ChildText(rte, "route-name");
  const std::vector<pugi::xml_node> points = Children(rte, "route-point");
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string id = ChildText(points[i], "waypoint-identifier");
    const std::string type = ChildText(points[i], "waypoint-type");
    const std::string country = ChildText(points[i], "waypoint-country-code");
    // Identifier, type and country code name a waypoint together; some
    // writers leave the country code out on one side only.
    const TableEntry* found = nullptr;
    int loose_matches = 0;
    const TableEntry* loose = nullptr;
    for (const TableEntry& entry : table) {
      if (entry.identifier != id || entry.type != type) continue;
      if (entry.country == country) {
        found = &entry;
        break;
      }
      if (entry.country.empty() || country.empty()) {
        ++loose_matches;
        loose = &entry;
      }
    }
    if (!found && loose_matches == 1) found = loose;
    if (!found) {
      error = "route point " + std::to_string(i + 1) + " (" + id + ") is not in the waypoint table";
      return false;
    }
    RouteWaypoint point;
    point.name = id.empty() ? "WP " + std::to_string(i + 1) : id;
    point.position = found->position;
    point.airport = type == "AIRPORT";
    route.points.push_back(std::move(point));
  }
  return true;
}

std::size_t LineOf(const std::string& bytes, std::ptrdiff_t offset) {
  const std::size_t end =
      std::min(bytes.size(), static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)));
  std::size_t line = 1;
  for (std::size_t i = 0; i < end; ++i) line += bytes[i] == '\n';
  return line;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  bytes.clear();
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxRouteFileBytes) {
      error = "too large for a route file";
      return false;
    }
  }
  if (in.bad()) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool ParseRoute(const std::string& bytes, Route& route, std::string& error) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(bytes.data(), bytes.size());
  if (!parsed) {
    error = "not well-formed XML (line " + std::to_string(LineOf(bytes, parsed.offset)) + ": " +
            parsed.description() + ")";
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
            root.name() + ">)";
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
                 std::string& error) {
  if (route.points.size() < 2) {
    error = "a route needs at least two waypoints";
    return false;
  }
  if (route.points.size() > static_cast<std::size_t>(kMaxRoute)) {
    error = std::to_string(route.points.size()) + " waypoints; a plan holds at most " +
            std::to_string(kMaxRoute) + " (the departure and " + std::to_string(kMaxLegs) +
            " legs)";
    return false;
  }

  Plan built;
  const RouteWaypoint& first = route.points.front();
  const RouteWaypoint& last = route.points.back();
  built.title =
      CutUtf8(route.name.empty() ? first.name + " to " + last.name : route.name, kLongTextMax);
  AddRow(built, CutUtf8(first.name, kShortTextMax), NOT_ENTERED, NOT_ENTERED, NOT_ENTERED,
         NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED);
  built.route.back().position = first.position;

  int32_t previous_var = NOT_ENTERED;
  for (std::size_t i = 1; i < route.points.size(); ++i) {
    const RouteWaypoint& to = route.points[i];
    const LegMeasure leg = MeasureLeg(route.points[i - 1].position, to.position);
    const int32_t dist = static_cast<int32_t>(std::lround(leg.distance_nm));
    // Two waypoints on the same spot have no course between them.
    const int32_t tc = leg.distance_nm > 1e-6 ? WholeDegrees(leg.course) : NOT_ENTERED;
    // Halvix counts westerly variation positive: it is added to a true heading.
    const double declination = model.Declination(leg.midpoint.lat, leg.midpoint.lon, 0.0, year);
    const int32_t var = static_cast<int32_t>(-std::lround(declination));
    AddRow(built, CutUtf8(to.name, kShortTextMax), dist, tc, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED,
           NOT_ENTERED, NOT_ENTERED, var == previous_var ? NOT_ENTERED : var);
    built.route.back().position = to.position;
    previous_var = var;
  }

  for (const RouteWaypoint* end : {&first, &last}) {
    if (!end->airport) continue;
    if (end == &last && first.airport && first.name == last.name) continue;  // a round trip
    AirfieldInfo field;
    field.name = end->name;
    built.airfields.push_back(std::move(field));
  }

  plan.title = std::move(built.title);
  plan.route = std::move(built.route);
  plan.airfields = std::move(built.airfields);
  return true;
}

bool LooksLikeRouteFile(const std::string& path) {
  // Only a regular file is peeked at: the open of a FIFO would wait for a writer.
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::ifstream in(path, std::ios::binary);
  char head[64] = {};
  in.read(head, sizeof head);
  const std::size_t n = static_cast<std::size_t>(in.gcount());
  std::size_t i = 0;
  if (n >= 2 &&
      ((head[0] == '\xFF' && head[1] == '\xFE') || (head[0] == '\xFE' && head[1] == '\xFF')))
    return true;  // UTF-16 is never a plan file
  if (n >= 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0) i = 3;
  while (i < n && std::strchr(" \t\r\n", head[i]) != nullptr && head[i] != '\0') ++i;
  return i < n && head[i] == '<';
}

std::string PlanFileNameFor(const std::string& route_path) {
  const std::size_t slash = route_path.rfind('/');
  const std::size_t dot = route_path.rfind('.');
  const bool has_extension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (has_extension ? route_path.substr(0, dot) : route_path) + ".flt";
}

ImportResult ImportRoute(const std::string& path, const CivilDate& date, Plan& plan) {
  ImportResult result;
  std::string bytes;
  if (!ReadFileBytes(path, bytes, result.error)) return result;
  Route route;
  if (!ParseRoute(bytes, route, result.error)) return result;

  const std::string model_path = FindMagneticModelFile();
  MagneticModel model;
  if (model_path.empty()) {
    result.error = "the magnetic model (wmm2025/WMM2025.COF) that gives the variation is missing";
    return result;
  }
  if (!model.Load(model_path, result.error)) return result;

  const double year = DecimalYear(date);
  if (!RouteToPlan(route, model, year, plan, result.error)) return result;
  plan.filename = PlanFileNameFor(path);
  plan.modified = 1;
  if (!model.Covers(date)) {
    result.warning = "The magnetic model " + model.name() + " holds from " +
                     FormatCivilDate(model.released()) + " to " + FormatCivilDate(model.expires()) +
                     "; the variation for " + FormatCivilDate(date) + " is only an estimate.";
  }
  result.ok = true;
  return result;
}
