#include "routes/route_export.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "plan/fileio.h"

namespace {

constexpr std::size_t kMaxIdentifier = 12;
constexpr std::size_t kMaxRouteName = 25;
constexpr std::size_t kMaxComment = 25;

bool IsUpperAlnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// What avionics accept as a waypoint's identifier.
bool IsIdentifier(const std::string& text) {
  if (text.empty() || text.size() > kMaxIdentifier) return false;
  for (char c : text) {
    if (!IsUpperAlnum(c)) return false;
  }
  return true;
}

// Upper case letters, digits and single spaces (and the extra characters
// `also` lets through), at most `max` of them: what a route name or a
// comment may hold on a panel that shows nothing else.
std::string PanelText(const std::string& text, std::size_t max, const char* also = "") {
  std::string out;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const bool keep =
        IsUpperAlnum(c) || (c != '\0' && std::string(also).find(c) != std::string::npos);
    if (!keep) {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (out.size() > max) out.resize(max);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// XML 1.0 has no place for control characters; a caption may hold them.
std::string XmlText(const std::string& text) {
  std::string out;
  for (char c : text) out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  return out;
}

// Decimal degrees in the C locale, whatever the program's locale: a comma
// would make the coordinate unreadable.
std::string Degrees(double value, int decimals = 7) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

std::string FirstWord(const std::string& text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return std::string();
  const std::size_t end = text.find(' ', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

const char* KindName(ExportKind kind) {
  switch (kind) {
    case ExportKind::Airport:
      return "AIRPORT";
    case ExportKind::Vor:
      return "VOR";
    case ExportKind::Ndb:
      return "NDB";
    case ExportKind::Intersection:
      return "INT";
    case ExportKind::User:
      break;
  }
  return "USER WAYPOINT";
}

std::string Serialize(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

void AddText(pugi::xml_node parent, const char* name, const std::string& text) {
  parent.append_child(name).append_child(pugi::node_pcdata).set_value(XmlText(text).c_str());
}

// One entry of the flight plan's waypoint table.
struct TableEntry {
  std::string identifier;
  ExportKind kind = ExportKind::User;
  std::string country;
  GeoPosition position;
  std::string comment;
};

bool SamePlace(const GeoPosition& a, const GeoPosition& b) {
  return std::fabs(a.lat - b.lat) < 1e-7 && std::fabs(a.lon - b.lon) < 1e-7;
}

}  // namespace

ExportRoute RouteForExport(const Plan& plan, std::vector<std::string>& unpositioned) {
  ExportRoute route;
  route.title = plan.title;
  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    const Checkpoint& row = plan.route[i];
    if (!row.position) {
      unpositioned.push_back(row.caption.empty() ? "row " + std::to_string(i + 1) : row.caption);
      continue;
    }
    ExportPoint point;
    point.name = row.caption;
    point.position = *row.position;
    for (const AirfieldInfo& field : plan.airfields) {
      if (field.name.empty() || field.elevation.empty()) continue;
      if (field.name != row.caption && FirstWord(field.name) != FirstWord(row.caption)) continue;
      const char* text = field.elevation.c_str();
      while (*text == ' ') ++text;
      if ((*text >= '0' && *text <= '9') || *text == '-')
        point.elevation_ft = static_cast<double>(ParseLong(text));
      break;
    }
    route.points.push_back(std::move(point));
  }
  return route;
}

std::string FormatGpx(const ExportRoute& route) {
  pugi::xml_document doc;
  pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node gpx = doc.append_child("gpx");
  gpx.append_attribute("version") = "1.1";
  gpx.append_attribute("creator") = "Halvix";
  gpx.append_attribute("xmlns") = "http://www.topografix.com/GPX/1/1";
  pugi::xml_node rte = gpx.append_child("rte");
  if (!route.title.empty()) AddText(rte, "name", route.title);
  for (const ExportPoint& point : route.points) {
    pugi::xml_node rtept = rte.append_child("rtept");
    rtept.append_attribute("lat") = Degrees(point.position.lat).c_str();
    rtept.append_attribute("lon") = Degrees(point.position.lon).c_str();
    // The schema puts the elevation before the name.
    if (point.elevation_ft) AddText(rtept, "ele", Degrees(*point.elevation_ft * 0.3048, 1));
    const std::string& name = point.ident.empty() ? point.name : point.ident;
    if (!name.empty()) AddText(rtept, "name", name);
    if (!point.name.empty()) AddText(rtept, "desc", point.name);
  }
  return Serialize(doc);
}

std::string FormatFlightPlan(const ExportRoute& route, const std::string& created) {
  // Identifiers the points bring with them are taken first, so that a
  // generated one never takes the name a later point needs.
  std::set<std::string> taken;
  std::vector<std::string> natural(route.points.size());
  for (std::size_t i = 0; i < route.points.size(); ++i) {
    const ExportPoint& point = route.points[i];
    if (point.kind != ExportKind::User && IsIdentifier(point.ident)) {
      natural[i] = point.ident;
    } else if (IsIdentifier(point.name)) {
      natural[i] = point.name;
    }
    if (!natural[i].empty()) taken.insert(natural[i]);
  }

  std::vector<TableEntry> table;
  std::vector<std::size_t> entry_of(route.points.size());
  std::map<std::string, std::size_t> by_identifier;
  int generated = 0;
  for (std::size_t i = 0; i < route.points.size(); ++i) {
    const ExportPoint& point = route.points[i];
    TableEntry entry;
    entry.position = point.position;
    entry.comment = PanelText(point.name, kMaxComment, "/.-");
    if (!natural[i].empty()) {
      entry.identifier = natural[i];
      entry.kind = natural[i] == point.ident ? point.kind : ExportKind::User;
      if (entry.kind != ExportKind::User) entry.country = PanelText(point.country, 2);
      const auto known = by_identifier.find(entry.identifier);
      if (known != by_identifier.end()) {
        const TableEntry& other = table[known->second];
        if (SamePlace(other.position, entry.position) && other.kind == entry.kind) {
          entry_of[i] = known->second;  // the same point again: a round trip
          continue;
        }
        entry.identifier.clear();  // one name, two places: the second is a user waypoint
      }
    }
    if (entry.identifier.empty()) {
      entry.kind = ExportKind::User;
      entry.country.clear();
      do {
        char name[16];
        std::snprintf(name, sizeof name, "WP%02d", ++generated);
        entry.identifier = name;
      } while (taken.count(entry.identifier) != 0);
      taken.insert(entry.identifier);
    }
    by_identifier[entry.identifier] = table.size();
    entry_of[i] = table.size();
    table.push_back(std::move(entry));
  }

  pugi::xml_document doc;
  pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = doc.append_child("flight-plan");
  root.append_attribute("xmlns") = "http://www8.garmin.com/xmlschemas/FlightPlan/v1";
  AddText(root, "created", created);
  pugi::xml_node waypoints = root.append_child("waypoint-table");
  for (const TableEntry& entry : table) {
    pugi::xml_node waypoint = waypoints.append_child("waypoint");
    AddText(waypoint, "identifier", entry.identifier);
    AddText(waypoint, "type", KindName(entry.kind));
    AddText(waypoint, "country-code", entry.country);
    AddText(waypoint, "lat", Degrees(entry.position.lat));
    AddText(waypoint, "lon", Degrees(entry.position.lon));
    AddText(waypoint, "comment", entry.comment);
  }
  pugi::xml_node rte = root.append_child("route");
  std::string name = PanelText(route.title, kMaxRouteName);
  if (name.empty() && !table.empty()) {
    name = PanelText(table[entry_of.front()].identifier + " " + table[entry_of.back()].identifier,
                     kMaxRouteName);
  }
  AddText(rte, "route-name", name);
  AddText(rte, "flight-plan-index", "1");
  for (std::size_t i = 0; i < route.points.size(); ++i) {
    const TableEntry& entry = table[entry_of[i]];
    pugi::xml_node point = rte.append_child("route-point");
    AddText(point, "waypoint-identifier", entry.identifier);
    AddText(point, "waypoint-type", KindName(entry.kind));
    AddText(point, "waypoint-country-code", entry.country);
  }
  return Serialize(doc);
}

std::optional<ExportFormat> ExportFormatFor(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (extension == "gpx") return ExportFormat::Gpx;
  if (extension == "fpl") return ExportFormat::FlightPlan;
  return std::nullopt;
}

bool ExportRouteFile(const ExportRoute& route, ExportFormat format, const std::string& path,
                     std::string& error) {
  if (route.points.size() < 2) {
    error = "a route needs at least two checkpoints with positions";
    return false;
  }
  const std::string bytes =
      format == ExportFormat::Gpx ? FormatGpx(route) : FormatFlightPlan(route, NowUtcStamp());
  return ReplaceFile(path, bytes, error);
}

std::string NowUtcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}
